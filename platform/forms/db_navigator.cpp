#include "forms/db_navigator.h"

#include "forms/db_controls.h"
#include "forms/form.h"
#include "forms/text_input.h"

namespace fw {

TDBNavigator::TDBNavigator(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 100, 25);
  // Any notification may change which buttons can move.
  link_.OnDataChange = [this] { Changed(); };
  link_.OnEditingChange = [this] { Changed(); };
}

bool TDBNavigator::ButtonEnabled(TNavigateBtn button) const {
  TDataSet* ds = link_.DataSet();
  if (!Enabled() || !ds || !ds->Active() || ds->IsEmpty()) return false;
  switch (button) {
    case TNavigateBtn::nbFirst:
    case TNavigateBtn::nbPrior: return !ds->Bof();
    case TNavigateBtn::nbNext:
    case TNavigateBtn::nbLast: return !ds->Eof();
  }
  return false;
}

std::string TDBNavigator::ButtonHint(TNavigateBtn button) {
  switch (button) {
    case TNavigateBtn::nbFirst: return "Primeiro registro";
    case TNavigateBtn::nbPrior: return "Registro anterior";
    case TNavigateBtn::nbNext: return "Próximo registro";
    case TNavigateBtn::nbLast: return "Último registro";
  }
  return {};
}

TRect TDBNavigator::ButtonRect(TNavigateBtn button) const {
  int index = static_cast<int>(button);
  int width = Width() / kNavigatorButtons;
  int left = index * width;
  int right = index == kNavigatorButtons - 1 ? Width() : left + width;
  return {left, 0, right, Height()};
}

void TDBNavigator::FlushFocusedEdit() {
  TForm* form = ParentForm();
  if (auto* edit = form ? dynamic_cast<TDBEdit*>(form->ActiveControl()) : nullptr)
    edit->UpdateRecord();
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
  TDataSet* ds = link_.DataSet();
  if (ds && ds->Active()) {
    FlushFocusedEdit();
    switch (button) {
      case TNavigateBtn::nbFirst: ds->First(); break;
      case TNavigateBtn::nbPrior: ds->Prior(); break;
      case TNavigateBtn::nbNext: ds->Next(); break;
      case TNavigateBtn::nbLast: ds->Last(); break;
    }
  }
  if (OnNavClick) {
    TNavClickEvent handler = OnNavClick;
    handler(*this, button);
  }
}

void TDBNavigator::ClickButton(TNavigateBtn button) {
  if (!AcceptsInput(*this) || !ButtonEnabled(button)) return;
  BtnClick(button);
}

void TDBNavigator::MouseClick(int x, int y) {
  if (!AcceptsInput(*this)) return;
  for (int i = 0; i < kNavigatorButtons; ++i) {
    auto button = static_cast<TNavigateBtn>(i);
    if (ButtonRect(button).Contains({x, y})) {
      ClickButton(button);
      return;
    }
  }
}

}  // namespace fw
