#include "forms/edit.h"

#include <algorithm>

#include "base/text_case.h"
#include "forms/canvas.h"
#include "forms/text_input.h"

namespace fw {

TCustomEdit::TCustomEdit(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetText(std::string_view text) { StoreText(ApplyCase(text)); }

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

namespace {

int Length(const std::string& text) { return static_cast<int>(SplitChars(text).size()); }

std::string Join(const std::vector<std::string>& chars, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to && i < chars.size(); ++i) out += chars[i];
  return out;
}

bool IsWordChar(const std::string& ch) { return IsLetterChar(ch) || IsDigitChar(ch) || ch == "_"; }

// The place a Ctrl+arrow reaches: the start of the next word, or of the
// word before.
int WordStep(const std::vector<std::string>& chars, int from, bool forward) {
  int n = static_cast<int>(chars.size());
  int i = from;
  if (forward) {
    while (i < n && IsWordChar(chars[i])) ++i;
    while (i < n && !IsWordChar(chars[i])) ++i;
  } else {
    while (i > 0 && !IsWordChar(chars[i - 1])) --i;
    while (i > 0 && IsWordChar(chars[i - 1])) --i;
  }
  return i;
}

}  // namespace

void TCustomEdit::SetSel(int anchor, int caret) {
  int n = Length(EditText());
  anchor = std::clamp(anchor, 0, n);
  caret = std::clamp(caret, 0, n);
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  Changed();
}

std::string TCustomEdit::SelText() const {
  std::vector<std::string> chars = SplitChars(EditText());
  return Join(chars, SelStart(), SelStart() + SelLength());
}

bool TCustomEdit::AllSelected() const {
  return !text_.empty() && SelStart() == 0 && SelLength() > 0 && SelLength() == Length(EditText());
}

void TCustomEdit::SelectAll() {
  if (text_.empty()) return;
  SetSel(0, Length(EditText()));
}

void TCustomEdit::ClearSelection() { SetSel(caret_, caret_); }

int TCustomEdit::EndCaret() const { return Length(EditText()); }

int TCustomEdit::TextLeft() const { return 3; }

int TCustomEdit::CharIndexAt(int x) const {
  std::vector<std::string> chars = SplitChars(EditText());
  int offset = x - TextLeft();
  std::string prefix;
  int previous = 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    prefix += chars[i];
    int width = MeasureText(Font(), prefix);
    if (offset < (previous + width + 1) / 2) return static_cast<int>(i);
    previous = width;
  }
  return static_cast<int>(chars.size());
}

void TCustomEdit::StoreText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  anchor_ = caret_ = EndCaret();
  Changed();
  Change();
}

void TCustomEdit::ReplaceRange(int start, int end, const std::string& with) {
  std::vector<std::string> chars = SplitChars(text_);
  std::string next = Join(chars, 0, start) + with + Join(chars, end, chars.size());
  StoreText(next);
  // A handler that set another text keeps its caret (at the end).
  if (text_ == next) SetSel(start + Length(with), start + Length(with));
}

std::string TCustomEdit::TextWithoutSelection() const {
  std::vector<std::string> chars = SplitChars(text_);
  return Join(chars, 0, SelStart()) + Join(chars, SelStart() + SelLength(), chars.size());
}

void TCustomEdit::Change() {
  if (OnChange) {
    TNotifyEvent handler = OnChange;
    handler(*this);
  }
}

bool TCustomEdit::TypeChar(const std::string& ch) {
  if (maxLength_ > 0 && Length(TextWithoutSelection()) >= maxLength_) return false;
  ReplaceRange(SelStart(), SelStart() + SelLength(), ApplyCase(ch));
  return true;
}

void TCustomEdit::BackSpace() {
  if (SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), "");
  else if (caret_ > 0) ReplaceRange(caret_ - 1, caret_, "");
}

void TCustomEdit::DeleteForward() {
  if (SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), "");
  else if (caret_ < Length(text_)) ReplaceRange(caret_, caret_ + 1, "");
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

void TCustomEdit::MoveCaret(TKey key, TShiftState shift) {
  std::vector<std::string> chars = SplitChars(EditText());
  int n = static_cast<int>(chars.size());
  int to = caret_;
  bool words = (shift & ssCtrl) != 0;
  if (key == VK_HOME) to = 0;
  else if (key == VK_END) to = n;
  else if (!(shift & ssShift) && SelLength() > 0 && !words)
    to = key == VK_LEFT ? SelStart() : SelStart() + SelLength();  // an arrow ends a selection at its side
  else if (words) to = WordStep(chars, caret_, key == VK_RIGHT);
  else to = std::clamp(caret_ + (key == VK_RIGHT ? 1 : -1), 0, n);
  SetSel((shift & ssShift) ? anchor_ : to, to);
}

void TCustomEdit::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  const bool ctrlOnly = (shift & (ssCtrl | ssAlt)) == ssCtrl;
  if (key == VK_BACK && CanType()) BackSpace();
  else if (key == VK_DELETE && !(shift & (ssCtrl | ssAlt)) && CanType()) DeleteForward();
  else if (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END) MoveCaret(key, shift);
  else if (key == 'A' && ctrlOnly) SelectAll();
  else if (key == 'X' && ctrlOnly && CanType() && SelLength() > 0) BackSpace();
}

void TCustomEdit::MouseClick(int x, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  int at = ClickPlace(x);  // a click places the caret: nothing stays selected
  SetSel(at, at);
  Click();
}

void TCustomEdit::MouseDoubleClick(int x, int) {
  if (!AcceptsInput(*this) || !Focused()) return;
  std::vector<std::string> chars = SplitChars(EditText());
  int at = std::min(CharIndexAt(x), static_cast<int>(chars.size()));
  int n = static_cast<int>(chars.size());
  bool word = at < n ? IsWordChar(chars[at]) : at > 0 && IsWordChar(chars[at - 1]);
  if (at == n && at > 0) --at;
  int start = at, end = at;
  auto same = [&](int i) { return IsWordChar(chars[i]) == word; };
  while (start > 0 && same(start - 1)) --start;
  while (end < n && same(end)) ++end;
  SetSel(start, end);
}

void TCustomEdit::MouseDrag(int fromX, int, int toX, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  if (Focused()) SetSel(CharIndexAt(fromX), CharIndexAt(toX));
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
