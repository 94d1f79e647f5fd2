#include "forms/form.h"

#include <algorithm>

#include "forms/accelerators.h"
#include "forms/application.h"
#include "forms/interaction.h"
#include "forms/menus.h"

namespace fw {

TForm::TForm(TComponent* owner) : TControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 640, 480);
  Screen().Add(this);
}

TForm::~TForm() {
  if (OnDestroy) {
    try {
      OnDestroy(*this);
    } catch (...) {
      // A destructor must not throw; the form goes away regardless.
    }
  }
  // The owned controls go away after this body: drop the callbacks that
  // would reach into this form.
  if (activeControl_) activeControl_->RemoveFreeNotification(activeNotification_);
  if (initialControl_) initialControl_->RemoveFreeNotification(initialNotification_);
  activeControl_ = initialControl_ = nullptr;
  Screen().Remove(this);
  if (Application().MainForm == this) Application().MainForm = nullptr;
}

void TForm::DoCreate() {
  if (OnCreate) {
    TNotifyEvent handler = OnCreate;
    handler(*this);
  }
}

// ---------------------------------------------------------------------------
// Life

void TForm::Show() {
  if (windowState_ == TWindowState::wsMinimized) SetWindowState(TWindowState::wsNormal);
  bool wasVisible = Visible();
  SetVisible(true);
  if (!wasVisible && OnShow) {
    TNotifyEvent handler = OnShow;
    handler(*this);
  }
  Screen().Activate(this);
}

int TForm::ShowModal() {
  if (modal_) throw Exception("A janela '" + Name() + "' já está aberta.");
  TForm* previous = Screen().ActiveForm();
  modal_ = true;
  modalResult_ = mrNone;
  // The operator works in the modal form with the normal cursor; the
  // caller's cursor comes back when it closes.
  const TCursor cursor = Screen().Cursor;
  Screen().Cursor = crDefault;
  try {
    Show();
    Application().RunModal(*this);
  } catch (...) {
    Screen().Cursor = cursor;
    modal_ = false;
    if (Screen().HasForm(this)) Hide();
    if (previous && Screen().HasForm(previous)) Screen().Activate(previous);
    throw;
  }
  Screen().Cursor = cursor;
  modal_ = false;
  int result = modalResult_;
  if (Screen().HasForm(this) && Visible()) Hide();
  if (previous && Screen().HasForm(previous) && previous != this) Screen().Activate(previous);
  return result;
}

void TForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) {
    TCloseQueryEvent handler = OnCloseQuery;
    handler(*this, canClose);
  }
  if (!canClose) {
    modalResult_ = mrNone;
    return;
  }
  TCloseAction action = FormStyle == TFormStyle::fsMDIChild ? TCloseAction::caMinimize
                                                           : TCloseAction::caHide;
  if (OnClose) {
    TCloseEvent handler = OnClose;
    handler(*this, action);
  }
  switch (action) {
    case TCloseAction::caNone: modalResult_ = mrNone; return;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); return;
    case TCloseAction::caHide: break;
    case TCloseAction::caFree: Release(); break;
  }
  if (modal_ && modalResult_ == mrNone) modalResult_ = mrCancel;
  Hide();
}

void TForm::Hide() {
  SetVisible(false);
  if (Screen().ActiveForm() == this) Screen().Activate(nullptr);
}

void TForm::Release() { Application().PostRelease(*this); }

void TForm::SetWindowState(TWindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  Changed();
}

void TForm::SetPlacement(TWindowState state, const std::optional<TRect>& bounds) {
  std::optional<TRect> target = bounds;
  if (state == TWindowState::wsMaximized && windowState_ != TWindowState::wsMaximized)
    restoreBounds_ = BoundsRect();
  if (state == TWindowState::wsNormal && windowState_ == TWindowState::wsMaximized && !target)
    target = restoreBounds_;
  SetWindowState(state);
  if (target) SetBounds(target->Left, target->Top, target->Width(), target->Height());
}

bool TForm::Active() const { return Screen().ActiveForm() == this; }

void TForm::Repaint() { Changed(); }

