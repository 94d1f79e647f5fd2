#include "host/main_window.h"

namespace host {
namespace {

struct ModuleEntry {
  const char* name;
  const char* caption;
  const char* code;
};

constexpr ModuleEntry kModules[] = {
    {"mnuConfPedido", "&Confirmação de Pedido", "ZQV41800"},
    {"mnuImpPedido", "&Impressão de Pedidos", "ZQV47700"},
};

}  // namespace

MainWindow::MainWindow(fw::TComponent* owner, std::function<void(const std::string&)> startModule,
                       std::function<void()> signOut)
    : fw::TForm(owner) {
  SetName("frmPrincipal");
  SetCaption("Velkora - Gestão de Vendas");
  FormStyle = fw::TFormStyle::fsMDIForm;
  SetBounds(0, 0, 1024, 700);
  menu_ = &Create<fw::TMainMenu>("mnuPrincipal");
  Menu = menu_;
  auto& modules = Create<fw::TMenuItem>("mnuModulos");
  modules.SetCaption("&Módulos");
  menu_->Items().Insert(modules);
  for (const ModuleEntry& entry : kModules) {
    auto& item = Create<fw::TMenuItem>(entry.name);
    item.SetCaption(entry.caption);
    std::string code = entry.code;
    item.OnClick = [startModule, code](fw::TComponent&) { startModule(code); };
    modules.Insert(item);
  }
  auto& separator = Create<fw::TMenuItem>("mnuLinhaSair");
  separator.SetCaption("-");
  modules.Insert(separator);
  auto& quit = Create<fw::TMenuItem>("mnuSair");
  quit.SetCaption("&Sair");
  quit.OnClick = [signOut](fw::TComponent&) { signOut(); };
  modules.Insert(quit);
}

}  // namespace host
