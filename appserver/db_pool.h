// Database connections of the application server: one per request being
// served, reused afterwards.
//
// Acquire hands out an idle connection or opens a new one; the lease gives
// it back when it ends (at most `keepIdle` are kept open, the rest are
// closed). Connections are never shared by two threads at once, and a
// connection is handed back outside any transaction (TSqlTransaction rolls
// back on every exit path).
//
// Opening the pool checks that the database exists and holds the system's
// tables, and switches an SQLite file to write-ahead logging, so readers
// do not wait for a confirmation being written. Raises EDatabaseError
// (Portuguese) when the database cannot be used. Thread-safe.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sql/sql_driver.h"

namespace appserver {

class TDbPool {
 public:
  explicit TDbPool(std::string url, size_t keepIdle = 8);
  ~TDbPool();

  class TLease {
   public:
    TLease(TDbPool& pool, std::unique_ptr<fw::SqlDriver> db) : pool_(&pool), db_(std::move(db)) {}
    TLease(TLease&& other) noexcept = default;
    ~TLease();
    fw::SqlDriver& operator*() const { return *db_; }
    fw::SqlDriver* operator->() const { return db_.get(); }

   private:
    TDbPool* pool_;
    std::unique_ptr<fw::SqlDriver> db_;
  };

  TLease Acquire();
  const std::string& Url() const { return url_; }

 private:
  std::unique_ptr<fw::SqlDriver> Open() const;
  void GiveBack(std::unique_ptr<fw::SqlDriver> db);

  std::string url_;
  size_t keepIdle_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<fw::SqlDriver>> idle_;
};

}  // namespace appserver
