// Drawing in screen fractions: sprites (tinted, dimmed, additive, rotated, at natural size),
// frames of animated sheets, progress bars and rows of digits.
#include "engine/sprites/SpriteManager.h"

#include "framework/platform/Platform.h"

#include <cmath>
#include <cstring>

namespace {

// Float to int by truncation, safe for values no picture could reach (and for NaN).
int TruncToInt(float v) {
    if (!(v > -1.0e9f && v < 1.0e9f)) return v > 0.0f ? 1000000000 : (v < 0.0f ? -1000000000 : 0);
    return static_cast<int>(v);
}

long long TruncToInt64(float v) {
    if (!(v > -9.0e18f && v < 9.0e18f)) return 0;
    return static_cast<long long>(v);
}

bool IsWholeWindow(float uLeft, float vTop, float uRight, float vBottom) {
    return uLeft == 0.0f && vTop == 0.0f && uRight == 1.0f && vBottom == 1.0f;
}

}  // namespace

uint32_t DimColour(uint32_t colour, float factor) {
    if (!(factor > 0.0f)) factor = 0.0f;
    if (factor > 1.0f) factor = 1.0f;
    auto scale = [factor](uint32_t byte) {
        return static_cast<uint32_t>(static_cast<float>(byte) * factor);
    };
    const uint32_t a = scale((colour >> 24) & 0xFF);
    const uint32_t r = scale((colour >> 16) & 0xFF);
    const uint32_t g = scale((colour >> 8) & 0xFF);
    const uint32_t b = scale(colour & 0xFF);
    // In 32 bits: with a factor of 1 an alpha of 255 wraps to the byte 0, read as opaque.
    return ((a + 1u) << 24) | (r << 16) | (g << 8) | b;
}

UvWindow AnimationCell(long long frame, int columns, int rows) {
    if (columns <= 0 || rows <= 0 || frame < 0 ||
        frame >= static_cast<long long>(columns) * rows) {
        return UvWindow{};
    }
    const long long column = frame % columns;
    const long long row = frame / columns;
    const float cols = static_cast<float>(columns);
    const float rws = static_cast<float>(rows);
    return UvWindow{static_cast<float>(column) / cols, static_cast<float>(row) / rws,
                    static_cast<float>(column + 1) / cols, static_cast<float>(row + 1) / rws};
}

long long AnimationFrame(int frames, float rate, bool fixedPhase, uint32_t tickMs) {
    if (frames <= 0) return -1;
    const float f = static_cast<float>(frames);
    const float v = fixedPhase ? f * rate
                               : static_cast<float>(static_cast<double>(tickMs) * 0.001) * rate * f;
    // The remainder keeps the sign of v: a negative phase shows no cell.
    return TruncToInt64(v) % frames;
}

int CSpriteManager::DrawSprite(Orvane::Image* image, float x, float y, float w, float h,
                               float uLeft, float vTop, float uRight, float vBottom,
                               uint32_t colour, int flags, float angle) {
    if (flags & SPRITE_DIM) colour = DimColour(colour, dimFactor_);

    const ScreenRect screen = GetScreenRect();
    const float W = static_cast<float>(screen.width);
    const float H = static_cast<float>(screen.height);
    const float cx = x * W;
    const float cy = y * H;
    float dw = w * W;
    float dh = h * H;
    const bool natural = (flags & SPRITE_NATURAL_SIZE) != 0;
    if (natural && image != nullptr) {
        dw = (uRight - uLeft) * static_cast<float>(image->GetWidth());
        dh = (vBottom - vTop) * static_cast<float>(image->GetHeight());
    }
    const float left = cx - dw * 0.5f;
    const float top = cy - dh * 0.5f;

    Orvane::Graphics* g = graphics_;
    if (g == nullptr || image == nullptr) return kSpriteDrawFailed;

    if (flags & SPRITE_NORMAL) g->SetDrawMode(Orvane::kDrawModeNormal);
    if (flags & SPRITE_ADDITIVE) g->SetDrawMode(Orvane::kDrawModeAdditive);
    if (colour != kNoTint) {
        g->SetColor(Orvane::Color(colour));
        g->SetTintImages(true);
    } else {
        g->SetTintImages(false);
    }

    const int iw = image->GetWidth();
    const int ih = image->GetHeight();
    // A position or size that is not a number (a damaged menu or level file) draws nothing.
    const bool placeable = std::isfinite(left) && std::isfinite(top) && std::isfinite(dw) &&
                           std::isfinite(dh) && std::isfinite(angle);
    if (iw > 0 && ih > 0 && placeable) {
        const float fw = static_cast<float>(iw);
        const float fh = static_cast<float>(ih);
        const Orvane::Rect source(TruncToInt(uLeft * fw), TruncToInt(vTop * fh),
                                  TruncToInt((uRight - uLeft) * fw),
                                  TruncToInt((vBottom - vTop) * fh));
        if ((IsAccelerated() || natural) && angle != 0.0f) {
            if (!natural) {
                Orvane::Transform2D transform;
                transform.RotateDegrees(angle / 6.2831855f * 360.0f);
                transform.Scale(dw / fw, dh / fh);
                g->DrawImageWithTransform(image, transform, cx, cy);
            } else {
                g->DrawImageRotated(image, TruncToInt(left), TruncToInt(top), angle, source);
            }
        } else if (natural) {
            if (IsWholeWindow(uLeft, vTop, uRight, vBottom)) {
                g->DrawImage(image, TruncToInt(left), TruncToInt(top));
            } else {
                g->DrawImage(image, TruncToInt(left), TruncToInt(top), source);
            }
        } else {
            const bool culled = left + dw <= 0.0f || top + dh <= 0.0f || left >= W || top >= H;
            if (!culled) {
                const Orvane::Rect dest(TruncToInt(left), TruncToInt(top), TruncToInt(dw),
                                        TruncToInt(dh));
                if (!dest.IsEmpty() && !source.IsEmpty()) g->DrawImage(image, dest, source);
            }
        }
    }

    // Every sprite leaves the context untinted and in normal mode.
    g->SetTintImages(false);
    g->SetDrawMode(Orvane::kDrawModeNormal);
    return 0;
}

