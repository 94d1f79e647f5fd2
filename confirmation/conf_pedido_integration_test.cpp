// The confirmation screen against the real application server: the
// appserver program builds a demo database in a temporary file and serves
// it over HTTP on 127.0.0.1; the screen reaches it through the address the
// host gives, or finds nobody there. Every wait is bounded.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <fstream>
#include <sstream>
#include <thread>

#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "library/velkora.h"
#include "rpc/rpc_errors.h"
#include "sql/adoib_query.h"
#include "sql/db_connection.h"
#include "remote/rdm_conf_pedido.h"
#include "shared/filtro.h"
#include "testing/scripted_operator.h"
#include "testing/test_database.h"

namespace {

std::string TempPath(const std::string& stem) {
  return ::testing::TempDir() + "conf_pedido_" + stem + "_" + std::to_string(getpid());
}

// The appserver program in a child process, its output in a file.
class TAppServer {
 public:
  explicit TAppServer(std::vector<std::string> args) : out_(TempPath("appserver.out")) {
    pid_ = fork();
    if (pid_ == 0) {
      freopen(out_.c_str(), "w", stdout);
      freopen("/dev/null", "w", stderr);
      std::vector<char*> argv = {const_cast<char*>(APPSERVER_BINARY)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(APPSERVER_BINARY, argv.data());
      _exit(127);
    }
  }
  ~TAppServer() {
    Stop();
    std::remove(out_.c_str());
  }
  // The exit code, or -1 if it did not end within the time.
  int Wait(std::chrono::seconds limit = std::chrono::seconds(120)) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }
  // The port of "listening on 127.0.0.1:PORT", 0 when it does not come.
  int Port() {
    for (int i = 0; i < 1500; ++i) {
      std::ifstream f(out_);
      std::stringstream s;
      s << f.rdbuf();
      std::string out = s.str();
      size_t at = out.find("listening on 127.0.0.1:");
      if (at != std::string::npos && out.find('\n', at) != std::string::npos)
        return std::stoi(out.substr(at + 23));
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (Wait(std::chrono::seconds(10)) < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }

 private:
  std::string out_;
  pid_t pid_ = -1;
};

// Signs `op` in with the demo password and answers the session's token.
std::string SignIn(int port, const std::string& op) {
  httplib::Result res = httplib::Client("127.0.0.1", port)
                            .Post("/session", R"({"operator":")" + op + R"(","password":"demo"})",
                                  "application/json");
  if (!res || res->status != 200) return {};
  return nlohmann::json::parse(res->body)["token"];
}

class ConfPedidoOverHttp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    database_ = std::make_unique<fw::testing::TTestDatabase>("confpedido");
    TAppServer demo({"demo", "--db", database_->Place(), "--orders", "150", "--today", "2024-06-10"});
    ASSERT_EQ(demo.Wait(), 0);
  }
  static void TearDownTestSuite() { database_.reset(); }
  void SetUp() override {
    server_ = std::make_unique<TAppServer>(
        std::vector<std::string>{"serve", "--db", database_->Place(), "--listen", "127.0.0.1:0"});
    port_ = server_->Port();
    ASSERT_GT(port_, 0);
    fw::dtmDBGeral().adcGeral.Open(database_->Url());
    Velkora::THostFacts facts;
    facts.Operador = "CARLOS";
    facts.FiliProc = "0003";
    facts.NomeFiliProc = "Filial Curitiba";
    facts.WebURL = "127.0.0.1";
    facts.WebPort = port_;
    facts.WebToken = SignIn(port_, "CARLOS");
    ASSERT_FALSE(facts.WebToken.empty());
    Velkora::SetHostFacts(facts);
  }
  void TearDown() override {
    if (Cli_zqv41800::boIdCriado) Cli_zqv41800::frmConfPedido->Close();
    fw::Application().ProcessMessages();
    fw::dtmDBGeral().adcGeral.Close();
    server_.reset();
  }
  TfrmConfPedido& Start() {
    Cli_zqv41800::CriaConfPedido();
    return *Cli_zqv41800::frmConfPedido;
  }
  void CloseFilterWhenShown() {
    fw::Application().Post([] {
      if (Cli_zqv41801::boIdCriado) Cli_zqv41801::frmFiltroConfPedido->Close();
    });
  }

