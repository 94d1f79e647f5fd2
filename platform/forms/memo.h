// TMemo and TRichEdit: multi-line text boxes.
//
// Lines holds the text, one entry per line; Text joins them with "\n".
// OnChange runs after every change of the lines, by code or typed. The
// operator types at the end of the last line (Enter starts a new line;
// Backspace removes the last character, or the last line when it is
// empty); typing is refused when read-only, hidden or disabled, and
// beyond MaxLength characters (line breaks not counted; 0 no limit).
// TRichEdit also takes a rich-text document (SetRichText) and shows its
// plain text (see rich_text.h); with PlainText set it shows the document's
// text as it is.
// Ownership as TComponent; user-interface thread only; raises only what
// OnChange raises.
#pragma once

#include "base/strings.h"
#include "forms/control.h"

namespace fw {

class TMemo : public TControl {
 public:
  explicit TMemo(TComponent* owner);

  TStrings Lines;
  std::string Text() const { return Lines.Text(); }
  void SetText(std::string_view text) { Lines.SetText(text); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool WordWrap = true;
  int MaxLength = 0;
  TNotifyEvent OnChange;

  bool AcceptsFocus() const override { return true; }
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;
  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "memo"; }

 protected:
  virtual bool CanType() const { return !readOnly_; }

 private:
  void TypeChar(const std::string& ch);
  void StoreLines(std::vector<std::string> lines);
  void LinesChanged();
  bool readOnly_ = false;
};

class TRichEdit : public TMemo {
 public:
  explicit TRichEdit(TComponent* owner);

  bool PlainText = false;
  // Shows a rich-text document (or a plain text) as lines.
  void SetRichText(std::string_view document);

  const char* Kind() const override { return "richedit"; }
};

}  // namespace fw
