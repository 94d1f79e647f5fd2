// Laying a stored value into an edit mask for display.
//
// The value is UTF-8: each data position of the picture takes one whole
// character, so "ç" or "ã" fill a single position. Case directives convert
// ASCII letters and the accented letters of Latin-1 (à-þ / À-Þ).
#include "text/format_mask.h"

#include <string>
#include <string_view>

#include "base/errors.h"

namespace fw {
namespace {

struct MaskParts {
  std::string_view picture;
  bool keep_literals = true;
  std::string_view blank = "_";
};

[[noreturn]] void ThrowBadMask(std::string_view mask, const char* reason) {
  throw EConvertError("Máscara de edição inválida: '" + std::string(mask) + "' (" + reason + ").");
}

// Byte length of the UTF-8 character at `pos` (1 for a stray byte).
size_t CharLength(std::string_view text, size_t pos) {
  unsigned char lead = static_cast<unsigned char>(text[pos]);
  size_t length = lead >= 0xF0 && lead <= 0xF7 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, text.size() - pos);
}

std::string_view CharAt(std::string_view text, size_t pos) {
  return text.substr(pos, CharLength(text, pos));
}

// Splits "picture;keep;blank" at the ";" not escaped by "\".
MaskParts SplitMask(std::string_view mask) {
  size_t separators[2];
  size_t count = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\') {
      if (i + 1 == mask.size()) ThrowBadMask(mask, "termina com '\\' sem caractere a seguir");
      ++i;
    } else if (mask[i] == ';') {
      if (count == 2) ThrowBadMask(mask, "mais de três seções");
      separators[count++] = i;
    }
  }
  MaskParts parts;
  parts.picture = mask.substr(0, count > 0 ? separators[0] : mask.size());
  if (parts.picture.empty()) ThrowBadMask(mask, "formato vazio");
  if (count >= 1) {
    size_t end = count == 2 ? separators[1] : mask.size();
    std::string_view keep = mask.substr(separators[0] + 1, end - separators[0] - 1);
    if (keep == "0") {
      parts.keep_literals = false;
    } else if (!keep.empty() && keep != "1") {
      ThrowBadMask(mask, "a segunda seção deve ser 0 ou 1");
    }
  }
  if (count == 2) {
    std::string_view blank = mask.substr(separators[1] + 1);
    if (!blank.empty()) {
      if (CharLength(blank, 0) != blank.size()) {
        ThrowBadMask(mask, "a terceira seção deve ser um único caractere");
      }
      parts.blank = blank;
    }
  }
  return parts;
}

// Picture characters that take a character of the value.
bool IsDataPosition(char c) {
  return std::string_view("09#AaLlCc").find(c) != std::string_view::npos;
}

enum class CaseMode { kKeep, kUpper, kLower };

std::string ApplyCase(std::string_view ch, CaseMode mode) {
  std::string out(ch);
  if (mode == CaseMode::kKeep) return out;
  const bool upper = mode == CaseMode::kUpper;
  if (out.size() == 1) {
    char c = out[0];
    if (upper && c >= 'a' && c <= 'z') out[0] = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') out[0] = static_cast<char>(c - 'A' + 'a');
  } else if (out.size() == 2 && static_cast<unsigned char>(out[0]) == 0xC3) {
    // Latin-1 letters U+00C0..U+00DE <-> U+00E0..U+00FE, except × and ÷.
    unsigned char c = static_cast<unsigned char>(out[1]);
    if (upper && c >= 0xA0 && c <= 0xBE && c != 0xB7) out[1] = static_cast<char>(c - 0x20);
    if (!upper && c >= 0x80 && c <= 0x9E && c != 0x97) out[1] = static_cast<char>(c + 0x20);
  }
  return out;
}

}  // namespace

std::string FormatMaskText(std::string_view editMask, std::string_view value) {
  const MaskParts parts = SplitMask(editMask);
  if (value.empty()) return "";
  const std::string_view picture = parts.picture;
  std::string out;
  size_t next = 0;  // next unread byte of the value
  CaseMode mode = CaseMode::kKeep;
  auto write_literal = [&](std::string_view literal) {
    out += literal;
    // A stored value that keeps literals carries them: step over them.
    if (parts.keep_literals && value.substr(next).starts_with(literal)) next += literal.size();
  };
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '>') {
      mode = CaseMode::kUpper;
      ++i;
    } else if (c == '<') {
      const bool reset = i + 1 < picture.size() && picture[i + 1] == '>';
      mode = reset ? CaseMode::kKeep : CaseMode::kLower;
      i += reset ? 2 : 1;
    } else if (c == '!') {
      ++i;  // blank-trimming directive: no effect on the text shown
    } else if (c == '\\') {
      std::string_view literal = CharAt(picture, i + 1);  // present: checked by SplitMask
      write_literal(literal);
      i += 1 + literal.size();
    } else if (IsDataPosition(c)) {
      if (next < value.size()) {
        std::string_view ch = CharAt(value, next);
        out += ApplyCase(ch, mode);
        next += ch.size();
      } else {
        out += parts.blank;
      }
      ++i;
    } else {
      std::string_view literal = CharAt(picture, i);
      write_literal(literal);
      i += literal.size();
    }
  }
  return out;
}

}  // namespace fw
