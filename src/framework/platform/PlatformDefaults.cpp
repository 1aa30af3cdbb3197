// What a platform without a window does: every window operation succeeds quietly, no events
// arrive, messages go to standard error. The back-ends override what they really provide.
#include "framework/platform/Platform.h"

#include "framework/display/HeadlessDisplay.h"
#include "framework/sound/AudioDevice.h"
#include "framework/platform/UrlFile.h"

#include <cstdio>

namespace Orvane {

bool Platform::CreateMainWindow(const WindowSettings&, std::string&) { return true; }

void Platform::GetFullScreenClientSize(int& width, int& height) {
    width = 1920;
    height = 1080 - 80;
}

void Platform::SetWindowIcon(const uint32_t*, int, int) {}

std::unique_ptr<Display> Platform::CreateDisplay() { return std::make_unique<HeadlessDisplay>(); }

void Platform::PumpMessages(std::vector<WindowMessage>&) {}

bool Platform::GetCursorPosition(int& x, int& y) {
    x = 0;
    y = 0;
    return false;
}

void Platform::SetCursorPosition(int, int) {}

bool Platform::CursorInClientArea() { return false; }

std::unique_ptr<AudioDevice> Platform::OpenAudioDevice() { return nullptr; }

std::unique_ptr<MusicStreamDevice> Platform::OpenMusicDevice() { return nullptr; }

void Platform::ShowMessageBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

bool Platform::OpenUrlFile(const std::string& path) {
    std::string url;
    if (!ReadInternetShortcut(path, url) || !IsOpenableUrl(url)) return false;
    return LaunchDetached({"xdg-open", url});
}

}  // namespace Orvane
