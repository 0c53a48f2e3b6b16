// The keyboard and layout checks of a dialog.
#include "tests/support/win/DialogChecks.h"

#include <commctrl.h>
#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <typeinfo>

#include "classlib/win/Controls.h"
#include "tests/support/win/UiKit.h"

namespace uikit {

namespace {

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool IsClass(HWND window, const char* name) { return lstrcmpiA(ClassOf(window).c_str(), name) == 0; }

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT ScreenRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

bool Shown(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

// The object of one of our own windows, or null for the system's.
classlib::TWinControl* OwnControl(HWND window) { return classlib::TWinControl::FromHandle(window); }

// The class of the object behind an own window, without its namespace
// ("TTermGrid"); empty for the system's windows.
std::string ObjectClassOf(HWND window) {
  classlib::TWinControl* control = OwnControl(window);
  if (control == nullptr) return {};
  int status = 0;
  char* plain = abi::__cxa_demangle(typeid(*control).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && plain != nullptr ? plain : typeid(*control).name();
  std::free(plain);
  const std::size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

// An own-drawn control: one of ours that paints itself.
bool IsOwnDrawn(HWND window) { return dynamic_cast<classlib::TCustomControl*>(OwnControl(window)) != nullptr; }

bool HasVisibleChild(HWND window) {
  for (HWND h = GetWindow(window, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
    if (IsWindowVisible(h)) return true;
  return false;
}

// The static text nearest to the left of `edit` on its line, within its
// parent or the parent's parent (a captioned field keeps its caption beside
// the edit in a window of its own).
std::string CaptionOf(HWND edit) {
  const RECT e = ScreenRect(edit);
  std::string best;
  long bestGap = 400;
  for (HWND parent : {GetParent(edit), GetParent(GetParent(edit))}) {
    for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
      if (!IsWindowVisible(h) || !IsClass(h, "Static")) continue;
      const RECT s = ScreenRect(h);
      const long gap = e.left - s.right;
      if (s.bottom <= e.top || s.top >= e.bottom || gap < -4 || gap >= bestGap) continue;
      bestGap = gap;
      best = TextOf(h);
    }
    if (!best.empty()) break;
  }
  return best;
}

// An own-drawn control, with no controls of its own in view, that asks for
// keys of its own.
bool WantsKeys(HWND window) {
  const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTTAB)) != 0;
}

bool SamePicture(classlib::TBitmap& a, classlib::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const auto rowBytes = static_cast<std::size_t>(a.Width()) * static_cast<std::size_t>(a.BytesPerPixel());
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) != 0) return false;
  return true;
}

// An own-drawn control that answers a click by drawing something else
// takes input from the mouse: clicked at the quarters of its width and
// height in turn until one changes it. The clicks are a user's: what they
// changed stays.
bool AnswersClick(HWND window) {
  classlib::TBitmap before, after;
  if (!CaptureClient(window, before)) return false;
  RECT r = {};
  GetClientRect(window, &r);
  const HWND focus = GetFocus();
  bool changed = false;
  for (int y = 1; y <= 3 && !changed; ++y)
    for (int x = 1; x <= 3 && !changed; ++x) {
      Click(window, {r.right * x / 4, r.bottom * y / 4});
      changed = CaptureClient(window, after) && !SamePicture(before, after);
    }
  if (focus != nullptr && GetFocus() != focus) SetFocus(focus);
  return changed;
}

// A label shown as a link: the hand over it says a click opens something.
bool IsLink(HWND window) {
  if (!IsClass(window, "Static")) return false;
  const HCURSOR before = GetCursor();
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  const bool hand = GetCursor() == LoadCursor(nullptr, IDC_HAND);
  SetCursor(before);
  return hand;
}

// A control a user can change: the system's input controls, every tab stop,
// links, and own-drawn controls (not those that hold controls) that take
// keys.
bool Changeable(HWND window) {
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  if (IsClass(window, "Button")) return (style & BS_TYPEMASK) != BS_GROUPBOX;
  if (IsLink(window)) return true;
  for (const char* kind : {"Edit", "ComboBox", "ListBox", "SysListView32", "SysTreeView32"})
    if (IsClass(window, kind)) return true;
  if (style & WS_TABSTOP) return true;
  return IsOwnDrawn(window) && !HasVisibleChild(window) && WantsKeys(window);
}

// Own-drawn controls that might take the mouse: asked by AnswersClick when
// Tab never reaches them.
bool MaybeClickable(HWND window) {
  return IsOwnDrawn(window) && !HasVisibleChild(window) && !Changeable(window);
}

void CollectControls(HWND parent, std::vector<HWND>& changeable, std::vector<HWND>& clickable) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!Shown(h)) continue;
    if (Changeable(h))
      changeable.push_back(h);
    else if (MaybeClickable(h))
      clickable.push_back(h);
    CollectControls(h, changeable, clickable);
  }
}

