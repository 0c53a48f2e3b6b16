// The value edit's conversions, spin and keys, the prompt line's keys and
// caption, and the split button's zones and repeat.
#include <gtest/gtest.h>

#include "classlib/RecordingControlHost.h"
#include "spreadsheet/controls/Prompt.h"
#include "spreadsheet/controls/SplitButton.h"
#include "spreadsheet/controls/ValueEdit.h"

namespace corvane {
namespace {

using classlib::TMouseButton;
using classlib::TRecordingControlHost;
namespace vk = classlib::vk;

TEST(ValueEdit, TextAndValuesConvertTheSameWayInEveryBuild) {
  struct {
    double value;
    bool whole;
    char separator;
    const char* text;
  } rows[] = {
      {2.5, true, '.', "2"},      {3.5, true, '.', "4"},         {-0.4, true, '.', "0"},
      {2.5, false, '.', "2.5"},   {2.5, false, ',', "2,5"},      {0.1 + 0.2, false, '.', "0.3"},
      {100, false, '.', "100"},   {1.5e20, false, '.', "1.5E+20"}, {1e-7, false, ',', "1E-07"},
      {-12.75, false, '.', "-12.75"},
  };
  for (auto& r : rows) {
    EXPECT_EQ(PEditRealToText(r.value, r.whole, r.separator), r.text);
    if (!r.whole) {
      EXPECT_DOUBLE_EQ(PEditTextToReal(r.text, r.separator), r.value);
    }
  }
  struct {
    const char* text;
    char separator;
    double value;
  } reads[] = {{" 2.5 ", '.', 2.5}, {"abc", '.', 0}, {"", '.', 0}, {"1,2,3", ',', 0}, {"+4", '.', 4}, {"1e999", '.', 0}};
  for (auto& r : reads) EXPECT_EQ(PEditTextToReal(r.text, r.separator), r.value) << r.text;
  EXPECT_EQ(PEditTextToInt(" 42"), 42);
  EXPECT_EQ(PEditTextToInt("4.2"), 0);
  EXPECT_EQ(PEditTextToInt("99999999999"), 0);
}

TEST(ValueEdit, AMistypedValueIsRefusedWithABeepAndThePreviousOneStays) {
  TRecordingControlHost host{100, 20};
  TValueEditModel edit{host};
  std::string text;
  edit.ReadText = [&] { return text; };
  edit.WriteText = [&](const std::string& s) { text = s; };
  edit.SetVali(12);
  for (const char* typed : {"abc", "1,234.5", "99999999999", "4.2"}) {
    text = typed;
    EXPECT_EQ(edit.Vali(), 12) << typed;
    EXPECT_EQ(text, "12") << typed;
  }
  EXPECT_EQ(host.Beeps.size(), 4u);
  text = "7";
  EXPECT_EQ(edit.Vali(), 7) << "a good value typed becomes the one kept";
  text = "x7";
  EXPECT_EQ(edit.Vali(), 7);
  text = "";
  EXPECT_EQ(edit.Vali(), 0) << "an empty field holds 0";
  edit.SetValr(2.5);
  for (const char* typed : {"abc", "1,234.5", "1e999"}) {
    text = typed;
    EXPECT_EQ(edit.Valr(), 2.5) << typed;
    EXPECT_EQ(text, "2.5") << typed;
  }
  EXPECT_EQ(host.Beeps.size(), 8u);
}

TEST(ValueEdit, SpinStepsWithinTheLimitsAndMaxZeroMeansNoLimit) {
  TRecordingControlHost host{100, 20};
  TValueEditModel edit{host};
  std::string text = "0";
  edit.ReadText = [&] { return text; };
  edit.WriteText = [&](const std::string& s) { text = s; };
  int exits = 0;
  edit.AfterSpin = [&] { ++exits; };
  edit.Updn = edit.Button = true;
  edit.SetInc(1);
  edit.KeyDown(vk::Next);
  EXPECT_EQ(text, "0");
  text = "99";
  edit.KeyDown(vk::Prior);
  EXPECT_EQ(text, "100");
  edit.MaxVal = 100;
  edit.KeyDown(vk::Prior);
  EXPECT_EQ(text, "100");
  EXPECT_EQ(exits, 3);

  // The glyph's rising diagonal splits it: above steps up, below down.
  edit.ButtonZone = {80, 0, 100, 20};
  text = "5";
  edit.MouseDown(TMouseButton::mbLeft, 85, 3);
  EXPECT_EQ(edit.HotPart(), 1);
  EXPECT_EQ(text, "6");
  EXPECT_EQ(host.Timers().at(TValueEditModel::kRepeatTimer), 400u);
  edit.Timer(TValueEditModel::kRepeatTimer);
  EXPECT_EQ(host.Timers().at(TValueEditModel::kRepeatTimer), 100u);
  EXPECT_EQ(text, "7");
  edit.MouseUp(TMouseButton::mbLeft, 85, 3);
  EXPECT_FALSE(host.TimerRunning(TValueEditModel::kRepeatTimer));
  edit.MouseDown(TMouseButton::mbLeft, 90, 14);
  EXPECT_EQ(text, "6");
  edit.MouseUp(TMouseButton::mbLeft, 90, 14);
  edit.MouseDown(TMouseButton::mbLeft, 88, 8);  // on the diagonal
  EXPECT_EQ(edit.HotPart(), 0);
  EXPECT_EQ(text, "6");
  edit.MouseUp(TMouseButton::mbLeft, 88, 8);

  EXPECT_EQ(edit.KeyDown(vk::Escape), TPEditKey::Handled);
  EXPECT_EQ(text, "");
  EXPECT_EQ(edit.KeyDown(vk::Escape), TPEditKey::RestoreFocus);
  edit.oncalc = [](std::string& t) { t = "=" + t; };
  text = "7";
  edit.KeyDown(vk::F9);
  EXPECT_EQ(text, "=7");
}

TEST(ValueEdit, EllipsisReleasedOnTheButtonFiresAndLongCaptionsShorten) {
  TRecordingControlHost host{100, 20};
  TValueEditModel edit{host};
  edit.Button = true;
  edit.ButtonZone = PEditLayoutFor(100, 20, 30, true).ButtonZone;
  EXPECT_EQ(edit.ButtonZone, (classlib::TRect{80, 0, 100, 20}));
  int clicks = 0;
  edit.OnDblClick = [&] { ++clicks; };
  edit.MouseDown(TMouseButton::mbLeft, 90, 10);
  EXPECT_EQ(edit.HotPart(), 1);
  edit.MouseMove(50, 10);
  EXPECT_EQ(edit.HotPart(), 0);
  edit.MouseUp(TMouseButton::mbLeft, 50, 10);
  edit.MouseDown(TMouseButton::mbLeft, 90, 10);
  edit.MouseUp(TMouseButton::mbLeft, 92, 12);
  EXPECT_EQ(clicks, 1);

  auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 5; };
  EXPECT_EQ(PEditFitCaption("Short", 40, width), "Short");
  EXPECT_EQ(PEditFitCaption("Interest rate", 40, width), "Inter...");
  EXPECT_EQ(PEditFitCaption("Interest rate", 5, width), "...");
}

TEST(PromptLine, StarTogglesEnterAcceptsEscCancelsAndCaptionsAreCut) {
  TRecordingControlHost host{400, 24};
  TPromptModel prompt{host};
  std::vector<std::string> events;
  prompt.Onaccept = [&] { events.push_back("accept"); };
  prompt.Oncancel = [&] { events.push_back("cancel"); };
  prompt.OnModeChange = [&](bool edit) { events.push_back(edit ? "edit" : "combo"); };
  EXPECT_TRUE(prompt.KeyPress('*'));
  EXPECT_TRUE(prompt.KeyPress('*'));
  EXPECT_FALSE(prompt.KeyPress('a'));
  EXPECT_TRUE(prompt.KeyPress('\r'));
  EXPECT_TRUE(prompt.KeyPress('\x1b'));
  EXPECT_EQ(events, (std::vector<std::string>{"edit", "combo", "accept", "cancel"}));
  prompt.SetCaption(std::string(50, 'x'));
  EXPECT_EQ(prompt.Caption().size(), 40u);

  TPromptLayout l = prompt.Layout();
  EXPECT_EQ(l.Accept, (classlib::TRect{400 - 2 - 3 - 2 * 21, 1, 400 - 5 - 42 + 21, 22}));
  EXPECT_EQ(l.Cancel.Left, l.Accept.Left + 22);
  EXPECT_EQ(l.Input.Right, l.Accept.Left - 1);
}

TEST(SplitButton, ZonesFollowTheModeAndRepeatWhileHeld) {
  TRecordingControlHost host{24, 24};
  TSplitButtonModel button{host};
  std::string fired;
  button.OnUpclick = [&] { fired += 'U'; };
  button.OnDnclick = [&] { fired += 'D'; };
  button.OnClick = [&] { fired += 'C'; };
  struct {
    Tspmode mode;
    int x, y;
    const char* fires;
  } rows[] = {{Tspmode::Vert, 12, 5, "U"},  {Tspmode::Vert, 12, 20, "D"}, {Tspmode::Vert, 12, 12, ""},
              {Tspmode::Horiz, 3, 12, "U"}, {Tspmode::Horiz, 12, 3, ""},  {Tspmode::Diag, 5, 5, "U"},
              {Tspmode::Diag, 20, 20, "D"}, {Tspmode::Diag, 12, 12, ""},  {Tspmode::None, 12, 12, "C"}};
  for (auto& r : rows) {
    fired.clear();
    button.SetMode(r.mode);
    button.MouseDown(TMouseButton::mbLeft, r.x, r.y);
    button.MouseUp(TMouseButton::mbLeft, r.x, r.y);
    EXPECT_EQ(fired, r.fires) << r.x << "," << r.y;
  }

  fired.clear();
  button.SetMode(Tspmode::Vert);
  button.SetRep(true);
  button.MouseDown(TMouseButton::mbLeft, 12, 20);
  EXPECT_EQ(host.Timers().at(TSplitButtonModel::kRepeatTimer), 400u);
  button.Timer(TSplitButtonModel::kRepeatTimer);
  EXPECT_EQ(host.Timers().at(TSplitButtonModel::kRepeatTimer), 100u);
  button.Timer(TSplitButtonModel::kRepeatTimer);
  button.MouseUp(TMouseButton::mbLeft, 12, 20);
  button.Timer(TSplitButtonModel::kRepeatTimer);
  EXPECT_EQ(fired, "DDD");

  button.SetGlyphSize(48, 16);
  button.MouseDown(TMouseButton::mbLeft, 12, 20);
  EXPECT_EQ(button.GlyphSource(), (classlib::TRect{32, 0, 48, 16}));
  EXPECT_EQ(button.GlyphDest(), (classlib::TRect{4, 4, 20, 20}));
  button.MouseUp(TMouseButton::mbLeft, 12, 20);
  button.SetGlyphSize(1, 16);
  EXPECT_FALSE(button.HasGlyph());
}

}  // namespace
}  // namespace corvane
