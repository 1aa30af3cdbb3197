#include "framework/platform/sdl/SdlCursors.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace Orvane {

namespace {

// The dragging hand: a closed fist seen from above, 32 x 32, hot spot (15, 10).
// 'X' black outline, '.' white fill, ' ' transparent.
constexpr const char* kDraggingHand[] = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "           XX XX XX             ",
    "          X..X..X..XX           ",
    "          X..X..X..X.X          ",
    "        XXX..X..X..X..X         ",
    "       X..X..........X.X        ",
    "       X.............X.X        ",
    "       X...............X        ",
    "        X..............X        ",
    "        X..............X        ",
    "         X............X         ",
    "         X............X         ",
    "          X..........X          ",
    "          X..........X          ",
    "          X..........X          ",
    "          XXXXXXXXXXXX          ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

SDL_Cursor* CursorFromArt(const char* const* rows, int hotX, int hotY) {
    constexpr int kSize = 32;
    std::vector<uint32_t> pixels(kSize * kSize, 0);
    for (int y = 0; y < kSize; ++y) {
        const size_t len = std::strlen(rows[y]);
        for (int x = 0; x < kSize && static_cast<size_t>(x) < len; ++x) {
            const char c = rows[y][x];
            if (c == 'X') pixels[y * kSize + x] = 0xFF000000u;
            if (c == '.') pixels[y * kSize + x] = 0xFFFFFFFFu;
        }
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), kSize, kSize, 32, kSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return cursor;
}

}  // namespace

SDL_Cursor* CreateSdlCursor(CursorShape shape) {
    switch (shape) {
    case CursorShape::Arrow: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    case CursorShape::Hand: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    case CursorShape::Dragging: return CursorFromArt(kDraggingHand, 15, 10);
    case CursorShape::TextBeam: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
    case CursorShape::No: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    case CursorShape::SizeAll: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL);
    case CursorShape::SizeNESW: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW);
    case CursorShape::SizeNS: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    case CursorShape::SizeNWSE: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    case CursorShape::SizeWE: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE);
    case CursorShape::Wait: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    case CursorShape::None: return nullptr;
    }
    return nullptr;
}

}  // namespace Orvane
