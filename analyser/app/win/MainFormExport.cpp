// The main window's export commands and the actions a command-line scan
// carries out when it ends: save the report, export to a spreadsheet.
#include "analyser/app/win/MainForm.h"

#include <commdlg.h>

#include <functional>

#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/Export.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/components/ListViewRules.h"
#include "classlib/win/Application.h"
#include "classlib/win/Dialogs.h"
#include "classlib/win/Thread.h"

namespace foldwick {

namespace {

// The node's root, or the node itself when it has no parent.
classlib::TTreeNode* RootNodeOf(classlib::TTreeNode* node) {
  while (node != nullptr && node->Parent() != nullptr) node = node->Parent();
  return node;
}

std::string TodayText() {
  char text[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
  return text;
}

}  // namespace

TExportOptions TMainForm::ExportOptions() {
  TExportOptions options;
  options.split = splitItem_->Checked;
  options.header = headerItem_->Checked;
  // The export texts are UTF-8; the window's texts are ANSI.
  options.title = Utf8FromAnsi(kApplicationTitle);
  options.format = ViewSettings().Format;
  options.format.number.thousandSeparator = Utf8FromAnsi(options.format.number.thousandSeparator);
  options.format.number.decimalSeparator = Utf8FromAnsi(options.format.number.decimalSeparator);
  const std::vector<int> order = details_->ColumnOrder();
  for (int p = 1; p < details_->ColumnCount(); ++p)
    options.columnCaptions.push_back(Utf8FromAnsi(details_->ColumnCaption(ColumnAtPosition(order, p))));
  return options;
}

void TMainForm::CopyScannedData() {
  // The reports of all roots, newest first, go to the clipboard as one text.
  const TExportOptions options = ExportOptions();
  std::string text;
  for (const auto& root : engine_->Roots())
    if (root->rootNode != nullptr)
      text += ClipboardReport(SnapshotBranch(root->rootNode), RootCaptionOf(*root), RootPathOf(*root), options);
  if (!text.empty() && !WriteClipboardUtf8Text(text)) classlib::MessageDlg("The clipboard is not available.");
}

void TMainForm::SaveDataAs() {
  classlib::TTreeNode* root = RootNodeOf(tree_->Selected());
  TScanRoot* scanRoot = engine_->RootOfNode(root);
  if (root == nullptr || scanRoot == nullptr) return;
  // The wide dialog: the file may be named outside the ANSI code page.
  wchar_t file[MAX_PATH] = L"";
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = L"Save Kestrum Data";
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameW(&dialog)) return;
  classlib::TWaitCursor wait;
  std::string error;
  if (!SaveTextToFile(Utf8FromWide(file), FileReport(SnapshotBranch(root), RootCaptionOf(*scanRoot), ExportOptions()), false, error))
    classlib::MessageDlg(error, MB_OK | MB_ICONERROR);
}

void TMainForm::CopyListOfFiles() {
  TScanRoot* root = engine_->RootOfNode(tree_->Selected());
  TFolderData* rootData = root != nullptr ? NodeData(root->rootNode) : nullptr;
  if (rootData == nullptr || root->path.empty()) return;
  // The root's own wide path: its name may lie outside the ANSI code page.
  const std::wstring path = rootData->FileSystemPath();
  status_->SetPanelText(3, "Please Wait! This may take a while ...");
  status_->Update();
  // The walk reads the disk again, for seconds on a tree of tens of
  // thousands of folders: it runs on a thread of its own while the window
  // keeps painting (and takes no input until it is done).
  class TWalk : public classlib::TThread {
   public:
    explicit TWalk(std::function<std::string()> read) : classlib::TThread(true), read_(std::move(read)) {}
    std::string text;

   protected:
    void Execute() override { text = read_(); }

   private:
    std::function<std::string()> read_;
  } walk([path, patterns = ViewSettings().FilterPatterns, split = splitItem_->Checked,
          header = headerItem_->Checked] { return ReadFileList(path, patterns, split, header, kApplicationTitle); });
  {
    classlib::TWaitCursor wait;
    walk.Start();
    walk.WaitFor(true);
  }
  const std::string& text = walk.text;
  StatusUpdate(false);
  if (!WriteClipboardUtf8Text(text)) classlib::MessageDlg("The clipboard is not available.");
}

TAutoObject TMainForm::ExportDataToExcel(const std::string& fileName) {
  TAutoObject application;
  classlib::TTreeNode* root = RootNodeOf(tree_->Selected());
  TScanRoot* scanRoot = engine_->RootOfNode(root);
  if (root == nullptr || scanRoot == nullptr) return application;
  TSpreadsheetExport what;
  what.options = ExportOptions();
  const std::vector<int> order = details_->ColumnOrder();
  for (int p = 0; p < details_->ColumnCount(); ++p) {
    const int index = ColumnAtPosition(order, p);
    what.columns.emplace_back(Utf8FromAnsi(details_->ColumnCaption(index)), index);
  }
  what.rootCaption = RootCaptionOf(*scanRoot);
  what.rootPath = RootPathOf(*scanRoot);
  what.date = Utf8FromAnsi(TodayText());
  what.fileName = fileName;
  switch (ExportToSpreadsheet(SnapshotBranch(root), what, application)) {
    case TSpreadsheetResult::srDone:
      break;
    case TSpreadsheetResult::srNotInstalled:
      classlib::MessageDlg(kSpreadsheetMissingText);
      break;
    case TSpreadsheetResult::srOleError:
      MessageBoxA(Handle(), kSpreadsheetOleErrorText, (std::string(kApplicationTitle) + " Error").c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
      break;
  }
  return application;
}

void TMainForm::PendingAction(TScan& scan) {
  auto othersRunning = [&] {
    for (const auto& root : engine_->Roots())
      if (root->runningScan != nullptr && root->runningScan != &scan) return true;
    return false;
  };
  // The scan has ended: the reports show the percentages, which are left
  // blank while a root's scan runs. (The engine clears the root's scan after
  // the action anyway.)
  TScanRoot& root = scan.Root();
  root.runningScan = nullptr;
  switch (scan.PendingAction) {
    case kActionSaveReport: {
      std::string error;
      if (!SaveTextToFile(scan.ActionFile, FileReport(SnapshotBranch(scan.Node()), RootCaptionOf(root), ExportOptions()), true,
                          error))
        classlib::MessageDlg(error, MB_OK | MB_ICONERROR);
      if (!othersRunning()) Close();
      break;
    }
    case kActionPrint:
      // As with a saved report, the program waits for the other scans of
      // its command line to print theirs.
      PrintReport(TReportKind::rkFolder);
      if (!othersRunning()) Close();
      break;
    case kActionExport:
      // The export waits for the timer, after any deferred work it has.
      classlib::ProcessMessagesUntil([this] { return timer_->Tag == 0; }, INFINITE);
      pendingExportFile_ = scan.ActionFile;
      timer_->Tag = 4;
      timer_->SetInterval(400);
      timer_->SetEnabled(true);
      break;
    default:
      break;
  }
}

void TMainForm::PendingExport() {
  TAutoObject application = ExportDataToExcel(pendingExportFile_);
  // A command-line export ends the program once no scan is left.
  if (engine_->AnyScanRunning()) return;
  if (application) {
    try {
      application.Call("Quit");
    } catch (const EOleError&) {
      // The application went away by itself.
    }
  }
  Close();
}

}  // namespace foldwick
