// The screens around play that the controller draws: the level map with its marker, locked
// stages and circling stars, and the main menu's background with the mode panels that fade in
// over it and the butterflies that wander across every menu screen.
#include "game/BrindloGame.h"

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/platform/Platform.h"
#include "game/GameRandom.h"
#include "menu/CMenu.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831855f;
constexpr const char* kStageButtonPrefix = "btnStage";
constexpr int kMarkerStars = 10;
constexpr float kInfoFadeRate = 4.0f;       // opacity per second
constexpr double kButterflyTurn = 3.0;      // seconds between new headings
constexpr int kButterflyPictures = 4;

// The stage number a map button carries after its prefix, or 0.
int StageOfButton(const std::string& name) {
    const size_t n = std::strlen(kStageButtonPrefix);
    if (name.compare(0, n, kStageButtonPrefix) != 0) return 0;
    int stage = 0;
    for (size_t i = n; i < name.size() && name[i] >= '0' && name[i] <= '9' && stage < 100000; ++i) {
        stage = stage * 10 + (name[i] - '0');
    }
    return stage;
}

}  // namespace

void CBrindloGame::DrawLevelMap() {
    effects_.Update();
    CMenu& map = Menu(MenuId::Map);
    const int stage = Stage();

    if (roundState_ == ROUND_MAP_FADING && effects_.IsEmpty()) {
        roundState_ = ROUND_MAP_LIVE;
        effects_.AddFloatAnimation(0.0f, 0.5f, fade_, 1.0f, &fade_);
        if (stage == 1) {
            PlaceMarkerOnStage(1);
        } else if (stage - 1 >= 0 && stage < map.ButtonCount()) {
            // The marker travels from the stage before and the new stage's animal calls.
            const MenuButton& from = map.Button(stage - 1);
            const MenuButton& to = map.Button(stage);
            markerX_ = from.xc;
            markerY_ = from.yc;
            effects_.AddFloatAnimation(0.5f, 2.5f, from.xc, to.xc, &markerX_);
            effects_.AddFloatAnimation(0.5f, 2.5f, from.yc, to.yc, &markerY_);
            effects_.AddTimedSound(2.5f, master_.Class(stage + 3).soundEvent);
        } else {
            PlaceMarkerOnStage(stage);
        }
    }

    // Stages up to the highest reached are open.
    const int unlocked = UnlockedStages();
    for (int i = 0; i < map.ButtonCount(); ++i) {
        const int number = StageOfButton(map.Button(i).name);
        if (number > 0) map.SetButtonEnabled(i, number <= unlocked);
    }

    if (roundState_ != ROUND_MAP_FADING) {
        map.DrawMenu();
        for (int i = 0; i < map.ButtonCount(); ++i) {
            const MenuButton& b = map.Button(i);
            if (!b.enabled) DrawPicture("Graphics\\grey.png", b.xc, b.yc, b.width, b.height, kNoTint, 0);
        }
        const float now = static_cast<float>(Now());
        Orvane::Image* star = sprites_.GetTexture("Graphics\\am_effect_star.png");
        for (int i = 0; i < kMarkerStars && star; ++i) {
            const float angle = now + kTwoPi * static_cast<float>(i) / kMarkerStars;
            sprites_.DrawSprite(star, markerX_ + 0.06f * std::cos(angle), markerY_ + 0.08f * std::sin(angle),
                                0.036f, 0.048f, 0.0f, 0.0f, 1.0f, 1.0f, kNoTint, 0, 0.0f);
        }
    } else {
        // While the map fades in, the screen it comes from stays underneath.
        const int previous = PreviousAppState();
        if (previous == APPSTATE_MAIN_MENU) {
            DrawMainMenuBackground();
        } else if (previous == APPSTATE_CONTINUE_CONFIRMATION) {
            DrawPicture("Graphics\\back_menu.jpg", 0.5f, 0.5f, 1.0f, 1.0f, kNoTint, SPRITE_NATURAL_SIZE);
            DrawButterflies();
            Menu(MenuId::ContinueConfirmation).DrawMenu();
        } else {
            DrawGameScreen();
        }
    }
    effects_.Draw(kTopLayer);
}

void CBrindloGame::UpdateInfoPanels() {
    for (const ModeRules& rules : kModeRules) {
        if (!rules.hasInfoPanel) continue;
        float& alpha = infoAlpha_[static_cast<size_t>(rules.infoPanel)];
        const bool over = Menu(MenuId::Main).IsHovered(rules.infoButton);
        CSpriteManager::AdvanceClamped(&alpha, over ? kInfoFadeRate : -kInfoFadeRate, frameDelta_);
        CMenu& panel = Menu(rules.infoPanel);
        panel.opacity = alpha;
        if (alpha > 0.0f) panel.DrawMenu();
    }
}

void CBrindloGame::DrawMainMenuBackground() {
    DrawPicture("Graphics\\back_menu.jpg", 0.5f, 0.5f, 1.0f, 1.0f, kNoTint, SPRITE_NATURAL_SIZE);
    DrawButterflies();
    Menu(MenuId::Main).DrawMenu();
    UpdateInfoPanels();
    if (AppState() == APPSTATE_MAIN_MENU) {
        effects_.Update();
        effects_.Draw(kTopLayer);
    }
}

void CBrindloGame::PlaceButterflies() {
    char name[64];
    for (int i = 0; i < kButterflies; ++i) {
        Butterfly& b = butterflies_[static_cast<size_t>(i)];
        b.x = static_cast<float>(RandomInt(1, 9)) / 10.0f;
        b.y = static_cast<float>(RandomInt(1, 9)) / 10.0f;
        const int picture = i % kButterflyPictures + 1;
        std::snprintf(name, sizeof name, "Graphics\\butterfly_anim%d_left.png", picture);
        b.leftImage = sprites_.GetTextureHandle(name);
        std::snprintf(name, sizeof name, "Graphics\\butterfly_anim%d_right.png", picture);
        b.rightImage = sprites_.GetTextureHandle(name);
        b.wander = true;
        b.circle = false;
    }
    butterfliesPlaced_ = true;
}

void CBrindloGame::MoveButterflies(float dt) {
    const double now = Now();
    for (Butterfly& b : butterflies_) {
        if (now - b.lastTurn > kButterflyTurn) {
            b.heading = kTwoPi * static_cast<float>(RandomInt(0, 15)) / 16.0f;
            b.speed = 0.02f + 0.003f * static_cast<float>(RandomInt(0, 10));
            b.lastTurn = now;
        }
        b.x += std::cos(b.heading) * b.speed * dt;
        b.y += std::sin(b.heading) * b.speed * dt;
        for (float* v : {&b.x, &b.y}) {
            if (*v < -0.3f) *v = -0.05f;
            else if (*v > 1.3f) *v = 1.05f;
        }
    }
}

void CBrindloGame::DrawButterflies() {
    if (!butterfliesPlaced_) PlaceButterflies();
    for (const Butterfly& b : butterflies_) {
        const bool leftward = b.heading >= kPi / 2.0f && b.heading < 3.0f * kPi / 2.0f;
        Orvane::Image* sheet = sprites_.TextureByHandle(leftward ? b.leftImage : b.rightImage);
        if (!sheet) continue;
        sprites_.DrawAnimatedSprite(sheet, b.x, b.y, 0.048f, 0.064f, 0, 9, 6, b.speed * 50.0f, kNoTint);
    }
}
