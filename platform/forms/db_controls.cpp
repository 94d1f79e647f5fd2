#include "forms/db_controls.h"

#include "base/text_case.h"
#include "forms/rich_text.h"
#include "forms/text_input.h"

namespace fw {

// ---------------------------------------------------------------------------
// TDBEdit

TDBEdit::TDBEdit(TComponent* owner) : TCustomEdit(owner) {
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBEdit::DataChange() {
  TField* field = link_.Field();
  std::string text;
  if (field) text = focused_ && link_.CanModify() ? field->Text() : field->DisplayText();
  modified_ = false;
  TCustomEdit::SetText(text);
}

void TDBEdit::Reset() {
  modified_ = false;
  DataChange();
  if (focused_) SelectAll();
}

bool TDBEdit::CanType() const { return TCustomEdit::CanType() && link_.CanModify(); }

bool TDBEdit::TypeChar(const std::string& ch) {
  TField* field = link_.Field();
  int limit = MaxLength();
  if (limit == 0 && field && field->DataType() == TFieldType::ftString) limit = field->Size();
  if (limit > 0 && static_cast<int>(Utf8Length(TextWithoutSelection())) >= limit) return false;
  if (!link_.Edit()) return false;
  bool accepted = TCustomEdit::TypeChar(ch);
  modified_ = modified_ || accepted;
  return accepted;
}

void TDBEdit::BackSpace() {
  if (!link_.Edit()) return;
  TCustomEdit::BackSpace();
  modified_ = true;
}

void TDBEdit::DeleteForward() {
  if (!link_.Edit()) return;
  TCustomEdit::DeleteForward();
  modified_ = true;
}

void TDBEdit::UpdateRecord() {
  if (!modified_) return;
  TField* field = link_.Field();
  if (!field || !link_.Edit()) return;
  std::string text = Text();
  field->SetText(text);  // raises for a text the field refuses; modified_ stays
  modified_ = false;
  DataChange();
}

void TDBEdit::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  if (key == VK_ESCAPE || key == VK_RETURN) {
    TControl::KeyDown(key, shift);
    if (key == VK_ESCAPE && modified_) Reset();
    if (key == VK_RETURN) UpdateRecord();
    return;
  }
  TCustomEdit::KeyDown(key, shift);
}

void TDBEdit::DoEnter() {
  focused_ = true;
  if (!modified_) DataChange();
  TCustomEdit::DoEnter();
}

void TDBEdit::DoExit() {
  UpdateRecord();  // raises: the focus stays
  focused_ = false;
  DataChange();
  TCustomEdit::DoExit();
}

// ---------------------------------------------------------------------------
// TDBText

TDBText::TDBText(TComponent* owner) : TLabel(owner) {
  ShowAccelChar = false;  // data, not a caption
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBText::DataChange() {
  TField* field = link_.Field();
  SetCaption(field ? field->DisplayText() : std::string());
}

// ---------------------------------------------------------------------------
// TDBCheckBox

TDBCheckBox::TDBCheckBox(TComponent* owner) : TCheckBox(owner) {
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBCheckBox::DataChange() {
  TField* field = link_.Field();
  ShowChecked(field && SameText(field->Text(), ValueChecked));
}

void TDBCheckBox::Toggle() {
  if (!link_.DataSource()) {
    TCheckBox::Toggle();
    return;
  }
  TField* field = link_.Field();
  if (ReadOnly || !field || !link_.Edit()) return;
  field->SetText(Checked() ? ValueUnchecked : ValueChecked);
  DataChange();
  Click();
}

// ---------------------------------------------------------------------------
// TDBRadioGroup

TDBRadioGroup::TDBRadioGroup(TComponent* owner) : TRadioGroup(owner) {
  link_.OnDataChange = [this] { DataChange(); };
  Values.OnChange = [this] { DataChange(); };
}

void TDBRadioGroup::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed();
}

std::string TDBRadioGroup::ButtonValue(int index) const {
  if (index < Values.Count() && !Values[index].empty()) return Values[index];
  return index < Items.Count() ? Items[index] : std::string();
}

void TDBRadioGroup::DataChange() {
  TField* field = link_.Field();
  int index = -1;
  if (field) {
    std::string value = field->DisplayText();
    for (int i = 0; i < Items.Count() && index < 0; ++i)
      if (ButtonValue(i) == value) index = i;
  }
  ShowIndex(index);
}

void TDBRadioGroup::ItemsChanged() {
  TRadioGroup::ItemsChanged();
  DataChange();
}

bool TDBRadioGroup::CanPick() const { return !readOnly_ && link_.CanModify(); }

void TDBRadioGroup::Picked() {
  TField* field = link_.Field();
  try {
    if (field && link_.Edit()) field->SetText(ButtonValue(ItemIndex()));
  } catch (...) {
    DataChange();  // the field refused: show what it holds
    throw;
  }
  DataChange();
  TRadioGroup::Picked();
}

// ---------------------------------------------------------------------------
// TDBComboBox

TDBComboBox::TDBComboBox(TComponent* owner) : TComboBox(owner) {
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBComboBox::DataChange() {
  TField* field = link_.Field();
  SetText(field ? field->Text() : std::string());  // by code: runs nothing
}

bool TDBComboBox::CanType() const { return TComboBox::CanType() && link_.CanModify(); }

bool TDBComboBox::CanSelect() const { return !ReadOnly() && link_.CanModify(); }

bool TDBComboBox::TypeChar(const std::string& ch) {
  TField* field = link_.Field();
  if (field && field->DataType() == TFieldType::ftString &&
      static_cast<int>(Utf8Length(TextWithoutSelection())) >= field->Size())
    return false;
  return TComboBox::TypeChar(ch);
}

void TDBComboBox::Change() {
  if (ChangingByCode()) return;  // showing the field: nothing to write
  TField* field = link_.Field();
  try {
    if (field && link_.Edit()) field->SetText(Text());
  } catch (...) {
    DataChange();  // the field refused: show what it holds
    throw;
  }
  TComboBox::Change();
}

// ---------------------------------------------------------------------------
// TDBRichEdit

TDBRichEdit::TDBRichEdit(TComponent* owner) : TRichEdit(owner) {
  SetReadOnly(true);
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBRichEdit::DataChange() {
  TField* field = link_.Field();
  std::string text = field ? field->AsString() : std::string();
  if (!IsValidUtf8(text)) text = IsRichText(text) ? text : Cp1252ToUtf8(text);
  SetRichText(text);
}

}  // namespace fw
