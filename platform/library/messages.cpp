#include "library/messages.h"

namespace fw {

std::string TMessages::Msg(std::string_view key) const {
  for (const std::string& line : Lines.Lines()) {
    if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
        line[key.size()] == '|')
      return line.substr(key.size() + 1);
  }
  return std::string(key);
}

int TMessages::ShowMsg(std::string_view key, TMsgDlgType type, TMsgDlgButtons buttons,
                       int helpContext) const {
  return Interaction().MessageDlg(Msg(key), type, buttons, helpContext);
}

}  // namespace fw
