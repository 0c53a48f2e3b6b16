// TPromptModel: the prompt line's logic, without its windows: the caption (at
// most 40 characters), the edit-or-combo mode that "*" toggles, what Enter and
// Esc typed in the input mean, where the input and the two buttons go, and
// the panel's paint. The Windows Tprompt holds the edit, the combo box and the
// accept and cancel buttons.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The panel's outer bevel.
enum class TPromptBevel { bvNone, bvLowered, bvRaised };

struct TPromptLayout {
  TRect Input, Accept, Cancel;
};

class TPromptModel {
 public:
  static constexpr size_t kMaxCaption = 40;

  explicit TPromptModel(TControlHost& host);

  const std::string& Caption() const { return caption_; }
  // Cut to 40 characters; repaints.
  void SetCaption(std::string_view caption);
  // true: the edit is the input; false: the combo box.
  bool Mode() const { return mode_; }
  void SetMode(bool editMode);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TPromptBevel Bevelouter = TPromptBevel::bvNone;
  int Bevelwidth = 1;
  classlib::TFont Font;

  // A character typed in the input: true when the prompt line used it (the
  // window then swallows it). "*" toggles the mode, Enter accepts, Esc cancels.
  bool KeyPress(char ch);

  // Where the input and the buttons go in a panel of the host's client size.
  TPromptLayout Layout() const;
  void Paint(TCanvas& canvas);

  std::function<void()> Onaccept;
  std::function<void()> Oncancel;
  // The mode changed: the window shows the edit or the combo box.
  std::function<void(bool editMode)> OnModeChange;

 private:
  TControlHost& host_;
  std::string caption_;
  bool mode_ = false;
  TColor color_ = classlib::clBlue;
};

}  // namespace corvane
