// GetPedido against an oracle: the orders a filter must keep, computed in
// plain C++ from the demo database's raw rows, for hand-picked edge cases
// and for a few hundred random filter combinations.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "appserver/test_support.h"
#include "rpc/key_list.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

struct TOrderRow {
  std::string nr, status, prio, seller, commissioned, customer, type, town;
  double date = 0, delivery = 0;
  std::vector<std::pair<std::string, std::string>> items;  // status, product tree code
};

// Every order of a branch with what the filter looks at.
std::vector<TOrderRow> LoadOrders(fw::SqlDriver& db, const std::string& branch) {
  std::map<std::string, TOrderRow> byNumber;
  fw::SqlResult r = db.Query(
      "SELECT P.NRPEDIDO, P.IDSITPEDIDO, P.IDPRIOPED, P.CDVENDEDOR, P.CDVENDCOMIS, P.CDCLIENTE,"
      " P.CDTIPOOPER, P.DTPEDIDO, P.DTENTPED, E.CDPAIS || E.SGESTADO || E.CDMUNICIPIO"
      " FROM PEDIDO P JOIN ENDECLIE E ON E.CDCLIENTE = P.CDCLIENTE AND E.IDTPENDECLIE = 'P'"
      " WHERE P.CDFILIAL = :F",
      {{"F", branch}});
  for (auto& row : r.Rows) {
    TOrderRow o;
    o.nr = std::get<std::string>(row[0]);
    o.status = std::get<std::string>(row[1]);
    o.prio = std::get<std::string>(row[2]);
    o.seller = std::get<std::string>(row[3]);
    o.commissioned = std::get<std::string>(row[4]);
    o.customer = std::get<std::string>(row[5]);
    o.type = std::get<std::string>(row[6]);
    o.date = std::get<double>(row[7]);
    o.delivery = std::get<double>(row[8]);
    o.town = std::get<std::string>(row[9]);
    byNumber[o.nr] = o;
  }
  fw::SqlResult items = db.Query(
      "SELECT I.NRPEDIDO, I.IDSITITEMPED, PR.CDARVPROD FROM ITEMPEDIDO I"
      " JOIN PRODUTO PR ON PR.CDPRODUTO = I.CDPRODUTO WHERE I.CDFILIAL = :F",
      {{"F", branch}});
  for (auto& row : items.Rows)
    byNumber[std::get<std::string>(row[0])].items.emplace_back(std::get<std::string>(row[1]),
                                                                std::get<std::string>(row[2]));
  std::vector<TOrderRow> orders;
  for (auto& [nr, o] : byNumber) orders.push_back(o);
  return orders;
}

bool In(const std::string& list, const std::string& key) {
  std::vector<std::string> keys = fw::SplitKeyList(list);
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool InCodes(const std::string& codes, const std::string& code) {
  return codes.find(code) != std::string::npos;
}

// What GetPedido must keep, written straight from the filter's meaning.
std::vector<std::string> Expected(const std::vector<TOrderRow>& orders, const TFiltro& f) {
  std::vector<std::string> kept;
  for (const TOrderRow& o : orders) {
    if (!f.vendLog.empty() && o.seller != f.vendLog) continue;
    if (f.vendTodos != "T" && !In(f.vendLista, o.seller)) continue;
    if (f.comisTodos != "T" && !In(f.comisLista, o.commissioned)) continue;
    if (f.cliTodos != "T" && !In(f.cliLista, o.customer)) continue;
    if (f.munTodos != "T" && !In(f.munLista, o.town)) continue;
    if (f.tipoTodos != "T" && !In(f.tipoLista, o.type)) continue;
    if (!InCodes(f.prio, o.prio) || !InCodes(f.statPed, o.status)) continue;
    bool item = false;
    for (const auto& [status, product] : o.items)
      item = item || (InCodes(f.statIPed, status) && (f.prodTodos == "T" || In(f.prodLista, product)));
    if (!item) continue;
    if (f.emTodos != "T" && (o.date < f.emDe || o.date >= f.emAte + 1)) continue;
    if (f.enTodos != "T" && (o.delivery < f.enDe || o.delivery >= f.enAte + 1)) continue;
    if (f.nrTodos != "T") {
      if (!f.nrLista.empty()) {
        if (!In(f.nrLista, o.nr)) continue;
      } else if (o.nr < f.nrDe || o.nr > f.nrAte) {
        continue;
      }
    }
    kept.push_back(o.nr);
  }
  return kept;
}

class GetPedidoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = new TDemoDatabase(600, 11);
    server_ = new TLocalServer(data_->Url());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete data_;
  }
  void SetUp() override {
    con_ = server_->Connect();
    db_ = data_->Open();
  }
  std::vector<std::string> Call(const TFiltro& f) {
    return OrderNumbers(con_->Call("GetPedido", f.GetPedido()));
  }
  void ExpectOracle(const TFiltro& f) {
    EXPECT_EQ(Call(f), Expected(LoadOrders(*db_, f.filial), f));
  }

  static TDemoDatabase* data_;
  static TLocalServer* server_;
  std::unique_ptr<fw::TNetConnection> con_;
  std::unique_ptr<fw::SqlDriver> db_;
};
TDemoDatabase* GetPedidoTest::data_ = nullptr;
TLocalServer* GetPedidoTest::server_ = nullptr;

