// TMessages: a keyed table of the texts a screen shows.
//
// Each line of Lines is a key, a bar and a text ("FILIAL|Filial deve ser
// informada."). Msg(key) gives the text after the first bar of the first
// line that starts with exactly the key and a bar (keys are
// case-sensitive; the text may itself contain bars). For a key with no
// line Msg gives the key itself, so a message box never comes up empty
// and the missing key is visible to whoever reads the box.
// ShowMsg shows Msg(key) in a message box of the given type and buttons
// and returns the modal result of the button pressed.
// User-interface thread only.
#pragma once

#include <string>
#include <string_view>

#include "base/strings.h"
#include "forms/component.h"
#include "forms/interaction.h"

namespace fw {

class TMessages : public TComponent {
 public:
  explicit TMessages(TComponent* owner) : TComponent(owner) {}

  TStrings Lines;

  std::string Msg(std::string_view key) const;
  int ShowMsg(std::string_view key, TMsgDlgType type, TMsgDlgButtons buttons,
              int helpContext = 0) const;
};

}  // namespace fw
