// Compact declarations of a form's controls: each helper creates one named
// control owned by the form, places it in its parent at the given bounds
// and sets what the declaration says, so a screen's composition reads as a
// list of its parts rather than as code. The helpers set properties only;
// they bind no behaviour. Raises what the component model raises (a name
// used twice). User-interface thread only.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "forms/control.h"
#include "forms/form.h"

namespace composer {

struct TBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

enum TFlag : unsigned {
  kDisabled = 1u << 0,
  kHidden = 1u << 1,
  kAlignTop = 1u << 2,
  kAlignBottom = 1u << 3,
  kAlignClient = 1u << 4,
};

// Creates `name` of type T owned by `form`, inside `parent`.
template <class T>
T& Place(fw::TForm& form, const std::string& name, fw::TControl* parent, TBox box,
         unsigned flags = 0) {
  T& control = form.Create<T>(name);
  control.SetBounds(box.Left, box.Top, box.Width, box.Height);
  control.SetParent(parent);
  if (flags & kAlignTop) control.SetAlign(fw::TAlign::alTop);
  if (flags & kAlignBottom) control.SetAlign(fw::TAlign::alBottom);
  if (flags & kAlignClient) control.SetAlign(fw::TAlign::alClient);
  if (flags & kDisabled) control.SetEnabled(false);
  if (flags & kHidden) control.SetVisible(false);
  return control;
}

// As Place, with a caption.
template <class T>
T& Captioned(fw::TForm& form, const std::string& name, fw::TControl* parent, TBox box,
             const std::string& caption, unsigned flags = 0) {
  T& control = Place<T>(form, name, parent, box, flags);
  control.SetCaption(caption);
  return control;
}

}  // namespace composer
