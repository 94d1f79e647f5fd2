// The fixed part of the demo data: branches with their order parameters,
// operators, salespeople, places, products, carriers, payment terms and the
// word lists names are made from. Used by demo_data.cpp only.
#pragma once

#include <string>
#include <vector>

namespace appserver::demo {

struct TBranch {
  const char* Code;
  const char* Name;
  // IDEXIBPEDIDO IDMENSVEND IDUTRESELOTE IDOBRTPOPPED IDTABPRECO
  // IDEXIBIMPITPED IDOBRINFTRAN IDEXIBVENDCOM, one character each.
  const char* Params;
  int Weight;  // share of the random orders
};

struct TOperator {
  const char* Code;
  const char* Name;
};

struct TSalesperson {
  const char* Code;
  const char* ShortName;
  const char* FullName;
  char Role;             // 'V', 'E' or 'R'
  const char* Operator;  // nullptr when not linked
};

struct TPermission {
  const char* Branch;  // "*" for every branch
  const char* Operator;
  const char* Type;
};

struct TTown {
  const char* State;
  const char* Name;
};

struct TProduct {
  const char* Tree;  // CDARVPROD
  const char* Name;
  const char* Unit;
  double Price;
  double WeightKg;
  int StockOf;      // index of the product whose stock serves it; -1: itself
  int PerStockUnit; // units of this product in one unit of the stock product
  bool Perishable;
};

struct TLicenceIssue {
  int Product;
  const char* Branch;  // "*" for every branch
  const char* Text;
  bool Resolved;
};

struct TCodeName {
  const char* Code;
  const char* Name;
};

struct TPaymentForm {
  const char* Code;
  const char* Name;
  std::vector<std::pair<int, double>> Terms;  // days, percentage
};

struct TPlace {
  const char* Store;
  const char* Code;
  const char* Name;
  bool ServesOrders;
};

const std::vector<TBranch>& Branches();
const std::vector<TOperator>& Operators();
const std::vector<TSalesperson>& Salespeople();
const std::vector<TPermission>& Permissions();
const std::vector<TCodeName>& OperationTypes();  // name; the type's direction follows the code
const std::vector<TTown>& Towns();
const std::vector<TProduct>& Products();
const std::vector<TLicenceIssue>& LicenceIssues();
const std::vector<TCodeName>& Carriers();        // code = trade name, name = company name
const std::vector<TCodeName>& TransportTypes();
const std::vector<TCodeName>& PaymentModalities();
const std::vector<TPaymentForm>& PaymentForms();
const std::vector<TCodeName>& Stores();          // ALMOXARIFADO
const std::vector<TPlace>& Places();             // LOCALESTOQUE

const std::vector<const char*>& FirstNames();
const std::vector<const char*>& Surnames();
const std::vector<const char*>& ShopKinds();
const std::vector<const char*>& ShopNames();
const std::vector<const char*>& Streets();
const std::vector<const char*>& Remarks();
const std::vector<const char*>& CustomerNotes();
const std::vector<const char*>& SalesNotes();

}  // namespace appserver::demo
