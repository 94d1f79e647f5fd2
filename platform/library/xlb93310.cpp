#include "library/xlb93310.h"

#include "library/qrddlgs.h"
#include "library/velkora.h"
#include "sql/adoib_query.h"

namespace Xlb93310 {

std::string SQL_Pesquisa_Produto(const std::string& branch, const std::string& note,
                                 fw::TDataSet& query, bool showPicture) {
  std::string text;
  if (query.Active() && query.IsEmpty()) {
    auto* sqlQuery = dynamic_cast<fw::TADOIBQuery*>(&query);
    bool perBranch = sqlQuery && Qrddlgs::ExistParam(sqlQuery->Params(), "P_CDFILIAL") &&
                     branch.find_first_not_of(' ') != std::string::npos;
    text = perBranch ? "Não há produto cadastrado para a filial " + branch + "."
                     : "Não há produto cadastrado.";
  } else if (showPicture) {
    std::string mask = Velkora::DBPict(Velkora::ptProduto);
    text = "Código no formato " + mask.substr(0, mask.find(';'));
  }
  if (!note.empty()) text += text.empty() ? note : " - " + note;
  return text;
}

}  // namespace Xlb93310
