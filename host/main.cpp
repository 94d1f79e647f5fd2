// The host process: one per signed-in operator. Loads the module, runs the
// user-interface loop, stops cleanly on SIGTERM or SIGINT.
#include <csignal>
#include <memory>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "forms/application.h"
#include "host/host_options.h"
#include "display/display_server.h"
#include "host/host_session.h"

namespace {

std::string DefaultModulesDir(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0);
  return (exe.parent_path().parent_path() / "modules").string();
}

// Waits for SIGTERM/SIGINT on its own thread and ends the loop.
std::thread StopOnSignals(sigset_t signals) {
  return std::thread([signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    fw::Application().Terminate();
  });
}

}  // namespace

int main(int argc, char** argv) {
  host::HostOptions options;
  try {
    options = host::ParseHostOptions({argv + 1, argv + argc});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n%s", e.what(), host::HostUsage().c_str());
    return 2;
  }
  if (options.Help) {
    std::printf("%s", host::HostUsage().c_str());
    return 0;
  }
  if (options.ModulesDir.empty()) options.ModulesDir = DefaultModulesDir(argv[0]);

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread waiter = StopOnSignals(signals);

  int status = 0;
  try {
    fw::Application().Interactive = true;
    std::unique_ptr<display::DisplayServer> page;
    if (!options.Headless) {
      page = std::make_unique<display::DisplayServer>(DISPLAY_WEB_DIR);
      page->Start(options.DisplayPort);
      std::printf("Abra %s no navegador.\n", page->PageUrl().c_str());
      std::fflush(stdout);
    }
    host::HostSession session(options);
    session.Start();
    fw::Application().Run();
    if (page) page->Stop();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "host: %s\n", e.what());
    status = 1;
    fw::Application().Terminate();
    pthread_kill(waiter.native_handle(), SIGTERM);
  }
  waiter.join();
  return status;
}
