#include "library/btn_pesquisa.h"

#include "base/errors.h"
#include "data/dataset.h"
#include "forms/interaction.h"

namespace fw {

TButtonFlat::TButtonFlat(TComponent* owner) : TSpeedButton(owner) { SetFlat(true); }

TBtnPesquisa::TBtnPesquisa(TComponent* owner) : TSpeedButton(owner) {
  SetFlat(true);
  Hint = "Pesquisar";
  SetBounds(0, 0, 21, 21);
}

void TBtnPesquisa::Click() {
  if (BeforePesq) BeforePesq(*this);
  TDataSet* dataSet = DataSource ? DataSource->DataSet() : nullptr;
  if (!dataSet) throw Exception("Botão de pesquisa '" + Name() + "' sem dados.");
  if (!dataSet->Active()) dataSet->Open();
  if (dataSet->IsEmpty()) {
    Interaction().MessageDlg(MensagemVazia.empty() ? "Não há registros." : MensagemVazia,
                             TMsgDlgType::mtInformation, mbOK, 0);
    return;
  }
  TPickListRequest request;
  request.Title = Titulo;
  request.DataSet = dataSet;
  request.KeyField = CampoChave.empty() ? dataSet->Fields(0).FieldName : CampoChave;
  request.MultiSelect = false;
  if (Edit && !Edit->Text().empty()) request.Picked = {Edit->Text()};
  TPickListResult result = Interaction().PickList(request);
  if (!result.Accepted || result.Picked.empty()) return;
  if (!dataSet->Locate(request.KeyField, result.Picked.front())) return;
  if (AfterPesq) {
    AfterPesq(*this);
  } else if (Edit) {
    Edit->SetText(result.Picked.front());
  }
}

}  // namespace fw
