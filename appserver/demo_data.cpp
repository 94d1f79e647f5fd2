#include "appserver/demo_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/demo_catalog.h"

namespace appserver {

namespace {

using fw::SqlValue;
using namespace demo;

// SplitMix64: small, fast and the same on every platform, so a seed always
// gives the same data.
class TRandom {
 public:
  explicit TRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  // One of the values, by weights in percent (summing to 100).
  template <typename T>
  T Weighted(std::initializer_list<std::pair<T, int>> choices) {
    int roll = Below(100);
    for (const auto& [value, weight] : choices) {
      if (roll < weight) return value;
      roll -= weight;
    }
    return choices.begin()->first;
  }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[Below(static_cast<int>(v.size()))];
  }

 private:
  uint64_t state_;
};

std::string Pad(long value, int width) {
  std::string s = std::to_string(value);
  return std::string(width > int(s.size()) ? width - s.size() : 0, '0') + s;
}

double Round(double value, int decimals) {
  double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

SqlValue Text(std::string s) { return SqlValue(std::move(s)); }
SqlValue Num(double d) { return SqlValue(d); }
SqlValue Null() { return SqlValue(); }
SqlValue Code(char c) { return c ? SqlValue(std::string(1, c)) : SqlValue(); }

// Brazilian registration numbers with their check digits.
std::string CheckDigits(const std::string& digits, const std::vector<int>& weights) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i) sum += (digits[i] - '0') * weights[i];
  int d = sum % 11;
  return std::to_string(d < 2 ? 0 : 11 - d);
}

std::string Cpf(TRandom& rng) {
  std::string d;
  for (int i = 0; i < 9; ++i) d += char('0' + rng.Below(10));
  d += CheckDigits(d, {10, 9, 8, 7, 6, 5, 4, 3, 2});
  d += CheckDigits(d, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2});
  return d;
}

std::string Cnpj(TRandom& rng) {
  std::string d;
  for (int i = 0; i < 8; ++i) d += char('0' + rng.Below(10));
  d += "0001";
  d += CheckDigits(d, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  d += CheckDigits(d, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  return d;
}

// Rich text of a remark: RTF, characters beyond ASCII as \'hh (Windows-1252,
// which holds every Portuguese letter).
std::string Rtf(const std::string& utf8) {
  std::string body;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    unsigned code = c;
    size_t len = 1;
    if (c >= 0xC0 && c < 0xE0 && i + 1 < utf8.size()) {
      code = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
      len = 2;
    }
    if (code == '\\' || code == '{' || code == '}') {
      body += '\\';
      body += char(code);
    } else if (code < 0x80) {
      body += char(code);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", code & 0xFF);
      body += hex;
    }
    i += len;
  }
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}"
         "\\f0\\fs16 " +
         body + "\\par}";
}

// Rows waiting to be written, table by table, in bulk (InsertRows: one
// COPY per table on PostgreSQL). Tables are written in the order they were
// first named, so a table named after the tables it refers to always finds
// their rows written first. Flush writes everything; the owner calls it
// once at the end.
class TBulkRows {
 public:
  explicit TBulkRows(fw::SqlDriver& db) : db_(db) {}

  size_t Table(const std::string& name, std::vector<std::string> columns) {
    for (size_t i = 0; i < tables_.size(); ++i)
      if (tables_[i].Name == name) return i;
    tables_.push_back({name, std::move(columns), {}});
    return tables_.size() - 1;
  }
  size_t Columns(size_t table) const { return tables_[table].Columns.size(); }
  void Add(size_t table, std::vector<SqlValue> row) {
    tables_[table].Rows.push_back(std::move(row));
    if (++pending_ >= kBatch) Flush();
  }
  void Flush() {
    for (TTable& t : tables_) {
      db_.InsertRows(t.Name, t.Columns, t.Rows);
      t.Rows.clear();
    }
    pending_ = 0;
  }

 private:
  static constexpr size_t kBatch = 50'000;
  struct TTable {
    std::string Name;
    std::vector<std::string> Columns;
    std::vector<std::vector<SqlValue>> Rows;
  };
  fw::SqlDriver& db_;
  std::vector<TTable> tables_;
  size_t pending_ = 0;
};

