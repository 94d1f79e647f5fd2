// TApplication and TScreen: the process-wide objects of the user interface.
//
// TApplication owns the forms created through CreateForm, keeps the
// posted-message queue and runs the message loop. Post may be called from
// any thread (the display's server thread queues the operator's input);
// everything else runs on the user-interface thread. Posted messages run
// one at a time, after the running handler has returned: a handler that
// posts a close request sees it processed only once it is done.
//
// Modal loops: ShowModal processes messages until its form closes. When
// the queue is empty, an interactive application waits for input; a
// non-interactive one (tests) raises EModalStall, so a test that forgets
// to script the operator's answer fails instead of hanging.
//
// Errors escaping a handler run by the loop go to HandleException: a
// silent abort (EAbort) is dropped; anything else is shown to the
// operator (Interaction().ShowError) and the loop goes on. OnException,
// when set, sees each error first and may take it over by answering true
// (the host sends an operator whose session ended back to sign in).
//
// TScreen knows the forms, the active form and the mouse cursor.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/errors.h"
#include "forms/form.h"

namespace fw {

class EModalStall : public Exception {
 public:
  using Exception::Exception;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Builds a form owned by the application and runs its creation handler.
  // On failure nothing is created, ref keeps its value, and the error
  // passes on.
  template <class T, class... Args>
  T& CreateForm(T*& ref, Args&&... args) {
    T* form = new T(this, std::forward<Args>(args)...);
    try {
      form->DoCreate();
    } catch (...) {
      delete form;
      throw;
    }
    if (!MainForm) MainForm = form;
    ref = form;
    return *form;
  }

  TForm* MainForm = nullptr;
  std::string Title;
  bool Interactive = false;

  // Queues a message; thread-safe.
  void Post(std::function<void()> message);
  // Queues Close() of the form; dropped if the form is gone by then.
  void PostClose(TForm& form);
  // Queues destruction of the form.
  void PostRelease(TForm& form);
  // Runs one queued message; with wait, blocks until one arrives (or
  // Terminate). Returns false when nothing ran.
  bool ProcessMessage(bool wait);
  // Runs queued messages until the queue is empty.
  void ProcessMessages();
  // The main loop: runs messages until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const;
  // Reports an error that escaped a handler.
  void HandleException(const std::exception_ptr& error);
  // Called after every message the loop ran (the display pushes changes).
  std::function<void()> OnIdle;
  // Sees an escaped error before it is shown; true: handled.
  std::function<bool(const std::exception_ptr& error)> OnException;

 private:
  friend class TForm;
  void RunModal(TForm& form);

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
  bool terminated_ = false;
};

TApplication& Application();

enum TCursor : int { crDefault = 0, crArrow = -2, crHourGlass = -11 };

class TScreen {
 public:
  TCursor Cursor = crDefault;
  TForm* ActiveForm() const { return activeForm_; }
  TControl* ActiveControl() const;
  const std::vector<TForm*>& Forms() const { return forms_; }
  bool HasForm(const TForm* form) const;

 private:
  friend class TForm;
  void Add(TForm* form) { forms_.push_back(form); }
  void Remove(TForm* form);
  // Makes the form the active one (deactivating the previous).
  void Activate(TForm* form);
  std::vector<TForm*> forms_;
  TForm* activeForm_ = nullptr;
};

TScreen& Screen();

}  // namespace fw
