// Small pictures written as text, for glyphs and tests.
//
// BitmapFromPixels builds a bitmap from rows of characters, one character
// per pixel, each looked up in the palette: {"..##", ".##."} with
// {'.', clOlive}, {'#', clBlack}. Raises an Exception (Portuguese) and
// builds nothing when there are no rows, the rows differ in length, or a
// character is not in the palette. PixelsOf is the reverse, for readable
// test failures ('?' for a colour not in the palette). Pure.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "forms/graphics.h"

namespace fw {

TBitmap BitmapFromPixels(const std::vector<std::string>& rows, const std::map<char, TColor>& palette);
std::vector<std::string> PixelsOf(const TBitmap& bitmap, const std::map<char, TColor>& palette);

}  // namespace fw
