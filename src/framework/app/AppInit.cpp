// Start-up (Init), the main window and the switch between windowed and full screen.
#include "framework/app/OrvaneAppBase.h"

#include "framework/core/Diagnostics.h"
#include "framework/core/Random.h"
#include "framework/display/Display.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/Rect.h"
#include "framework/ini/AtomicFile.h"
#include "framework/pak/PakInterface.h"
#include "framework/platform/SettingsStore.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/WidgetManager.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvane {

void OrvaneAppBase::Init() {
    // 1. The thread that runs the loop and owns the window.
    mPrimaryThreadId = std::this_thread::get_id();
    if (mShutdown) return;

    // 2. Without a window system the program cannot run.
    std::string error;
    if (!GetPlatform().InitWindowSystem(error)) {
        FatalMessage(GetString("YOU_NEED_DIRECTX", "No display"),
                     GetString("APP_REQUIRES_DIRECTX",
                               "This application needs a graphical display to run. ") + error,
                     kExitMissingBackEnd);
        return;
    }

    // 3.-7. Settings, then the command line (which may override them), the working folder and
    // the resource pack.
    LoadSettings();
    PrepareDataFolder();
    if (mShutdown) return;

    // 8. One instance at a time.
    if (GetPlatform().AcquireInstanceLock(mProductName + "Mutex")) {
        mOwnsInstanceLock = true;
        // A killed run may have left a half-written settings file beside the real one.
        const std::string settings = GetPlatform().Settings().FilePath();
        if (!settings.empty()) RemoveStaleTemporaryFiles(settings);
    } else {
        OnSecondInstance();
        if (mShutdown) return;
    }

    // 9. Random seeds.
    const uint32_t tick = GetPlatform().TickCount();
    SeedRandom(tick);
    std::srand(tick);

    // 10.-11. The widget manager covers the logical screen; mouse positions map one to one.
    const Rect screen(0, 0, mWidth, mHeight);
    mWidgetManager->Resize(screen, screen);

    // 12. A window that cannot fit on the desktop runs full screen instead.
    if (mFullScreenWindow) {
        // The desktop mode is never changed here: the full-screen window mode falls back to
        // plain full screen.
        mFullScreenWindow = false;
        mIsWindowed = false;
    } else if (mIsWindowed) {
        int fullW = 0, fullH = 0;
        GetPlatform().GetFullScreenClientSize(fullW, fullH);
        if (mWidth >= fullW || mHeight >= fullH) {
            mIsWindowed = false;
            mForceFullScreen = true;
        }
    }

    // 13. Window and display.
    CreateMainWindow();
    if (mShutdown) return;

    // 14. Sound and music.
    if (!mSoundManager) mSoundManager = CreateSoundManager(!mNoSoundNeeded);
    SetSfxVolume(mSfxVolume);
    mMusicInterface = CreateMusicBackEnd();
    SetMusicVolume(mMusicVolume);

    // 15.
    OnInitDone();
    mInitialized = true;
}

void OrvaneAppBase::PrepareDataFolder() {
    if (mDataFolderPrepared) return;
    mDataFolderPrepared = true;
    if (!mCommandLineParsed) ReadCommandLine();
    if (mShutdown) return;

    // The working folder: every data file is read relative to it, and every file the program
    // writes goes there. An installed game reads its data from the data folder behind it.
    if (!ChangeFolderHook(mChangeDirTo)) {
        const GameFolders folders = LocateGameFolders(mFolderRules, ProcessFolderFacts(mChangeDirTo));
        if (folders.Installed()) {
            std::error_code ec;
            const std::filesystem::path parent = std::filesystem::path(folders.working).parent_path();
            std::filesystem::create_directories(parent, ec);
            // The player's folder holds the player's own files: nobody else reads them.
            if (mkdir(folders.working.c_str(), 0700) != 0 && errno != EEXIST) {
                Diagnose("WARNING: cannot create the player's folder '" + folders.working + "'");
            }
        }
        if (chdir(folders.working.c_str()) != 0) {
            Diagnose("WARNING: cannot change the working folder to '" + folders.working + "'");
        }
        GetPak().SetDataFolder(folders.data);
        mFolders = folders;
        mDataFolder = folders.Installed() ? folders.data : folders.working;
    }

    // The optional resource pack, from the working folder or else the data folder.
    GetPak().AddPakFile(GetPak().ReadPath("main.pak"));
}

void OrvaneAppBase::OnSecondInstance() {
    if (!mSingleInstance) return;
    Diagnose("Another instance of " + mProductName + " is running; this one ends.");
    ExitWithCode(kExitSecondInstance);
    mShutdown = true;
}

std::unique_ptr<MusicInterface> OrvaneAppBase::CreateMusicBackEnd() {
    if (mNoSoundNeeded) return CreateSilentMusicInterface();
    return Orvane::CreateMusicBackEnd(true);
}

