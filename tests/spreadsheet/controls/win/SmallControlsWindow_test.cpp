// The captioned value edit, the prompt line and the split speed button on a
// form under Wine: spin keys and the spin glyph, typed values, Up and Down
// between fields, Esc, the ellipsis button, "*" and Enter and Esc in the
// prompt line, the split button's zones; then a picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "spreadsheet/controls/win/PromptWindow.h"
#include "spreadsheet/controls/win/SplitButtonWindow.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

template <class T>
T* Place(TForm& form, TRect bounds) {
  auto* control = new T(&form);
  control->SetParent(&form);
  control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  return control;
}

TEST(SmallControlsWindow, ValueEditsPromptLineAndSplitButtonOnAForm) {
  uikit::TEventLog log;
  TForm form(nullptr, "Controls");
  form.Position = TPosition::poDesigned;
  form.SetBounds(20, 20, 460, 220);
  auto* rate = Place<TPEdit>(form, {10, 10, 210, 33});
  auto* term = Place<TPEdit>(form, {10, 40, 210, 63});
  auto* prompt = Place<Tprompt>(form, {10, 80, 430, 104});
  auto* split = Place<Tspdbtn>(form, {10, 120, 34, 144});
  rate->SetMargin(80);
  rate->SetCaption("Interest rate");
  rate->SetButton(true);
  rate->SetUpdn(true);
  rate->Model().SetInc(1);
  rate->SetText("99");
  term->SetMargin(80);
  term->SetEllipse(true);
  term->SetCaption("Term of the loan in months");
  term->SetButton(true);
  term->OnDblClick = log.Notify("ellipsis");
  prompt->SetCaption("GOTO: Specify Cell");
  prompt->SetItems({"A1", "B2"});
  prompt->SetColor(clNavy);
  prompt->SetFont(TFont{"MS Sans Serif", -11, fsBold, clWhite});
  prompt->Onaccept = log.Notify("accept");
  prompt->Oncancel = log.Notify("cancel");
  split->Model().SetMode(Tspmode::Vert);
  split->Model().OnUpclick = [&] { log.Lines.push_back("up"); };
  split->Model().OnDnclick = [&] { log.Lines.push_back("down"); };
  form.Show();
  uikit::RunUntilIdle();

  // Spin keys and the glyph step by Inc; MaxVal 0 sets no upper limit.
  HWND rateEdit = rate->Edit().Handle(), termEdit = term->Edit().Handle();
  rate->Edit().SetFocus();
  uikit::RunUntilIdle();
  EXPECT_EQ(rate->Label().Font().Color, clBlue);
  uikit::PressKey(rateEdit, VK_PRIOR);
  EXPECT_EQ(rate->Text(), "100");
  uikit::PressKey(rateEdit, VK_NEXT);
  uikit::PressKey(rateEdit, VK_NEXT);
  EXPECT_EQ(rate->Vali(), 98);
  const TRect zone = rate->Model().ButtonZone;
  uikit::MouseDown(rate->Handle(), {zone.Left + 5, 3});
  EXPECT_EQ(rate->Vali(), 99);
  uikit::MouseUp(rate->Handle(), {zone.Left + 5, 3});
  rate->SetText("");
  uikit::TypeChars(rateEdit, "2.5");
  EXPECT_DOUBLE_EQ(PEditTextToReal(rate->Text(), '.'), 2.5);

  // Down and Up move between the fields; Esc empties, then goes back.
  rate->Edit().SetFocus();
  uikit::PressKey(rateEdit, VK_DOWN);
  EXPECT_TRUE(term->Edit().Focused());
  EXPECT_EQ(rate->Label().Font().Color, clBlack);
  uikit::PressKey(termEdit, VK_DOWN);
  EXPECT_TRUE(term->Edit().Focused()) << "the next component is no value edit";
  term->SetText("36");
  uikit::PressKey(termEdit, VK_ESCAPE);
  EXPECT_EQ(term->Text(), "");
  uikit::PressKey(termEdit, VK_ESCAPE);
  EXPECT_TRUE(rate->Edit().Focused());
  EXPECT_NE(term->Label().Caption(), term->Caption()) << "shortened to its margin";
  EXPECT_EQ(term->Label().Caption().substr(term->Label().Caption().size() - 3), "...");
  uikit::Click(term->Handle(), {term->Model().ButtonZone.Left + 10, 10});

  // The prompt line: "*" switches to the edit, Enter accepts, Esc cancels.
  prompt->FocusInput();
  uikit::TypeChars(prompt->Combo().Handle(), "*");
  EXPECT_TRUE(prompt->Mode());
  EXPECT_TRUE(IsWindowVisible(prompt->Edit().Handle()));
  uikit::TypeChars(prompt->Edit().Handle(), "B7\r");
  EXPECT_EQ(prompt->Text(), "B7");
  uikit::TypeChars(prompt->Edit().Handle(), "\x1b*");
  EXPECT_FALSE(prompt->Mode());
  EXPECT_NE(prompt->Text(), "B7") << "the combo box's text in combo mode";

  // The split button: upper half, lower half, the dividing line.
  for (int y : {5, 20, 12}) uikit::Click(split->Handle(), {12, y});
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"ellipsis", "accept", "cancel", "up", "down"}));

  EXPECT_NE(uikit::SaveWindowPicture(form.Handle(), "value-edit-prompt-split-button"), "");
}

}  // namespace
}  // namespace corvane