bool IsRadio(HWND h) {
  const LONG kind = GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK;
  return IsClass(h, "Button") && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

// True when `a` and `b` are one control: the same window, one inside the
// other (the edit of a combo box, the edit of a captioned field), or radio
// buttons of one group (Tab reaches the group, the arrows its buttons).
bool SameControl(HWND a, HWND b) {
  return a == b || IsChild(a, b) || IsChild(b, a) || (IsRadio(a) && IsRadio(b) && GetParent(a) == GetParent(b));
}

// The accelerator letter of a caption (upper case), or 0.
char AcceleratorOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    return std::isalnum(c) ? static_cast<char>(std::toupper(c)) : 0;
  }
  return 0;
}

// The letters the tabs of one of the system's tab controls show.
std::string TabLetters(HWND strip) {
  std::string letters;
  const int count = static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0));
  for (int tab = 0; tab < count; ++tab)
    if (char letter = AcceleratorOf(TabCaption(strip, tab))) letters += letter;
  return letters;
}

// The Alt letters a control answers, or shows: a tab control's tabs claim
// the letters their captions show, as a dialog's tabs answer them.
std::string LettersOf(HWND window) {
  std::string letters;
  if (classlib::TWinControl* control = OwnControl(window)) letters = control->DialogChars();
  if (IsClass(window, WC_TABCONTROLA)) letters += TabLetters(window);
  if (letters.empty()) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const bool captioned = IsClass(window, "Button") || (IsClass(window, "Static") && (style & SS_NOPREFIX) == 0);
    if (captioned)
      if (char letter = AcceleratorOf(TextOf(window))) letters = letter;
  }
  std::string upper;
  for (char c : letters)
    if (std::isalnum(static_cast<unsigned char>(c))) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::sort(upper.begin(), upper.end());
  upper.erase(std::unique(upper.begin(), upper.end()), upper.end());
  return upper;
}

void CollectLetters(HWND parent, std::map<char, std::vector<HWND>>& owners) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!Shown(h)) continue;
    for (char letter : LettersOf(h)) owners[letter].push_back(h);
    CollectLetters(h, owners);
  }
}

std::string DescribeFocus(HWND focus) { return focus != nullptr ? ControlName(focus) : std::string("nothing"); }

}  // namespace

