// Validators and field handlers of the filter dialog.
//
// A broken rule shows its message from msgPadrao as an error
// (Consiste::MensErro with abort, which raises fw::EAbort), the focus goes
// to the rule's control while the error leaves, and the running command
// (the confirm command or the exit handling) ends.
//
// Re-entrancy. Moving the focus runs the exit handler of the control that
// loses it, and the date edits' exit handlers validate and may refuse (a
// second message, and the focus kept where it was). So:
// - Refuse shows its message first and then moves the focus; it does not
//   move the focus away from a date edit whose exit handler would refuse
//   (a typed text that is no date, or a date not after 30/12/1899): the
//   operator sees one message, and the edit keeps the focus, so it still
//   cannot be left holding a bad date. The edit's own message comes when
//   the operator leaves it or confirms.
// - ValidaDataZ moves the focus before its message; if
//   the edit that has the focus refuses to let it go, that edit's message
//   is the one shown and its error ends the command, so again one message.
// - An exit handler moving the focus to its own edit does nothing (the
//   form ignores a move to the control that already has the focus).
// - The change handler of an interval edit checks "Intervalo" only for a
//   non-empty text (see medDeIntervaloChange).
#include "filter/filtro_conf_pedido_form.h"
#include "library/consiste.h"
#include "text/date_time.h"

using namespace fw;

namespace {

bool Empty(const TMaskEdit& edit) { return Consiste::EmptyString(edit.Text()); }

// Whether leaving `edit` would be refused by its exit handler.
bool HoldsBadDate(const TDateEditPlus& edit) {
  if (edit.IsEmpty()) return false;
  return !edit.IsDateValid() || edit.GetDate() <= 0;
}

// Whether the focus now sits in one of the dialog's date edits that would
// refuse to let it go.
bool FocusHeldByBadDate(const TfrmFiltroConfPedido& form) {
  TControl* active = form.ActiveControl();
  for (const TDateEditPlus* edit :
       {form.depDeEmissao, form.depAteEmissao, form.depDeEntrega, form.depAteEntrega})
    if (active == edit) return HoldsBadDate(*edit);
  return false;
}

}  // namespace

void TfrmFiltroConfPedido::Refuse(const std::string& text, TControl* focus) {
  try {
    Consiste::MensErro(text, true);
  } catch (const EAbort&) {
    if (focus && focus->CanFocus() && !FocusHeldByBadDate(*this)) focus->SetFocus();
    throw;
  }
  throw EAbort();  // MensErro with abort set never returns; this keeps it so
}

// ---------------------------------------------------------------------------
// Date validity: the typed text must be a calendar date.

void TfrmFiltroConfPedido::Vd_DataInv(TDateEditPlus& edit) {
  if (!edit.IsEmpty() && !edit.IsDateValid())
    Refuse("'" + edit.EditText() + "' " + msgPadrao->Msg("DATA_INV"), &edit);
}

void TfrmFiltroConfPedido::Vd_DeEmissaoInv() { Vd_DataInv(*depDeEmissao); }

void TfrmFiltroConfPedido::Vd_AteEmissaoInv() { Vd_DataInv(*depAteEmissao); }

void TfrmFiltroConfPedido::Vd_DeEntregaInv() { Vd_DataInv(*depDeEntrega); }

void TfrmFiltroConfPedido::Vd_AteEntregaInv() { Vd_DataInv(*depAteEntrega); }

// ---------------------------------------------------------------------------
// Date ranges: both dates or none, the first not after the last.

void TfrmFiltroConfPedido::Vd_DeEmissao() {
  if (depDeEmissao->IsEmpty() && !depAteEmissao->IsEmpty())
    Refuse(msgPadrao->Msg("DTINI_PEDIDO"), depDeEmissao);
}

void TfrmFiltroConfPedido::Vd_AteEmissao() {
  if (!depDeEmissao->IsEmpty() && depAteEmissao->IsEmpty())
    Refuse(msgPadrao->Msg("DTFIN_PEDIDO"), depAteEmissao);
}

void TfrmFiltroConfPedido::Vd_Emissao() {
  if (!depDeEmissao->IsEmpty() && !depAteEmissao->IsEmpty() &&
      depAteEmissao->GetDate() < depDeEmissao->GetDate())
    Refuse(msgPadrao->Msg("DTINI>DTFIN_PEDIDO"), depDeEmissao);
}

void TfrmFiltroConfPedido::Vd_DeEntrega() {
  if (depDeEntrega->IsEmpty() && !depAteEntrega->IsEmpty())
    Refuse(msgPadrao->Msg("DTINI_ENTREGA"), depDeEntrega);
}

void TfrmFiltroConfPedido::Vd_AteEntrega() {
  if (!depDeEntrega->IsEmpty() && depAteEntrega->IsEmpty())
    Refuse(msgPadrao->Msg("DTFIN_ENTREGA"), depAteEntrega);
}

