// TfrmFiltroPadrao: the shared library's base filter dialog (modal).
//
// Composition: lblCodTela (screen code); grbFiltroPadrao, the group box
// holding the criteria (562 x 302 at the left); panMenu, the command panel
// at the right with btfSaveOpc ("Salvar opções") and btfLoadOpc
// ("Carregar opções"), the help panel panHelp (sbtHelp) and the button
// panel panBotoes (sbtConfirma, sbtCancel); the message table msgPadrao.
// Client area 617 x 302.
//
// The option list Opcoes (name=value entries) is what btfSaveOpcClick
// persists and btfLoadOpcClick restores: per operator (Velkora::Operador)
// and screen (the caption of lblCodTela), see option_store.h. Dialogs add
// their own entries before calling the base save handler and read them
// after the base load handler.
// Handlers by name: FormCreate, FormClose (releases the dialog),
// FormKeyDown (Esc cancels, Enter confirms; the form previews keys), btfSaveOpcClick,
// btfLoadOpcClick, sbtCancelClick (closes with mrCancel), sbtHelpClick
// (shows the dialog's keys, key_help.h, with the dialog's HelpKeys),
// sbtConfirmaClick (closes with mrOk; dialogs replace it).
// User-interface thread only; saving and loading raise fw::Exception when
// the file cannot be written or read.
#pragma once

#include <string>
#include <vector>

#include "forms/containers.h"
#include "forms/form.h"
#include "forms/static_controls.h"
#include "library/btn_pesquisa.h"
#include "library/messages.h"
#include "library/option_store.h"

namespace fw {

class TfrmFiltroPadrao : public TForm {
 public:
  explicit TfrmFiltroPadrao(TComponent* owner);

  TLabel* lblCodTela;
  TGroupBox* grbFiltroPadrao;
  TPanel *panMenu, *panHelp, *panBotoes;
  TButtonFlat *btfSaveOpc, *btfLoadOpc;
  TSpeedButton *sbtHelp, *sbtConfirma, *sbtCancel;
  // Keys the dialog's own handlers give, for its help.
  std::vector<std::string> HelpKeys;
  TMessages* msgPadrao;
  Velkora::TOptionList Opcoes;

  // The file the options of this operator and screen live in.
  std::string OptionFile() const;

 protected:
  void FormCreate(TComponent& sender);
  void FormClose(TComponent& sender, TCloseAction& action);
  void FormKeyDown(TComponent& sender, TKey& key, TShiftState shift);
  void btfSaveOpcClick(TComponent& sender);
  void btfLoadOpcClick(TComponent& sender);

 private:
  TSpeedButton& Button(TControl* parent, const std::string& name, const std::string& caption,
                       int top);
};

}  // namespace fw
