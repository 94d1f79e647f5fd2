// Character handling shared by the controls that take typed text.
//
// Texts are UTF-8; one typed character may be several bytes ("ç"). Letters
// are the ASCII letters and the accented Latin letters the operators type
// (À..þ without × and ÷). Pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TControl;

// The text split into its characters.
std::vector<std::string> SplitChars(std::string_view text);
// Removes the last character (all its bytes); nothing for an empty text.
void PopLastChar(std::string& text);
// Whether text is exactly one character.
bool IsSingleChar(std::string_view text);
bool IsDigitChar(std::string_view ch);
bool IsLetterChar(std::string_view ch);
// A control character (below the space): Enter, Backspace, Escape, Tab.
bool IsControlChar(std::string_view ch);

// Whether the operator can reach the control: shown and usable. Input the
// operator gives a control that is hidden or disabled is ignored.
bool AcceptsInput(const TControl& control);
// Before acting on the operator's click: moves the focus to the control
// when it takes the focus and does not have it. An exception from the
// exit handler of the control that had the focus passes on, and the click
// does not happen.
void FocusForInput(TControl& control);

}  // namespace fw
