#include "data/dataset.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text_case.h"
#include "data/data_source.h"
#include "data/filter_expression.h"

namespace fw {
namespace {

const Value kNull;

bool CompatibleTypes(TFieldType field, TFieldType column) {
  auto textual = [](TFieldType t) { return t == TFieldType::ftString || t == TFieldType::ftMemo; };
  return field == column || (textual(field) && textual(column)) ||
         (field == TFieldType::ftBlob && textual(column));
}

std::string DataSetLabel(const TDataSet& ds) { return ds.Name.empty() ? "sem nome" : ds.Name; }

}  // namespace

TDataSet::TDataSet(std::string name) : Name(std::move(name)) {}

TDataSet::~TDataSet() {
  for (TDataSource* source : sources_) source->dataSet_ = nullptr;
}

// ---------------------------------------------------------------------------
// Fields

TField& TDataSet::AddField(std::string fieldName, TFieldType type, int size, TFieldKind kind) {
  if (Active())
    throw EDatabaseError("Não é possível declarar o campo '" + fieldName +
                         "' com o conjunto de dados '" + DataSetLabel(*this) + "' aberto.");
  if (FindField(fieldName))
    throw EDatabaseError("Campo '" + fieldName + "' declarado duas vezes em '" +
                         DataSetLabel(*this) + "'.");
  if (!persistent_) fields_.clear();
  persistent_ = true;
  auto field = std::make_unique<TField>(*this, std::move(fieldName), type, size, kind);
  if (kind == TFieldKind::fkCalculated) field->slot_ = calcCount_++;
  fields_.push_back(std::move(field));
  return *fields_.back();
}

TField* TDataSet::FindField(std::string_view fieldName) const {
  // Names of another length never match (case folding keeps the length),
  // so most fields are passed over without comparing their names.
  for (const auto& f : fields_)
    if (f->FieldName.size() == fieldName.size() && SameText(f->FieldName, fieldName)) return f.get();
  return nullptr;
}

TField& TDataSet::FieldByName(std::string_view fieldName) const {
  if (TField* f = FindField(fieldName)) return *f;
  throw EDatabaseError("Campo '" + std::string(fieldName) + "' não encontrado em '" +
                       DataSetLabel(*this) + "'.");
}

std::vector<int> TDataSet::BindFields(const TFieldDefs& defs) const {
  std::vector<int> slots;
  for (const auto& f : fields_) {
    if (f->Calculated()) {
      slots.push_back(f->slot_);
      continue;
    }
    auto it = std::find_if(defs.begin(), defs.end(),
                           [&](const TFieldDef& d) { return SameText(d.Name, f->FieldName); });
    if (it == defs.end())
      throw EDatabaseError("Campo '" + f->FieldName + "' não encontrado nos dados recebidos por '" +
                           DataSetLabel(*this) + "'.");
    if (!CompatibleTypes(f->DataType(), it->DataType))
      throw EDatabaseError("Tipo incompatível para o campo '" + f->FieldName + "': esperado " +
                           std::string(FieldTypeName(f->DataType())) + ", recebido " +
                           std::string(FieldTypeName(it->DataType)) + ".");
    slots.push_back(static_cast<int>(it - defs.begin()));
  }
  return slots;
}

void TDataSet::CheckRowsFit(const std::vector<int>& slots, const std::vector<Row>& rows) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    const TField& f = *fields_[i];
    if (f.Calculated() || f.DataType() != TFieldType::ftString || f.Size() <= 0) continue;
    for (const Row& row : rows) {
      const std::string* s = std::get_if<std::string>(&row[slots[i]]);
      if (s && s->size() > size_t(f.Size()) && Utf8Length(*s) > size_t(f.Size()))
        throw EDatabaseError("Valor muito longo para o campo '" + f.FieldName + "' (máximo de " +
                             std::to_string(f.Size()) + " caracteres).");
    }
  }
}

// ---------------------------------------------------------------------------
// Opening, loading and closing

void TDataSet::Open() {
  if (Active()) return;
  if (BeforeOpen) {
    TDataSetNotifyEvent handler = BeforeOpen;
    handler(*this);
  }
  DoOpen();
}