// The rows of one table, handed to the bulk writer.
class TInsert {
 public:
  TInsert(TBulkRows& bulk, const std::string& table, std::vector<std::string> columns)
      : bulk_(bulk), table_(bulk.Table(table, std::move(columns))) {}
  void Row(std::initializer_list<SqlValue> values) {
    if (values.size() != bulk_.Columns(table_)) throw std::logic_error("wrong number of values");
    bulk_.Add(table_, std::vector<SqlValue>(values));
  }

 private:
  TBulkRows& bulk_;
  size_t table_;
};

struct TPosition {
  std::string Store, Place, Lot, SubLot;
  double Available = 0;
};

struct TItemPlan {
  int Product = 0;
  char Status = '1';
};

struct TOrderPlan {
  int Branch = 0;
  std::string Number;
  char Status = '1';
  char Type = '1';
  char Priority = '3';
  int Customer = 0;
  int DaysAgo = 0;
  int DeliveryIn = 7;
  int Salesperson = 0;
  int Commissioned = 0;
  int OperationType = 0;
  int DestBranch = 0;
  char PayKind = 'V';  // 0: none given
  int Form = 2;        // -1: none
  int Modality = 0;    // -1: none
  int FixedDay = 0;
  int Parcels = 0;
  int Carrier = 0;     // -1: none
  int Transport = 0;
  char Freight = '0';  // 0: none given
  bool Remark = false;
  bool Locked = false;
  std::vector<TItemPlan> Items;
};

class TGenerator {
 public:
  TGenerator(fw::SqlDriver& db, const TDemoOptions& o) : db_(db), bulk_(db), o_(o), rng_(o.Seed) {}

  TDemoSummary Run() {
    ReferenceData();
    Stock();
    Customers();
    Orders();
    bulk_.Flush();
    return summary_;
  }

 private:
  // -------------------------------------------------------------------------
  // Reference data