TEST_F(GetPedidoTest, DefaultFilterListsTheBranchWithEveryColumnFilled) {
  TFiltro f;
  json packet = con_->Call("GetPedido", f.GetPedido());
  std::vector<std::string> numbers = OrderNumbers(packet);
  EXPECT_EQ(numbers, Expected(LoadOrders(*db_, "0001"), f));
  ASSERT_GE(numbers.size(), 11u);
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
  // The mark and the operation type take no part in updates.
  for (const json& field : packet["fields"])
    if (field["name"] == "IDCHECK" || field["name"] == "NMTIPOOPER") {
      EXPECT_EQ(field["flags"], json::array());
    }
  // Order 1 of the demo: looked up column by column against the tables.
  EXPECT_EQ(Cell(packet, 0, "IDCHECK"), "N");
  EXPECT_EQ(Cell(packet, 0, "NRPEDIDO"), "0000000001");
  EXPECT_EQ(Cell(packet, 0, "NMFANTCLIE"),
            Text(*db_, "SELECT NMFANTCLIE FROM CLIENTE WHERE CDCLIENTE = '00000001'"));
  EXPECT_EQ(Cell(packet, 0, "NMFANVEN"), "Ana Paula");
  EXPECT_EQ(Cell(packet, 0, "NMFILIAL"), "Matriz São Paulo");
  EXPECT_EQ(Cell(packet, 0, "NMTIPOOPER"), "Venda de Mercadoria");
  EXPECT_EQ(Cell(packet, 0, "NMFORMPGTO"), "30/60/90 dias");
  EXPECT_EQ(Cell(packet, 0, "DSMODPGTO"), "Boleto bancário");
  EXPECT_EQ(Cell(packet, 0, "NMTIPTRANS"), "Rodoviário");
  EXPECT_EQ(Cell(packet, 0, "DTPEDIDO"), Today());
  EXPECT_EQ(Cell(packet, 0, "DTENTPED"), Today() + 4);
  // Order 2 has no carrier: its carrier columns are null.
  EXPECT_TRUE(Cell(packet, 1, "NRINSJURTRAN").is_null());
  EXPECT_TRUE(Cell(packet, 1, "NMFANTTRAN").is_null());
  EXPECT_EQ(Cell(packet, 1, "IDPGFRETTRAN"), "9");
}

TEST_F(GetPedidoTest, InitialCodesOfTheScreenKeepOnlyOrdersWithPendingOrConfirmedItems) {
  TFiltro f;
  f.statPed = "123456";
  f.statIPed = "12";
  std::vector<std::string> got = Call(f);
  EXPECT_EQ(got, Expected(LoadOrders(*db_, "0001"), f));
  EXPECT_EQ(std::count(got.begin(), got.end(), "0000000006"), 0);  // partly served, items 7/4/6
  EXPECT_EQ(std::count(got.begin(), got.end(), "0000000005"), 1);  // in progress, an item "2"
}

TEST_F(GetPedidoTest, OrderNumberIntervalIsInclusiveAndShortNumbersArePadded) {
  TFiltro f;
  f.nrTodos = "";
  f.nrDe = "0000000003";
  f.nrAte = "0000000007";
  EXPECT_EQ(Call(f), (std::vector<std::string>{"0000000003", "0000000004", "0000000005",
                                                "0000000006", "0000000007"}));
  f.nrDe = "3";
  f.nrAte = "7";
  EXPECT_EQ(Call(f).size(), 5u);
  f.nrDe = "0000000008";
  f.nrAte = "0000000007";  // reversed: nothing
  EXPECT_TRUE(Call(f).empty());
  f.nrLista = fw::JoinKeyList({"0000000002", "0000000009", "0000000012"});  // 12 is branch 0002
  EXPECT_EQ(Call(f), (std::vector<std::string>{"0000000002", "0000000009"}));
}

