// The application's life: construction (language, title, log, menus), Init (options into the
// settings store, the framework, the generator, shape classes, scores, music), the loading
// thread's work (the Board, pictures, font, sounds), the switch to the main menu, and the end.
#include "app/GameApp.h"

#include "app/Board.h"
#include "engine/audio/OggManager.h"
#include "engine/config/Config.h"
#include "engine/config/ConfigFiles.h"
#include "engine/effects/Effect2d.h"
#include "engine/log/FrameworkLog.h"
#include "engine/log/Log.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/core/Random.h"
#include "framework/pak/PakInterface.h"
#include "framework/platform/Platform.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr const char* kIconFile = "Graphics\\icon.png";
constexpr double kThemeFadeSpeed = 0.002;   // volume per update: five seconds to full

}  // namespace

GameApp::GameApp(int argc, const char* const* argv) {
    // The command line, the working folder and the pack come first: everything below reads
    // files, and a packed game has its menus and texts only in the pack.
    mSingleInstance = true;
    // The name until language.ini gives the title: "--version" and a refused switch use it.
    mProductName = kTitleKey;
    mTitle = kTitleKey;
    mProductVersion = kVersion;
    // A folder holding the game's data has its classes (or the pack of everything); installed,
    // the data lies under ../share/games/nookvale beside the executable's folder.
    SetGameFolderRules({{CBrindloGame::kClassesFile, "main.pak"}, kInstalledDataFolder, kPlayerFolderName});
    SetCommandLine(argc, argv);
    PrepareDataFolder();
    // A fresh log holds only this run; what the readers below find goes into it.
    LogWrite("*** SESSION STARTED ***", LOG_NEW_FILE | LOG_STARS);
    InstallFrameworkLogRouting();
    if (Folders().Installed()) LogWrite("Data: '" + Folders().data + "', player's files: '" + Folders().working + "'", 0);

    // The language of the texts.
    std::string language;
    if (!ConfigGetString("LANGUAGE", "Name", language) || language.empty()) {
        language = "ENGLISH";
        ConfigSetString("LANGUAGE", "Name", language);
    }
    SetLanguageName(language);

    mTitle = LangText(kTitleKey);
    mProductVersion = kVersion;
    // The settings store's key is the title; without one the game's own name keeps the user's
    // settings apart from every other program's.
    mProductName = mTitle.empty() ? kTitleKey : mTitle;
    mRegistryKey = mProductName;
    mWidth = 800;
    mHeight = 600;
    mDebugKeysEnabled = false;
    mVSyncUpdates = true;

    // The application states start over, and their changes come back here.
    GetAppStates().Reset();
    GetAppStates().SetListener([this](int previous, int current) { OnStateChange(previous, current); });

    // The two options start on (full screen, hardware 3D) when config.ini does not say: written
    // down now, the options screen's check boxes show what the game does.
    for (const char* option : {"btnFullScreen", "btn3DHardware"}) {
        std::string value;
        if (!ConfigGetString("OPTIONS", option, value)) ConfigSetInt("OPTIONS", option, 1);
    }

    // The game controller creates the eighteen screens; they are read in their table order.
    game_ = std::make_unique<CBrindloGame>();
    game_->LoadMenus();
}

GameApp::~GameApp() {
    if (board_) {
        if (GetWidgetManager()) GetWidgetManager()->RemoveWidget(board_.get());
        board_.reset();
    }
    // The effects point into the controller; the controller's menus draw through the registry.
    game_.reset();
    SpriteManager().DeleteAllTextures();
    GetOggManager().FreeMusicManager();
    LogWrite("*** Session finished ***", LOG_STARS);
    GetAppStates().Reset();
    RemoveFrameworkLogRouting();
}

void GameApp::CheckGameFolder() {
    // Without these the game cannot show anything: say so instead of opening a black window.
    std::vector<std::string> missing;
    if (Orvane::FindAllFiles("Graphics\\*.png").empty() && Orvane::FindAllFiles("Graphics\\*.jpg").empty()) {
        missing.push_back("the pictures (Graphics\\)");
    }
    if (!game_->LoadShapeClasses(CBrindloGame::kClassesFile)) missing.push_back("the animals (classes.xml)");
    if (game_->Menu(MenuId::Main).ButtonCount() == 0) missing.push_back("the menus (Menu\\menu-main.xml)");
    if (missing.empty()) return;
    std::string list;
    for (const std::string& what : missing) list += "\n  - " + what;
    std::error_code ec;
    const std::string folder =
        Folders().Installed() ? Folders().data : std::filesystem::current_path(ec).string();
    LogWrite("Fatal error: the game folder '" + folder + "' lacks" + list, 0);
    FatalMessage(mProductName,
                 mProductName + " cannot start: its game folder '" + folder +
                     "' is missing or damaged. Not found:" + list +
                     "\nReinstall the game, or start it from its game folder.",
                 kExitDisplayFailure);
}

