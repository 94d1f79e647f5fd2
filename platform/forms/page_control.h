// TPageControl and TTabSheet: pages shown one at a time under a row of
// tabs.
//
// A sheet belongs to one page control (SetPageControl, or the constructor;
// not SetParent, which the page control would not see) and is placed in it
// as its child; the page control keeps its sheets in
// page order (PageIndex). The first sheet added becomes the active page.
// Only the active page is visible (the page control hides the others), and
// it fills the page control below the tabs. TabVisible hides a sheet's
// tab; a sheet's Enabled makes its tab and its contents unusable.
//
// SetActivePage from code runs no handler of the page control. If the
// focus is inside the page being left, it first moves to the page control
// (the exit handler of the focused control runs, and an exception from it
// leaves the page as it was and passes on). The operator's tab click
// (TabClick, a click on the tab row, or Left/Right while the page control
// has the focus) is ignored for a hidden or disabled page control, for a
// disabled sheet or one whose tab is hidden, and for the active page;
// otherwise it moves the focus to the page control, asks OnChanging (which
// may refuse), makes the sheet active and runs OnChange.
//
// Destroying a sheet removes it; when it was the active page the next one
// becomes active, running nothing. Ownership as TComponent (sheets are
// owned by their owner, not by the page control); user-interface thread
// only.
#pragma once

#include <functional>
#include <vector>

#include "forms/control.h"

namespace fw {

class TPageControl;

class TTabSheet : public TControl {
 public:
  explicit TTabSheet(TComponent* owner, TPageControl* pageControl = nullptr);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);
  // Position among the sheets of the page control, -1 when in none.
  int PageIndex() const;
  void SetPageIndex(int index);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

  const char* Kind() const override { return "tabsheet"; }

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

using TTabChangingEvent = std::function<void(TComponent& sender, bool& allowChange)>;

class TPageControl : public TControl {
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet& Pages(int index) const { return *pages_.at(index); }
  TTabSheet* ActivePage() const { return activePage_; }
  // From code: runs no handler (see above). Raises an Exception for a
  // sheet of another page control.
  void SetActivePage(TTabSheet* sheet);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  int TabHeight = 20;
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  // Where a sheet's tab is drawn (empty for a hidden tab), in the page
  // control's coordinates; tabs are laid out left to right.
  TRect TabRect(const TTabSheet& sheet) const;
  // The operator clicks a sheet's tab.
  void TabClick(TTabSheet& sheet);

  TRect ClientRect() const override;
  bool AcceptsFocus() const override { return true; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "pagecontrol"; }

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet& sheet);
  void RemovePage(TTabSheet& sheet);
  void MovePage(TTabSheet& sheet, int index);
  void ShowPage(TTabSheet* sheet);
  bool FocusInside(const TTabSheet& sheet) const;
  TTabSheet* NextTab(int from, int step) const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

}  // namespace fw
