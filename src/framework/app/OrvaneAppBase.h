// OrvaneAppBase: the framework's application object. It owns the main window, the widget
// manager, the display with its screen image, the sound manager and the music interface, and
// runs the fixed-step frame loop that drives them all. A game derives from it and overrides
// the hooks (LoadResources, OnLoadingFinished, Init, ...).
//
// The code is split by concern:
//   OrvaneAppBase.cpp  construction, destruction, strings, exit
//   AppInit.cpp        Init, the main window, screen modes
//   AppSettings.cpp    the settings store
//   CommandLine.cpp    command-line switches
//   AppAudio.cpp       volumes, mute counts, sound effects
//   AppCursor.cpp      cursor shapes and the cursor thread
//   AppStart.cpp       Start, the loading thread, shutdown, statistics
//   FrameLoop.cpp      loop steps, scheduler, logic updates, time debt
//   DrawPacing.cpp     drawing dirty widgets and presenting
//   WindowProc.cpp     platform records into the deferred queue
//   MessageQueue.cpp   handling queued records, focus
#pragma once

#include "framework/app/GameFolders.h"
#include "framework/platform/Platform.h"
#include "framework/platform/WindowMessage.h"
#include "framework/sound/AudioHost.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Orvane {

class Display;
class MemoryImage;
class MusicInterface;
class SoundManager;
class Widget;
class WidgetManager;