void GameApp::Init() {
    // The two options of config.ini win over what the settings store remembers.
    int fullScreen = 1;
    ConfigGetIntOr("OPTIONS", "btnFullScreen", &fullScreen, 1);
    WriteSettingInt("ScreenMode", fullScreen);
    int hardware = 1;
    ConfigGetIntOr("OPTIONS", "btn3DHardware", &hardware, 1);
    WriteSettingInt("Is3D", hardware);
    SetEffectDensity(hardware != 0);

    // The shape classes are read before the window opens, with the rest of what the game
    // cannot do without.
    CheckGameFolder();
    if (mShutdown) return;

    OrvaneAppBase::Init();
    if (mShutdown) return;
    LogWrite("Init()", 0);
    // A run that was killed while it saved leaves temporary files beside the player's files.
    for (const char* file : {"config.ini", CScores::kFileName, CBrindloGame::kSavedGameFile}) {
        ConfigFiles::RemoveStaleTemporaryFiles(file);
    }
    Orvane::SeedRandom(Orvane::GetPlatform().TickCount());
    // The window's icon is set here, on the thread that owns the window.
    SetWindowIconFromFile(kIconFile);

    SetAppState(APPSTATE_LOADING);

    CScores& scores = game_->Scores();
    if (!scores.Load()) scores.Save();   // a valid, empty table on disk from the start

    if (Orvane::MusicInterface* music = GetMusicInterface()) {
        if (music->LoadMusic(0, kThemeFile)) {
            music->FadeIn(0, 0, kThemeFadeSpeed, false);
        } else {
            LogWrite(std::string("WARNING: the music ") + kThemeFile + " did not load", 0);
        }
    }
}

std::string GameApp::LanguageFolder() { return LangText(kLanguageFolderKey); }

void GameApp::LoadResources() {
    // The Board first, so that the loading screen shows while the rest loads.
    board_ = std::make_unique<Board>(*this);
    board_->Resize(0, 0, mWidth, mHeight);
    GetWidgetManager()->AddWidget(board_.get());
    GetWidgetManager()->SetFocus(board_.get());

    // Sounds at the user's volumes before anything plays.
    COggManager& audio = GetOggManager();
    audio.InitSounds();
    audio.SetMusicVolume(game_->Menu(MenuId::Options).GetSliderValue("MusicVolume"));
    audio.SetSfxVolume(game_->Menu(MenuId::Options).GetSliderValue("SfxVolume"));

    // Every picture of the three image folders, counted for the loading bar.
    CSpriteManager& sprites = SpriteManager();
    const std::string folders[] = {"Graphics\\", "Graphics\\Shapes\\", LanguageFolder()};
    int total = 0;
    for (const std::string& folder : folders) total += sprites.CountImageFiles(folder);
    imagesToLoad_ = total;
    imagesLoaded_ = 0;
    for (const std::string& folder : folders) {
        if (sprites.LoadFolderStep(folder, 1)) ++imagesLoaded_;
        while (!mShutdown && sprites.LoadFolderStep(folder, 2)) {
            ++imagesLoaded_;
            board_->MarkDirty();
        }
    }
    sprites.InitSymbolFont(LanguageFolder() + "font01.png");
    audio.LoadSoundFolder("Sound\\");

    EffectList().Clear();
    for (MenuId info : {MenuId::InfoClassic, MenuId::InfoRelax, MenuId::InfoTransformer}) {
        game_->Menu(info).opacity = 0.0f;
    }
    EffectList().AddFloatAnimation(0.0f, 0.5f, 0.0f, 1.0f, game_->FadeValue());
}

void GameApp::OnLoadingFinished() {
    OrvaneAppBase::OnLoadingFinished();
    if (!mLoadingFailed) SetAppState(APPSTATE_MAIN_MENU);
    // For the checks of an installed game: a start that ends on reaching the main menu.
    const char* quit = std::getenv(kQuitAtMainMenuVariable);
    if (!mLoadingFailed && quit && std::string(quit) == "1") {
        LogWrite("Main menu reached; ending as " + std::string(kQuitAtMainMenuVariable) + " asks", 0);
        RequestShutdown();
    }
}

bool GameApp::OpenUrlFile(const std::string& path) {
    // Shortcut files lie beside the program, never in a pack.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    Orvane::GetPlatform().OpenUrlFile(path);
    return true;
}

void GameApp::SetScreenMode(bool windowed) {
    OrvaneAppBase::SetScreenMode(windowed);
    if (!mInitialized || mShutdown) return;
    const bool fullScreen = !mIsWindowed;
    ConfigSetInt("OPTIONS", "btnFullScreen", fullScreen ? 1 : 0);
    game_->Menu(MenuId::Options).SetChecked("btnFullScreen", fullScreen);
}

CMenu& GameApp::Menu(MenuId id) { return game_->Menu(id); }

int GameApp::AppState() const { return GetAppStates().Current(); }

int GameApp::PreviousAppState() const { return GetAppStates().Previous(); }
