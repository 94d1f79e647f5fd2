// ModelTracker: turns the component model into the updates the page is
// sent — all forms and controls the first time (or when asked for a full
// update), later only those whose JSON changed since the last update, with
// the forms and controls that went away. Also keeps the stacking order of
// the visible forms (the active form comes to the top; a modal form stays
// above the others). User-interface thread only.
//
// Updates are written as text from each form's and control's text (the
// ones the next update compares with), so a control is serialised once
// per update; Update and Empty are the same texts parsed. A grid that was
// sent before is written as a change of the paint sent (GridText), so the
// page must have applied every update since the last full one.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "display/grid_json.h"

namespace fw {
class TForm;
class TDBGrid;
}

namespace display {

class ModelTracker {
 public:
  // The update since the last call (everything when full); the caller adds
  // the overlay. Returns null when nothing changed and full is false.
  nlohmann::json Update(bool full);
  // An update that changes no form or control (for overlay-only changes).
  nlohmann::json Empty();
  // The texts of Update (nullopt for null) and Empty.
  std::optional<std::string> UpdateText(bool full);
  std::string EmptyText();
  // Forgets what was sent (the next update is complete).
  void Reset();

 private:
  // What the page was sent of a control, to compare the next update with.
  struct TSentControl {
    std::string text;                 // a grid's: its frame (ControlFrame)
    std::string parent;               // its container's name
    std::optional<TGridPaint> paint;  // a grid's paint
    long pass = 0;                    // the last update that met the control
  };
  // Appends the changed controls' texts to `controls`, comma-separated, and
  // keeps what they are now in `sentControls_`.
  void Collect(fw::TForm& form, std::string& controls, bool full);
  void CollectGrid(fw::TForm& form, fw::TDBGrid& grid, const std::string& parent, TSentControl& entry,
                   bool known, std::string& controls);
  std::vector<std::string> StackingOrder();

  std::map<std::string, std::string> sentForms_;
  std::unordered_map<std::string, TSentControl> sentControls_;  // by "form/name"
  long pass_ = 0;
  bool whole_ = false;  // the next update is a whole one
  std::vector<const fw::TForm*> stack_;
  std::string lastOrder_;
  long seq_ = 0;
};

}  // namespace display
