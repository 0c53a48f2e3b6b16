// The fixture of the dialog tests under Wine: a real document with the fake
// window services, and a plain form standing in for the main window that the
// dialogs disable while they show.
#pragma once

#include <string>
#include <string_view>

#include "classlib/win/StdCtrls.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"
#include "tests/support/win/UiKit.h"

namespace corvane::testing {

class DialogWindowTest : public WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    main_.Position = classlib::TPosition::poDesigned;
    main_.SetBounds(0, 0, 320, 200);
    main_.Show();
  }
  bool MainEnabled() { return IsWindowEnabled(main_.Handle()) != FALSE; }
  static bool Showing(classlib::TWinControl& dialog) { return IsWindowVisible(dialog.Handle()) != FALSE; }
  static void Type(classlib::TEdit& edit, std::string_view text) {
    edit.SetFocus();
    edit.SelectAll();
    uikit::TypeChars(edit.Handle(), text);
  }
  static void Press(classlib::TWinControl& control) { uikit::Click(control.Handle(), {8, 8}); }
  std::string Contents(int row, int col) { return CellContentsText(CellFind(row, col)); }

  classlib::TForm main_{nullptr, "Corvane"};
};

}  // namespace corvane::testing
