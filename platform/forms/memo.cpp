#include "forms/memo.h"

#include "base/text_case.h"
#include "forms/rich_text.h"
#include "forms/text_input.h"

namespace fw {

TMemo::TMemo(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetColor(clWindow);
  SetBounds(0, 0, 185, 89);
  Lines.OnChange = [this] { LinesChanged(); };
}

void TMemo::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed();
}

void TMemo::LinesChanged() {
  Changed();
  if (OnChange) {
    TNotifyEvent handler = OnChange;
    handler(*this);
  }
}

void TMemo::KeyPress(std::string& key) {
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
  if (key.empty() || !CanType()) return;
  for (const std::string& ch : SplitChars(key)) TypeChar(ch);
}

void TMemo::TypeChar(const std::string& ch) {
  std::vector<std::string> lines = Lines.Lines();
  if (ch == "\r" || ch == "\n") {
    lines.emplace_back();
  } else if (IsControlChar(ch)) {
    return;
  } else {
    size_t count = 0;
    for (const std::string& line : lines) count += Utf8Length(line);
    if (MaxLength > 0 && count >= static_cast<size_t>(MaxLength)) return;
    if (lines.empty()) lines.emplace_back();
    lines.back() += ch;
  }
  StoreLines(std::move(lines));
}

void TMemo::StoreLines(std::vector<std::string> lines) {
  TStrings next;
  for (std::string& line : lines) next.Add(std::move(line));
  Lines = next;
}

void TMemo::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key != VK_BACK || !CanType() || Lines.Count() == 0) return;
  std::vector<std::string> lines = Lines.Lines();
  if (lines.back().empty()) lines.pop_back();
  else PopLastChar(lines.back());
  StoreLines(std::move(lines));
}

void TMemo::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  Click();
}

TRichEdit::TRichEdit(TComponent* owner) : TMemo(owner) {}

void TRichEdit::SetRichText(std::string_view document) {
  SetText(PlainText ? std::string(document) : RtfToPlainText(document));
}

}  // namespace fw
