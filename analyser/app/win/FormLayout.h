// Laying out the analyser's dialogs in code: a control put at a place on its
// parent, and labelled buttons, labels and check boxes made in one call.
#pragma once

#include <string>

#include "classlib/win/StdCtrls.h"

namespace foldwick {

template <class T>
T* Place(T* control, classlib::TWinControl& parent, int left, int top, int width, int height) {
  control->SetBounds(left, top, width, height);
  control->SetParent(&parent);
  return control;
}

inline classlib::TLabel* MakeLabel(classlib::TComponent* owner, classlib::TWinControl& parent,
                                   const std::string& caption, int left, int top, int width,
                                   classlib::TWinControl* focus = nullptr) {
  auto* label = Place(new classlib::TLabel(owner), parent, left, top, width, 16);
  label->SetCaption(caption);
  if (focus != nullptr) label->SetFocusControl(focus);
  return label;
}

inline classlib::TButton* MakeButton(classlib::TComponent* owner, classlib::TWinControl& parent,
                                     const std::string& caption, int left, int top, int width,
                                     classlib::TNotifyEvent onClick = nullptr) {
  auto* button = Place(new classlib::TButton(owner), parent, left, top, width, 25);
  button->SetCaption(caption);
  button->OnClick = std::move(onClick);
  return button;
}

inline classlib::TCheckBox* MakeCheck(classlib::TComponent* owner, classlib::TWinControl& parent,
                                      const std::string& caption, int left, int top, bool checked) {
  auto* box = Place(new classlib::TCheckBox(owner), parent, left, top, 220, 20);
  box->SetCaption(caption);
  box->SetChecked(checked);
  return box;
}

}  // namespace foldwick
