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

int TMaskEdit::EndCaret() const {
  if (mask_.Empty()) return TCustomEdit::EndCaret();
  int next = NextPosition();
  return next < mask_.DataCount() ? mask_.ItemOf(next) : mask_.ItemCount();
}

int TMaskEdit::FirstPositionFrom(int item) const {
  for (int p = 0; p < mask_.DataCount(); ++p)
    if (mask_.ItemOf(p) >= item) return p;
  return -1;
}

void TMaskEdit::ClearItems(TEditMask::Cells& cells, int from, int to) const {
  for (int p = 0; p < mask_.DataCount(); ++p)
    if (mask_.ItemOf(p) >= from && mask_.ItemOf(p) < to) cells[p].clear();
}

void TMaskEdit::StoreWithCaret(TEditMask::Cells cells, int caret) {
  StoreCells(std::move(cells));
  SetSel(caret, caret);
}

bool TMaskEdit::TypeChar(const std::string& ch) {
  if (mask_.Empty()) return TCustomEdit::TypeChar(ch);
  const int start = SelStart();
  TEditMask::Cells cells = cells_;
  ClearItems(cells, start, start + SelLength());
  // Literals are passed over: the character goes to the next data place.
  int position = FirstPositionFrom(start);
  if (position < 0) return false;  // every place up to the end is behind the caret
  int filled = 0;
  for (const std::string& cell : cells) filled += cell.empty() ? 0 : 1;
  if (MaxLength() > 0 && cells[position].empty() && filled >= MaxLength()) return false;
  std::optional<std::string> fitted = mask_.Fit(position, ApplyCase(ch));
  if (!fitted) return false;
  cells[position] = *fitted;
  int next = position + 1 < mask_.DataCount() ? mask_.ItemOf(position + 1) : mask_.ItemCount();
  StoreWithCaret(std::move(cells), next);
  return true;
}

void TMaskEdit::BackSpace() {
  if (mask_.Empty()) TCustomEdit::BackSpace();
  else Erase(true);
}

void TMaskEdit::DeleteForward() {
  if (mask_.Empty()) TCustomEdit::DeleteForward();
  else Erase(false);
}

void TMaskEdit::Erase(bool before) {
  TEditMask::Cells cells = cells_;
  int caret = SelStart();
  if (SelLength() > 0) {
    ClearItems(cells, caret, caret + SelLength());
  } else {
    int position = -1;
    if (before) {
      for (int p = 0; p < mask_.DataCount() && mask_.ItemOf(p) < caret; ++p) position = p;
    } else {
      position = FirstPositionFrom(caret);
    }
    if (position < 0) return;
    cells[position].clear();
    if (before) caret = mask_.ItemOf(position);
  }
  StoreWithCaret(std::move(cells), caret);
}

}  // namespace fw
