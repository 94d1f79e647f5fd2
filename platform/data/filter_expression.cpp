#include "data/filter_expression.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "base/errors.h"
#include "base/text_case.h"
#include "text/date_time.h"
#include "text/format_float.h"

namespace fw {

enum class CompareOp { Eq, Ne, Lt, Le, Gt, Ge, IsNull, IsNotNull };

struct Operand {
  bool isField = false;
  std::string name;  // field name
  Value literal;     // text or number
  size_t position = 0;
};

struct FilterNode {
  enum Kind { And, Or, Not, Compare } kind = Compare;
  std::unique_ptr<FilterNode> left, right;  // Not uses left
  Operand a, b;
  CompareOp op = CompareOp::Eq;
};

namespace {

constexpr int kMaxDepth = 200;
constexpr int kMaxNodes = 2000;

struct Token {
  enum Kind { End, Name, Text, Number, Op, LParen, RParen } kind = End;
  std::string text;
  double number = 0;
  size_t position = 0;  // 1-based
};

[[noreturn]] void Fail(size_t position, const std::string& what) {
  throw EFilterError("Expressão de filtro inválida na posição " + std::to_string(position) + ": " +
                         what + ".",
                     position);
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  Token Next() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    Token t;
    t.position = i_ + 1;
    if (i_ >= s_.size()) return t;
    char c = s_[i_];
    if (c == '(' || c == ')') {
      t.kind = c == '(' ? Token::LParen : Token::RParen;
      ++i_;
    } else if (c == '\'') {
      ReadText(t);
    } else if (c == '[') {
      size_t close = s_.find(']', i_);
      if (close == std::string_view::npos) Fail(t.position, "falta ']'");
      t.kind = Token::Name;
      t.text = std::string(s_.substr(i_ + 1, close - i_ - 1));
      i_ = close + 1;
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
      ReadNumber(t);
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = i_;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
        ++i_;
      t.kind = Token::Name;
      t.text = std::string(s_.substr(start, i_ - start));
    } else {
      ReadOperator(t);
    }
    return t;
  }

 private:
  void ReadText(Token& t) {
    t.kind = Token::Text;
    ++i_;
    for (;;) {
      if (i_ >= s_.size()) Fail(t.position, "texto sem aspa de fechamento");
      if (s_[i_] == '\'') {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
          t.text += '\'';
          i_ += 2;
          continue;
        }
        ++i_;
        return;
      }
      t.text += s_[i_++];
    }
  }

  void ReadNumber(Token& t) {
    size_t start = i_;
    if (s_[i_] == '-') ++i_;
    while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.'))
      ++i_;
    std::string_view digits = s_.substr(start, i_ - start);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), t.number);
    if (ec != std::errc() || end != digits.data() + digits.size())
      Fail(t.position, "número inválido '" + std::string(digits) + "'");
    t.kind = Token::Number;
  }

  void ReadOperator(Token& t) {
    static constexpr std::string_view kOps[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
    for (std::string_view op : kOps) {
      if (s_.substr(i_, op.size()) == op) {
        t.kind = Token::Op;
        t.text = std::string(op);
        i_ += op.size();
        return;
      }
    }
    Fail(t.position, std::string("caractere inesperado '") + s_[i_] + "'");
  }

  std::string_view s_;
  size_t i_ = 0;
};

