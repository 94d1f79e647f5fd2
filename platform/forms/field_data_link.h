// TFieldDataLink: binds one control to one field of a data source's
// dataset, by field name.
//
// The field is looked up by name whenever it is asked for, so it follows
// datasets that are closed, reopened or reloaded with other fields; it is
// null while there is no data source, no dataset, the dataset is closed or
// has no field of that name. OnDataChange runs when what the control shows
// may have changed: the dataset opened or closed, its rows changed, the
// cursor moved, or a field of the current row changed (any field, or this
// one when the dataset names it). OnEditingChange runs when the dataset's
// state changed. While the dataset's controls are disabled the dataset
// tells nothing, so nothing runs.
// Edit puts the dataset in edit state when the field can be changed and
// returns whether it can. Owned by value by its control; user-interface
// thread only; raises what the handlers and the dataset raise.
#pragma once

#include <functional>
#include <string>

#include "data/data_source.h"
#include "data/dataset.h"
#include "data/field.h"

namespace fw {

class TFieldDataLink : public TDataLink {
 public:
  std::function<void()> OnDataChange;
  std::function<void()> OnEditingChange;

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string fieldName);
  // Sets the data source and tells the control.
  void SetSource(TDataSource* source);
  TField* Field() const;
  // Whether the dataset is in edit state.
  bool Editing() const;
  // Whether the field could be changed: an active, modifiable dataset, a
  // field that is not read-only or calculated.
  bool CanModify() const;
  bool Edit();

 protected:
  void DataEvent(TDataEvent event, TField* field) override;

 private:
  void DataChanged();
  std::string fieldName_;
};

}  // namespace fw
