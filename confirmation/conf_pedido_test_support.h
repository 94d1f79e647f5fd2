// Helpers of the confirmation screen's tests: a demo database shared by a
// suite (also opened as the host's shared connection), the order service
// answering the screen in process with a log of the methods called and
// failures on demand, the host's facts, the screen opened as the host
// opens it, and the operator closing the filter dialog when it comes up.
// Header-only: only test programs include it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "appserver/test_support.h"
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "library/consiste_grid.h"
#include "library/velkora.h"
#include "rpc/rpc_errors.h"
#include "shared/filtro.h"
#include "shared/filtro_args.h"
#include "sql/db_connection.h"
#include "testing/scripted_operator.h"

namespace conf_pedido_testing {

using nlohmann::json;

class ScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    database_ = new appserver::testing::TDemoDatabase(200, 7);
    server_ = new appserver::testing::TLocalServer(database_->Url());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete database_;
    server_ = nullptr;
    database_ = nullptr;
  }

  void SetUp() override {
    fw::dtmDBGeral().adcGeral.Open(database_->Url());
    Facts("MARIA", "0001", false);
  }

  void TearDown() override {
    if (Cli_zqv41800::boIdCriado) Cli_zqv41800::frmConfPedido->Close();
    fw::Application().ProcessMessages();
    Cli_zqv41800::inContPedidoCh = 0;
    Cli_zqv41800::inContItemPedidoCh = 0;
    fw::dtmDBGeral().adcGeral.Close();
  }

  // The host's facts: operator, current branch (with its name), fixed
  // branch. The application server's address is one nothing listens on:
  // the screen reaches the service in process.
  void Facts(const std::string& operador, const std::string& filial, bool fixa) {
    Velkora::THostFacts facts;
    facts.Operador = operador;
    facts.FiliProc = filial;
    facts.NomeFiliProc = filial.empty() ? "" : "Filial " + filial;
    facts.ModuFili = fixa;
    facts.WebURL = "127.0.0.1";
    facts.WebPort = 1;
    Velkora::SetHostFacts(facts);
  }

  // Creates and shows the screen as the host's start does, its connection
  // going to the in-process service.
  TfrmConfPedido& Open() {
    fw::Application().CreateForm(Cli_zqv41800::frmConfPedido);
    Cli_zqv41800::boIdCriado = true;
    screen = Cli_zqv41800::frmConfPedido;
    screen->netConPed.UseTransport(fw::MakeInProcessTransport(
        [this](const json& request) { return Answer(request); }));
    screen->Show();
    return *screen;
  }

  // The operator closes the filter dialog the next time it opens.
  void CloseFilterWhenShown() {
    fw::Application().Post([this] {
      if (!Cli_zqv41801::boIdCriado) return;
      ++filterOpenings;
      Cli_zqv41801::frmFiltroConfPedido->Close();
    });
  }

  // Leaves the branch field (as Tab would), the filter dialog being closed
  // when it opens.
  void LeaveBranch() {
    CloseFilterWhenShown();
    screen->dbgPadrao->SetFocus();
    fw::Application().ProcessMessages();
  }

  // Types a branch code into the empty branch field.
  void TypeBranch(const std::string& code) {
    screen->medCdFilial->SetFocus();
    screen->medCdFilial->SelectAll();
    std::string typed = code;
    screen->medCdFilial->KeyPress(typed);
  }

  // The methods called since the last Calls(), in order.
  std::vector<std::string> Calls() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
  }

  // Makes the next call of `method` fail with the server's error reply.
  void FailNext(const std::string& method, const std::string& message) {
    failures[method] = message;
  }

  json Answer(const json& request) {
    const std::string method = request.at("method");
    if (serverDown) throw fw::EConnectionError("Não foi possível conectar ao servidor de aplicação.");
    calls.push_back(method);
    lastArgs[method] = request.at("params");
    if (auto failure = failures.find(method); failure != failures.end()) {
      json reply = {{"jsonrpc", "2.0"}, {"id", request.at("id")}};
      reply["result"] = {{"status", "error"}, {"message", failure->second}};
      failures.erase(failure);
      return reply;
    }
    if (auto value = values.find(method); value != values.end()) {
      json reply = {{"jsonrpc", "2.0"}, {"id", request.at("id")}};
      reply["result"] = {{"status", "ok"}, {"value", value->second}};
      return reply;
    }
    return server_->Dispatcher().Handle(request);
  }

  // A method's reply straight from the service (a packet, or a checked
  // method's value), for tests that shape the data a screen receives.
  static json Reply(const std::string& method, std::vector<json> params) {
    json request = {{"jsonrpc", "2.0"}, {"id", 1}, {"method", method}, {"params", params}};
    json result = server_->Dispatcher().Handle(request).at("result");
    return result.contains("status") ? result.at("value") : result;
  }
  // The orders of branch 0001 as the screen first asks for them.
  static json Orders(const std::string& operador = "MARIA") {
    TFiltro filtro;
    IniciaFiltro(filtro);
    return Reply("GetPedido", ArgsGetPedido(filtro, "0001", operador));
  }
  // A packet cut to the rows whose `field` is one of `values`, in that order.
  static json Rows(const json& packet, const std::string& field, std::vector<std::string> values) {
    json cut = packet;
    cut["rows"] = json::array();
    int column = Column(packet, field);
    for (const std::string& value : values)
      for (const json& row : packet.at("rows"))
        if (row.at(column) == value) cut["rows"].push_back(row);
    return cut;
  }
  static int Column(const json& packet, const std::string& field) {
    const json& fields = packet.at("fields");
    for (size_t i = 0; i < fields.size(); ++i)
      if (fields[i].at("name") == field) return static_cast<int>(i);
    ADD_FAILURE() << "no field " << field;
    return 0;
  }
  static void Set(json& packet, size_t row, const std::string& field, json value) {
    packet.at("rows").at(row).at(Column(packet, field)) = std::move(value);
  }

  static appserver::testing::TDemoDatabase* database_;
  static appserver::testing::TLocalServer* server_;

  fw::testing::ScriptedOperator op;
  TfrmConfPedido* screen = nullptr;
  std::vector<std::string> calls;
  std::map<std::string, json> lastArgs;
  std::map<std::string, std::string> failures;
  // Checked methods answered with this value instead of the service's.
  std::map<std::string, json> values;
  int filterOpenings = 0;
  bool serverDown = false;
};

inline appserver::testing::TDemoDatabase* ScreenTest::database_ = nullptr;
inline appserver::testing::TLocalServer* ScreenTest::server_ = nullptr;

}  // namespace conf_pedido_testing
