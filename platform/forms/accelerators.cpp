#include "forms/accelerators.h"

#include <algorithm>
#include <functional>

#include "forms/buttons.h"
#include "forms/check_boxes.h"
#include "forms/containers.h"
#include "forms/form.h"
#include "forms/page_control.h"
#include "forms/static_controls.h"
#include "forms/text_input.h"

namespace fw {
namespace {

// The controls of a parent in tab order (ties keep creation order), each
// followed by its own, as the tab order walks them.
void Walk(const TControl& parent, const std::function<bool(TControl&)>& visit) {
  std::vector<TControl*> children = parent.Controls();
  std::stable_sort(children.begin(), children.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder < b->TabOrder; });
  for (TControl* c : children) {
    if (visit(*c)) return;
    Walk(*c, visit);
  }
}

bool FocusFirstInside(TControl& container) {
  bool done = false;
  Walk(container, [&](TControl& c) {
    if (c.CanFocus()) {
      c.SetFocus();
      done = true;
    }
    return done;
  });
  return done;
}

bool Act(TControl& c) {
  if (auto* label = dynamic_cast<TLabel*>(&c)) {
    if (!label->ShowAccelChar || !label->FocusControl()) return false;
    label->Activate();
    return true;
  }
  if (dynamic_cast<TButton*>(&c) || dynamic_cast<TSpeedButton*>(&c) || dynamic_cast<TCheckBox*>(&c) ||
      dynamic_cast<TRadioButton*>(&c)) {
    c.MouseClick(1, 1);
    return true;
  }
  if (auto* sheet = dynamic_cast<TTabSheet*>(&c)) {
    if (!sheet->PageControl()) return false;
    sheet->PageControl()->TabClick(*sheet);
    return true;
  }
  if (dynamic_cast<TGroupBox*>(&c)) return FocusFirstInside(c);
  return false;
}

}  // namespace

char AcceleratorOf(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = caption[i + 1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

bool DispatchAccelerator(TForm& form, char letter) {
  if (letter == 0) return false;
  TControl* target = nullptr;
  Walk(form, [&](TControl& c) {
    // A tab sheet's caption is its tab's: the sheet itself may be hidden
    // behind the active one.
    bool reachable = dynamic_cast<TTabSheet*>(&c) ? c.Parent() && c.Parent()->Showing()
                                                   : AcceptsInput(c);
    if (reachable && c.Usable() && AcceleratorOf(c.Caption()) == letter) target = &c;
    return target != nullptr;
  });
  return target && Act(*target);
}

}  // namespace fw
