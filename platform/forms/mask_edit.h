// TMaskEdit: an edit whose text follows an edit mask (see edit_mask.h).
//
// With a mask, the box holds one cell per data position. EditText is what
// the box shows: the picture's literals, the filled cells and the blank
// character in every unfilled position (an untouched box shows only blanks
// and literals). Text is the data the box yields: the filled cells, with
// the literals only when the mask keeps them ("...;1;..."), "" when nothing
// is filled.
//
// The caret moves over what the box shows, literals included; it stands
// after the last filled cell unless the operator moves it. A typed
// character replaces the selection's cells and goes into the first data
// position at or after the caret (literals are passed over), and the
// caret moves to the next data position; Backspace empties the cell
// before the caret, Delete the one at it, or either the selected cells. A
// character that does not fit the kind of its position is refused, as is
// any character once no data position is left after the caret or
// MaxLength characters are there; the mask's case directive converts what is typed or set.
// SetText parses the text into cells and raises EConvertError, changing
// nothing, for a text that does not fit; SetEditMask raises for an
// unreadable mask or when the text held does not fit the new mask,
// changing nothing. OnChange runs on every change of the text, typed or
// set. Without a mask it behaves as TEdit.
// Ownership as TComponent; user-interface thread only.
#pragma once

#include "forms/edit.h"
#include "forms/edit_mask.h"

namespace fw {

class TMaskEdit : public TCustomEdit {
 public:
  explicit TMaskEdit(TComponent* owner);

  const std::string& EditMask() const { return mask_.Mask(); }
  void SetEditMask(std::string_view mask);
  void SetText(std::string_view text) override;
  std::string EditText() const override;
  // Whether every required position is filled (always true without a mask).
  bool IsComplete() const;

  const char* Kind() const override { return "maskedit"; }

 protected:
  bool TypeChar(const std::string& ch) override;
  void BackSpace() override;
  void DeleteForward() override;
  int EndCaret() const override;
  // A click past what was typed puts the caret after it, as in a plain
  // edit (not among the blanks further on).
  int ClickPlace(int x) const override { return std::min(CharIndexAt(x), EndCaret()); }

 private:
  // The first data place at or after an item of what the box shows (-1
  // when none).
  int FirstPositionFrom(int item) const;
  void ClearItems(TEditMask::Cells& cells, int from, int to) const;
  void StoreWithCaret(TEditMask::Cells cells, int caret);
  // Empties the selected cells, or the cell before (Backspace) or at
  // (Delete) the caret.
  void Erase(bool before);
  int NextPosition() const;
  void StoreCells(TEditMask::Cells cells);

  TEditMask mask_;
  TEditMask::Cells cells_;
};

}  // namespace fw
