// TClientDataSet: an in-memory table filled from data packets.
//
// SetData(packet) replaces fields (when none are persistent), rows and the
// change log, and positions on the first row (AfterScroll runs when rows
// exist). With persistent fields, every declared stored field must be in
// the packet (matched by name, ignoring case) with a compatible type and
// values that fit; otherwise EDatabaseError names the field and the
// dataset stays exactly as it was. Columns of the packet that no field
// declares are kept and travel back in Data().
//
// Change log: every Post is one entry (marking and unmarking one row gives
// two). ChangeCount counts them; MergeChangeLog keeps the current values
// and empties the log; CancelUpdates restores every changed row to its
// values as loaded and empties the log. Data() yields the current rows with
// the change log; provider flags come from the persistent fields. A
// SetData that lets go of kTrimAfterRows rows or more gives the memory
// they took back to the system.
// Not thread-safe: user-interface thread only.
#pragma once

#include "data/data_packet.h"
#include "data/dataset.h"

namespace fw {

class TClientDataSet : public TDataSet {
 public:
  using TDataSet::TDataSet;
  static constexpr size_t kTrimAfterRows = 50000;

  void SetData(const TDataPacket& packet);
  void SetData(TDataPacket&& packet);
  // The current contents with the change log; an empty packet when closed.
  TDataPacket Data() const;
  int ChangeCount() const { return static_cast<int>(log_.size()); }
  void MergeChangeLog();
  void CancelUpdates();
  // Opens an empty table with the persistent fields as its columns.
  void CreateDataSet();

 protected:
  void DoOpen() override;
  void DoClose() override { log_.clear(); }
  void RowPosted(size_t rowIndex, Row&& old) override;

 private:
  std::vector<TChangeEntry> log_;
};

}  // namespace fw
