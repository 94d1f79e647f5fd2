// TCustomEdit and TEdit: a one-line text box.
//
// Text is what the box holds. OnChange runs after every change of the
// text, typed or set by code (setting the text it already holds changes
// nothing and runs nothing). CharCase converts typed and set text alike.
//
// The operator types through KeyPress (one character appended at the end,
// or replacing the whole text while it is selected) and KeyDown VK_BACK
// (removes the last character, or the whole text while selected). Entering
// the box selects the whole text when AutoSelect is on, as tabbing into a
// box does on the desktop; the next typed character replaces it. Typing is
// refused (silently, the text stays) when the box is read-only, hidden or
// disabled, for control characters, and for a character beyond MaxLength
// (counted in characters; 0 is no limit). Text set by code is not cut to
// MaxLength. OnKeyDown and OnKeyPress run first and may consume the key.
// A KeyPress of several characters types them one by one. With a
// PasswordChar the box shows that character once per character of the
// text (EditText); Text stays the real text.
//
// Subclasses (masked, spin and data-aware edits) refine what a typed
// character does through TypeChar/BackSpace and what may be typed through
// CanType. Ownership as TComponent; user-interface thread only. Raises
// only what OnChange raises (the text is already changed then).
#pragma once

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

  // Selection: only "all of it" or nothing.
  bool AllSelected() const { return allSelected_; }
  void SelectAll();
  void ClearSelection();
  void Clear() { SetText(""); }

  bool AcceptsFocus() const override { return true; }
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;
  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "edit"; }

 protected:
  // Whether the operator may change the text now.
  virtual bool CanType() const { return !readOnly_; }
  // Takes one typed character (not a control character); returns whether
  // it was accepted.
  virtual bool TypeChar(const std::string& ch);
  virtual void BackSpace();
  // Stores a new text: records the change and runs Change() when it differs.
  void StoreText(std::string text);
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
  bool allSelected_ = false;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

}  // namespace fw
