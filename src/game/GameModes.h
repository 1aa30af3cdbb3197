// The three game modes and how they differ, as one table that the controller (and tests) read.
#pragma once

#include "game/GameMenus.h"

#include <array>

enum GameMode : int { MODE_CLASSIC = 0, MODE_TRANSFORMER = 1, MODE_RELAX = 2 };

struct ModeRules {
    GameMode mode;
    const char* name;
    bool allVariants;            // every variant of a class is in play (else only the first)
    bool rightButtonTransforms;  // the right button cycles the held shape's variant
    bool clockEndsGame;          // the level clock runs out into game over, with beeps
    bool advancedStartLevel;     // starts at the advanced start level (else the simple one)
    bool tutorialTransformStep;  // the tutorial asks for one transform before placing
    bool hasInfoPanel;
    MenuId infoPanel;            // shown over the main menu while its button is hovered
    const char* infoButton;      // that button
    // Section of "saved.ini" holding the mode's saved game. The names stand in the order
    // "Classic", "Relax", "Transformer" and are picked by the mode value, so the sections of
    // "Transformer" and "Relax" are crossed; files already written rely on it.
    const char* savedSection;
    const char* scoreTableName;  // the game type shown on the high-score screen
};

inline constexpr std::array<ModeRules, 3> kModeRules = {{
    {MODE_CLASSIC, "Classic", false, false, true, false, false, true, MenuId::InfoClassic,
     "btnClassicGame", "Classic", "Classic"},
    {MODE_TRANSFORMER, "Transformer", true, true, true, true, true, true,
     MenuId::InfoTransformer, "btnTransformerGame", "Relax", "Transformer"},
    {MODE_RELAX, "Relax", false, false, false, false, false, false, MenuId::InfoRelax, "",
     "Transformer", ""},
}};

// The rules of a mode value; an unknown value reads as "Classic".
inline const ModeRules& RulesOf(int mode) {
    return mode >= 0 && mode < static_cast<int>(kModeRules.size())
               ? kModeRules[static_cast<size_t>(mode)]
               : kModeRules[0];
}
