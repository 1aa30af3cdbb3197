// Cursor shapes over SDL: the desktop's own shapes, and the built-in dragging hand.
#pragma once

#include "framework/platform/Platform.h"

struct SDL_Cursor;

namespace Orvane {

// A new cursor for the shape (the caller frees it); none for CursorShape::None or on failure.
SDL_Cursor* CreateSdlCursor(CursorShape shape);

}  // namespace Orvane
