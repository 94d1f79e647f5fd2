// Test support for the controls: a shown form to place controls on, and
// helpers that type as the operator does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/form.h"

namespace fw::testing {

// A shown, empty form; controls created on it with Place<T>(name) are
// owned by it and placed in it (or in `parent`).
struct FormTest : ::testing::Test {
  void SetUp() override {
    Application().CreateForm(form);
    form->Show();
  }
  void TearDown() override {
    delete form;
    Application().ProcessMessages();
  }
  template <class T, class... Args>
  T& Place(const std::string& name, TControl* parent = nullptr, Args&&... args) {
    T& control = form->Create<T>(name, std::forward<Args>(args)...);
    control.SetParent(parent ? parent : form);
    return control;
  }
  TForm* form = nullptr;
};

// Types each character of text into the control, as KeyPress events.
inline void Type(TControl& control, const std::string& text) {
  std::string key = text;
  control.KeyPress(key);
}

inline void Press(TControl& control, TKey key, TShiftState shift = 0) {
  control.KeyDown(key, shift);
}

}  // namespace fw::testing
