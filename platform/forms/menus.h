// Main menus: TMainMenu holds a tree of TMenuItem.
//
// A caption marks its accelerator with "&" ("Fi&ltrar"); "-" is a
// separator. Checked, Enabled, Visible and ShortCut ("Ctrl+L") are plain
// state; Click runs OnClick when the item is usable (enabled and visible,
// as every parent item). The form's KeyDown offers each key to its menu:
// the first usable item with that shortcut is clicked.
// Not thread-safe: user-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/control.h"
#include "forms/keys.h"

namespace fw {

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TShortCut ShortCut;
  TNotifyEvent OnClick;
  bool IsSeparator() const { return caption_ == "-"; }
  // The caption without "&", and the accelerator letter (0 when none).
  std::string PlainCaption() const;
  char Accelerator() const;

  TMenuItem* ParentItem() const { return parent_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Places item under this one, at index (-1: last).
  void Insert(TMenuItem& item, int index = -1);
  void Remove(TMenuItem& item);
  bool Usable() const;
  // Runs OnClick when usable; returns whether it ran.
  bool Click();
  TMenuItem* FindShortCut(TShortCut shortCut);
  unsigned long Version() const { return version_; }

 private:
  std::string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  unsigned long version_ = 1;
};

class TMainMenu : public TComponent {
 public:
  explicit TMainMenu(TComponent* owner);
  TMenuItem& Items() { return root_; }
  // Clicks the first usable item with the shortcut; true when one ran.
  bool DispatchShortCut(TShortCut shortCut);

 private:
  TMenuItem root_{nullptr};
};

}  // namespace fw
