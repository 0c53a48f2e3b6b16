// The one table of the main frame's commands: every item of the main menu and
// the panes' pop-up menu, every button of the quick bar and the style bar, the
// lock-key panels and the command keys name a command here, and nothing else
// carries the command's logic. A command runs only while it has a handler and
// what it needs (an open sheet window, undo, clipboard data, ...) is there; a
// command whose handler is not installed is shown and stays disabled.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace corvane {

// What a command needs before it may run.
enum class TCommandNeed : std::uint8_t {
  kAlways,
  kSheet,          // a sheet window is open
  kSeveralSheets,  // a sheet window is open and its document has more than one sheet band
  kUndo,           // a sheet window is open and its document's undo buffer holds something
  kPaste,          // a sheet window is open and the clipboard offers text or the private format
  kEditing,        // the entry line is being edited
};

// X(id, name, need, tag): the command's id, its name (as the menus' hints and
// macros spell it), what it needs and the tag its handler tells it apart by.
#define CORVANE_COMMANDS(X)                                    \
  X(kNew, "New", kAlways, 0)                                   \
  X(kOpen, "Open", kAlways, 0)                                 \
  X(kSave, "Save", kSheet, 0)                                  \
  X(kSaveAs, "SaveAs", kSheet, 0)                              \
  X(kUplink, "Uplink", kSheet, 0)                              \
  X(kClose, "Close", kSheet, 0)                                \
  X(kPrint, "Print", kSheet, 0)                                \
  X(kMerge, "Merge", kSheet, 0)                                \
  X(kImport, "Import", kSheet, 0)                              \
  X(kExport, "Export", kSheet, 0)                              \
  X(kDocInfo, "Doc Info", kSheet, 0)                           \
  X(kGetInfo, "Get Info", kAlways, 0)                          \
  X(kExit, "Exit", kAlways, 0)                                 \
  X(kUndo, "Undo", kUndo, 0)                                   \
  X(kCut, "Cut", kSheet, 0)                                    \
  X(kCopy, "Copy", kSheet, 0)                                  \
  X(kPaste, "Paste", kPaste, 0)                                \
  X(kDelete, "Delete", kSheet, 0)                              \
  X(kFindReplace, "Find/Replace", kSheet, 0)                   \
  X(kWord, "Word", kSheet, 0)                                  \
  X(kShowQuickBar, "Quick Buttons", kAlways, 1)                \
  X(kShowMacroBar, "Macro Buttons", kAlways, 2)                \
  X(kShowStatusBar, "Status Bar", kAlways, 3)                  \
  X(kSplitHorizontal, "Split Horizontal", kSheet, 0)           \
  X(kSplitVertical, "Split Vertical", kSheet, 0)               \
  X(kSplitSynch, "Synch", kSheet, 0)                           \
  X(kSplitUnsynch, "Unsynch", kSheet, 0)                       \
  X(kSplitClear, "Unsplit", kSheet, 0)                         \
  X(kBordersHorizontal, "Borders Horizontal", kSheet, 1)       \
  X(kBordersVertical, "Borders Vertical", kSheet, 2)           \
  X(kBordersBoth, "Borders Both", kSheet, 3)                   \
  X(kBordersClear, "Borders Clear", kSheet, 0)                 \
  X(kZoom200, "Zoom 200", kAlways, 1)                          \
  X(kZoom150, "Zoom 150", kAlways, 2)                          \
  X(kZoom125, "Zoom 125", kAlways, 3)                          \
  X(kZoom100, "Zoom 100", kAlways, 4)                          \
  X(kZoom87, "Zoom 87", kAlways, 5)                            \
  X(kZoom75, "Zoom 75", kAlways, 6)                            \
  X(kZoom65, "Zoom 65", kAlways, 7)                            \
  X(kZoom50, "Zoom 50", kAlways, 8)                            \
  X(kGeneralFormat, "General Format", kSheet, 0)               \
  X(kGeneralOption, "General Option", kSheet, 1)               \
  X(kGeneralTypeface, "General Typeface", kSheet, 2)           \
  X(kGeneralColor, "General Color", kSheet, 3)                 \
  X(kGeneralFiles, "General Files", kSheet, 4)                 \
  X(kGeneralAdvanced, "General Advanced", kSheet, 5)           \
  X(kInsertPageBreak, "Insert Page Break", kSheet, 0)          \
  X(kInsertRow, "Insert Row", kSheet, 0)                       \
  X(kInsertColumn, "Insert Column", kSheet, 0)                 \
  X(kInsertAcross, "Insert Across Row", kSeveralSheets, 0)     \
  X(kDeleteRow, "Delete Row", kSheet, 0)                       \
  X(kDeleteColumn, "Delete Column", kSheet, 0)                 \
  X(kDeleteAcross, "Delete Across Row", kSeveralSheets, 0)     \
  X(kMacroStep, "Macro Step", kSheet, 0)                       \
  X(kColWidth, "Colwidth", kSheet, 1)                          \
  X(kRowHeight, "Rowheight", kSheet, 2)                        \
  X(kAudit, "Audit", kSheet, 0)                                \
  X(kExternalTable, "External Table", kSheet, 0)               \
  X(kExternalReset, "External Reset", kSheet, 0)               \
  X(kRangeCopySpecial, "Range Copy", kSheet, 0)                \
  X(kRangeErase, "Erase", kSheet, 0)                           \
  X(kRangeName, "Name", kSheet, 0)                             \
  X(kRangeJustify, "Justify", kSheet, 0)                       \
  X(kPropFormat, "Format", kSheet, 0)                          \
  X(kPropShade, "Shade", kSheet, 1)                            \
  X(kPropTypeface, "Typeface", kSheet, 2)                      \
  X(kPropPrefix, "Prefix", kSheet, 3)                          \
  X(kPropLock, "Lock", kSheet, 4)                              \
  X(kPropBorder, "Border", kSheet, 5)                          \
  X(kCopyValue, "Copy Value", kSheet, 1)                       \
  X(kCopyTranspose, "Copy Transpose", kSheet, 2)               \
  X(kCopyScale, "Copy Scale", kSheet, 3)                       \
  X(kCopyInvert, "Copy Invert", kSheet, 4)                     \
  X(kCopyFormula, "Copy Formula", kSheet, 5)                   \
  X(kCopyCells, "Copy Cells", kSheet, 0)                       \
  X(kMoveCells, "Move Cells", kSheet, 0)                       \
  X(kDataFill, "Fill", kSheet, 0)                              \
  X(kDataSort, "Sort", kSheet, 1)                              \
  X(kDataQuery, "Query", kSheet, 2)                            \
  X(kDataBin, "Bin", kSheet, 3)                                \
  X(kDataParse, "Parse", kSheet, 4)                            \
  X(kDataGoalSeek, "GoalSeek", kSheet, 5)                      \
  X(kDataRegress, "Regress", kSheet, 6)                        \
  X(kDataMultiRegress, "MultiRegress", kSheet, 7)              \
  X(kDataTable, "Table", kSheet, 8)                            \
  X(kDataForm, "Form", kSheet, 9)                              \
  X(kArrayAdd, "Add", kSheet, 0)                               \
  X(kArraySubtract, "Subtract", kSheet, 1)                     \
  X(kArrayMultiply, "Multiply", kSheet, 2)                     \
  X(kArrayTranspose, "Transpose", kSheet, 3)                   \
  X(kArrayInvert, "Invert", kSheet, 4)                         \
  X(kArrayESolve, "E-Solve", kSheet, 5)                        \
  X(kArrayDeterminate, "Determinate", kSheet, 6)               \
  X(kArrayLinear, "Linear", kSheet, 7)                         \
  X(kGraphType, "Graph Type", kSheet, 0)                       \
  X(kGraphRanges, "Graph Ranges", kSheet, 1)                   \
  X(kGraphLegends, "Graph Legends", kSheet, 8)                 \
  X(kGraphScale, "Graph Scale", kSheet, 3)                     \
  X(kGraphOptions, "Graph Options", kSheet, 2)                 \
  X(kGraphNames, "Graph Names", kSheet, 4)                     \
  X(kGraphHeadings, "Graph Headings", kSheet, 5)               \
  X(kGraphFonts, "Graph Fonts", kSheet, 7)                     \
  X(kGraphClear, "Graph Clear", kSheet, 0)                     \
  X(kGraphView, "Graph View", kSheet, 0)                       \
  X(kNewView, "New View", kSheet, 0)                           \
  X(kTile, "Tile", kSheet, 0)                                  \
  X(kCascade, "Cascade", kSheet, 0)                            \
  X(kArrangeIcons, "Arrange Icons", kSheet, 0)                 \
  X(kCloseAll, "Close All", kSheet, 0)                         \
  X(kHelpContents, "Contents", kAlways, 0)                     \
  X(kAbout, "About", kAlways, 0)                               \
  X(kTips, "Tips", kAlways, 0)                                 \
  X(kSpeedFill, "Speed Fill", kSheet, 0)                       \
  X(kSpeedSum, "Speed Sum", kSheet, 0)                         \
  X(kSortAscending, "Sort Ascending", kSheet, 0)               \
  X(kSortDescending, "Sort Descending", kSheet, 1)             \
  X(kFunctionPick, "Function Pick", kEditing, 0)               \
  X(kMacroPick, "Macro Pick", kEditing, 0)                     \
  X(kAlignLeft, "Left Justify", kSheet, 1)                     \
  X(kAlignCenter, "Center", kSheet, 3)                         \
  X(kAlignRight, "Right Justify", kSheet, 2)                   \
  X(kUserButton, "User Button", kSheet, 0)                     \
  X(kProtect, "Protect", kSheet, 0)                            \
  X(kExecuteMacro, "Execute Macro", kSheet, 0)                 \
  X(kQuickGraph, "Quick Graph", kSheet, 0)                     \
  X(kUpperCase, "Upper", kSheet, 1)                            \
  X(kProperCase, "Proper", kSheet, 2)                          \
  X(kBold, "Bold", kSheet, 1)                                  \
  X(kItalic, "Italic", kSheet, 2)                              \
  X(kUnderline, "Underline", kSheet, 4)                        \
  X(kFontName, "Font Type", kSheet, 0)                         \
  X(kFontSize, "Font Size", kSheet, 0)                         \
  X(kSpeedFormat, "Speed Format", kSheet, 0)                   \
  X(kFillColour, "Background", kSheet, 0)                      \
  X(kTextColour, "Foreground", kSheet, 0)                      \
  X(kSizeUp, "Size Up", kSheet, 1)                             \
  X(kSizeDown, "Size Down", kSheet, -1)                        \
  X(kToggleInsert, "INS", kAlways, 0)                          \
  X(kToggleEnd, "END", kAlways, 0)                             \
  X(kToggleNum, "NUM", kAlways, 0)                             \
  X(kToggleScroll, "SCR", kAlways, 0)                          \
  X(kToggleCaps, "CAP", kAlways, 0)

