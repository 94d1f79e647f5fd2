// Alt with a caption's underlined letter: the control whose caption marks
// that letter with "&" acts as if the operator had reached it.
//
// AcceleratorOf reads the letter ("&&" is a plain "&"), upper case, 0 for
// a caption without one. DispatchAccelerator looks through the form's
// controls that are shown and usable, in tab order within each parent
// (so the first match on the screen wins), and acts on the first whose
// caption has the letter: a label focuses its FocusControl (when it shows
// accelerators); a button, check box or radio button is clicked as the
// operator clicks it (focus first, then toggle or check); a tab sheet's
// page is chosen as a click on its tab; a group box focuses its first
// control that can take the focus. Returns whether a control acted.
// User-interface thread only; passes on what the handlers raise.
#pragma once

#include <string_view>

namespace fw {

class TForm;

char AcceleratorOf(std::string_view caption);
bool DispatchAccelerator(TForm& form, char letter);

}  // namespace fw