bool IsKeyword(const Token& t, std::string_view word) {
  return t.kind == Token::Name && SameText(t.text, word);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

  std::unique_ptr<FilterNode> ParseAll() {
    auto node = ParseOr(0);
    if (tok_.kind != Token::End) Fail(tok_.position, "'" + Describe(tok_) + "' inesperado");
    return node;
  }

 private:
  void Advance() { tok_ = lexer_.Next(); }

  static std::string Describe(const Token& t) {
    switch (t.kind) {
      case Token::LParen: return "(";
      case Token::RParen: return ")";
      case Token::Text: return "'" + t.text + "'";
      default: return t.text;
    }
  }

  std::unique_ptr<FilterNode> NewNode() {
    if (++nodes_ > kMaxNodes) Fail(tok_.position, "expressão longa demais");
    return std::make_unique<FilterNode>();
  }

  std::unique_ptr<FilterNode> Binary(FilterNode::Kind kind, std::unique_ptr<FilterNode> l,
                                     std::unique_ptr<FilterNode> r) {
    auto n = NewNode();
    n->kind = kind;
    n->left = std::move(l);
    n->right = std::move(r);
    return n;
  }

  std::unique_ptr<FilterNode> ParseOr(int depth) {
    auto node = ParseAnd(depth);
    while (IsKeyword(tok_, "OR")) {
      Advance();
      node = Binary(FilterNode::Or, std::move(node), ParseAnd(depth));
    }
    return node;
  }

  std::unique_ptr<FilterNode> ParseAnd(int depth) {
    auto node = ParseFactor(depth);
    while (IsKeyword(tok_, "AND")) {
      Advance();
      node = Binary(FilterNode::And, std::move(node), ParseFactor(depth));
    }
    return node;
  }

  std::unique_ptr<FilterNode> ParseFactor(int depth) {
    if (depth > kMaxDepth) Fail(tok_.position, "expressão aninhada demais");
    if (IsKeyword(tok_, "NOT")) {
      Advance();
      return Binary(FilterNode::Not, ParseFactor(depth + 1), nullptr);
    }
    if (tok_.kind == Token::LParen) {
      Advance();
      auto node = ParseOr(depth + 1);
      if (tok_.kind != Token::RParen) Fail(tok_.position, "esperado ')'");
      Advance();
      return node;
    }
    return ParseComparison();
  }

  Operand ParseOperand() {
    Operand o;
    o.position = tok_.position;
    switch (tok_.kind) {
      case Token::Name:
        if (IsKeyword(tok_, "AND") || IsKeyword(tok_, "OR") || IsKeyword(tok_, "NOT") ||
            IsKeyword(tok_, "IS") || IsKeyword(tok_, "NULL"))
          Fail(tok_.position, "esperado um campo ou valor antes de '" + tok_.text + "'");
        o.isField = true;
        o.name = tok_.text;
        break;
      case Token::Text: o.literal = tok_.text; break;
      case Token::Number: o.literal = tok_.number; break;
      case Token::End: Fail(tok_.position, "fim inesperado da expressão");
      default: Fail(tok_.position, "esperado um campo ou valor em vez de '" + Describe(tok_) + "'");
    }
    Advance();
    return o;
  }

  std::unique_ptr<FilterNode> ParseComparison() {
    auto n = NewNode();
    n->a = ParseOperand();
    if (IsKeyword(tok_, "IS")) {
      Advance();
      bool negate = IsKeyword(tok_, "NOT");
      if (negate) Advance();
      if (!IsKeyword(tok_, "NULL")) Fail(tok_.position, "esperado NULL");
      Advance();
      n->op = negate ? CompareOp::IsNotNull : CompareOp::IsNull;
      return n;
    }
    if (tok_.kind != Token::Op) Fail(tok_.position, "esperado um operador de comparação");
    static const std::pair<std::string_view, CompareOp> kMap[] = {
        {"=", CompareOp::Eq}, {"<>", CompareOp::Ne}, {"!=", CompareOp::Ne}, {"<", CompareOp::Lt},
        {"<=", CompareOp::Le}, {">", CompareOp::Gt}, {">=", CompareOp::Ge}};
    for (auto& [text, op] : kMap)
      if (tok_.text == text) n->op = op;
    Advance();
    n->b = ParseOperand();
    return n;
  }

  Lexer lexer_;
  Token tok_;
  int nodes_ = 0;
};

}  // namespace

FilterExpression::FilterExpression(std::unique_ptr<FilterNode> root) : root_(std::move(root)) {}
FilterExpression::~FilterExpression() = default;

std::unique_ptr<FilterExpression> FilterExpression::Parse(std::string_view text) {
  Parser parser(text);
  return std::unique_ptr<FilterExpression>(new FilterExpression(parser.ParseAll()));
}

// ---------------------------------------------------------------------------
// Binding and evaluation.

struct BoundOperand {
  int column = -1;  // -1: literal
  bool numeric = false;
  Value literal;  // converted to the comparison's kind
};

struct FilterProgram::Op {
  enum Kind { And, Or, Not, Compare } kind = Compare;
  CompareOp cmp = CompareOp::Eq;
  BoundOperand a, b;
  bool numeric = false;  // compare as numbers
};

namespace {

bool IsNumericType(TFieldType t) {
  return t == TFieldType::ftFloat || t == TFieldType::ftInteger || t == TFieldType::ftDateTime;
}

int FindColumn(const TFieldDefs& defs, const Operand& o) {
  for (size_t i = 0; i < defs.size(); ++i)
    if (SameText(defs[i].Name, o.name)) return static_cast<int>(i);
  throw EFilterError("Campo '" + o.name + "' da expressão de filtro não encontrado (posição " +
                         std::to_string(o.position) + ").",
                     o.position);
}

// A literal compared with a numeric column becomes a number.
Value NumericLiteral(const Operand& o, TFieldType columnType) {
  if (const double* d = std::get_if<double>(&o.literal)) return *d;
  const std::string& text = std::get<std::string>(o.literal);
  double v = 0;
  if (columnType == TFieldType::ftDateTime ? TryStrToDateTime(text, v) : TryStrToFloat(text, v))
    return v;
  throw EFilterError("Valor '" + text + "' não pode ser comparado com um campo numérico (posição " +
                         std::to_string(o.position) + ").",
                     o.position);
}

std::optional<double> AsNumber(const Value& v) {
  if (const double* d = std::get_if<double>(&v)) return *d;
  if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
  if (const std::string* s = std::get_if<std::string>(&v)) {
    double d = 0;
    if (TryStrToFloat(*s, d)) return d;
  }
  return std::nullopt;
}

bool Holds(int c, CompareOp op) {
  switch (op) {
    case CompareOp::Eq: return c == 0;
    case CompareOp::Ne: return c != 0;
    case CompareOp::Lt: return c < 0;
    case CompareOp::Le: return c <= 0;
    case CompareOp::Gt: return c > 0;
    case CompareOp::Ge: return c >= 0;
    default: return false;
  }
}

void Emit(const FilterNode& node, const TFieldDefs& defs, std::vector<FilterProgram::Op>& code);

}  // namespace

