// Data-aware controls: each shows one field of the current row of a data
// source's dataset, through a TFieldDataLink (DataSource + DataField).
//
// All refresh when the dataset opens or closes, its rows change, its
// cursor moves or the field changes; with no field (no source, closed
// dataset, unknown name) they show nothing. While the dataset's controls
// are disabled they are not told and keep what they show. Refreshing from
// the data runs no click handler; an edit's OnChange runs as for any change
// of its text.
//
// TDBEdit: shows the field's edit text (Text) while it has the focus and
// the field can be changed, its display text (DisplayText) otherwise. The
// operator's typing is refused when the edit or the field is read-only or
// the dataset cannot be changed; the first accepted character puts the
// dataset in edit state. Without its own MaxLength a string field's size
// limits typing. The typed text is written to the field (SetText) when the
// focus leaves or on Enter; a text the field refuses (EConvertError,
// EDatabaseError) raises there, keeps the focus in the edit and loses
// nothing typed. Escape drops what was typed and shows the field again.
// Text set by code on a TDBEdit is shown only, never written.
// TDBText: a label showing the display text.
// TDBCheckBox: checked when the field's text equals ValueChecked (ignoring
// case); the operator's toggle writes ValueChecked or ValueUnchecked and
// then runs OnClick (refused when read-only or not modifiable). Without a
// data source it is a plain check box.
// TDBRadioGroup: chooses the item whose value equals the field's display
// text; an item's value is Values[i], or its caption when Values has no
// (or an empty) entry for it; no match chooses nothing. The operator's pick
// writes the item's value (SetText) and runs OnClick; refused when
// read-only or not modifiable.
// TDBComboBox: shows the field's edit text (choosing the item with that
// text, if any). The operator's choice of an item, or typing in the edit
// part (limited to a string field's size), writes the text to the field at
// once (SetText; a refused text raises and the box shows the field again),
// then OnChange runs; refused when read-only or not modifiable.
// TDBRichEdit: a read-only view of a memo or blob field holding rich text
// or plain text (Windows-1252 bytes are shown as such).
// Ownership as TComponent; the data source is not owned (it must outlive
// the control or be unset first; a destroyed data source unbinds itself).
// User-interface thread only.
#pragma once

#include "base/strings.h"
#include "forms/check_boxes.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/field_data_link.h"
#include "forms/memo.h"
#include "forms/radio_group.h"
#include "forms/static_controls.h"

namespace fw {

// The binding every data-aware control exposes.
#define FW_DATA_BINDING                                                            \
  TDataSource* DataSource() const { return link_.DataSource(); }                   \
  void SetDataSource(TDataSource* source) { link_.SetSource(source); }             \
  const std::string& DataField() const { return link_.FieldName(); }               \
  void SetDataField(std::string name) { link_.SetFieldName(std::move(name)); }     \
  TField* Field() const { return link_.Field(); }

class TDBEdit : public TCustomEdit {
 public:
  explicit TDBEdit(TComponent* owner);
  FW_DATA_BINDING
  bool Modified() const { return modified_; }
  // Writes the typed text to the field now (see above).
  void UpdateRecord();
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "dbedit"; }

 protected:
  bool CanType() const override;
  bool TypeChar(const std::string& ch) override;
  void BackSpace() override;
  void DeleteForward() override;
  void DoEnter() override;
  void DoExit() override;

 private:
  void DataChange();
  void Reset();
  TFieldDataLink link_;
  bool focused_ = false;
  bool modified_ = false;
};

class TDBText : public TLabel {
 public:
  explicit TDBText(TComponent* owner);
  FW_DATA_BINDING
  const char* Kind() const override { return "dbtext"; }

 private:
  void DataChange();
  TFieldDataLink link_;
};

class TDBCheckBox : public TCheckBox {
 public:
  explicit TDBCheckBox(TComponent* owner);
  FW_DATA_BINDING
  std::string ValueChecked = "True";
  std::string ValueUnchecked = "False";
  bool ReadOnly = false;
  const char* Kind() const override { return "dbcheckbox"; }

 protected:
  void Toggle() override;

 private:
  void DataChange();
  TFieldDataLink link_;
};

class TDBRadioGroup : public TRadioGroup {
 public:
  explicit TDBRadioGroup(TComponent* owner);
  FW_DATA_BINDING
  TStrings Values;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // The value of an item (see above).
  std::string ButtonValue(int index) const;
  const char* Kind() const override { return "dbradiogroup"; }

 protected:
  bool CanPick() const override;
  void Picked() override;
  void ItemsChanged() override;

 private:
  void DataChange();
  TFieldDataLink link_;
  bool readOnly_ = false;
};

class TDBComboBox : public TComboBox {
 public:
  explicit TDBComboBox(TComponent* owner);
  FW_DATA_BINDING
  const char* Kind() const override { return "dbcombobox"; }

 protected:
  bool CanType() const override;
  bool CanSelect() const override;
  bool TypeChar(const std::string& ch) override;
  void Change() override;

 private:
  void DataChange();
  TFieldDataLink link_;
};

class TDBRichEdit : public TRichEdit {
 public:
  explicit TDBRichEdit(TComponent* owner);
  FW_DATA_BINDING
  const char* Kind() const override { return "dbrichedit"; }

 protected:
  bool CanType() const override { return false; }

 private:
  void DataChange();
  TFieldDataLink link_;
};

#undef FW_DATA_BINDING

}  // namespace fw
