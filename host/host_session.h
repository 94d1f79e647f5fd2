// HostSession: everything the host sets up for one logged-in operator —
// the shared database connection, the facts modules read (operator,
// branch and its name, fixed branch, application server), the module
// loader behind Velkora::LoadBPL, and the main window.
//
// Start() opens the session and starts the first module; errors of the
// module's start are shown to the operator and the host keeps running.
// Raises fw::Exception for a database that cannot be opened or a branch
// that does not exist. User-interface thread only.
#pragma once

#include <memory>

#include "host/host_options.h"
#include "host/main_window.h"
#include "host/module_loader.h"

namespace host {

class HostSession {
 public:
  explicit HostSession(HostOptions options);
  ~HostSession();

  void Start();
  // Starts a module by code, reporting its errors to the operator.
  void StartModule(const std::string& code);
  ModuleLoader& Loader() { return *loader_; }
  MainWindow* Window() { return window_; }

 private:
  std::string BranchName() const;

  HostOptions options_;
  std::unique_ptr<ModuleLoader> loader_;
  MainWindow* window_ = nullptr;
};

}  // namespace host
