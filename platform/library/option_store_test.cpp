// The option store: exact values across save and load, replacement of a
// whole file, and the per-operator path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "library/option_store.h"

namespace {

TEST(OptionStore, ValuesComeBackExactly) {
  Velkora::TOptionList options;
  options.SetValue("stNrPedido", "'0000000001','0000000002'");
  options.SetValue("stCliente", "");
  options.SetValue("stTipoOper", "linha 1\nlinha 2\r 100% = certo");
  options.SetValue("stNrPedido", "'0000000003'");  // replaces, keeps the place
  auto dir = std::filesystem::temp_directory_path() / "option_store_test";
  std::filesystem::remove_all(dir);
  std::string path = (dir / "OPER" / "ZQV41801.opc").string();
  Velkora::SaveOptions(path, options);
  Velkora::TOptionList back = Velkora::LoadOptions(path);
  EXPECT_EQ(back.Entries(), options.Entries());
  EXPECT_EQ(back.Value("stNrPedido"), "'0000000003'");
  EXPECT_EQ(back.Value("stVendedor"), "");
  EXPECT_FALSE(back.Has("stVendedor"));

  Velkora::TOptionList smaller;
  smaller.SetValue("stCliente", "'C1'");
  Velkora::SaveOptions(path, smaller);  // the whole file is replaced
  EXPECT_EQ(Velkora::LoadOptions(path).Entries(), smaller.Entries());
  size_t files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir / "OPER")) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);  // no temporary left behind
  std::filesystem::remove_all(dir);
}

TEST(OptionStore, MissingFilesAndBadLinesAreHarmless) {
  EXPECT_TRUE(Velkora::LoadOptions("/nonexistent/velkora/x.opc").Entries().empty());
  Velkora::TOptionList parsed = Velkora::TOptionList::Parse("semigual\n=vazio\na=1=2\r\n");
  ASSERT_EQ(parsed.Entries().size(), 1u);
  EXPECT_EQ(parsed.Value("a"), "1=2");
  EXPECT_THROW(parsed.SetValue("a=b", "x"), std::exception);
}

TEST(OptionStore, PathIsPerOperatorAndScreenAndSafe) {
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(Velkora::OptionFilePath("OPER01", "ZQV41801"), "/tmp/cfg/velkora/opcoes/OPER01/ZQV41801.opc");
  EXPECT_EQ(Velkora::OptionFilePath("../../etc", "x/y"), "/tmp/cfg/velkora/opcoes/etc/xy.opc");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
