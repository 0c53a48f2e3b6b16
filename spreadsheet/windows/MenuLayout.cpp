// The main frame's menus and tool bars as data.
#include "spreadsheet/windows/MenuLayout.h"

namespace corvane {

namespace {

using C = TCommandId;

TMenuSpec Item(const char* caption, TCommandId command) { return TMenuSpec{caption, command, {}, "", TCommandNeed::kAlways}; }
TMenuSpec Separator() { return TMenuSpec{"-", C::kNone, {}, "", TCommandNeed::kAlways}; }
TMenuSpec Sub(const char* caption, std::vector<TMenuSpec> items, TCommandNeed need = TCommandNeed::kAlways) {
  return TMenuSpec{caption, C::kNone, std::move(items), "", need};
}
TMenuSpec Column(const char* caption, TCommandNeed need, std::vector<TMenuSpec> items, const char* hint = nullptr) {
  TMenuSpec column{caption, C::kNone, std::move(items), "", need};
  column.hint = hint != nullptr ? std::string(hint) : ColumnHint(column);
  return column;
}

std::vector<TMenuSpec> BuildMainMenu() {
  constexpr TCommandNeed kSheet = TCommandNeed::kSheet;
  std::vector<TMenuSpec> menu;
  menu.push_back(Column("&File", TCommandNeed::kAlways,
                        {Item("&New", C::kNew), Item("&Open ...", C::kOpen), Item("&Save", C::kSave),
                         Item("Save &As ...", C::kSaveAs), Item("&Uplink", C::kUplink), Item("&Close", C::kClose),
                         Separator(), Item("&Print...", C::kPrint), Separator(), Item("&Merge...", C::kMerge),
                         Item("&Import...", C::kImport), Item("&Export ...", C::kExport), Separator(),
                         Item("&Doc Info...", C::kDocInfo), Item("&Get Info ...", C::kGetInfo), Separator(),
                         Item("E&xit", C::kExit)},
                        "New,Open,Save,SaveAs,Uplink,Close,Print,Merge,Import,Export,Doc Info,Get Info,Exit"));
  menu.back().items.push_back(TMenuSpec{"-", C::kNone, {}, kRecentSeparatorName, TCommandNeed::kAlways});
  menu.push_back(Column("&Edit", kSheet,
                        {Item("&Undo\tCtrl+Z", C::kUndo), Separator(), Item("Cu&t\tCtrl+X", C::kCut),
                         Item("&Copy\tCtrl+C", C::kCopy), Item("&Paste\tCtrl+V", C::kPaste),
                         Item("&Delete\tCtrl+D", C::kDelete), Separator(), Item("&Find/Replace...", C::kFindReplace),
                         Item("&Word...", C::kWord)}));
  menu.push_back(Column(
      "&View", TCommandNeed::kAlways,
      {Item("Show &Quick Buttons", C::kShowQuickBar), Item("Show &Macro Buttons", C::kShowMacroBar),
       Item("Show &Status Bar", C::kShowStatusBar), Separator(),
       Sub("Split Current &Window",
           {Item("&Horizontal", C::kSplitHorizontal), Item("&Vertical", C::kSplitVertical),
            Item("&Synch", C::kSplitSynch), Item("&Unsynch", C::kSplitUnsynch), Item("&Clear", C::kSplitClear)},
           kSheet),
       Sub("Set Window &Borders",
           {Item("&Horizontal", C::kBordersHorizontal), Item("&Vertical", C::kBordersVertical),
            Item("&Both", C::kBordersBoth), Item("&Clear", C::kBordersClear)},
           kSheet),
       Sub("&Zoom", {Item("&200%", C::kZoom200), Item("15&0%", C::kZoom150), Item("1&30%", C::kZoom125),
                     Item("&100%", C::kZoom100), Item("&87%", C::kZoom87), Item("&75%", C::kZoom75),
                     Item("&65%", C::kZoom65), Item("&50%", C::kZoom50)})}));
  menu.push_back(Column(
      "&Sheet", kSheet,
      {Sub("&General", {Item("&Format...", C::kGeneralFormat), Item("&Option...", C::kGeneralOption),
                        Item("&Typeface...", C::kGeneralTypeface), Item("&Color...", C::kGeneralColor),
                        Item("F&iles", C::kGeneralFiles), Item("&Advanced", C::kGeneralAdvanced)}),
       Sub("&Insert", {Item("&Page Break", C::kInsertPageBreak), Item("&Row", C::kInsertRow),
                       Item("&Column", C::kInsertColumn), Item("&Across Row", C::kInsertAcross)}),
       Sub("&Delete",
           {Item("&Row", C::kDeleteRow), Item("&Column", C::kDeleteColumn), Item("&Across Row", C::kDeleteAcross)}),
       Separator(), Item("&Macro Step", C::kMacroStep), Item("&Colwidth...", C::kColWidth),
       Item("&Rowheight...", C::kRowHeight), Item("&Audit...", C::kAudit),
       Sub("External &@", {Item("&Table", C::kExternalTable), Item("&Reset", C::kExternalReset)})}));
  menu.push_back(Column(
      "&Range", kSheet,
      {Item("&Copy...", C::kRangeCopySpecial), Item("&Erase", C::kRangeErase), Item("&Name ...", C::kRangeName),
       Item("&Justify ...", C::kRangeJustify), Separator(),
       Sub("&Properties", {Item("&Format", C::kPropFormat), Item("&Shade", C::kPropShade),
                           Item("&Typeface", C::kPropTypeface), Item("&Prefix", C::kPropPrefix),
                           Item("&Lock", C::kPropLock), Item("&Border", C::kPropBorder)}),
       Sub("C&opy Mode", {Item("&Value", C::kCopyValue), Item("&Transpose", C::kCopyTranspose),
                          Item("&Scale", C::kCopyScale), Item("&Invert", C::kCopyInvert),
                          Item("&Formula", C::kCopyFormula)})}));
  menu.push_back(Column("&Copy", kSheet, {}));
  menu.back().command = C::kCopyCells;
  menu.back().hint = "Copy";
  menu.push_back(Column("&Move", kSheet, {}));
  menu.back().command = C::kMoveCells;
  menu.back().hint = "Move";
  menu.push_back(Column("&Data", kSheet,
                        {Item("&Fill", C::kDataFill), Item("&Sort", C::kDataSort), Item("&Query", C::kDataQuery),
                         Item("&Bin", C::kDataBin), Item("&Parse", C::kDataParse), Item("&GoalSeek", C::kDataGoalSeek),
                         Item("&Regress", C::kDataRegress), Item("&MultiRegress", C::kDataMultiRegress),
                         Item("&Table", C::kDataTable), Item("F&orm", C::kDataForm)}));
  menu.push_back(Column("&Array", kSheet,
                        {Item("&Add", C::kArrayAdd), Item("&Subtract", C::kArraySubtract),
                         Item("&Multiply", C::kArrayMultiply), Item("&Transpose", C::kArrayTranspose),
                         Item("&Invert", C::kArrayInvert), Item("&E-Solve", C::kArrayESolve),
                         Item("&Determinate", C::kArrayDeterminate), Item("&Linear", C::kArrayLinear)}));
  menu.push_back(Column("&Graph", kSheet,
                        {Item("&Type...", C::kGraphType), Item("&Ranges...", C::kGraphRanges),
                         Item("&Legends...", C::kGraphLegends), Item("&Scale...", C::kGraphScale),
                         Item("&Options...", C::kGraphOptions), Item("&Names...", C::kGraphNames),
                         Item("&Headings...", C::kGraphHeadings), Item("&Fonts...", C::kGraphFonts), Separator(),
                         Item("&Clear...", C::kGraphClear), Item("&View...\tShift+F10", C::kGraphView)}));
  menu.push_back(Column("&Window", kSheet,
                        {Item("&New View", C::kNewView), Item("&Tile", C::kTile), Item("&Cascade", C::kCascade),
                         Item("&Arrange Icons", C::kArrangeIcons), Item("C&lose All", C::kCloseAll)}));
  menu.push_back(Column("&Help", TCommandNeed::kAlways,
                        {Item("&Contents", C::kHelpContents), Item("&About ...", C::kAbout), Separator(),
                         Item("&Tips...", C::kTips)}));
  // "Exit" carries its own hint.
  for (TMenuSpec& item : menu[0].items)
    if (item.command == C::kExit) item.hint = "Exit Corvane";
  return menu;
}

void AppendNames(const TMenuSpec& spec, std::string& out) {
  if (spec.command != C::kNone) {
    if (!out.empty()) out += ',';
    out += TCommandTable::Info(spec.command).name;
  }
  for (const TMenuSpec& item : spec.items) AppendNames(item, out);
}

}  // namespace

const std::vector<TMenuSpec>& MainMenuSpec() {
  static const std::vector<TMenuSpec> menu = BuildMainMenu();
  return menu;
}

const std::vector<TMenuSpec>& PanePopupSpec() {
  // Each item has a letter of its own: Properties takes R (P is Paste's),
  // the range prompt's Copy O (C is the clipboard's).
  static const std::vector<TMenuSpec> menu = {
      Item("P&roperties", C::kPropFormat), Separator(),         Item("Cu&t\tCtrl+X", C::kCut),
      Item("&Copy\tCtrl+C", C::kCopy),     Item("&Paste\tCtrl+V", C::kPaste), Item("&Delete\tCtrl+D", C::kDelete),
      Separator(),                         Item("&Move", C::kMoveCells),      Item("C&opy", C::kCopyCells)};
  return menu;
}

const std::vector<TToolButtonSpec>& QuickBarSpec() {
  static const std::vector<TToolButtonSpec> bar = {
      {"Open Worksheet", "Open", C::kOpen},
      {"Save Worksheet", "Save", C::kSave},
      {"Print Worksheet", "Print", C::kPrint},
      {"Cut Text", "Cut", C::kCut},
      {"Copy Text", "Copy", C::kCopy},
      {"Paste Text", "Paste", C::kPaste},
      {"Erase Range", "Erase", C::kRangeErase},
      {"Speed Fill", "Fill", C::kSpeedFill},
      {"Speed @SUM", "Sum", C::kSpeedSum},
      {"Ins/Del Rows", "+R|-R", C::kInsertRow, C::kDeleteRow},
      {"INS/DEL COL", "+C|-C", C::kInsertColumn, C::kDeleteColumn},
      {"Ascend/Descend Sort", "Az|Za", C::kSortAscending, C::kSortDescending},
      {"Function Pick", "@", C::kFunctionPick},
      {"Macro Pick", "{}", C::kMacroPick},
      {"Left Justify", "L", C::kAlignLeft},
      {"Center", "C", C::kAlignCenter},
      {"Right Justify", "R", C::kAlignRight},
      {"Text Processor", "Text", C::kWord},
      {"User Button", "User", C::kUserButton},
      {"Macro Single Step", "Step", C::kMacroStep},
      {"Find & Replace Text", "Find", C::kFindReplace},
      {"Protect/Unprotect Sheet", "Lock", C::kProtect},
      {"Execute Macro", "Run", C::kExecuteMacro},
      {"Quick Graph", "Graph", C::kQuickGraph},
      {"Upper/Proper", "AB|Ab", C::kUpperCase, C::kProperCase},
  };
  return bar;
}

const std::vector<TToolButtonSpec>& StyleBarSpec() {
  static const std::vector<TToolButtonSpec> bar = {
      {"Bold", "B", C::kBold},
      {"Italic", "I", C::kItalic},
      {"Underline", "U", C::kUnderline},
      {"Font Size Up/Down", "A+|A-", C::kSizeUp, C::kSizeDown},
      {"Background", "Back", C::kFillColour},
      {"Foreground", "Fore", C::kTextColour},
  };
  return bar;
}

int ZoomPercentForTag(int tag) {
  static constexpr int kPercents[] = {200, 150, 125, 100, 87, 75, 65, 50};
  return tag >= 1 && tag <= 8 ? kPercents[tag - 1] : 100;
}

std::string ColumnHint(const TMenuSpec& column) {
  std::string hint;
  AppendNames(column, hint);
  return hint;
}

}  // namespace corvane
