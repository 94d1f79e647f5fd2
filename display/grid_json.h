// The JSON form of a data grid: its columns, the canvas operations of a
// fresh paint (its draw handlers run, on a scratch canvas) and the texts
// it drew per visible row. User-interface thread only; raises what the
// draw handlers raise.
#pragma once

#include <nlohmann/json.hpp>

#include "forms/canvas.h"
#include "forms/db_grid.h"

namespace display {

nlohmann::json GridJson(fw::TDBGrid& grid);
nlohmann::json CanvasOpJson(const fw::TCanvasOp& op);

}  // namespace display