class OrvaneAppBase : public ButtonListener,
                      public DialogListener,
                      public WidgetHost,
                      public AudioHost {
public:
    // Exit codes of fatal start-up problems.
    static constexpr int kExitMissingBackEnd = 0;
    static constexpr int kExitBadCommandLine = 0;
    static constexpr int kExitSecondInstance = 0;
    static constexpr int kExitDisplayFailure = 1;

    // The built-in cursor numbers.
    static constexpr int kCursorArrow = 0;
    static constexpr int kCursorHand = 1;
    static constexpr int kCursorDragging = 2;
    static constexpr int kCursorNone = 11;
    static constexpr int kCursorCustom = 12;
    static constexpr int kCursorCount = 13;

    // The update-app states of the loop step.
    enum UpdateAppState { UPDATESTATE_MESSAGES = 0, UPDATESTATE_PROCESS_1 = 1,
                          UPDATESTATE_PROCESS_2 = 2, UPDATESTATE_PROCESS_DONE = 3 };

    static constexpr uint32_t kFrameTimerId = 100;

    OrvaneAppBase();
    ~OrvaneAppBase() override;
    OrvaneAppBase(const OrvaneAppBase&) = delete;
    OrvaneAppBase& operator=(const OrvaneAppBase&) = delete;

    // --- Life cycle (AppInit.cpp, AppStart.cpp) -----------------------------------------
    // One-time start-up; on fatal problems shows a message and ends the process.
    virtual void Init();
    // Runs the frame loop until shutdown; returns afterwards.
    virtual void Start();
    // Asks the loop to end. From another thread it only flags the request; the main thread
    // then shuts down.
    virtual void RequestShutdown();
    // Runs on the loading thread that Start creates.
    virtual void LoadResources() {}
    // Called once on the main thread when the loading thread has finished.
    virtual void OnLoadingFinished() {}
    virtual void OnInitDone() {}
    virtual void OnShutdown() {}
    virtual void BeforeExit() {}
    // Reads the command line, changes to the working folder it names and registers the
    // resource pack, once: Init does it, and a program that reads files before Init (its
    // menus, its texts) calls it first.
    void PrepareDataFolder();
    // May take over the working-folder change; returns true when it did.
    virtual bool ChangeFolderHook(const std::string& folder) { (void)folder; return false; }
    // How PrepareDataFolder finds the data and the player's folder; without rules the working
    // folder is the current folder or the one the command line names.
    void SetGameFolderRules(GameFolderRules rules) { mFolderRules = std::move(rules); }
    // The folders PrepareDataFolder settled on.
    const GameFolders& Folders() const { return mFolders; }
    virtual void OnSecondInstance();
    virtual void OnInstanceNotify() {}
    // Ends the process with the code (after restoring anything the program changed).
    virtual void ExitWithCode(int code);

    // --- Settings store (AppSettings.cpp) -----------------------------------------------
    virtual void LoadSettings();
    virtual void SaveSettings();
    bool WriteSettingInt(const std::string& name, int value);
    bool WriteSettingBool(const std::string& name, bool value);
    bool ReadSettingInt(const std::string& name, int& value);
    bool ReadSettingBool(const std::string& name, bool& value);
    bool EraseSetting(const std::string& name);

    // --- Command line (CommandLine.cpp) -------------------------------------------------
    // The arguments after the program name; without a call the process's own are used.
    void SetCommandLine(int argc, const char* const* argv);
    virtual void ReadCommandLine();
    virtual void SplitCommandLine(const std::string& parameters);
    virtual void ApplyCommandSwitch(const std::string& name, const std::string& value);
    // What "--help" prints.
    virtual std::string UsageText() const;

    // --- Window and screen mode (AppInit.cpp) -------------------------------------------
    virtual void CreateMainWindow();
    virtual void SetScreenMode(bool windowed);
    // Hardware acceleration: the renderer's 3D mode (rotated sprites, float positions through
    // the matrix path, linear filtering, the denser particle effects). A change is stored as
    // "Is3D"; with reinit the display is initialised again at once, falling back to 2D when
    // the 3D mode does not come up (the program ends when even that fails).
    virtual void SetHardwareAcceleration(bool on, bool reinit);
    // The music back-end: silent when no sound is wanted.
    virtual std::unique_ptr<MusicInterface> CreateMusicBackEnd();
    // Images live in memory only, so nothing needs re-uploading after a display change.
    virtual void RestoreImages() {}
    virtual bool CanRestoreWindow() { return !mDisabled; }
    virtual void ShowMessageBox(const std::string& title, const std::string& text);
    // Sets the window icon from a picture file of the game's data; false when it does not load.
    bool SetWindowIconFromFile(const std::string& fileName);
    // Loads a picture through the file layer; none when it does not decode.
    virtual std::unique_ptr<MemoryImage> LoadImageFile(const std::string& fileName,
                                                       bool commitBits = true);
    uint32_t MainWindowId() const;

    // --- Volumes (AppAudio.cpp) ---------------------------------------------------------
    void SetMusicVolume(double volume) override;
    void SetSfxVolume(double volume) override;
    virtual void SetMasterVolume(double volume);
    virtual double GetMusicVolume() const { return mMusicVolume; }
    virtual double GetSfxVolume() const { return mSfxVolume; }
    virtual double GetMasterVolume();
    virtual void Mute(bool autoMute = false);
    virtual void Unmute(bool autoMute = false);
    virtual bool IsMuted() const { return mMuteCount > 0; }
    virtual void PlaySoundEffect(int soundId);
    void PlaySoundEffect(int soundId, int pan) override;
    SoundManager* GetSoundManager() override { return mSoundManager.get(); }
    MusicInterface* GetMusicInterface() override { return mMusicInterface.get(); }

    // --- Cursor (AppCursor.cpp) ---------------------------------------------------------
    void SetCursorShape(int cursorNumber) override;
    virtual void ApplyCursor();
    // The image drawn for a cursor number while custom cursors are on (number 12 always).
    void SetCursorImage(int cursorNumber, std::shared_ptr<const MemoryImage> image, int hotX,
                        int hotY);
    void EnableCustomCursors(bool enabled);
    int CursorNumber() const { return mCursorNumber; }

    // --- Frame loop (FrameLoop.cpp, DrawPacing.cpp, MessageQueue.cpp) -------------------
    virtual void MainLoop();
    virtual bool LoopIteration();
    virtual bool LoopStep(bool* updated);
    virtual bool SchedulerPass(bool allowSleep);
    virtual bool TryRunUpdate();
    virtual void RunOneUpdate();
    virtual void RunFractionalUpdate(float fraction);
    virtual bool DrawDirtyWidgets();
    virtual void PresentScreen(bool imageChanged = true);
    bool HandleQueuedMessages(bool single);
    void DropTimeDebt(bool relaxForASecond);
    // Deletes the widget once no update or draw that may hold it is running.
    void DeleteWidgetLater(Widget* widget);
    void ProcessSafeDeleteList();

    // --- Window procedure (WindowProc.cpp) ----------------------------------------------
    // Takes every pending platform record (and the frame timer) through WindowProc.
    void DispatchPlatformMessages();
    // Handles one platform record at once or queues it for the loop; false when the record
    // goes on to the platform's default handling.
    bool WindowProc(const WindowMessage& message);
    virtual bool OnDebugKey(int keyCode) { (void)keyCode; return false; }
    // Offered every key down before it is queued, with the modifier states; true consumes it.
    virtual bool OnRawKeyDown(int keyCode, bool control, bool alt);
    virtual void OnCloseRequest() {}
    virtual void OnFocusGained() {}
    virtual void OnFocusLost() {}
    // Brings has-focus in line with active and minimised.
    void RehupFocus();

    // --- WidgetHost ---------------------------------------------------------------------
    bool IsHardwareAccelerated() const override;
    // A draw pass holds the display's lock, so no other thread touches the display meanwhile.
    void BeginScreenDraw() override;
    void EndScreenDraw() override;

    // --- Strings ------------------------------------------------------------------------
    // A user-interface string by key, with the fallback when the table has none.
    std::string GetString(const std::string& key, const std::string& fallback) const;
    void SetString(const std::string& key, const std::string& value);

    // --- Owned parts --------------------------------------------------------------------
    WidgetManager* GetWidgetManager() { return mWidgetManager.get(); }
    Display* GetDisplay() { return mDisplay.get(); }
    const std::deque<WindowMessage>& DeferredQueue() const { return mDeferredQueue; }

    // --- Identity -----------------------------------------------------------------------
    std::string mCompanyName;
    std::string mProductName = "Product";
    std::string mTitle = "OrvaneApp";
    std::string mRegistryKey;
    std::string mProductVersion;
    std::string mChangeDirTo;
    std::string mDataFolder;   // per-machine data: the working folder on this platform

    // --- Display ------------------------------------------------------------------------
    int mWidth = 640;
    int mHeight = 480;
    int mFullScreenBits = 16;
    bool mIsWindowed = true;
    bool mIsPhysicallyWindowed = true;
    bool mFullScreenWindow = false;
    bool mForceFullScreen = false;
    bool mForceWindowed = false;
    int mPreferredX = -1;
    int mPreferredY = -1;
    // The window's client size as the player left it (desktop pixels); 0 until known.
    int mWindowedWidth = 0;
    int mWindowedHeight = 0;
    bool mCustomCursorsEnabled = false;
    std::atomic<bool> mCustomCursorDirty{false};
    bool mSingleInstance = true;
    bool mNoSoundNeeded = false;

    // --- Life cycle ---------------------------------------------------------------------
    bool mInitialized = false;
    bool mRunning = false;
    std::atomic<bool> mShutdown{false};
    bool mExitToTop = false;
    bool mLoaded = false;
    std::atomic<bool> mLoadingFailed{false};
    bool mManualShutdown = false;
    std::atomic<bool> mLoadingThreadStarted{false};
    std::atomic<bool> mLoadingThreadCompleted{false};
    bool mAutoStartLoadingThread = true;
    std::atomic<bool> mYieldMainThread{false};
    bool mActive = true;
    bool mMinimized = false;
    bool mHasFocus = true;
    bool mDisabled = false;
    bool mMouseInWindow = false;
    bool mLastHandledMinimized = false;   // minimised as of the last handled size record
    bool mDrawing = false;
    int mMuteCount = 0;
    int mAutoMuteCount = 0;
    bool mMuteOnLostFocus = true;
    double mMusicVolume = 0.85;
    double mSfxVolume = 0.85;
    bool mReadFromSettings = false;
    bool mLastShutdownWasGraceful = true;
    std::thread::id mPrimaryThreadId;

    // --- Timing -------------------------------------------------------------------------
    int mFrameTime = 10;
    double mUpdateMultiplier = 1.0;
    bool mVSyncUpdates = false;
    int mSyncRefreshRate = 100;
    bool mWaitForVSync = false;
    bool mSoftVSyncWait = true;
    bool mVSyncBroken = false;
    int mVSyncBrokenCount = 0;
    uint32_t mVSyncBrokenTestStartTick = 0;
    int mVSyncBrokenTestUpdates = 0;
    bool mPaused = false;
    double mUpdateTimeAccumulator = 0.0;
    uint32_t mLastTimeCheck = 0;
    int mRelaxUpdateBacklogCount = 0;
    double mPendingUpdatesAcc = 0.0;
    int mUpdateAppState = UPDATESTATE_MESSAGES;
    int mUpdateAppDepth = 0;
    int mNonDrawCount = 0;
    bool mHasPendingDraw = true;
    bool mLastDrawWasEmpty = false;
    uint32_t mLastDrawTick = 0;
    uint32_t mNextDrawTick = 0;
    bool mDebugKeysEnabled = false;
    bool mCtrlDown = false;
    bool mAltDown = false;

    // --- Statistics ---------------------------------------------------------------------
    int mUpdateCount = 0;
    int mDrawCount = 0;
    int mSleepCount = 0;
    int mDrawTime = 0;
    int mScreenBltTime = 0;
    int mFPSCount = 0;
    int mFPSTime = 0;
    int mFPSFlipCount = 0;
    int mCurrentFPS = 0;
    int mDirtyUpdateCount = 0;   // updates after which something was dirty
    uint32_t mFPSTick = 0;
    uint32_t mStartTick = 0;
    uint32_t mRunStartTick = 0;
    uint32_t mLastUserInputTick = 0;
    uint32_t mLastTimerTick = 0;
    uint32_t mLastBigDelayTick = 0;
    uint32_t mLastFrameTimerFire = 0;

protected:
    // Exits through ExitWithCode after the message: the fatal start-up path.
    void FatalMessage(const std::string& title, const std::string& text, int exitCode);
    // The fatal end when no display can be had, with the platform's reason.
    void FailDisplay(const std::string& error);
    void UpdateTimeAccumulator();
    bool ProcessDeferredMessage(const WindowMessage& message);
    void HandleSizeRecord(const WindowMessage& message);
    void HandleTimerRecord();
    void HandleMouseRecord(const WindowMessage& message);
    void StartCursorThread();
    void StopCursorThread();
    void CursorThreadLoop();
    void JoinLoadingThread();
    void WriteStatistics();
    void ApplyDisplayToWidgets();
    // Initialises the display again as it is set now and hands the new screen image to the
    // widgets, all marked dirty; false, with the reason, when the display refuses.
    bool ReinitDisplay(std::string& error);

    std::unique_ptr<WidgetManager> mWidgetManager;
    std::unique_ptr<Display> mDisplay;
    std::unique_ptr<SoundManager> mSoundManager;
    std::unique_ptr<MusicInterface> mMusicInterface;
    std::deque<WindowMessage> mDeferredQueue;
    std::vector<WindowMessage> mPumpBuffer;

    struct SafeDeleteEntry {
        Widget* widget;
        int depth;
    };
    std::vector<SafeDeleteEntry> mSafeDeleteList;

    struct CursorImage {
        std::shared_ptr<const MemoryImage> image;
        int hotX = 0;
        int hotY = 0;
    };
    std::array<CursorImage, kCursorCount> mCursorImages{};
    int mCursorNumber = kCursorArrow;
    bool mFrameTimerRunning = false;

    std::map<std::string, std::string> mStrings;
    std::vector<std::string> mCommandArgs;
    bool mCommandLineSet = false;
    bool mCommandLineParsed = false;
    bool mDataFolderPrepared = false;
    GameFolderRules mFolderRules;
    GameFolders mFolders;
    bool mOwnsInstanceLock = false;
    bool mSettingsWritten = false;
    int mWindowCreateDepth = 0;

    std::thread mLoadingThread;
    std::thread mCursorThread;
    std::atomic<bool> mCursorThreadRunning{false};
    std::atomic<uint32_t> mLastDrawTickShared{0};
    std::atomic<bool> mSoftwareCursorShown{false};
};

// The process-wide application (set by the entry point right after construction).
OrvaneAppBase* GetApp();
void SetApp(OrvaneAppBase* app);

}  // namespace Orvane
