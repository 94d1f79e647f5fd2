// TRadioGroup: a group box of mutually exclusive choices drawn from Items.
//
// ItemIndex is the chosen item (-1 none). Setting it by code runs nothing;
// the operator's pick (ClickItem, a click on an item, or the arrow keys
// while the group has the focus) makes that item the chosen one and runs
// OnClick when the choice changed. Items are laid out in Columns columns,
// filled top to bottom. Changing Items drops a choice that is no longer
// there. SetItemIndex raises an Exception, changing nothing, for an index
// outside -1..Count-1. The operator's input to a hidden or disabled group
// is ignored.
// Ownership as TComponent; user-interface thread only.
#pragma once

#include "base/strings.h"
#include "forms/control.h"

namespace fw {

class TRadioGroup : public TControl {
 public:
  explicit TRadioGroup(TComponent* owner);

  TStrings Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);
  // Where an item is drawn, in the group's coordinates.
  TRect ItemRect(int index) const;
  // The item at (x, y), or -1.
  int ItemAt(int x, int y) const;

  // The operator picks an item.
  void ClickItem(int index);

  bool AcceptsFocus() const override { return true; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "radiogroup"; }

 protected:
  // Whether the operator may change the choice now.
  virtual bool CanPick() const { return true; }
  // The operator changed the choice: runs OnClick.
  virtual void Picked();
  // Sets the choice without running anything.
  void ShowIndex(int index);

 protected:
  // Items changed: drops a choice that is gone.
  virtual void ItemsChanged();

 private:
  int itemIndex_ = -1;
  int columns_ = 1;
};

}  // namespace fw
