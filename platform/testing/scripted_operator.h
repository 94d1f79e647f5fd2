// ScriptedOperator: the operator of a test.
//
// Install one in a test (the constructor installs it, the destructor puts
// the previous interaction back). Script what the operator will be shown
// and how they answer, in order; everything shown is recorded in Shown.
// Anything shown that the script did not expect — or expected items never
// shown by the end of the test — fails the test (GoogleTest failure); an
// unexpected question is answered No (Cancel for other boxes).
// Single-threaded, like the user interface.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "forms/interaction.h"

namespace fw::testing {

class ScriptedOperator : public TOperatorInteraction {
 public:
  ScriptedOperator();
  ~ScriptedOperator() override;

  // Expect a message box with exactly this text and press the button with
  // this modal result (mrYes, mrNo, mrOk).
  ScriptedOperator& Answer(const std::string& text, int result);
  // Expect an error box with exactly this text.
  ScriptedOperator& ExpectError(const std::string& text);
  // Expect a pick list whose title starts with titlePrefix; tick exactly
  // these keys and press OK (or cancel when accept is false).
  ScriptedOperator& Pick(const std::string& titlePrefix, std::vector<std::string> keys,
                         bool accept = true);

  // Every box shown, as "tipo: texto" ("pergunta: Confirma operação?",
  // "erro: ...", "informação: ...", "aviso: ...", "lista: título").
  std::vector<std::string> Shown;
  // The pick-list requests seen, in order.
  std::vector<TPickListRequest> PickRequests;
  int BusyDepth = 0;
  int MaxBusyDepth = 0;
  std::vector<int> BusyKinds;  // kind of every show of the busy indicator
  // Checks now that every scripted item was shown.
  void Verify();

  int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                 int helpContext) override;
  void ShowError(const std::string& text) override;
  TPickListResult PickList(const TPickListRequest& request) override;
  void BusyChanged(int depth, int kind) override;

 private:
  struct Step {
    enum Kind { Box, Error, List } Kind;
    std::string Text;
    int Result = mrNone;
    std::vector<std::string> Keys;
    bool Accept = true;
  };
  std::string Describe(const Step& step) const;
  std::deque<Step> script_;
  TOperatorInteraction* previous_;
  bool verified_ = false;
};

}  // namespace fw::testing
