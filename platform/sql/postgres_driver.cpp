#include "sql/postgres_driver.h"

#include <libpq-fe.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "base/errors.h"
#include "base/text_case.h"

namespace fw {
namespace {

// Type oids of the built-in types the driver reads and sends.
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The spelling the statement gives a result column: PostgreSQL folds
// unquoted names to lower case, the screens use them as written.
std::string WrittenName(const std::string& sql, const std::string& name) {
  const size_t n = name.size();
  for (size_t i = 0; n && i + n <= sql.size(); ++i) {
    bool starts = i == 0 || !IsNameChar(sql[i - 1]);
    bool ends = i + n == sql.size() || !IsNameChar(sql[i + n]);
    if (starts && ends && SameText(std::string_view(sql).substr(i, n), name)) return sql.substr(i, n);
  }
  return UpperCase(name);
}

class PostgresDriver : public SqlDriver {
 public:
  explicit PostgresDriver(PGconn* conn) : conn_(conn) {}
  ~PostgresDriver() override { PQfinish(conn_); }

  TSqlDialect Dialect() const override { return TSqlDialect::PostgreSQL; }

  SqlResult Query(const std::string& sql, const SqlParams& params) override {
    Result res(Run(sql, params));
    SqlResult result;
    int columns = PQnfields(res.get());
    for (int c = 0; c < columns; ++c)
      result.Columns.push_back({WrittenName(sql, PQfname(res.get(), c)), TypeName(PQftype(res.get(), c))});
    int rows = PQntuples(res.get());
    result.Rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
      std::vector<SqlValue> row;
      row.reserve(columns);
      for (int c = 0; c < columns; ++c) row.push_back(Cell(res.get(), r, c));
      result.Rows.push_back(std::move(row));
    }
    return result;
  }

  void Execute(const std::string& sql, const SqlParams& params) override {
    Result res(params.empty() ? PQexec(conn_, sql.c_str()) : Run(sql, params).release());
    Check(res.get());
    const char* tuples = PQcmdTuples(res.get());
    rows_ = tuples && *tuples ? std::atoll(tuples) : 0;
  }

  // READ COMMITTED whatever the server's default: a writer locks its rows
  // (FOR UPDATE) and every statement then sees what others committed.
  void Begin(TTransactionKind) override { Execute("BEGIN ISOLATION LEVEL READ COMMITTED", {}); }

  // COPY in text form: one line per row, tabs between values, \N for NULL.
  void InsertRows(const std::string& table, const std::vector<std::string>& columns,
                  const std::vector<std::vector<SqlValue>>& rows) override {
    if (rows.empty()) return;
    std::string sql = "COPY " + table + " (";
    for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += ") FROM STDIN";
    Result start(PQexec(conn_, sql.c_str()));
    if (!start || PQresultStatus(start.get()) != PGRES_COPY_IN) Check(start.get());
    std::string buffer;
    bool sent = true;
    for (const std::vector<SqlValue>& row : rows) {
      if (row.size() != columns.size()) {
        PQputCopyEnd(conn_, "linha com número errado de valores");
        Drain();
        throw EDatabaseError("Linha com " + std::to_string(row.size()) + " valores para " +
                             std::to_string(columns.size()) + " colunas de " + table + ".");
      }
      for (size_t i = 0; i < row.size(); ++i) {
        if (i) buffer += '\t';
        AppendCopyValue(buffer, row[i]);
      }
      buffer += '\n';
      if (buffer.size() >= (1 << 20)) {
        sent = sent && PQputCopyData(conn_, buffer.data(), static_cast<int>(buffer.size())) == 1;
        buffer.clear();
      }
    }
    if (!buffer.empty())
      sent = sent && PQputCopyData(conn_, buffer.data(), static_cast<int>(buffer.size())) == 1;
    sent = PQputCopyEnd(conn_, nullptr) == 1 && sent;
    Drain();
    if (!sent) throw EDatabaseError("Erro do banco de dados: " + std::string(PQerrorMessage(conn_)));
    rows_ = static_cast<int64_t>(rows.size());
  }

  bool InTransaction() const override { return PQtransactionStatus(conn_) != PQTRANS_IDLE; }
  int64_t RowsAffected() const override { return rows_; }

 private:
  struct Clear {
    void operator()(PGresult* r) const { PQclear(r); }
  };
  using Result = std::unique_ptr<PGresult, Clear>;

  Result Run(const std::string& sql, const SqlParams& params) {
    PostgresStatement st = NumberParameters(sql);
    std::vector<std::string> texts(st.Names.size());
    std::vector<const char*> values(st.Names.size(), nullptr);
    std::vector<Oid> types(st.Names.size(), 0);
    for (size_t i = 0; i < st.Names.size(); ++i) {
      const SqlValue* value = Find(params, st.Names[i]);
      if (!value || value->index() == 0) continue;
      if (auto* s = std::get_if<std::string>(value)) {
        texts[i] = *s;
        types[i] = kText;
      } else if (auto* d = std::get_if<double>(value)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.17g", *d);
        texts[i] = buf;
        types[i] = kFloat8;
      } else {
        texts[i] = std::to_string(std::get<int64_t>(*value));
        types[i] = kInt8;
      }
      values[i] = texts[i].c_str();
    }
    Result res(PQexecParams(conn_, st.Text.c_str(), static_cast<int>(values.size()), types.data(),
                            values.data(), nullptr, nullptr, 0));
    Check(res.get());
    return res;
  }

