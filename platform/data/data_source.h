// TDataSource binds one dataset to any number of controls.
//
// Controls derive from TDataLink and attach to a data source; the source
// forwards the dataset's notifications (see TDataEvent) to every attached
// link, in attach order. Switching DataSet re-targets every link and sends
// deActiveChange. A data source and its dataset may be destroyed in either
// order: each detaches from the other. Links detach themselves on
// destruction. Enabled false silences the source. A link may detach itself
// while being notified. Not thread-safe: user-interface thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/data_event.h"

namespace fw {

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  void SetDataSource(TDataSource* source);
  TDataSource* DataSource() const { return source_; }
  TDataSet* DataSet() const;
  bool Active() const;

 protected:
  friend class TDataSource;
  // field is set for deRecordChange of one field, null otherwise.
  virtual void DataEvent(TDataEvent event, TField* field) = 0;

 private:
  TDataSource* source_ = nullptr;
};

class TDataSource {
 public:
  explicit TDataSource(std::string name = {}, TDataSet* dataSet = nullptr);
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  std::string Name;
  bool Enabled = true;
  // Runs when the dataset's state changes (opened, closed, edit, browse).
  std::function<void(TDataSource&)> OnStateChange;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);

  // Called by the dataset.
  void DataEvent(TDataEvent event, TField* field);

 private:
  friend class TDataLink;
  friend class TDataSet;
  void Attach(TDataLink* link);
  void Detach(TDataLink* link);

  TDataSet* dataSet_ = nullptr;
  std::vector<TDataLink*> links_;
};

}  // namespace fw
