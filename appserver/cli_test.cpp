// The appserver program as its users run it: init, demo and serve, with
// their refusals. Every server started here listens on 127.0.0.1 and is
// stopped by the test; every wait is bounded.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <httplib.h>

#include "appserver/password_hash.h"
#include "appserver/program_test_support.h"
#include "appserver/test_support.h"
#include "testing/test_database.h"
#include "rpc/check_result.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

TEST(CliTest, InitCreatesAnEmptyDatabaseAndNeverOverwrites) {
  std::string path = TempPath("init");
  TProgram init({"init", "--db", path});
  ASSERT_EQ(init.Wait(), 0) << init.Err();
  {
    auto db = fw::OpenSqlDriver("sqlite:" + path);
    EXPECT_TRUE(HasSchema(*db));
    EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM PEDIDO"), 0);
    db->Execute("INSERT INTO FILIAL VALUES ('0001', 'Matriz')");
  }
  TProgram again({"init", "--db", path});
  EXPECT_EQ(again.Wait(), 1);
  EXPECT_NE(again.Err().find("já existe"), std::string::npos) << again.Err();
  TProgram demo({"demo", "--db", path});
  EXPECT_EQ(demo.Wait(), 1);
  EXPECT_EQ(Count(*fw::OpenSqlDriver("sqlite:" + path), "SELECT COUNT(*) FROM FILIAL"), 1);
  RemoveDatabase(path);
}

// On PostgreSQL the database is one that exists and is empty: init and demo
// fill it, refuse one with tables, and never show the URL's password.
TEST(CliTest, InitAndDemoFillAnEmptyPostgresqlDatabase) {
  fw::testing::TTestDatabase empty("init", fw::testing::TTestBackend::kPostgres),
      other("demo", fw::testing::TTestBackend::kPostgres);
  std::string url = empty.Url();  // trust authentication: the password is not checked
  url.replace(url.find("://postgres@") + 3, 9, "postgres:segredo@");
  TProgram init({"init", "--db", url});
  ASSERT_EQ(init.Wait(), 0) << init.Err();
  EXPECT_TRUE(HasSchema(*fw::OpenSqlDriver(empty.Url())));
  EXPECT_EQ(init.Out().find("segredo"), std::string::npos);
  EXPECT_NE(init.Out().find("postgres:***@"), std::string::npos) << init.Out();
  TProgram again({"demo", "--db", url});
  EXPECT_EQ(again.Wait(), 1);
  EXPECT_NE(again.Err().find("já contém tabelas"), std::string::npos) << again.Err();
  EXPECT_EQ(again.Err().find("segredo"), std::string::npos);
  EXPECT_EQ(Count(*fw::OpenSqlDriver(empty.Url()), "SELECT COUNT(*) FROM FILIAL"), 0);

  TProgram demo({"demo", "--db", other.Url(), "--seed", "5", "--orders", "200", "--today", "2024-06-10"});
  ASSERT_EQ(demo.Wait(), 0) << demo.Err();
  EXPECT_EQ(Count(*fw::OpenSqlDriver(other.Url()), "SELECT COUNT(*) FROM PEDIDO"), 200);
  TProgram passwd({"passwd", "--db", other.Url(), "--operator", "ANA"}, "nova\n");
  ASSERT_EQ(passwd.Wait(), 0) << passwd.Err();
  EXPECT_TRUE(VerifyPassword(Text(*fw::OpenSqlDriver(other.Url()),
                                  "SELECT DSHASHSENHA FROM OPERADOR WHERE CDOPERADOR = 'ANA'"), "nova"));
}

TEST(CliTest, DemoIsDeterministic) {
  std::string a = TempPath("demo_a"), b = TempPath("demo_b");
  TProgram first({"demo", "--db", a, "--seed", "5", "--orders", "200", "--today", "2024-06-10"});
  TProgram second({"demo", "--db", b, "--seed", "5", "--orders", "200", "--today", "2024-06-10"});
  ASSERT_EQ(first.Wait(), 0) << first.Err();
  ASSERT_EQ(second.Wait(), 0) << second.Err();
  EXPECT_NE(first.Out().find("200 pedidos"), std::string::npos) << first.Out();
  auto digest = [](const std::string& path) {
    return DatabaseContents(*fw::OpenSqlDriver("sqlite:" + path));
  };
  EXPECT_EQ(digest(a), digest(b));
  EXPECT_EQ(Count(*fw::OpenSqlDriver("sqlite:" + a), "SELECT COUNT(*) FROM PEDIDO"), 200);
  // Every demo operator signs in with "demo".
  for (auto& row : fw::OpenSqlDriver("sqlite:" + a)->Query("SELECT DSHASHSENHA FROM OPERADOR", {}).Rows)
    EXPECT_TRUE(VerifyPassword(std::get<std::string>(row[0]), "demo"));
  RemoveDatabase(a);
  RemoveDatabase(b);
}

