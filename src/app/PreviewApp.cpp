#include "app/PreviewApp.h"

#include "app/PreviewScreen.h"
#include "engine/audio/OggManager.h"
#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/log/FrameworkLog.h"
#include "engine/log/Log.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/platform/VirtualKeys.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace {

constexpr const char* kTitleKey = "Nookvale";
constexpr const char* kLanguageFolderKey = "English\\";
constexpr const char* kParadePauseBox = "chkPreviewPauseParade";

}  // namespace

PreviewApp::PreviewApp() {
    // The language of the texts; the game's own default when config.ini names none.
    std::string language;
    if (!ConfigGetString("LANGUAGE", "Name", language) || language.empty()) language = "ENGLISH";
    SetLanguageName(language);

    const std::string title = LangText(kTitleKey);
    mTitle = title.empty() ? kTitleKey : title;
    mProductName = kTitleKey;
    mRegistryKey = kTitleKey;
    mWidth = 800;
    mHeight = 600;
    mDebugKeysEnabled = false;
    mVSyncUpdates = true;

    LogWrite("*** SESSION STARTED ***", LOG_NEW_FILE | LOG_STARS);
    InstallFrameworkLogRouting();

    // A screen that does not load stays empty (the loader logs why); the preview goes on.
    mainMenuLoaded_ = mainMenu_.LoadMenu(kMainMenuFile);
    optionsMenuLoaded_ = optionsMenu_.LoadMenu(kOptionsMenuFile);
}

PreviewApp::~PreviewApp() {
    if (screen_) {
        GetWidgetManager()->RemoveWidget(screen_.get());
        screen_.reset();
    }
    EffectList().Clear();
    SpriteManager().DeleteAllTextures();
    GetOggManager().FreeMusicManager();
    LogWrite("*** Session finished ***", LOG_STARS);
    RemoveFrameworkLogRouting();
}

void PreviewApp::Init() {
    OrvaneAppBase::Init();
    LogWrite("Init()");
    SetWindowIconFromFile("Graphics\\icon32.png");
    if (Orvane::MusicInterface* music = GetMusicInterface()) {
        if (music->LoadMusic(0, kThemeFile)) {
            music->FadeIn(0, 0, kThemeFadeSpeed, false);
        } else {
            LogWrite(std::string("Preview: the theme ") + kThemeFile + " did not load");
        }
    }
}

std::vector<std::string> PreviewApp::ImageFolders() const {
    return {"Graphics\\", "Graphics\\Shapes\\", LangText(kLanguageFolderKey)};
}

void PreviewApp::LoadResources() {
    // The screen first, so that the loading screen shows while the rest loads.
    screen_ = std::make_unique<PreviewScreen>(*this);
    screen_->Resize(0, 0, mWidth, mHeight);
    GetWidgetManager()->AddWidget(screen_.get());
    GetWidgetManager()->SetFocus(screen_.get());

    GetOggManager().InitSounds();
    ApplyVolumeSliders();

    LoadImageFolders();
    SpriteManager().InitSymbolFont(LangText(kLanguageFolderKey) + "font01.png");
    GetOggManager().LoadSoundFolder("Sound\\");

    EffectList().Clear();
    EffectList().AddFloatAnimation(0.0f, 0.5f, 0.0f, 1.0f, screen_->FadeValue());
}

void PreviewApp::LoadImageFolders() {
    CSpriteManager& sprites = SpriteManager();
    const std::vector<std::string> folders = ImageFolders();
    int total = 0;
    for (const std::string& folder : folders) total += sprites.CountImageFiles(folder);
    imagesToLoad_ = total;
    imagesLoaded_ = 0;
    for (const std::string& folder : folders) {
        if (!sprites.LoadFolderStep(folder, 1)) continue;
        ++imagesLoaded_;
        while (!mShutdown && sprites.LoadFolderStep(folder, 2)) {
            ++imagesLoaded_;
            screen_->MarkDirty();
        }
    }
}

void PreviewApp::OnLoadingFinished() {
    OrvaneAppBase::OnLoadingFinished();
    if (mLoadingFailed || !screen_) return;
    resourcesReady_ = true;
    screen_->StartShow();
    LogWrite("Preview: " + std::to_string(imagesLoaded_.load()) + " of " +
             std::to_string(imagesToLoad_.load()) + " pictures loaded");
}

int PreviewApp::LoadingPercent() const {
    const int total = imagesToLoad_.load();
    if (total <= 0) return 0;
    const double percent = static_cast<double>(imagesLoaded_.load()) / total * 100.0;
    return std::clamp(static_cast<int>(percent), 0, 100);
}

void PreviewApp::HandleScreenMessage(const Orvane::WindowMessage& message) {
    if (message.message == Orvane::WM_KEYDOWN && message.wParam == Orvane::VK_ESCAPE) {
        if (optionsShown_) {
            optionsShown_ = false;
        } else {
            RequestShutdown();
        }
        return;
    }
    if (!resourcesReady_) return;
    // The options panel lies beside the buttons; both see every record so hover states clear.
    std::string action = mainMenu_.ProcessInput(message);
    if (optionsShown_) {
        const std::string optionsAction = optionsMenu_.ProcessInput(message);
        if (action.empty()) action = optionsAction;
    }
    if (!action.empty()) OnMenuAction(action);
}

void PreviewApp::OnMenuAction(const std::string& action) {
    if (action == "procPlay") {
        if (screen_) screen_->ShowComingSoon();
    } else if (action == "procOptions") {
        optionsShown_ = !optionsShown_;
    } else if (action == "procExit") {
        RequestShutdown();
    } else if (action == "procMusicVolume" || action == "procSfxVolume") {
        ApplyVolumeSliders();
    }
}

void PreviewApp::ApplyVolumeSliders() {
    if (!optionsMenuLoaded_) return;
    GetOggManager().SetMusicVolume(optionsMenu_.GetSliderValue("MusicVolume"));
    GetOggManager().SetSfxVolume(optionsMenu_.GetSliderValue("SfxVolume"));
}

bool PreviewApp::ParadePaused() const { return optionsMenu_.IsChecked(kParadePauseBox); }
