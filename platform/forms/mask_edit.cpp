#include "forms/mask_edit.h"

namespace fw {

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::SetEditMask(std::string_view mask) {
  TEditMask next(mask);  // raises for an unreadable mask
  std::string text = Text();
  TEditMask::Cells cells;
  if (!next.Empty()) cells = next.Parse(ApplyCase(text));  // raises when the text does not fit
  mask_ = std::move(next);
  cells_ = std::move(cells);
  Changed();
  if (!mask_.Empty()) StoreText(mask_.TextOf(cells_));
}

void TMaskEdit::SetText(std::string_view text) {
  if (mask_.Empty()) {
    TCustomEdit::SetText(text);
    return;
  }
  TEditMask::Cells cells = mask_.Parse(ApplyCase(text));  // raises, changing nothing
  ClearSelection();
  StoreCells(std::move(cells));
}

std::string TMaskEdit::EditText() const {
  return mask_.Empty() ? Text() : mask_.Layout(cells_);
}

bool TMaskEdit::IsComplete() const {
  for (int i = 0; i < mask_.DataCount(); ++i)
    if (mask_.Required(i) && cells_[i].empty()) return false;
  return true;
}

int TMaskEdit::FilledCount() const {
  int count = 0;
  for (const std::string& cell : cells_) count += cell.empty() ? 0 : 1;
  return count;
}

int TMaskEdit::NextPosition() const {
  for (int i = static_cast<int>(cells_.size()); i > 0; --i)
    if (!cells_[i - 1].empty()) return i;
  return 0;
}

void TMaskEdit::StoreCells(TEditMask::Cells cells) {
  bool shown = cells != cells_;
  cells_ = std::move(cells);
  if (shown) Changed();
  StoreText(mask_.TextOf(cells_));
}

bool TMaskEdit::TypeChar(const std::string& ch) {
  if (mask_.Empty()) return TCustomEdit::TypeChar(ch);
  bool replace = AllSelected();
  TEditMask::Cells cells = replace ? TEditMask::Cells(mask_.DataCount()) : cells_;
  int position = replace ? 0 : NextPosition();
  int filled = replace ? 0 : FilledCount();
  if (MaxLength() > 0 && filled >= MaxLength()) return false;
  std::optional<std::string> fitted = mask_.Fit(position, ApplyCase(ch));
  if (!fitted) return false;  // also once every position is filled
  cells[position] = *fitted;
  ClearSelection();
  StoreCells(std::move(cells));
  return true;
}

void TMaskEdit::BackSpace() {
  if (mask_.Empty()) {
    TCustomEdit::BackSpace();
    return;
  }
  TEditMask::Cells cells = cells_;
  if (AllSelected()) {
    cells.assign(mask_.DataCount(), std::string());
  } else if (int position = NextPosition(); position > 0) {
    cells[position - 1].clear();
  }
  ClearSelection();
  StoreCells(std::move(cells));
}

}  // namespace fw