void TDataSet::LoadRows(TFieldDefs defs, std::vector<Row> rows,
                        const std::function<void()>& onCommit) {
  std::vector<std::unique_ptr<TField>> dynamic;
  std::vector<int> slots;
  if (persistent_) {
    slots = BindFields(defs);
    CheckRowsFit(slots, rows);
  } else {
    for (size_t i = 0; i < defs.size(); ++i) {
      auto f = std::make_unique<TField>(*this, defs[i].Name, defs[i].DataType, defs[i].Size,
                                        TFieldKind::fkData);
      f->ProviderFlags = defs[i].ProviderFlags;
      f->slot_ = static_cast<int>(i);
      dynamic.push_back(std::move(f));
    }
  }
  std::unique_ptr<FilterProgram> program;
  if (filtered_ && filter_) program = std::make_unique<FilterProgram>(*filter_, defs);
  std::vector<size_t> view = BuildView(program.get(), rows, filterOptions_);

  // Nothing below throws: commit.
  bool wasActive = Active();
  if (state_ == TDataSetState::dsEdit) editRow_.clear();
  if (persistent_) {
    for (size_t i = 0; i < fields_.size(); ++i) fields_[i]->slot_ = slots[i];
  } else {
    fields_ = std::move(dynamic);
  }
  defs_ = std::move(defs);
  rows_ = std::move(rows);
  program_ = std::move(program);
  view_ = std::move(view);
  calcRows_.assign(rows_.size(), Row(calcCount_));
  calcValid_.assign(rows_.size(), 0);
  displayPos_.reset();
  modified_ = false;
  state_ = TDataSetState::dsBrowse;
  pos_ = 0;
  bof_ = true;
  eof_ = ViewSize() == 0;
  if (onCommit) onCommit();
  Notify(wasActive ? TDataEvent::deDataSetChange : TDataEvent::deActiveChange);
  for (size_t i = 0; i < rows_.size(); ++i) Recalculate(i);
  if (!eof_) DoAfterScroll();
}

void TDataSet::Close() {
  if (!Active()) return;
  DoClose();
  editRow_.clear();
  rows_.clear();
  calcRows_.clear();
  calcValid_.clear();
  view_.clear();
  program_.reset();
  defs_.clear();
  if (!persistent_) fields_.clear();
  displayPos_.reset();
  modified_ = false;
  state_ = TDataSetState::dsInactive;
  pos_ = 0;
  bof_ = eof_ = true;
  Notify(TDataEvent::deActiveChange);
}

void TDataSet::RowsReplaced() {
  view_ = BuildView(program_.get(), rows_, filterOptions_);
  for (size_t i = 0; i < rows_.size(); ++i) Recalculate(i);
  if (pos_ >= ViewSize()) pos_ = ViewSize() == 0 ? 0 : ViewSize() - 1;
  eof_ = eof_ || ViewSize() == 0;
  Notify(TDataEvent::deDataSetChange);
}

void TDataSet::CheckActive() const {
  if (!Active())
    throw EDatabaseError("O conjunto de dados '" + DataSetLabel(*this) + "' não está aberto.");
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit) Post();
}

// ---------------------------------------------------------------------------
// Cursor

size_t TDataSet::ViewSize() const { return program_ ? view_.size() : rows_.size(); }
size_t TDataSet::RowIndexAt(size_t pos) const { return program_ ? view_[pos] : pos; }

std::optional<size_t> TDataSet::CurrentRowIndex() const {
  if (!Active() || ViewSize() == 0) return std::nullopt;
  return RowIndexAt(pos_);
}

int TDataSet::RecordCount() const { return Active() ? static_cast<int>(ViewSize()) : 0; }
int TDataSet::RecNo() const { return CurrentRowIndex() ? static_cast<int>(pos_) + 1 : 0; }

void TDataSet::ScrollTo(size_t pos, bool fireScroll) {
  pos_ = pos;
  if (auto row = CurrentRowIndex()) Recalculate(*row);
  Notify(TDataEvent::deDataSetScroll);
  if (fireScroll) DoAfterScroll();
}

void TDataSet::DoAfterScroll() {
  if (AfterScroll) {
    TDataSetNotifyEvent handler = AfterScroll;  // the handler may detach itself
    handler(*this);
  }
}

void TDataSet::First() {
  CheckBrowseMode();
  bof_ = true;
  eof_ = ViewSize() == 0;
  ScrollTo(0, true);
}

void TDataSet::Last() {
  CheckBrowseMode();
  eof_ = true;
  bof_ = ViewSize() == 0;
  ScrollTo(ViewSize() == 0 ? 0 : ViewSize() - 1, true);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  long target = static_cast<long>(pos_) + distance;
  long last = static_cast<long>(ViewSize()) - 1;
  bof_ = target < 0;
  eof_ = target > last;
  target = std::clamp(target, 0L, std::max(last, 0L));
  int moved = static_cast<int>(target - static_cast<long>(pos_));
  ScrollTo(static_cast<size_t>(target), true);
  return moved;
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

void TDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (recNo < 1 || recNo > RecordCount() || recNo == RecNo()) return;
  bof_ = eof_ = false;
  ScrollTo(static_cast<size_t>(recNo - 1), true);
}

