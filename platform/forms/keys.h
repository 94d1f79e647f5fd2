// Virtual keys and the shift state that key events carry.
#pragma once

#include <string>

namespace fw {

using TKey = unsigned short;

constexpr TKey VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32,
               VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
               VK_RIGHT = 39, VK_DOWN = 40, VK_DELETE = 46, VK_F1 = 112, VK_F9 = 120;

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

// A menu shortcut: a key with its shift state ("Ctrl+L" is 'L' + ssCtrl).
struct TShortCut {
  TKey Key = 0;
  TShiftState Shift = 0;
  bool operator==(const TShortCut&) const = default;
  bool Empty() const { return Key == 0; }
};

// "Ctrl+L" -> {'L', ssCtrl}; "F9" -> {VK_F9, 0}; "" -> empty.
TShortCut TextToShortCut(const std::string& text);
std::string ShortCutToText(TShortCut shortCut);

}  // namespace fw