  void ReferenceData() {
    TInsert filial(bulk_, "FILIAL", {"CDFILIAL", "NMFILIAL"});
    TInsert param(bulk_, "PARAMPEDIDO",
                  {"CDFILIAL", "IDEXIBPEDIDO", "IDMENSVEND", "IDUTRESELOTE", "IDOBRTPOPPED",
                   "IDTABPRECO", "IDEXIBIMPITPED", "IDOBRINFTRAN", "IDEXIBVENDCOM"});
    for (const TBranch& b : Branches()) {
      filial.Row({Text(b.Code), Text(b.Name)});
      const char* p = b.Params;
      param.Row({Text(b.Code), Code(p[0]), Code(p[1]), Code(p[2]), Code(p[3]), Code(p[4]),
                 Code(p[5]), Code(p[6]), Code(p[7])});
    }
    summary_.Branches = static_cast<int>(Branches().size());

    TInsert op(bulk_, "OPERADOR", {"CDOPERADOR", "NMOPERADOR"});
    for (const TOperator& o : Operators()) op.Row({Text(o.Code), Text(o.Name)});
    TInsert vend(bulk_, "VENDEDOR",
                 {"CDVENDEDOR", "NMFANVEN", "NMVENDEDOR", "IDCARGOVEND", "CDOPERADOR"});
    for (const TSalesperson& s : Salespeople())
      vend.Row({Text(s.Code), Text(s.ShortName), Text(s.FullName), Code(s.Role),
                s.Operator ? Text(s.Operator) : Null()});

    db_.Execute("INSERT INTO PAIS (CDPAIS, NMPAIS) VALUES ('1058', 'Brasil')");
    TInsert town(bulk_, "MUNICIPIO", {"CDPAIS", "SGESTADO", "CDMUNICIPIO", "NMMUNICIPIO"});
    for (size_t i = 0; i < Towns().size(); ++i)
      town.Row({Text("1058"), Text(Towns()[i].State), Text(TownCode(i)), Text(Towns()[i].Name)});

    TInsert type(bulk_, "TIPOOPERAC", {"CDTIPOOPER", "NMTIPOOPER", "IDENTRSAIDOP"});
    for (const TCodeName& t : OperationTypes())
      type.Row({Text(t.Code), Text(t.Name), Code(std::string(t.Code) < "50" ? 'S' : 'E')});

    TInsert perm(bulk_, "OPERTIPOPED", {"CDFILIAL", "CDOPERADOR", "CDTIPOOPER"});
    for (const TBranch& b : Branches())
      for (const TPermission& p : Permissions())
        if (std::string(p.Branch) == "*" || std::string(p.Branch) == b.Code)
          perm.Row({Text(b.Code), Text(p.Operator), Text(p.Type)});

    TInsert carrier(bulk_, "TRANSPORTADORA", {"NRINSJURTRAN", "NMFANTTRAN", "NMRAZSOCTRAN"});
    for (const TCodeName& c : Carriers()) {
      carriers_.push_back(Cnpj(rng_));
      carrier.Row({Text(carriers_.back()), Text(c.Code), Text(c.Name)});
    }
    TInsert transport(bulk_, "TIPOTRANSPORTE", {"CDTIPTRANS", "NMTIPTRANS"});
    for (const TCodeName& t : TransportTypes()) transport.Row({Text(t.Code), Text(t.Name)});
    TInsert modality(bulk_, "MODALIDADEPGTO", {"CDMODPGTO", "DSMODPGTO"});
    for (const TCodeName& m : PaymentModalities()) modality.Row({Text(m.Code), Text(m.Name)});
    TInsert form(bulk_, "FORMAPGTO", {"CDFORMPGTO", "NMFORMPGTO"});
    for (const TPaymentForm& f : PaymentForms()) form.Row({Text(f.Code), Text(f.Name)});

    TInsert product(bulk_, "PRODUTO", {"CDPRODUTO", "CDARVPROD", "NMPRODUTO", "SGUNIDADE"});
    for (size_t i = 0; i < Products().size(); ++i) {
      const TProduct& p = Products()[i];
      product.Row({Text(ProductCode(i)), Text(p.Tree), Text(p.Name), Text(p.Unit)});
    }
    summary_.Products = static_cast<int>(Products().size());

    TInsert issue(bulk_, "INCONSALVARA", {"CDFILIAL", "CDPRODUTO", "NRSEQINCONS", "DSINCONS",
                                        "DTREGISTRO", "IDRESOLVIDA"});
    for (const TBranch& b : Branches()) {
      int seq = 0;
      for (const TLicenceIssue& li : LicenceIssues())
        if (std::string(li.Branch) == "*" || std::string(li.Branch) == b.Code)
          issue.Row({Text(b.Code), Text(ProductCode(li.Product)), Num(++seq), Text(li.Text),
                     Num(o_.Today - rng_.Between(5, 90)), Code(li.Resolved ? 'S' : 'N')});
    }
  }

  static std::string TownCode(size_t i) { return Pad(static_cast<long>(i) + 1, 4); }
  static std::string ProductCode(size_t i) { return Pad(static_cast<long>(i) + 1, 10); }

  // -------------------------------------------------------------------------
  // Stock: two stores per branch, lots of every product that is stocked.

