// Everything the system shows to the operator and asks of them goes
// through one interface: message boxes and questions, error and
// information boxes, pick lists and the busy indicator.
//
// The host installs the implementation of its display; tests install a
// scripted operator. Interaction() is never null: until something is
// installed, a default answers every question with the dialog's default
// button (Yes/OK), picks nothing and records nothing.
// Called on the user-interface thread only.
#pragma once

#include <string>
#include <vector>

namespace fw {

class TDataSet;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
  mbYes = 1,
  mbNo = 2,
  mbOK = 4,
  mbCancel = 8,
};
using TMsgDlgButtons = unsigned;

// Modal results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// What a pick list shows: the rows of a dataset, one column per visible
// field, with the rows whose key is in `picked` ticked.
struct TPickListRequest {
  std::string Title;
  std::string Subtitle;  // a second line under the title, may be empty
  TDataSet* DataSet = nullptr;
  std::string KeyField;
  bool MultiSelect = true;
  std::vector<std::string> Picked;  // keys ticked when the list opens
};

// The operator's answer: the keys ticked when they pressed OK, in list
// order, or Accepted false when they cancelled.
struct TPickListResult {
  bool Accepted = false;
  std::vector<std::string> Picked;
};

class TOperatorInteraction {
 public:
  virtual ~TOperatorInteraction() = default;
  // A message box; returns the modal result of the button pressed.
  virtual int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                         int helpContext) = 0;
  virtual void ShowError(const std::string& text) = 0;
  virtual TPickListResult PickList(const TPickListRequest& request) = 0;
  // The busy indicator is shown while the nesting count is above zero.
  virtual void BusyChanged(int depth, int kind) = 0;
};

TOperatorInteraction& Interaction();
// Installs an implementation (not owned; null restores the default) and
// returns the previous one.
TOperatorInteraction* SetInteraction(TOperatorInteraction* interaction);

}  // namespace fw