void TForm::Activated() {
  if (OnActivate) {
    TNotifyEvent handler = OnActivate;
    handler(*this);
  }
  if (!activeControl_ && Active()) FocusInitialControl();
  Changed();
}

void TForm::Deactivated() {
  if (OnDeactivate) {
    TNotifyEvent handler = OnDeactivate;
    handler(*this);
  }
}

// ---------------------------------------------------------------------------
// Focus

void TForm::FocusInitialControl() {
  if (initialControl_ && initialControl_->CanFocus()) {
    FocusControl(initialControl_);
    return;
  }
  for (TControl* c : TabOrderList())
    if (c->CanFocus()) {
      FocusControl(c);
      return;
    }
}

void TForm::SetActiveControl(TControl* control) {
  if (!Visible()) {
    if (initialNotification_ && initialControl_)
      initialControl_->RemoveFreeNotification(initialNotification_);
    initialControl_ = control;
    initialNotification_ =
        control ? control->FreeNotification([this] { initialControl_ = nullptr; }) : 0;
    return;
  }
  FocusControl(control);
}

void TForm::FocusControl(TControl* target) {
  if (target == activeControl_ || (target && !target->CanFocus())) return;
  if (target && target->ParentForm() != this) return;
  TControl* old = activeControl_;
  if (old && !exiting_) {
    exiting_ = true;
    try {
      old->DoExit();  // an exception keeps the focus on old
    } catch (...) {
      exiting_ = false;
      throw;
    }
    exiting_ = false;
    if (activeControl_ != old) return;  // the exit handler moved the focus itself
  }
  if (old) {
    old->RemoveFreeNotification(activeNotification_);
    old->Changed();
  }
  activeControl_ = target;
  activeNotification_ = 0;
  if (target) {
    activeNotification_ = target->FreeNotification([this] { activeControl_ = nullptr; });
    target->Changed();
    target->DoEnter();
  }
}

std::vector<TControl*> TForm::TabOrderList() const {
  std::vector<TControl*> list;
  std::function<void(const TControl*)> walk = [&](const TControl* parent) {
    std::vector<TControl*> children = parent->Controls();
    std::stable_sort(children.begin(), children.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder < b->TabOrder; });
    for (TControl* c : children) {
      if (c->AcceptsFocus()) list.push_back(c);
      walk(c);
    }
  };
  walk(this);
  return list;
}

void TForm::SelectNext(bool forward) {
  std::vector<TControl*> list = TabOrderList();
  std::erase_if(list, [this](TControl* c) { return c != activeControl_ && (!c->CanFocus() || !c->TabStop); });
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), activeControl_);
  size_t n = list.size();
  size_t index = it == list.end() ? (forward ? n - 1 : 0) : static_cast<size_t>(it - list.begin());
  for (size_t step = 1; step <= n; ++step) {
    TControl* candidate = list[(index + (forward ? step : n - step)) % n];
    if (candidate != activeControl_) {
      FocusControl(candidate);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Keys

void TForm::KeyDown(TKey& key, TShiftState shift) {
  if (KeyPreview) TControl::KeyDown(key, shift);
  if (key == 0) return;
  if (Menu && Menu->DispatchShortCut({key, shift})) {
    key = 0;
    return;
  }
  if ((shift & ssAlt) && !(shift & ssCtrl) && key < 128 &&
      DispatchAccelerator(*this, static_cast<char>(key))) {
    key = 0;
    return;
  }
  if (key == VK_TAB && !(shift & (ssCtrl | ssAlt))) {
    bool consumed = false;
    if (activeControl_ && activeControl_->WantsTab()) {
      activeControl_->KeyDown(key, shift);
      consumed = key == 0;
    }
    if (!consumed) SelectNext(!(shift & ssShift));
    key = 0;
    return;
  }
  if (activeControl_) activeControl_->KeyDown(key, shift);
}

void TForm::KeyPress(std::string& key) {
  if (KeyPreview) TControl::KeyPress(key);
  if (!key.empty() && activeControl_) activeControl_->KeyPress(key);
}

}  // namespace fw
