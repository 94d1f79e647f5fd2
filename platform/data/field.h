// TField: one column of a dataset, seen at the dataset's current row.
//
// A field belongs to exactly one dataset, which owns it and gives it its
// value: the current row, the pending edit of the current row, the row
// being calculated inside OnCalcFields, or the row a grid is drawing.
// Fields are either stored (fkData; their values live in the rows and in
// data packets) or calculated (fkCalculated; computed by the dataset's
// OnCalcFields handler for each row, never stored in packets).
//
// Reading never changes anything. Writing (SetAs..., SetText, Clear)
// needs the dataset in edit state (or, for calculated fields, inside
// OnCalcFields) and raises EDatabaseError otherwise, for a read-only field,
// for a text longer than a string field's size, and for a number that is
// not finite; EConvertError for a text that is not a number or a date.
// Not thread-safe: used on the user-interface thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "data/field_type.h"
#include "data/value.h"
#include "text/format_settings.h"

namespace fw {

class TDataSet;

class TField {
 public:
  // (Sender, Text, DisplayText): sets Text to the text shown for the field;
  // DisplayText is true for the display text, false for the edit text.
  using TFieldGetTextEvent = std::function<void(TField&, std::string&, bool)>;

  TField(TDataSet& dataSet, std::string fieldName, TFieldType type, int size, TFieldKind kind);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  // Attributes. DisplayLabel empty means the field name is shown.
  std::string FieldName;
  std::string DisplayLabel;
  std::string DisplayFormat;
  std::string EditFormat;
  std::string EditMask;
  std::string Origin;
  int DisplayWidth = 0;
  bool Visible = true;
  bool Required = false;
  bool ReadOnly = false;
  TProviderFlags ProviderFlags = kDefaultProviderFlags;
  TFieldGetTextEvent OnGetText;

  TDataSet& DataSet() const { return dataSet_; }
  TFieldType DataType() const { return type_; }
  TFieldKind FieldKind() const { return kind_; }
  bool Calculated() const { return kind_ == TFieldKind::fkCalculated; }
  // Maximum number of characters of a string field; 0 for other types.
  int Size() const { return size_; }
  int Index() const;
  const std::string& DisplayName() const { return DisplayLabel.empty() ? FieldName : DisplayLabel; }

  // Reading: a null value reads as "", 0 or 0.0.
  const Value& AsValue() const;
  bool IsNull() const;
  std::string AsString() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  int32_t AsInteger() const;
  // Edit text (through OnGetText, else EditFormat, else DisplayFormat for
  // numbers) and display text (through OnGetText, else DisplayFormat or
  // EditMask). A null value gives "" unless OnGetText says otherwise.
  std::string Text() const;
  std::string DisplayText() const;

  // Writing.
  void SetValue(const Value& value);
  void SetAsString(std::string_view text);
  void SetAsFloat(double value);
  void SetAsDateTime(TDateTime value);
  void SetAsInteger(int32_t value);
  void SetText(std::string_view text);
  void Clear();

  // The text of a value of this field's type, as AsString gives it. Used by
  // the dataset for rows other than the current one.
  std::string ValueToString(const Value& value) const;
  double ValueToFloat(const Value& value) const;
  // Converts and checks a value for this field; raises as the setters do.
  Value Coerce(const Value& value) const;

 private:
  friend class TDataSet;
  std::string FormatText(bool displayText) const;

  TDataSet& dataSet_;
  TFieldType type_;
  int size_;
  TFieldKind kind_;
  int slot_ = -1;  // column of the storage row, or of the calculated row
};

}  // namespace fw
