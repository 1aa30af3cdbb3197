// The round loop: every update of a level in play keeps the level clock, feeds and slides the
// shape panel, scrolls the field, lets the player take, place and transform shapes, sends the
// bug, and ends the level by completion or by time; the intro runs before play begins and the
// first level holds its clock for the tutorial.
#include "game/BrindloGame.h"

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/platform/Platform.h"
#include "game/GameRandom.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr float kPlayStartDelay = 0.9f;     // the first moments of play do not count
constexpr int kTimeOutBeeps = 10;
constexpr int kTutorialPanelFreeze = 9;     // the tutorial's panel stops after this many shapes
constexpr float kIntroTextStart = 1.0f;     // the level's name shows from then ...
constexpr float kIntroTextTime = 2.5f;      // ... for this long
constexpr double kOneUpdate = 0.02;         // an effect stays one update at its end

}  // namespace

double CBrindloGame::Now() const {
    return static_cast<double>(Orvane::GetPlatform().TimeMs()) / 1000.0;
}

void CBrindloGame::SampleCursor() {
    mouse_.SamplePlatform();
    int x = 0;
    int y = 0;
    if (Orvane::GetPlatform().GetCursorPosition(x, y)) {
        cursorX_ = static_cast<float>(x) / static_cast<float>(CSpriteManager::kLogicalWidth);
        cursorY_ = static_cast<float>(y) / static_cast<float>(CSpriteManager::kLogicalHeight);
    }
}

void CBrindloGame::UpdateRound(float dt) {
    // The clock of this tick.
    now_ = Now();
    if (lastTick_ == 0.0) lastTick_ = now_;
    lastTick_ = now_;
    dt_ = dt;
    sinceStart_ = static_cast<float>(now_ - levelStart_);
    elapsed_ = roundState_ == ROUND_PLAYING ? static_cast<float>(now_ - playStart_)
                                            : settings_.levelTime - frozenRemaining_;
    if (!tutorialOn_) timeLeft_ = settings_.levelTime - elapsed_;

    SampleCursor();

    // New shapes enter the panel during the intro and in play.
    if ((roundState_ == ROUND_INTRO || roundState_ == ROUND_PLAYING) && Panel::WantsShape(panel_)) {
        SpawnPanelShape();
    }
    if (!tutorialOn_) Field::ScrollField(field_, settings_.lineSpeed, dt);

    // The tutorial's panel holds still once its shape has come in (while that shape is on
    // screen, so that discarding never leaves it out of reach).
    const bool panelHeld = tutorialOn_ && spawnedCount_ >= kTutorialPanelFreeze &&
                           panel_.count > kTutorialIndex &&
                           panel_.slots[kTutorialIndex].x <= 1.0f - Panel::kSpacing / 2.0f;
    if (!panelHeld) Panel::Slide(panel_, dt);

    // The player's move.
    if (tutorialOn_) ForceTutorialPair();
    const bool took = TakeShape();
    if (hand_.active) {
        hand_.x = cursorX_;
        hand_.y = cursorY_;
    }
    PlaceHeldShape(took);
    TransformHeldShape();

    TriggerBug();

    // The end of a bonus level without its bonus, or of a level whose time ran out.
    if (settings_.IsBonusLevel()) {
        CheckBonusLevelEscape(dt);
    } else if (Rules().clockEndsGame && CheckTimeOut()) {
        return;
    }

    placedCount_ = Field::PlacedCount(field_);
    progress_ = field_.cellCount > 0 ? static_cast<float>(placedCount_) / static_cast<float>(field_.cellCount)
                                     : 0.0f;
    CheckLevelComplete();
    if (!settings_.IsBonusLevel() && Rules().clockEndsGame) TimeOutBeeps();

    StepBug(dt);
    effects_.Update();

    RunIntro();
    // Play begins when the intro's own effects are over: the player's effects (a shape may be
    // placed during the intro) must not hold the clock back.
    if (roundState_ == ROUND_INTRO && (effects_.IsEmpty() || now_ >= introEnds_)) {
        roundState_ = ROUND_PLAYING;
        if (!loadedFromSave_) playStart_ = now_ + kPlayStartDelay;
        if (level_ == 1) {
            tutorialOn_ = true;
            tutorialStep_ = 1;
            PauseClock(true);
        }
    }
}

void CBrindloGame::PauseClock(bool start) {
    // Stops nest (the tutorial's hold and the pause menu can overlap): the clock resumes when
    // the last one ends, and the whole stopped time is taken out once.
    const double now = Now();
    if (start) {
        if (pauseDepth_++ == 0) pauseStart_ = now;
        return;
    }
    if (pauseDepth_ == 0 || --pauseDepth_ > 0) return;
    const double stopped = now - pauseStart_;
    playStart_ += stopped;
    levelStart_ += stopped;
    lastTick_ += stopped;
}

void CBrindloGame::SpawnPanelShape() {
    if (panel_.count >= Panel::kMaxInUse) return;
    ShapeSlot shape = Panel::EnteringShape();
    shape.bonus = Panel::DrawBonusKind(settings_);
    const int c = Panel::ChooseClass(field_, levelClassCount_, lastSpawnedClass_);
    lastSpawnedClass_ = c;
    shape.shapeClass = c;
    shape.shape = RandomInt(0, std::max(1, LevelClass(c).shapeCount) - 1);
    RefreshSlotImages(shape, false);
    panel_.slots[static_cast<size_t>(panel_.count++)] = shape;
    ++spawnedCount_;
}

