#include "forms/application.h"

#include <algorithm>

#include "forms/interaction.h"

namespace fw {

TApplication::TApplication() : TComponent(nullptr) { SetName("Application"); }

TApplication::~TApplication() = default;

TApplication& Application() {
  static TApplication* application = new TApplication();  // lives for the process
  return *application;
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

void TApplication::Post(std::function<void()> message) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(message));
  }
  arrived_.notify_one();
}

void TApplication::PostClose(TForm& form) {
  TForm* target = &form;
  Post([target] {
    if (Screen().HasForm(target)) target->Close();
  });
}

void TApplication::PostRelease(TForm& form) {
  TForm* target = &form;
  Post([target] {
    if (Screen().HasForm(target)) delete target;
  });
}

bool TApplication::ProcessMessage(bool wait) {
  std::function<void()> message;
  {
    std::unique_lock lock(mutex_);
    if (wait) arrived_.wait(lock, [this] { return !queue_.empty() || terminated_; });
    if (queue_.empty()) return false;
    message = std::move(queue_.front());
    queue_.pop_front();
  }
  try {
    message();
  } catch (const EModalStall&) {
    throw;  // a test left a modal window without input: fail loudly
  } catch (...) {
    HandleException(std::current_exception());
  }
  if (OnIdle) OnIdle();
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage(false)) {
  }
}

void TApplication::Run() {
  while (!Terminated()) ProcessMessage(true);
}

void TApplication::Terminate() {
  {
    std::lock_guard lock(mutex_);
    terminated_ = true;
  }
  arrived_.notify_all();
}

bool TApplication::Terminated() const {
  std::lock_guard lock(mutex_);
  return terminated_;
}

void TApplication::HandleException(const std::exception_ptr& error) {
  if (OnException && OnException(error)) return;
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    Interaction().ShowError(e.what());
  } catch (...) {
    Interaction().ShowError("Erro desconhecido.");
  }
}

void TApplication::RunModal(TForm& form) {
  // The form was shown by a running handler: let the display show it
  // before the loop waits for the operator's input.
  if (OnIdle) OnIdle();
  while (Screen().HasForm(&form) && form.Modal() && form.ModalResult() == mrNone &&
         form.Visible()) {
    if (ProcessMessage(Interactive)) continue;
    if (Terminated()) {
      form.SetModalResult(mrCancel);
      break;
    }
    throw EModalStall("A janela '" + form.Name() + "' ficou aberta sem resposta do operador.");
  }
}

TControl* TScreen::ActiveControl() const {
  return activeForm_ ? activeForm_->ActiveControl() : nullptr;
}

bool TScreen::HasForm(const TForm* form) const {
  return std::find(forms_.begin(), forms_.end(), form) != forms_.end();
}

void TScreen::Remove(TForm* form) {
  std::erase(forms_, form);
  if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::Activate(TForm* form) {
  if (form == activeForm_) return;
  TForm* previous = activeForm_;
  activeForm_ = form;
  if (previous) previous->Deactivated();
  if (form) form->Activated();
}

}  // namespace fw
