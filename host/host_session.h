// HostSession: everything the host sets up for its operator - the shared
// database connection, the facts modules read (operator, branch and its
// name, fixed branch, application server and the session's token), the
// module loader behind Velkora::LoadBPL, the main window and the sign-in
// window.
//
// Start() opens the database, shows the main window and the sign-in
// window; once the operator has signed in, the first module starts.
// SignOut() (the menu's "Sair") closes the module windows, ends the
// session on the server and shows the sign-in window again; so does an
// ESessionExpired escaping any handler, after telling the operator.
// Cancelar on the sign-in window ends the host. Errors of a module's start
// are shown to the operator and the host keeps running. Start raises
// fw::Exception for a database that cannot be opened or a branch that
// does not exist. The token lives only in memory (the host facts).
// User-interface thread only.
#pragma once

#include <memory>

#include "host/host_options.h"
#include "host/login_form.h"
#include "host/main_window.h"
#include "host/module_loader.h"
#include "host/session_client.h"

namespace host {

class HostSession {
 public:
  explicit HostSession(HostOptions options);
  ~HostSession();

  void Start();
  // Starts a module by code, reporting its errors to the operator.
  void StartModule(const std::string& code);
  void SignOut();
  ModuleLoader& Loader() { return *loader_; }
  MainWindow* Window() { return window_; }
  LoginForm* Login() { return login_; }

 private:
  std::string BranchName() const;
  void SignIn(const std::string& op, const std::string& password);
  void CloseModuleWindows();
  // Takes over an ESessionExpired: tells the operator and signs out.
  bool SessionEnded(const std::exception_ptr& error);

  HostOptions options_;
  SessionClient client_;
  std::unique_ptr<ModuleLoader> loader_;
  MainWindow* window_ = nullptr;
  LoginForm* login_ = nullptr;
};

}  // namespace host
