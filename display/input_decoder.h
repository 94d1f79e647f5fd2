// InputDecoder: applies one input event from the page to the component
// model (see docs/display-protocol.md). Runs on the user-interface thread,
// inside the message loop, so a handler's error goes to the application's
// error report.
//
// Refused (ignored, described in the log) — never reaching a handler:
// unknown event types or malformed fields, unknown or hidden forms, a
// form behind a modal form, anything but an answer while a box or pick
// list is open, unknown controls, controls of another form, hidden or
// disabled controls, menu items that are not usable, stale box ids, wheel
// and scroll-bar events aimed at anything but a data grid, unknown scroll
// actions, dates picked for anything but a date box or that are not a
// "dd/mm/yyyy" calendar date, and dates the box does not take (read-only,
// or the focus could not reach it). Wheel notches are clamped to +-100 per
// event.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

namespace fw {
class TControl;
class TForm;
}

namespace display {

class DisplayInteraction;

class InputDecoder {
 public:
  explicit InputDecoder(DisplayInteraction& interaction) : interaction_(interaction) {}

  // Applies the event; returns false (with Log called) when it was refused.
  bool Apply(const nlohmann::json& event);
  std::function<void(const std::string&)> Log;

 private:
  bool Refuse(const std::string& why);
  bool ApplyToForm(const std::string& type, const nlohmann::json& event);
  bool ApplyToGrid(const std::string& type, fw::TControl& control, const nlohmann::json& event);
  bool ApplyPickDate(fw::TControl& control, const nlohmann::json& event);
  bool ApplyViewport(const nlohmann::json& event);
  bool ApplyPlacement(fw::TForm& form, const nlohmann::json& event);
  // Window sizes the page may ask for, in pixels.
  static constexpr int kMinWindow = 40, kMaxWindow = 10000;

  DisplayInteraction& interaction_;
};

}  // namespace display
