// TMainForm: Foldwick's main window. The scanned roots as a tree on the left;
// on the right a chart of the selected folder's children (pie or bar) or a
// detailed list of them; a status bar below; menus and tool buttons above.
// The settings are read when the window is made and written when it closes;
// the command line is carried out when it is first shown.
//
// MainForm.cpp holds the window's making, settings, command line, timer and
// close; MainFormViews.cpp what follows the selection (status, caption,
// detail list, chart) and the tree commands.
#pragma once

#include "classlib/win/Win32.h"

#include <memory>
#include <string>
#include <vector>

#include "analyser/app/CommandLine.h"
#include "analyser/app/ExportText.h"
#include "analyser/app/PrintedReports.h"
#include "analyser/app/Settings.h"
#include "analyser/app/win/Automation.h"
#include "analyser/app/win/FileLister.h"
#include "analyser/app/win/Scan.h"
#include "analyser/components/win/AdvSplitter.h"
#include "analyser/components/win/ChartFX.h"
#include "analyser/components/win/ExtListView.h"
#include "analyser/components/win/MRUList.h"
#include "analyser/components/win/PageSetup.h"
#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/MainMenu.h"
#include "classlib/win/StdCtrls.h"
#include "classlib/win/Timer.h"
#include "classlib/win/ToolBar.h"
#include "classlib/win/TreeView.h"

namespace foldwick {

// The application's title and the program's version text.
constexpr char kApplicationTitle[] = "Kestrum Professional";
constexpr char kVersionText[] = "2.0";

class TSearchForm;

class TMainForm : public classlib::TForm {
 public:
  // Makes the window and its parts and reads the settings; `params` is the
  // command line, carried out when the window is first shown.
  explicit TMainForm(std::vector<std::string> params);
  ~TMainForm() override;

  TScanEngine& Engine() { return *engine_; }
  TChartFX& Chart() { return *chart_; }
  TExtListView& Details() { return *details_; }
  classlib::TTreeView& Tree() { return *tree_; }
  const TFoldwickSettings& Settings() const { return settings_; }
  // The menu bar and the tree's pop-up menu, for the tests.
  classlib::TMainMenu& MainMenu() { return *menu_; }
  classlib::TPopupMenu& RootPopup() { return *rootPopup_; }

 private:
  // Making the window (MainForm.cpp).
  void BuildMenus();
  void BuildToolBar();
  void BuildPanes();
  void FormCreate();
  void FormShow();
  void FormClose(classlib::TCloseAction& Action);
  void ApplyCreateSettings();
  TFoldwickSettings CurrentSettings();
  void LayoutCoolBar();
  void RunCommandLine();
  bool ScanSharedIdList(std::uint32_t handle, std::uint32_t process);
  bool ScanPathText(const std::string& path, int pendingAction, const std::string& actionFile);
  void TimerTimer();
  void RestartTimer(int tag);
  void ScanStep();

  // Commands (MainForm.cpp).
  void BrowseAndScan();
  void ScanDriveBoxChoice();
  void ShowPageSetup();
  void SetViewType(int viewType);
  void SetSortType(int sortType);
  void SetUnitType(int unitType);
  void RecentFileClicked(const std::string& path);

  // What follows the selection (MainFormViews.cpp).
  void TreeChange(classlib::TTreeNode* node);
  void TreeExpanding(classlib::TTreeNode* node, bool& allow);
  void TreeContextPopup(classlib::TTreeNode* node, classlib::TPoint at, bool& handled);
  void StatusUpdate(bool full);
  // Status panel 3: the current hint, or the root's cluster text.
  void ShowHintPanel();
  void UpdateCaption();
  void RequestListFill();
  void FillDetailList();
  // Fills the list now when its fill waits for the timer.
  void FillListIfDue();
  // While a scan runs, the list's rows when they are still those of `node`'s
  // folder: their texts made anew and sorted again. False when the list has
  // to be filled.
  bool RefreshDetailRows(classlib::TTreeNode* node, TFolderData& data, const TListedFiles& files);
  void FillChart();
  void ShowPie() { ShowChartView(chartlib::kTypePie); }
  void ShowBar() { ShowChartView(chartlib::kTypeBar); }
  void ShowList();
  void ShowChartView(int chartType);
  void ChartDoubleClick();
  void FetchChildIcons(classlib::TTreeNode* node);
  void DetailRowDeleted(classlib::TListItem* item);
  void DetailRowTexts(classlib::TListItem* item);
  // The detail list's order for a sort by `column` (OnSortRows).
  bool SortDetailRows(int column, bool ascending, std::vector<int>& order);
  // The rows of the files a lister handed over; with `last`, the listing is
  // complete and the rows are sorted.
  void AddFileRows(const std::vector<TListedFile>& files, bool last);
  // Stops the listing of the shown folder's files, then empties the list.
  void ClearDetails();
  void StopFileListing();
  // Waits until the shown folder's files are all in the list.
  void FinishFileListing();
  // The files the list of `node` shows; an empty path when it shows none.
  TListedFiles ListedFolder(classlib::TTreeNode* node);
  // Starts listing the files of the folder the list will show once its fill
  // is due, so that the wait for the fill is not added to the wait for the
  // file system; a listing of that folder already on its way goes on.
  void ListFilesEarly();
  // Starts listing `files`; the rows go to the list once it takes the
  // listing (`listerTaken_`), and wait in `earlyFiles_` until then.
  void StartFileListing(const TListedFiles& files);


