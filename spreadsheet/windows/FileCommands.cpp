// File commands and the recent-file list.
#include "spreadsheet/windows/FileCommands.h"

#include <algorithm>

#include "classlib/Menus.h"
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/ExternalLinks.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WaitCursor.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/HostFileName.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/windows/EntryLine.h"
#include "spreadsheet/windows/MacroTrust.h"

namespace corvane {

namespace {

constexpr const char* kAutoExecName = "AUTOEXEC";

void ShowMode(const TModeIndicator& mode) { WindowServices().SetModeIndicator(mode.text, mode.colour); }

int RecentLimit() { return std::clamp(ProgramSettings().HSize, 0, kRecentMenuItems); }

TDocSlot* ActiveSlot() {
  if (WindowServices().ActiveSheet() == kNoSheet) return nullptr;
  TDocSlot* slot = DocSlot(CurrentDocSlot());
  return slot != nullptr && slot->rowHeads != nullptr ? slot : nullptr;
}

}  // namespace

std::string FileNameOnly(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderOnly(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string NewSheetName(int openWindows) { return "SHEET" + std::to_string(openWindows + 1) + ".WKS"; }

std::vector<TRecentItem> RecentMenuItems(const std::vector<std::string>& list, int limit) {
  std::vector<TRecentItem> items(kRecentMenuItems);
  int shown = std::min({static_cast<int>(list.size()), std::clamp(limit, 0, kRecentMenuItems)});
  for (int i = 0; i < shown; ++i) {
    const std::string& name = list[list.size() - 1 - static_cast<std::size_t>(i)];
    items[static_cast<std::size_t>(i)] = TRecentItem{true, "&" + std::to_string(i) + " " + classlib::MenuText(FileNameOnly(name)), name};
  }
  return items;
}

bool TFileCommands::New() {
  if (!host_.CreateSheetWindow(NewSheetName(host_.SheetWindowCount()), true)) return false;
  LoadSlotSettings(CurrentDocSlot());
  TClockTime now = ReadClock();
  TDocumentInfo& info = CurrentFileState().info;
  info.creationDate = DateToSerial(now.day, now.month, now.year);
  info.creationTime = (now.hour * 3600.0 + now.minute * 60.0 + now.second) / 86400.0;
  host_.SetSheetState(true);
  host_.SheetOpened();
  return true;
}

bool TFileCommands::Open() {
  std::string name, folder;
  bool chosen = host_.ChooseOpenFile(name, folder);
  if (!folder.empty()) ProgramSettings().LoadDir = folder;
  if (!chosen || name.empty()) return false;
  return OpenFile(name);
}

bool TFileCommands::OpenFile(std::string_view name) { return ShowOrOpen(name); }

bool TFileCommands::ShowOrOpen(std::string_view name) {
  const std::string normal = DocumentFileName(name);
  int slot = 0;
  bool open = FindOpenSheet(normal, slot) && host_.BringDocumentToFront(normal);
  if (!open) {
    // A recent file may have been replaced by anything since it was listed.
    if (!IsWorksheetFile(HostFileName(normal))) {
      ShowError(kInvalidWksFileText);
      return false;
    }
    if (!OpenWorksheet(normal)) return false;
  }
  AddRecent(normal);
  return true;
}

bool TFileCommands::OpenWorksheet(std::string_view name) {
  TWindowServices& ws = WindowServices();
  const std::string normal = DocumentFileName(name);
  TLoadOutcome loaded = TLoadOutcome::kNothing;
  TSheetViewState view;
  {
    // The hourglass from the read to the first paint; the question about the
    // file's macros and the macro itself come after it.
    TWaitCursorHold wait;
    if (!host_.CreateSheetWindow(normal, name.empty())) return false;
    ShowMode(kModeWait);
    // The reader shows its message. A damaged or truncated file keeps what could
    // be read, unmodified, so closing the window never writes it over the file;
    // only a save by the user does.
    loaded = LoadWorksheetPart(HostFileName(normal), 0, 0, 0, "");
    if (loaded == TLoadOutcome::kNothing) {
      host_.DiscardActiveSheetWindow();
      if (host_.SheetWindowCount() == 0) host_.SetSheetState(false);
      ws.ShowReadyMode();
      ClearErrorFlag();
      return false;
    }
    TSheetId sheet = ws.ActiveSheet();
    StoreSlotSettings(CurrentDocSlot());
    gCurrentDoc.settings.modified = 0;
    if (TDocSlot* slot = DocSlot(CurrentDocSlot())) {
      slot->settings.modified = 0;
      slot->partlyRead = loaded == TLoadOutcome::kPart;
    }
    if (!LinkedFiles().empty()) host_.RecalculateAll();
    ws.RepaintSheet(sheet);
    host_.SetSheetState(true);
    host_.SheetOpened();
    ws.ShowReadyMode();
    ClearErrorFlag();
    ws.GetSheetView(view);
  }
  // A worksheet from anywhere else may come from anyone: the macros it would
  // start by itself, on a Ctrl key or from a button over its cells could
  // write, remove or replace files, so they run only when the user says so,
  // and a No holds until it is closed. While the question waits, messages
  // run (a second start may open another file): the answer is this
  // document's whichever is current then.
  const int slot = CurrentDocSlot();
  const std::vector<std::string> names = AutoMacroNames();
  const bool allowed = startUpWorksheet_ || (names.empty() && view.buttons.empty()) ||
                       host_.AllowAutoExec(normal, AutoMacroList(names, view.buttons));
  if (!allowed) RefuseDocumentMacros(slot, names);
  // The start-up macro of a file read only in part may be cut short: it is not run.
  if (!allowed || loaded != TLoadOutcome::kWhole || DocSlot(slot)->rowHeads == nullptr) return true;
  if (CurrentDocSlot() != slot) host_.BringDocumentToFront(normal);
  int autoExec = CurrentDocSlot() == slot ? FindRangeName(kAutoExecName) : 0;
  if (autoExec > 0) {
    TRange start = RangeNameRange(*RangeNameAt(autoExec));
    EnginePlatform().MessageBeep();
    ws.FocusActivePane();
    host_.RunMacroAt(start.firstRow, start.firstCol);
  }
  return true;
}

bool TFileCommands::OpenStartUpWorksheet(std::string_view name) {
  startUpWorksheet_ = true;
  bool opened = OpenFile(name);
  startUpWorksheet_ = false;
  return opened;
}

// Documents keep their names in upper case; where the file system tells case
// apart, HostFileName finds the file they name.
bool TFileCommands::WriteActive(std::string_view name) {
  TWaitCursorHold wait;
  ShowMode(kModeWait);
  LoadCursorGlobals();
  // The damaged file a document was read from in part is kept as the backup
  // when the part is saved over it.
  const TDocSlot* doc = DocSlot(CurrentDocSlot());
  bool overDamaged = doc != nullptr && doc->partlyRead && DocumentFileName(name) == doc->fileName;
  bool written = SaveWorksheet(HostFileName(std::string(name)), false, TRange{}, overDamaged);
  if (written) StoreSlotSettings(CurrentDocSlot());
  WindowServices().ShowReadyMode();
  ClearErrorFlag();
  return written;
}

bool TFileCommands::Save() {
  TDocSlot* slot = ActiveSlot();
  if (slot == nullptr) return false;
  // A document read only in part is not written over its file unasked: the
  // first save asks for the name, offering the file's own.
  if (slot->untitled || slot->fileName.empty() || slot->partlyRead) return SaveAs();
  return WriteActive(slot->fileName);
}

bool TFileCommands::SaveAs() {
  TDocSlot* slot = ActiveSlot();
  if (slot == nullptr) return false;
  int slotIndex = CurrentDocSlot();
  std::string name, folder;
  // A document read from a damaged file in part starts where that file is,
  // so that a name already there is the damaged file itself (kept as the
  // backup when saved over), never another worksheet of that name.
  const std::string start = slot->partlyRead ? FolderOnly(slot->fileName) : ProgramSettings().SaveDir;
  bool chosen = host_.ChooseSaveFile(FileNameOnly(slot->fileName), start, name, folder);
  if (!folder.empty()) ProgramSettings().SaveDir = folder;
  if (!chosen || name.empty()) return false;
  const std::string normal = DocumentFileName(name);
  // The name changes only once the file is written, so a failed save leaves
  // the document under its old name, still modified.
  if (!WriteActive(name)) return false;
  if (TDocSlot* saved = DocSlot(slotIndex)) saved->partlyRead = false;
  RenameOpenSheet(slotIndex, normal);
  host_.RenameActiveSheetWindow(normal);
  AddRecent(normal);
  return true;
}

bool TFileCommands::Close() {
  if (host_.SheetWindowCount() == 0) return true;
  bool closed = host_.CloseActiveSheetWindow();
  if (host_.SheetWindowCount() == 0) host_.SetSheetState(false);
  return closed;
}

bool TFileCommands::CloseAll() {
  while (host_.SheetWindowCount() > 0) {
    int before = host_.SheetWindowCount();
    if (!host_.CloseActiveSheetWindow() || host_.SheetWindowCount() >= before) break;
  }
  if (host_.SheetWindowCount() == 0) host_.SetSheetState(false);
  return host_.SheetWindowCount() == 0;
}

bool TFileCommands::OpenRecent(int index) {
  std::vector<TRecentItem> items = RecentMenuItems(ProgramSettings().History, RecentLimit());
  if (index < 0 || index >= kRecentMenuItems || !items[static_cast<std::size_t>(index)].visible) return false;
  return ShowOrOpen(items[static_cast<std::size_t>(index)].fileName);
}

void TFileCommands::AddRecent(std::string_view name) {
  AddRecentFile(ProgramSettings().History, name, RecentLimit());
  host_.RecentFilesChanged();
}

}  // namespace corvane