enum class TCommandId : std::uint16_t {
  kNone = 0,
#define CORVANE_COMMAND_ID(id, name, need, tag) id,
  CORVANE_COMMANDS(CORVANE_COMMAND_ID)
#undef CORVANE_COMMAND_ID
      kCount
};

inline constexpr int kCommandCount = static_cast<int>(TCommandId::kCount);

struct TCommandInfo {
  TCommandId id;
  const char* name;
  TCommandNeed need;
  int tag;
};

// What the enabling rules look at; the main frame fills it when a menu opens
// or a button's state is refreshed.
struct TCommandState {
  bool sheetOpen = false;
  int sheetCount = 1;           // sheet bands of the active document
  bool undoAvailable = false;
  bool clipboardHasData = false;  // plain text or the private format
  bool editing = false;         // the entry line is being edited
  bool promptActive = false;    // a command's range prompt is running
};

// True when `need` is met in `state`.
bool NeedMet(TCommandNeed need, const TCommandState& state);

// The handler gets the command's tag, so that a column of like commands shares
// one handler.
using TCommandHandler = std::function<void(int tag)>;

class TCommandTable {
 public:
  TCommandTable();

  static const TCommandInfo& Info(TCommandId id);
  // The command of that name (compared without regard to case), kNone when none.
  static TCommandId FindByName(std::string_view name);

  // Installs (or, with an empty handler, removes) the handler of `id`.
  void Bind(TCommandId id, TCommandHandler handler);
  bool Bound(TCommandId id) const;

  // A command is enabled while it has a handler and its need is met. Buttons
  // and keys follow Enabled; the main menu's items are in addition disabled
  // while a range prompt runs or the entry line is being edited.
  bool Enabled(TCommandId id, const TCommandState& state) const;
  bool MenuEnabled(TCommandId id, const TCommandState& state) const;

  // Runs the command when it is enabled; false, doing nothing, otherwise.
  bool Run(TCommandId id, const TCommandState& state);

 private:
  std::vector<TCommandHandler> handlers_;
};

}  // namespace corvane
