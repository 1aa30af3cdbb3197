// Headless platform: no window, no audio device. Its clock is either the real monotonic clock
// or a manual clock that only moves when a test (or SleepMs) moves it. Input is scripted:
// tests queue key, character, mouse and window records, and set the cursor position and the
// button state that the game polls.
#pragma once

#include "framework/platform/InstanceLock.h"
#include "framework/platform/Platform.h"
#include "framework/platform/RecordingAudio.h"
#include "framework/platform/SettingsStore.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

namespace Orvane {

class HeadlessPlatform : public Platform {
public:
    enum class ClockMode { Real, Manual };

    explicit HeadlessPlatform(ClockMode mode = ClockMode::Manual, std::string configRoot = "");

    uint32_t TimeMs() override;
    uint32_t TickCount() override;
    // With the manual clock, sleeping advances the clock by the time slept and returns at once.
    void SleepMs(uint32_t ms) override;

    SettingsStore& Settings() override { return settings_; }
    bool AcquireInstanceLock(const std::string& name) override { return lock_.Acquire(name); }
    void ReleaseInstanceLock() override { lock_.Release(); }

    // Manual clock control (no effect with the real clock).
    void SetTime(uint32_t ms) { manualMs_ = ms; }
    void AdvanceTime(uint32_t ms) { manualMs_ += ms; }
    ClockMode Mode() const { return mode_; }

    // Total milliseconds requested through SleepMs, for tests of the loop's pacing.
    uint64_t TotalSleptMs() const { return sleptMs_; }

    // --- Window -------------------------------------------------------------------------
    bool CreateMainWindow(const WindowSettings& settings, std::string& error) override;
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void DestroyMainWindow() override;
    uint32_t MainWindowId() const override { return windowCreated_ ? kWindowId : 0; }
    bool MainWindowIsForeground() override { return foreground_; }
    void GetFullScreenClientSize(int& width, int& height) override;
    void SetWindowIcon(const uint32_t* pixels, int width, int height) override;
    std::unique_ptr<Display> CreateDisplay() override;

    static constexpr uint32_t kWindowId = 1;
    bool WindowCreated() const { return windowCreated_; }
    bool WindowShown() const { return windowShown_; }
    const WindowSettings& LastWindowSettings() const { return windowSettings_; }
    int WindowCreateCount() const { return windowCreateCount_; }
    int IconWidth() const { return iconWidth_; }
    void SetForeground(bool foreground) { foreground_ = foreground; }
    void SetFullScreenClientSize(int width, int height) { fullW_ = width; fullH_ = height; }
    // The refresh rate of the displays this platform creates.
    void SetDisplayRefreshRate(int hz) { refreshRate_ = hz; }
    // Makes the next window creation fail.
    void FailNextWindow(const std::string& error) { windowFailure_ = error; }

    // --- Scripted input -----------------------------------------------------------------
    void PumpMessages(std::vector<WindowMessage>& out) override;
    bool GetCursorPosition(int& x, int& y) override;
    void SetCursorPosition(int x, int y) override;
    bool CursorInClientArea() override;
    uint32_t AsyncButtonState() override { return buttons_; }
    void CaptureMouse(bool capture) override { captured_ = capture; }
    void SetCursorShape(CursorShape shape) override { cursorShape_ = shape; }

    // Queues a record as the window system would deliver it (window id filled in).
    void QueueMessage(WindowMessage message);
    void QueueKeyDown(uint32_t virtualKey, bool altHeld = false);
    void QueueKeyUp(uint32_t virtualKey, bool altHeld = false);
    void QueueChar(uint8_t c);
    void QueueMouseMove(int x, int y);
    // button: MK_LBUTTON, MK_RBUTTON or MK_MBUTTON; also updates the button state.
    void QueueMouseDown(uint32_t button, int x, int y, bool doubleClick = false);
    void QueueMouseUp(uint32_t button, int x, int y);
    void QueueWheel(int delta, int x, int y);
    void QueueClose();
    void QueueSize(uint32_t sizeKind);
    void QueueActivate(bool active);
    size_t PendingMessages() const;

    // Cursor and buttons as the game polls them.
    void SetButtonState(uint32_t buttons) { buttons_ = buttons; }
    void SetCursorInClientArea(bool inside) { cursorInside_ = inside; }
    bool MouseCaptured() const { return captured_; }
    CursorShape LastCursorShape() const { return cursorShape_; }

    // --- Audio: outputs that play nothing and record what was started --------------------
    std::unique_ptr<AudioDevice> OpenAudioDevice() override;
    std::unique_ptr<MusicStreamDevice> OpenMusicDevice() override;
    // Every sound and song started on the outputs this platform opened.
    AudioRecord& Audio() { return *audio_; }

    // --- Shell --------------------------------------------------------------------------
    // Messages are written to standard error and recorded; URLs are recorded, not opened.
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    bool OpenUrlFile(const std::string& path) override;
    std::vector<std::string> MessageBoxes() const;
    std::vector<std::string> OpenedUrls() const;

private:
    ClockMode mode_;
    std::atomic<uint32_t> manualMs_{1000};
    std::atomic<uint64_t> sleptMs_{0};
    SettingsStore settings_;
    InstanceLock lock_;

    bool windowCreated_ = false;
    bool windowShown_ = false;
    bool foreground_ = true;
    int windowCreateCount_ = 0;
    WindowSettings windowSettings_;
    std::string windowFailure_;
    int fullW_ = 1920;
    int fullH_ = 1000;
    int refreshRate_ = 60;
    int iconWidth_ = 0;

    mutable std::mutex inputMutex_;
    std::deque<WindowMessage> queue_;
    int cursorX_ = 0;
    int cursorY_ = 0;
    bool cursorInside_ = true;
    std::atomic<uint32_t> buttons_{0};
    bool captured_ = false;
    CursorShape cursorShape_ = CursorShape::Arrow;
    std::shared_ptr<AudioRecord> audio_ = std::make_shared<AudioRecord>();
    std::vector<std::string> messageBoxes_;
    std::vector<std::string> openedUrls_;
};

}  // namespace Orvane
