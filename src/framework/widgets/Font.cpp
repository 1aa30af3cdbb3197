#include "framework/widgets/Font.h"

namespace Orvane {

// No system font renderer is built into this framework: widgets that need text are given a
// font by their owner.
std::unique_ptr<Font> Font::CreateSystemFont(const std::string&, int) { return nullptr; }

}  // namespace Orvane
