// TForm: a window — the confirmation screen, a dialog, the host's main
// window.
//
// Life: a form is created through TApplication::CreateForm, which builds
// it (the constructor composes its components and registers its
// handlers), then runs OnCreate; a failure there destroys it and passes
// on. Show makes it visible and the active form (OnActivate runs each time
// it becomes the active form; afterwards, when no control has the focus,
// the initial ActiveControl or the first control in tab order gets it).
// ShowModal runs a nested message loop on the user-interface thread until
// ModalResult is set or the form is closed, and returns ModalResult.
// Close asks OnCloseQuery, runs OnClose with the default action (caHide;
// caFree releases the form after the running handler returns), hides
// it. Release frees the form once the running handler has returned.
//
// Focus: FocusControl moves the focus (exit handler of the old control,
// then enter handler of the new; an exception from the exit handler keeps
// the focus and passes on). Keys: KeyDown first offers the key to the
// form's OnKeyDown when KeyPreview is set, then to the menu's shortcuts,
// then Alt with a caption's accelerator acts on that control
// (accelerators.h), then Tab/Shift+Tab move the focus in tab order, then
// the focused control gets it.
//
// Handlers by name: a form registers its handlers under their names
// (Register); components bind events to names (Handler<Sig>(name)), which
// looks the name up when the event fires, so a derived form that
// registers the same name replaces the base form's handler and an empty
// one switches it off. Not thread-safe: user-interface thread only.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/errors.h"
#include "forms/control.h"

namespace fw {

class TMainMenu;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild };

using TCloseEvent = std::function<void(TComponent& sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent& sender, bool& canClose)>;

class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  bool KeyPreview = false;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  TMainMenu* Menu = nullptr;

  // Life.
  void Show();
  int ShowModal();
  void Close();
  void Hide();
  void Release();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);
  // The operator's window buttons, title bar and border: the state, and
  // the bounds it takes (the page computes a maximised window's). Leaving
  // the maximised state without bounds brings back the bounds it had
  // before; minimising keeps the bounds.
  void SetPlacement(TWindowState state, const std::optional<TRect>& bounds);
  bool Active() const;
  // Redraws the form now (the display sends pending changes).
  void Repaint();
  void Refresh() { Repaint(); }

  // Focus.
  TControl* ActiveControl() const { return activeControl_; }
  // Before the form is shown: the control that gets the focus first.
  // While it is shown: moves the focus there, as FocusControl.
  void SetActiveControl(TControl* control);
  void FocusControl(TControl* target);
  // Moves the focus to the next (or previous) focusable control.
  void SelectNext(bool forward);
  std::vector<TControl*> TabOrderList() const;

  // Input from the operator.
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(std::string& key) override;

  // Handlers by name.
  template <class Sig>
  void Register(const std::string& name, std::function<Sig> handler) {
    handlers_[name] = std::move(handler);
  }
  template <class Sig>
  std::function<Sig> Handler(const std::string& name) {
    return [this, name](auto&&... args) {
      auto it = handlers_.find(name);
      if (it == handlers_.end())
        throw Exception("Manipulador '" + name + "' não registrado em '" + this->Name() + "'.");
      auto* fn = std::any_cast<std::function<Sig>>(&it->second);
      if (!fn) throw Exception("Manipulador '" + name + "' com assinatura diferente.");
      if (*fn) return (*fn)(std::forward<decltype(args)>(args)...);
      return decltype((*fn)(std::forward<decltype(args)>(args)...))();
    };
  }
  bool HasHandler(const std::string& name) const { return handlers_.count(name) > 0; }
  // An event bound to a name that may have no handler: runs the handler
  // registered under `name` when the event fires, nothing while none is
  // registered (or an empty one switched it off).
  // The event keeps the name as a pointer into the form's names, so a
  // copy of it (a grid copies its cell event for every cell) takes no
  // memory, and a call looks the handler up once.
  template <class Sig>
  std::function<Sig> OptionalHandler(const std::string& name) {
    const std::string* key = &*handlerNames_.insert(name).first;
    return [this, key](auto&&... args) {
      auto it = handlers_.find(*key);
      if (it == handlers_.end()) return;
      auto* fn = std::any_cast<std::function<Sig>>(&it->second);
      if (!fn) throw Exception("Manipulador '" + *key + "' com assinatura diferente.");
      if (*fn) (*fn)(std::forward<decltype(args)>(args)...);
    };
  }

  const char* Kind() const override { return "form"; }

 protected:
  friend class TApplication;
  friend class TScreen;
  // Runs OnCreate; called once by TApplication::CreateForm.
  virtual void DoCreate();
  void Activated();
  void Deactivated();

 private:
  void FocusInitialControl();

  TControl* activeControl_ = nullptr;
  int activeNotification_ = 0;
  bool exiting_ = false;
  TControl* initialControl_ = nullptr;
  int initialNotification_ = 0;
  bool modal_ = false;
  int modalResult_ = 0;
  bool shownOnce_ = false;
  TWindowState windowState_ = TWindowState::wsNormal;
  std::optional<TRect> restoreBounds_;
  std::map<std::string, std::any> handlers_;
  std::set<std::string> handlerNames_;  // the names OptionalHandler events keep
};

}  // namespace fw
