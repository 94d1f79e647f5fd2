#include "forms/field_data_link.h"

namespace fw {

void TFieldDataLink::SetFieldName(std::string fieldName) {
  if (fieldName == fieldName_) return;
  fieldName_ = std::move(fieldName);
  DataChanged();
}

void TFieldDataLink::SetSource(TDataSource* source) {
  SetDataSource(source);
  DataChanged();
}

TField* TFieldDataLink::Field() const {
  TDataSet* ds = DataSet();
  if (!ds || !ds->Active() || fieldName_.empty()) return nullptr;
  return ds->FindField(fieldName_);
}

bool TFieldDataLink::Editing() const {
  TDataSet* ds = DataSet();
  return ds && ds->State() == TDataSetState::dsEdit;
}

bool TFieldDataLink::CanModify() const {
  TField* field = Field();
  return field && !field->ReadOnly && !field->Calculated() && field->DataSet().CanModify() &&
         !field->DataSet().IsEmpty();
}

bool TFieldDataLink::Edit() {
  if (!CanModify()) return false;
  if (!Editing()) DataSet()->Edit();
  return true;
}

void TFieldDataLink::DataChanged() {
  if (OnDataChange) {
    auto handler = OnDataChange;
    handler();
  }
}

void TFieldDataLink::DataEvent(TDataEvent event, TField* field) {
  switch (event) {
    case TDataEvent::deActiveChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
      DataChanged();
      break;
    case TDataEvent::deRecordChange:
      if (!field || field == Field()) DataChanged();
      break;
    case TDataEvent::deUpdateState:
      if (OnEditingChange) {
        auto handler = OnEditingChange;
        handler();
      }
      break;
  }
}

}  // namespace fw
