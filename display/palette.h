// Colours as the page draws them: RGB colours as "#rrggbb", system colours
// mapped to the classic desktop palette (window white, button face
// #d4d0c8, info background #ffffe1, highlight #0a246a, ...). Pure.
#pragma once

#include <string>

#include "forms/graphics.h"

namespace display {

std::string CssColor(fw::TColor color);
// 0xRRGGBB of a colour (system colours through the palette).
unsigned RgbOf(fw::TColor color);

}  // namespace display
