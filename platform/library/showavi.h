// Showavi: the busy indicator shown over the host's main window while a
// long call runs.
//
// Activations nest: ActiveShowAvi raises the nesting depth and
// DeactiveShowAvi lowers it; the indicator shows while the depth is above
// zero. Every change is reported to the operator display through
// fw::Interaction().BusyChanged(depth, kind), with the kind of the
// innermost activation still open (0 once the depth is back to 0). Kinds
// in use: 6 loading, 1 confirming.
//
// A DeactiveShowAvi without an open activation changes and reports
// nothing. If the display raises while an activation is reported, that
// activation is undone before the error passes on, so a caller whose
// ActiveShowAvi failed must not (and need not) call DeactiveShowAvi.
// The main form is accepted for the callers' sake; the display always
// covers the host's main window. User-interface thread only.
#pragma once

namespace fw {
class TComponent;
}

namespace Showavi {

void ActiveShowAvi(fw::TComponent* mainForm, int kind);
void DeactiveShowAvi();
int BusyDepth();

// The busy indicator for the lifetime of a scope: shown on construction
// over the application's main form, hidden however the scope ends (a
// failure to report the hiding is swallowed: the indicator is off).
class TShowAviScope {
 public:
  explicit TShowAviScope(int kind);
  ~TShowAviScope();
  TShowAviScope(const TShowAviScope&) = delete;
  TShowAviScope& operator=(const TShowAviScope&) = delete;
};

}  // namespace Showavi
