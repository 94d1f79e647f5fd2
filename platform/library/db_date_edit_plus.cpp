#include "library/db_date_edit_plus.h"

#include "text/date_time.h"

namespace fw {

TDBDateEditPlus::TDBDateEditPlus(TComponent* owner) : TDateEditPlus(owner) {
  SetReadOnly(true);
  link_.OnDataChange = [this] { DataChange(); };
}

void TDBDateEditPlus::DataChange() {
  TField* field = link_.Field();
  loading_ = true;
  SetDate(field && !field->IsNull() ? field->AsDateTime() : 0);
  loading_ = false;
}

std::string TDBDateEditPlus::DayName() const {
  if (!IsDateValid()) return {};
  return DayNames[DayOfWeek(GetDate()) - 1];
}

void TDBDateEditPlus::DoExit() {
  TField* field = link_.Field();
  if (!ReadOnly() && field && !loading_) {
    CheckValidDate();
    TDateTime date = GetDate();
    bool changed = field->IsNull() ? date != 0 : field->AsDateTime() != date;
    if (changed && link_.Edit()) {
      if (date == 0) field->Clear(); else field->SetAsDateTime(date);
    }
  }
  TDateEditPlus::DoExit();
}

}  // namespace fw