void TfrmFiltroConfPedido::Vd_Entrega() {
  if (!depDeEntrega->IsEmpty() && !depAteEntrega->IsEmpty() &&
      depAteEntrega->GetDate() < depDeEntrega->GetDate())
    Refuse(msgPadrao->Msg("DTINI>DTFIN_ENTREGA"), depDeEntrega);
}

// ---------------------------------------------------------------------------
// Order-number interval, on the texts as the edits hold them (the confirm
// command brings them to width 10 first, so they compare as numbers).

void TfrmFiltroConfPedido::Vd_DeIntervalo() {
  if (Empty(*medDeIntervalo) && !Empty(*medAteIntervalo))
    Refuse(msgPadrao->Msg("NRINI"), medDeIntervalo);
}

void TfrmFiltroConfPedido::Vd_AteIntervalo() {
  if (!Empty(*medDeIntervalo) && Empty(*medAteIntervalo))
    Refuse(msgPadrao->Msg("NRFIN"), medAteIntervalo);
}

void TfrmFiltroConfPedido::Vd_Intervalo() {
  // std::string compares its characters as unsigned 8-bit values.
  if (!Empty(*medDeIntervalo) && !Empty(*medAteIntervalo) &&
      medDeIntervalo->Text() > medAteIntervalo->Text())
    Refuse(msgPadrao->Msg("NRINI>NRFIN"), medDeIntervalo);
}

void TfrmFiltroConfPedido::Vd_Intervalo2() {
  if (Empty(*medDeIntervalo) && Empty(*medAteIntervalo) && rbtIntervalo->Checked())
    Refuse(msgPadrao->Msg("NRINI"), medDeIntervalo);
}

// ---------------------------------------------------------------------------
// Statuses and priorities: at least one box of each group.

void TfrmFiltroConfPedido::Vd_StatusPedido() {
  if (!chbPPendente->Checked() && !chbPAndamento->Checked() && !chbPParcialmente->Checked())
    Refuse(msgPadrao->Msg("STATUSPED"), chbPPendente);
}

void TfrmFiltroConfPedido::Vd_StatusItemPedido() {
  for (const TCheckBox* box : {chbIPendente, chbIConfirmado, chbIAprovado, chbILiquidado,
                               chbICancelado, chbIParcialmente})
    if (box->Checked()) return;
  // The item boxes are never shown: Refuse leaves the focus where it is.
  Refuse(msgPadrao->Msg("STATUSITEMPED"), chbIPendente);
}

void TfrmFiltroConfPedido::Vd_Prioridade() {
  for (const TCheckBox* box : {chbBaixa, chbNormal, chbAlta, chbUrgente, chbPrioritaria})
    if (box->Checked()) return;
  Refuse(msgPadrao->Msg("PRIO"), chbNormal);
}

// ---------------------------------------------------------------------------
// The date must lie after 30/12/1899. CheckValidDate raises the date
// component's own EConvertError for a text that is no date.

void TfrmFiltroConfPedido::ValidaDataZ(TDateEditPlus& edit) {
  edit.CheckValidDate();
  if (edit.IsEmpty()) return;
  const TDateTime date = edit.GetDate();
  if (date > 0) return;
  edit.SetFocus();
  Consiste::MensErro("\"" + DateToStr(date) + "\"" + msgPadrao->Msg("data"), true);
}

// ---------------------------------------------------------------------------
// Field handlers.

void TfrmFiltroConfPedido::depDeEmissaoExit(TComponent&) {
  ValidaDataZ(*depDeEmissao);
  Vd_DeEmissaoInv();
}

void TfrmFiltroConfPedido::depAteEmissaoExit(TComponent&) {
  ValidaDataZ(*depAteEmissao);
  Vd_AteEmissaoInv();
}

void TfrmFiltroConfPedido::depDeEntregaExit(TComponent&) {
  ValidaDataZ(*depDeEntrega);
  Vd_DeEntregaInv();
}

void TfrmFiltroConfPedido::depAteEntregaExit(TComponent&) {
  ValidaDataZ(*depAteEntrega);
  Vd_AteEntregaInv();
}

void TfrmFiltroConfPedido::medDeIntervaloExit(TComponent&) {
  medDeIntervalo->SetText(Consiste::Ajusta(medDeIntervalo->Text(), 10));
}

void TfrmFiltroConfPedido::medAteIntervaloExit(TComponent&) {
  medAteIntervalo->SetText(Consiste::Ajusta(medAteIntervalo->Text(), 10));
}

// A number in an interval edit chooses "Intervalo" (checking it runs its
// click handler when it was not yet checked). Emptying an edit chooses
// nothing: "Todos", "Lista" and "Desfazer" empty both edits while they
// choose something else, and checking "Intervalo" in between would run
// its click handler there (enabling the edits and pulling the focus into
// the first of them) only for the caller to undo it.
void TfrmFiltroConfPedido::medDeIntervaloChange(TComponent&) {
  if (!Empty(*medDeIntervalo)) rbtIntervalo->SetChecked(true);
}

void TfrmFiltroConfPedido::medAteIntervaloChange(TComponent&) {
  if (!Empty(*medAteIntervalo)) rbtIntervalo->SetChecked(true);
}
