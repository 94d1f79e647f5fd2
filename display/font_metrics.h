// Text widths measured with the font the page draws with (Liberation Sans
// and Liberation Sans Bold, served to the page; their widths at 11 pixels
// are close to the classic 8-point interface font, so the screens'
// captions and titles fit the widths they were laid out for), so what the
// host right-aligns
// lines up in the browser. Widths are the sum of the glyphs' unhinted
// advances and the font's kerning at the font's pixel size (points * 96 /
// 72, rounded), rounded at the end, as a browser canvas measures them.
//
// InstallFontMetrics loads both faces (FreeType) and installs the measurer
// for every canvas; it returns false (and installs nothing) when a face
// cannot be loaded. FontFile names the face files the page is served.
// The measurer is used on the user-interface thread only.
#pragma once

#include <string>

namespace display {

std::string FontFile(bool bold);
int PixelSize(int points);
bool InstallFontMetrics();

}  // namespace display
