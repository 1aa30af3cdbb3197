// The eighteen menu screens the game controller owns, in the order they are created and loaded
// (their files under "Menu\").
#pragma once

#include <array>

enum class MenuId : int {
    Main,
    GameOver,
    HighScores,
    InGame,
    Pause,
    Options,
    Map,
    InfoClassic,
    InfoRelax,
    InfoTransformer,
    ClearConfirmation,
    ContinueConfirmation,
    GameComplete,
    Instructions1,
    Instructions2,
    Instructions3,
    Intro,
    Credits,
    Count,
};

inline constexpr int kMenuCount = static_cast<int>(MenuId::Count);

inline constexpr std::array<const char*, kMenuCount> kMenuFiles = {
    "menu-main.xml",
    "menu-game-over.xml",
    "menu-highscores.xml",
    "menu-ingame.xml",
    "menu-pause.xml",
    "menu-options.xml",
    "menu-map.xml",
    "menu-info-classic.xml",
    "menu-info-relax.xml",
    "menu-info-transformer.xml",
    "menu-clear-confirmation.xml",
    "menu-continue-confirmation.xml",
    "menu-game-complete.xml",
    "menu-instructions.xml",
    "menu-instructions2.xml",
    "menu-instructions3.xml",
    "menu-intro.xml",
    "menu-credits.xml",
};

inline constexpr const char* kMenuFolder = "Menu\\";
