#include "forms/edit_mask.h"

#include "base/errors.h"
#include "base/text_case.h"
#include "forms/text_input.h"
#include "text/format_mask.h"

namespace fw {
namespace {

// Splits off the picture and the two optional sections; the mask is
// already known to be readable.
void SplitSections(std::string_view mask, std::string_view& picture, std::string_view& keep,
                   std::string_view& blank) {
  std::vector<size_t> separators;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\') ++i;
    else if (mask[i] == ';') separators.push_back(i);
  }
  picture = mask.substr(0, separators.empty() ? mask.size() : separators[0]);
  keep = blank = {};
  if (separators.size() >= 1) {
    size_t end = separators.size() == 2 ? separators[1] : mask.size();
    keep = mask.substr(separators[0] + 1, end - separators[0] - 1);
  }
  if (separators.size() == 2) blank = mask.substr(separators[1] + 1);
}

bool IsDataKind(char c) { return std::string_view("09#AaLlCc").find(c) != std::string_view::npos; }

}  // namespace

TEditMask::TEditMask(std::string_view mask) : mask_(mask) {
  if (mask.empty()) return;
  FormatMaskText(mask, "");  // raises EConvertError for a mask it cannot read
  std::string_view picture, keep, blank;
  SplitSections(mask, picture, keep, blank);
  keepLiterals_ = keep != "0";
  if (!blank.empty()) blank_ = std::string(blank);
  Read(picture);
}

void TEditMask::Read(std::string_view picture) {
  CaseMode mode = CaseMode::kKeep;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '>') {
      mode = CaseMode::kUpper;
      ++i;
    } else if (c == '<') {
      bool reset = i + 1 < picture.size() && picture[i + 1] == '>';
      mode = reset ? CaseMode::kKeep : CaseMode::kLower;
      i += reset ? 2 : 1;
    } else if (c == '!') {
      ++i;
    } else if (IsDataKind(c)) {
      positions_.push_back(static_cast<int>(items_.size()));
      items_.push_back({true, c, mode, {}});
      ++i;
    } else {
      if (c == '\\') ++i;
      std::string literal = SplitChars(picture.substr(i)).front();
      items_.push_back({false, 0, mode, literal});
      i += literal.size();
    }
  }
}

bool TEditMask::Required(int position) const {
  char kind = items_.at(positions_.at(position)).kind;
  return kind == '0' || kind == 'A' || kind == 'L' || kind == 'C';
}

std::optional<std::string> TEditMask::Fit(int position, std::string_view ch) const {
  if (position < 0 || position >= DataCount() || !IsSingleChar(ch) || IsControlChar(ch))
    return std::nullopt;
  const Item& item = items_[positions_[position]];
  bool fits = false;
  switch (item.kind) {
    case '9': case '0': fits = IsDigitChar(ch); break;
    case '#': fits = IsDigitChar(ch) || ch == "+" || ch == "-"; break;
    case 'a': case 'A': fits = IsDigitChar(ch) || IsLetterChar(ch); break;
    case 'l': case 'L': fits = IsLetterChar(ch); break;
    default: fits = true; break;  // 'c', 'C'
  }
  if (!fits) return std::nullopt;
  if (item.mode == CaseMode::kUpper) return UpperCase(ch);
  if (item.mode == CaseMode::kLower) return LowerCase(ch);
  return std::string(ch);
}

int TEditMask::PositionOf(int item) const {
  for (int p = 0; p < DataCount(); ++p)
    if (positions_[p] == item) return p;
  return -1;
}

std::string TEditMask::Layout(const Cells& cells) const {
  std::string out;
  size_t next = 0;
  for (const Item& item : items_) {
    if (!item.data) {
      out += item.literal;
      continue;
    }
    const std::string& cell = next < cells.size() ? cells[next] : std::string();
    out += cell.empty() ? blank_ : cell;
    ++next;
  }
  return out;
}

std::string TEditMask::TextOf(const Cells& cells) const {
  int last = -1;
  for (int i = 0; i < static_cast<int>(cells.size()) && i < DataCount(); ++i)
    if (!cells[i].empty()) last = i;
  if (last < 0) return "";
  std::string out;
  int position = 0;
  for (const Item& item : items_) {
    if (position > last) break;
    if (!item.data) {
      if (keepLiterals_) out += item.literal;
      continue;
    }
    const std::string& cell = cells[position++];
    out += cell.empty() ? (keepLiterals_ ? blank_ : std::string(" ")) : cell;
  }
  return out;
}

TEditMask::Cells TEditMask::Parse(std::string_view text) const {
  Cells cells(DataCount());
  std::vector<std::string> chars = SplitChars(text);
  size_t next = 0;
  int position = 0;
  for (const Item& item : items_) {
    if (next >= chars.size()) break;
    if (!item.data) {
      if (keepLiterals_ && chars[next] == item.literal) ++next;
      continue;
    }
    const std::string& ch = chars[next++];
    bool anyChar = item.kind == 'c' || item.kind == 'C';
    if (ch == blank_ || (ch == " " && !anyChar)) {
      ++position;
      continue;
    }
    std::optional<std::string> fitted = Fit(position, ch);
    if (!fitted)
      throw EConvertError("O caractere '" + ch + "' de '" + std::string(text) +
                          "' não é aceito pela máscara '" + mask_ + "'.");
    cells[position++] = *fitted;
  }
  if (next < chars.size())
    throw EConvertError("O texto '" + std::string(text) + "' é maior que a máscara '" + mask_ +
                        "' permite.");
  return cells;
}

}  // namespace fw
