#include "DemoPictures.h"

#include <algorithm>
#include <cmath>

namespace {

using Orvane::MemoryImage;

uint32_t Argb(int a, int r, int g, int b) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return (c(a) << 24) | (c(r) << 16) | (c(g) << 8) | c(b);
}

uint32_t Hue(float h, int alpha) {
    auto channel = [h](float shift) {
        const float k = std::fmod(h * 6.0f + shift, 6.0f);
        return static_cast<int>(255.0f * (1.0f - std::max(0.0f, std::min({k, 4.0f - k, 1.0f}))));
    };
    return Argb(alpha, channel(5.0f), channel(3.0f), channel(1.0f));
}

std::unique_ptr<MemoryImage> Background() {
    auto image = std::make_unique<MemoryImage>(800, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const int t = y * 255 / 599;
            const int check = ((x / 40 + y / 40) % 2) * 8;
            image->SetPixel(x, y, Argb(255, 20 + t / 5 + check, 24 + check, 60 + t / 3 + check));
        }
    }
    return image;
}

// A soft round spark: white in the middle, transparent at the rim.
std::unique_ptr<MemoryImage> Spark(int size, uint32_t rgb) {
    auto image = std::make_unique<MemoryImage>(size, size);
    const float r = size * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(x + 0.5f - r, y + 0.5f - r) / r;
            const int a = static_cast<int>(255.0f * std::clamp(1.0f - d, 0.0f, 1.0f) * 1.6f);
            const int white = static_cast<int>(255.0f * std::clamp(1.0f - d * 1.8f, 0.0f, 1.0f));
            const int cr = std::max(static_cast<int>((rgb >> 16) & 0xFF), white);
            const int cg = std::max(static_cast<int>((rgb >> 8) & 0xFF), white);
            const int cb = std::max(static_cast<int>(rgb & 0xFF), white);
            image->SetPixel(x, y, Argb(std::min(a, 255), cr, cg, cb));
        }
    }
    return image;
}

// A five-pointed star with a darker tip at the top, so that a turn shows.
std::unique_ptr<MemoryImage> Star(int size) {
    auto image = std::make_unique<MemoryImage>(size, size);
    const float c = size * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            const float angle = std::atan2(dy, dx) + 1.5707964f;
            const float spoke = std::fabs(std::fmod(angle * 5.0f / 6.2831855f + 100.5f, 1.0f) - 0.5f);
            const float radius = c * (0.45f + 0.55f * (1.0f - spoke * 2.0f));
            const float d = std::hypot(dx, dy);
            if (d > radius) continue;
            const bool tip = dy < -c * 0.55f;
            const int shade = static_cast<int>(200 + 55 * (1.0f - d / c));
            image->SetPixel(x, y, tip ? Argb(255, 230, 60, 40) : Argb(255, shade, shade * 4 / 5, 40));
        }
    }
    return image;
}

// An arrow pointing right with a gradient along it.
std::unique_ptr<MemoryImage> Arrow() {
    auto image = std::make_unique<MemoryImage>(120, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 120; ++x) {
            const int cy = std::abs(y - 24);
            const bool shaft = x < 80 && cy < 9;
            const bool head = x >= 80 && cy < (120 - x) * 24 / 40;
            if (shaft || head) image->SetPixel(x, y, Argb(255, 60 + x, 200 - x, 230));
        }
    }
    return image;
}

// A 4 x 2 sheet: each frame a disc of its own hue with a hand turned by 45 degrees a frame.
std::unique_ptr<MemoryImage> Sheet() {
    constexpr int kCell = 64;
    auto image = std::make_unique<MemoryImage>(kCell * 4, kCell * 2);
    for (int f = 0; f < 8; ++f) {
        const int ox = (f % 4) * kCell, oy = (f / 4) * kCell;
        const float hand = f * 0.7853982f;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const float dx = x + 0.5f - kCell / 2.0f, dy = y + 0.5f - kCell / 2.0f;
                const float d = std::hypot(dx, dy);
                if (d > kCell * 0.45f) continue;
                const float along = dx * std::sin(hand) - dy * std::cos(hand);
                const float across = dx * std::cos(hand) + dy * std::sin(hand);
                const bool onHand = along > 0 && std::fabs(across) < 3.0f;
                image->SetPixel(ox + x, oy + y, onHand ? Argb(255, 255, 255, 255) : Hue(f / 8.0f, 255));
            }
        }
    }
    return image;
}

std::unique_ptr<MemoryImage> Bar(bool full) {
    auto image = std::make_unique<MemoryImage>(200, 24);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool border = x < 2 || y < 2 || x >= 198 || y >= 22;
            if (full) {
                image->SetPixel(x, y, border ? Argb(255, 20, 90, 20) : Argb(255, 60 + x / 2, 200, 60));
            } else {
                image->SetPixel(x, y, border ? Argb(255, 160, 160, 170) : Argb(255, 50, 50, 60));
            }
        }
    }
    return image;
}

std::unique_ptr<MemoryImage> Caption() {
    auto image = std::make_unique<MemoryImage>(160, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 160; ++x) {
            const bool stripe = ((x + y) / 8) % 2 == 0;
            image->SetPixel(x, y, stripe ? Argb(255, 250, 150, 30) : Argb(255, 200, 90, 20));
        }
    }
    return image;
}

}  // namespace

namespace DemoPictures {

std::unique_ptr<MemoryImage> Paint(const std::string& name) {
    if (name == "Demo\\back.jpg") return Background();
    if (name == "Demo\\spark.png") return Spark(24, 0xFFC040);
    if (name == "Demo\\glow.png") return Spark(64, 0x40A0FF);
    if (name == "Demo\\star.png") return Star(64);
    if (name == "Demo\\arrow.png") return Arrow();
    if (name == "Demo\\sheet.png") return Sheet();
    if (name == "Demo\\bar_empty.png") return Bar(false);
    if (name == "Demo\\bar_full.png") return Bar(true);
    if (name == "Demo\\caption.png") return Caption();
    return nullptr;
}

}  // namespace DemoPictures
