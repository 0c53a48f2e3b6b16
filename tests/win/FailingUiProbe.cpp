// A UI test that always fails: on the UI kit's desktop, as the UI tests are,
// it shows a window, types into it and then reports a failure.
// wine_run_ui_failure_test runs it through the Wine wrapper, which must pass
// the failure on.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"
#include "tests/support/win/UiKit.h"

TEST(FailingUiProbe, FailsWithItsMessage) {
  char desktop[64] = "";
  GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop, nullptr);
  ASSERT_STREQ(desktop, "corvane-ui");
  HWND window = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  uikit::PressKey(window, 'A');
  DestroyWindow(window);
  ADD_FAILURE() << "probe failure: the wrapper must show this";
}
