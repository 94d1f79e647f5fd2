#include "forms/page_control.h"

#include <algorithm>

#include "base/errors.h"
#include "forms/canvas.h"
#include "forms/form.h"
#include "forms/text_input.h"

namespace fw {

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* owner, TPageControl* pageControl) : TControl(owner) {
  SetAlign(TAlign::alClient);
  SetPageControl(pageControl);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(*this);
  if (pageControl) pageControl->InsertPage(*this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_) pageControl_->MovePage(*this, index);
}

void TTabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  Changed();
  if (pageControl_) pageControl_->Changed();
}

// ---------------------------------------------------------------------------
// TPageControl: pages

TPageControl::TPageControl(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* sheet : pages_) sheet->pageControl_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet& sheet) {
  pages_.push_back(&sheet);
  sheet.pageControl_ = this;
  sheet.SetVisible(activePage_ == nullptr);
  sheet.SetParent(this);
  if (!activePage_) activePage_ = &sheet;
  Changed();
}

void TPageControl::RemovePage(TTabSheet& sheet) {
  auto it = std::find(pages_.begin(), pages_.end(), &sheet);
  if (it == pages_.end()) return;
  int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  sheet.pageControl_ = nullptr;
  if (activePage_ == &sheet) {
    activePage_ = nullptr;
    if (!pages_.empty()) ShowPage(pages_[std::min<size_t>(index, pages_.size() - 1)]);
  }
  if (sheet.Parent() == this) sheet.SetParent(nullptr);
  Changed();
}

void TPageControl::MovePage(TTabSheet& sheet, int index) {
  auto it = std::find(pages_.begin(), pages_.end(), &sheet);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, static_cast<int>(pages_.size()));
  pages_.insert(pages_.begin() + index, &sheet);
  Changed();
}

void TPageControl::ShowPage(TTabSheet* sheet) {
  activePage_ = sheet;
  for (TTabSheet* page : pages_)
    if (page != sheet) page->SetVisible(false);
  if (sheet) sheet->SetVisible(true);
  Changed();
}

bool TPageControl::FocusInside(const TTabSheet& sheet) const {
  TForm* form = ParentForm();
  for (TControl* c = form ? form->ActiveControl() : nullptr; c; c = c->Parent())
    if (c == &sheet) return true;
  return false;
}

void TPageControl::SetActivePage(TTabSheet* sheet) {
  if (sheet && sheet->pageControl_ != this)
    throw Exception("A página '" + sheet->Name() + "' não pertence a '" + Name() + "'.");
  if (sheet == activePage_) return;
  if (activePage_ && FocusInside(*activePage_)) {
    if (CanFocus()) SetFocus();  // the exit handler may raise: nothing changed yet
    else if (TForm* form = ParentForm()) form->FocusControl(nullptr);
  }
  ShowPage(sheet);
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

TRect TPageControl::ClientRect() const {
  return {0, TabHeight, Width(), std::max(TabHeight, Height())};
}

// ---------------------------------------------------------------------------
// TPageControl: the operator

TRect TPageControl::TabRect(const TTabSheet& sheet) const {
  int left = 2;
  for (TTabSheet* page : pages_) {
    if (!page->tabVisible_) {
      if (page == &sheet) return {};
      continue;
    }
    int width = MeasureText(Font(), page->Caption()) + 12;
    if (page == &sheet) return {left, 0, left + width, TabHeight};
    left += width;
  }
  return {};
}

void TPageControl::TabClick(TTabSheet& sheet) {
  if (!AcceptsInput(*this) || sheet.pageControl_ != this) return;
  if (!sheet.tabVisible_ || !sheet.Enabled() || &sheet == activePage_) return;
  FocusForInput(*this);
  bool allow = true;
  if (OnChanging) {
    TTabChangingEvent handler = OnChanging;
    handler(*this, allow);
  }
  if (!allow) return;
  SetActivePage(&sheet);
  if (OnChange) {
    TNotifyEvent handler = OnChange;
    handler(*this);
  }
}

void TPageControl::MouseClick(int x, int y) {
  if (!AcceptsInput(*this)) return;
  for (TTabSheet* page : pages_)
    if (TabRect(*page).Contains({x, y})) {
      TabClick(*page);
      return;
    }
}

TTabSheet* TPageControl::NextTab(int from, int step) const {
  for (int i = from + step; i >= 0 && i < PageCount(); i += step)
    if (pages_[i]->tabVisible_ && pages_[i]->Enabled()) return pages_[i];
  return nullptr;
}

void TPageControl::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key != VK_LEFT && key != VK_RIGHT) return;
  if (TTabSheet* next = NextTab(ActivePageIndex(), key == VK_RIGHT ? 1 : -1)) TabClick(*next);
}

}  // namespace fw

