#include "testing/scripted_operator.h"

#include <gtest/gtest.h>

namespace fw::testing {
namespace {

const char* TypeName(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtConfirmation: return "pergunta";
    case TMsgDlgType::mtError: return "erro";
    case TMsgDlgType::mtInformation: return "informação";
    case TMsgDlgType::mtWarning: return "aviso";
    default: return "mensagem";
  }
}

}  // namespace

ScriptedOperator::ScriptedOperator() : previous_(SetInteraction(this)) {}

ScriptedOperator::~ScriptedOperator() {
  SetInteraction(previous_);
  if (!verified_) Verify();
}

ScriptedOperator& ScriptedOperator::Answer(const std::string& text, int result) {
  script_.push_back({Step::Box, text, result, {}, true});
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectError(const std::string& text) {
  script_.push_back({Step::Error, text, mrOk, {}, true});
  return *this;
}

ScriptedOperator& ScriptedOperator::Pick(const std::string& titlePrefix,
                                         std::vector<std::string> keys, bool accept) {
  script_.push_back({Step::List, titlePrefix, mrOk, std::move(keys), accept});
  return *this;
}

std::string ScriptedOperator::Describe(const Step& step) const {
  switch (step.Kind) {
    case Step::Box: return "caixa \"" + step.Text + "\"";
    case Step::Error: return "erro \"" + step.Text + "\"";
    case Step::List: return "lista \"" + step.Text + "...\"";
  }
  return {};
}

void ScriptedOperator::Verify() {
  verified_ = true;
  for (const Step& step : script_) ADD_FAILURE() << "O operador esperava ver: " << Describe(step);
  script_.clear();
}

int ScriptedOperator::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                 int) {
  Shown.push_back(std::string(TypeName(type)) + ": " + text);
  if (!script_.empty() && script_.front().Kind == Step::Box && script_.front().Text == text) {
    int result = script_.front().Result;
    script_.pop_front();
    return result;
  }
  ADD_FAILURE() << "Caixa não esperada: \"" << text << "\""
                << (script_.empty() ? std::string() : "; esperava " + Describe(script_.front()));
  return (buttons & mbNo) ? mrNo : mrCancel;
}

void ScriptedOperator::ShowError(const std::string& text) {
  Shown.push_back("erro: " + text);
  if (!script_.empty() && script_.front().Kind == Step::Error && script_.front().Text == text) {
    script_.pop_front();
    return;
  }
  ADD_FAILURE() << "Erro não esperado: \"" << text << "\""
                << (script_.empty() ? std::string() : "; esperava " + Describe(script_.front()));
}

TPickListResult ScriptedOperator::PickList(const TPickListRequest& request) {
  Shown.push_back("lista: " + request.Title);
  PickRequests.push_back(request);
  if (!script_.empty() && script_.front().Kind == Step::List &&
      request.Title.rfind(script_.front().Text, 0) == 0) {
    Step step = script_.front();
    script_.pop_front();
    return {step.Accept, step.Accept ? step.Keys : std::vector<std::string>{}};
  }
  ADD_FAILURE() << "Lista não esperada: \"" << request.Title << "\"";
  return {};
}

void ScriptedOperator::BusyChanged(int depth, int kind) {
  if (depth > BusyDepth) BusyKinds.push_back(kind);
  BusyDepth = depth;
  MaxBusyDepth = std::max(MaxBusyDepth, depth);
}

}  // namespace fw::testing
