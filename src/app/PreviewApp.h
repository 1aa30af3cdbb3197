// PreviewApp: Nookvale's preview application. Until the full game shell arrives, the game's
// executable runs this: it starts like the game (title, log, settings, window, music), loads
// every picture, the symbol font and the sounds on the loading thread behind the loading
// screen, and then shows the menu background with the title, a parade of the animals, a few
// effects and a small menu ("Menu\menu-preview.xml") whose options drive the volumes.
//
// The one widget is the PreviewScreen; it draws from what this class exposes and hands every
// input record back to HandleScreenMessage, the preview's message dispatcher.
#pragma once

#include "framework/app/OrvaneAppBase.h"
#include "menu/CMenu.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class PreviewScreen;

class PreviewApp : public Orvane::OrvaneAppBase {
public:
    // The menu screens of the preview, read from the game folder.
    static constexpr const char* kMainMenuFile = "Menu\\menu-preview.xml";
    static constexpr const char* kOptionsMenuFile = "Menu\\menu-preview-options.xml";
    // The song of the menus and the speed of its fade-in (volume per logic step).
    static constexpr const char* kThemeFile = "Music\\theme1.ogg";
    static constexpr double kThemeFadeSpeed = 0.002;

    // Starts the log ("*** SESSION STARTED ***"), routes the framework's diagnostics into it
    // and reads the menu screens.
    PreviewApp();
    // Releases the screen, the pictures and the sounds; ends the log with "*** Session
    // finished ***".
    ~PreviewApp() override;

    void Init() override;
    void LoadResources() override;
    void OnLoadingFinished() override;

    // The preview's dispatcher: Escape quits, everything else goes to the menus.
    void HandleScreenMessage(const Orvane::WindowMessage& message);

    // --- What the screen draws -----------------------------------------------------------
    // Loading progress 0..100 from the image counters (0 while nothing is counted).
    int LoadingPercent() const;
    bool ResourcesReady() const { return resourcesReady_; }
    CMenu& MainMenu() { return mainMenu_; }
    CMenu& OptionsMenu() { return optionsMenu_; }
    bool OptionsShown() const { return optionsShown_; }
    // The options' check box stops the animals where they are.
    bool ParadePaused() const;
    bool MenusLoaded() const { return mainMenuLoaded_ && optionsMenuLoaded_; }
    // The image folders loaded behind the loading screen, in loading order.
    std::vector<std::string> ImageFolders() const;
    int ImagesToLoad() const { return imagesToLoad_.load(); }
    int ImagesLoaded() const { return imagesLoaded_.load(); }
    PreviewScreen* Screen() { return screen_.get(); }

private:
    void LoadImageFolders();
    void OnMenuAction(const std::string& action);
    void ApplyVolumeSliders();

    std::unique_ptr<PreviewScreen> screen_;
    CMenu mainMenu_;
    CMenu optionsMenu_;
    bool mainMenuLoaded_ = false;
    bool optionsMenuLoaded_ = false;
    bool optionsShown_ = false;
    bool resourcesReady_ = false;
    // Written by the loading thread, read by the loading screen.
    std::atomic<int> imagesToLoad_{0};
    std::atomic<int> imagesLoaded_{0};
};
