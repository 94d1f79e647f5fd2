// DisplayServer: serves the host's window to one browser page on
// 127.0.0.1 (docs/display-protocol.md).
//
// Threads: cpp-httplib runs the requests on its own threads; they only
// touch the session and the outgoing queue (under a mutex) and post input
// to the application's message queue. The model is read and changed only
// on the user-interface thread: Flush (called after each message the loop
// ran, and whenever an overlay changes) collects the changes and queues
// one update. Opening /events starts a new session; the earlier page gets
// "takeover" and its input is refused from then on.
//
// Every request passes the PageGuard first (display/page_guard.h): the
// page, its files, /events and /input need the key of PageUrl() or the
// cookie it is exchanged for; others get 403 and change nothing.
//
// The constructor raises fw::Exception for an unusable key (PageGuard).
// Start raises fw::Exception when the port cannot be bound. Stop ends the
// event streams and the server; the destructor stops it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "display/display_interaction.h"
#include "display/input_decoder.h"
#include "display/model_tracker.h"
#include "display/page_guard.h"

namespace httplib {
class Server;
}

namespace display {

class DisplayServer {
 public:
  // An empty key makes a random one; a given key lets a host restarted in
  // place keep the address its page already holds.
  explicit DisplayServer(std::string webDir, std::string key = {});
  ~DisplayServer();
  DisplayServer(const DisplayServer&) = delete;
  DisplayServer& operator=(const DisplayServer&) = delete;

  // Installs the interaction, the font metrics and the idle hook, binds
  // 127.0.0.1:port (0 picks a free one) and starts serving. Returns the port.
  int Start(int port);
  void Stop();
  // User-interface thread: queues an update when something changed.
  void Flush(bool full = false);
  DisplayInteraction& Interaction() { return interaction_; }
  int Port() const { return port_; }
  // The address to show the operator, key included:
  // "http://127.0.0.1:PORT/?chave=KEY"; empty before Start.
  std::string PageUrl() const { return port_ > 0 ? guard_.PageUrl() : std::string(); }
  const PageGuard& Guard() const { return guard_; }

 private:
  void Routes();
  void GuardRoutes();
  void Push(const std::string& event, const std::string& data);
  std::string NewSession();

  std::string webDir_;
  PageGuard guard_;
  std::unique_ptr<httplib::Server> server_;
  std::function<void()> afterBind_;  // widens the listening queue
  std::thread thread_;
  int port_ = 0;

  DisplayInteraction interaction_;
  InputDecoder decoder_{interaction_};
  ModelTracker tracker_;
  std::string lastOverlay_;

  std::mutex mutex_;
  std::condition_variable cv_;
  std::string session_;
  std::deque<std::string> queue_;  // events of the current session
  bool stopping_ = false;
  unsigned long sessionCounter_ = 0;
};

}  // namespace display
