// Arbitrary text as the body of a JSON-RPC request to the order service,
// on a small demo database kept in memory (/dev/shm when there is one).
// HandleText must never raise, and what it answers is empty (nothing to
// answer) or one JSON value: an object or an array of them.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "appserver/db_pool.h"
#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/order_service.h"
#include "appserver/schema.h"
#include "sql/sql_driver.h"
#include "text/date_time.h"

namespace {

std::string DatabasePath() {
  std::string folder = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  return folder + "/fuzz_dispatcher_" + std::to_string(::getpid()) + ".db";
}

// Built once per process; removed when the process ends normally.
struct TFuzzService {
  TFuzzService() : path(DatabasePath()) {
    std::filesystem::remove(path);
    auto db = fw::OpenSqlDriver("sqlite:" + path);
    appserver::CreateSchema(*db);
    appserver::FillDemoData(*db, {3, appserver::kMinDemoOrders, fw::EncodeDate(2024, 6, 10)});
    db.reset();
    pool = std::make_unique<appserver::TDbPool>("sqlite:" + path);
    dispatcher = std::make_unique<appserver::TDispatcher>(
        appserver::kModuleName, appserver::OrderServiceMethods(*pool, [] { return fw::EncodeDate(2024, 6, 10) + 0.5; }));
  }
  ~TFuzzService() {
    dispatcher.reset();
    pool.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  }
  std::string path;
  std::unique_ptr<appserver::TDbPool> pool;
  std::unique_ptr<appserver::TDispatcher> dispatcher;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzService service;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string operatorName = "DANIELA";
  std::string reply = service.dispatcher->HandleText(text, size % 2 ? &operatorName : nullptr);
  if (reply.empty()) return 0;
  nlohmann::json parsed = nlohmann::json::parse(reply, nullptr, false);
  if (parsed.is_discarded() || !(parsed.is_object() || parsed.is_array())) __builtin_trap();
  return 0;
}
