#include "host/host_session.h"

#include "forms/application.h"
#include "library/velkora.h"
#include "sql/adoib_query.h"
#include "sql/db_connection.h"

namespace host {

HostSession::HostSession(HostOptions options)
    : options_(std::move(options)), loader_(std::make_unique<ModuleLoader>(options_.ModulesDir)) {}

HostSession::~HostSession() {
  Velkora::SetModuleLoader(nullptr);
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
  facts.Operador = options_.Operator;
  facts.FiliProc = options_.Branch;
  facts.NomeFiliProc = BranchName();
  facts.ModuFili = options_.FixedBranch;
  facts.WebURL = options_.ServerHost;
  facts.WebPort = options_.ServerPort;
  Velkora::SetHostFacts(facts);
  Velkora::SetModuleLoader([this](const std::string& code, const std::string& param) {
    loader_->Start(code, param);
  });
  fw::Application().CreateForm(window_, [this](const std::string& code) { StartModule(code); });
  window_->Show();
  if (!options_.Module.empty()) StartModule(options_.Module);
}

void HostSession::StartModule(const std::string& code) {
  try {
    loader_->Start(code);
  } catch (...) {
    fw::Application().HandleException(std::current_exception());
  }
}

}  // namespace host
