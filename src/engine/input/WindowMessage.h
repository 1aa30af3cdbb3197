// The seven-field window-message record: the one input format that the application's
// dispatcher, the menu screens and the high-score name entry take. The game screen widget
// builds one record per key press, typed character, pointer move and button press.
#pragma once

#include <cstdint>

struct WindowMessage {
    uint32_t window = 0;    // opaque id of the main window
    uint32_t message = 0;   // one of the WM_ codes below
    uint32_t wParam = 0;    // key code, character, or pointer-move button flags
    uint32_t lParam = 0;
    uint32_t time = 0;
    int32_t x = 0;          // pointer position in logical screen pixels (800 x 600)
    int32_t y = 0;
};

inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;

// Button flags in the first parameter of a WM_MOUSEMOVE: set while the left button is held.
// The menus read it to drag sliders.
inline constexpr uint32_t MK_LBUTTON = 0x0001;

// Virtual-key codes that the menus and the name entry react to.
inline constexpr uint32_t VK_BACK = 8;
inline constexpr uint32_t VK_RETURN = 13;
inline constexpr uint32_t VK_ESCAPE = 27;

inline WindowMessage MakeKeyDown(uint32_t key) { return {0, WM_KEYDOWN, key, 0, 0, 0, 0}; }
// Characters arrive sign-extended from their byte, as the widget's character event gives them.
inline WindowMessage MakeChar(char c) {
    return {0, WM_CHAR, static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))), 0, 0, 0, 0};
}
inline WindowMessage MakeMouseMove(int32_t x, int32_t y, bool leftDown = false) {
    return {0, WM_MOUSEMOVE, leftDown ? MK_LBUTTON : 0u, 0, 0, x, y};
}
inline WindowMessage MakeLeftButtonDown(int32_t x, int32_t y) {
    return {0, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, x, y};
}
