// TNetConnection: the connection of a screen to a remote module of the
// application server, with late-bound calls by method name.
//
// ServerName names the remote module ("Zqv41800.rdmConfPedido"); Host and
// Port say where the server listens (SetAddress reads "http://host:port").
// Open runs BeforeConnect first - the screen sets Host and Port there - and
// then reaches the server over HTTP, or through the transport given to
// UseTransport (the server linked into the same program, for tests).
// Connected tells whether it is open; SetConnected(true/false) is Open /
// Close. Call opens the connection when it is closed, sends the method
// with its positional arguments as one JSON-RPC 2.0 request and returns
// the reply's "result" unchanged.
//
// Errors: a server that cannot be reached raises EConnectionError
// ("Não foi possível conectar ao servidor de aplicação em 127.0.0.1:PORT.")
// and leaves the connection closed; a JSON-RPC error reply raises
// EServerError with the server's message and code. A checked method's
// failure reply ({"status":"error"}) is a result like any other and is
// returned - the caller checks it with CheckResultServ - unless
// RaiseServerErrors is set, when Call raises EServerError for it itself.
// Arguments that cannot be written as JSON text (text that is not UTF-8)
// raise EConvertError before anything is sent.
//
// Not thread-safe: one thread at a time (each thread its own connection).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "data/data_packet.h"

#include "rpc/transport.h"

namespace fw {

class TNetConnection {
 public:
  explicit TNetConnection(std::string name = {});
  ~TNetConnection();
  TNetConnection(const TNetConnection&) = delete;
  TNetConnection& operator=(const TNetConnection&) = delete;

  std::string Name;
  std::string ServerName;
  std::string Host = "127.0.0.1";
  int Port = 0;
  std::string Token;  // sent as "Authorization: Bearer <Token>" when set
  bool RaiseServerErrors = false;
  std::function<void(TNetConnection& sender)> BeforeConnect;

  // Host and port from "http://host:port" or "host:port"; EConvertError
  // for anything else.
  void SetAddress(std::string_view address);
  // "host:port", as messages name the server.
  std::string Address() const;

  // Calls go through this transport instead of HTTP from the next Open
  // on; null goes back to HTTP. Closes the connection.
  void UseTransport(std::shared_ptr<TRpcTransport> transport);

  bool Connected() const { return transport_ != nullptr; }
  void SetConnected(bool value) { value ? Open() : Close(); }
  void Open();
  void Close();

  nlohmann::json Call(const std::string& method, std::vector<nlohmann::json> args);
  // Call for a method whose result is a data packet: the reply is read in
  // one pass straight into the packet when it is the usual one, else as
  // Call reads it (same errors), the result then read by FromJson.
  TDataPacket CallPacket(const std::string& method, std::vector<nlohmann::json> args);
  // The same for a checked method: the packet of a reply {"status": "ok",
  // "value": packet} read in one pass; for any other reply, nullopt, and
  // `result` holds the result as Call returns it, for the caller to check.
  std::optional<TDataPacket> CallCheckedPacket(const std::string& method,
                                               std::vector<nlohmann::json> args,
                                               nlohmann::json& result);

 private:
  nlohmann::json Request(const std::string& method, std::vector<nlohmann::json> args);
  template <typename Send>
  auto Exchange(const std::string& method, Send send);
  nlohmann::json ResultOf(nlohmann::json reply, const nlohmann::json& request);
  std::optional<TDataPacket> Streamed(const nlohmann::json& request, const std::string& method,
                                      const std::vector<std::string_view>& path,
                                      nlohmann::json& result);
  std::shared_ptr<TRpcTransport> given_;
  std::shared_ptr<TRpcTransport> transport_;
  int64_t nextId_ = 1;
};

}  // namespace fw
