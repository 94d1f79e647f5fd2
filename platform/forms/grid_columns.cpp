#include "forms/grid_columns.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text_case.h"
#include "data/dataset.h"
#include "forms/canvas.h"
#include "forms/db_grid.h"

namespace fw {

// ---------------------------------------------------------------------------
// TColumnTitle

std::string TColumnTitle::Caption() const {
  if (caption_) return *caption_;
  if (TField* field = column_.Field()) return field->DisplayName();
  return column_.FieldName();
}

void TColumnTitle::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  column_.Changed();
}

void TColumnTitle::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  column_.Changed();
}

TFont TColumnTitle::Font() const { return font_ ? *font_ : column_.Grid().TitleFont(); }

void TColumnTitle::SetFont(const TFont& font) {
  font_ = font;
  column_.Changed();
}

void TColumnTitle::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  column_.Changed();
}

// ---------------------------------------------------------------------------
// TColumn

TDBGrid& TColumn::Grid() const { return columns_.Grid(); }

void TColumn::Changed() { columns_.Changed(); }

void TColumn::SetFieldName(std::string fieldName) {
  if (fieldName == fieldName_) return;
  fieldName_ = std::move(fieldName);
  Changed();
}

TField* TColumn::Field() const {
  TDataSource* source = Grid().DataSource();
  TDataSet* ds = source ? source->DataSet() : nullptr;
  if (!ds || !ds->Active() || fieldName_.empty()) return nullptr;
  return ds->FindField(fieldName_);
}

int TColumn::DefaultWidth() const {
  TField* field = Field();
  if (!field) return 64;
  int chars = field->DisplayWidth;
  if (chars <= 0) chars = field->DataType() == TFieldType::ftString ? field->Size() : 10;
  int width = chars * MeasureText(Font(), "0") + 4;
  if (Grid().Options() & dgTitles)
    width = std::max(width, MeasureText(title_.Font(), title_.Caption()) + 4);
  return width;
}

int TColumn::Width() const { return width_ ? *width_ : DefaultWidth(); }

void TColumn::SetWidth(int width) {
  width = std::max(0, width);
  if (width_ == width) return;
  width_ = width;
  Changed();
}

TAlignment TColumn::Alignment() const {
  if (alignment_) return *alignment_;
  TField* field = Field();
  bool number = field && (field->DataType() == TFieldType::ftFloat ||
                          field->DataType() == TFieldType::ftInteger);
  return number ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
}

void TColumn::SetAlignment(TAlignment alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  Changed();
}

void TColumn::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed();
}

void TColumn::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

TColor TColumn::Color() const { return color_ ? *color_ : Grid().Color(); }

void TColumn::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

TFont TColumn::Font() const { return font_ ? *font_ : Grid().Font(); }

void TColumn::SetFont(const TFont& font) {
  font_ = font;
  Changed();
}

int TColumn::Index() const {
  const auto& items = columns_.items_;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TColumn::SetIndex(int index) {
  auto& items = columns_.items_;
  int from = Index();
  index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  if (from < 0 || index == from) return;
  std::unique_ptr<TColumn> self = std::move(items[from]);
  items.erase(items.begin() + from);
  items.insert(items.begin() + index, std::move(self));
  Changed();
}

// ---------------------------------------------------------------------------
// TColumns

void TColumns::Changed() { grid_.ColumnsChanged(); }

void TColumns::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit)
    throw Exception("Posição de coluna " + std::to_string(index) + " inválida em '" +
                    grid_.Name() + "' (" + std::to_string(Count()) + " colunas).");
}

TColumn& TColumns::Items(int index) const {
  CheckIndex(index, Count() - 1);
  return *items_[index];
}

TColumn& TColumns::Add() { return Insert(Count()); }

TColumn& TColumns::Insert(int index) {
  CheckIndex(index, Count());
  items_.insert(items_.begin() + index, std::unique_ptr<TColumn>(new TColumn(*this)));
  Changed();
  return *items_[index];
}

void TColumns::Delete(int index) {
  CheckIndex(index, Count() - 1);
  items_.erase(items_.begin() + index);
  Changed();
}

void TColumns::Remove(TColumn& column) {
  int index = column.Index();
  if (&column.columns_ == this && index >= 0) Delete(index);
}

void TColumns::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TColumns::IndexOfField(std::string_view fieldName) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (SameText(items_[i]->fieldName_, fieldName)) return static_cast<int>(i);
  return -1;
}

TColumn* TColumns::FindField(std::string_view fieldName) const {
  int index = IndexOfField(fieldName);
  return index < 0 ? nullptr : items_[index].get();
}

}  // namespace fw
