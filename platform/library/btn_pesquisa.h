// TButtonFlat and TBtnPesquisa: the flat toolbar button and the search
// button of the shared library.
//
// TBtnPesquisa is bound to an edit and a data source. Its click runs
// BeforePesq, opens the data source's dataset when it is closed, and shows
// the list of its rows (one pick, titled Titulo, starting on the edit's
// text). With no rows it shows MensagemVazia instead. When the operator
// picks a row, the dataset is positioned on it and AfterPesq runs; without
// AfterPesq the picked key is written into the edit. The key is the field
// CampoChave, or the dataset's first field when CampoChave is empty.
// User-interface thread only; raises what its handlers or the dataset raise.
#pragma once

#include <string>

#include "data/data_source.h"
#include "forms/buttons.h"
#include "forms/edit.h"

namespace fw {

class TButtonFlat : public TSpeedButton {
 public:
  explicit TButtonFlat(TComponent* owner);
  const char* Kind() const override { return "flatbutton"; }
};

class TBtnPesquisa : public TSpeedButton {
 public:
  explicit TBtnPesquisa(TComponent* owner);

  TCustomEdit* Edit = nullptr;
  TDataSource* DataSource = nullptr;
  std::string Titulo;
  std::string MensagemVazia;
  std::string CampoChave;
  TNotifyEvent BeforePesq;
  TNotifyEvent AfterPesq;

  void Click() override;
  const char* Kind() const override { return "searchbutton"; }
};

}  // namespace fw
