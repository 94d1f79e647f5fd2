// TColumn, TColumnTitle and TColumns: the columns of a data grid.
//
// A column shows the field named FieldName of the grid's dataset (looked
// up by name, ignoring case, whenever it is needed; null while the dataset
// is closed or has no such field). Unset properties follow defaults: the
// title caption is the field's display label (its name when it has none;
// the field name when there is no field); the width comes from the field's
// display width (a string field's size, else 10 characters) in the grid's
// font, at least the title's width, or 64 pixels without a field; numbers
// are right-aligned, other fields left-aligned; colour and font are the
// grid's, the title's font the grid's title font, its colour the button
// face. A column's Visible is its own: a column shows even when its field
// is flagged hidden.
//
// TColumns owns its columns; references stay valid until the column is
// deleted (Delete, Remove, Clear) or the grid is destroyed. Insert and
// Delete raise an Exception, changing nothing, for a position outside the
// collection. Every change tells the grid, which redraws.
// User-interface thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"

namespace fw {

class TDBGrid;
class TColumn;
class TColumns;
class TField;

class TColumnTitle {
 public:
  std::string Caption() const;
  void SetCaption(std::string caption);
  bool CaptionAssigned() const { return caption_.has_value(); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TFont Font() const;
  void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

 private:
  friend class TColumn;
  explicit TColumnTitle(TColumn& column) : column_(column) {}
  TColumn& column_;
  std::optional<std::string> caption_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  std::optional<TFont> font_;
  TColor color_ = clBtnFace;
};

class TColumn {
 public:
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  TColumnTitle& Title() { return title_; }
  const TColumnTitle& Title() const { return title_; }
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string fieldName);
  TField* Field() const;
  int Width() const;
  void SetWidth(int width);
  bool WidthAssigned() const { return width_.has_value(); }
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TColor Color() const;
  void SetColor(TColor color);
  TFont Font() const;
  void SetFont(const TFont& font);
  // Position in its collection; SetIndex moves it (clamped to the ends).
  int Index() const;
  void SetIndex(int index);
  TColumns& Collection() const { return columns_; }
  TDBGrid& Grid() const;

 private:
  friend class TColumns;
  friend class TColumnTitle;
  friend class TDBGrid;
  explicit TColumn(TColumns& columns) : columns_(columns), title_(*this) {}
  void Changed();
  int DefaultWidth() const;

  TColumns& columns_;
  TColumnTitle title_;
  std::string fieldName_;
  std::optional<int> width_;
  std::optional<TAlignment> alignment_;
  std::optional<TColor> color_;
  std::optional<TFont> font_;
  bool readOnly_ = false;
  bool visible_ = true;
};

class TColumns {
 public:
  TColumns(const TColumns&) = delete;
  TColumns& operator=(const TColumns&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TColumn& operator[](int index) const { return Items(index); }
  TColumn& Items(int index) const;
  TColumn& Add();
  // A new column at index (0..Count).
  TColumn& Insert(int index);
  void Delete(int index);
  void Remove(TColumn& column);
  void Clear();
  // The first column bound to the field (ignoring case), or -1 / null.
  int IndexOfField(std::string_view fieldName) const;
  TColumn* FindField(std::string_view fieldName) const;
  TDBGrid& Grid() const { return grid_; }

 private:
  friend class TDBGrid;
  friend class TColumn;
  explicit TColumns(TDBGrid& grid) : grid_(grid) {}
  void CheckIndex(int index, int limit) const;
  void Changed();

  TDBGrid& grid_;
  std::vector<std::unique_ptr<TColumn>> items_;
};

}  // namespace fw