  // Exports (MainFormExport.cpp).
  TExportOptions ExportOptions();
  void CopyScannedData();
  void SaveDataAs();
  void CopyListOfFiles();
  // The spreadsheet export of the selected node's root; gives the
  // spreadsheet application's object (empty when there was none).
  TAutoObject ExportDataToExcel(const std::string& fileName);
  void PendingAction(TScan& scan);
  void PendingExport();

  // Printed reports (MainFormPrint.cpp).
  void PrintReport(TReportKind kind);

  // Tree commands (MainFormViews.cpp).
  void UpdateBranch();
  void RemoveRootCommand();
  void ExpandToLevelCommand(int level);
  void SetSizeCommand();
  void RemoveSmallFolders();
  void CountFolders();
  void GoToParent();
  void RefreshSizeCaptions();

  // The file search window, the options dialog and the About box
  // (MainFormTools.cpp).
  void OpenSearch();
  bool SearchRunning() const;
  void StopSearch();
  void OptionsCommand();
  void AboutCommand();

  std::vector<std::string> params_;
  TFoldwickSettings settings_;
  bool shown_ = false;
  bool closing_ = false;

  classlib::TMainMenu* menu_ = nullptr;
  classlib::TMenuItem* fileMenu_ = nullptr;
  classlib::TMenuItem* exitItem_ = nullptr;
  // The separator above Exit; the recent files stand above it.
  classlib::TMenuItem* exitSeparator_ = nullptr;
  classlib::TMenuItem* viewItems_[7] = {};
  classlib::TMenuItem* sortItems_[4] = {};
  classlib::TMenuItem* unitItems_[3] = {};
  classlib::TMenuItem* pieItem_ = nullptr;
  classlib::TMenuItem* barItem_ = nullptr;
  classlib::TMenuItem* listItem_ = nullptr;
  classlib::TMenuItem* printReportItem_ = nullptr;
  classlib::TMenuItem* printChartItem_ = nullptr;
  classlib::TMenuItem* updateItem_ = nullptr;
  classlib::TMenuItem* branchMenu_ = nullptr;
  classlib::TMenuItem* exportMenu_ = nullptr;
  classlib::TMenuItem* splitItem_ = nullptr;
  classlib::TMenuItem* headerItem_ = nullptr;
  // The tree's pop-up menu, and the size commands' items in it and in the
  // Branch menu.
  classlib::TPopupMenu* rootPopup_ = nullptr;
  std::vector<classlib::TMenuItem*> removeItems_;
  std::vector<classlib::TMenuItem*> expandOverItems_;

  classlib::TPanel* coolBar_ = nullptr;
  classlib::TToolBar* toolBar_ = nullptr;
  classlib::TComboBox* driveBox_ = nullptr;
  std::vector<std::string> drivePaths_;
  int sortButtons_[4] = {-1, -1, -1, -1};
  int viewButtons_[6] = {-1, -1, -1, -1, -1, -1};
  int pieButton_ = -1, barButton_ = -1, listButton_ = -1, parentButton_ = -1, printButton_ = -1, searchButton_ = -1;

  classlib::TTreeView* tree_ = nullptr;
  TAdvSplitter* splitter_ = nullptr;
  classlib::TPanel* rightPane_ = nullptr;
  TChartFX* chart_ = nullptr;
  TExtListView* details_ = nullptr;
  TAdvStatusBar* status_ = nullptr;
  classlib::TImageList* systemImages_ = nullptr;
  classlib::TImageList* stateImages_ = nullptr;
  classlib::TImageList* toolImages_ = nullptr;
  classlib::TTimer* timer_ = nullptr;
  classlib::TTimer* refreshTimer_ = nullptr;
  TShellBrowser* shell_ = nullptr;
  TMRUFileList* recent_ = nullptr;
  TPageSetupDialog* pageSetup_ = nullptr;
  std::unique_ptr<TScanEngine> engine_;
  // Made when first opened, then shown and hidden.
  TSearchForm* searchForm_ = nullptr;

  // Lists the files of the folder the detail list shows, or will show when
  // its fill is due: what it lists, whether the list took it, the files it
  // listed before, and a count that tells its hand-overs from those of
  // listers stopped before it.
  std::unique_ptr<TFileLister> fileLister_;
  TListedFiles listerFiles_;
  bool listerTaken_ = false;
  std::vector<TListedFile> earlyFiles_;
  unsigned listerGeneration_ = 0;
  // Listers stopped but not yet ended: they are let go once ended, so that
  // the window never waits for a file system call.
  std::vector<std::unique_ptr<TFileLister>> stoppedListers_;
  // The folder whose rows the list holds, and the files it lists there.
  classlib::TTreeNode* listNode_ = nullptr;
  TListedFiles listFiles_;
  // What the detail list's values depend on, for its rows' texts.
  TValueContext listContext_;
  // The root whose folder the list shows, for its file rows.
  std::shared_ptr<TScanRoot> listRoot_;

  // The node the update and remove commands act on.
  classlib::TTreeNode* updateNode_ = nullptr;
  // The chart type before the list view took its place.
  int chartTypeBeforeList_ = chartlib::kTypePie;
  bool listShown_ = false;
  // The cluster text of the selected node's root, shown when no hint is.
  std::string clusterText_;
  // The file of a command-line spreadsheet export waiting for the timer.
  std::string pendingExportFile_;
};

}  // namespace foldwick
