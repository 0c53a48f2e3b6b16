// The keyboard and layout checks of a dialog.
#include "tests/support/win/DialogChecks.h"

#include <algorithm>

#include "tests/support/win/UiKit.h"

namespace uikit {

namespace {

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

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

// The static text nearest to the left of `edit` on its line, within its
// parent or the parent's parent (a captioned field keeps its caption beside
// the edit in a window of its own).
std::string CaptionOf(HWND edit) {
  const RECT e = ScreenRect(edit);
  std::string best;
  long bestGap = 400;
  for (HWND parent : {GetParent(edit), GetParent(GetParent(edit))}) {
    for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
      if (!IsWindowVisible(h) || lstrcmpiA(ClassOf(h).c_str(), "Static") != 0) continue;
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

bool Changeable(HWND window) {
  const std::string cls = ClassOf(window);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  if (lstrcmpiA(cls.c_str(), "Button") == 0) return (style & 0xF) != BS_GROUPBOX;
  for (const char* kind : {"Edit", "ComboBox", "ListBox"})
    if (lstrcmpiA(cls.c_str(), kind) == 0) return true;
  return (style & WS_TABSTOP) != 0;
}

void CollectChangeable(HWND parent, std::vector<HWND>& out) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!Shown(h)) continue;
    if (Changeable(h)) out.push_back(h);
    CollectChangeable(h, out);
  }
}

bool IsRadio(HWND h) {
  const LONG kind = GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiA(ClassOf(h).c_str(), "Button") == 0 && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

// True when `a` and `b` are one control: the same window, one inside the
// other (the edit of a combo box, the edit of a captioned field), or radio
// buttons of one group (Tab reaches the group, the arrows its buttons).
bool SameControl(HWND a, HWND b) {
  return a == b || IsChild(a, b) || IsChild(b, a) || (IsRadio(a) && IsRadio(b) && GetParent(a) == GetParent(b));
}

}  // namespace

std::string ControlName(HWND control) {
  const std::string cls = ClassOf(control);
  if (lstrcmpiA(cls.c_str(), "Edit") == 0) {
    HWND parent = GetParent(control);
    if (lstrcmpiA(ClassOf(parent).c_str(), "ComboBox") == 0) return ControlName(parent);
    return "Edit<" + CaptionOf(control) + ">";
  }
  if (lstrcmpiA(cls.c_str(), "ComboBox") == 0 || lstrcmpiA(cls.c_str(), "ListBox") == 0)
    return cls + "<" + CaptionOf(control) + ">";
  return cls + "<" + TextOf(control) + ">";
}

TTabWalk WalkTabOrder(HWND dialog) {
  TTabWalk walk;
  const HWND start = GetFocus();
  walk.first = start != nullptr ? ControlName(start) : "nothing";
  std::vector<HWND> visited;
  HWND focus = start;
  for (int step = 0; step < 120; ++step) {
    PressKey(focus, VK_TAB);
    const HWND next = GetFocus();
    if (next == nullptr || !IsChild(dialog, next) || next == focus) {
      walk.cycle.push_back("trapped at " + (focus != nullptr ? ControlName(focus) : std::string("nothing")));
      break;
    }
    focus = next;
    if (focus == start) break;
    visited.push_back(focus);
    walk.cycle.push_back(ControlName(focus));
  }
  if (focus == start && !visited.empty()) {
    // Shift+Tab from the start goes back to the last control of the cycle.
    PressKey(start, VK_TAB, classlib::ssShift);
    if (GetFocus() != visited.back()) walk.cycle.push_back("Shift+Tab went to " + ControlName(GetFocus()));
    PressKey(GetFocus(), VK_TAB);
  }
  visited.insert(visited.begin(), start);
  std::vector<HWND> changeable;
  CollectChangeable(dialog, changeable);
  for (HWND c : changeable)
    if (std::none_of(visited.begin(), visited.end(), [c](HWND v) { return SameControl(v, c); }))
      walk.unreached.push_back(ControlName(c));
  // Round the cycle, reading order turns back once: from the last control
  // to the first. Any other step back is out of order.
  for (std::size_t i = 0; i < visited.size(); ++i) {
    const HWND from = visited[i], to = visited[(i + 1) % visited.size()];
    const RECT a = ScreenRect(from), b = ScreenRect(to);
    const bool below = b.top >= a.top - 4, rightColumn = b.left >= a.right - 4;
    if (!below && !rightColumn) walk.backwards.push_back(ControlName(from) + " -> " + ControlName(to));
  }
  if (walk.backwards.size() == 1) walk.backwards.clear();
  return walk;
}

std::vector<std::string> OverlappingControls(HWND dialog) {
  std::vector<std::string> found;
  std::vector<HWND> shown;
  for (HWND h = GetWindow(dialog, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
    if (IsWindowVisible(h)) shown.push_back(h);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      const RECT a = ScreenRect(shown[i]), b = ScreenRect(shown[j]);
      RECT both;
      if (IntersectRect(&both, &a, &b)) found.push_back(ControlName(shown[i]) + " over " + ControlName(shown[j]));
    }
    for (const std::string& inner : OverlappingControls(shown[i])) found.push_back(inner);
  }
  return found;
}

}  // namespace uikit
