#include "forms/control.h"

#include <algorithm>

#include "forms/form.h"

namespace fw {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  for (TControl* child : children_) child->parent_ = nullptr;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_->Realign();
  }
}

void TControl::SetParent(TControl* parent) {
  if (parent == parent_) return;
  for (TControl* p = parent; p; p = p->parent_)
    if (p == this) throw Exception("Um controle não pode estar dentro de si mesmo.");
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_->Realign();
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    parent_->Realign();
  }
  Changed();
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect r{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (r == bounds_) return;
  bool resized = r.Width() != bounds_.Width() || r.Height() != bounds_.Height();
  bounds_ = r;
  Changed();
  if (resized) Realign();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  Changed();
  if (parent_) parent_->Realign();
}

void TControl::Realign() {
  TRect area = ClientRect();
  auto place = [](TControl* c, TRect r) {
    TRect nr{r.Left, r.Top, r.Left + std::max(r.Width(), 0), r.Top + std::max(r.Height(), 0)};
    if (nr == c->bounds_) return;
    bool resized = nr.Width() != c->bounds_.Width() || nr.Height() != c->bounds_.Height();
    c->bounds_ = nr;
    c->Changed();
    if (resized) c->Realign();
  };
  for (TAlign pass : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight}) {
    for (TControl* c : children_) {
      if (c->align_ != pass || !c->visible_) continue;
      int h = c->Height(), w = c->Width();
      switch (pass) {
        case TAlign::alTop: place(c, {area.Left, area.Top, area.Right, area.Top + h}); area.Top += h; break;
        case TAlign::alBottom: place(c, {area.Left, area.Bottom - h, area.Right, area.Bottom}); area.Bottom -= h; break;
        case TAlign::alLeft: place(c, {area.Left, area.Top, area.Left + w, area.Bottom}); area.Left += w; break;
        case TAlign::alRight: place(c, {area.Right - w, area.Top, area.Right, area.Bottom}); area.Right -= w; break;
        default: break;
      }
    }
  }
  for (TControl* c : children_)
    if (c->align_ == TAlign::alClient && c->visible_) place(c, area);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool TControl::Usable() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TControl::SetFont(const TFont& font) {
  if (font == font_) return;
  font_ = font;
  Changed();
}

bool TControl::Focused() const {
  TForm* form = ParentForm();
  return form && form->ActiveControl() == this;
}

void TControl::SetFocus() {
  if (TForm* form = ParentForm()) form->FocusControl(this);
}

void TControl::Click() {
  if (OnClick) {
    TNotifyEvent handler = OnClick;
    handler(*this);
  }
}

void TControl::KeyDown(TKey& key, TShiftState shift) {
  if (OnKeyDown) {
    TKeyEvent handler = OnKeyDown;
    handler(*this, key, shift);
  }
}

void TControl::KeyPress(std::string& key) {
  if (OnKeyPress) {
    TKeyPressEvent handler = OnKeyPress;
    handler(*this, key);
  }
}

void TControl::MouseClick(int, int) { Click(); }

void TControl::DoEnter() {
  if (OnEnter) {
    TNotifyEvent handler = OnEnter;
    handler(*this);
  }
}

void TControl::DoExit() {
  if (OnExit) {
    TNotifyEvent handler = OnExit;
    handler(*this);
  }
}

void TControl::Changed() { ++version_; }

}  // namespace fw