FilterProgram::FilterProgram(const FilterExpression& expression, const TFieldDefs& defs) {
  Emit(expression.Root(), defs, code_);
}

FilterProgram::~FilterProgram() = default;

namespace {

BoundOperand BindOperand(const Operand& o, const TFieldDefs& defs, TFieldType* type) {
  BoundOperand b;
  if (o.isField) {
    b.column = FindColumn(defs, o);
    *type = defs[b.column].DataType;
    b.numeric = IsNumericType(*type);
  } else {
    b.literal = o.literal;
    b.numeric = std::holds_alternative<double>(o.literal);
  }
  return b;
}

void Emit(const FilterNode& node, const TFieldDefs& defs, std::vector<FilterProgram::Op>& code) {
  FilterProgram::Op op;
  switch (node.kind) {
    case FilterNode::And:
    case FilterNode::Or:
      Emit(*node.left, defs, code);
      Emit(*node.right, defs, code);
      op.kind = node.kind == FilterNode::And ? FilterProgram::Op::And : FilterProgram::Op::Or;
      break;
    case FilterNode::Not:
      Emit(*node.left, defs, code);
      op.kind = FilterProgram::Op::Not;
      break;
    case FilterNode::Compare: {
      TFieldType ta = TFieldType::ftString, tb = TFieldType::ftString;
      op.cmp = node.op;
      op.a = BindOperand(node.a, defs, &ta);
      if (node.op != CompareOp::IsNull && node.op != CompareOp::IsNotNull) {
        op.b = BindOperand(node.b, defs, &tb);
        op.numeric = op.a.numeric || op.b.numeric;
        // A literal facing a numeric column is converted once, here.
        if (op.a.column >= 0 && op.a.numeric && op.b.column < 0)
          op.b.literal = NumericLiteral(node.b, ta);
        if (op.b.column >= 0 && op.b.numeric && op.a.column < 0)
          op.a.literal = NumericLiteral(node.a, tb);
      }
      break;
    }
  }
  code.push_back(std::move(op));
}

}  // namespace

bool FilterProgram::Matches(const Row& row, bool caseInsensitive) const {
  bool stack[2 * kMaxDepth + 8];
  std::vector<bool> overflow;  // deep left-leaning chains of AND/OR
  size_t top = 0;
  auto push = [&](bool v) {
    if (top < std::size(stack)) stack[top] = v; else overflow.push_back(v);
    ++top;
  };
  auto pop = [&]() -> bool {
    --top;
    if (top < std::size(stack)) return stack[top];
    bool v = overflow.back();
    overflow.pop_back();
    return v;
  };
  for (const Op& op : code_) {
    switch (op.kind) {
      case Op::And: { bool r = pop(), l = pop(); push(l && r); break; }
      case Op::Or: { bool r = pop(), l = pop(); push(l || r); break; }
      case Op::Not: push(!pop()); break;
      case Op::Compare: {
        const Value& a = op.a.column >= 0 ? row[op.a.column] : op.a.literal;
        if (op.cmp == CompareOp::IsNull || op.cmp == CompareOp::IsNotNull) {
          push(IsNullValue(a) == (op.cmp == CompareOp::IsNull));
          break;
        }
        const Value& b = op.b.column >= 0 ? row[op.b.column] : op.b.literal;
        if (IsNullValue(a) || IsNullValue(b)) { push(false); break; }
        if (op.numeric) {
          auto x = AsNumber(a), y = AsNumber(b);
          push(x && y && Holds(*x < *y ? -1 : (*x > *y ? 1 : 0), op.cmp));
        } else {
          const std::string& x = std::get<std::string>(a);
          const std::string& y = std::get<std::string>(b);
          int c = caseInsensitive ? CompareText(x, y) : x.compare(y);
          push(Holds(c, op.cmp));
        }
        break;
      }
    }
  }
  return top > 0 && pop();
}

}  // namespace fw