bool TDataSet::Locate(std::string_view fieldName, const Value& value, TLocateOptions options) {
  CheckBrowseMode();
  const TField& field = FieldByName(fieldName);
  bool ci = options & loCaseInsensitive, partial = options & loPartialKey;
  const std::string* wantedText = std::get_if<std::string>(&value);
  std::string wanted = wantedText ? (ci ? UpperCase(*wantedText) : *wantedText) : std::string();
  double wantedNumber = std::holds_alternative<double>(value)    ? std::get<double>(value)
                        : std::holds_alternative<int32_t>(value) ? std::get<int32_t>(value)
                                                                 : 0;
  for (size_t pos = 0; pos < ViewSize(); ++pos) {
    size_t row = RowIndexAt(pos);
    const Value& v = field.Calculated() ? CalcValue(field, row) : rows_[row][field.slot_];
    bool match;
    if (IsNullValue(value)) {
      match = IsNullValue(v);
    } else if (wantedText) {
      std::string text = field.ValueToString(v);
      if (ci) text = UpperCase(text);
      match = partial ? text.starts_with(wanted) : text == wanted;
    } else {
      try {
        match = !IsNullValue(v) && field.ValueToFloat(v) == wantedNumber;
      } catch (const EConvertError&) {
        match = false;
      }
    }
    if (match) {
      bof_ = eof_ = false;
      ScrollTo(pos, true);
      return true;
    }
  }
  return false;
}

int TDataSet::SetDisplayRecord(int recNo) {
  int previous = displayPos_ ? static_cast<int>(*displayPos_) + 1 : 0;
  if (recNo >= 1 && recNo <= RecordCount())
    displayPos_ = static_cast<size_t>(recNo - 1);
  else
    displayPos_.reset();
  return previous;
}

// ---------------------------------------------------------------------------
// Values

std::optional<size_t> TDataSet::ReadRowIndex() const {
  if (calcRow_) return calcRow_;
  if (displayPos_ && *displayPos_ < ViewSize()) return RowIndexAt(*displayPos_);
  return CurrentRowIndex();
}

const Value& TDataSet::FieldValue(const TField& field) const {
  std::optional<size_t> row = ReadRowIndex();
  if (!row) return kNull;
  if (field.Calculated()) return CalcValue(field, *row);
  bool editing = state_ == TDataSetState::dsEdit && !calcRow_ &&
                 (!displayPos_ || *displayPos_ == pos_);
  if (field.slot_ < 0) return kNull;
  return editing ? editRow_[field.slot_] : rows_[*row][field.slot_];
}

const Value& TDataSet::CalcValue(const TField& field, size_t rowIndex) const {
  if (rowIndex >= calcRows_.size()) return kNull;
  if (!calcValid_[rowIndex] && calcRow_ != rowIndex) Recalculate(rowIndex);
  return calcRows_[rowIndex][field.slot_];
}

void TDataSet::Recalculate(size_t rowIndex) const {
  if (calcCount_ == 0) return;
  calcRows_[rowIndex].assign(calcCount_, Value{});
  calcValid_[rowIndex] = 1;
  if (!OnCalcFields) return;
  auto self = const_cast<TDataSet*>(this);
  TDataSetState saved = state_;
  std::optional<size_t> savedRow = calcRow_;
  self->state_ = TDataSetState::dsCalcFields;
  calcRow_ = rowIndex;
  try {
    TDataSetNotifyEvent handler = OnCalcFields;
    handler(*self);
  } catch (...) {
    self->state_ = saved;
    calcRow_ = savedRow;
    calcValid_[rowIndex] = 0;
    throw;
  }
  self->state_ = saved;
  calcRow_ = savedRow;
}

void TDataSet::SetFieldValue(TField& field, const Value& value) {
  if (field.Calculated()) {
    if (state_ != TDataSetState::dsCalcFields || !calcRow_)
      throw EDatabaseError("O campo calculado '" + field.FieldName +
                           "' só pode ser definido no cálculo dos campos.");
    calcRows_[*calcRow_][field.slot_] = field.Coerce(value);
    return;
  }
  if (state_ != TDataSetState::dsEdit)
    throw EDatabaseError("O conjunto de dados '" + DataSetLabel(*this) +
                         "' não está em modo de edição.");
  if (field.ReadOnly)
    throw EDatabaseError("O campo '" + field.FieldName + "' não pode ser modificado.");
  editRow_[field.slot_] = field.Coerce(value);
  modified_ = true;
  Notify(TDataEvent::deRecordChange, &field);
}

// ---------------------------------------------------------------------------
// Editing

bool TDataSet::CanModify() const { return Active() && DoCanModify(); }

