// ButtonListener: what a ButtonWidget reports to its owner. Every callback has an empty
// default, so a listener overrides only what it needs.
#pragma once

namespace Orvane {

class ButtonListener {
public:
    virtual ~ButtonListener() = default;

    // A press with its click count (see Widget::MouseDown); by default forwards to
    // ButtonPress(id).
    virtual void ButtonPress(int id, int clickCount) {
        (void)clickCount;
        ButtonPress(id);
    }
    virtual void ButtonPress(int id) { (void)id; }
    // The release that completes a click (only while the pointer is still over the button).
    virtual void ButtonDepress(int id) { (void)id; }
    // Every update while the button is held down with the pointer over it.
    virtual void ButtonDownTick(int id) { (void)id; }
    virtual void ButtonMouseEnter(int id) { (void)id; }
    virtual void ButtonMouseLeave(int id) { (void)id; }
    // Pointer movement over the button, in the button's coordinates.
    virtual void ButtonMouseMove(int id, int x, int y) {
        (void)id;
        (void)x;
        (void)y;
    }
};

}  // namespace Orvane
