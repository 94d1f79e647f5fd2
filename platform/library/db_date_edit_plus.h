// TDBDateEditPlus: the shared library's date box bound to a date-time
// field. It shows the field's date of the current row (empty for null)
// and follows the dataset's scrolls and changes. ReadOnly (the default
// here, as the screens use it) refuses typing; otherwise leaving the box
// writes the typed date into the field, putting the dataset in edit
// state. DayName() gives the name of DayNames for the date shown, beside
// the date.
// User-interface thread only; raises what the field raises for a date it
// cannot take.
#pragma once

#include <array>
#include <string>

#include "forms/field_data_link.h"
#include "library/date_edit_plus.h"

namespace fw {

class TDBDateEditPlus : public TDateEditPlus {
 public:
  explicit TDBDateEditPlus(TComponent* owner);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetSource(source); }
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(std::string name) { link_.SetFieldName(std::move(name)); }
  TField* Field() const { return link_.Field(); }

  std::string DayName() const;
  const char* Kind() const override { return "dbdateedit"; }

 protected:
  void DoExit() override;

 private:
  void DataChange();
  TFieldDataLink link_;
  bool loading_ = false;
};

}  // namespace fw
