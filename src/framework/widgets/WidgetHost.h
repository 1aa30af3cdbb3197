// WidgetHost: the few services of the application object that the widget tree needs. The
// manager reaches the application only through this interface, so it can be built and tested
// without one (a null host means: no cursor changes, no acceleration).
#pragma once

namespace Orvane {

class WidgetHost {
public:
    virtual ~WidgetHost() = default;

    // Cursor numbers as the application defines them: 0 arrow, 1 hand.
    virtual void SetCursorShape(int cursorNumber) = 0;
    // Whether the display runs 3D-accelerated (selects linear blending over fast stretching).
    virtual bool IsHardwareAccelerated() const = 0;
    // Bracket one draw pass into the screen image: a display-backed screen locks its surface
    // for the whole pass here.
    virtual void BeginScreenDraw() {}
    virtual void EndScreenDraw() {}
};

}  // namespace Orvane
