#include "data/data_source.h"

#include <algorithm>

#include "data/dataset.h"

namespace fw {

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_) source_->Detach(this);
  source_ = source;
  if (source_) source_->Attach(this);
}

TDataSet* TDataLink::DataSet() const { return source_ ? source_->DataSet() : nullptr; }

bool TDataLink::Active() const {
  TDataSet* ds = DataSet();
  return ds && ds->Active();
}

TDataSource::TDataSource(std::string name, TDataSet* dataSet) : Name(std::move(name)) {
  SetDataSet(dataSet);
}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  for (TDataLink* link : links_) link->source_ = nullptr;
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->DetachSource(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AttachSource(this);
  DataEvent(TDataEvent::deActiveChange, nullptr);
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
  if (!Enabled) return;
  if ((event == TDataEvent::deUpdateState || event == TDataEvent::deActiveChange) &&
      OnStateChange) {
    auto handler = OnStateChange;
    handler(*this);
  }
  // Copy: a link may detach itself (or others) while being notified.
  std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->DataEvent(event, field);
}

void TDataSource::Attach(TDataLink* link) { links_.push_back(link); }

void TDataSource::Detach(TDataLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

}  // namespace fw
