// The table of dialogs at the keyboard.
#include "tests/support/win/DialogTable.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "classlib/win/Controls.h"
#include "classlib/win/StdCtrls.h"
#include "tests/support/win/DialogChecks.h"
#include "tests/support/win/UiKit.h"

namespace uikit {

namespace {

using classlib::TForm;
using classlib::TWinControl;

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsClass(HWND window, const char* name) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(param)->insert(window);
  return TRUE;
}
std::set<HWND> VisibleWindows() {
  std::set<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsMessageBox(HWND window) { return IsClass(window, "#32770"); }

TForm* FormOf(HWND window) { return dynamic_cast<TForm*>(TWinControl::FromHandle(window)); }

// A script waiting for the dialog that is about to open.
struct TPendingScript {
  std::set<HWND> before;
  std::function<void(HWND)> script;
  HWND dialog = nullptr;
  bool done = false;
};
TPendingScript* gPending = nullptr;

// Message boxes are answered and written down, so that a row whose command
// shows one goes on instead of waiting for ever; a modal dialog that a
// dialog's command opened in turn is cancelled.
std::vector<std::string>& StrayBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}
void CALLBACK AnswerStrayWindows(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND window : VisibleWindows()) {
    if (IsMessageBox(window)) {
      HWND text = GetDlgItem(window, 0xFFFF);
      StrayBoxes().push_back(TextOf(window) + ": " + (text != nullptr ? TextOf(text) : std::string()));
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
      continue;
    }
    TForm* form = FormOf(window);
    if (form != nullptr && form->Modal() && gPending != nullptr && gPending->dialog != nullptr &&
        gPending->dialog != window)
      form->SetModalResult(classlib::mrCancel);
  }
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR id, DWORD) {
  TPendingScript* pending = gPending;
  if (pending == nullptr || pending->dialog != nullptr) return;
  HWND dialog = GetActiveWindow();
  if (dialog == nullptr || pending->before.count(dialog) != 0 || !IsWindowVisible(dialog) || IsMessageBox(dialog))
    return;
  KillTimer(nullptr, id);
  pending->dialog = dialog;
  RunUntilIdle();
  pending->script(dialog);
  // A dialog the script left up is closed; one whose modal run has its
  // answer is left to end it.
  TForm* form = FormOf(dialog);
  const bool answered = form != nullptr && form->Modal() && form->ModalResult() != classlib::mrNone;
  if (IsWindow(dialog) && IsWindowVisible(dialog) && !answered) SendMessageA(dialog, WM_CLOSE, 0, 0);
  pending->done = true;
}

// The default button of `parent` in view, or null.
HWND DefaultButton(HWND parent) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    if (IsClass(h, "Button") && (GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return h;
    if (HWND inner = DefaultButton(h)) return inner;
  }
  return nullptr;
}

// The system's tab controls of `parent` in view.
void CollectTabControls(HWND parent, std::vector<HWND>& strips) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    if (IsClass(h, WC_TABCONTROLA)) strips.push_back(h);
    CollectTabControls(h, strips);
  }
}

int SelectedTab(HWND strip) { return static_cast<int>(SendMessageA(strip, TCM_GETCURSEL, 0, 0)); }

// Shows tab `tab` of `strip` as a user would: by its Alt letter when it shows
// one (which must bring it), else by the arrows on the strip.
void ShowTab(HWND dialog, HWND strip, int tab) {
  const std::string caption = TabCaption(strip, tab);
  if (const char letter = classlib::AcceleratorOf(caption)) {
    PressKey(GetFocus() != nullptr ? GetFocus() : dialog, letter, classlib::ssAlt);
    EXPECT_EQ(SelectedTab(strip), tab) << "Alt+" << letter << " shows the tab " << caption;
  }
  if (SelectedTab(strip) == tab) return;
  SetFocus(strip);
  const int count = static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0));
  for (int step = 0; step < count && SelectedTab(strip) != tab; ++step)
    PressKey(strip, SelectedTab(strip) < tab ? VK_RIGHT : VK_LEFT);
}

// The checks that need no second opening, on what shows now.
void CheckWhatShows(HWND dialog, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(AltLetterClashes(dialog), std::vector<std::string>{});
  const TTabWalk walk = WalkTabOrder(dialog);
  if (!walk.cycle.empty()) {
    EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
  }
  EXPECT_EQ(walk.reverse, std::vector<std::string>{});
  EXPECT_EQ(walk.unreached, std::vector<std::string>{});
  EXPECT_EQ(walk.backwards, std::vector<std::string>{});
  EXPECT_EQ(ClippedTexts(dialog), std::vector<std::string>{});
  EXPECT_EQ(OverlappingControls(dialog), std::vector<std::string>{});
}

// The checks on what shows, then on each other tab of the system's tab
// strips and of the own ones.
void CheckEveryTab(HWND dialog, const TTabWalker& ownTabs) {
  CheckWhatShows(dialog, "as it opens");
  std::vector<HWND> strips;
  CollectTabControls(dialog, strips);
  for (HWND strip : strips) {
    const int count = static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0));
    const int shown = SelectedTab(strip);
    for (int tab = 0; tab < count; ++tab) {
      if (tab == shown) continue;
      ShowTab(dialog, strip, tab);
      CheckWhatShows(dialog, "tab " + TabCaption(strip, tab));
    }
    ShowTab(dialog, strip, shown);
  }
  if (ownTabs) ownTabs(dialog, [dialog](const std::string& where) { CheckWhatShows(dialog, where); });
}

}  // namespace

