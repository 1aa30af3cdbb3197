// The playing screen, back to front: background, lines, cells, bug, field effects, bottom bar
// with the panel, the frame, the in-game menu with its displays, the held shape, top effects
// and the first level's hints. Every picture goes through the sprite registry.
#include "game/BrindloGame.h"

#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "menu/CMenu.h"

#include <cmath>
#include <cstdio>

namespace {

// Sprite draw modes as the screen passes them: stretched in the current mode, natural size,
// natural size in normal mode, natural size additive.
constexpr int kStretched = 0;
constexpr int kNatural = SPRITE_NATURAL_SIZE;
constexpr int kNaturalNormal = SPRITE_NORMAL | SPRITE_NATURAL_SIZE;
constexpr int kNaturalAdditive = SPRITE_ADDITIVE | SPRITE_NATURAL_SIZE;

constexpr float kPi = 3.14159265f;
constexpr float kOnePixel = 0.0016666667f;
constexpr int kLineTiles = 6;               // whole line pitches in a screen height
constexpr float kLowCellY = 0.3f;           // above this the tutorial's hint goes below the cell

std::string LanguageFolder() { return LangText("English\\"); }

}  // namespace

void CBrindloGame::DrawPicture(int handle, float x, float y, float w, float h, uint32_t colour,
                               int flags, float angle) {
    Orvane::Image* image = sprites_.TextureByHandle(handle);
    if (!image) return;
    sprites_.DrawSprite(image, x, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, colour, flags, angle);
}

void CBrindloGame::DrawPicture(const std::string& name, float x, float y, float w, float h,
                               uint32_t colour, int flags, float angle) {
    Orvane::Image* image = sprites_.GetTexture(name);
    if (!image) return;
    sprites_.DrawSprite(image, x, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, colour, flags, angle);
}

void CBrindloGame::DrawGameScreen() {
    if (roundState_ == ROUND_FADE_FROM_MENU) {
        // Still fading from the screen the level was started on.
        if (PreviousAppState() == APPSTATE_MAIN_MENU) {
            DrawMainMenuBackground();
        } else {
            DrawLevelMap();
        }
        effects_.Draw(kTopLayer);
        return;
    }
    DrawPicture(currentBackground_, 0.59f, 0.44f, 0.86f, 0.86f, kNoTint, kStretched);
    DrawLines();
    DrawCells();
    if (bug_.active) {
        sprites_.DrawAnimatedSprite(sprites_.GetTexture("Graphics\\bug_right.png"), bug_.x, bug_.y,
                                    0.072f, 0.096f, 0, 9, 6, 8.0f * bug_.speed, kNoTint);
    }
    effects_.Draw(kFieldLayer);
    DrawPicture("Graphics\\am_bottom_bar.jpg", 0.59f, 0.915f, 1.0f, 0.13f, kNoTint, kNatural);
    for (int i = 0; i < panel_.count; ++i) {
        const ShapeSlot& s = panel_.slots[static_cast<size_t>(i)];
        DrawPicture(s.mainImage, s.x, s.y, s.w, s.h, kNoTint, kNaturalNormal);
    }
    DrawPicture(LanguageFolder() + "status-border.png", 0.5f, 0.5f, 1.0f, 1.0f, kNoTint, kNaturalNormal);
    Menu(MenuId::InGame).DrawMenu();
    DrawHud();
    if (hand_.active) {
        DrawPicture(ShapeImageName(hand_), hand_.x, hand_.y, hand_.w, hand_.h, kNoTint, kNaturalNormal);
    }
    effects_.Draw(kTopLayer);
    DrawHints();
}

void CBrindloGame::DrawLines() {
    char name[40];
    for (int c = 0; c < Field::kLineCount; ++c) {
        LineRecord& line = field_.lines[static_cast<size_t>(c)];
        if (!(line.alpha >= 0.01f)) continue;
        line.colour = WhiteAtOpacity(line.alpha);
        std::snprintf(name, sizeof name, "Graphics\\line%d.png", c + 1);
        Orvane::Image* tile = sprites_.GetTexture(name);
        Orvane::Image* glow = line.removed ? sprites_.GetTexture("Graphics\\line_a.png") : nullptr;
        for (int j = 0; j < kLineTiles; ++j) {
            const float y = (static_cast<float>(j) + 0.65f) * Field::kCellPitch;
            if (tile) {
                sprites_.DrawSprite(tile, line.x, y, Field::kLineWidth, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                    line.colour, kNaturalNormal, 0.0f);
            }
            if (glow) {
                sprites_.DrawSprite(glow, line.x, y, Field::kLineWidth, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                    line.colour, kNaturalAdditive, 0.0f);
            }
        }
    }
}