  void Stock() {
    TInsert store(bulk_, "ALMOXARIFADO", {"CDFILIAL", "CDALMOXARIFE", "DSALMOXARIFE"});
    TInsert place(bulk_, "LOCALESTOQUE",
                  {"CDFILIAL", "CDALMOXARIFE", "CDLOCALESTOQ", "DSLOCALESTOQ", "IDDISPCONPED"});
    TInsert position(bulk_, "POSESTATU",
                     {"CDFILIAL", "CDALMOXARIFE", "CDLOCALESTOQ", "CDPRODUTO", "NRLOTEESTQ",
                      "NRSUBLOTE", "QTTOTALESTOQ", "DTENTRLOTE", "DTVALILOTE"});
    int lotSeq = 100;
    for (size_t b = 0; b < Branches().size(); ++b) {
      const char* branch = Branches()[b].Code;
      for (const TCodeName& s : Stores()) store.Row({Text(branch), Text(s.Code), Text(s.Name)});
      for (const TPlace& p : Places())
        place.Row({Text(branch), Text(p.Store), Text(p.Code), Text(p.Name),
                   Code(p.ServesOrders ? 'S' : 'N')});
      for (size_t i = 0; i < Products().size(); ++i) {
        const TProduct& prod = Products()[i];
        if (prod.StockOf >= 0) continue;  // served from another product's stock
        int lots = rng_.Between(1, 3);
        std::vector<size_t> used;
        for (int l = 0; l < lots; ++l) {
          size_t pl = static_cast<size_t>(rng_.Below(static_cast<int>(Places().size())));
          if (std::find(used.begin(), used.end(), pl) != used.end()) continue;
          used.push_back(pl);
          const TPlace& where = Places()[pl];
          bool bulky = std::string(prod.Unit) == "SC" || std::string(prod.Unit) == "LT";
          double qty = bulky ? rng_.Between(20, 400) : rng_.Between(200, 5000);
          double entry = o_.Today - rng_.Between(5, 180);
          TPosition pos{where.Store, where.Code, "L" + Pad(lotSeq++, 6), Pad(l + 1, 2), qty};
          position.Row({Text(branch), Text(pos.Store), Text(pos.Place), Text(ProductCode(i)),
                        Text(pos.Lot), Text(pos.SubLot), Num(qty), Num(entry),
                        prod.Perishable ? Num(entry + rng_.Between(180, 720)) : Null()});
          if (where.ServesOrders) stock_[{b, i}].push_back(pos);
        }
      }
    }
  }

  // -------------------------------------------------------------------------
  // Customers, each with a principal address and some with more.

  void Customers() {
    int count = std::clamp(o_.Orders / 20, 60, 5000);
    TInsert customer(bulk_, "CLIENTE", {"CDCLIENTE", "IDTPIJURCLIE", "NRINSJURCLIE", "NMFANTCLIE",
                                      "NMRAZSOCCLIE"});
    TInsert address(bulk_, "ENDECLIE", {"CDCLIENTE", "NRSEQENDECLIE", "IDTPENDECLIE", "CDPAIS",
                                      "SGESTADO", "CDMUNICIPIO", "DSENDECLIE"});
    for (int c = 1; c <= count; ++c) {
      std::string code = Pad(c, 8);
      bool person = rng_.Chance(25);
      std::string trade, company;
      if (person) {
        std::string first = rng_.Pick(FirstNames()), last = rng_.Pick(Surnames());
        trade = first + " " + last;
        company = first + " " + rng_.Pick(Surnames()) + " " + last;
      } else {
        std::string kind = rng_.Pick(ShopKinds());
        trade = kind + " " + rng_.Pick(ShopNames());
        company = trade + " " + rng_.Pick(Surnames());
        const char* suffix = rng_.Pick(std::vector<const char*>{" Ltda", " ME", " Eireli", " S.A."});
        if (company.size() + 8 <= 50) company += suffix;
      }
      customer.Row({Text(code), Code(person ? 'F' : 'J'), Text(person ? Cpf(rng_) : Cnpj(rng_)),
                    Text(Fit(trade, 50)), Text(Fit(company, 50))});
      size_t home = static_cast<size_t>(rng_.Below(static_cast<int>(Towns().size())));
      int seq = 0;
      auto addAddress = [&](char kind, size_t town) {
        std::string street = rng_.Pick(Streets());
        street += ", " + std::to_string(rng_.Between(10, 3999));
        address.Row({Text(code), Num(++seq), Code(kind), Text("1058"), Text(Towns()[town].State),
                     Text(TownCode(town)), Text(Fit(street, 50))});
      };
      addAddress('P', home);
      if (rng_.Chance(30))
        addAddress('E', static_cast<size_t>(rng_.Below(static_cast<int>(Towns().size()))));
      if (rng_.Chance(10)) addAddress('C', home);
    }
    summary_.Customers = count;
  }

