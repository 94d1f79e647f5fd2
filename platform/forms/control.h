// TControl: a visual element of a window.
//
// A control has a parent (the control it sits in; null for a form or a
// control not placed yet), bounds relative to its parent, an alignment
// that lets the parent lay it out (alTop, alBottom, alLeft, alRight,
// alClient fill the parent's client area in creation order, as desktop
// layouts do), visibility, enabling, caption, colour, font, hint and a
// place in the tab order. Ownership is the owner's (TComponent); the parent
// only places the control. A control is usable only when it and every
// parent are enabled, and shown only when it and every parent are visible.
//
// Focus: a control that accepts the focus (AcceptsFocus) can take it when
// it is shown and usable (CanFocus). SetFocus asks the parent form to move
// the focus; a control that cannot take it leaves the focus where it is.
// Moving the focus runs the old control's OnExit, then the new one's
// OnEnter; an exception from OnExit keeps the focus where it was and
// passes on (see TForm::FocusControl).
//
// Every change of what a control shows bumps its Version(), which the
// display uses to send only what changed. Not thread-safe: user-interface
// thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/graphics.h"
#include "forms/keys.h"

namespace fw {

class TForm;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

using TNotifyEvent = std::function<void(TComponent& sender)>;
using TKeyEvent = std::function<void(TComponent& sender, TKey& key, TShiftState shift)>;
// Key is the typed character (UTF-8); a handler may change or clear it.
using TKeyPressEvent = std::function<void(TComponent& sender, std::string& key)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Placement.
  TControl* Parent() const { return parent_; }
  void SetParent(TControl* parent);
  const std::vector<TControl*>& Controls() const { return children_; }
  TForm* ParentForm() const;

  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  TRect BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  // The area children are laid out in, in this control's coordinates.
  virtual TRect ClientRect() const { return {0, 0, Width(), Height()}; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  // Lays the aligned children out again (runs on every change that needs it).
  void Realign();

  // State.
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool Showing() const;  // it and every parent visible
  bool Usable() const;   // it and every parent enabled
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  std::string Hint;
  bool ShowHint = false;
  bool TabStop = false;
  int TabOrder = 0;  // smaller first among siblings; ties keep creation order

  // Focus.
  virtual bool AcceptsFocus() const { return false; }
  // Whether Tab is the control's own key (a grid moving between cells)
  // rather than a move to the next control.
  virtual bool WantsTab() const { return false; }
  bool CanFocus() const { return AcceptsFocus() && Showing() && Usable(); }
  bool Focused() const;
  void SetFocus();

  // Events and the operator's input. Click runs OnClick (as the
  // operator's click does when the control is usable).
  TNotifyEvent OnClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  virtual void Click();
  // A key pressed while this control has the focus (after the form's
  // preview and shortcuts). The default runs OnKeyDown.
  virtual void KeyDown(TKey& key, TShiftState shift);
  // A character typed while this control has the focus.
  virtual void KeyPress(std::string& key);
  // A click of the operator at (x, y) in this control's coordinates.
  virtual void MouseClick(int x, int y);
  // A double-click (after the two clicks it is made of); nothing by default.
  virtual void MouseDoubleClick(int, int) {}
  // The mouse pressed at (fromX, fromY) and let go at (toX, toY);
  // nothing by default.
  virtual void MouseDrag(int, int, int, int) {}

  unsigned long Version() const { return version_; }
  // A short name of the control's kind for the display ("edit", "grid").
  virtual const char* Kind() const { return "control"; }

 protected:
  // Records that what the control shows changed.
  void Changed();
  virtual void DoEnter();
  virtual void DoExit();
  friend class TForm;

 private:
  TControl* parent_ = nullptr;
  std::vector<TControl*> children_;
  TRect bounds_{0, 0, 100, 25};
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  TColor color_ = clBtnFace;
  TFont font_;
  unsigned long version_ = 1;
};

}  // namespace fw
