// The macro menu TMmenu and the input box TLbinput: the forms that macro
// commands ask the user through. Their values and rules are TMacroMenu's and
// TMacroInputBox's.
#pragma once

#include "classlib/win/Win32.h"

#include <optional>
#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/ListMenuWindow.h"
#include "spreadsheet/macros/MacroForms.h"

namespace corvane {

// A borderless pop-up list menu of items, moved by its title strip; the
// selected item's description shows in a strip below the items.
class TMmenu : public classlib::TForm {
 public:
  explicit TMmenu(classlib::TComponent* AOwner);
  // Shows the menu of `items` (with `descriptions`, one per item, "" for
  // none) modally and gives the choice: 1..n for an item, n + 1 for Esc or a
  // close.
  int Choose(const std::vector<std::string>& items, const std::vector<std::string>& descriptions = {});

  classlib::TPanel Panel1{nullptr};
  ttabmenu ttabmenu1{nullptr};            // the item list
  classlib::TPanel Panel2{nullptr};       // the title strip
  classlib::TPanel Panel3{nullptr};       // the selected item's description

  // Sizes the form to the list, selects the first item, focuses the list.
  void FormActivate();

 private:
  void DrawOutline();
  void Panel2MouseDown(int X, int Y);
  void Panel2MouseMove(int X, int Y);
  void Panel2MouseUp(int X, int Y);

  void ShowDescription();

  TMacroMenu values_;
  std::vector<std::string> descriptions_;
  int choice_ = 0;
  bool dragging_ = false;
  POINT downPoint_{};
  POINT lastPoint_{};
  RECT outline_{};  // screen coordinates
};

// The one-line input box "Input?".
class TLbinput : public classlib::TForm {
 public:
  explicit TLbinput(classlib::TComponent* AOwner);
  // Shows the box modally with `text` in its edit; the answer, none when the
  // box was closed without Ok (Esc or a close).
  std::optional<std::string> Ask(const std::string& text = "");

  classlib::TEdit Edit1{nullptr};
  classlib::TButton Button1{nullptr};

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TMacroInputBox values_;
};

}  // namespace corvane
