// Marking orders and items for confirmation: the mark column IDCHECK of
// both lists ("S" marked, "N" not), the rules that refuse a mark (carrier,
// product permits), the all-switch behind the mark column's title, the
// Space and Ctrl+Space keys, and the counters Habilita reads. Marks are
// local posted edits; nothing is written to the server here. Every walk
// over a list puts the grid back on the row it showed, without fetching
// details (TKeepRow).
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/errors.h"
#include "base/text_case.h"
#include "forms/keys.h"
#include "library/consiste.h"
#include "library/messages.h"
#include "remote/rdm_conf_pedido.h"

using namespace fw;

namespace {

using DataSetNotify = void(TDataSet&);

std::string Text(const TDataSet& dataSet, const char* field) {
  return dataSet.FieldByName(field).AsString();
}

void SetMark(TDataSet& dataSet, const char* mark) {
  dataSet.Edit();
  dataSet.FieldByName("IDCHECK").SetAsString(mark);
  dataSet.Post();
}

// For the lifetime of a walk: remembers the current row's key, detaches
// the scroll handler and freezes the grid; afterwards locates the key
// (ignoring case), re-attaches the handler and unfreezes the grid, also
// when the walk ends by an error. A key no longer found leaves the cursor
// where the walk left it.
class TKeepRow {
 public:
  TKeepRow(TDataSet& dataSet, const char* keyField, std::function<DataSetNotify> handler)
      : dataSet_(dataSet), keyField_(keyField), key_(Text(dataSet, keyField)),
        handler_(std::move(handler)) {
    dataSet_.AfterScroll = nullptr;
    dataSet_.DisableControls();
  }
  ~TKeepRow() {
    try {
      dataSet_.Locate(keyField_, Value(key_), loCaseInsensitive);
    } catch (...) {
      // The row is not restored; the handler and the grid still are.
    }
    dataSet_.AfterScroll = std::move(handler_);
    dataSet_.EnableControls();
  }
  TKeepRow(const TKeepRow&) = delete;
  TKeepRow& operator=(const TKeepRow&) = delete;

 private:
  TDataSet& dataSet_;
  const char* keyField_;
  std::string key_;
  std::function<DataSetNotify> handler_;
};

bool NoCarrier(const TDataSet& pedido) {
  return Consiste::EmptyString(Text(pedido, "NRINSJURTRAN"));
}

// The field's text: a stored text itself, not a copy; anything else as
// AsString gives it, kept in `scratch`.
std::string_view FieldText(const TField& field, std::string& scratch) {
  const Value& value = field.AsValue();
  if (const std::string* stored = std::get_if<std::string>(&value)) return *stored;
  return scratch = field.AsString();
}

bool BlankText(const TField& field) {
  std::string scratch;
  return Consiste::EmptyString(FieldText(field, scratch));
}

bool TextIs(const TField& field, std::string_view text) {
  std::string scratch;
  return FieldText(field, scratch) == text;
}

// The order numbers of a list, upper-cased: Has finds what
// Locate("NRPEDIDO", ..., loCaseInsensitive) on the list finds, at the
// cost of one walk of the list instead of one per lookup. Building it
// leaves the list's cursor on its last row. Most numbers asked for are not
// in it: a small table of their hashes' fingerprints answers those with
// one look, and only a number it may hold is looked up in the set.
class TOrderKeys {
 public:
  explicit TOrderKeys(TDataSet& list) {
    for (list.First(); !list.Eof(); list.Next()) keys_.insert(UpperCase(Text(list, "NRPEDIDO")));
    size_t size = 64;
    while (size < keys_.size() * 4) size *= 2;
    prints_.assign(size, 0);
    for (const std::string& key : keys_) {
      const uint64_t hash = THash()(key);
      size_t at = Slot(hash);
      while (prints_[at] != 0 && prints_[at] != Print(hash)) at = (at + 1) & (size - 1);
      prints_[at] = Print(hash);
    }
  }
  bool Has(const TField& number) const {
    std::string scratch;
    const std::string_view text = FieldText(number, scratch);
    // Digits and capitals are their own upper case: no copy to look them up.
    bool folded = std::all_of(text.begin(), text.end(), [](char c) {
      return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '_';
    });
    if (!folded) return keys_.count(UpperCase(text)) > 0;
    return MayHave(THash()(text)) && keys_.find(text) != keys_.end();
  }