void CBrindloGame::DrawCells() {
    const uint32_t tint = WhiteAtOpacity(fieldAlpha_);
    const float screenHeight = static_cast<float>(CSpriteManager::kLogicalHeight);
    for (int i = 0; i < field_.cellCount; ++i) {
        const ShapeSlot& cell = field_.cells[static_cast<size_t>(i)];
        if (!cell.active || cell.y < Field::kWrapTop || cell.y > 1.0f - Field::kWrapTop) continue;
        Orvane::Image* image = sprites_.TextureByHandle(cell.placed ? cell.mainImage : cell.maskImage);
        if (!image) continue;
        float y = cell.y;
        // A picture reaching above the screen is drawn one pixel higher.
        if (y * screenHeight - static_cast<float>(image->GetHeight()) / 2.0f < 0.0f) y -= kOnePixel;
        sprites_.DrawSprite(image, cell.x, y, cell.w, cell.h, 0.0f, 0.0f, 1.0f, 1.0f, tint,
                            kNaturalNormal, 0.0f);
    }
}

void CBrindloGame::DrawHud() {
    CMenu& hud = Menu(MenuId::InGame);
    char text[32];
    std::snprintf(text, sizeof text, "%d", score_);
    hud.SetText("txtScoreNum", text);

    const float progress = progress_ > 0.0f ? (progress_ < 1.5f ? progress_ : 1.5f) : 0.0f;
    sprites_.DrawProgressBar(sprites_.GetTexture("Graphics\\progress-empty.png"),
                             sprites_.GetTexture("Graphics\\progress-full.png"),
                             hud.GetTextX("txtMeterBar"), hud.GetTextY("txtMeterBar"), 0.0f, 0.0f,
                             static_cast<int>(progress * 100.0f), BAR_FILL_RIGHT | BAR_NATURAL_SIZE);

    // Levels without a clock ("Relax", bonus levels) show no time.
    const bool clock = ClockRuns();
    if (clock && timeLeft_ < 10.0f) {
        const float t = static_cast<float>(std::fmod(Now(), 2.0));
        const float alpha = t < 1.0f ? t : 1.0f - (t - 1.0f);
        DrawPicture("Graphics\\round_time.png", hud.GetTextX("txtTimeNum"), hud.GetTextY("txtTimeNum"),
                    0.0f, 0.0f, WhiteAtOpacity(alpha), kNaturalNormal);
    }
    if (clock) {
        const float shown = std::isfinite(timeLeft_) ? std::fmax(-1e9f, std::fmin(timeLeft_, 1e9f)) : 0.0f;
        std::snprintf(text, sizeof text, "%d", static_cast<int>(shown));
    } else {
        text[0] = '\0';
    }
    hud.SetText("txtTimeNum", text);
    std::snprintf(text, sizeof text, "%d", level_);
    hud.SetText("txtLevelNum", text);
}

void CBrindloGame::DrawHints() {
    if (!tutorialOn_) return;
    ForceTutorialPair();
    const std::string folder = LanguageFolder();
    const float bob = 0.01f * std::sin(3.0f * static_cast<float>(Now()));
    if (tutorialStep_ == 1 && panel_.count > kTutorialIndex) {
        const ShapeSlot& shape = panel_.slots[kTutorialIndex];
        DrawPicture(folder + "hint1.png", shape.x, shape.y - 0.25f, 0.2f, 0.2f, kNoTint, kStretched);
        DrawPicture("Graphics\\arrow.png", shape.x, shape.y - 0.13f + bob, 0.0f, 0.0f, kNoTint, kNatural);
    } else if (tutorialStep_ == 2 && hand_.active) {
        DrawPicture(folder + "hint3.png", hand_.x, hand_.y - 0.15f, 0.2f, 0.2f, kNoTint, kStretched);
    } else if (tutorialStep_ == 3 && field_.cellCount > kTutorialIndex) {
        const ShapeSlot& cell = field_.cells[kTutorialIndex];
        // The arrow is drawn at its own size (0.08 x 0.107 of the screen), so that it can turn
        // without acceleration.
        if (cell.y < kLowCellY) {
            DrawPicture(folder + "hint2.png", cell.x, cell.y + 0.25f, 0.1f, 0.1f, kNoTint, kStretched);
            DrawPicture("Graphics\\arrow.png", cell.x, cell.y + 0.13f - bob, 0.08f, 0.10666667f, kNoTint,
                        kNatural, kPi);
        } else {
            DrawPicture(folder + "hint2.png", cell.x, cell.y - 0.25f, 0.1f, 0.1f, kNoTint, kStretched);
            DrawPicture("Graphics\\arrow.png", cell.x, cell.y - 0.13f + bob, 0.08f, 0.10666667f, kNoTint,
                        kNatural, 0.0f);
        }
    }
}
