#include "appserver/cli.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <thread>

#include "appserver/db_pool.h"
#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/http_server.h"
#include "appserver/operator_passwords.h"
#include "appserver/order_service.h"
#include "appserver/schema.h"
#include "appserver/session_store.h"
#include "base/errors.h"
#include "text/date_time.h"

namespace appserver {

namespace {

const char* kDemoPassword = "demo";

const char* kUsage =
    "Uso:\n"
    "  appserver init  --db ARQUIVO-OU-URL\n"
    "  appserver demo  --db ARQUIVO-OU-URL [--seed N] [--orders N] [--today AAAA-MM-DD]\n"
    "  appserver serve --db ARQUIVO-OU-URL [--listen MAQUINA:PORTA] [--session-hours N]\n"
    "  appserver passwd --db ARQUIVO-OU-URL --operator CODIGO   (a senha na primeira linha da entrada)\n";

class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --name value pairs, each name allowed once and only those the command
// knows.
std::map<std::string, std::string> ReadOptions(const std::vector<std::string>& args,
                                               std::initializer_list<const char*> known) {
  std::map<std::string, std::string> options;
  for (size_t i = 1; i < args.size(); i += 2) {
    const std::string& name = args[i];
    bool ok = false;
    for (const char* k : known) ok = ok || name == k;
    if (!ok) throw TUsageError("Opção desconhecida para '" + args[0] + "': " + name);
    if (i + 1 >= args.size()) throw TUsageError("Falta o valor da opção " + name + ".");
    if (!options.emplace(name, args[i + 1]).second)
      throw TUsageError("Opção repetida: " + name + ".");
  }
  if (!options.count("--db")) throw TUsageError("Informe o banco de dados com --db.");
  return options;
}

template <typename T>
T Number(const std::string& option, const std::string& text, T min, T max) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    throw TUsageError("Valor inválido para " + option + ": '" + text + "' (esperado de " +
                      std::to_string(min) + " a " + std::to_string(max) + ").");
  return value;
}

double Today(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &extra) != 3 ||
      !fw::IsValidDate(y, m, d))
    throw TUsageError("Data inválida para --today: '" + text + "' (esperado AAAA-MM-DD).");
  return fw::EncodeDate(y, m, d);
}

// Builds a new SQLite database at `path` through `fill`, in a temporary
// file renamed into place at the end, so a failure leaves nothing behind
// and an existing file is never touched.
template <typename Fill>
void BuildSqliteDatabase(const std::string& path, Fill fill) {
  if (path.empty()) throw TUsageError("--db deve ser o caminho de um arquivo SQLite ou um endereço postgresql://.");
  if (std::filesystem::exists(path))
    throw fw::EDatabaseError("O arquivo '" + path + "' já existe; nada foi alterado.");
  std::string temp = path + ".tmp-" + std::to_string(getpid());
  std::filesystem::remove(temp);
  try {
    {
      auto db = fw::OpenSqlDriver("sqlite:" + temp);
      db->Execute("PRAGMA synchronous = OFF");
      CreateSchema(*db);
      fill(*db);
      db->Execute("PRAGMA synchronous = FULL");
      db->Query("PRAGMA journal_mode = WAL", {});
    }
    if (std::filesystem::exists(path))
      throw fw::EDatabaseError("O arquivo '" + path + "' foi criado por outro processo; nada foi alterado.");
    std::filesystem::rename(temp, path);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    std::filesystem::remove(temp + "-wal", ignored);
    std::filesystem::remove(temp + "-shm", ignored);
    throw;
  }
}

// Fills an existing, empty PostgreSQL database: the schema and `fill` in
// one transaction, so a failure leaves the database as empty as it was.
template <typename Fill>
void BuildPostgresDatabase(const std::string& url, Fill fill) {
  auto db = fw::OpenSqlDriver(url);
  fw::TSqlTransaction tx(*db);
  if (HasAnyTable(*db))
    throw fw::EDatabaseError("O banco de dados '" + ShownUrl(url) +
                             "' já contém tabelas; nada foi alterado.");
  CreateSchema(*db);
  fill(*db);
  tx.Commit();
  db->Execute("ANALYZE");
}

template <typename Fill>
void BuildDatabase(const std::string& url, Fill fill) {
  if (IsPostgresUrl(url)) BuildPostgresDatabase(url, fill);
  else BuildSqliteDatabase(SqliteFilePath(url), fill);
}

// Where a built database is, as messages show it.
std::string DatabasePlace(const std::string& url) {
  return IsPostgresUrl(url) ? ShownUrl(url) : SqliteFilePath(url);
}

int Init(const std::vector<std::string>& args) {
  auto o = ReadOptions(args, {"--db"});
  BuildDatabase(o["--db"], [](fw::SqlDriver&) {});
  std::cout << "Banco de dados criado em " << DatabasePlace(o["--db"]) << "." << std::endl;
  return 0;
}

