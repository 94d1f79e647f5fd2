#include "library/consiste_grid.h"

#include <algorithm>

namespace Consiste {

int IndiceCol(fw::TDBGrid& grid, std::string_view fieldName) {
  return grid.Columns().IndexOfField(fieldName);
}

fw::TColumn& CriaColuna(fw::TDBGrid& grid, std::string_view fieldName, int position) {
  int index = std::clamp(position + 1, 0, grid.Columns().Count());
  fw::TColumn& column = grid.Columns().Insert(index);
  column.SetFieldName(std::string(fieldName));
  return column;
}

void DestroiColuna(fw::TDBGrid& grid, std::string_view fieldName) {
  if (fw::TColumn* column = grid.Columns().FindField(fieldName)) grid.Columns().Remove(*column);
}

}  // namespace Consiste
