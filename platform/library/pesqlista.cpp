#include "library/pesqlista.h"

#include "base/errors.h"
#include "data/dataset.h"
#include "forms/interaction.h"
#include "rpc/key_list.h"

namespace Pesqlista {

bool PesquisaLista(fw::TDataSource& source, const std::string& keyField, const std::string& title,
                   bool, std::string& selection) {
  fw::TDataSet* dataSet = source.DataSet();
  if (!dataSet) throw fw::Exception("Lista de pesquisa sem dados: '" + source.Name + "'.");
  if (!dataSet->Active()) dataSet->Open();
  dataSet->FieldByName(keyField);  // an unknown key field is an error here, not in the list

  fw::TPickListRequest request;
  request.DataSet = dataSet;
  request.KeyField = keyField;
  size_t bar = title.find('|');
  request.Title = title.substr(0, bar);
  if (bar != std::string::npos) request.Subtitle = title.substr(bar + 1);
  if (dataSet->IsEmpty()) {
    std::string text = request.Subtitle.empty() ? "Não há registros para selecionar."
                                                : request.Subtitle;
    fw::Interaction().MessageDlg(text, fw::TMsgDlgType::mtInformation, fw::mbOK, 0);
    return false;
  }
  try {
    request.Picked = fw::SplitKeyList(selection);
  } catch (const fw::EConvertError&) {
    request.Picked.clear();
  }
  fw::TPickListResult result = fw::Interaction().PickList(request);
  if (!result.Accepted) return false;
  selection = fw::JoinKeyList(result.Picked);
  return true;
}

}  // namespace Pesqlista
