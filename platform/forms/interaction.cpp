#include "forms/interaction.h"

namespace fw {
namespace {

// Until the host or a test installs one: the default button, no picks.
class DefaultInteraction : public TOperatorInteraction {
 public:
  int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons buttons, int) override {
    if (buttons & mbYes) return mrYes;
    if (buttons & mbOK) return mrOk;
    return mrCancel;
  }
  void ShowError(const std::string&) override {}
  TPickListResult PickList(const TPickListRequest&) override { return {}; }
  void BusyChanged(int, int) override {}
};

DefaultInteraction& Default() {
  static DefaultInteraction instance;
  return instance;
}

TOperatorInteraction*& Current() {
  static TOperatorInteraction* current = nullptr;
  return current;
}

}  // namespace

TOperatorInteraction& Interaction() { return Current() ? *Current() : Default(); }

TOperatorInteraction* SetInteraction(TOperatorInteraction* interaction) {
  TOperatorInteraction* previous = Current();
  Current() = interaction;
  return previous;
}

}  // namespace fw
