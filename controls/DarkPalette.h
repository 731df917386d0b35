#pragma once

#include <QPalette>

namespace orvane {

// A dark desktop theme's palette, light ink on dark faces: what the screenshots' dark set and
// the readability tests render under.
QPalette DarkDesktopPalette();

} // namespace orvane