 private:
  struct THash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  size_t Slot(uint64_t hash) const { return hash & (prints_.size() - 1); }
  static uint32_t Print(uint64_t hash) { return static_cast<uint32_t>(hash >> 32) | 1; }  // 0: free
  bool MayHave(uint64_t hash) const {
    for (size_t at = Slot(hash);; at = (at + 1) & (prints_.size() - 1)) {
      if (prints_[at] == Print(hash)) return true;
      if (prints_[at] == 0) return false;
    }
  }

  std::unordered_set<std::string, THash, std::equal_to<>> keys_;
  std::vector<uint32_t> prints_;  // open addressing, a quarter full at most
};

}  // namespace

bool TfrmConfPedido::CarrierRequired() const {
  return Text(cdsParamPedido, "IDOBRINFTRAN") == "2";
}

// Shows the refusal and ends the running command silently.
void TfrmConfPedido::Refuse(const char* key) {
  Consiste::MensErro(msgPadrao->Msg(key), true);
  throw EAbort();  // MensErro with abort set never returns; this keeps it so
}

bool TfrmConfPedido::VerificaMarcaTodosPedidos() {
  TKeepRow keep(cdsPedido, "NRPEDIDO", OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
  return HasPendingRows(cdsPedido, "(IDSITPEDIDO = '1')");
}

bool TfrmConfPedido::VerificaMarcaTodosItemPed() {
  TKeepRow keep(cdsItemPedido, "NRITEMPED", OptionalHandler<DataSetNotify>("cdsItemPedidoAfterScroll"));
  return HasPendingRows(cdsItemPedido, "(IDSITITEMPED = '1')");
}

bool TfrmConfPedido::HasPendingRows(TDataSet& dataSet, const char* filter) {
  dataSet.SetFilter(filter);
  dataSet.SetFiltered(true);
  const bool pending = !dataSet.IsEmpty();
  dataSet.SetFiltered(false);
  dataSet.SetFilter("");
  return pending;
}

void TfrmConfPedido::DeschecarPedido() {
  TKeepRow keep(cdsPedido, "NRPEDIDO", OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
  UnmarkPending(cdsPedido, "IDSITPEDIDO");
  Cli_zqv41800::inContPedidoCh = 0;
}

void TfrmConfPedido::DeschecarItemPed() {
  TKeepRow keep(cdsItemPedido, "NRITEMPED", OptionalHandler<DataSetNotify>("cdsItemPedidoAfterScroll"));
  UnmarkPending(cdsItemPedido, "IDSITITEMPED");
  Cli_zqv41800::inContItemPedidoCh = 0;
}

void TfrmConfPedido::UnmarkPending(TDataSet& dataSet, const char* statusField) {
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
    if (Text(dataSet, statusField) == "1" && Text(dataSet, "IDCHECK") != "N") SetMark(dataSet, "N");
}

void TfrmConfPedido::dbgPadraoCellClick(TColumn& column) {
  if (column.FieldName() != "IDCHECK" && !Cli_zqv41800::boTeclado) return;
  if (Text(cdsPedido, "IDSITPEDIDO") != "1") return;
  const std::string mark = Text(cdsPedido, "IDCHECK");
  if (mark == "N") {
    if (CarrierRequired() && NoCarrier(cdsPedido)) Refuse("PED_SEM_TRANS");
    cdsItemErro.SetData(TRdmConfPedido(netConPed).GetItemErro(Text(cdsPedido, "CDFILIAL"),
                                                               Text(cdsPedido, "NRPEDIDO")));
    if (cdsItemErro.FieldByName("COUNT").AsFloat() > 0) Refuse("Ped_Alvara_Licenca");
    SetMark(cdsPedido, "S");
    ++Cli_zqv41800::inContPedidoCh;
  } else if (mark == "S") {
    SetMark(cdsPedido, "N");
    --Cli_zqv41800::inContPedidoCh;
  }
  Habilita();
}

void TfrmConfPedido::dbgItemPedidoCellClick(TColumn& column) {
  if (column.FieldName() != "IDCHECK" && !Cli_zqv41800::boTeclado) return;
  if (Text(cdsItemPedido, "IDSITITEMPED") != "1") return;
  const std::string mark = Text(cdsItemPedido, "IDCHECK");
  if (mark == "N") {
    if (Text(cdsItemPedido, "IDITEMERRO") == "S") Refuse("Alvara_Licenca");
    if (CarrierRequired() && NoCarrier(cdsPedido)) Refuse("PED_SEM_TRANS");
    SetMark(cdsItemPedido, "S");
    ++Cli_zqv41800::inContItemPedidoCh;
  } else if (mark == "S") {
    SetMark(cdsItemPedido, "N");
    --Cli_zqv41800::inContItemPedidoCh;
  }
  Habilita();
}

void TfrmConfPedido::dbgPadraoTitleClick(TColumn& column) {
  if (column.FieldName() != "IDCHECK" && !Cli_zqv41800::boTeclado) return;
  if (cdsPedido.IsEmpty() || !VerificaMarcaTodosPedidos()) return;
  if (Cli_zqv41800::inContPedidoCh > 0) {
    DeschecarPedido();
  } else {
    MarkAllOrders();
  }
  Habilita();
}

// Marks every pending order that may be marked; orders refused for lack of
// a carrier are told once, orders with permit problems are skipped.
void TfrmConfPedido::MarkAllOrders() {
  TKeepRow keep(cdsPedido, "NRPEDIDO", OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
  cdsPedIErro.SetData(TRdmConfPedido(netConPed).GetPedIErro(Text(cdsPedido, "CDFILIAL")));
  const TOrderKeys withErrors(cdsPedIErro);
  const bool carrierRequired = CarrierRequired();
  // The fields, looked up once for the whole walk.
  TField& carrier = cdsPedido.FieldByName("NRINSJURTRAN");
  TField& status = cdsPedido.FieldByName("IDSITPEDIDO");
  TField& check = cdsPedido.FieldByName("IDCHECK");
  TField& number = cdsPedido.FieldByName("NRPEDIDO");
  auto mark = [&](const char* value) {
    cdsPedido.Edit();
    check.SetAsString(value);
    cdsPedido.Post();
  };
  int withoutCarrier = 0;
  for (cdsPedido.First(); !cdsPedido.Eof(); cdsPedido.Next()) {
    if (carrierRequired && BlankText(carrier)) {
      mark("N");
      ++withoutCarrier;
    } else if (!TextIs(status, "1") || TextIs(check, "S")) {
      continue;
    } else if (withErrors.Has(number)) {
      continue;
    } else {
      mark("S");
      ++Cli_zqv41800::inContPedidoCh;
    }
  }
  if (withoutCarrier > 0)
    msgPadrao->ShowMsg("VAR_PED_SEM_TRANS", TMsgDlgType::mtInformation, mbOK, 0);
}

void TfrmConfPedido::dbgItemPedidoTitleClick(TColumn& column) {
  if (column.FieldName() != "IDCHECK" && !Cli_zqv41800::boTeclado) return;
  if (cdsItemPedido.IsEmpty() || !VerificaMarcaTodosItemPed()) return;
  if (Cli_zqv41800::inContItemPedidoCh > 0) {
    DeschecarItemPed();
  } else {
    TKeepRow keep(cdsItemPedido, "NRITEMPED", OptionalHandler<DataSetNotify>("cdsItemPedidoAfterScroll"));
    for (cdsItemPedido.First(); !cdsItemPedido.Eof(); cdsItemPedido.Next()) {
      if (Text(cdsItemPedido, "IDSITITEMPED") == "1" && Text(cdsItemPedido, "IDCHECK") != "S" &&
          Text(cdsItemPedido, "IDITEMERRO") == "N") {
        SetMark(cdsItemPedido, "S");
        ++Cli_zqv41800::inContItemPedidoCh;
      }
    }
  }
  Habilita();
}

// Space toggles the current row, Ctrl+Space is the all-switch, whichever
// cell has the focus. The key is left to the grid.
void TfrmConfPedido::MarkByKey(TDBGrid& grid, TKey key, TShiftState shift,
                               void (TfrmConfPedido::*cellClick)(TColumn&),
                               void (TfrmConfPedido::*titleClick)(TColumn&)) {
  Cli_zqv41800::boTeclado = true;
  try {
    if (key == VK_SPACE && grid.Columns().Count() > 0) {
      if (shift & ssCtrl) (this->*titleClick)(grid.Columns()[0]);
      else (this->*cellClick)(grid.Columns()[0]);
    }
  } catch (...) {
    Cli_zqv41800::boTeclado = false;
    throw;
  }
  Cli_zqv41800::boTeclado = false;
}

void TfrmConfPedido::dbgPadraoKeyDown(TComponent& sender, TKey& key, TShiftState shift) {
  TfrmPadraoGrid::dbgPadraoKeyDown(sender, key, shift);
  MarkByKey(*dbgPadrao, key, shift, &TfrmConfPedido::dbgPadraoCellClick,
            &TfrmConfPedido::dbgPadraoTitleClick);
}

void TfrmConfPedido::dbgItemPedidoKeyDown(TComponent&, TKey& key, TShiftState shift) {
  MarkByKey(*dbgItemPedido, key, shift, &TfrmConfPedido::dbgItemPedidoCellClick,
            &TfrmConfPedido::dbgItemPedidoTitleClick);
}