std::string TabCaption(HWND strip, int tab) {
  char text[128] = "";
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(strip, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::string ControlName(HWND control) {
  if (IsClass(control, "Edit")) {
    HWND parent = GetParent(control);
    if (IsClass(parent, "ComboBox")) return ControlName(parent);
    return "Edit<" + CaptionOf(control) + ">";
  }
  if (IsClass(control, "ComboBox") || IsClass(control, "ListBox")) return ClassOf(control) + "<" + CaptionOf(control) + ">";
  // Own-drawn controls share a window class; their object's class tells
  // them apart.
  if (IsClass(control, "TCustomControl")) return ObjectClassOf(control) + "<" + TextOf(control) + ">";
  return ClassOf(control) + "<" + TextOf(control) + ">";
}

TTabWalk WalkTabOrder(HWND dialog) {
  TTabWalk walk;
  const HWND start = GetFocus();
  walk.first = DescribeFocus(start);
  std::vector<HWND> changeable, clickable;
  CollectControls(dialog, changeable, clickable);
  std::vector<HWND> visited{start};
  HWND focus = start;
  bool round = false;
  for (int step = 0; step < 150; ++step) {
    PressKey(focus, VK_TAB);
    const HWND next = GetFocus();
    // Tab staying on the one control a dialog has is a round.
    const bool alone = std::all_of(changeable.begin(), changeable.end(), [focus](HWND c) { return SameControl(c, focus); });
    if (next == focus && alone) {
      round = true;
      break;
    }
    if (next == nullptr || !IsChild(dialog, next) || next == focus) {
      walk.cycle.push_back("trapped at " + DescribeFocus(focus));
      break;
    }
    focus = next;
    if (focus == start) {
      round = true;
      break;
    }
    visited.push_back(focus);
    walk.cycle.push_back(ControlName(focus));
  }
  // Shift+Tab from the start retraces the round backwards, to the start.
  if (round && visited.size() > 1) {
    for (std::size_t k = visited.size(); k-- > 0;) {
      const HWND from = GetFocus();
      PressKey(from, VK_TAB, classlib::ssShift);
      const HWND got = GetFocus();
      if (got != visited[k]) {
        walk.reverse.push_back("Shift+Tab from " + DescribeFocus(from) + " went to " + DescribeFocus(got) + ", not " +
                               ControlName(visited[k]));
        if (start != nullptr && IsWindow(start)) SetFocus(start);
        break;
      }
    }
  }
  // What Tab never reached; own-drawn controls that take only the mouse
  // are found by a click.
  auto reached = [&visited](HWND c) {
    return std::any_of(visited.begin(), visited.end(), [c](HWND v) { return v != nullptr && SameControl(v, c); });
  };
  for (HWND c : changeable)
    if (!reached(c)) walk.unreached.push_back(ControlName(c));
  for (HWND c : clickable)
    if (!reached(c) && AnswersClick(c)) walk.unreached.push_back(ControlName(c) + " (takes clicks)");
  // Round the cycle, reading order turns back once: from the last control
  // to the first. Any other step back is out of order.
  for (std::size_t i = 0; round && i < visited.size(); ++i) {
    const HWND from = visited[i], to = visited[(i + 1) % visited.size()];
    const RECT a = ScreenRect(from), b = ScreenRect(to);
    const bool up = b.top < a.top - 4, rightColumn = b.left >= a.right - 4;
    const bool left = b.right <= a.left + 4, lineBelow = b.top >= a.bottom - 4;
    if ((up && !rightColumn) || (left && !lineBelow))
      walk.backwards.push_back(ControlName(from) + " -> " + ControlName(to));
  }
  if (walk.backwards.size() == 1) walk.backwards.clear();
  return walk;
}

std::vector<std::string> AltLetterClashes(HWND dialog) {
  std::map<char, std::vector<HWND>> owners;
  CollectLetters(dialog, owners);
  std::vector<std::string> clashes;
  for (const auto& [letter, windows] : owners) {
    if (windows.size() < 2) continue;
    std::string line = std::string(1, letter) + ":";
    for (std::size_t i = 0; i < windows.size(); ++i) line += (i == 0 ? " " : ", ") + ControlName(windows[i]);
    clashes.push_back(line);
  }
  return clashes;
}

std::string OpeningTextProblem(HWND focus) {
  if (focus == nullptr) return "nothing has the keyboard";
  if (!IsClass(focus, "Edit")) return {};
  const int length = GetWindowTextLengthA(focus);
  DWORD start = 0, end = 0;
  SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (length == 0 || (start == 0 && end == static_cast<DWORD>(length))) return {};
  return ControlName(focus) + " holds \"" + TextOf(focus) + "\" with " + std::to_string(start) + ".." +
         std::to_string(end) + " selected";
}

std::vector<std::string> ClippedTexts(HWND dialog) {
  std::vector<std::string> clipped;
  std::vector<HWND> pending{dialog};
  while (!pending.empty()) {
    HWND parent = pending.back();
    pending.pop_back();
    for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
      if (!IsWindowVisible(h)) continue;
      pending.push_back(h);
      const LONG style = GetWindowLongA(h, GWL_STYLE);
      const LONG kind = style & SS_TYPEMASK;
      const std::string text = TextOf(h);
      // A label that shortens its text with "..." shows that it does.
      const bool ellipsis = (style & SS_ELLIPSISMASK) != 0;
      if (!IsClass(h, "Static") || text.empty() || ellipsis || (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT))
        continue;
      RECT client = {};
      GetClientRect(h, &client);
      HDC dc = GetDC(h);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(h, WM_GETFONT, 0, 0)));
      RECT need = {0, 0, client.right, 0};
      DrawTextA(dc, text.c_str(), -1, &need,
                DT_CALCRECT | DT_WORDBREAK | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
      SelectObject(dc, old);
      ReleaseDC(h, dc);
      if (need.bottom > client.bottom || need.right > client.right)
        clipped.push_back(ControlName(h) + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
                          " of " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + " pixels");
    }
  }
  return clipped;
}

std::vector<HWND> EnterFields(HWND dialog) {
  std::vector<HWND> fields;
  for (HWND h = GetWindow(dialog, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!Shown(h)) continue;
    if (IsClass(h, "ComboBox") || IsClass(h, DATETIMEPICK_CLASSA)) {
      fields.push_back(h);
      continue;
    }
    if (IsClass(h, "Edit") && (GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE) == 0) fields.push_back(h);
    for (HWND inner : EnterFields(h)) fields.push_back(inner);
  }
  return fields;
}

namespace {

// An up-down control and the field it steps: one control, the arrows
// drawn over the field's edge.
bool UpDownOf(HWND arrows, HWND field) {
  return IsClass(arrows, UPDOWN_CLASSA) && reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)) == field;
}

}  // namespace

std::vector<std::string> OverlappingControls(HWND dialog) {
  std::vector<std::string> found;
  std::vector<HWND> shown;
  for (HWND h = GetWindow(dialog, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
    if (IsWindowVisible(h)) shown.push_back(h);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (UpDownOf(shown[i], shown[j]) || UpDownOf(shown[j], shown[i])) continue;
      const RECT a = ScreenRect(shown[i]), b = ScreenRect(shown[j]);
      RECT both;
      if (IntersectRect(&both, &a, &b)) found.push_back(ControlName(shown[i]) + " over " + ControlName(shown[j]));
    }
    for (const std::string& inner : OverlappingControls(shown[i])) found.push_back(inner);
  }
  return found;
}

}  // namespace uikit