  static std::unique_ptr<fw::testing::TTestDatabase> database_;
  std::unique_ptr<TAppServer> server_;
  int port_ = 0;
  fw::testing::ScriptedOperator op;
};

std::unique_ptr<fw::testing::TTestDatabase> ConfPedidoOverHttp::database_;

TEST_F(ConfPedidoOverHttp, BranchExitReloadAndBrowseTheDetails) {
  TfrmConfPedido& screen = Start();
  EXPECT_TRUE(screen.netConPed.Connected());
  EXPECT_EQ(screen.netConPed.Port, port_);

  CloseFilterWhenShown();
  screen.dbgPadrao->SetFocus();  // leaves the branch field
  fw::Application().ProcessMessages();
  EXPECT_EQ(Cli_zqv41800::stCdFilial, "0003");
  EXPECT_EQ(screen.cdsParamPedido.FieldByName("IDUTRESELOTE").AsString(), "S");
  EXPECT_TRUE(screen.dbgPosiEstoq->Visible());

  screen.sbtVerificar->Click();
  ASSERT_FALSE(screen.cdsPedido.IsEmpty());
  EXPECT_EQ(screen.cdsPedido.FieldByName("NRPEDIDO").AsString(), "0000000023");
  for (fw::TClientDataSet& ds = screen.cdsPedido; !ds.Eof(); ds.Next())
    EXPECT_EQ(ds.FieldByName("CDFILIAL").AsString(), "0003");

  ASSERT_TRUE(screen.cdsPedido.Locate("NRPEDIDO", "0000000032"));  // terms and remarks
  screen.mnuItemPedido->Click();
  EXPECT_EQ(screen.cdsItemPedido.FieldByName("NRPEDIDO").AsString(), "0000000032");
  EXPECT_FALSE(screen.cdsPosiEstoq.IsEmpty());
  EXPECT_GT(screen.nedTotal->Value(), 0);
  screen.mnuFormaPgto->Click();
  EXPECT_EQ(screen.cdsPrazoPgto.RecordCount(), 3);
  EXPECT_TRUE(screen.dbgPrazoPg->Visible());
  screen.mnuObservacao->Click();
  EXPECT_FALSE(screen.cdsObser.FieldByName("TXOBSPED").AsString().empty());
  EXPECT_EQ(op.BusyDepth, 0);
}

// Every reference query of the two screens runs its default text on the
// database the run uses (SQLite, or PostgreSQL with INSTR from the schema).
TEST_F(ConfPedidoOverHttp, EveryReferenceQueryOfBothScreensRuns) {
  TfrmConfPedido& screen = Start();
  CloseFilterWhenShown();
  fw::Application().ProcessMessages();
  TfrmFiltroConfPedido filter(nullptr);
  const std::map<std::string, std::string> values = {
      {"P_CDFILIAL", "0003"}, {"P_CDOPERADOR", "CARLOS"}, {"P_CDCLIENTE", "0000000001_0000000002_"},
      {"P_TCDCLIENTE", "N"}, {"P_CDPRODESTO", "0000000001"}};
  int queries = 0, rows = 0;
  for (fw::TADOIBQuery* q :
       {&screen.qryFilial, &screen.qryPesqFilial, &screen.qryPesqUnid, &screen.qryVendLog,
        &filter.qryVendLog, &filter.qryVendedor, &filter.qryCliente, &filter.qryProduto,
        &filter.qryMuniciCli, &filter.qryPesqTipoOper}) {
      q->Close();
      for (int p = 0; p < q->Params().Count(); ++p) {
        auto value = values.find(q->Params()[p].Name);
        q->Params()[p].SetAsString(value == values.end() ? "0003" : value->second);
      }
      EXPECT_NO_THROW(q->Open()) << q->Name;
      ++queries;
      rows += q->Active() ? q->RecordCount() : 0;
  }
  EXPECT_EQ(queries, 10);
  EXPECT_GT(rows, queries);
}

TEST_F(ConfPedidoOverHttp, AServerDownAtStartIsReportedAtTheFirstCall) {
  server_->Stop();
  TfrmConfPedido& screen = Start();  // opens all the same
  EXPECT_FALSE(screen.netConPed.Connected());
  EXPECT_THROW(screen.dbgPadrao->SetFocus(), fw::EConnectionError);
  EXPECT_TRUE(screen.medCdFilial->Focused());
  EXPECT_TRUE(Cli_zqv41800::stCdFilial.empty());
}

// Pending orders of branch 0003 with a carrier and without permit
// problems, which the screen lets the operator mark.
std::vector<std::string> MarkableOrders() {
  fw::TADOIBQuery q{"qryMarcaveis"};
  q.SQL = fw::TStrings({"SELECT P.NRPEDIDO FROM PEDIDO P WHERE P.CDFILIAL = '0003'",
                        " AND P.IDSITPEDIDO = '1' AND P.NRINSJURTRAN IS NOT NULL",
                        " AND NOT EXISTS (SELECT 1 FROM ITEMPEDIDO I JOIN INCONSALVARA L",
                        "  ON L.CDFILIAL = I.CDFILIAL AND L.CDPRODUTO = I.CDPRODUTO",
                        "  AND L.IDRESOLVIDA = 'N'",
                        "  WHERE I.CDFILIAL = P.CDFILIAL AND I.NRPEDIDO = P.NRPEDIDO)",
                        "ORDER BY P.NRPEDIDO"});
  q.Open();
  std::vector<std::string> orders;
  for (; !q.Eof(); q.Next()) orders.push_back(q.FieldByName("NRPEDIDO").AsString());
  return orders;
}

std::string StatusInDatabase(const std::string& order) {
  fw::TADOIBQuery q{"qrySituacao"};
  q.SQL = fw::TStrings({"SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = '0003'",
                        " AND NRPEDIDO = '" + order + "'"});
  q.Open();
  return q.FieldByName("IDSITPEDIDO").AsString();
}

// The screen loaded for branch 0003 with two markable orders marked by
// the Space key; their numbers.
std::vector<std::string> MarkTwo(TfrmConfPedido& screen) {
  screen.dbgPadrao->SetFocus();
  fw::Application().ProcessMessages();
  screen.sbtVerificar->Click();
  std::vector<std::string> orders;
  for (const std::string& order : MarkableOrders())
    if (orders.size() < 2 && screen.cdsPedido.Locate("NRPEDIDO", order)) orders.push_back(order);
  for (const std::string& order : orders) {
    screen.cdsPedido.Locate("NRPEDIDO", order);
    fw::TKey space = fw::VK_SPACE;
    screen.dbgPadrao->KeyDown(space, 0);
  }
  return orders;
}

TEST_F(ConfPedidoOverHttp, TwoMarkedOrdersConfirmedAreInProgressInTheDatabase) {
  TfrmConfPedido& screen = Start();
  CloseFilterWhenShown();
  std::vector<std::string> orders = MarkTwo(screen);
  ASSERT_EQ(orders.size(), 2u);
  ASSERT_EQ(Cli_zqv41800::inContPedidoCh, 2);

  op.Answer("Confirma operação?", fw::mrYes);
  screen.sbtConfirmar->Click();
  op.Verify();
  for (const std::string& order : orders) EXPECT_EQ(StatusInDatabase(order), "2") << order;
  ASSERT_TRUE(screen.cdsPedido.Locate("NRPEDIDO", orders[0]));
  EXPECT_EQ(screen.cdsPedido.FieldByName("IDSITPEDIDO").AsString(), "2");
  EXPECT_EQ(Cli_zqv41800::inContPedidoCh, 0);
  EXPECT_FALSE(screen.sbtConfirmar->Enabled());
}

// Another host confirms one of the marked orders first: this screen's
// confirmation is refused as a whole with the server's text, the other
// marked order stays pending and the screen's marks are gone.
TEST_F(ConfPedidoOverHttp, AnOrderConfirmedMeanwhileByAnotherHostRefusesTheWholeConfirmation) {
  TfrmConfPedido& screen = Start();
  CloseFilterWhenShown();
  std::vector<std::string> orders = MarkTwo(screen);
  ASSERT_EQ(orders.size(), 2u);

  fw::TNetConnection other{"netOutroHost"};
  other.ServerName = "Zqv41800.rdmConfPedido";
  other.RaiseServerErrors = false;
  other.Port = port_;
  other.Token = SignIn(port_, "DANIELA");
  other.Open();
  TFiltro filtro;
  IniciaFiltro(filtro);
  TRdmConfPedido(other).SetPedidoPEAN("0003", orders[0] + "_", "DANIELA", filtro,
                                      "Operação bloqueada. Pedido em alteração por outro usuário.");
  ASSERT_EQ(StatusInDatabase(orders[0]), "2");

  op.Answer("Confirma operação?", fw::mrYes);
  bool refused = false;
  try {
    screen.sbtConfirmar->Click();
  } catch (const fw::EServerError& e) {
    refused = true;
    EXPECT_NE(std::string(e.what()).find(orders[0]), std::string::npos) << e.what();
  }
  op.Verify();
  EXPECT_TRUE(refused);
  EXPECT_EQ(StatusInDatabase(orders[1]), "1");  // nothing half-confirmed
  EXPECT_EQ(screen.cdsPedido.ChangeCount(), 0);
  EXPECT_EQ(Cli_zqv41800::inContPedidoCh, 0);
  EXPECT_FALSE(screen.sbtConfirmar->Enabled());
  EXPECT_EQ(op.BusyDepth, 0);
}

}  // namespace