TEST_F(GetPedidoTest, DateRangesAreWholeDaysInclusive) {
  TFiltro f;
  f.emTodos = "";
  f.emDe = Today() - 2;
  f.emAte = Today() - 2 + 0.75;  // a time of day in the value does not cut the day
  std::vector<std::string> got = Call(f);
  EXPECT_EQ(got, Expected(LoadOrders(*db_, "0001"), TFiltro{.emDe = Today() - 2, .emAte = Today() - 2, .emTodos = ""}));
  EXPECT_EQ(std::count(got.begin(), got.end(), "0000000003"), 1);  // placed 2 days before
  f = TFiltro{};
  f.enTodos = "";
  f.enDe = Today() + 5;
  f.enAte = Today() + 6;
  ExpectOracle(f);
}

TEST_F(GetPedidoTest, ListCriteriaRestrictByMembership) {
  TFiltro f;
  f.vendTodos = "";
  f.vendLista = fw::JoinKeyList({"0001", "0003"});
  ExpectOracle(f);
  f = TFiltro{.munLista = fw::JoinKeyList({"1058SP0001", "1058PE0026"}), .munTodos = ""};
  ExpectOracle(f);
  f = TFiltro{.prodLista = fw::JoinKeyList({"0301004"}), .prodTodos = ""};
  std::vector<std::string> withAlcohol = Call(f);
  EXPECT_EQ(withAlcohol, Expected(LoadOrders(*db_, "0001"), f));
  EXPECT_EQ(std::count(withAlcohol.begin(), withAlcohol.end(), "0000000003"), 1);
  // A restricting list with no keys keeps nothing; "T" ignores the list.
  f = TFiltro{.cliTodos = ""};
  EXPECT_TRUE(Call(f).empty());
  f = TFiltro{.tipoLista = "'01'", .tipoTodos = "T"};
  EXPECT_EQ(Call(f), Call(TFiltro{}));
}

TEST_F(GetPedidoTest, SalespersonOfTheOperatorAndOperationTypePermissions) {
  TFiltro f;
  f.vendLog = "0002";
  std::vector<std::string> got = Call(f);
  EXPECT_EQ(got, Expected(LoadOrders(*db_, "0001"), f));
  EXPECT_FALSE(got.empty());
  // Branch 0005 (IDEXIBPEDIDO "2"): CARLOS may work with types 01 and 02
  // only; DANIELA has no permissions there and is not limited.
  TFiltro carlos{.filial = "0005", .operador = "CARLOS"};
  std::vector<std::string> limited = Call(carlos);
  TFiltro types{.filial = "0005", .tipoLista = "'01','02'", .tipoTodos = ""};
  EXPECT_EQ(limited, Expected(LoadOrders(*db_, "0005"), types));
  EXPECT_LT(limited.size(), Call(TFiltro{.filial = "0005"}).size());
  // On branch 0001 (IDEXIBPEDIDO "1") CARLOS's permission there changes nothing.
  EXPECT_EQ(Call(TFiltro{.operador = "CARLOS"}), Call(TFiltro{}));
}

TEST_F(GetPedidoTest, RandomCombinationsAgreeWithTheOracle) {
  std::mt19937 rng(20240610);
  auto pick = [&](const std::vector<std::string>& pool, int most) {
    std::vector<std::string> keys;
    int n = std::uniform_int_distribution<int>(1, most)(rng);
    for (int i = 0; i < n; ++i) keys.push_back(pool[rng() % pool.size()]);
    return fw::JoinKeyList(keys);
  };
  auto codes = [&](const std::string& all) {
    std::string s;
    for (char c : all)
      if (rng() % 2) s += c;
    return s.empty() ? all.substr(0, 1) : s;
  };
  std::vector<std::string> branches = {"0001", "0003", "0005", "0008"};
  std::vector<std::string> sellers = {"0001", "0002", "0003", "0004",
                                      "0005", "0006", "0009", "0012"};
  std::vector<std::string> products = {"0101001", "0301004", "0201006", "0701002"};
  std::vector<std::string> customers, towns;
  for (auto& row : db_->Query("SELECT CDCLIENTE FROM CLIENTE", {}).Rows)
    customers.push_back(std::get<std::string>(row[0]));
  for (auto& row : db_->Query("SELECT CDPAIS || SGESTADO || CDMUNICIPIO FROM MUNICIPIO", {}).Rows)
    towns.push_back(std::get<std::string>(row[0]));

  for (int round = 0; round < 150; ++round) {
    TFiltro f;
    f.filial = branches[rng() % branches.size()];
    auto maybe = [&](std::string& list, std::string& all, const std::vector<std::string>& pool) {
      if (rng() % 3 == 0) {
        all = "";
        list = pick(pool, 4);
      }
    };
    maybe(f.vendLista, f.vendTodos, sellers);
    maybe(f.comisLista, f.comisTodos, sellers);
    maybe(f.cliLista, f.cliTodos, customers);
    maybe(f.munLista, f.munTodos, towns);
    maybe(f.prodLista, f.prodTodos, products);
    maybe(f.tipoLista, f.tipoTodos, {"01", "02", "03", "04", "05"});
    if (rng() % 4 == 0) f.vendLog = sellers[rng() % sellers.size()];
    f.prio = codes("43210");
    f.statPed = codes("126");
    f.statIPed = codes("1234567");
    if (rng() % 3 == 0) {
      f.emTodos = "";
      f.emDe = Today() - double(rng() % 50);
      f.emAte = f.emDe + double(rng() % 20);
    }
    if (rng() % 3 == 0) {
      f.enTodos = "";
      f.enDe = Today() - double(rng() % 30);
      f.enAte = f.enDe + double(rng() % 30);
    }
    if (rng() % 4 == 0) {
      f.nrTodos = "";
      f.nrDe = std::string(8, '0') + std::to_string(10 + rng() % 80);
      f.nrAte = std::string(8, '0') + std::to_string(10 + rng() % 80);
    }
    SCOPED_TRACE(json(f.GetPedido()).dump());
    ExpectOracle(f);
  }
}

