#include "game/MouseEdges.h"

#include "framework/platform/Platform.h"
#include "framework/platform/WindowMessage.h"

void MouseEdgeSampler::Button::Update(bool now) {
    pressed = now && !down;
    released = !now && down;
    down = now;
}

void MouseEdgeSampler::Sample(uint32_t buttons) {
    left_.Update((buttons & Orvane::MK_LBUTTON) != 0);
    right_.Update((buttons & Orvane::MK_RBUTTON) != 0);
}

void MouseEdgeSampler::SamplePlatform() { Sample(Orvane::GetPlatform().AsyncButtonState()); }

void MouseEdgeSampler::Reset() {
    left_ = {};
    right_ = {};
}