int Demo(const std::vector<std::string>& args) {
  auto o = ReadOptions(args, {"--db", "--seed", "--orders", "--today"});
  TDemoOptions demo;
  if (o.count("--seed")) demo.Seed = Number<uint64_t>("--seed", o["--seed"], 0, UINT64_MAX);
  if (o.count("--orders"))
    demo.Orders = Number<int>("--orders", o["--orders"], kMinDemoOrders, 10'000'000);
  demo.Today = o.count("--today") ? Today(o["--today"]) : std::floor(LocalNow());
  TDemoSummary s;
  BuildDatabase(o["--db"], [&](fw::SqlDriver& db) {
    s = FillDemoData(db, demo);
    SetEveryPassword(db, kDemoPassword);
  });
  std::cout << "Banco de demonstração criado em " << DatabasePlace(o["--db"]) << ": "
            << s.Branches << " filiais, " << s.Customers << " clientes, " << s.Products
            << " produtos, " << s.Orders << " pedidos, " << s.Items << " itens (semente "
            << demo.Seed << ", data " << fw::FormatDateTime("yyyy-mm-dd", demo.Today) << "); senha de "
            << "todos os operadores: " << kDemoPassword << "." << std::endl;
  return 0;
}

// The first line of standard input, without its line end.
std::string PasswordFromInput() {
  std::string line;
  if (!std::getline(std::cin, line)) throw TUsageError("Informe a senha na primeira linha da entrada.");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.empty()) throw TUsageError("A senha não pode ser vazia.");
  return line;
}

int Passwd(const std::vector<std::string>& args) {
  auto o = ReadOptions(args, {"--db", "--operator"});
  if (!o.count("--operator")) throw TUsageError("Informe o operador com --operator.");
  std::string password = PasswordFromInput();
  TDbPool pool(o["--db"]);
  TDbPool::TLease db = pool.Acquire();
  fw::TSqlTransaction tx(*db);
  SetPassword(*db, o["--operator"], password);
  tx.Commit();
  std::cout << "Senha do operador " << o["--operator"] << " alterada." << std::endl;
  return 0;
}

// Waits for SIGTERM or SIGINT on a thread of its own and stops the server.
// The signals are blocked in every other thread (they inherit the mask).
class TSignalStopper {
 public:
  explicit TSignalStopper(THttpServer& server) {
    sigemptyset(&set_);
    sigaddset(&set_, SIGTERM);
    sigaddset(&set_, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set_, nullptr);
    thread_ = std::thread([this, &server] {
      int sig = 0;
      sigwait(&set_, &sig);
      if (!done_) {
        std::cerr << "Encerrando o servidor de aplicação..." << std::endl;
        server.Stop();
      }
    });
  }
  ~TSignalStopper() {
    done_ = true;
    pthread_kill(thread_.native_handle(), SIGTERM);  // wakes sigwait if still waiting
    thread_.join();
  }

 private:
  sigset_t set_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

int Serve(const std::vector<std::string>& args) {
  auto o = ReadOptions(args, {"--db", "--listen", "--session-hours"});
  THttpOptions http;
  std::string listen = o.count("--listen") ? o["--listen"] : "127.0.0.1:41800";
  size_t colon = listen.rfind(':');
  if (colon == std::string::npos || colon == 0)
    throw TUsageError("Endereço inválido para --listen: '" + listen + "' (esperado MAQUINA:PORTA).");
  http.Host = listen.substr(0, colon);
  http.Port = Number<int>("--listen", listen.substr(colon + 1), 0, 65535);
  TSessionOptions session;
  if (o.count("--session-hours"))
    session.Hours = Number<double>("--session-hours", o["--session-hours"], 0.01, 24.0 * 365);

  TDbPool pool(o["--db"]);
  TDispatcher dispatcher(kModuleName, OrderServiceMethods(pool),
                         [](const std::string& line) { std::cerr << line << std::endl; });
  TSessionStore sessions(pool, session, LocalNow);
  THttpServer server(dispatcher, sessions, http);
  TSignalStopper stopper(server);
  int port = server.Bind();
  std::cout << "listening on " << http.Host << ":" << port << std::endl;
  server.Run();
  return 0;
}

}  // namespace

int RunAppServer(const std::vector<std::string>& args) {
  try {
    if (args.empty()) throw TUsageError("Informe um comando.");
    if (args[0] == "--help" || args[0] == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (args[0] == "init") return Init(args);
    if (args[0] == "demo") return Demo(args);
    if (args[0] == "serve") return Serve(args);
    if (args[0] == "passwd") return Passwd(args);
    throw TUsageError("Comando desconhecido: '" + args[0] + "'.");
  } catch (const TUsageError& e) {
    std::cerr << "appserver: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "appserver: " << e.what() << std::endl;
    return 1;
  }
}

}  // namespace appserver
