#include "display/display_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>

#include "base/errors.h"
#include "base/json_limits.h"
#include "rpc/server_limits.h"
#include "display/font_metrics.h"
#include "forms/application.h"

namespace display {

using nlohmann::json;

DisplayServer::DisplayServer(std::string webDir, std::string key)
    : webDir_(std::move(webDir)), guard_(std::move(key)), server_(std::make_unique<httplib::Server>()) {
  decoder_.Log = [](const std::string& text) { std::fprintf(stderr, "display: %s\n", text.c_str()); };
}

DisplayServer::~DisplayServer() { Stop(); }

std::string DisplayServer::NewSession() {
  static std::mt19937_64 random{std::random_device{}()};
  char buf[40];
  std::snprintf(buf, sizeof buf, "%lu-%016llx", ++sessionCounter_,
                static_cast<unsigned long long>(random()));
  return buf;
}

void DisplayServer::Push(const std::string& event, const std::string& data) {
  {
    std::lock_guard lock(mutex_);
    if (session_.empty()) return;
    queue_.push_back("event: " + event + "\ndata: " + data + "\n\n");
  }
  cv_.notify_all();
}

void DisplayServer::Flush(bool full) {
  std::optional<std::string> update = tracker_.UpdateText(full);
  json overlay = interaction_.Overlay();
  std::string overlayText = overlay.dump(-1, ' ', false, json::error_handler_t::replace);
  std::string cursor = fw::Screen().Cursor == fw::crHourGlass ? "wait" : "default";
  std::string shown = overlayText + cursor;
  if (!update) {
    if (shown == lastOverlay_) return;
    update = tracker_.EmptyText();
  }
  lastOverlay_ = std::move(shown);
  // The tracker's text with the overlay and the cursor added before its
  // closing brace.
  update->pop_back();
  *update += ",\"overlay\":" + overlayText + ",\"cursor\":\"" + cursor + "\"}";
  Push("update", *update);
}

namespace {

std::optional<std::string> Header(const httplib::Request& req, const char* name) {
  if (!req.has_header(name)) return std::nullopt;
  return req.get_header_value(name);
}

// Where a keyed GET goes once the key is a cookie: its own path, without
// the query. A target that is not a plain path goes to the page.
std::string PathOf(const std::string& target) {
  std::string path = target.substr(0, target.find('?'));
  if (path.empty() || path[0] != '/' || path.compare(0, 2, "//") == 0) return "/";
  return path;
}

}  // namespace

// Runs before the mount point and every route, so no file, stream or
// input is reached without passing it.
void DisplayServer::GuardRoutes() {
  using Result = httplib::Server::HandlerResponse;
  fw::TServerLimits limits;
  limits.MaxBodyBytes = 1 << 20;
  limits.KeepAliveSeconds = 1;  // so a stop does not wait for idle pages
  afterBind_ = fw::ApplyServerLimits(*server_, limits, [this](const httplib::Request& req, httplib::Response& res) {
    PageRequest request{req.method, Header(req, "Host"), Header(req, "Origin"), Header(req, "Cookie"),
                        std::nullopt};
    if (req.has_param(PageGuard::kKeyParam)) request.key = req.get_param_value(PageGuard::kKeyParam);
    switch (guard_.Check(request)) {
      case PageVerdict::kAllow:
        return Result::Unhandled;
      case PageVerdict::kSetCookie:
        res.set_header("Set-Cookie", guard_.SetCookieHeader());
        res.set_header("Cache-Control", "no-store");
        res.set_header("Referrer-Policy", "no-referrer");
        res.set_redirect(PathOf(req.target), 303);
        return Result::Handled;
      case PageVerdict::kRefuse:
        break;
    }
    res.status = 403;
    res.set_header("Cache-Control", "no-store");
    res.set_content(PageGuard::kRefusedText, "text/plain; charset=utf-8");
    return Result::Handled;
  });
}

void DisplayServer::Routes() {
  GuardRoutes();
  server_->set_mount_point("/", webDir_);
  auto font = [](bool bold) {
    return [bold](const httplib::Request&, httplib::Response& res) {
      std::FILE* f = std::fopen(FontFile(bold).c_str(), "rb");
      if (!f) {
        res.status = 404;
        return;
      }
      std::string data;
      char buf[65536];
      for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) data.append(buf, n);
      std::fclose(f);
      res.set_content(data, "font/ttf");
    };
  };
  server_->Get("/font/sans.ttf", font(false));
  server_->Get("/font/sans-bold.ttf", font(true));

  server_->Get("/events", [this](const httplib::Request&, httplib::Response& res) {
    std::string session;
    {
      std::lock_guard lock(mutex_);
      session_ = session = NewSession();
      queue_.clear();
      queue_.push_back("event: hello\ndata: {\"session\":\"" + session + "\"}\n\n");
    }
    cv_.notify_all();
    fw::Application().Post([this] {
      tracker_.Reset();
      lastOverlay_.clear();
      Flush(true);
    });
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream", [this, session](size_t, httplib::DataSink& sink) {
          std::unique_lock lock(mutex_);
          cv_.wait_for(lock, std::chrono::seconds(10),
                       [&] { return stopping_ || session_ != session || !queue_.empty(); });
          if (stopping_) return false;
          if (session_ != session) {
            std::string bye = "event: takeover\ndata: {}\n\n";
            lock.unlock();
            sink.write(bye.data(), bye.size());
            sink.done();
            return true;
          }
          std::string out;
          if (queue_.empty()) out = ": ping\n\n";
          while (!queue_.empty()) {
            out += queue_.front();
            queue_.pop_front();
          }
          lock.unlock();
          return sink.write(out.data(), out.size());
        });
  });

  server_->Post("/input", [this](const httplib::Request& req, httplib::Response& res) {
    json body;
    fw::ParseBoundedJson(req.body, body);  // null when unusable or nested too deep
    if (!body.is_object() || !body.contains("event") || !body["event"].is_object() ||
        !body.contains("session") || !body["session"].is_string()) {
      res.status = 400;
      res.set_content(R"({"error":"evento inválido"})", "application/json");
      return;
    }
    {
      std::lock_guard lock(mutex_);
      if (body["session"] != session_) {
        res.status = 409;
        res.set_content(R"({"error":"session"})", "application/json");
        return;
      }
    }
    json event = body["event"];
    fw::Application().Post([this, event] { decoder_.Apply(event); });
    res.set_content(R"({"ok":true})", "application/json");
  });
}

int DisplayServer::Start(int port) {
  fw::SetInteraction(&interaction_);
  InstallFontMetrics();
  interaction_.Changed = [this] { Flush(); };
  fw::Application().OnIdle = [this] { Flush(); };
  Routes();
  // Small writes (an update's last part, a reply's body after its head)
  // go at once instead of waiting for the page's acknowledgement.
  server_->set_tcp_nodelay(true);
  port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1") : port;
  if (port != 0 && !server_->bind_to_port("127.0.0.1", port)) port_ = -1;
  if (port_ <= 0) throw fw::Exception("Não foi possível abrir a porta " + std::to_string(port) + ".");
  afterBind_();
  guard_.SetPort(port_);
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  return port_;
}

void DisplayServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
  }
  cv_.notify_all();
  if (server_) server_->stop();
  if (thread_.joinable()) thread_.join();
  if (fw::Application().OnIdle) fw::Application().OnIdle = nullptr;
  fw::SetInteraction(nullptr);
}

}  // namespace display
