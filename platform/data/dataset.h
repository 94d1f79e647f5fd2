// TDataSet: rows in memory, a cursor over them and the fields that read
// and write the row under the cursor. Base of client datasets and queries.
//
// Rows are stored as they were loaded (one Value per stored column, see
// FieldDefs()); fields map onto stored columns by name. Persistent fields
// are declared in code before opening (AddField); without them, opening
// creates one field per stored column and drops them again on Close.
//
// Cursor: RecNo is 1-based over the rows that pass the filter. Bof/Eof
// behave as usual: Next on the last row sets Eof and stays; Prior on the
// first sets Bof. AfterScroll runs after every cursor move: First and Last
// always, Next/Prior unless already at Eof/Bof, Locate and RecNo on
// success, and the first positioning after opening or loading when rows
// exist. The handler may be assigned, cleared and restored at any time.
//
// Edit/Post/Cancel: Edit copies the current row into an edit buffer; the
// fields write there; Post checks required fields, stores the buffer and
// recomputes calculated fields; moving the cursor posts a pending edit.
// Subclasses decide whether rows may be changed (CanModify) and what
// happens when an edit is posted (RowPosted; the client dataset logs it).
//
// Controls: DisableControls/EnableControls nest; while disabled the bound
// data sources are not notified, and the final EnableControls sends one
// deDataSetChange if anything was held back. Handlers (AfterScroll,
// OnCalcFields) still run while controls are disabled.
//
// Errors: EDatabaseError for an unknown field name, an inactive dataset,
// writing outside edit state, a read-only dataset; EFilterError for a
// malformed filter. A failed operation leaves rows, cursor and filter as
// they were. Not thread-safe: user-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_event.h"
#include "data/field.h"
#include "data/field_def.h"
#include "data/value.h"

namespace fw {

class TDataSource;
class FilterExpression;
class FilterProgram;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsCalcFields };

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

enum TFilterOption : unsigned { foCaseInsensitive = 1 };
using TFilterOptions = unsigned;

class TDataSet {
 public:
  using TDataSetNotifyEvent = std::function<void(TDataSet&)>;

  explicit TDataSet(std::string name = {});
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  std::string Name;
  // Runs before a closed dataset opens; raising keeps it closed.
  TDataSetNotifyEvent BeforeOpen;
  TDataSetNotifyEvent AfterScroll;
  TDataSetNotifyEvent OnCalcFields;

  // Fields.
  TField& AddField(std::string fieldName, TFieldType type, int size = 0,
                   TFieldKind kind = TFieldKind::fkData);
  TField& FieldByName(std::string_view fieldName) const;
  TField* FindField(std::string_view fieldName) const;
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index) const { return *fields_.at(index); }
  bool HasPersistentFields() const { return persistent_; }
  const TFieldDefs& FieldDefs() const { return defs_; }

  // Opening and closing.
  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool active) { active ? Open() : Close(); }
  TDataSetState State() const { return state_; }

  // Cursor.
  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  int RecNo() const;
  void SetRecNo(int recNo);
  int RecordCount() const;
  bool IsEmpty() const { return RecordCount() == 0; }
  bool Locate(std::string_view fieldName, const Value& value, TLocateOptions options = 0);

  // Editing.
  void Edit();
  void Post();
  void Cancel();
  bool Modified() const { return modified_; }
  bool CanModify() const;

  // Filtering. SetFilter parses at once and raises EFilterError for a
  // malformed expression, keeping the previous one. With Filtered on, an
  // active dataset shows only matching rows and moves to the first one.
  const std::string& Filter() const { return filterText_; }
  void SetFilter(std::string_view expression);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool filtered);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(TFilterOptions options);

  // Controls.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Makes the given 1-based record the one the fields read, without moving
  // the cursor or running any handler (grids drawing other rows). Returns
  // the previous display record, 0 for "the cursor row".
  int SetDisplayRecord(int recNo);

  // Value of a field for the row fields currently read; used by TField.
  const Value& FieldValue(const TField& field) const;
  void SetFieldValue(TField& field, const Value& value);

 protected:
  // Replaces field definitions and rows (already validated) and activates
  // the dataset on its first row. Raises, changing nothing, when a
  // persistent field has no stored column or a type that cannot hold it,
  // a value does not fit its field, or the filter names an unknown field.
  // onCommit runs once the new rows are in place, before any handler.
  void LoadRows(TFieldDefs defs, std::vector<Row> rows,
                const std::function<void()>& onCommit = nullptr);
  virtual void DoOpen() = 0;
  virtual bool DoCanModify() const { return true; }
  // Called after an edit was stored; old is the row before the edit.
  virtual void RowPosted(size_t rowIndex, Row&& old) { (void)rowIndex, (void)old; }
  virtual void DoClose() {}
  // Data access for subclasses.
  const std::vector<Row>& Rows() const { return rows_; }
  std::vector<Row>& MutableRows() { return rows_; }
  // After rows changed underneath (change log undone): rebuild the view,
  // recompute calculated fields, keep the cursor near where it was.
  void RowsReplaced();

 private:
  friend class TDataSource;

  void CheckActive() const;
  void CheckBrowseMode();
  void SetState(TDataSetState state);
  void ScrollTo(size_t pos, bool fireScroll);
  void DoAfterScroll();
  void Notify(TDataEvent event, TField* field = nullptr);
  size_t ViewSize() const;
  size_t RowIndexAt(size_t pos) const;
  std::optional<size_t> CurrentRowIndex() const;
  std::vector<size_t> BuildView(const FilterProgram* program, const std::vector<Row>& rows,
                                TFilterOptions options) const;
  void ApplyFilter(bool filtered, std::unique_ptr<FilterExpression> expression,
                   TFilterOptions options);
  void Recalculate(size_t rowIndex) const;
  std::vector<int> BindFields(const TFieldDefs& defs) const;
  void CheckRowsFit(const std::vector<int>& slots, const std::vector<Row>& rows) const;
  std::optional<size_t> ReadRowIndex() const;
  const Value& CalcValue(const TField& field, size_t rowIndex) const;
  void CheckRequired() const;
  void AttachSource(TDataSource* source);
  void DetachSource(TDataSource* source);

  std::vector<std::unique_ptr<TField>> fields_;
  bool persistent_ = false;
  int calcCount_ = 0;
  TFieldDefs defs_;
  std::vector<Row> rows_;
  mutable std::vector<Row> calcRows_;
  mutable std::vector<char> calcValid_;
  mutable std::optional<size_t> calcRow_;  // row being calculated

  TDataSetState state_ = TDataSetState::dsInactive;
  size_t pos_ = 0;  // cursor position within the view
  bool bof_ = true;
  bool eof_ = true;
  std::optional<size_t> displayPos_;  // view position a grid is drawing
  Row editRow_;
  bool modified_ = false;

  std::string filterText_;
  std::unique_ptr<FilterExpression> filter_;
  std::unique_ptr<FilterProgram> program_;  // filter_ bound to defs_, while filtering
  bool filtered_ = false;
  TFilterOptions filterOptions_ = 0;
  std::vector<size_t> view_;  // row indices passing the filter, when filtering

  int disableCount_ = 0;
  bool heldBack_ = false;
  std::vector<TDataSource*> sources_;
};

}  // namespace fw
