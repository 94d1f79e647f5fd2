// Consiste, the part that reshapes data grids.
//
// IndiceCol(grid, field): index of the grid's column bound to the field
//   (ignoring case), or -1.
// CriaColuna(grid, field, position): adds a column bound to the field
//   right after the column at index `position` (0-based), i.e. at index
//   position + 1 (at the end when the grid has fewer columns), and returns
//   it. So position 7 in a grid whose eighth column (index 7) is NMFANVEN
//   puts the new column ninth, after NMFANVEN.
// DestroiColuna(grid, field): removes the column bound to the field; does
//   nothing when there is none.
// User-interface thread only.
#pragma once

#include <string_view>

#include "forms/db_grid.h"

namespace Consiste {

int IndiceCol(fw::TDBGrid& grid, std::string_view fieldName);
fw::TColumn& CriaColuna(fw::TDBGrid& grid, std::string_view fieldName, int position);
void DestroiColuna(fw::TDBGrid& grid, std::string_view fieldName);

}  // namespace Consiste
