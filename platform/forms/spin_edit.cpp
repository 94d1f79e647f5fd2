#include "forms/spin_edit.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "forms/text_input.h"

namespace fw {

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { StoreText("0"); }

bool TSpinEdit::ReadNumber(long long& value) const {
  const std::string& text = Text();
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return false;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last;
}

int TSpinEdit::CheckValue(int value) const {
  if (MinValue < MaxValue) return std::clamp(value, MinValue, MaxValue);
  return value;
}

int TSpinEdit::Value() const {
  long long value = 0;
  if (!ReadNumber(value)) return CheckValue(MinValue);
  value = std::clamp<long long>(value, INT_MIN, INT_MAX);
  return CheckValue(static_cast<int>(value));
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(CheckValue(value))); }

bool TSpinEdit::TypeChar(const std::string& ch) {
  bool sign = ch == "-" && MinValue < 0 && SelStart() == 0 &&
              TextWithoutSelection().find('-') == std::string::npos;
  if (!IsDigitChar(ch) && !sign) return false;
  return TCustomEdit::TypeChar(ch);
}

void TSpinEdit::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  if (key != VK_UP && key != VK_DOWN) {
    TCustomEdit::KeyDown(key, shift);
    return;
  }
  TControl::KeyDown(key, shift);
  if (!CanType() || (key != VK_UP && key != VK_DOWN)) return;
  long long step = key == VK_UP ? Increment : -static_cast<long long>(Increment);
  long long next = std::clamp<long long>(Value() + step, INT_MIN, INT_MAX);
  SetValue(static_cast<int>(next));
}

void TSpinEdit::DoExit() {
  TCustomEdit::DoExit();
  long long value = 0;
  if (!ReadNumber(value)) return;
  bool outside = value < INT_MIN || value > INT_MAX || CheckValue(static_cast<int>(value)) != value;
  if (outside) SetValue(Value());
}

}  // namespace fw
