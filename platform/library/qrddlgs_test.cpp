#include "library/qrddlgs.h"

#include <gtest/gtest.h>

#include "data/client_dataset.h"
#include "library/velkora.h"
#include "library/xlb93310.h"
#include "sql/adoib_query.h"

TEST(QrddlgsExistParam, FindsNamesIgnoringCase) {
  fw::TParams params;
  params.Assign({"P_CDFILIAL", "p_cdnvproduto"});
  EXPECT_TRUE(Qrddlgs::ExistParam(params, "P_CDFILIAL"));
  EXPECT_TRUE(Qrddlgs::ExistParam(params, "p_cdfilial"));
  EXPECT_TRUE(Qrddlgs::ExistParam(params, "P_CDNVPRODUTO"));
  EXPECT_FALSE(Qrddlgs::ExistParam(params, "P_CDFILIA"));
  EXPECT_FALSE(Qrddlgs::ExistParam(fw::TParams{}, "P_CDFILIAL"));
}

TEST(Xlb93310ProdutoTitle, ClosedOrFilledListExplainsTheCode) {
  fw::TADOIBQuery query;  // closed
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "", query, true),
            "Código no formato 99.99.999");
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "", query, false), "");
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "ativos", query, true),
            "Código no formato 99.99.999 - ativos");
}

namespace {

struct EmptyProdutoTable : ::testing::Test {
  fw::TDBConnection db;
  fw::TADOIBQuery query;
  void SetUp() override {
    db.Open("sqlite::memory:");
    query.Connection = &db;
  }
  void OpenWith(const char* sql) {
    query.SQL.SetText(sql);
    if (Qrddlgs::ExistParam(query.Params(), "P_CDFILIAL"))
      query.ParamByName("P_CDFILIAL").SetAsString("0001");
    query.Open();
  }
};

}  // namespace

TEST_F(EmptyProdutoTable, EmptyListSaysThereIsNoProduct) {
  OpenWith("SELECT '0101001' AS CDARVPROD, 'Parafuso' AS NMPRODUTO WHERE 1 = 0");
  ASSERT_TRUE(query.Active());
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "", query, true),
            "Não há produto cadastrado.");
}

TEST_F(EmptyProdutoTable, EmptyListOfABranchNamesTheBranch) {
  OpenWith("SELECT '0101001' AS CDARVPROD WHERE :P_CDFILIAL = 'outra'");
  ASSERT_TRUE(query.Active());
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "", query, true),
            "Não há produto cadastrado para a filial 0001.");
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("", "", query, true), "Não há produto cadastrado.");
}

TEST_F(EmptyProdutoTable, FilledListExplainsTheCode) {
  OpenWith("SELECT '0101001' AS CDARVPROD, 'Parafuso' AS NMPRODUTO");
  EXPECT_EQ(Xlb93310::SQL_Pesquisa_Produto("0001", "", query, true),
            "Código no formato 99.99.999");
}
