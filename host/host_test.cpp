// The host: its command line, and loading the built module through its
// entry point by module code.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "forms/application.h"
#include "host/host_options.h"
#include "host/host_session.h"
#include "host/module_loader.h"
#include "library/velkora.h"
#include "testing/scripted_operator.h"

namespace host {
namespace {

TEST(HostOptions, ReadsEveryOptionAndRefusesWhatItCannotRead) {
  HostOptions o = ParseHostOptions({"--operator", "OPER01", "--branch", "0001", "--fixed-branch",
                                    "--server", "http://127.0.0.1:8123", "--db", "demo.db",
                                    "--modules", "/tmp/m", "--headless"});
  EXPECT_EQ(o.Operator, "OPER01");
  EXPECT_EQ(o.Branch, "0001");
  EXPECT_TRUE(o.FixedBranch);
  EXPECT_EQ(o.ServerHost, "127.0.0.1");
  EXPECT_EQ(o.ServerPort, 8123);
  EXPECT_EQ(o.Module, "ZQV41800");
  EXPECT_TRUE(o.Headless);
  EXPECT_THROW(ParseHostOptions({"--server", "127.0.0.1:80"}), fw::Exception);
  EXPECT_THROW(ParseHostOptions({"--server", "http://127.0.0.1:0"}), fw::Exception);
  EXPECT_THROW(ParseHostOptions({"--branch"}), fw::Exception);
  EXPECT_THROW(ParseHostOptions({"--verbose"}), fw::Exception);
}

int CountForms(const std::string& name) {
  int n = 0;
  for (fw::TForm* f : fw::Screen().Forms()) n += f->Name() == name;
  return n;
}

TEST(ModuleLoader, StartsTheModuleThroughIniProcOnce) {
  ModuleLoader loader(MODULES_DIR);
  loader.Start("ZQV41800");
  loader.Start("zqv41800");  // same module, already loaded: the screen is shown again
  EXPECT_TRUE(loader.Loaded("ZQV41800"));
  EXPECT_EQ(CountForms("frmConfPedido"), 1);
  auto* created = static_cast<bool*>(loader.Symbol("ZQV41800", "boIdCriado"));
  ASSERT_NE(created, nullptr);
  EXPECT_TRUE(*created);
  for (fw::TForm* f : fw::Screen().Forms())
    if (f->Name() == "frmConfPedido") f->Close();
  fw::Application().ProcessMessages();
  EXPECT_EQ(CountForms("frmConfPedido"), 0);
  EXPECT_FALSE(*created);
  loader.Unload();
}

TEST(ModuleLoader, MissingModulesAndEntryPointsGiveAClearMessage) {
  ModuleLoader loader(MODULES_DIR);
  try {
    loader.Start("ZQV47700", "M");
    FAIL();
  } catch (const fw::Exception& e) {
    EXPECT_STREQ(e.what(), "Módulo ZQV47700 não encontrado.");
  }
  EXPECT_THROW(loader.Start("../etc/passwd"), fw::Exception);

  auto dir = std::filesystem::temp_directory_path() / "host_test_modules";
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(PLATFORM_LIBRARY, dir / "ZQV00001.so",
                             std::filesystem::copy_options::overwrite_existing);
  ModuleLoader other(dir.string());
  try {
    other.Start("ZQV00001");
    FAIL();
  } catch (const fw::Exception& e) {
    EXPECT_NE(std::string(e.what()).find("IniProc"), std::string::npos);
  }
  std::filesystem::remove_all(dir);
}

TEST(ModuleLoader, LoadBplGoesThroughTheInstalledLoader) {
  ModuleLoader loader(MODULES_DIR);
  auto previous = Velkora::SetModuleLoader(
      [&](const std::string& code, const std::string& param) { loader.Start(code, param); });
  EXPECT_THROW(Velkora::LoadBPL("ZQV47700", "M"), fw::Exception);
  Velkora::SetModuleLoader(previous);
}

// Without a server to sign in to, the sign-in window says so and stays;
// no module starts, not even from the menu.
TEST(HostSession, SignInWithoutAServerIsReportedAndTheWindowStays) {
  fw::testing::ScriptedOperator op;
  HostOptions options;
  options.Operator = "CARLOS";
  options.ServerPort = 9;  // discard: nobody listens
  options.ModulesDir = MODULES_DIR;
  {
    HostSession session(options);
    session.Start();
    LoginForm& login = *session.Login();
    EXPECT_TRUE(login.Visible());
    EXPECT_EQ(login.edtOperador->Text(), "CARLOS");
    EXPECT_TRUE(login.edtSenha->Focused());
    std::string typed = "demo";
    login.edtSenha->KeyPress(typed);
    EXPECT_EQ(login.edtSenha->EditText(), "****");
    op.ExpectError("Não foi possível conectar ao servidor de aplicação em 127.0.0.1:9.");
    fw::TKey enter = fw::VK_RETURN;
    login.edtSenha->KeyDown(enter, 0);
    op.Verify();
    EXPECT_TRUE(login.Visible());
    EXPECT_EQ(login.edtSenha->Text(), "");
    EXPECT_TRUE(login.edtSenha->Focused());
    session.StartModule("ZQV41800");
    EXPECT_EQ(CountForms("frmConfPedido"), 0);
    EXPECT_TRUE(Velkora::Operador().empty());
  }
  fw::Application().ProcessMessages();
}

}  // namespace
}  // namespace host
