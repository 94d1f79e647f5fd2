// A program (the appserver unless told) run as a child process by tests, its output in
// files: start, wait for its port, signal, wait for its end (bounded).
// The destructor kills a child still running. Header-only, tests only;
// APPSERVER_BINARY names the program.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "appserver/test_support.h"

namespace appserver::testing {

// A child process running the appserver program, its output in files.
class TProgram {
 public:
  explicit TProgram(std::vector<std::string> args, const std::string& input = {},
                    std::string binary = APPSERVER_BINARY)
      : out_(TempPath("out")), err_(TempPath("err")), in_(TempPath("in")) {
    std::ofstream(in_) << input;
    pid_ = fork();
    if (pid_ == 0) {
      freopen(in_.c_str(), "r", stdin);
      freopen(out_.c_str(), "w", stdout);
      freopen(err_.c_str(), "w", stderr);
      std::vector<char*> argv = {binary.data()};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(binary.c_str(), argv.data());
      _exit(127);
    }
  }
  ~TProgram() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::remove(out_.c_str());
    std::remove(err_.c_str());
    std::remove(in_.c_str());
  }
  // The exit code, or -1 if it did not end within the time.
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }
  // Waits for "listening on 127.0.0.1:PORT" and returns the port (0 if the
  // line did not come within the time).
  int ListeningPort() {
    for (int i = 0; i < 1000; ++i) {
      std::string out = Out();
      size_t at = out.find("listening on 127.0.0.1:");
      if (at != std::string::npos && out.find('\n', at) != std::string::npos)
        return std::stoi(out.substr(at + 23));
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }
  void Signal(int sig) { kill(pid_, sig); }
  pid_t Pid() const { return pid_; }
  std::string Out() const { return Read(out_); }
  std::string Err() const { return Read(err_); }

 private:
  static std::string Read(const std::string& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::string out_, err_, in_;
  pid_t pid_ = -1;
  bool exited_ = false;
};

}  // namespace appserver::testing
