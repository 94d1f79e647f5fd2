// What a dataset tells the data sources bound to it.
#pragma once

namespace fw {

class TField;

enum class TDataEvent {
  deActiveChange,   // opened or closed
  deDataSetChange,  // rows replaced or changed in bulk: redraw everything
  deDataSetScroll,  // the cursor moved
  deRecordChange,   // a field of the current row changed (field given)
  deUpdateState,    // the dataset's state (browse, edit, ...) changed
};

}  // namespace fw