TEST_F(GetPedidoTest, BadFilterValuesAreRefusedNamingTheArgument) {
  auto refused = [&](TFiltro f, const std::string& part) {
    try {
      con_->Call("GetPedido", f.GetPedido());
      ADD_FAILURE() << "accepted: " << part;
    } catch (const fw::EServerError& e) {
      EXPECT_EQ(e.Code(), -32602);
      EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
  };
  refused(TFiltro{.vendTodos = "X"}, "argumento 4 (Vendedor.stTodos)");
  refused(TFiltro{.todosVendLog = "N"}, "argumento 2 (Vendedor.stTodosVendLog)");
  refused(TFiltro{.cliLista = "00000001", .cliTodos = ""}, "argumento 7 (Cliente.stLista)");
  refused(TFiltro{.munLista = "' OR 1=1 --", .munTodos = ""}, "argumento 9 (MuniciCli.stLista)");
  refused(TFiltro{.prio = "4a"}, "argumento 13 (Prio.stCodigos)");
  refused(TFiltro{.emDe = 1e9, .emAte = 1e9, .emTodos = ""}, "argumento 16 (Emissao.dtDe)");
  refused(TFiltro{.nrLista = "'1',", .nrTodos = ""}, "argumento 24 (NrPedido.stLista)");
  std::vector<json> args = TFiltro{}.GetPedido();
  args[19] = "0";  // Entrega.dtAte as text
  try {
    con_->Call("GetPedido", args);
    ADD_FAILURE();
  } catch (const fw::EServerError& e) {
    EXPECT_STREQ(e.what(), "GetPedido: o argumento 20 (Entrega.dtAte) deve ser um número.");
  }
}

}  // namespace
}  // namespace appserver::testing

namespace appserver::testing {
namespace {

// Over HTTP the lists are written straight from their rows; every reply
// reads back as the one the dispatcher gives as a document.
TEST_F(GetPedidoTest, ListsWrittenAsTextAnswerAsTheDocument) {
  TFiltro wide, none{.nrDe = "9999999998", .nrAte = "9999999999", .nrTodos = ""};
  wide.statPed = "1";
  std::vector<json> badDate = wide.GetPedido();
  badDate[15] = "ontem";
  const std::string daniela = "DANIELA", other = "MARIA";
  struct TCase {
    json request;
    const std::string* op;
  };
  auto call = [](const char* method, std::vector<json> params, json id = 7) {
    json r = {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
    if (!id.is_null()) r["id"] = id;
    return r;
  };
  const TCase cases[] = {
      {call("GetPedido", wide.GetPedido()), &daniela},
      {call("GetPedido", wide.GetPedido(), "x"), nullptr},
      {call("GetPedido", wide.GetPedido()), &other},  // not the session's operator
      {call("GetPedido", badDate), &daniela},
      {call("GetPedido", {"0001"}), &daniela},
      {call("SetPedidoPEAN", none.SetPedidoPEAN("", kOperBloq)), &daniela},
      {call("SetPedidoPEAN", none.SetPedidoPEAN("0000999999_", kOperBloq)), &daniela},
      {call("SetPedidoPEAN", none.SetPedidoPEAN("", kOperBloq)), &other},
  };
  for (const TCase& c : cases) {
    json byDocument = server_->Dispatcher().Handle(c.request, c.op);
    json byText = json::parse(server_->Dispatcher().HandleText(c.request.dump(), c.op));
    EXPECT_EQ(byText, byDocument) << c.request.dump().substr(0, 120);
  }
  json list = json::parse(server_->Dispatcher().HandleText(cases[0].request.dump(), &daniela));
  EXPECT_GT(list["result"]["rows"].size(), 10u);
}

}  // namespace
}  // namespace appserver::testing
