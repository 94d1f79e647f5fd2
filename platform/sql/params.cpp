#include "sql/params.h"

#include <cctype>

#include "base/errors.h"
#include "base/text_case.h"

namespace fw {
namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

}  // namespace

std::string TParam::AsString() const {
  switch (value_.index()) {
    case 1: return std::get<std::string>(value_);
    case 2: return std::to_string(std::get<double>(value_));
    case 3: return std::to_string(std::get<int64_t>(value_));
    default: return {};
  }
}

TParam* TParams::FindParam(std::string_view name) {
  for (TParam& p : items_)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

TParam& TParams::ParamByName(std::string_view name) {
  if (TParam* p = FindParam(name)) return *p;
  throw EDatabaseError("Parâmetro '" + std::string(name) + "' não encontrado.");
}

void TParams::Assign(const std::vector<std::string>& names) {
  std::vector<TParam> items;
  for (const std::string& name : names) {
    TParam* old = FindParam(name);
    items.push_back(old ? *old : TParam(name));
  }
  items_ = std::move(items);
}

std::vector<std::string> ParseParamNames(std::string_view sql) {
  std::vector<std::string> names;
  for (size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
      size_t close = sql.find(c, i + 1);
      i = close == std::string_view::npos ? sql.size() : close;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      size_t eol = sql.find('\n', i);
      i = eol == std::string_view::npos ? sql.size() : eol;
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      ++i;
    } else if (c == ':' && i + 1 < sql.size() && IsNameStart(sql[i + 1])) {
      size_t start = ++i;
      while (i < sql.size() && IsNameChar(sql[i])) ++i;
      std::string name(sql.substr(start, i - start));
      --i;
      bool seen = false;
      for (const std::string& n : names) seen = seen || SameText(n, name);
      if (!seen) names.push_back(std::move(name));
    }
  }
  return names;
}

}  // namespace fw
