// DisplayInteraction: the operator's boxes, pick lists and busy indicator
// shown on the page.
//
// A message box or pick list is an overlay of the page; the call waits for
// the operator's answer in a nested message loop on the user-interface
// thread (input keeps flowing; everything but the answer is refused while
// the overlay is open). If the application terminates meanwhile, the box
// answers Cancel (No for questions). The busy indicator is part of the
// overlay state. Changed() is called whenever the overlay changed, so the
// display pushes it at once (even while a handler is busy).
// User-interface thread only, except that nothing here is touched by the
// server thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "forms/interaction.h"

namespace display {

class DisplayInteraction : public fw::TOperatorInteraction {
 public:
  std::function<void()> Changed;

  int MessageDlg(const std::string& text, fw::TMsgDlgType type, fw::TMsgDlgButtons buttons,
                 int helpContext) override;
  void ShowError(const std::string& text) override;
  fw::TPickListResult PickList(const fw::TPickListRequest& request) override;
  void BusyChanged(int depth, int kind) override;

  // The overlay part of an update.
  nlohmann::json Overlay() const;
  bool Open() const { return box_.has_value() || list_.has_value(); }
  // Answers from the page; false when no such box is open.
  bool Answer(long id, const std::string& result);
  bool Pick(long id, const std::vector<std::string>& keys, bool cancel);

 private:
  void Wait(const std::function<bool()>& answered);

  std::optional<nlohmann::json> box_, list_;
  std::optional<int> boxResult_;
  std::optional<fw::TPickListResult> listResult_;
  int busyDepth_ = 0, busyKind_ = 0;
  long nextId_ = 1;
};

}  // namespace display
