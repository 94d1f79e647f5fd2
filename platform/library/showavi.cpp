#include "library/showavi.h"

#include <vector>

#include "forms/application.h"
#include "forms/interaction.h"

namespace Showavi {
namespace {

// Kinds of the open activations, outermost first.
std::vector<int>& Open() {
  static std::vector<int> kinds;
  return kinds;
}

int InnermostKind() { return Open().empty() ? 0 : Open().back(); }

}  // namespace

void ActiveShowAvi(fw::TComponent* /*mainForm*/, int kind) {
  Open().push_back(kind);
  try {
    fw::Interaction().BusyChanged(BusyDepth(), kind);
  } catch (...) {
    Open().pop_back();
    throw;
  }
}

void DeactiveShowAvi() {
  if (Open().empty()) return;
  Open().pop_back();
  fw::Interaction().BusyChanged(BusyDepth(), InnermostKind());
}

int BusyDepth() { return static_cast<int>(Open().size()); }

TShowAviScope::TShowAviScope(int kind) { ActiveShowAvi(fw::Application().MainForm, kind); }

TShowAviScope::~TShowAviScope() {
  try {
    DeactiveShowAvi();
  } catch (...) {
    // The indicator is already off; only its report to the display failed.
  }
}

}  // namespace Showavi