  // Cuts a text to at most `chars` characters (UTF-8), at a word when it can.
  static std::string Fit(const std::string& text, size_t chars) {
    size_t count = 0, i = 0, lastSpace = std::string::npos;
    for (; i < text.size(); ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
      if (count == chars) break;
      if (text[i] == ' ') lastSpace = i;
      ++count;
    }
    if (i >= text.size()) return text;
    return text.substr(0, lastSpace != std::string::npos ? lastSpace : i);
  }

  // -------------------------------------------------------------------------
  // Orders

  void Orders() {
    if (o_.Orders < kMinDemoOrders)
      throw std::invalid_argument("O número de pedidos deve ser no mínimo " +
                                  std::to_string(kMinDemoOrders) + ".");
    long number = 0;
    for (size_t b = 0; b < Branches().size(); ++b)
      for (int k = 1; k <= kShowcaseOrders; ++k) Write(Showcase(b, k, Pad(++number, 10)));
    std::vector<int> weights;
    for (const TBranch& br : Branches()) weights.push_back(br.Weight);
    while (number < o_.Orders) {
      int roll = rng_.Below(100);
      size_t b = 0;
      while (b + 1 < weights.size() && roll >= weights[b]) roll -= weights[b++];
      Write(Random(b, Pad(++number, 10)));
    }
    summary_.Orders = static_cast<int>(number);
  }

  TOrderPlan Random(size_t branch, std::string number) {
    TOrderPlan p;
    p.Branch = static_cast<int>(branch);
    p.Number = std::move(number);
    p.Status = rng_.Weighted<char>({{'1', 50}, {'2', 30}, {'6', 20}});
    p.Type = rng_.Chance(10) ? '2' : '1';
    p.Priority = rng_.Weighted<char>({{'3', 50}, {'4', 15}, {'2', 20}, {'1', 10}, {'0', 5}});
    p.Customer = rng_.Between(1, summary_.Customers);
    p.DaysAgo = rng_.Between(0, 45);
    p.DeliveryIn = rng_.Between(1, 30);
    p.Salesperson = rng_.Below(static_cast<int>(Salespeople().size()));
    p.Commissioned = rng_.Chance(70) ? p.Salesperson : rng_.Below(static_cast<int>(Salespeople().size()));
    p.OperationType = rng_.Weighted<int>({{0, 60}, {1, 15}, {2, 10}, {3, 10}, {4, 5}});
    p.DestBranch = rng_.Chance(85) ? p.Branch : rng_.Below(static_cast<int>(Branches().size()));
    p.PayKind = rng_.Weighted<char>({{'X', 20}, {'F', 15}, {'V', 55}, {'\0', 10}});
    switch (p.PayKind) {
      case 'X':
        p.Form = 0;
        p.Modality = rng_.Pick(std::vector<int>{3, 4, 5});
        break;
      case 'F':
        p.Form = -1;
        p.Modality = 0;
        p.FixedDay = rng_.Pick(std::vector<int>{5, 10, 15, 20, 25});
        p.Parcels = rng_.Between(1, 6);
        break;
      case 'V':
        p.Form = rng_.Between(1, static_cast<int>(PaymentForms().size()) - 1);
        p.Modality = rng_.Pick(std::vector<int>{0, 1, 2, 6});
        break;
      default:
        p.Form = -1;
        p.Modality = -1;
    }
    if (rng_.Chance(85)) {
      p.Carrier = rng_.Below(static_cast<int>(Carriers().size()));
      p.Transport = rng_.Weighted<int>({{0, 80}, {1, 5}, {2, 5}, {3, 5}, {4, 5}});
      p.Freight = rng_.Weighted<char>({{'0', 50}, {'1', 35}, {'2', 15}});
    } else {
      p.Carrier = -1;
      p.Freight = rng_.Chance(50) ? '9' : '\0';
    }
    p.Remark = rng_.Chance(30);
    int items = rng_.Between(1, 6);
    std::vector<int> used;
    for (int i = 0; i < items; ++i) {
      int prod = rng_.Below(static_cast<int>(Products().size()));
      if (std::find(used.begin(), used.end(), prod) != used.end()) continue;
      used.push_back(prod);
      p.Items.push_back({prod, ItemStatusFor(p.Status, i == 0)});
    }
    return p;
  }

