// What the hostile-input programs share: a raw TCP client on 127.0.0.1
// that sends exactly the bytes it is given (slowly, or not at all), the
// reading of one HTTP response within a time limit, and the one line each
// case prints. Header-only, tests only; every wait is bounded.
#pragma once

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace hostile {

using TClock = std::chrono::steady_clock;

inline double MsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// One line per case: server, case, what was sent, how many times, what
// happened, the time to answer.
inline void Report(const char* server, const std::string& name, const std::string& sent, int times,
                   const std::string& outcome, double ms) {
  std::printf("HOSTILE %s | %s | %s | %dx | %s | %.1f ms\n", server, name.c_str(), sent.c_str(), times,
              outcome.c_str(), ms);
  std::fflush(stdout);
}

class TRawClient {
 public:
  explicit TRawClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) Close();
  }
  ~TRawClient() { Close(); }
  TRawClient(const TRawClient&) = delete;
  TRawClient& operator=(const TRawClient&) = delete;

  bool Connected() const { return fd_ >= 0; }
  bool Send(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
      ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return fd_ >= 0;
  }
  // One response: headers and the body of its Content-Length, or what
  // came before the peer closed or `limit` passed.
  std::string ReadResponse(std::chrono::milliseconds limit) {
    std::string in;
    auto deadline = TClock::now() + limit;
    while (!Complete(in) && ReadMore(in, deadline)) {
    }
    return in;
  }
  // What arrives until `marker` has come, the peer closed or `limit` passed.
  std::string ReadUntil(std::string_view marker, std::chrono::milliseconds limit) {
    std::string in;
    auto deadline = TClock::now() + limit;
    while (in.find(marker) == std::string::npos && ReadMore(in, deadline)) {
    }
    return in;
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  // Appends what comes before `deadline`; false when nothing more will.
  bool ReadMore(std::string& in, TClock::time_point deadline) {
    int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count());
    pollfd p{fd_, POLLIN, 0};
    if (fd_ < 0 || left <= 0 || ::poll(&p, 1, left) <= 0) return false;
    char buf[65536];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) return false;
    in.append(buf, static_cast<size_t>(n));
    return true;
  }
  static bool Complete(const std::string& in) {
    size_t end = in.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    size_t at = in.find("Content-Length: ");
    if (at == std::string::npos || at > end) return true;
    return in.size() >= end + 4 + std::stoull(in.substr(at + 16));
  }
  int fd_ = -1;
};

// The status code of a response text, 0 when there is none.
inline int StatusOf(const std::string& response) {
  if (response.rfind("HTTP/1.1 ", 0) != 0 || response.size() < 12) return 0;
  return std::stoi(response.substr(9, 3));
}

inline bool HasHeader(const std::string& response, const std::string& name) {
  std::string head = response.substr(0, response.find("\r\n\r\n"));
  std::transform(head.begin(), head.end(), head.begin(), ::tolower);
  std::string wanted = "\r\n" + name;
  std::transform(wanted.begin(), wanted.end(), wanted.begin(), ::tolower);
  return head.find(wanted + ":") != std::string::npos;
}

// Clients that keep connections busy for a bounded while: `slow` of them
// send a request's headers one byte a second, `idle` of them connect and
// send nothing. They stop (and close) when the object goes.
class TSiege {
 public:
  TSiege(int port, int slow, int idle, const std::string& headers) {
    for (int i = 0; i < idle; ++i) idle_.push_back(std::make_unique<TRawClient>(port));
    for (int i = 0; i < slow; ++i)
      slow_.emplace_back([this, port, headers] {
        TRawClient client(port);
        for (size_t at = 0; at < headers.size() && !stop_; ++at) {
          if (!client.Send(headers.substr(at, 1))) return;
          for (int t = 0; t < 20 && !stop_; ++t) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
      });
  }
  ~TSiege() {
    stop_ = true;
    for (std::thread& t : slow_) t.join();
  }
  int IdleConnected() const {
    return static_cast<int>(std::count_if(idle_.begin(), idle_.end(), [](auto& c) { return c->Connected(); }));
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::unique_ptr<TRawClient>> idle_;
  std::vector<std::thread> slow_;
};

constexpr int kSlowClients = 16, kIdleClients = 200, kCallsUnderSiege = 5;

// The slowest of kCallsUnderSiege calls of `call` (which answers its own
// time) made while kSlowClients send `headers` one byte a second and
// kIdleClients connections sit idle; -1 when the idle ones could not all
// connect.
template <class Call>
double WorstUnderSiege(int port, const std::string& headers, Call call) {
  TSiege siege(port, kSlowClients, kIdleClients, headers);
  if (siege.IdleConnected() != kIdleClients) return -1;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  double worst = 0;
  for (int i = 0; i < kCallsUnderSiege; ++i) {
    worst = std::max(worst, call());
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  return worst;
}

// Resident memory of a process (VmRSS or VmHWM), in MiB.
inline double MemoryMiB(int pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024;
  return 0;
}

}  // namespace hostile
