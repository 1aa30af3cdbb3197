// Platform: the one interface through which the framework reaches the operating system.
// Two implementations exist: the SDL back-end for the real game and the headless back-end
// for tests, benchmarks and automated play. Nothing outside src/framework/platform/ includes
// a platform library directly.
#pragma once

#include "framework/platform/WindowMessage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Orvane {

class AudioDevice;
class Display;
class MusicStreamDevice;
class SettingsStore;

// Cursor shapes by the application's cursor numbers.
enum class CursorShape {
    Arrow = 0, Hand = 1, Dragging = 2, TextBeam = 3, No = 4, SizeAll = 5, SizeNESW = 6,
    SizeNS = 7, SizeNWSE = 8, SizeWE = 9, Wait = 10, None = 11,
};

// What the main window is to be. Sizes are logical pixels (the screen image's size).
struct WindowSettings {
    std::string title;
    int width = 800;
    int height = 600;
    bool fullScreen = false;
    // The preferred client position, kept 4 pixels inside the work area however far off it
    // lies; (-1, -1) is none: the window is centred in the work area.
    int x = -1;
    int y = -1;
    bool HasPosition() const { return x != -1 || y != -1; }
    // The client size the player last gave the window (desktop pixels); 0 x 0 is none: the
    // window opens at the largest whole multiple of the logical size that fits the desktop.
    int clientWidth = 0;
    int clientHeight = 0;
};

// One entry of a wildcard file search.
struct FindEntry {
    std::string name;         // file name without its folder
    uint64_t size = 0;
    uint64_t writeTime = 0;   // seconds since the epoch
    bool isDirectory = false;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Millisecond clock with 1 ms resolution (the fine clock of the frame loop and game time).
    virtual uint32_t TimeMs() = 0;
    // Coarse millisecond clock for the seconds-level timers.
    virtual uint32_t TickCount() = 0;
    virtual void SleepMs(uint32_t ms) = 0;

    // Wildcard search ('*' and '?', letters without regard to case) over one folder.
    // The pattern may use '\' or '/' separators, e.g. "Graphics\*.png". Names come back in
    // byte order of their names; "." and ".." are never returned.
    virtual std::vector<FindEntry> FindFiles(const std::string& pattern);

    // The per-user settings store under the application's registry key.
    virtual SettingsStore& Settings() = 0;

    // Single-instance lock named after the product. Returns false when another process
    // already holds it. Released by ReleaseInstanceLock or when the process ends.
    virtual bool AcquireInstanceLock(const std::string& name) = 0;
    virtual void ReleaseInstanceLock() = 0;

    // --- The main window -----------------------------------------------------------------
    // Brings up the window system. False, with a reason, when there is none to show a window
    // on (the program cannot run then).
    virtual bool InitWindowSystem(std::string& error) { (void)error; return true; }
    // Creates (or re-creates) the one main window. False, with a reason, when it cannot be.
    virtual bool CreateMainWindow(const WindowSettings& settings, std::string& error);
    // Shows the window normally, raises it and gives it the keyboard focus.
    virtual void ShowMainWindow() {}
    virtual void HideMainWindow() {}
    virtual void DestroyMainWindow() {}
    // The opaque id carried in the window field of records (0 while there is no window).
    virtual uint32_t MainWindowId() const { return 0; }
    // Whether the main window owns the keyboard focus (is the foreground window).
    virtual bool MainWindowIsForeground() { return true; }
    // The largest client area a captioned window can have on this desktop.
    virtual void GetFullScreenClientSize(int& width, int& height);
    // The client size the window had when it was last a window (desktop pixels), as the
    // player may have resized it; false when there was no window.
    virtual bool GetWindowedClientSize(int& width, int& height) { (void)width; (void)height; return false; }
    // The window icon, from 32-bit 0xAARRGGBB pixels, row by row.
    virtual void SetWindowIcon(const uint32_t* pixels, int width, int height);
    // A display bound to the main window; created after the window.
    virtual std::unique_ptr<Display> CreateDisplay();

    // --- Input ---------------------------------------------------------------------------
    // Takes every pending event without blocking, as window-message records (positions in
    // logical pixels), appended to out.
    virtual void PumpMessages(std::vector<WindowMessage>& out);
    // The cursor position in logical pixels of the main window's client area (may lie
    // outside it); false when it is not known.
    virtual bool GetCursorPosition(int& x, int& y);
    virtual void SetCursorPosition(int x, int y);
    // Whether the cursor is over the main window's client area.
    virtual bool CursorInClientArea();
    // Buttons held now, whatever the queue holds: MouseFlag::Left | Right | Middle.
    virtual uint32_t AsyncButtonState() { return 0; }
    virtual void CaptureMouse(bool capture) { (void)capture; }
    virtual void SetCursorShape(CursorShape shape) { (void)shape; }

    // --- Audio ---------------------------------------------------------------------------
    // The sound channels and the music stream of the output; none when there is no output
    // (the program is then silent).
    virtual std::unique_ptr<AudioDevice> OpenAudioDevice();
    virtual std::unique_ptr<MusicStreamDevice> OpenMusicDevice();

    // --- Shell ---------------------------------------------------------------------------
    // A modal message for the user; also written to standard error.
    virtual void ShowMessageBox(const std::string& title, const std::string& text);
    // Opens an internet shortcut file (".url"): its URL goes to the desktop's opener,
    // detached. False when the file is missing, holds no URL or the URL is not a web or mail
    // address.
    virtual bool OpenUrlFile(const std::string& path);
};

// The process-wide platform. Set once at start-up (or by a test fixture); until then a
// headless platform with the real clock answers.
Platform& GetPlatform();
void SetPlatform(Platform* platform);

}  // namespace Orvane
