#include "appserver/db_pool.h"

#include <filesystem>

#include "appserver/schema.h"
#include "base/errors.h"

namespace appserver {

TDbPool::TDbPool(std::string url, size_t keepIdle) : url_(std::move(url)), keepIdle_(keepIdle) {
  std::string path = SqliteFilePath(url_);
  if (!path.empty() && !std::filesystem::exists(path))
    throw fw::EDatabaseError("Banco de dados não encontrado: '" + path +
                             "'. Crie-o com 'appserver init' ou 'appserver demo'.");
  std::unique_ptr<fw::SqlDriver> first = Open();
  if (!HasSchema(*first))
    throw fw::EDatabaseError("O banco de dados '" + ShownUrl(url_) +
                             "' não contém as tabelas do sistema. Crie-o com 'appserver init' "
                             "ou 'appserver demo'.");
  if (!path.empty()) first->Query("PRAGMA journal_mode = WAL", {});
  UpgradeSchema(*first);
  idle_.push_back(std::move(first));
}

TDbPool::~TDbPool() = default;

std::unique_ptr<fw::SqlDriver> TDbPool::Open() const { return fw::OpenSqlDriver(url_); }

TDbPool::TLease TDbPool::Acquire() {
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<fw::SqlDriver> db = std::move(idle_.back());
      idle_.pop_back();
      return TLease(*this, std::move(db));
    }
  }
  return TLease(*this, Open());
}

void TDbPool::GiveBack(std::unique_ptr<fw::SqlDriver> db) {
  if (db->InTransaction()) return;  // never hand a half-done transaction on
  std::lock_guard lock(mutex_);
  if (idle_.size() < keepIdle_) idle_.push_back(std::move(db));
}

TDbPool::TLease::~TLease() {
  if (pool_ && db_) pool_->GiveBack(std::move(db_));
}

}  // namespace appserver
