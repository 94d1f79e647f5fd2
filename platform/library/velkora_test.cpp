#include "library/velkora.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "text/format_mask.h"

using namespace Velkora;

TEST(VelkoraFacts, ReadBackWhatTheHostSet) {
  THostFacts facts;
  facts.Operador = "ADM";
  facts.FiliProc = "0001";
  facts.NomeFiliProc = "Matriz";
  facts.ModuFili = true;
  facts.WebURL = "127.0.0.1";
  facts.WebPort = 8211;
  SetHostFacts(facts);
  EXPECT_EQ(Operador(), "ADM");
  EXPECT_EQ(FiliProc(), "0001");
  EXPECT_EQ(NomeFiliProc(), "Matriz");
  EXPECT_TRUE(ModuFili());
  EXPECT_EQ(WebURL(), "127.0.0.1");
  EXPECT_EQ(WebPort(), 8211);
  SetHostFacts({});
  EXPECT_EQ(Operador(), "");
  EXPECT_FALSE(ModuFili());
}

TEST(VelkoraPict, ProductPictureAndLevels) {
  std::string mask = DBPict(ptProduto);
  EXPECT_EQ(fw::FormatMaskText(mask, "0101001"), "01.01.001");
  TPictObj pict = DBPictObj(0);
  EXPECT_EQ(pict.Mascara, mask);
  EXPECT_EQ(pict.TtNiveis, 3);
  EXPECT_EQ(pict.TamNiveis, (std::vector<int>{2, 2, 3}));
  EXPECT_EQ(pict.TtDigitos, 7);
  EXPECT_LE(pict.TtDigitos, 20);  // fits the product code column
}

TEST(VelkoraPict, UnknownTypeIsRefused) {
  EXPECT_THROW(DBPict(7), fw::Exception);
  EXPECT_THROW(DBPictObj(-1), fw::Exception);
}

TEST(VelkoraLoadBPL, WithoutLoaderTellsTheModuleIsMissing) {
  auto previous = SetModuleLoader(nullptr);
  try {
    LoadBPL("ZQV47700", "M");
    FAIL() << "no error";
  } catch (const fw::Exception& e) {
    EXPECT_STREQ(e.what(), "Módulo ZQV47700 não encontrado.");
  }
  SetModuleLoader(previous);
}

TEST(VelkoraLoadBPL, LoaderGetsCodeAndParameterAndItsErrorsPassOn) {
  std::vector<std::pair<std::string, std::string>> calls;
  auto previous = SetModuleLoader([&](const std::string& code, const std::string& param) {
    calls.emplace_back(code, param);
    if (code == "ZQV99999") throw fw::Exception("Módulo ZQV99999 não encontrado.");
  });
  LoadBPL("ZQV47700", "M");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::pair<std::string, std::string>{"ZQV47700", "M"}));
  EXPECT_THROW(LoadBPL("ZQV99999", ""), fw::Exception);
  EXPECT_EQ(calls.size(), 2u);
  // An empty code never reaches the loader.
  EXPECT_THROW(LoadBPL(" ", "M"), fw::Exception);
  EXPECT_EQ(calls.size(), 2u);
  SetModuleLoader(previous);
}
