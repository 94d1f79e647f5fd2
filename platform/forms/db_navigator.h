// TDBNavigator: buttons that move the cursor of a data source's dataset.
//
// Buttons First, Prior, Next and Last, left to right, equally wide. A
// button is enabled while the navigator is, its dataset is open and not
// empty, and the move can go somewhere: First and Prior not at the
// beginning (Bof), Next and Last not at the end (Eof). The states follow
// the dataset's notifications (not while its controls are disabled).
// BtnClick by code performs the move whatever the states; the operator's
// click (ClickButton, or MouseClick on a button) is ignored for a hidden or
// disabled navigator or button. Before moving, a data-aware edit of the
// same form that holds typed text writes it to its field (which may raise,
// and then nothing moves). After the move OnNavClick runs with the button.
// The navigator never takes the focus. Hints are Portuguese.
// Ownership as TComponent; the data source is not owned. User-interface
// thread only; raises what the dataset and its handlers raise.
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"
#include "forms/field_data_link.h"

namespace fw {

enum class TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast };
constexpr int kNavigatorButtons = 4;

using TNavClickEvent = std::function<void(TComponent& sender, TNavigateBtn button)>;

class TDBNavigator : public TControl {
 public:
  explicit TDBNavigator(TComponent* owner);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetSource(source); }
  TNavClickEvent OnNavClick;

  bool ButtonEnabled(TNavigateBtn button) const;
  static std::string ButtonHint(TNavigateBtn button);
  TRect ButtonRect(TNavigateBtn button) const;
  // Moves the dataset (from code), then runs OnNavClick.
  void BtnClick(TNavigateBtn button);
  // The operator presses a button.
  void ClickButton(TNavigateBtn button);

  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "dbnavigator"; }

 private:
  void FlushFocusedEdit();
  TFieldDataLink link_;
};

}  // namespace fw
