#include "host/host_session.h"

#include <cstdio>

#include "forms/application.h"
#include "forms/interaction.h"
#include "library/velkora.h"
#include "rpc/rpc_errors.h"
#include "sql/adoib_query.h"
#include "sql/db_connection.h"

namespace host {

HostSession::HostSession(HostOptions options)
    : options_(std::move(options)),
      client_(options_.ServerHost, options_.ServerPort),
      loader_(std::make_unique<ModuleLoader>(options_.ModulesDir)) {}

HostSession::~HostSession() {
  fw::Application().OnException = nullptr;
  client_.SignOut(Velkora::WebToken());
  Velkora::SetModuleLoader(nullptr);
  if (fw::Application().MainForm == window_) fw::Application().MainForm = nullptr;
  delete login_;
  delete window_;
  fw::Application().ProcessMessages();
  loader_->Unload();
}

std::string HostSession::BranchName() const {
  if (options_.Branch.empty()) return {};
  fw::TADOIBQuery qry("qryFilialHost");
  qry.SQL.SetText("SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL");
  qry.ParamByName("P_CDFILIAL").SetAsString(options_.Branch);
  qry.Open();
  if (qry.IsEmpty()) throw fw::Exception("Filial " + options_.Branch + " não cadastrada.");
  return qry.FieldByName("NMFILIAL").AsString();
}

void HostSession::Start() {
  if (!options_.Database.empty()) fw::dtmDBGeral().adcGeral.Open(options_.Database);
  Velkora::THostFacts facts;
  facts.FiliProc = options_.Branch;
  facts.NomeFiliProc = BranchName();
  facts.ModuFili = options_.FixedBranch;
  facts.WebURL = options_.ServerHost;
  facts.WebPort = options_.ServerPort;
  Velkora::SetHostFacts(facts);
  Velkora::SetModuleLoader([this](const std::string& code, const std::string& param) {
    loader_->Start(code, param);
  });
  fw::Application().OnException = [this](const std::exception_ptr& e) { return SessionEnded(e); };
  fw::Application().CreateForm(
      window_, [this](const std::string& code) { StartModule(code); }, [this] { SignOut(); });
  window_->Show();
  fw::Application().CreateForm(
      login_, [this](const std::string& op, const std::string& pw) { SignIn(op, pw); },
      [] { fw::Application().Terminate(); });
  login_->Start(options_.Operator);
}

void HostSession::SignIn(const std::string& op, const std::string& password) {
  SignedIn session = client_.SignIn(op, password);  // a refusal stays on the window
  Velkora::THostFacts facts = Velkora::HostFacts();
  facts.Operador = session.Operator;
  facts.WebToken = session.Token;
  Velkora::SetHostFacts(facts);
  login_->Hide();
  std::printf("host: operador %s, filial %s\n", session.Operator.c_str(), options_.Branch.c_str());
  std::fflush(stdout);
  if (!options_.Module.empty()) fw::Application().Post([this] { StartModule(options_.Module); });
}

void HostSession::CloseModuleWindows() {
  std::vector<fw::TForm*> forms = fw::Screen().Forms();
  for (fw::TForm* form : forms) {
    if (form == window_ || form == login_ || !fw::Screen().HasForm(form)) continue;
    if (form->Modal())
      form->SetModalResult(fw::mrCancel);
    else if (form->Visible())
      form->Close();
  }
}

void HostSession::SignOut() {
  CloseModuleWindows();
  Velkora::THostFacts facts = Velkora::HostFacts();
  client_.SignOut(facts.WebToken);
  std::string last = facts.Operador;
  facts.Operador.clear();
  facts.WebToken.clear();
  Velkora::SetHostFacts(facts);
  login_->Start(last.empty() ? options_.Operator : last);
}

bool HostSession::SessionEnded(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const fw::ESessionExpired& e) {
    fw::Interaction().ShowError(e.what());
    fw::Application().Post([this] { SignOut(); });
    return true;
  } catch (...) {
    return false;
  }
}

void HostSession::StartModule(const std::string& code) {
  if (Velkora::WebToken().empty()) {  // nothing starts before the operator signs in
    login_->Start(login_->edtOperador->Text());
    return;
  }
  try {
    loader_->Start(code);
  } catch (...) {
    fw::Application().HandleException(std::current_exception());
  }
}

}  // namespace host
