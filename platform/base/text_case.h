// Case folding and comparison of UTF-8 text as the operators' locale sees
// it: ASCII letters and the accented Latin letters (à..þ / À..Þ, such as
// "ç", "ã", "é") are folded; every other byte is left as it is.
// Pure and thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fw {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Equal ignoring case.
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 ignoring case.
int CompareText(std::string_view a, std::string_view b);
// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);
// The length of the well-formed sequence of two to four bytes that starts
// at `at` (a byte of 0x80 or more), or 0 when there is none.
size_t Utf8SequenceAt(std::string_view text, size_t at);
// Number of characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view text);

}  // namespace fw