void OrvaneAppBase::CreateMainWindow() {
    // A mode that keeps failing must not bounce between windowed and full screen forever.
    if (mWindowCreateDepth > 2) {
        FailDisplay("no usable screen mode");
        return;
    }
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(mWindowCreateDepth);

    WindowSettings settings;
    settings.title = mTitle;
    settings.width = mWidth;
    settings.height = mHeight;
    settings.fullScreen = !mIsWindowed;
    settings.x = mPreferredX;
    settings.y = mPreferredY;
    settings.clientWidth = mWindowedWidth;
    settings.clientHeight = mWindowedHeight;

    std::string error;
    if (!GetPlatform().CreateMainWindow(settings, error)) {
        FailDisplay(error);
        return;
    }

    if (!mDisplay) {
        mDisplay = GetPlatform().CreateDisplay();
        int is3D = 0;
        bool is3DFlag = false;
        if (ReadSettingInt("Is3D", is3D)) {
            mDisplay->Set3D(is3D != 0);
        } else if (ReadSettingBool("Is3D", is3DFlag)) {
            mDisplay->Set3D(is3DFlag);
        }
    }

    const Display::Result result = mDisplay->Init(mWidth, mHeight, mIsWindowed, error);
    switch (result) {
    case Display::Result::Ok:
        mActive = GetPlatform().MainWindowIsForeground();
        mIsPhysicallyWindowed = !mDisplay->IsPhysicallyFullScreen();
        RehupFocus();
        RestoreImages();
        ApplyDisplayToWidgets();
        mFrameTimerRunning = true;
        mLastFrameTimerFire = GetPlatform().TimeMs();
        return;
    case Display::Result::UnusableColorDepth:
        if (mIsWindowed) {
            if (mForceWindowed) {
                FatalMessage(mTitle,
                             GetString("PLEASE_SET_COLOR_DEPTH",
                                       "Please set your desktop color depth to 16 bit."),
                             kExitDisplayFailure);
            } else {
                SetScreenMode(false);
            }
            return;
        }
        break;
    case Display::Result::ModeUnavailable:
    case Display::Result::ModeNotSupported:
        if (!mIsWindowed) {
            SetScreenMode(true);
            return;
        }
        break;
    case Display::Result::Failed:
        break;
    }
    FailDisplay(error);
}

void OrvaneAppBase::ApplyDisplayToWidgets() {
    mSyncRefreshRate = mDisplay->RefreshRate() > 0 ? mDisplay->RefreshRate() : 60;
    mWidgetManager->SetScreenImage(mDisplay->ScreenImage());
    mWidgetManager->MarkAllDirty();
}

void OrvaneAppBase::SetScreenMode(bool windowed) {
    if (mForceFullScreen && windowed) windowed = false;
    if (mForceWindowed && !windowed) windowed = true;

    if (windowed == mIsWindowed && mDisplay) {
        // Same mode: only the renderer settings are applied again.
        std::string error;
        if (!ReinitDisplay(error)) FailDisplay(error);
        return;
    }

    mIsWindowed = windowed;
    CreateMainWindow();
    if (mShutdown) return;
    GetPlatform().ShowMainWindow();
    if (mSoundManager) mSoundManager->SetCooperativeWindow(nullptr, mIsWindowed);
    mLastTimeCheck = 0;
}

bool OrvaneAppBase::ReinitDisplay(std::string& error) {
    if (!mDisplay) {
        error = "no display";
        return false;
    }
    if (mDisplay->Init(mWidth, mHeight, mIsWindowed, error) != Display::Result::Ok) return false;
    mIsPhysicallyWindowed = !mDisplay->IsPhysicallyFullScreen();
    RestoreImages();
    ApplyDisplayToWidgets();
    return true;
}

void OrvaneAppBase::SetHardwareAcceleration(bool on, bool reinit) {
    if (!mDisplay) {
        // Before the display exists the choice waits in the store, where the display reads it.
        WriteSettingBool("Is3D", on);
        return;
    }
    if (on == mDisplay->Is3D()) return;
    mDisplay->Set3D(on);
    if (reinit) {
        std::string error;
        if (!ReinitDisplay(error)) {
            if (!on) {
                FailDisplay(error);
                return;
            }
            Diagnose("WARNING: hardware acceleration could not be switched on: " + error);
            mDisplay->Set3D(false);
            if (!ReinitDisplay(error)) {
                FailDisplay(error);
                return;
            }
        }
    }
    WriteSettingBool("Is3D", mDisplay->Is3D());
}

void OrvaneAppBase::FailDisplay(const std::string& error) {
    FatalMessage(mTitle,
                 GetString("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error,
                 kExitDisplayFailure);
}

}  // namespace Orvane
