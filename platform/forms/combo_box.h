// TComboBox: a drop-down list of items, with an edit part unless its style
// is csDropDownList.
//
// ItemIndex is the chosen item (-1 none); Text the text shown: the chosen
// item's text, or in csDropDown style whatever was typed or set. Setting
// ItemIndex or Text by code runs nothing. The operator's choice of an item
// (SelectItem) or typing in the edit part runs OnChange. Changing Items
// keeps the chosen item when it is still there (by position) and drops
// the choice otherwise. SetItemIndex raises an Exception, changing
// nothing, for an index outside -1..Count-1.
// Ownership as TComponent; user-interface thread only.
#pragma once

#include "base/strings.h"
#include "forms/edit.h"

namespace fw {

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TCustomEdit {
 public:
  explicit TComboBox(TComponent* owner);

  TStrings Items;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // In csDropDown style any text (and the item equal to it, if any, is
  // chosen); in csDropDownList only an item's text or "".
  void SetText(std::string_view text) override;

  // The operator picks an item: ignored when hidden, disabled, out of
  // range or refused by CanSelect; runs OnChange when the choice changed.
  void SelectItem(int index);

  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "combobox"; }

 protected:
  bool CanType() const override;
  // Whether the operator may choose an item now.
  virtual bool CanSelect() const { return true; }
  // Change() also runs while code sets the text; it runs OnChange only
  // when this is false.
  bool ChangingByCode() const { return quiet_; }
  void Change() override;

 private:
  void ItemsChanged();
  void Show(int index, std::string text);
  int itemIndex_ = -1;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  bool quiet_ = false;  // changes by code run no OnChange
};

}  // namespace fw
