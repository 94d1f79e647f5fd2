// A test operator that records what the library shows and answers message
// boxes with a fixed result. Installed for the lifetime of the object.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "forms/interaction.h"

class RecordingOperator : public fw::TOperatorInteraction {
 public:
  RecordingOperator() : previous_(fw::SetInteraction(this)) {}
  ~RecordingOperator() override { fw::SetInteraction(previous_); }

  struct Box {
    std::string Text;
    fw::TMsgDlgType Type;
    fw::TMsgDlgButtons Buttons;
    int HelpContext;
  };

  int Answer = fw::mrOk;
  bool FailBusy = false;
  std::vector<Box> Boxes;
  std::vector<std::string> Errors;
  std::vector<std::pair<int, int>> Busy;  // (depth, kind)

  int MessageDlg(const std::string& text, fw::TMsgDlgType type, fw::TMsgDlgButtons buttons,
                 int helpContext) override {
    Boxes.push_back({text, type, buttons, helpContext});
    return Answer;
  }
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  fw::TPickListResult PickList(const fw::TPickListRequest&) override { return {}; }
  void BusyChanged(int depth, int kind) override {
    if (FailBusy) throw std::runtime_error("display gone");
    Busy.emplace_back(depth, kind);
  }

 private:
  fw::TOperatorInteraction* previous_;
};
