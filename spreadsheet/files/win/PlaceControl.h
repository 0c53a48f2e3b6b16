// Making a control of a dialog laid out in code: created owned by and shown
// on `parent`, at the given bounds, with an optional caption.
#pragma once

#include "classlib/win/Controls.h"

namespace corvane {

template <typename T>
T* PlaceControl(classlib::TWinControl& parent, int left, int top, int width, int height,
                const char* caption = nullptr) {
  auto* control = new T(&parent);
  control->SetBounds(left, top, width, height);
  if (caption != nullptr) control->SetCaption(caption);
  control->SetParent(&parent);
  return control;
}

}  // namespace corvane
