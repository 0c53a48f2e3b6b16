// The main frame's file commands: New, Open, Save, Save As, Close and Close
// All, opening a worksheet into a new sheet window, and the recent-file list
// under the File menu. The dialogs, windows and menus are reached through
// TFileCommandHost; reading and writing the file is the worksheet file code's.
//
// Nothing is reported as done that was not: a save that fails keeps the
// document's name and modified flag (so closing asks again), and a file that
// cannot be read leaves no window behind and changes no open document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* kInvalidWksFileText = "Invalid WKS File!";
inline constexpr int kRecentMenuItems = 10;

// What the file commands need of the frame and its sheet windows.
class TFileCommandHost {
 public:
  virtual ~TFileCommandHost() = default;
  // Creates a sheet window captioned `name` that registers its document
  // (untitled for a new sheet) and makes it the active window and the current
  // document. False, with nothing created, when that fails.
  virtual bool CreateSheetWindow(std::string_view name, bool untitled) = 0;
  // Closes the active sheet window without any question (its document failed
  // to load).
  virtual void DiscardActiveSheetWindow() = 0;
  // Closes the active sheet window through its save question; false when it
  // stays open.
  virtual bool CloseActiveSheetWindow() = 0;
  virtual int SheetWindowCount() = 0;
  // The active window's caption after its document got a new name.
  virtual void RenameActiveSheetWindow(std::string_view name) = 0;
  // Brings every sheet window captioned `name` (any case) to the front; a
  // name without a folder stands for that file name in any folder. False
  // when there is none.
  virtual bool BringDocumentToFront(std::string_view name) = 0;
  // The open and save dialogs. `folder` receives the folder the dialog ended
  // in, also on cancel; true when a name was chosen. The save dialog starts
  // in `startFolder` (the current folder when empty) proposing `proposed`.
  virtual bool ChooseOpenFile(std::string& name, std::string& folder) = 0;
  virtual bool ChooseSaveFile(std::string_view proposed, std::string_view startFolder, std::string& name,
                              std::string& folder) = 0;
  // The menus and tool bars switch to the sheet-open or the no-sheet state.
  virtual void SetSheetState(bool sheetOpen) = 0;
  // A document was made or read into the active window: the selection mark
  // is cleared, and the indicators, the protect button, the recalculation
  // panel, the scroll ranges and the tab of the cursor's sheet follow it.
  virtual void SheetOpened() = 0;
  // Re-reads the linked files and recalculates every open document.
  virtual void RecalculateAll() = 0;
  // The recent-file items of the File menu must be shown again.
  virtual void RecentFilesChanged() = 0;
  // Runs the macro that starts at (row, col).
  virtual void RunMacroAt(int row, int col) = 0;
  // Asks whether the macros of the worksheet `fileName` that start by
  // themselves, on a Ctrl key or from a button on the sheet may run; `macros`
  // lists them, one a line with the first line of each. "No" is the default
  // answer. Without a window to ask in, nothing runs.
  virtual bool AllowAutoExec(std::string_view /*fileName*/, std::string_view /*macros*/) { return false; }
};

// One recent-file menu item: shown or hidden, its caption and the full name
// its click opens.
struct TRecentItem {
  bool visible = false;
  std::string caption;
  std::string fileName;
};

// The ten recent-file items ("NM0" to "NM9") for `list` (oldest first) under
// `limit` (kept to 0..10): item i shows the i-th newest entry as "&", i, a
// blank and the name without its folder (a "&" in it doubled, so that it
// shows and chooses nothing).
std::vector<TRecentItem> RecentMenuItems(const std::vector<std::string>& list, int limit);

// The name a new sheet window gets: "SHEET", the number of open windows plus
// one, ".WKS".
std::string NewSheetName(int openWindows);

// The last part of a path (after the last "\", "/" or ":").
std::string FileNameOnly(std::string_view path);
// The folder of a path: all before its last "\" or "/" ("" when there is
// none).
std::string FolderOnly(std::string_view path);

class TFileCommands {
 public:
  explicit TFileCommands(TFileCommandHost& host) : host_(host) {}

  // File/New: an untitled sheet window with a fresh document stamped with
  // the current date and time.
  bool New();
  // File/Open: the open dialog, then OpenFile.
  bool Open();
  // Opens `name` as the Open command does after its dialog, as every other
  // way of opening a file does (command line, second start, recent list, a
  // macro's FILEOPEN): a document already open under any spelling of the
  // file's path comes to the front; otherwise a file that is not a worksheet
  // is refused with "Invalid WKS File!", and a worksheet is read by
  // OpenWorksheet. The name joins the recent files when the document is open
  // afterwards.
  bool OpenFile(std::string_view name);
  // Reads the file `name` into a new sheet window. A file that cannot be read
  // whole (the reader has shown why) takes its window with it: false, and the
  // other documents are as they were. A document with a range named AUTOEXEC,
  // a Ctrl+letter name or a button on the sheet asks the host's question
  // first (except for the program's own start-up worksheet); Yes runs the
  // AUTOEXEC macro, No refuses those names and buttons until the document is
  // closed.
  bool OpenWorksheet(std::string_view name);
  // OpenFile for the program's own start-up worksheet (the AUTOEXEC setting's
  // file, opened when no file is named on the command line): its AUTOEXEC
  // macro runs without a question.
  bool OpenStartUpWorksheet(std::string_view name);
  // Save and Save As of the active document; true only when the file was
  // written. Save As starts in the last save folder, but a document read from
  // a damaged file only in part starts in that file's folder with its name.
  bool Save();
  bool SaveAs();
  // Close and Close All: false when a window stayed open.
  bool Close();
  bool CloseAll();
  // A click on recent-file item `index` (0..9).
  bool OpenRecent(int index);

 private:
  // Brings the document `name` to the front when it is open, else reads it;
  // either way it becomes the newest recent file.
  bool ShowOrOpen(std::string_view name);
  bool WriteActive(std::string_view name);
  void AddRecent(std::string_view name);

  TFileCommandHost& host_;
  bool startUpWorksheet_ = false;  // the file being opened is the start-up worksheet
};

}  // namespace corvane