  // Reads every result of the statement that ran, raising the first error.
  void Drain() {
    std::unique_ptr<PGresult, Clear> failed;
    while (PGresult* r = PQgetResult(conn_)) {
      ExecStatusType status = PQresultStatus(r);
      if (!failed && status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) failed.reset(r);
      else PQclear(r);
    }
    if (failed) Check(failed.get());
  }

  static void AppendCopyValue(std::string& out, const SqlValue& value) {
    if (value.index() == 0) {
      out += "\\N";
    } else if (auto* s = std::get_if<std::string>(&value)) {
      for (char c : *s) {
        switch (c) {
          case '\\': out += "\\\\"; break;
          case '\t': out += "\\t"; break;
          case '\n': out += "\\n"; break;
          case '\r': out += "\\r"; break;
          default: out += c;
        }
      }
    } else if (auto* d = std::get_if<double>(&value)) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.17g", *d);
      out += buf;
    } else {
      out += std::to_string(std::get<int64_t>(value));
    }
  }

  static const SqlValue* Find(const SqlParams& params, const std::string& name) {
    for (const auto& [n, v] : params)
      if (SameText(n, name)) return &v;
    return nullptr;
  }

  void Check(PGresult* res) {
    ExecStatusType status = res ? PQresultStatus(res) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) return;
    std::string message = res ? PQresultErrorMessage(res) : PQerrorMessage(conn_);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    std::string code = state ? state : "";
    if (code == "40001" || code == "40P01" || code == "55P03")
      throw EDatabaseBusy("Banco de dados ocupado por outra conexão: " + message);
    throw EDatabaseError("Erro do banco de dados: " + message);
  }

  static std::string TypeName(Oid type) {
    switch (type) {
      case kInt2: case kInt4: case kInt8: return "INTEGER";
      case kFloat4: case kFloat8: case kNumeric: return "REAL";
      default: return "";
    }
  }

  static SqlValue Cell(PGresult* res, int r, int c) {
    if (PQgetisnull(res, r, c)) return std::monostate{};
    const char* text = PQgetvalue(res, r, c);
    switch (PQftype(res, c)) {
      case kInt2: case kInt4: case kInt8: return static_cast<int64_t>(std::strtoll(text, nullptr, 10));
      case kFloat4: case kFloat8: case kNumeric: return std::strtod(text, nullptr);
      default: return std::string(text, PQgetlength(res, r, c));
    }
  }

  PGconn* conn_;
  int64_t rows_ = 0;
};

}  // namespace

PostgresStatement NumberParameters(const std::string& sql) {
  PostgresStatement out;
  out.Text.reserve(sql.size());
  for (size_t i = 0; i < sql.size();) {
    char c = sql[i];
    if (c == '\'' || c == '"') {  // a quoted text or name, quotes doubled inside
      size_t end = i + 1;
      while (end < sql.size() && !(sql[end] == c && (end + 1 >= sql.size() || sql[end + 1] != c)))
        end += sql[end] == c ? 2 : 1;
      out.Text.append(sql, i, end + 1 - i);
      i = end + 1;
      continue;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {  // a comment, to the line's end
      size_t end = sql.find('\n', i);
      end = end == std::string::npos ? sql.size() : end;
      out.Text.append(sql, i, end - i);
      i = end;
      continue;
    }
    if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {  // a cast
      out.Text += "::";
      i += 2;
      continue;
    }
    if (c == ':' && i + 1 < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[i + 1])) || sql[i + 1] == '_')) {
      size_t end = i + 1;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      std::string name = UpperCase(sql.substr(i + 1, end - i - 1));
      size_t number = 0;
      while (number < out.Names.size() && out.Names[number] != name) ++number;
      if (number == out.Names.size()) out.Names.push_back(name);
      out.Text += "$" + std::to_string(number + 1);
      i = end;
      continue;
    }
    out.Text += c;
    ++i;
  }
  return out;
}

std::unique_ptr<SqlDriver> OpenPostgresDriver(const std::string& url) {
  PGconn* conn = PQconnectdb(url.c_str());
  if (!conn) throw EDatabaseError("Não foi possível conectar ao banco de dados PostgreSQL: sem memória.");
  if (PQstatus(conn) != CONNECTION_OK) {
    // libpq's message names the host and the reason, never the password.
    std::string message = PQerrorMessage(conn);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    PQfinish(conn);
    throw EDatabaseError("Não foi possível conectar ao banco de dados PostgreSQL: " + message);
  }
  // Dates are numbers and texts UTF-8, whatever the server's defaults.
  PGresult* set = PQexec(conn, "SET client_encoding TO 'UTF8'");
  PQclear(set);
  return std::make_unique<PostgresDriver>(conn);
}

}  // namespace fw
