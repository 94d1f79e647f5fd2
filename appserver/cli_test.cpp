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
#include "appserver/test_support.h"
#include "rpc/check_result.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

// A child process running the appserver program, its output in files.
class TProgram {
 public:
  explicit TProgram(std::vector<std::string> args, const std::string& input = {})
      : out_(TempPath("out")), err_(TempPath("err")), in_(TempPath("in")) {
    std::ofstream(in_) << input;
    pid_ = fork();
    if (pid_ == 0) {
      freopen(in_.c_str(), "r", stdin);
      freopen(out_.c_str(), "w", stdout);
      freopen(err_.c_str(), "w", stderr);
      std::vector<char*> argv = {const_cast<char*>(APPSERVER_BINARY)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(APPSERVER_BINARY, argv.data());
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
