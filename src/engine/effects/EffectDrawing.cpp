// Drawing the started effects: texts through the symbol font or the digit strip, pictures
// and bursts through the sprite registry.
#include "engine/effects/Effect2d.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

float Pow5(float v) { return v * v * v * v * v; }

}  // namespace

void CEffect2d::Draw(int layer) {
    for (int i = 0; i < count_; ++i) {
        const EffectRecord& e = effects_[static_cast<size_t>(i)];
        if (e.pending) continue;
        if (e.layer != layer && e.layer != -1) continue;
        DrawOne(e);
    }
}

// A text or, with the digits flag, a figure of the digit strip.
void CEffect2d::DrawFigure(const EffectRecord& e, float x, float y, float textHeight,
                           int textFlags, uint32_t colour, float scale) {
    if (e.digits) {
        sprites_.DrawDigits(sprites_.GetTexture(kDigitStrip), x, y, 0.75f, colour, e.text, scale);
    } else {
        sprites_.DrawText(x, y, textHeight, colour, textFlags, e.text);
    }
}

void CEffect2d::DrawOne(const EffectRecord& e) {
    const float t = e.t;
    switch (e.kind) {
    case EFFECT_RISING_TEXT:
        DrawFigure(e, e.x, e.y - 0.15f * t, 0.05f, TEXT_CENTRE, WhiteAtOpacity(1.0f - t), 1.0f);
        break;

    case EFFECT_FLYING_TEXT: {
        // The horizontal move eases in, the vertical one is linear.
        const float t3 = t * t * t;
        const float x = (1.0f - t3) * e.x + t3 * e.x2;
        const float y = (1.0f - t) * e.y + t * e.y2;
        uint32_t colour = kNoTint;
        if (t < 0.1f) {
            colour = WhiteAtOpacity(10.0f * t);
        } else if (t > 0.9f) {
            colour = WhiteAtOpacity(10.0f * (1.0f - t));
        }
        DrawFigure(e, x, y, 0.05f, TEXT_CENTRE, colour, 1.0f - 0.5f * t);
        break;
    }

    case EFFECT_SLIDING_TEXT:
        // In from a screen height above, resting near its place around the middle, out below.
        sprites_.DrawText(e.x, e.y + Pow5(2.0f * t - 1.0f) + e.yOffset, 0.1f, kNoTint,
                          TEXT_CENTRE | TEXT_NATURAL_SIZE, e.text);
        break;

    case EFFECT_TITLE_TEXT: {
        // Drops in over the first 60 %, stands, then grows to three times its height while it
        // fades out over the last 10 %.
        float u = 0.0f;
        float height = 0.2f;
        float fade = 0.0f;
        if (t < 0.6f) {
            u = t / 0.6f - 1.0f;
        } else if (t >= 0.9f) {
            fade = (t - 0.9f) / 0.1f;
            height = 0.2f + 0.4f * fade;
        }
        sprites_.DrawText(e.x, e.y + Pow5(u), height, WhiteAtOpacity(1.0f - fade), TEXT_CENTRE,
                          e.text);
        break;
    }

    case EFFECT_FADING_TEXT: {
        float a = 1.0f;
        if (t < 0.25f) {
            a = t / 0.25f;
        } else if (t >= 0.85f) {
            a = 1.0f - (t - 0.85f) / 0.15f;
        }
        a = std::clamp(a, 0.0f, 1.0f);
        DrawFigure(e, e.x, e.y, 0.1f, TEXT_CENTRE | TEXT_NATURAL_SIZE, WhiteAtOpacity(a), 1.0f);
        break;
    }

    case EFFECT_ANIMATED_SPRITE: {
        // The sheet plays once over the duration while the sprite drifts vertically.
        const float y = e.y + e.speed * (Now() - e.startTime);
        sprites_.DrawAnimatedSprite(e.image, e.x, y, 0.05f, 0.07f,
                                    SPRITE_FIXED_PHASE | SPRITE_NATURAL_SIZE | SPRITE_NORMAL,
                                    e.columns, e.rows, t, WhiteAtOpacity(1.0f - t));
        break;
    }

    case EFFECT_FOLLOWING_IMAGE:
        if (e.px == nullptr || e.py == nullptr) break;
        sprites_.DrawSprite(e.image, *e.px, *e.py, 0.125f, 0.166f, 0.0f, 0.0f, 1.0f, 1.0f,
                            WhiteAtOpacity(0.5f - t / 2.0f), SPRITE_NATURAL_SIZE | SPRITE_ADDITIVE,
                            0.0f);
        break;

    case EFFECT_GROWING_IMAGE:
        sprites_.DrawSprite(e.image, e.x, e.y, t * e.x2, t * e.y2, 0.0f, 0.0f, 1.0f, 1.0f, kNoTint,
                            SPRITE_NORMAL, 0.0f);
        break;

    case EFFECT_SHRINKING_IMAGE:
        sprites_.DrawSprite(e.image, e.x, e.y, (1.0f - t) * e.x2, (1.0f - t) * e.y2, 0.0f, 0.0f,
                            1.0f, 1.0f, kNoTint, SPRITE_NORMAL, 0.0f);
        break;

    case EFFECT_PARTICLE_BURST: {
        // The density in force now, but never more particles than the burst was given.
        const int n = std::min(std::clamp(density_, 0, EffectRecord::kMaxParticles),
                               e.particleCount);
        const float k = 0.5f * t + 0.5f;
        const float opacity = t > 0.75f ? (1.0f - t) * 4.0f : 1.0f;
        for (int p = 0; p < n; ++p) {
            const EffectParticle& particle = e.particles[static_cast<size_t>(p)];
            const float spinAngle = particle.spin * 4.0f * kPi;
            const float d = t * e.radius * particle.speed;
            // 4/3 keeps the burst round on the 4:3 screen.
            sprites_.DrawSprite(e.image, e.x + std::cos(particle.angle) * d,
                                e.y + std::sin(particle.angle) * d * 4.0f / 3.0f,
                                k * particle.size, k * particle.size * 4.0f / 3.0f, 0.0f, 0.0f,
                                1.0f, 1.0f, WhiteAtOpacity(opacity), SPRITE_NORMAL,
                                t * spinAngle);
        }
        break;
    }

    default:   // the invisible kinds draw nothing
        break;
    }
}