void TDataSet::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit) return;
  if (!DoCanModify())
    throw EDatabaseError("O conjunto de dados '" + DataSetLabel(*this) + "' é somente leitura.");
  std::optional<size_t> row = CurrentRowIndex();
  if (!row)
    throw EDatabaseError("Não há registro para editar em '" + DataSetLabel(*this) + "'.");
  editRow_ = rows_[*row];
  modified_ = false;
  state_ = TDataSetState::dsEdit;
  Notify(TDataEvent::deUpdateState);
}

void TDataSet::CheckRequired() const {
  for (const auto& f : fields_)
    if (f->Required && !f->Calculated() && IsNullValue(editRow_[f->slot_]))
      throw EDatabaseError("O campo '" + f->DisplayName() + "' deve ser preenchido.");
}

void TDataSet::Post() {
  if (state_ != TDataSetState::dsEdit) return;
  CheckRequired();
  size_t row = RowIndexAt(pos_);
  Row old = std::move(rows_[row]);
  rows_[row] = std::move(editRow_);
  editRow_.clear();
  modified_ = false;
  state_ = TDataSetState::dsBrowse;
  RowPosted(row, std::move(old));
  bool viewChanged = false;
  if (program_) {
    std::vector<size_t> view = BuildView(program_.get(), rows_, filterOptions_);
    viewChanged = view != view_;
    view_ = std::move(view);
    auto it = std::lower_bound(view_.begin(), view_.end(), row);
    pos_ = std::min(static_cast<size_t>(it - view_.begin()), ViewSize() ? ViewSize() - 1 : 0);
    eof_ = eof_ || ViewSize() == 0;
  }
  Recalculate(row);
  Notify(TDataEvent::deUpdateState);
  Notify(viewChanged ? TDataEvent::deDataSetChange : TDataEvent::deRecordChange);
}

void TDataSet::Cancel() {
  if (state_ != TDataSetState::dsEdit) return;
  editRow_.clear();
  modified_ = false;
  state_ = TDataSetState::dsBrowse;
  Notify(TDataEvent::deUpdateState);
  Notify(TDataEvent::deRecordChange);
}

// ---------------------------------------------------------------------------
// Filtering

std::vector<size_t> TDataSet::BuildView(const FilterProgram* program, const std::vector<Row>& rows,
                                        TFilterOptions options) const {
  std::vector<size_t> view;
  if (!program) return view;
  bool ci = options & foCaseInsensitive;
  for (size_t i = 0; i < rows.size(); ++i)
    if (program->Matches(rows[i], ci)) view.push_back(i);
  return view;
}

void TDataSet::ApplyFilter(bool filtered, std::unique_ptr<FilterExpression> expression,
                           TFilterOptions options) {
  if (Active()) CheckBrowseMode();
  std::unique_ptr<FilterProgram> program;
  if (Active() && filtered && expression)
    program = std::make_unique<FilterProgram>(*expression, defs_);
  std::vector<size_t> view = BuildView(program.get(), rows_, options);
  filtered_ = filtered;
  filter_ = std::move(expression);
  filterOptions_ = options;
  if (!Active()) return;
  program_ = std::move(program);
  view_ = std::move(view);
  displayPos_.reset();
  Notify(TDataEvent::deDataSetChange);
  First();
}

void TDataSet::SetFilter(std::string_view expression) {
  std::unique_ptr<FilterExpression> parsed;
  if (expression.find_first_not_of(" \t\r\n") != std::string_view::npos)
    parsed = FilterExpression::Parse(expression);
  ApplyFilter(filtered_, std::move(parsed), filterOptions_);
  filterText_ = std::string(expression);
}

void TDataSet::SetFiltered(bool filtered) {
  if (filtered == filtered_) return;
  std::unique_ptr<FilterExpression> expression =
      filter_ ? FilterExpression::Parse(filterText_) : nullptr;
  ApplyFilter(filtered, std::move(expression), filterOptions_);
}

void TDataSet::SetFilterOptions(TFilterOptions options) {
  if (options == filterOptions_) return;
  std::unique_ptr<FilterExpression> expression =
      filter_ ? FilterExpression::Parse(filterText_) : nullptr;
  ApplyFilter(filtered_, std::move(expression), options);
}

// ---------------------------------------------------------------------------
// Controls

void TDataSet::DisableControls() { ++disableCount_; }

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ == 0 && heldBack_) {
    heldBack_ = false;
    Notify(TDataEvent::deDataSetChange);
  }
}

void TDataSet::Notify(TDataEvent event, TField* field) {
  if (disableCount_ > 0) {
    heldBack_ = true;
    return;
  }
  std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources)
    if (std::find(sources_.begin(), sources_.end(), source) != sources_.end())
      source->DataEvent(event, field);
}

void TDataSet::AttachSource(TDataSource* source) { sources_.push_back(source); }

void TDataSet::DetachSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

}  // namespace fw