bool Closed(HWND dialog) {
  TForm* form = FormOf(dialog);
  return !IsWindowVisible(dialog) || (form != nullptr && form->Modal() && form->ModalResult() != classlib::mrNone);
}

bool WithDialog(const std::function<void()>& open, const std::function<void(HWND)>& script) {
  TPendingScript pending{VisibleWindows(), script};
  gPending = &pending;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, RunPendingScript);
  open();
  RunUntil([&] { return pending.done; }, 15000);
  KillTimer(nullptr, timer);
  gPending = nullptr;
  RunUntilIdle();
  return pending.done;
}

void CheckDialogTable(HWND frame, const std::vector<TDialogRow>& rows, const TTabWalker& ownTabs) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const UINT_PTR strayTimer = SetTimer(nullptr, 0, 250, AnswerStrayWindows);
  for (const TDialogRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::printf("-- %s\n", row.name);
    const auto prepare = [&row](HWND dialog) {
      if (row.prepare) {
        row.prepare(dialog);
        RunUntilIdle();
      }
    };
    const auto acted = [&row](HWND dialog) { return row.acted ? row.acted(dialog) : Closed(dialog); };
    const auto withDialog = [&row](const std::function<void(HWND)>& script) {
      if (row.ready) {
        row.ready();
        RunUntilIdle();
      }
      return WithDialog(row.open, script);
    };
    // First use: where it opens, then the checks on each tab; what is typed
    // into the opening field stays for the second use of a dialog that keeps
    // its texts.
    const bool came = withDialog([&](HWND dialog) {
      prepare(dialog);
      const HWND focus = GetFocus();
      std::printf("%-24s opens on %s\n", row.name, ControlName(focus).c_str());
      if (!row.first.empty()) {
        EXPECT_EQ(ControlName(focus), row.first);
      }
      EXPECT_EQ(OpeningTextProblem(focus), "");
      CheckEveryTab(dialog, ownTabs);
      if (focus != nullptr && IsWindowVisible(focus) && IsClass(focus, "Edit")) {
        SetFocus(focus);
        SendMessageA(focus, EM_SETSEL, 0, -1);
        TypeChars(focus, "A1");
      }
    });
    if (!came) {
      ADD_FAILURE() << "no dialog came";
      continue;
    }
    EXPECT_TRUE(IsWindowEnabled(frame));
    // Second use: the field it opens on offers its text whole; Escape
    // closes it.
    EXPECT_TRUE(withDialog([&](HWND dialog) {
      prepare(dialog);
      EXPECT_EQ(OpeningTextProblem(GetFocus()), "") << "on the second use";
      for (int press = 0; press < 2 && !Closed(dialog); ++press) PressKey(GetFocus(), VK_ESCAPE);
      EXPECT_EQ(Closed(dialog), row.escapeCloses) << "after Escape";
    }));

    // What the default button does, pressed with the keyboard in the first
    // field (a button waiting for a change, or one that refuses what the
    // fields hold, does nothing).
    bool buttonActs = false;
    EXPECT_TRUE(withDialog([&](HWND dialog) {
      prepare(dialog);
      const HWND button = DefaultButton(dialog);
      if (button == nullptr || !IsWindowEnabled(button)) return;
      const std::vector<HWND> fields = EnterFields(dialog);
      if (!fields.empty()) SetFocus(fields.front());
      Click(button, {8, 8});
      buttonActs = acted(dialog);
    }));
    // Enter in each one-line field, one opening each: the same, unless the
    // field has a use of its own for it.
    for (std::size_t k = 0;; ++k) {
      bool more = false, done = false;
      std::string field;
      EXPECT_TRUE(withDialog([&](HWND dialog) {
        prepare(dialog);
        const std::vector<HWND> fields = EnterFields(dialog);
        if (k >= fields.size()) return;
        more = true;
        field = ControlName(fields[k]);
        SetFocus(fields[k]);
        PressKey(GetFocus(), VK_RETURN);
        done = acted(dialog);
        if (!Closed(dialog)) {
          const HWND focus = GetFocus();
          EXPECT_TRUE(focus != nullptr && IsChild(dialog, focus) && IsWindowVisible(focus))
              << "after Enter in " << field << " the keyboard is on " << (focus ? ControlName(focus) : "nothing");
        }
      }));
      if (!more) break;
      const bool own = std::find(row.ownEnter.begin(), row.ownEnter.end(), field) != row.ownEnter.end();
      EXPECT_EQ(done, buttonActs && !own) << "Enter in " << field;
      EXPECT_NE(GetFocus(), nullptr) << "after Enter in " << field;
      EXPECT_TRUE(IsWindowEnabled(frame)) << "after Enter in " << field;
    }
  }
  KillTimer(nullptr, strayTimer);
  // The message boxes the commands showed (printing without a printer).
  for (const std::string& box : StrayBoxes()) std::printf("message box: %s\n", box.c_str());
  StrayBoxes().clear();
}

}  // namespace uikit