  char ItemStatusFor(char orderStatus, bool first) {
    switch (orderStatus) {
      case '1':
        return first ? '1' : rng_.Weighted<char>({{'1', 80}, {'2', 10}, {'5', 10}});
      case '2': return rng_.Weighted<char>({{'2', 50}, {'3', 40}, {'5', 10}});
      default: return rng_.Weighted<char>({{'7', 40}, {'4', 25}, {'6', 25}, {'3', 10}});
    }
  }

  // The fixed kinds every branch starts with (docs/demo-data.md lists them).
  TOrderPlan Showcase(size_t branch, int k, std::string number) {
    TOrderPlan p = Random(branch, std::move(number));
    static const char kPriority[] = {'3', '2', '3', '1', '3', '4', '0', '2', '3', '1', '4'};
    static const int kSalesperson[] = {0, 1, 2, 0, 1, 2, 3, 0, 1, 4, 5};
    static const int kType[] = {0, 1, 2, 0, 3, 0, 1, 0, 4, 0, 1};
    p.Status = '1';
    p.Type = '1';
    p.Priority = kPriority[k - 1];
    p.Customer = k;
    p.DaysAgo = k - 1;
    p.DeliveryIn = 3 + k;
    p.Salesperson = p.Commissioned = kSalesperson[k - 1];
    p.OperationType = kType[k - 1];
    p.DestBranch = p.Branch;
    p.PayKind = 'V';
    p.Form = 3;
    p.Modality = 0;
    p.FixedDay = p.Parcels = 0;
    p.Carrier = k % static_cast<int>(Carriers().size());
    p.Transport = 0;
    p.Freight = '1';
    p.Remark = false;
    // Clean products only (no open permit issue anywhere), unless the kind
    // asks for one.
    p.Items = {{0, '1'}, {4, '1'}, {16, '1'}};
    switch (k) {
      case 1: break;  // pending, ready to be confirmed
      case 2:         // pending, no carrier
        p.Carrier = -1;
        p.Freight = '9';
        break;
      case 3:  // pending, an item whose product has a permit problem
        p.Items = {{1, '1'}, {19, '1'}};
        break;
      case 4:  // pending, held by operator MARIA
        p.Locked = true;
        break;
      case 5:  // in progress
        p.Status = '2';
        p.Items = {{0, '2'}, {4, '3'}, {16, '2'}};
        break;
      case 6:  // partly served
        p.Status = '6';
        p.Items = {{0, '7'}, {4, '4'}, {16, '6'}};
        break;
      case 7:  // quotation of top priority
        p.Type = '2';
        break;
      case 8:  // items in every item status
        p.Items = {{0, '1'},  {2, '2'},  {4, '3'},  {6, '4'},
                   {16, '5'}, {21, '6'}, {23, '7'}, {7, '1'}};
        break;
      case 9:  // payment on a fixed day
        p.PayKind = 'F';
        p.Form = -1;
        p.FixedDay = 10;
        p.Parcels = 3;
        break;
      case 10:  // payment by the form's terms, with remarks
        p.Remark = true;
        break;
      case 11:  // no payment kind given (shown as cash)
        p.PayKind = '\0';
        p.Form = -1;
        p.Modality = -1;
        break;
    }
    return p;
  }

