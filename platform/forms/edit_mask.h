// TEditMask: an edit mask read once, for typing into a masked edit.
//
// A mask is "picture;keep;blank" as FormatMaskText reads it (see
// text/format_mask.h): data positions "9" and "0" (digit), "#" (digit, "+",
// "-"), "a" and "A" (letter or digit), "l" and "L" (letter), "c" and "C"
// (any character); upper-case kinds are required positions; ">" forces
// upper case from there on, "<" lower case, "<>" neither; "\" makes the
// next character literal; anything else is a literal. keep "0" means the
// text holds the data characters only, "1" that it holds the literals too;
// blank is the character shown in an unfilled position.
//
// The content of a masked edit is one cell per data position, each a
// character or empty. Layout gives what the box shows; TextOf the text the
// edit yields; Parse the cells for a text set by code. For cells filled
// from the start, Layout equals FormatMaskText(mask, TextOf(cells)).
// Value type; pure and thread-safe. The constructor raises EConvertError
// for a mask FormatMaskText cannot read; Parse raises EConvertError, in
// Portuguese, for a text that does not fit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TEditMask {
 public:
  using Cells = std::vector<std::string>;  // "" is an unfilled position

  TEditMask() = default;
  explicit TEditMask(std::string_view mask);

  const std::string& Mask() const { return mask_; }
  bool Empty() const { return mask_.empty(); }
  int DataCount() const { return static_cast<int>(positions_.size()); }
  bool KeepLiterals() const { return keepLiterals_; }
  const std::string& Blank() const { return blank_; }
  bool Required(int position) const;
  // What the box shows has one character per item (data position or
  // literal): the item a data position is, and the data position an item
  // is (-1 for a literal).
  int ItemCount() const { return static_cast<int>(items_.size()); }
  int ItemOf(int position) const { return positions_.at(position); }
  int PositionOf(int item) const;

  // The character as stored at the data position (case applied), or
  // nothing when it does not fit there.
  std::optional<std::string> Fit(int position, std::string_view ch) const;
  // What the box shows: literals, filled cells and the blank elsewhere.
  std::string Layout(const Cells& cells) const;
  // The text: cells up to the last filled one (an empty inner cell as a
  // space), with the literals between them when the mask keeps literals.
  // "" when no cell is filled.
  std::string TextOf(const Cells& cells) const;
  // Cells for a text set by code. A blank character (or a space in a
  // position that is not "c"/"C") leaves its cell empty.
  Cells Parse(std::string_view text) const;

 private:
  enum class CaseMode { kKeep, kUpper, kLower };
  struct Item {
    bool data = false;
    char kind = 0;        // data positions
    CaseMode mode = CaseMode::kKeep;
    std::string literal;  // literals
  };
  void Read(std::string_view picture);

  std::string mask_;
  std::vector<Item> items_;
  std::vector<int> positions_;  // index in items_ of each data position
  bool keepLiterals_ = true;
  std::string blank_ = "_";
};

}  // namespace fw
