// Widget flags: the bits handed down the widget tree on every update, draw and hit test, and
// the modifications a widget (or the manager) applies to them on the way down.
#pragma once

namespace Orvane {

enum WidgetFlag : int {
    WIDGETFLAGS_UPDATE = 1,
    WIDGETFLAGS_MARK_DIRTY = 2,   // mark dirty on every update
    WIDGETFLAGS_DRAW = 4,
    WIDGETFLAGS_CLIP = 8,
    WIDGETFLAGS_ALLOW_MOUSE = 16,
    WIDGETFLAGS_ALLOW_FOCUS = 32,
};

// Turns incoming flags F into (F | added) & ~removed.
struct FlagsMod {
    int addFlags = 0;
    int removeFlags = 0;

    int Apply(int flags) const { return (flags | addFlags) & ~removeFlags; }
};

}  // namespace Orvane
