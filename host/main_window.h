// The host's main window: the frame the modules' screens live in, with a
// menu of the modules the operator can start (so a closed screen can be
// opened again) and "Sair", which signs the operator out. Created once by
// the host, owned by the application; it is the application's main form.
#pragma once

#include <functional>
#include <string>

#include "forms/form.h"
#include "forms/menus.h"

namespace host {

class MainWindow : public fw::TForm {
 public:
  // startModule is called with the module code the operator chose,
  // signOut when the operator chooses "Sair".
  MainWindow(fw::TComponent* owner, std::function<void(const std::string&)> startModule,
             std::function<void()> signOut);

  fw::TMainMenu& MainMenu() { return *menu_; }

 private:
  fw::TMainMenu* menu_;
};

}  // namespace host
