// The window-message record: the one input format that flows from the platform through the
// frame loop's deferred queue to the widgets, the game's dispatcher, the menus and the name
// entry. Seven 32-bit fields; codes and parameters keep the values of the classic desktop
// message set, so that every layer compares the same numbers.
#pragma once

#include <cstdint>

namespace Orvane {

struct WindowMessage {
    uint32_t window = 0;    // opaque id of the main window
    uint32_t message = 0;   // one of the WM_ codes below
    uint32_t wParam = 0;    // first parameter: key code, character, button flags, ...
    uint32_t lParam = 0;    // second parameter: a packed point for mouse records
    uint32_t time = 0;
    int32_t x = 0;          // point in logical screen pixels, where the record carries one
    int32_t y = 0;
};

// Message codes.
inline constexpr uint32_t WM_MOVE = 0x0003;           // lParam: client position
inline constexpr uint32_t WM_SIZE = 0x0005;           // wParam: SIZE_ kind below
inline constexpr uint32_t WM_ENABLE = 0x000A;         // wParam: 0 disabled
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUERYOPEN = 0x0013;
inline constexpr uint32_t WM_SYSCOLORCHANGE = 0x0015;
inline constexpr uint32_t WM_ENDSESSION = 0x0016;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;    // wParam: 1 activated, 0 deactivated
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
inline constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;        // wParam: virtual key (VirtualKeys.h)
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;           // wParam: the character byte
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;     // key down while Alt is held, Alt itself
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_TIMER = 0x0113;          // wParam: timer id
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;      // lParam: position; wParam: MK_ flags
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;     // wParam high word: signed delta

// wParam of WM_SIZE.
inline constexpr uint32_t SIZE_RESTORED = 0;
inline constexpr uint32_t SIZE_MINIMIZED = 1;
inline constexpr uint32_t SIZE_MAXIMIZED = 2;

// Button flags in the wParam of mouse records; also the asynchronous button state.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;
inline constexpr uint32_t MK_MBUTTON = 0x0010;

// One notch of the wheel.
inline constexpr int WHEEL_DELTA = 120;

// Packs and unpacks a point into the second parameter (signed 16-bit halves).
constexpr uint32_t MakePointParam(int x, int y) {
    return static_cast<uint32_t>(static_cast<uint16_t>(x)) |
           (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}
constexpr int PointParamX(uint32_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
constexpr int PointParamY(uint32_t lParam) { return static_cast<int16_t>(lParam >> 16); }

// The signed wheel delta in the high word of the wheel record's wParam.
constexpr uint32_t MakeWheelParam(int delta, uint32_t buttonFlags = 0) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16) | (buttonFlags & 0xFFFF);
}
constexpr int WheelParamDelta(uint32_t wParam) { return static_cast<int16_t>(wParam >> 16); }

}  // namespace Orvane
