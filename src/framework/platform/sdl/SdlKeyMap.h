// SDL key codes to virtual-key codes.
#pragma once

#include <cstdint>

namespace Orvane {

// 0 when the key has no virtual-key code.
uint32_t SdlKeyToVirtualKey(int32_t sdlKeycode, int32_t sdlScancode);

}  // namespace Orvane
