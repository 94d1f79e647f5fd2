#include "base/text_case.h"

namespace fw {
namespace {

// Latin-1 supplement letters are encoded as 0xC3 followed by 0x80..0xBF;
// upper case 0x80..0x9E (but 0x97, the multiplication sign) pairs with the
// lower case byte + 0x20 (but 0xB7, the division sign).
std::string FoldCase(std::string_view text, bool upper) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c < 0x80) {
      if (upper && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 32);
      if (!upper && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      unsigned char d = static_cast<unsigned char>(out[i + 1]);
      if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7) out[i + 1] = static_cast<char>(d - 0x20);
      if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97) out[i + 1] = static_cast<char>(d + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) { return FoldCase(text, true); }
std::string LowerCase(std::string_view text) { return FoldCase(text, false); }

namespace {

// The bytes of FoldCase(text, true), one at a time, without making it:
// -1 after the last.
class TUpperBytes {
 public:
  explicit TUpperBytes(std::string_view text) : text_(text) {}
  int Next() {
    if (at_ >= text_.size()) return -1;
    unsigned char c = static_cast<unsigned char>(text_[at_++]);
    if (latin_) {  // the byte after 0xC3
      latin_ = false;
      return c >= 0xA0 && c <= 0xBE && c != 0xB7 ? c - 0x20 : c;
    }
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
    latin_ = c == 0xC3 && at_ < text_.size();
    return c;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
  bool latin_ = false;
};

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Walks the bytes while they are plain ASCII, where only the letters
  // have a case (most names differ in their first bytes, or not at all);
  // the rest of the texts goes to CompareText.
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x == y && x < 0x80) continue;
    // From the first byte that is not ASCII (none before it can start a
    // two-byte letter) CompareText takes over.
    if (x >= 0x80 || y >= 0x80) return CompareText(a.substr(i), b.substr(i)) == 0;
    unsigned lower = x | 0x20;
    if (lower != (y | 0x20u) || lower < 'a' || lower > 'z') return false;
  }
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  TUpperBytes ua(a), ub(b);
  for (;;) {
    int x = ua.Next(), y = ub.Next();
    if (x != y) return x < y ? -1 : 1;
    if (x < 0) return 0;
  }
}

size_t Utf8SequenceAt(std::string_view text, size_t at) {
  unsigned char c = static_cast<unsigned char>(text[at]);
  int extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (extra < 0 || (extra == 1 && c < 0xC2) || at + extra >= text.size()) return 0;
  unsigned cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char d = static_cast<unsigned char>(text[at + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
      (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
    return 0;
  return extra + 1;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
    } else if (size_t n = Utf8SequenceAt(text, i)) {
      i += n;
    } else {
      return false;
    }
  }
  return true;
}

size_t Utf8Length(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace fw
