// The pictures of the filter dialog's buttons, 16 x 16 on the olive
// transparent background of the shared glyphs:
//   SearchGlyph  32 x 16, two states: a magnifying glass as shown when
//                enabled, then greyed (the "Pesquisar" buttons);
//   UndoGlyph    16 x 16: an arrow turning back ("Desfazer").
// Pure.
#pragma once

#include "forms/graphics.h"

fw::TBitmap SearchGlyph();
fw::TBitmap UndoGlyph();
