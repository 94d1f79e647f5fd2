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
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "forms/canvas.h"
#include "forms/db_grid.h"

namespace display {

std::string GridText(fw::TDBGrid& grid);
nlohmann::json GridJson(fw::TDBGrid& grid);
nlohmann::json CanvasOpJson(const fw::TCanvasOp& op);

}  // namespace display
