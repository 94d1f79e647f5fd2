// The pictures the confirmation screen draws: the three 16 x 16 mark
// glyphs of the grids' mark column, and the two-state glyph of the filter
// button.
//
// The mark glyphs share one frame on an olive background (RGB 128,128,0,
// drawn transparent): a black top edge (row 2, columns 2-11) and left edge
// (column 2, rows 2-11), a silver right line (column 13, rows 1-13) and
// bottom line (row 13, columns 1-13), and a 9 x 9 interior (columns and
// rows 3-11, counted from 0 at the top left):
//   CheckGlyph    white interior with a black check mark (marked)
//   UncheckGlyph  white interior (not marked)
//   DescheckGlyph silver interior (mark not available)
// FilterGlyph is 32 x 16: a funnel as shown when enabled, then greyed.
// TwoStateGlyph makes such a pair from 16-pixel rows in the palette
// below ('.' olive, '#' black, 'w' white, 's' silver, 'g' gray, 'b' navy):
// each row, then its greyed copy (black to gray, white to silver).
// Pure.
#pragma once

#include <string>
#include <vector>

#include "forms/graphics.h"

namespace fw {
constexpr TColor kGlyphTransparent = clOlive;
}

fw::TBitmap CheckGlyph();
fw::TBitmap UncheckGlyph();
fw::TBitmap DescheckGlyph();
fw::TBitmap FilterGlyph();
fw::TBitmap TwoStateGlyph(const std::vector<std::string>& rows);