void CBrindloGame::TriggerBug() {
    if (bug_.active || now_ - bug_.lastEnd <= bug_.interval || field_.cellCount == 0) return;
    const int cell = RandomInt(0, field_.cellCount - 1);
    if (!Bug::IsTarget(field_, cell)) return;   // another try next tick
    PlaySound("bug_alarm");
    Bug::Launch(bug_, cell);
}

void CBrindloGame::StepBug(float dt) {
    if (Bug::Update(bug_, field_, now_, dt) != Bug::Step::TookShape) return;
    PlaySound("shape_clear");
    QueueRotatingStar(0.0f, 0.5f, bug_.x, bug_.y);
}

bool CBrindloGame::CheckBonusLevelEscape(float dt) {
    if (settings_.levelTime != 0.0f) {
        for (int i = 0; i < field_.cellCount; ++i) field_.cells[static_cast<size_t>(i)].y -= dt * settings_.lineSpeed;
    }
    if (field_.cellCount == 0 || AppState() != APPSTATE_PLAYING) return false;
    for (int i = 0; i < field_.cellCount; ++i) {
        const ShapeSlot& cell = field_.cells[static_cast<size_t>(i)];
        if (cell.y + cell.h >= 0.0f) return false;
    }
    PlaySound("no_bonus");
    effects_.AddFadingText(kTopLayer, 0.0f, 2.5f, 0.59f, 0.45f, "No Bonus", false);
    SetAppState(APPSTATE_LEVEL_COMPLETE);
    return true;
}

bool CBrindloGame::CheckTimeOut() {
    if (timeLeft_ > 0.0f) return false;
    setMusicVolume_(0.0f);
    PlaySound("game_over");
    SetAppState(APPSTATE_GAME_OVER);
    SetGameSaved(0);
    return true;
}

void CBrindloGame::CheckLevelComplete() {
    // An empty field is never a finished level.
    if (field_.cellCount == 0 || placedCount_ != field_.cellCount) return;
    if (AppState() != APPSTATE_PLAYING) return;
    if (settings_.IsBonusLevel()) {
        QueueBonusLevelRewards();
    } else {
        QueueLevelCompleteRewards();
    }
    constexpr float kPanelOut = 3.4f;
    constexpr float kShrink = 0.5f;
    effects_.AddTimedSound(kPanelOut, "shape_panel_out");
    for (int i = 0; i < panel_.count; ++i) {
        ShapeSlot& s = panel_.slots[static_cast<size_t>(i)];
        effects_.AddFloatAnimation(kPanelOut, kShrink, s.w, 0.0f, &s.w);
        effects_.AddFloatAnimation(kPanelOut, kShrink, s.h, 0.0f, &s.h);
    }
    effects_.AddFloatAnimation(kPanelOut, kShrink, progress_, 0.0f, &progress_);
    SetAppState(APPSTATE_LEVEL_COMPLETE);
}

void CBrindloGame::TimeOutBeeps() {
    // One beep as the time left passes each of 10, 9, ... 1 seconds.
    if (beepCount_ < kTimeOutBeeps && timeLeft_ < static_cast<float>(kTimeOutBeeps - beepCount_)) {
        PlaySound("timeout");
        ++beepCount_;
    }
}

void CBrindloGame::RunIntro() {
    if ((roundState_ != ROUND_FADE_FROM_MENU && roundState_ != ROUND_FADE_IN) || !effects_.IsEmpty()) return;
    roundState_ = ROUND_INTRO;
    introEnds_ = now_ + kIntroTextStart + kIntroTextTime + kOneUpdate;
    effects_.AddFloatAnimation(0.0f, 0.5f, fade_, 1.0f, &fade_);
    if (settings_.IsBonusLevel()) {
        effects_.AddFadingText(kTopLayer, kIntroTextStart, kIntroTextTime, 0.59f, 0.45f, "Bonus Level", false);
    } else {
        PlaySound("shape_panel_in");
        char number[16];
        std::snprintf(number, sizeof number, "%d", level_);
        effects_.AddFadingText(kTopLayer, kIntroTextStart, kIntroTextTime, 0.59f, 0.39f, "Level N", false);
        effects_.AddFadingText(kTopLayer, kIntroTextStart, kIntroTextTime, 0.59f, 0.51f, number, true);
        effects_.AddTimedSound(kIntroTextStart, "level_start");
    }
    currentBackground_ = nextBackground_;
}

void CBrindloGame::ForceTutorialPair() {
    // The tutorial asks for its own pair: cell 4 wants the first animal (in its second pose in
    // "Transformer"), and panel shape 4 is that animal, plain, in its first pose.
    if (field_.cellCount > kTutorialIndex) {
        ShapeSlot& cell = field_.cells[kTutorialIndex];
        cell.shapeClass = 0;
        cell.shape = Rules().tutorialTransformStep ? std::min(1, std::max(1, LevelClass(0).shapeCount) - 1) : 0;
        RefreshSlotImages(cell, true);
    }
    ShapeSlot& shape = panel_.slots[kTutorialIndex];
    shape.shapeClass = 0;
    shape.shape = 0;
    shape.bonus = BONUS_NONE;
    RefreshSlotImages(shape, false);
}
