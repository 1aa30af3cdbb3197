// Construction of the controller with its collaborators and menus, and its small accessors.
#include "game/BrindloGame.h"

#include "engine/audio/OggManager.h"
#include "engine/audio/SoundEvents.h"
#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "menu/CMenu.h"

CBrindloGame::CBrindloGame(GameContext context)
    : effects_(context.effects ? *context.effects : EffectList()),
      sprites_(context.sprites ? *context.sprites : SpriteManager()),
      states_(context.states ? context.states : &GetAppStates()),
      playSound_(context.playSound ? std::move(context.playSound)
                                   : std::function<bool(const std::string&)>(PlaySoundEventOnce)),
      setMusicVolume_(context.setMusicVolume
                          ? std::move(context.setMusicVolume)
                          : std::function<void(float)>([](float v) { GetOggManager().SetMusicVolume(v); })) {
    // The screens first, in their table order; the application loads them afterwards.
    for (auto& menu : menus_) menu = std::make_unique<CMenu>(context.menuEnvironment);
    roundState_ = ROUND_FADE_FROM_MENU;
    simpleStartLevel_ = 1;
    advancedStartLevel_ = 1;
    fade_ = 1.0f;
    settings_.lineSpeed = 0.03f;
    settings_.cellsPerLine = 11;
    field_.linesOnField = Field::kLineCount;
    tutorialStep_ = 1;
    lastPlaced_.shapeClass = -1;
    hand_.active = 0;
    lastOpenedLevel_ = 1;
    int opened = 1;
    ConfigGetIntOr("GAMEPLAY", "LastOpenedLevel", &opened, 1);
    lastOpenedLevel_ = opened < 1 ? 1 : opened;
    Field::ResetLines(field_);
    for (int c = 0; c < Field::kLineCount; ++c) lineTargetX_[static_cast<size_t>(c)] = field_.lines[static_cast<size_t>(c)].x;
}

CBrindloGame::~CBrindloGame() {
    // Running effects point into the controller (the score, the fade, the field).
    effects_.Clear();
}

void CBrindloGame::LoadMenus() {
    for (int i = 0; i < kMenuCount; ++i) {
        menus_[static_cast<size_t>(i)]->LoadMenu(std::string(kMenuFolder) + kMenuFiles[static_cast<size_t>(i)]);
    }
}

CMenu& CBrindloGame::Menu(MenuId id) { return *menus_[static_cast<size_t>(id)]; }

const CMenu& CBrindloGame::Menu(MenuId id) const { return *menus_[static_cast<size_t>(id)]; }

const ShapeClassDef& CBrindloGame::LevelClass(int index) const {
    static const ShapeClassDef kEmpty;
    return index >= 0 && index < levelClassCount_ ? levelClasses_[static_cast<size_t>(index)] : kEmpty;
}

bool CBrindloGame::ClockRuns() const { return Rules().clockEndsGame && !settings_.IsBonusLevel(); }

float CBrindloGame::InfoAlpha(MenuId panel) const { return infoAlpha_[static_cast<size_t>(panel)]; }

void CBrindloGame::PlaySound(const std::string& eventName) const {
    if (playSound_ && !eventName.empty()) playSound_(eventName);
}
