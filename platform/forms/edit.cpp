#include "forms/edit.h"

#include <algorithm>

#include "base/text_case.h"
#include "forms/text_input.h"

namespace fw {

TCustomEdit::TCustomEdit(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetText(std::string_view text) {
  allSelected_ = false;
  StoreText(ApplyCase(text));
}

void TCustomEdit::SetMaxLength(int maxLength) {
  maxLength = std::max(0, maxLength);
  if (maxLength == maxLength_) return;
  maxLength_ = maxLength;
  Changed();
}

void TCustomEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed();
}

void TCustomEdit::SetCharCase(TEditCharCase charCase) {
  if (charCase == charCase_) return;
  charCase_ = charCase;
  Changed();
  StoreText(ApplyCase(text_));
}

std::string TCustomEdit::ApplyCase(std::string_view text) const {
  switch (charCase_) {
    case TEditCharCase::ecUpperCase: return UpperCase(text);
    case TEditCharCase::ecLowerCase: return LowerCase(text);
    default: return std::string(text);
  }
}

void TCustomEdit::SelectAll() {
  if (allSelected_ || text_.empty()) return;
  allSelected_ = true;
  Changed();
}

void TCustomEdit::ClearSelection() {
  if (!allSelected_) return;
  allSelected_ = false;
  Changed();
}

void TCustomEdit::StoreText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  if (text_.empty()) allSelected_ = false;
  Changed();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) {
    TNotifyEvent handler = OnChange;
    handler(*this);
  }
}

bool TCustomEdit::TypeChar(const std::string& ch) {
  std::string base = allSelected_ ? std::string() : text_;
  if (maxLength_ > 0 && static_cast<int>(SplitChars(base).size()) >= maxLength_) return false;
  allSelected_ = false;
  StoreText(base + ApplyCase(ch));
  return true;
}

void TCustomEdit::BackSpace() {
  std::string text = allSelected_ ? std::string() : text_;
  if (!allSelected_) PopLastChar(text);
  allSelected_ = false;
  StoreText(std::move(text));
}

void TCustomEdit::KeyPress(std::string& key) {
  if (!AcceptsInput(*this)) return;
  if (std::vector<std::string> chars = SplitChars(key); chars.size() > 1) {
    // Several characters sent at once are several key presses.
    key.clear();
    for (std::string& ch : chars) {
      KeyPress(ch);
      key += ch;
    }
    return;
  }
  TControl::KeyPress(key);
  if (key.empty() || IsControlChar(key) || !CanType()) return;
  for (const std::string& ch : SplitChars(key)) TypeChar(ch);  // a refused one is skipped
}

std::string TCustomEdit::EditText() const {
  return PasswordChar ? std::string(Utf8Length(text_), PasswordChar) : text_;
}

void TCustomEdit::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key == VK_BACK && CanType()) BackSpace();
}

void TCustomEdit::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  ClearSelection();  // a click places the caret: nothing stays selected
  Click();
}

void TCustomEdit::DoEnter() {
  if (AutoSelect) SelectAll();
  TControl::DoEnter();
}

void TCustomEdit::DoExit() {
  TControl::DoExit();
  ClearSelection();
}

}  // namespace fw