int CSpriteManager::DrawAnimatedSprite(Orvane::Image* sheet, float x, float y, float w, float h,
                                       int flags, int columns, int rows, float rate,
                                       uint32_t colour) {
    const long long cells = static_cast<long long>(columns) * rows;
    const int frames = columns > 0 && rows > 0 && cells <= 1000000 ? static_cast<int>(cells) : 0;
    const long long frame = AnimationFrame(frames, rate, (flags & SPRITE_FIXED_PHASE) != 0,
                                           frames > 0 ? Orvane::GetPlatform().TickCount() : 0);
    const UvWindow cell = AnimationCell(frame, columns, rows);

    if ((flags & SPRITE_NATURAL_SIZE) && sheet != nullptr && frames > 0) {
        const ScreenRect screen = GetScreenRect();
        w = static_cast<float>(sheet->GetWidth()) / static_cast<float>(columns) /
            static_cast<float>(screen.width);
        h = static_cast<float>(sheet->GetHeight()) / static_cast<float>(rows) /
            static_cast<float>(screen.height);
    }
    return DrawSprite(sheet, x, y, w, h, cell.left, cell.top, cell.right, cell.bottom, colour,
                      flags, 0.0f);
}

int CSpriteManager::DrawProgressBar(Orvane::Image* background, Orvane::Image* fill, float x,
                                    float y, float w, float h, int percent, int flags) {
    int drawFlags = 0;
    if (flags & BAR_NATURAL_SIZE) {
        const ScreenRect screen = GetScreenRect();
        if (fill != nullptr) {
            w = static_cast<float>(fill->GetWidth()) / static_cast<float>(screen.width);
            h = static_cast<float>(fill->GetHeight()) / static_cast<float>(screen.height);
        }
        drawFlags = SPRITE_NATURAL_SIZE;
    }
    int result = DrawSprite(background, x, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, kNoTint, drawFlags,
                            0.0f);

    // A fill beyond its picture would read outside it.
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    const float p = static_cast<float>(percent) / 100.0f;
    if (flags & BAR_FILL_UP) {
        result = DrawSprite(fill, x, y + h * 0.5f - (p * h) * 0.5f, w, p * h, 0.0f, 1.0f - p, 1.0f,
                            1.0f, kNoTint, drawFlags, 0.0f);
    }
    if (flags & BAR_FILL_RIGHT) {
        result = DrawSprite(fill, x - w * 0.5f + (p * w) * 0.5f, y, p * w, h, 0.0f, 0.0f, p, 1.0f,
                            kNoTint, drawFlags, 0.0f);
    }
    return result;
}

void CSpriteManager::DrawDigits(Orvane::Image* strip, float x, float y, float spacing,
                                uint32_t colour, const std::string& digits, float scale) {
    if (strip == nullptr) return;
    static constexpr char kDigits[] = "0123456789";
    const ScreenRect screen = GetScreenRect();
    const float dw = static_cast<float>(strip->GetWidth()) / 10.0f /
                     static_cast<float>(screen.width) * scale;
    const float dh = static_cast<float>(strip->GetHeight()) / static_cast<float>(screen.height) *
                     scale;
    const size_t n = digits.size();
    float offset = -static_cast<float>(n > 0 ? n - 1 : 0) * dw * 0.5f;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0) offset += dw * spacing;
        const char c = digits[i];
        const char* hit = c != '\0' ? std::strchr(kDigits, c) : nullptr;
        if (hit == nullptr) continue;   // not a digit: its place stays empty
        const float k = static_cast<float>(hit - kDigits);
        DrawSprite(strip, x + offset, y, dw, dh, k / 10.0f, 0.0f, (k + 1.0f) / 10.0f, 1.0f, colour,
                   SPRITE_NORMAL, 0.0f);
    }
}

void CSpriteManager::AdvanceClamped(float* value, float rate, float dt) {
    if (value == nullptr) return;
    *value += rate * dt;
    if (*value > 1.0f) {
        *value = 1.0f;
    } else if (*value < 0.0f) {
        *value = 0.0f;
    }
}
