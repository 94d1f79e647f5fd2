#include "data/field.h"

#include <cmath>
#include <limits>

#include "base/errors.h"
#include "base/text_case.h"
#include "data/dataset.h"
#include "text/date_time.h"
#include "text/format_float.h"
#include "text/format_mask.h"

namespace fw {
namespace {

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(b, e - b + 1));
}

int32_t ToInt32(double v, const std::string& fieldName) {
  double r = std::round(v);  // half away from zero
  if (!std::isfinite(r) || r < std::numeric_limits<int32_t>::min() ||
      r > std::numeric_limits<int32_t>::max())
    throw EDatabaseError("Valor fora do intervalo para o campo '" + fieldName + "'.");
  return static_cast<int32_t>(r);
}

}  // namespace

TField::TField(TDataSet& dataSet, std::string fieldName, TFieldType type, int size, TFieldKind kind)
    : FieldName(std::move(fieldName)), dataSet_(dataSet), type_(type), size_(size), kind_(kind) {
  if (type != TFieldType::ftString) size_ = 0;
}

int TField::Index() const {
  for (int i = 0; i < dataSet_.FieldCount(); ++i)
    if (&dataSet_.Fields(i) == this) return i;
  return -1;
}

const Value& TField::AsValue() const { return dataSet_.FieldValue(*this); }
bool TField::IsNull() const { return IsNullValue(AsValue()); }
std::string TField::AsString() const { return ValueToString(AsValue()); }
double TField::AsFloat() const { return ValueToFloat(AsValue()); }
TDateTime TField::AsDateTime() const {
  const Value& v = AsValue();
  if (const std::string* s = std::get_if<std::string>(&v)) return s->empty() ? 0 : StrToDateTime(*s);
  return ValueToFloat(v);
}
int32_t TField::AsInteger() const {
  const Value& v = AsValue();
  if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
  return ToInt32(ValueToFloat(v), FieldName);
}

std::string TField::ValueToString(const Value& value) const {
  switch (value.index()) {
    case 0: return {};
    case 1: return std::get<std::string>(value);
    case 2: {
      double d = std::get<double>(value);
      return type_ == TFieldType::ftDateTime ? DateTimeToStr(d) : FloatToStr(d);
    }
    default: return std::to_string(std::get<int32_t>(value));
  }
}

double TField::ValueToFloat(const Value& value) const {
  switch (value.index()) {
    case 0: return 0;
    case 1: {
      const std::string& s = std::get<std::string>(value);
      return s.empty() ? 0 : StrToFloat(s);
    }
    case 2: return std::get<double>(value);
    default: return std::get<int32_t>(value);
  }
}

Value TField::Coerce(const Value& value) const {
  if (IsNullValue(value)) return value;
  switch (type_) {
    case TFieldType::ftString:
    case TFieldType::ftMemo:
    case TFieldType::ftBlob: {
      std::string text = ValueToString(value);
      if (type_ != TFieldType::ftBlob && !IsValidUtf8(text))
        throw EDatabaseError("Texto inválido (não é UTF-8) para o campo '" + FieldName + "'.");
      if (type_ == TFieldType::ftString && size_ > 0 && Utf8Length(text) > size_t(size_))
        throw EDatabaseError("Valor muito longo para o campo '" + FieldName + "' (máximo de " +
                             std::to_string(size_) + " caracteres).");
      return text;
    }
    case TFieldType::ftFloat:
    case TFieldType::ftDateTime: {
      if (const std::string* s = std::get_if<std::string>(&value)) {
        std::string t = Trim(*s);
        if (t.empty()) return Value{};
        return type_ == TFieldType::ftDateTime ? StrToDateTime(t) : StrToFloat(t);
      }
      double d = ValueToFloat(value);
      if (!std::isfinite(d) || (type_ == TFieldType::ftDateTime && !IsValidDateTime(d)))
        throw EDatabaseError("Valor inválido para o campo '" + FieldName + "'.");
      return d;
    }
    case TFieldType::ftInteger: {
      if (const int32_t* i = std::get_if<int32_t>(&value)) return *i;
      if (const std::string* s = std::get_if<std::string>(&value)) {
        std::string t = Trim(*s);
        if (t.empty()) return Value{};
        return ToInt32(StrToFloat(t), FieldName);
      }
      return ToInt32(std::get<double>(value), FieldName);
    }
  }
  return value;
}

void TField::SetValue(const Value& value) { dataSet_.SetFieldValue(*this, value); }
void TField::SetAsString(std::string_view text) { SetValue(std::string(text)); }
void TField::SetAsFloat(double value) { SetValue(value); }
void TField::SetAsDateTime(TDateTime value) { SetValue(value); }
void TField::SetAsInteger(int32_t value) { SetValue(value); }
void TField::SetText(std::string_view text) { SetValue(std::string(text)); }
void TField::Clear() { SetValue(Value{}); }

std::string TField::Text() const { return FormatText(false); }
std::string TField::DisplayText() const { return FormatText(true); }

std::string TField::FormatText(bool displayText) const {
  std::string text;
  if (OnGetText) {
    TField& self = const_cast<TField&>(*this);
    OnGetText(self, text, displayText);
    return text;
  }
  const Value& v = AsValue();
  if (IsNullValue(v)) return text;
  switch (type_) {
    case TFieldType::ftString:
      text = std::get<std::string>(v);
      if (displayText && !EditMask.empty()) text = FormatMaskText(EditMask, text);
      return text;
    case TFieldType::ftFloat:
    case TFieldType::ftInteger: {
      const std::string& format = displayText || EditFormat.empty() ? DisplayFormat : EditFormat;
      if (format.empty()) return ValueToString(v);
      return FormatFloat(format, ValueToFloat(v));
    }
    case TFieldType::ftDateTime:
      if (displayText && !DisplayFormat.empty()) return FormatDateTime(DisplayFormat, AsFloat());
      return DateTimeToStr(AsFloat());
    case TFieldType::ftMemo: return displayText ? "(MEMO)" : std::get<std::string>(v);
    case TFieldType::ftBlob: return displayText ? "(BLOB)" : std::get<std::string>(v);
  }
  return text;
}

}  // namespace fw
