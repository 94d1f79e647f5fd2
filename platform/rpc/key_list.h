// Key lists: the one text form in which a pick list hands the keys the
// operator picked to the filter, and the application server reads them.
//
// Each key is written between single quotes, keys are separated by commas,
// and a quote inside a key is written twice:
//     keys 0001, 0002, D'AVILA  ->  '0001','0002','D''AVILA'
// An empty list is the empty text. Every key without a quote stands
// verbatim in the text, so a substring search for a key finds it.
//
// SplitKeyList reads the form back (blanks around the commas are allowed)
// and raises EConvertError naming the position for any other text.
// Pure and thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

std::string JoinKeyList(const std::vector<std::string>& keys);
std::vector<std::string> SplitKeyList(std::string_view text);

}  // namespace fw
