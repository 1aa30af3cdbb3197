#include "framework/app/OrvaneAppBase.h"

#include "framework/display/Display.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <cstdio>
#include <cstdlib>

namespace Orvane {

namespace {
std::atomic<OrvaneAppBase*> gApp{nullptr};
}

OrvaneAppBase* GetApp() { return gApp.load(); }
void SetApp(OrvaneAppBase* app) { gApp.store(app); }

OrvaneAppBase::OrvaneAppBase() {
    mStartTick = GetPlatform().TickCount();
    mPrimaryThreadId = std::this_thread::get_id();
    mWidgetManager = std::make_unique<WidgetManager>(this);
    if (!GetAudioHost()) SetAudioHost(this);

    // Default user-interface strings; a game may replace any of them with SetString.
    mStrings = {
        {"DIALOG_BUTTON_OK", "OK"},
        {"DIALOG_BUTTON_CANCEL", "CANCEL"},
        {"DIALOG_BUTTON_YES", "YES"},
        {"DIALOG_BUTTON_NO", "NO"},
        {"UPDATE_CHECK_TITLE", "Update Check"},
    };
}

OrvaneAppBase::~OrvaneAppBase() {
    StopCursorThread();
    JoinLoadingThread();

    if (mWidgetManager) mWidgetManager->RemoveAllWidgets(true);
    ProcessSafeDeleteList();
    for (SafeDeleteEntry& entry : mSafeDeleteList) delete entry.widget;
    mSafeDeleteList.clear();
    mWidgetManager.reset();

    if (mMusicInterface) mMusicInterface->StopAllMusic();
    mMusicInterface.reset();
    mSoundManager.reset();
    mDisplay.reset();
    if (mInitialized) GetPlatform().DestroyMainWindow();
    if (mOwnsInstanceLock) GetPlatform().ReleaseInstanceLock();

    if (GetAudioHost() == this) SetAudioHost(nullptr);
    OrvaneAppBase* self = this;
    gApp.compare_exchange_strong(self, nullptr);
}

std::string OrvaneAppBase::GetString(const std::string& key, const std::string& fallback) const {
    auto it = mStrings.find(key);
    return it == mStrings.end() ? fallback : it->second;
}

void OrvaneAppBase::SetString(const std::string& key, const std::string& value) {
    mStrings[key] = value;
}

void OrvaneAppBase::ShowMessageBox(const std::string& title, const std::string& text) {
    GetPlatform().ShowMessageBox(title, text);
}

void OrvaneAppBase::FatalMessage(const std::string& title, const std::string& text,
                                 int exitCode) {
    ShowMessageBox(title, text);
    ExitWithCode(exitCode);
    // Only reached when a derived class keeps the process alive (tests): nothing more runs.
    mShutdown = true;
}

void OrvaneAppBase::ExitWithCode(int code) {
    // The desktop mode is never changed on this platform, so there is nothing to restore but
    // the window itself. The cursor thread moves the software cursor through the display, so
    // it ends before the display goes.
    StopCursorThread();
    std::fflush(stdout);
    std::fflush(stderr);
    mDisplay.reset();
    GetPlatform().DestroyMainWindow();
    std::exit(code);
}

uint32_t OrvaneAppBase::MainWindowId() const { return GetPlatform().MainWindowId(); }

bool OrvaneAppBase::IsHardwareAccelerated() const { return mDisplay && mDisplay->Is3D(); }

std::unique_ptr<MemoryImage> OrvaneAppBase::LoadImageFile(const std::string& fileName,
                                                          bool /*commitBits*/) {
    // The screen is a software image: there is no separate display copy to commit.
    return Orvane::LoadImageFile(fileName);
}

bool OrvaneAppBase::SetWindowIconFromFile(const std::string& fileName) {
    std::unique_ptr<MemoryImage> icon = LoadImageFile(fileName, false);
    if (!icon || icon->GetWidth() <= 0 || icon->GetHeight() <= 0) return false;
    GetPlatform().SetWindowIcon(icon->GetBits(), icon->GetWidth(), icon->GetHeight());
    return true;
}

}  // namespace Orvane
