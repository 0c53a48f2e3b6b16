// What the main frame shows its commands as: the main menu, the panes' pop-up
// menu, the quick bar and the style bar, as plain data that names commands of
// the command table. The Windows frame builds its menus and buttons from these
// and looks up nothing else.
#pragma once

#include <string>
#include <vector>

#include "spreadsheet/windows/Commands.h"

namespace corvane {

// One menu entry: a command item, a separator (caption "-") or a submenu
// (items not empty). A top-level column's hint lists its commands' names.
struct TMenuSpec {
  std::string caption;
  TCommandId command = TCommandId::kNone;
  std::vector<TMenuSpec> items;
  std::string hint;
  // The need of a column or submenu as a whole (the columns of a sheet's
  // commands are disabled with no sheet window open).
  TCommandNeed need = TCommandNeed::kAlways;
};

// The main menu's top-level entries, left to right.
const std::vector<TMenuSpec>& MainMenuSpec();
// The panes' pop-up menu.
const std::vector<TMenuSpec>& PanePopupSpec();

// The place of the recent-file items: the File column gets them appended at
// its end, after a separator named here.
inline constexpr const char* kRecentSeparatorName = "NMSep";

// A button of the quick bar or the style bar: its hint, its command and, for
// a two-way button, the command of its second zone; the face is a short text
// the button shows (a two-way button's two texts separated by "|").
struct TToolButtonSpec {
  std::string hint;
  std::string face;
  TCommandId command = TCommandId::kNone;
  TCommandId second = TCommandId::kNone;
};

const std::vector<TToolButtonSpec>& QuickBarSpec();
// The style bar's buttons; its three boxes (font, size, format) run
// kFontName, kFontSize and kSpeedFormat.
const std::vector<TToolButtonSpec>& StyleBarSpec();

// The zoom percent of a zoom command's tag (1 to 8), 100 for any other.
int ZoomPercentForTag(int tag);

// The top-level hint of a column: its commands' names joined by ",", in menu
// order, submenus included.
std::string ColumnHint(const TMenuSpec& column);

}  // namespace corvane
