// The mouse as gameplay sees it: once per round update the buttons are sampled and compared with
// the previous sample, giving the pressed and released edges of the left and right buttons.
#pragma once

#include <cstdint>

class MouseEdgeSampler {
public:
    // Takes a new sample of the held buttons (MK_LBUTTON | MK_RBUTTON flags).
    void Sample(uint32_t buttons);
    // Samples the platform's button state.
    void SamplePlatform();
    // Forgets the previous sample (nothing counts as held before the next one).
    void Reset();

    bool LeftDown() const { return left_.down; }
    bool LeftPressed() const { return left_.pressed; }
    bool LeftReleased() const { return left_.released; }
    bool RightDown() const { return right_.down; }
    bool RightPressed() const { return right_.pressed; }
    bool RightReleased() const { return right_.released; }

private:
    struct Button {
        bool down = false;
        bool pressed = false;
        bool released = false;
        void Update(bool now);
    };
    Button left_;
    Button right_;
};
