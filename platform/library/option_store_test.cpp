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

TEST(OptionStore, FilesThatSaveDidNotWriteAreRefusedWhole) {
  auto dir = std::filesystem::temp_directory_path() / "option_store_bad";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::string path = (dir / "X.opc").string();
  const std::string cases[] = {std::string("stCliente='1'\n\0\n", 16), "stCliente='\xC3'\n",
                               "stCliente='1'\nlixo sem igual\n", "=sem nome\n",
                               std::string(Velkora::kMaxOptionFileBytes + 1, 'a')};
  for (const std::string& text : cases) {
    std::ofstream(path, std::ios::binary) << text;
    try {
      Velkora::LoadOptions(path);
      ADD_FAILURE() << "loaded: " << text.substr(0, 30);
    } catch (const Velkora::EOptionsUnreadable& e) {
      EXPECT_STREQ(e.what(), "As opções salvas não puderam ser lidas; nada foi carregado.");
    }
  }
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);  // not a file at all
  EXPECT_THROW(Velkora::LoadOptions(path), Velkora::EOptionsUnreadable);
  std::filesystem::remove_all(dir);
}

TEST(OptionStore, ASaveRemovesWhatADeadSaveLeftAndSparesOneInFlight) {
  auto dir = std::filesystem::temp_directory_path() / "option_store_stray";
  std::filesystem::remove_all(dir);
  std::string path = (dir / "X.opc").string();
  Velkora::TOptionList old;
  old.SetValue("stCliente", "'1'");
  Velkora::SaveOptions(path, old);
  std::ofstream(path + ".tmp4194305") << "stCliente='meio";  // its process is gone
  std::ofstream(path + ".tmp1") << "stCliente='2'\n";        // pid 1 is alive
  EXPECT_EQ(Velkora::LoadOptions(path).Entries(), old.Entries());  // the old file is intact
  Velkora::SaveOptions(path, old);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp4194305"));
  EXPECT_TRUE(std::filesystem::exists(path + ".tmp1"));
  std::filesystem::remove_all(dir);
}

TEST(OptionStore, PathIsPerOperatorAndScreenAndSafe) {
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(Velkora::OptionFilePath("OPER01", "ZQV41801"), "/tmp/cfg/velkora/opcoes/OPER01/ZQV41801.opc");
  EXPECT_EQ(Velkora::OptionFilePath("../../etc", "x/y"), "/tmp/cfg/velkora/opcoes/etc/xy.opc");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
