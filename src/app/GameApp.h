// GameApp: the game's application. It makes the framework this game - title, version, the
// 800 x 600 screen, the eighteen menu screens, the options mirrored into the settings store,
// the shape classes, high scores and music at start-up, the pictures, font and sounds on the
// loading thread, the main menu when loading is over, and an orderly end - and it owns the game
// controller and the one widget, the Board.
//
//   GameApp.cpp         construction, Init, loading, destruction, opening ".url" files
//   AppStateChanges.cpp the application state's side effects (pointer nudge, the clock)
//   AppCommands.cpp     the message dispatcher and the table of menu commands
#pragma once

#include "framework/app/OrvaneAppBase.h"
#include "framework/platform/WindowMessage.h"

#include <atomic>
#include <memory>
#include <string>

class Board;
class CBrindloGame;
class CMenu;
enum class MenuId : int;

class GameApp : public Orvane::OrvaneAppBase {
public:
    static constexpr const char* kVersion = "2.1";
    static constexpr const char* kTitleKey = "Nookvale";
    static constexpr const char* kLanguageFolderKey = "English\\";
    static constexpr const char* kThemeFile = "Music\\theme1.ogg";
    // Installed: the data relative to the executable's folder, the player's folder's name.
    static constexpr const char* kInstalledDataFolder = "../share/games/nookvale";
    static constexpr const char* kPlayerFolderName = "nookvale";
    // Set to "1", the game ends as soon as the main menu is reached (start-up checks).
    static constexpr const char* kQuitAtMainMenuVariable = "NOOKVALE_QUIT_AT_MAIN_MENU";

    // argv: the process's command line (its switches are read before any file is).
    GameApp(int argc = 0, const char* const* argv = nullptr);
    ~GameApp() override;

    void Init() override;
    void LoadResources() override;
    // Any change of the screen mode (the options, Alt+Enter) is the player's choice: the
    // options screen shows it and the next start keeps it.
    void SetScreenMode(bool windowed) override;
    void OnLoadingFinished() override;

    // True when the file exists here and was handed to the desktop to open.
    static bool OpenUrlFile(const std::string& path);

    // The dispatcher of every input record of the Board (AppCommands.cpp).
    void HandleAppMessage(Orvane::WindowMessage record);
    // Sets the application state with its side effects (AppStateChanges.cpp).
    void SetAppState(int state);
    int AppState() const;
    int PreviousAppState() const;

    CBrindloGame& Game() { return *game_; }
    Board* GetBoard() { return board_.get(); }
    CMenu& Menu(MenuId id);
    int ImagesToLoad() const { return imagesToLoad_.load(); }
    int ImagesLoaded() const { return imagesLoaded_.load(); }
    bool OptionsFromPause() const { return optionsFromPause_; }
    bool FpsShown() const { return fpsShown_; }
    void ToggleFps() { fpsShown_ = !fpsShown_; }
    // The three image folders loaded behind the loading screen.
    static std::string LanguageFolder();

    // Commands (AppCommands.cpp) that the table and the tests share.
    void NewGameChoice(int mode);
    void EndOfGameScoring();

private:
    void OnStateChange(int previous, int current);
    void CheckGameFolder();
    void ApplyMusicSlider();

    std::unique_ptr<CBrindloGame> game_;
    std::unique_ptr<Board> board_;
    std::atomic<int> imagesToLoad_{0};
    std::atomic<int> imagesLoaded_{0};
    bool optionsFromPause_ = false;
    bool fpsShown_ = false;
};
