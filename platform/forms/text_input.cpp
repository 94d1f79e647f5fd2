#include "forms/text_input.h"

#include <algorithm>

#include "forms/control.h"

namespace fw {
namespace {

size_t CharLength(std::string_view text, size_t pos) {
  unsigned char lead = static_cast<unsigned char>(text[pos]);
  size_t length = lead >= 0xF0 && lead <= 0xF7 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, text.size() - pos);
}

}  // namespace

std::vector<std::string> SplitChars(std::string_view text) {
  std::vector<std::string> chars;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = CharLength(text, pos);
    chars.emplace_back(text.substr(pos, length));
    pos += length;
  }
  return chars;
}

void PopLastChar(std::string& text) {
  if (text.empty()) return;
  size_t pos = text.size() - 1;
  // Step back over continuation bytes to the lead byte.
  while (pos > 0 && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) --pos;
  text.erase(pos);
}

bool IsSingleChar(std::string_view text) {
  return !text.empty() && CharLength(text, 0) == text.size();
}

bool IsDigitChar(std::string_view ch) { return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9'; }

bool IsLetterChar(std::string_view ch) {
  if (ch.size() == 1) return (ch[0] >= 'a' && ch[0] <= 'z') || (ch[0] >= 'A' && ch[0] <= 'Z');
  if (ch.size() != 2 || static_cast<unsigned char>(ch[0]) != 0xC3) return false;
  unsigned char c = static_cast<unsigned char>(ch[1]);
  return c >= 0x80 && c <= 0xBF && c != 0x97 && c != 0xB7;  // U+00C0..U+00FF but × and ÷
}

bool IsControlChar(std::string_view ch) {
  return ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x20;
}

bool AcceptsInput(const TControl& control) { return control.Showing() && control.Usable(); }

void FocusForInput(TControl& control) {
  if (control.CanFocus() && !control.Focused()) control.SetFocus();
}

}  // namespace fw