TEST(CliTest, WrongCommandLinesAreExplained) {
  std::string path = TempPath("wrong");
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, {"start"}, {"demo"}, {"demo", "--db", path, "--orders", "10"},
        {"demo", "--db", path, "--today", "2024-02-30"}, {"serve", "--db", path, "--listen", "x"},
        {"serve", "--db", path, "--porta", "1"}, {"init", "--db"}}) {
    TProgram p(args);
    EXPECT_EQ(p.Wait(), 2) << json(args).dump();
    EXPECT_NE(p.Err().find("Uso:"), std::string::npos) << p.Err();
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  TProgram missing({"serve", "--db", path, "--listen", "127.0.0.1:0"});
  EXPECT_EQ(missing.Wait(), 1);
  EXPECT_NE(missing.Err().find("Banco de dados não encontrado"), std::string::npos) << missing.Err();
  EXPECT_FALSE(std::filesystem::exists(path));
}

// passwd reads the first line of its input; an unknown operator changes
// nothing. The password set here is the one the server checks below.
TEST(CliTest, PasswdSetsAnOperatorsPassword) {
  TDemoDatabase data(100, 2);
  struct TCase { const char* op; const char* input; int exit; const char* said; };
  for (const TCase& c : std::vector<TCase>{
           {"NINGUEM", "x\n", 1, "Operador NINGUEM não cadastrado"},
           {"ANA", "", 2, "Informe a senha"},
           {"ANA", "\r\nresto\n", 2, "não pode ser vazia"},
           {"ANA", "s3nh@ forte\r\nresto\n", 0, "Senha do operador ANA alterada."}}) {
    TProgram p({"passwd", "--db", data.Path(), "--operator", c.op}, c.input);
    EXPECT_EQ(p.Wait(), c.exit) << c.op;
    EXPECT_NE((p.Out() + p.Err()).find(c.said), std::string::npos) << p.Out() << p.Err();
  }
  auto db = data.Open();
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM OPERADOR WHERE DSHASHSENHA LIKE '$argon2id$%'"), 1);
}

// A database made before operators signed in gets the password column and
// the session tables when a server or passwd opens it; its data stay.
TEST(CliTest, ADatabaseFromBeforeSignInIsUpgraded) {
  TDemoDatabase data(100, 2);
  int64_t orders = Count(*data.Open(), "SELECT COUNT(*) FROM PEDIDO");
  data.Open()->Execute(
      "DROP TABLE SESSAOOPER; DROP TABLE FALHAACESSO; ALTER TABLE OPERADOR DROP COLUMN DSHASHSENHA");
  TProgram passwd({"passwd", "--db", data.Path(), "--operator", "BRUNO"}, "nova\n");
  ASSERT_EQ(passwd.Wait(), 0) << passwd.Err();
  auto db = data.Open();
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM OPERADOR WHERE DSHASHSENHA IS NOT NULL"), 1);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM SESSAOOPER"), 0);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM FALHAACESSO"), 0);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM PEDIDO"), orders);
}

TEST(CliTest, ServeAnswersAndStopsOnSignals) {
  TDemoDatabase data(100, 2);
  TProgram passwd({"passwd", "--db", data.Path(), "--operator", "ANA"}, "s3nh@ forte\n");
  ASSERT_EQ(passwd.Wait(), 0) << passwd.Err();
  for (int sig : {SIGTERM, SIGINT}) {
    TProgram serve({"serve", "--db", data.Path(), "--listen", "127.0.0.1:0", "--session-hours", "1"});
    int port = serve.ListeningPort();
    ASSERT_GT(port, 0) << serve.Err();
    fw::TNetConnection con;
    con.ServerName = kModuleName;
    con.SetAddress("http://127.0.0.1:" + std::to_string(port));
    httplib::Result session = httplib::Client("127.0.0.1", port)
                                  .Post("/session", R"({"operator":"ANA","password":"s3nh@ forte"})",
                                        "application/json");
    ASSERT_EQ(session->status, 200) << session->body;
    json reply = json::parse(session->body);
    EXPECT_NEAR(reply["expires"].get<double>() - LocalNow(), 1.0 / 24, 1.0 / 1440);
    con.Token = reply["token"];
    json value = fw::CheckResultServ(con.Call("GetItemErro", {"0001", "0000000003"}));
    EXPECT_EQ(value["rows"][0][0], 1.0);
    con.Close();  // an idle kept-alive connection would hold the stop up to 2 s
    serve.Signal(sig);
    EXPECT_EQ(serve.Wait(std::chrono::seconds(15)), 0) << serve.Err();
    EXPECT_THROW(con.Call("GetParamPedido", {"0001"}), fw::EConnectionError);
  }
}

}  // namespace
}  // namespace appserver::testing
