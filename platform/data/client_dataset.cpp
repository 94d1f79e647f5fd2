#include "data/client_dataset.h"

#include <malloc.h>

#include "base/errors.h"
#include "base/text_case.h"

namespace fw {

void TClientDataSet::SetData(const TDataPacket& packet) { SetData(TDataPacket(packet)); }

void TClientDataSet::SetData(TDataPacket&& packet) {
  if (State() == TDataSetState::dsEdit) Cancel();
  size_t released = Active() ? Rows().size() : 0;
  std::vector<TChangeEntry> log = std::move(packet.Changes);
  LoadRows(std::move(packet.Fields), std::move(packet.Rows), [&] { log_ = std::move(log); });
  // The new list was made while the old one was still held: the memory
  // the old one took goes back to the system rather than staying with the
  // allocator (a large list would otherwise keep the room of two).
  if (released >= kTrimAfterRows) malloc_trim(0);
}

TDataPacket TClientDataSet::Data() const {
  TDataPacket p;
  if (!Active()) return p;
  p.Fields = FieldDefs();
  for (int i = 0; i < FieldCount(); ++i) {
    const TField& f = Fields(i);
    if (f.Calculated()) continue;
    int column = -1;
    for (size_t c = 0; c < p.Fields.size(); ++c)
      if (SameText(p.Fields[c].Name, f.FieldName))
        column = static_cast<int>(c);
    if (column >= 0) p.Fields[column].ProviderFlags = f.ProviderFlags;
  }
  p.Rows = Rows();
  p.Changes = log_;
  return p;
}

void TClientDataSet::MergeChangeLog() {
  if (State() == TDataSetState::dsEdit) Post();
  log_.clear();
}

void TClientDataSet::CancelUpdates() {
  if (State() == TDataSetState::dsEdit) Cancel();
  if (log_.empty()) return;
  std::vector<Row>& rows = MutableRows();
  for (auto it = log_.rbegin(); it != log_.rend(); ++it) rows[it->RowIndex] = it->Old;
  log_.clear();
  RowsReplaced();
}

void TClientDataSet::CreateDataSet() {
  if (Active()) Close();
  TFieldDefs defs;
  for (int i = 0; i < FieldCount(); ++i) {
    const TField& f = Fields(i);
    if (!f.Calculated()) defs.push_back({f.FieldName, f.DataType(), f.Size(), f.ProviderFlags});
  }
  LoadRows(std::move(defs), {}, [this] { log_.clear(); });
}

void TClientDataSet::DoOpen() {
  throw EDatabaseError("O conjunto de dados '" + Name +
                       "' não tem dados: carregue um pacote de dados antes de abri-lo.");
}

void TClientDataSet::RowPosted(size_t rowIndex, Row&& old) {
  log_.push_back({rowIndex, std::move(old)});
}

}  // namespace fw
