// Edit masks: laying a stored value into a mask for display.
//
// A mask is "picture;keep;blank": the picture, whether literals are kept in
// the stored value ("1", the default) or not ("0"), and the character shown
// for an unfilled position (default "_"). Picture characters: ">" upper
// case from here on, "<" lower case, "<>" no case change, "!" ignored,
// data positions "9" "0" "#" "a" "A" "L" "l" "C" "c", "\" makes the next
// character literal, anything else is a literal.
// FormatMaskText(mask, value) fills the value, one UTF-8 character per data
// position, into the picture and returns the text shown. When literals are
// not kept the value holds only the data characters; when they are kept, a
// literal of the picture found at the current place of the value is
// skipped there. Positions left once the value runs out show the blank
// character (literals are still written); characters beyond the picture
// are dropped; an empty value gives "". Display only: the value is not
// checked against the kind of each position. Pure and thread-safe; a mask
// it cannot read (empty picture, trailing lone "\", keep other than 0/1,
// blank longer than one character, more than three sections) raises
// EConvertError.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::string FormatMaskText(std::string_view editMask, std::string_view value);

}  // namespace fw
