// TCustomEdit and TEdit: a one-line text box.
//
// Text is what the box holds. OnChange runs after every change of the
// text, typed or set by code (setting the text it already holds changes
// nothing and runs nothing). CharCase converts typed and set text alike.
//
// The box keeps a caret and a selection, in characters of what it shows
// (EditText): the selection runs from an anchor to the caret. The
// operator types through KeyPress (the character replaces the selection,
// or goes in at the caret) and edits with the keys: Backspace and Delete
// remove the selection or the character before or after the caret;
// Left, Right, Home and End move the caret (Ctrl: by words), with Shift
// they extend the selection; Ctrl+A selects the whole text; Ctrl+X takes
// the selection out (the page has put it on the clipboard first). A click
// places the caret at the character under the mouse, a drag selects from
// where the mouse went down to where it was let go, a double-click selects
// the word. Text set by code puts the caret at its end. Entering the box
// selects the whole text when AutoSelect is on, as tabbing into a box does
// on the desktop; the next typed character replaces it. Typing is refused
// (silently, the text stays) when the box is read-only, hidden or
// disabled, for control characters, and for a character beyond MaxLength
// (counted in characters; 0 is no limit). Text set by code is not cut to
// MaxLength. OnKeyDown and OnKeyPress run first and may consume the key.
// A KeyPress of several characters types them one by one (a paste). With
// a PasswordChar the box shows that character once per character of the
// text (EditText); Text stays the real text.
//
// Subclasses (masked, spin and data-aware edits) refine what a typed
// character does through TypeChar/BackSpace/DeleteForward and what may be
// typed through CanType. Ownership as TComponent; user-interface thread
// only. Raises only what OnChange raises (the text is already changed
// then).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "forms/control.h"

namespace fw {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TControl {
 public:
  explicit TCustomEdit(TComponent* owner);

  const std::string& Text() const { return text_; }
  virtual void SetText(std::string_view text);
  // What the box shows; the text itself for a plain edit.
  virtual std::string EditText() const;
  char PasswordChar = 0;
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int maxLength);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  TEditCharCase CharCase() const { return charCase_; }
  // Converts the text held as well.
  void SetCharCase(TEditCharCase charCase);
  bool AutoSelect = true;
  TNotifyEvent OnChange;

  // Caret and selection, in characters of EditText().
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelLength() const { return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_; }
  int CaretPos() const { return caret_; }
  // Selects from anchor to caret (each clamped to the text shown).
  void SetSel(int anchor, int caret);
  // The selected part of what the box shows.
  std::string SelText() const;
  bool AllSelected() const;
  void SelectAll();
  // Leaves the caret where it is, with nothing selected.
  void ClearSelection();
  void Clear() { SetText(""); }
  // The character place (0..length) nearest to x, in control coordinates.
  int CharIndexAt(int x) const;
  // Where the shown text starts, in control coordinates.
  virtual int TextLeft() const;
  // Where a click at x puts the caret (the place nearest to x).
  virtual int ClickPlace(int x) const { return CharIndexAt(x); }

  bool AcceptsFocus() const override { return true; }
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;
  void MouseClick(int x, int y) override;
  void MouseDoubleClick(int x, int y) override;
  void MouseDrag(int fromX, int fromY, int toX, int toY) override;
  const char* Kind() const override { return "edit"; }

 protected:
  // Whether the operator may change the text now.
  virtual bool CanType() const { return !readOnly_; }
  // Takes one typed character (not a control character); returns whether
  // it was accepted.
  virtual bool TypeChar(const std::string& ch);
  virtual void BackSpace();
  virtual void DeleteForward();
  // The text as it would be without the selection (what a typed
  // character goes into).
  std::string TextWithoutSelection() const;
  // The caret's place once the text was set by code (its end).
  virtual int EndCaret() const;
  // Stores a new text: records the change and runs Change() when it
  // differs; the caret goes to EndCaret().
  void StoreText(std::string text);
  // Replaces the characters [start, end) of the text with `with` and
  // puts the caret after it (a typed or deleted character).
  void ReplaceRange(int start, int end, const std::string& with);
  // Runs OnChange.
  virtual void Change();
  std::string ApplyCase(std::string_view text) const;
  void DoEnter() override;
  void DoExit() override;

 private:
  std::string text_;
  int maxLength_ = 0;
  bool readOnly_ = false;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  int anchor_ = 0, caret_ = 0;
  void MoveCaret(TKey key, TShiftState shift);
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

}  // namespace fw
