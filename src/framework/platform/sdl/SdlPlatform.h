// The SDL back-end of the platform: one SDL window, its events as window-message records,
// the cursor, message boxes and the window icon. It also runs with SDL's "dummy" video
// driver, with no display at all.
#pragma once

#include "framework/platform/InstanceLock.h"
#include "framework/platform/Platform.h"
#include "framework/platform/SettingsStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace Orvane {

// Where the logical screen lies inside a window of the given size: scaled with its aspect
// kept and centred (letterbox).
struct LetterboxRect {
    int x = 0, y = 0, width = 0, height = 0;
};
LetterboxRect FitLetterbox(int windowW, int windowH, int logicalW, int logicalH);

// The client size a window opens at on a desktop whose usable client area is areaW x areaH:
// the stored size when there is one that is at least half the logical size and fits, else the
// logical size times the largest whole factor that fits (at least 1).
void ChooseWindowSize(int logicalW, int logicalH, int areaW, int areaH, int storedW, int storedH,
                      int& width, int& height);

class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(std::string configRoot = "");
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    uint32_t TimeMs() override;
    uint32_t TickCount() override;
    void SleepMs(uint32_t ms) override;
    SettingsStore& Settings() override { return settings_; }
    bool AcquireInstanceLock(const std::string& name) override { return lock_.Acquire(name); }
    void ReleaseInstanceLock() override { lock_.Release(); }

    bool InitWindowSystem(std::string& error) override;
    bool CreateMainWindow(const WindowSettings& settings, std::string& error) override;
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void DestroyMainWindow() override;
    uint32_t MainWindowId() const override;
    bool MainWindowIsForeground() override;
    void GetFullScreenClientSize(int& width, int& height) override;
    bool GetWindowedClientSize(int& width, int& height) override;
    void SetWindowIcon(const uint32_t* pixels, int width, int height) override;
    std::unique_ptr<Display> CreateDisplay() override;

    void PumpMessages(std::vector<WindowMessage>& out) override;
    bool GetCursorPosition(int& x, int& y) override;
    void SetCursorPosition(int x, int y) override;
    bool CursorInClientArea() override;
    uint32_t AsyncButtonState() override;
    void CaptureMouse(bool capture) override;
    void SetCursorShape(CursorShape shape) override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    // The mixer's channels and music stream.
    std::unique_ptr<AudioDevice> OpenAudioDevice() override;
    std::unique_ptr<MusicStreamDevice> OpenMusicDevice() override;

    // For the display back-end.
    SDL_Window* Window() const { return window_; }
    bool IsFullScreen() const { return fullScreen_; }
    int LogicalWidth() const { return logicalW_; }
    int LogicalHeight() const { return logicalH_; }

    // One event as zero or more records (exposed for tests of the translation).
    void TranslateEvent(const SDL_Event& event, std::vector<WindowMessage>& out);

private:
    void WindowToLogical(int wx, int wy, int& lx, int& ly) const;
    void LogicalToWindow(int lx, int ly, int& wx, int& wy) const;
    void ApplyIcon();
    SDL_Cursor* CursorFor(CursorShape shape);

    SettingsStore settings_;
    InstanceLock lock_;
    bool videoUp_ = false;
    SDL_Window* window_ = nullptr;
    bool fullScreen_ = false;
    int logicalW_ = 800;
    int logicalH_ = 600;
    int windowedW_ = 0;   // the client size while windowed, as the player left it
    int windowedH_ = 0;
    std::vector<uint32_t> iconPixels_;
    int iconW_ = 0, iconH_ = 0;
    std::array<SDL_Cursor*, 12> cursors_{};
    CursorShape cursorShape_ = CursorShape::Arrow;
    uint32_t eventButtons_ = 0;   // SDL's button mask as of the last translated mouse event
};

}  // namespace Orvane
