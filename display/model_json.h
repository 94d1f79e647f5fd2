// The JSON form of the component model that the page draws (see
// docs/display-protocol.md): one form, one control, one menu, one grid.
// Reads the model only (painting a grid records its drawing on a scratch
// canvas and runs its draw handlers). User-interface thread only.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/graphics.h"

namespace display {

nlohmann::json FormJson(fw::TForm& form);
// FormJson's text, written straight (menus included).
std::string FormText(fw::TForm& form);
nlohmann::json ControlJson(fw::TForm& form, fw::TControl& control);
// ControlJson's text (texts that are not UTF-8 get U+FFFD), the grids'
// props written straight (GridText).
std::string ControlText(fw::TForm& form, fw::TControl& control);
// ControlText up to its props: the object opened, ending in "props":.
std::string ControlFrame(fw::TForm& form, fw::TControl& control);
nlohmann::json BitmapJson(const fw::TBitmap& bitmap);
nlohmann::json FontJson(const fw::TFont& font);

}  // namespace display
