#include "framework/display/Display.h"

#include "framework/graphics/MemoryImage.h"

namespace Orvane {

Display::Display() = default;
Display::~Display() = default;

void Display::MakeScreenImage(int width, int height) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!screen_) screen_ = std::make_unique<MemoryImage>();
    if (screen_->GetWidth() != width || screen_->GetHeight() != height) {
        screen_->Create(width, height);
    }
    screen_->Clear(0xFF000000u);
}

void Display::SetCursorImage(std::shared_ptr<const MemoryImage> image, int hotX, int hotY) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    cursor_.image = std::move(image);
    cursor_.hotX = hotX;
    cursor_.hotY = hotY;
}

void Display::SetCursorVisible(bool visible) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    cursor_.visible = visible;
}

void Display::SetCursorPosition(int x, int y) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    cursor_.x = x;
    cursor_.y = y;
}

Display::SoftwareCursor Display::CursorSnapshot() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return cursor_;
}

}  // namespace Orvane
