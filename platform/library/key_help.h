// The keys of a screen, as its "Ajuda" shows them.
//
// KeyHelp lists, one per line: the keys every window has (Tab, Shift+Tab,
// Alt with an underlined letter, editing keys when the form has edit
// boxes), the keys of what the form holds (grids, date boxes with their
// calendar), the shortcuts of its menu (each
// menu item with a shortcut, by its caption), and then the screen's own
// lines (`extra`: keys its handlers give, such as marking). Pure function
// of the form as it stands; user-interface thread only.
#pragma once

#include <string>
#include <vector>

namespace fw {

class TForm;

std::string KeyHelp(const TForm& form, const std::vector<std::string>& extra);

}  // namespace fw