  void Write(const TOrderPlan& p) {
    if (!insertOrder_) Prepare();
    const std::string branch = Branches()[p.Branch].Code;
    double orderDate = o_.Today - p.DaysAgo;
    double delivery = orderDate + p.DeliveryIn;
    double net = 0;

    // Items first in memory: the order carries their weights.
    struct TItemRow {
      const TItemPlan* Plan;
      double Qty, Qty2, Price, Discount, Tax, DeliveryDate;
    };
    std::vector<TItemRow> rows;
    for (const TItemPlan& it : p.Items) {
      const TProduct& prod = Products()[it.Product];
      std::string unit = prod.Unit;
      double qty = unit == "SC" || unit == "LT" || unit == "L" ? rng_.Between(1, 40)
                   : unit == "UN"                               ? rng_.Between(1, 240)
                                                                : rng_.Between(1, 120);
      double qty2 = prod.StockOf >= 0 ? Round(qty / prod.PerStockUnit, 3) : qty;
      double price = Round(prod.Price * rng_.Between(95, 108) / 100.0, 2);
      double discount = rng_.Chance(30) ? Round(qty * price * rng_.Between(1, 5) / 100.0, 2) : 0.0;
      double rate = rng_.Pick(std::vector<double>{0.07, 0.12, 0.18});
      double tax = Round((qty * price - discount) * rate, 2);
      double itemDelivery = rng_.Chance(80) ? delivery : delivery + rng_.Between(1, 7);
      rows.push_back({&it, qty, qty2, price, discount, tax, itemDelivery});
      net += qty * prod.WeightKg;
    }

    const TSalesperson& seller = Salespeople()[p.Salesperson];
    insertOrder_->Row({
        Text(branch), Text(p.Number), Code(p.Status), Code(p.Type), Code(p.Priority),
        Text(Pad(p.Customer, 8)), Num(orderDate), Num(delivery), Text(seller.Code),
        Text(Salespeople()[p.Commissioned].Code), Text(OperationTypes()[p.OperationType].Code),
        Text(Branches()[p.DestBranch].Code),
        p.Modality >= 0 ? Text(PaymentModalities()[p.Modality].Code) : Null(),
        p.Form >= 0 ? Text(PaymentForms()[p.Form].Code) : Null(), Code(p.PayKind),
        p.PayKind == 'F' ? Num(p.FixedDay) : Null(), p.PayKind == 'F' ? Num(p.Parcels) : Null(),
        rng_.Chance(40) ? Text(rng_.Pick(SalesNotes())) : Null(),
        rng_.Chance(40) ? Text(rng_.Pick(CustomerNotes())) : Null(),
        Num(rng_.Between(1500, 5000) / 1000.0),
        p.Carrier >= 0 ? Text(carriers_[p.Carrier]) : Null(),
        p.Carrier >= 0 ? Text(TransportTypes()[p.Transport].Code) : Null(), Code(p.Freight),
        Num(Round(net * 1.06, 3)), Num(Round(net, 3))});

    int n = 0;
    for (const TItemRow& r : rows) {
      const TProduct& prod = Products()[r.Plan->Product];
      size_t stockProduct = prod.StockOf >= 0 ? size_t(prod.StockOf) : size_t(r.Plan->Product);
      std::string item = Pad(++n, 3);
      char kind = rng_.Weighted<char>({{'\0', 50}, {'N', 30}, {'S', 10}, {'P', 10}});
      insertItem_->Row({Text(branch), Text(p.Number), Text(item), Code(r.Plan->Status),
                        Text(ProductCode(r.Plan->Product)), Text(ProductCode(stockProduct)),
                        Num(r.Qty), Num(r.Qty2),
                        Text(rng_.Weighted<const char*>({{"1,00", 70}, {"0,95", 15}, {"1,05", 15}})),
                        Num(r.Price), Num(r.Discount), Num(r.Tax), Num(r.DeliveryDate), Code(kind),
                        rng_.Chance(10) ? Text("Embalar separadamente e identificar o lote.") : Null()});
      ++summary_.Items;
      char s = r.Plan->Status;
      if ((s == '1' || s == '2' || s == '3') && rng_.Chance(40)) Reserve(p, item, stockProduct, r.Qty2);
    }

    if (p.PayKind == 'X') {
      insertTerm_->Row({Text(branch), Text(p.Number), Num(0), Num(100)});
    } else if (p.PayKind == 'V' && p.Form >= 0) {
      for (const auto& [days, percent] : PaymentForms()[p.Form].Terms)
        insertTerm_->Row({Text(branch), Text(p.Number), Num(days), Num(percent)});
    }
    if (p.Remark) {
      std::string text = rng_.Pick(Remarks());
      if (rng_.Chance(50)) text += std::string(" ") + rng_.Pick(Remarks());
      insertRemark_->Row({Text(branch), Text(p.Number), Text(Rtf(text))});
    }
    if (p.Locked)
      insertLock_->Row({Text(branch), Text(p.Number), Text("MARIA"), Num(o_.Today - 1),
                        Num(o_.Today + 30)});
  }

