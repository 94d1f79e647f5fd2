// The JSON form of a data grid: its columns, the canvas operations of a
// fresh paint (its draw handlers run, on a scratch canvas) and the texts
// it drew per visible row. User-interface thread only; raises what the
// draw handlers raise.
//
// GridText writes that form straight as text, without building a
// document: the grid is written after every message the loop runs, and
// its paint (hundreds of operations, a picture in each marked row) is
// most of an update. Each picture is written once, in "pictures", and a
// "bitmap" operation names it by its place there ("picture": n) instead of
// holding it ("bitmap"). GridJson is the same text parsed; CanvasOpJson is
// one operation as a document with its picture held, which GridText writes
// the same but for that.
//
// A paint can also be written as a change of the one the page was sent
// last (a cursor moved by a row repaints two rows of hundreds of
// operations): the operations equal at both ends of the two are left out
// and "keep": {"ops": [head, tail], "rows": same} says how many the page
// keeps from each end of its own; "rows" is left out when it is the
// same, and "pictures" has the pictures of the written operations only.
// A written operation whose picture a kept one has names that one instead
// ("like": its place among the new paint's operations).
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "forms/canvas.h"
#include "forms/db_grid.h"

namespace display {

// What one paint of a grid writes: `frame` is its object up to the
// operations (opened, not closed); the operations as recorded, each with
// its picture's place in `pictures` (-1: none; the operations keep no
// pointer to a bitmap, which may go before the next paint: the pictures
// are copies); the texts it drew per row.
struct TGridPaint {
  std::string frame;
  std::vector<fw::TCanvasOp> ops;
  std::vector<int> picture;
  std::vector<fw::TBitmap> pictures;
  fw::TGridTexts texts;
  // Whether operation `mine` draws what `theirs` of `other` draws.
  bool SameOp(size_t mine, const TGridPaint& other, size_t theirs) const;
  bool operator==(const TGridPaint& other) const;
};

// Paints the grid on a scratch canvas (its draw handlers run). The
// operations a fill a few operations later paints over are left out:
// their pixels would not show (a cell is often drawn twice, the second
// time over a fill of the whole cell).
TGridPaint PaintOf(fw::TDBGrid& grid);
// Leaves out of `ops` those whose whole area a later fill within the next
// `lookahead` operations covers; an unclipped text, of unknown extent,
// stays.
void DropCoveredOps(std::vector<fw::TCanvasOp>& ops, size_t lookahead = 8);
// The paint's text; with `sent`, as a change of that one.
std::string GridText(const TGridPaint& paint, const TGridPaint* sent);
std::string GridText(fw::TDBGrid& grid);
nlohmann::json GridJson(fw::TDBGrid& grid);
nlohmann::json CanvasOpJson(const fw::TCanvasOp& op);

}  // namespace display