  void Reserve(const TOrderPlan& p, const std::string& item, size_t stockProduct, double qty) {
    auto it = stock_.find({size_t(p.Branch), stockProduct});
    if (it == stock_.end() || qty <= 0) return;
    std::vector<TPosition>& positions = it->second;
    TPosition& pos = positions[rng_.Below(static_cast<int>(positions.size()))];
    if (pos.Available < qty) return;
    pos.Available -= qty;
    insertReservation_->Row({Text(Branches()[p.Branch].Code), Text(p.Number), Text(item),
                             Text(pos.Store), Text(pos.Place), Text(ProductCode(stockProduct)),
                             Text(pos.Lot), Text(pos.SubLot), Num(qty)});
  }

  void Prepare() {
    insertOrder_ = std::make_unique<TInsert>(
        bulk_, "PEDIDO",
        std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "IDSITPEDIDO", "IDTIPOPEDIDO",
                                 "IDPRIOPED", "CDCLIENTE", "DTPEDIDO", "DTENTPED", "CDVENDEDOR",
                                 "CDVENDCOMIS", "CDTIPOOPER", "CDFILIALPED", "CDMODPGTO",
                                 "CDFORMPGTO", "IDTPFORPGTPED", "NRDIAPGFIXPED", "NRPARCPGTOPED",
                                 "DSPEDVEN", "DSPEDCLI", "VRPECOMVDPED", "NRINSJURTRAN",
                                 "CDTIPTRANS", "IDPGFRETTRAN", "VRPBRUVOLPED", "VRPLIQVOLPED"});
    insertItem_ = std::make_unique<TInsert>(
        bulk_, "ITEMPEDIDO",
        std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "NRITEMPED", "IDSITITEMPED",
                                 "CDPRODUTO", "CDPRODESTO", "QTITEMPED", "QTITEMPED2",
                                 "SGFATPRECO", "VRPREUNITPED", "VRDESITPED", "VRIMPOSITPED",
                                 "DTENTITPED", "IDITPEDDIFER", "DSITEMPED"});
    insertTerm_ = std::make_unique<TInsert>(
        bulk_, "PRAZOPGTOPED",
        std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "NRDIASPGTOPED", "VRPERCPGTOPED"});
    insertRemark_ = std::make_unique<TInsert>(
        bulk_, "OBSPEDIDO", std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "TXOBSPED"});
    insertReservation_ = std::make_unique<TInsert>(
        bulk_, "RESERVAPED",
        std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "NRITEMPED", "CDALMOXARIFE",
                                 "CDLOCALESTOQ", "CDPRODRES", "NRLOTEESTQ", "NRSUBLOTE",
                                 "QTRESPRODPED"});
    insertLock_ = std::make_unique<TInsert>(
        bulk_, "BLOQPEDIDO",
        std::vector<std::string>{"CDFILIAL", "NRPEDIDO", "CDOPERADOR", "DTBLOQUEIO", "DTEXPIRA"});
  }

  fw::SqlDriver& db_;
  TBulkRows bulk_;
  const TDemoOptions& o_;
  TRandom rng_;
  TDemoSummary summary_;
  std::vector<std::string> carriers_;
  std::map<std::pair<size_t, size_t>, std::vector<TPosition>> stock_;  // (branch, product)
  std::unique_ptr<TInsert> insertOrder_, insertItem_, insertTerm_, insertRemark_,
      insertReservation_, insertLock_;
};

}  // namespace

TDemoSummary FillDemoData(fw::SqlDriver& db, const TDemoOptions& options) {
  if (options.Orders < kMinDemoOrders)
    throw std::invalid_argument("O número de pedidos deve ser no mínimo " +
                                std::to_string(kMinDemoOrders) + ".");
  fw::TSqlTransaction tx(db);
  TDemoSummary summary = TGenerator(db, options).Run();
  tx.Commit();
  return summary;
}

}  // namespace appserver
