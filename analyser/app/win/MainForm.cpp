// The main window: its parts, menus and tool buttons, settings, command line,
// deferred actions and close.
#include "analyser/app/win/MainForm.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "analyser/app/MainWindowText.h"
#include "analyser/app/ToolGlyphs.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FileLister.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/RegistryStore.h"
#include "analyser/app/win/ScanTree.h"
#include "classlib/win/Application.h"
#include "classlib/win/GdiCanvas.h"
#include "classlib/win/Dialogs.h"
#include "classlib/win/Registry.h"

namespace foldwick {

using classlib::TMenuItem;

namespace {

// Timer tags: fill the detail list, open the file search, spreadsheet export.
constexpr int kTagFillList = 1;
constexpr int kTagSearch = 2;
constexpr int kTagListFilled = 3;
constexpr int kTagExport = 4;

// The refresh of the views while a scan runs, at most this often.
constexpr unsigned kScanRefreshMs = 700;

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, classlib::TNotifyEvent onClick = nullptr) {
  auto* item = new TMenuItem(nullptr);
  item->Caption = caption;
  item->OnClick = std::move(onClick);
  parent->Add(item);
  return item;
}

// An image list of 16 x 16 pictures drawn by `draw` (index, canvas, x, y).
// The strip is a bitmap of the screen's kind and is no longer selected into
// a device context when the list takes it, as the list needs.
HIMAGELIST DrawnImages(int count, const std::function<void(int, classlib::TCanvas&, int, int)>& draw) {
  constexpr classlib::TColor kMask = classlib::RGBColor(255, 0, 255);
  classlib::TWindowDCLease screen(nullptr);
  classlib::TOwnedBitmap strip(CreateCompatibleBitmap(screen.Get(), 16 * count, 16));
  classlib::TOwnedMemoryDC dc(screen.Get());
  if (!strip || dc.Get() == nullptr) return nullptr;
  {
    classlib::TSelectScope select(dc.Get(), strip.Get());
    classlib::TGdiCanvas canvas(dc.Get());
    canvas.Brush.Color = kMask;
    canvas.FillRect({0, 0, 16 * count, 16});
    for (int i = 0; i < count; ++i) draw(i, canvas, 16 * i, 0);
  }
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, count, 0);
  if (list != nullptr) ImageList_AddMasked(list, strip.Get(), kMask);
  return list;
}

classlib::TFont IconTitleFont() {
  classlib::TFont font;
  LOGFONTA log = {};
  if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof log, &log, 0)) return font;
  font.Name = log.lfFaceName;
  font.Height = log.lfHeight;
  font.Style = static_cast<classlib::TFontStyles>((log.lfWeight >= FW_BOLD ? classlib::fsBold : 0) |
                                                  (log.lfItalic ? classlib::fsItalic : 0));
  font.CharSet = log.lfCharSet;
  return font;
}

std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[16] = "";
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) > 1 ? buffer : fallback;
}

}  // namespace

TMainForm::TMainForm(std::vector<std::string> params) : classlib::TForm(nullptr, kApplicationTitle), params_(std::move(params)) {
  Position = classlib::TPosition::poDesigned;
  SetBounds(40, 30, 780, 540);
  BuildMenus();
  BuildToolBar();
  BuildPanes();
  OnShow = [this](classlib::TObject*) { FormShow(); };
  OnClose = [this](classlib::TObject*, classlib::TCloseAction& action) { FormClose(action); };
  FormCreate();
}

TMainForm::~TMainForm() {
  // The scans stop and the rows let go of their folders before the parts go.
  if (engine_) engine_->StopAllScans();
  if (details_ != nullptr) ClearDetails();
  engine_.reset();
}

void TMainForm::BuildMenus() {
  menu_ = new classlib::TMainMenu(this, this);
  TMenuItem* bar = menu_->Items();

  fileMenu_ = AddItem(bar, "&File");
  AddItem(fileMenu_, "&Scan Folder...", [this](auto) { BrowseAndScan(); });
  AddItem(fileMenu_, "Scan &All Drives", [this](auto) { engine_->ScanAllDrives(); });
  updateItem_ = AddItem(fileMenu_, "&Update", [this](auto) { UpdateBranch(); });
  AddItem(fileMenu_, "-");
  printReportItem_ = AddItem(fileMenu_, "&Print Report...", [this](auto) { PrintReport(TReportKind::rkFolder); });
  printChartItem_ = AddItem(fileMenu_, "Print &Chart...", [this](auto) {
    PrintReport(listShown_ ? TReportKind::rkContents : TReportKind::rkChart);
  });
  AddItem(fileMenu_, "Pa&ge Setup...", [this](auto) { ShowPageSetup(); });
  AddItem(fileMenu_, "-");
  // E: F is the print item's while the list shows ("Print &Folder Contents...").
  AddItem(fileMenu_, "S&earch Files...", [this](auto) { OpenSearch(); });
  AddItem(fileMenu_, "&Options...", [this](auto) { OptionsCommand(); });
  exitSeparator_ = AddItem(fileMenu_, "-");
  exitItem_ = AddItem(fileMenu_, "E&xit", [this](auto) { Close(); });

  exportMenu_ = AddItem(bar, "&Export");
  AddItem(exportMenu_, "&Copy Scanned Data", [this](auto) { CopyScannedData(); });
  AddItem(exportMenu_, "Save Data &As ...", [this](auto) { SaveDataAs(); });
  AddItem(exportMenu_, "Copy &List of Files", [this](auto) { CopyListOfFiles(); });
  AddItem(exportMenu_, "&Export Data to Excel", [this](auto) { ExportDataToExcel(""); });
  AddItem(exportMenu_, "-");
  splitItem_ = AddItem(exportMenu_, "&Split Name and Path", [this](auto) { splitItem_->Checked = !splitItem_->Checked; });
  headerItem_ = AddItem(exportMenu_, "&Include Header", [this](auto) { headerItem_->Checked = !headerItem_->Checked; });

  TMenuItem* view = AddItem(bar, "&View");
  const char* viewCaptions[] = {"", "&Size", "&Allocated", "&Percent of Parent", "&Wasted Space", "&CD-ROM Size"};
  for (int v = kViewSize; v <= kViewCdRom; ++v)
    viewItems_[v] = AddItem(view, viewCaptions[v], [this, v](auto) { SetViewType(v); });
  AddItem(view, "-");
  const char* unitCaptions[] = {"MB &only", "KB/MB &Mixed", "&KB only"};
  for (int u = kUnitMB; u <= kUnitKB; ++u) unitItems_[u] = AddItem(view, unitCaptions[u], [this, u](auto) { SetUnitType(u); });
  AddItem(view, "-");
  pieItem_ = AddItem(view, "P&ie Chart", [this](auto) { ShowPie(); });
  barItem_ = AddItem(view, "&Bar Chart", [this](auto) { ShowBar(); });
  listItem_ = AddItem(view, "&Detailed List", [this](auto) { ShowList(); });

  TMenuItem* sort = AddItem(bar, "&Sort");
  const char* sortCaptions[] = {"", "by &Name", "by &Size", "No S&orting"};
  for (int s = kSortByName; s <= kNoSorting; ++s)
    sortItems_[s] = AddItem(sort, sortCaptions[s], [this, s](auto) { SetSortType(s); });

  // The tree's pop-up menu; the Branch menu copies it from its fourth item on.
  rootPopup_ = new classlib::TPopupMenu(this);
  TMenuItem* popup = rootPopup_->Items();
  AddItem(popup, "&Update", [this](auto) { UpdateBranch(); })->Name = "Update1";
  // O: R is "&Remove Folder"'s.
  AddItem(popup, "Remove R&oot", [this](auto) { RemoveRootCommand(); })->Name = "RemoveRoot1";
  AddItem(popup, "-");
  TMenuItem* expand = AddItem(popup, "&Expand");
  expand->Name = "Expand1";
  for (int level = 1; level <= 5; ++level) {
    TMenuItem* item = AddItem(expand, "To Level &" + std::to_string(level));
    item->Tag = level;
    item->Name = "ToLevel" + std::to_string(level);
  }
  AddItem(expand, "-");
  TMenuItem* over = AddItem(expand, "Expand Folder &over: 10 MB");
  over->Tag = 100;
  over->Name = "ExpandOver1";
  for (int i = 0; i < expand->Count(); ++i) {
    TMenuItem* item = expand->Items(i);
    if (item->Tag > 0) item->OnClick = [this](classlib::TObject* sender) {
      ExpandToLevelCommand(static_cast<int>(static_cast<TMenuItem*>(sender)->Tag));
    };
  }
  AddItem(popup, "&Set Size...", [this](auto) { SetSizeCommand(); })->Name = "SetSize1";
  AddItem(popup, "&Remove Folder <10 MB", [this](auto) { RemoveSmallFolders(); })->Name = "RemoveFolder1";
  AddItem(popup, "&Count Folders", [this](auto) { CountFolders(); })->Name = "CountFolders1";

  branchMenu_ = AddItem(bar, "&Branch");
  for (int i = 3; i < popup->Count(); ++i) branchMenu_->Add(classlib::CopyMenuItem(*popup->Items(i), "2"));
  // The size captions, in the pop-up and in its Branch copy.
  for (TMenuItem* root : {popup, branchMenu_})
    for (int i = 0; i < root->Count(); ++i) {
      TMenuItem* item = root->Items(i);
      if (item->Caption.rfind("&Remove Folder", 0) == 0) removeItems_.push_back(item);
      for (int j = 0; j < item->Count(); ++j)
        if (item->Items(j)->Tag == 100) expandOverItems_.push_back(item->Items(j));
    }

  TMenuItem* help = AddItem(bar, "&Help");
  AddItem(help, "&About...", [this](auto) { AboutCommand(); });
}

void TMainForm::BuildToolBar() {
  coolBar_ = new classlib::TPanel(this);
  coolBar_->SetBevelOuter(classlib::TBevelCut::bvNone);
  coolBar_->SetHeight(30);
  coolBar_->SetAlign(classlib::alTop);
  coolBar_->SetParent(this);
  coolBar_->OnResize = [this](classlib::TObject*) { LayoutCoolBar(); };

  toolImages_ = new classlib::TImageList(this);
  toolImages_->SetHandle(DrawnImages(kToolGlyphCount, [](int i, classlib::TCanvas& c, int x, int y) {
    DrawToolGlyph(c, i, x, y);
  }));
  toolBar_ = new classlib::TToolBar(this);
  toolBar_->SetImages(toolImages_);
  toolBar_->SetParent(coolBar_);
  toolBar_->AddButton(kGlyphBrowse, "Scan a folder", [this](auto) { BrowseAndScan(); });
  parentButton_ = toolBar_->AddButton(kGlyphParent, "Parent folder", [this](auto) { GoToParent(); });
  toolBar_->AddButton(kGlyphUpdate, "Update the selected branch", [this](auto) { UpdateBranch(); });
  toolBar_->AddSeparator();
  const char* sortHints[] = {"", "Sort by name", "Sort by size", "No sorting"};
  for (int s = kSortByName; s <= kNoSorting; ++s)
    sortButtons_[s] = toolBar_->AddButton(kGlyphSortName + s - 1, sortHints[s], [this, s](auto) { SetSortType(s); }, 1);
  toolBar_->AddSeparator();
  const char* viewHints[] = {"", "Show sizes", "Show allocated space", "Show percent of parent", "Show wasted space",
                             "Show CD-ROM sizes"};
  for (int v = kViewSize; v <= kViewCdRom; ++v)
    viewButtons_[v] = toolBar_->AddButton(kGlyphViewSize + v - 1, viewHints[v], [this, v](auto) { SetViewType(v); }, 2);
  toolBar_->AddSeparator();
  pieButton_ = toolBar_->AddButton(kGlyphPie, "Pie chart", [this](auto) { ShowPie(); }, 3);
  barButton_ = toolBar_->AddButton(kGlyphBar, "Bar chart", [this](auto) { ShowBar(); }, 3);
  listButton_ = toolBar_->AddButton(kGlyphList, "Detailed list", [this](auto) { ShowList(); }, 3);
  toolBar_->AddSeparator();
  printButton_ = toolBar_->AddButton(kGlyphPrint, "Print report", [this](auto) { PrintReport(TReportKind::rkFolder); });
  searchButton_ = toolBar_->AddButton(kGlyphSearch, "Search files", [this](auto) { OpenSearch(); });
  toolBar_->SetButtonEnabled(printButton_, false);
  toolBar_->SetButtonEnabled(parentButton_, false);

  driveBox_ = new classlib::TComboBox(this);
  driveBox_->Style = classlib::TComboBoxStyle::csDropDownList;
  driveBox_->DropDownCount = 12;
  driveBox_->SetParent(coolBar_);
  // The arrows move the choice; closing the list on a choice, or Enter,
  // scans the drive chosen.
  driveBox_->OnCloseUp = [this](classlib::TObject*) { ScanDriveBoxChoice(); };
  driveBox_->OnKeyDown = [this](classlib::TObject*, int& key, classlib::TShiftState) {
    if (key != VK_RETURN || driveBox_->DroppedDown()) return;
    key = 0;
    ScanDriveBoxChoice();
  };
}

void TMainForm::LayoutCoolBar() {
  if (toolBar_ == nullptr || driveBox_ == nullptr) return;
  const int bandHeight = 28;
  const int width = std::max(settings_.ToolBar1Width, 40);
  toolBar_->SetBounds(2, 2, width, 26);
  const bool newRow = settings_.ToolBarBreak;
  const int left = newRow ? 2 : width + 8;
  driveBox_->SetBounds(left, newRow ? bandHeight + 3 : 3, std::max(coolBar_->ClientWidth() - left - 4, 100), 22);
  const int height = newRow ? 2 * bandHeight + 4 : bandHeight + 2;
  if (coolBar_->Height() != height) coolBar_->SetHeight(height);
}

void TMainForm::BuildPanes() {
  status_ = new TAdvStatusBar(this);
  status_->SetParent(this);
  status_->SetPanelWidths({260, 120, 16, 300});

  tree_ = new classlib::TTreeView(this, this);
  tree_->SetAlign(classlib::alLeft);
  tree_->SetWidth(222);
  splitter_ = new TAdvSplitter(this);
  splitter_->SetParent(this);
  rightPane_ = new classlib::TPanel(this);
  rightPane_->SetBevelOuter(classlib::TBevelCut::bvNone);
  rightPane_->SetAlign(classlib::alClient);
  rightPane_->SetParent(this);

  // The system's small icons for folders and files, and the progress pies.
  SHFILEINFOA info = {};
  auto system = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  systemImages_ = new classlib::TImageList(this);
  systemImages_->ShareImages = true;
  systemImages_->SetHandle(system);
  stateImages_ = new classlib::TImageList(this);
  stateImages_->SetHandle(DrawnImages(16, [](int i, classlib::TCanvas& c, int x, int y) { DrawProgressGlyph(c, i, x, y); }));
  tree_->SetImages(systemImages_);
  tree_->SetStateImages(stateImages_);

  chart_ = new TChartFX(this);
  chart_->SetAlign(classlib::alClient);
  chart_->SetVisible(false);
  chart_->SetParent(rightPane_);
  // The chart's look as the window has always had it.
  chart_->SetType_(17669);
  chart_->SetLeftGap(54);
  chart_->SetRightGap(30);
  chart_->SetTopGap(32);
  chart_->SetBottomGap(51);
  chart_->SetPaletteBar(false);
  chart_->SetPatternBar(false);
  chart_->SetRGBColor(0, classlib::clAqua);
  chart_->SetRGBColor(1, classlib::clSilver);
  chart_->SetRGBColor(2, classlib::clSilver);
  chart_->SetRGBColor(3, classlib::clWhite);
  chart_->SetView3DDepth(65);
  chart_->SetView3DLight(true);
  chart_->SetWallWidth(8);
  chart_->SetShape(12);
  chart_->SetFixedGap(0);
  chart_->SetVertGridGap(1);
  chart_->SetMarkerSize(3);
  chart_->SetMarkerVolume(70);
  chart_->SetGrid(3);
  chart_->SetPointType(2);
  chart_->SetScheme(0);
  chart_->SetStacked(1);
  chart_->SetCustomTool(15724516);
  chart_->SetGalleryTool(14367);
  chart_->SetStyle(-4096);
  chart_->SetDecimals(0);
  chart_->SetDblClkDlg(2);
  chart_->SetRigClkDlg(0);
  chart_->OnLButtonDblClk = [this](classlib::TObject*, std::int16_t, std::int16_t, std::int16_t, std::int32_t,
                                   std::int16_t&) { ChartDoubleClick(); };

  details_ = new TExtListView(this);
  details_->SetAlign(classlib::alClient);
  details_->SetVisible(false);
  details_->SetStyle(TLVStyle::lvOwnerDrawFixed);
  details_->HideSelection = false;
  // A folder may hold hundreds of thousands of files: the control asks for
  // the rows it shows.
  details_->VirtualRows = true;
  for (const TDetailColumn& c : kDetailColumns)
    details_->AddColumn(c.caption, c.width, c.rightAligned ? classlib::TAlignment::taRightJustify
                                                           : classlib::TAlignment::taLeftJustify);
  details_->SetExtendedStyles(lvxGridLines | lvxFullRowSelect | lvxHeaderDragDrop);
  details_->SetShowSortArrows(true);
  details_->SetAutoColumnSort(TAutoColumnSort::acsSortToggle);
  details_->SaveSettings.AutoSave = true;
  details_->SaveSettings.RegistryKey = kSettingsKey;
  details_->SetSmallImages(systemImages_);
  details_->OnSortRows = [this](classlib::TObject*, int column, bool ascending, std::vector<int>& order) {
    return SortDetailRows(column, ascending, order);
  };
  details_->OnDeletion = [this](classlib::TObject*, classlib::TListItem* item) { DetailRowDeleted(item); };
  details_->OnGetRowTexts = [this](classlib::TObject*, classlib::TListItem* item) { DetailRowTexts(item); };
  details_->SetParent(rightPane_);
  // The widths and order the user left.
  details_->Loaded();

  timer_ = new classlib::TTimer(this);
  timer_->SetEnabled(false);
  timer_->SetInterval(400);
  timer_->OnTimer = [this](classlib::TObject*) { TimerTimer(); };
  refreshTimer_ = new classlib::TTimer(this);
  refreshTimer_->SetEnabled(false);
  refreshTimer_->SetInterval(kScanRefreshMs);
  refreshTimer_->OnTimer = [this](classlib::TObject*) {
    refreshTimer_->SetEnabled(false);
    StatusUpdate(true);
  };

  shell_ = new TShellBrowser(this);
  pageSetup_ = new TPageSetupDialog(this);
  recent_ = new TMRUFileList(this);
  recent_->SetMaximum(6);
  recent_->AutoSaveName = std::string("\\") + kSettingsKey;
  recent_->AutoSaveKey = "MRU Items";
  recent_->RemoveOnClick = false;
  recent_->SetFileMenu(exitSeparator_);
  recent_->OnMRUItemClick = [this](classlib::TObject*, const std::string& path) { RecentFileClicked(path); };

  engine_ = std::make_unique<TScanEngine>(*tree_);
  engine_->RecentFiles = recent_;
  engine_->OnCaptionChange = [this](classlib::TObject*) { UpdateCaption(); };
  engine_->OnClearDetails = [this](classlib::TObject*) { ClearDetails(); };
  engine_->OnStatusUpdate = [this](classlib::TObject*) { StatusUpdate(true); };
  engine_->OnScanStep = [this](TScan&) { ScanStep(); };
  engine_->OnPendingAction = [this](TScan& scan) { PendingAction(scan); };
  // A node about to go is forgotten first.
  auto release = tree_->OnDeletion;
  tree_->OnDeletion = [this, release](classlib::TObject* sender, classlib::TTreeNode* node) {
    if (node == updateNode_) updateNode_ = nullptr;
    if (release) release(sender, node);
  };
  tree_->OnChange = [this](classlib::TObject*, classlib::TTreeNode* node) { TreeChange(node); };
  tree_->OnExpanding = [this](classlib::TObject*, classlib::TTreeNode* node, bool& allow) { TreeExpanding(node, allow); };
  tree_->OnContextPopup = [this](classlib::TObject*, classlib::TTreeNode* node, classlib::TPoint at, bool& handled) {
    TreeContextPopup(node, at, handled);
  };
  tree_->OnMouseDown = [this](classlib::TObject*, classlib::TMouseButton, classlib::TShiftState, int, int) {
    timer_->SetInterval(100);
  };
}

void TMainForm::FormCreate() {
  classlib::Application().Title = kApplicationTitle;
  // The Sort and View items say what their buttons say; hints show in the
  // status bar.
  for (int s = kSortByName; s <= kNoSorting; ++s) sortItems_[s]->Hint = toolBar_->Hint(sortButtons_[s]);
  for (int v = kViewSize; v <= kViewCdRom; ++v) viewItems_[v]->Hint = toolBar_->Hint(viewButtons_[v]);
  pieItem_->Hint = toolBar_->Hint(pieButton_);
  barItem_->Hint = toolBar_->Hint(barButton_);
  listItem_->Hint = toolBar_->Hint(listButton_);
  classlib::Application().OnHint = [this](classlib::TObject*) { ShowHintPanel(); };
  TRegistryStore store;
  TFoldwickSettings defaults;
  defaults.Width = Width();
  defaults.Height = Height();
  defaults.Left = Left();
  defaults.Top = Top();
  defaults.Charttype = chart_->HasChart() ? chart_->Type_() : defaults.Charttype;
  settings_ = ReadSettings(store, defaults);
  ApplyCreateSettings();
  // A second copy started meanwhile opens lower and to the right; the real
  // place is written at close.
  store.Write("Top", std::to_string(settings_.Top + 20));
  store.Write("Left", std::to_string(settings_.Left + 20));
  recent_->Loaded();
  RefreshSizeCaptions();
}

void TMainForm::ApplyCreateSettings() {
  TViewSettings& view = ViewSettings();
  view.SortType = settings_.SortType;
  view.ShowType = settings_.ShowType;
  view.SetUnitType(settings_.UnitType);
  view.SetDecimals(settings_.Decimals);
  view.BoldFactor = settings_.BoldFactor;
  view.MinimumExpandSize = settings_.MinimumExpandSize;
  view.ShowFiles = settings_.ShowFiles;
  view.Format.number.thousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
  view.Format.number.decimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
  SetBounds(settings_.Left, settings_.Top, settings_.Width, settings_.Height);
  chart_->SetToolBar(settings_.ChartTool);
  splitItem_->Checked = settings_.SplitFileAndPath;
  headerItem_->Checked = settings_.IncludeHeader;
  tree_->SetWidth(settings_.Splitter);
  for (int s = kSortByName; s <= kNoSorting; ++s) {
    sortItems_[s]->Checked = s == view.SortType;
    toolBar_->SetDown(sortButtons_[s], s == view.SortType);
  }
  for (int v = kViewSize; v <= kViewCdRom; ++v) {
    viewItems_[v]->Checked = v == view.ShowType;
    toolBar_->SetDown(viewButtons_[v], v == view.ShowType);
  }
  for (int u = kUnitMB; u <= kUnitKB; ++u) unitItems_[u]->Checked = u == view.Format.unitType;
  details_->SetLastColumnClicked(view.SortType - 1);
  details_->Tag = view.SortType - 1;
}

void TMainForm::FormShow() {
  if (shown_) return;
  shown_ = true;
  engine_->EnumOwner = settings_.ShowErrors ? Handle() : nullptr;
  const classlib::TFont font = IconTitleFont();
  SetFont(font);
  details_->SetFont(font);
  tree_->SetFont(font);
  {
    // The tree pads its values to the widths of this font.
    classlib::TOwnedMemoryDC dc;
    classlib::TGdiCanvas canvas(dc.Get());
    canvas.Font = font;
    TPadMetrics& pad = ViewSettings().Format.pad;
    pad.spaceWidth = std::max(canvas.TextWidth(" "), 1);
    pad.unitWidth = canvas.TextWidth("123 MB");
    auto measure = std::make_shared<classlib::TOwnedMemoryDC>();
    auto measureCanvas = std::make_shared<classlib::TGdiCanvas>(measure->Get());
    measureCanvas->Font = font;
    // The widths of the printable ASCII characters, asked once: a change of
    // view pads the value of every open folder. Other texts are measured.
    std::array<int, 128> widths{};
    for (int c = ' '; c < 127; ++c) widths[static_cast<size_t>(c)] = canvas.TextWidth(std::string(1, static_cast<char>(c)));
    pad.textWidth = [measure, measureCanvas, widths](const std::string& text) {
      int width = 0;
      for (const unsigned char c : text) {
        if (c < ' ' || c > '~') return measureCanvas->TextWidth(text);
        width += widths[c];
      }
      return width;
    };
  }
  // The drive box: its first entry, then the drives.
  driveBox_->Add("Scan a Drive:");
  drivePaths_.assign(1, "");
  char drives[MAX_PATH] = "";
  const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
  if (length > 0 && length < sizeof drives)
    for (const char* d = drives; *d != '\0'; d += strlen(d) + 1) {
      driveBox_->Add(d);
      drivePaths_.push_back(d);
    }
  driveBox_->SetItemIndex(0);
  LayoutCoolBar();
  if (LocaleText(LOCALE_IMEASURE, "0") == "1") pageSetup_->Measurements = TPageMeasurements::pmInches;
  else pageSetup_->Measurements = TPageMeasurements::pmMillimeters;
  const int kind = settings_.Charttype & 0xF;
  if (kind == chartlib::kTypePie)
    ShowPie();
  else if (kind == chartlib::kTypeList)
    ShowList();
  else
    ShowBar();
  chart_->SetBarHorzGap(settings_.BarHorzGap);
  if (settings_.Maximized) ShowWindow(Handle(), SW_MAXIMIZE);
  if (!chart_->LibraryError().empty()) classlib::MessageDlg(chart_->LibraryError(), MB_OK | MB_ICONWARNING);
  StatusUpdate(true);
  UpdateCaption();
  RunCommandLine();
}

TFoldwickSettings TMainForm::CurrentSettings() {
  TFoldwickSettings s = settings_;
  const TViewSettings& view = ViewSettings();
  s.SortType = view.SortType;
  s.ShowType = view.ShowType;
  s.UnitType = view.Format.unitType;
  s.Decimals = view.Format.decimals;
  s.BoldFactor = view.BoldFactor;
  s.MinimumExpandSize = view.MinimumExpandSize;
  s.ShowFiles = view.ShowFiles;
  WINDOWPLACEMENT place = {sizeof place};
  if (HandleAllocated() && GetWindowPlacement(Handle(), &place)) {
    s.Maximized = place.showCmd == SW_SHOWMAXIMIZED;
    const RECT& r = place.rcNormalPosition;
    s.Left = r.left;
    s.Top = r.top;
    s.Width = r.right - r.left;
    s.Height = r.bottom - r.top;
  }
  if (chart_->HasChart()) {
    s.Charttype = chart_->Type_();
    s.BarHorzGap = chart_->GetBarHorzGap();
  }
  s.ChartTool = chart_->HasChart() ? chart_->ToolBar() : settings_.ChartTool;
  s.Splitter = tree_->Width();
  s.ToolBar1Width = settings_.ToolBar1Width;
  s.ShowErrors = settings_.ShowErrors;
  s.SplitFileAndPath = splitItem_->Checked;
  s.IncludeHeader = headerItem_->Checked;
  return s;
}

void TMainForm::FormClose(classlib::TCloseAction& Action) {
  if (closing_) return;
  if (SearchRunning() && classlib::MessageDlg("Stop file searching and exit Kestrum Professional?",
                                              MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    Action = classlib::caNone;
    return;
  }
  StopSearch();
  closing_ = true;
  settings_ = CurrentSettings();
  Hide();
  timer_->SetEnabled(false);
  refreshTimer_->SetEnabled(false);
  engine_->StopAllScans();
  {
    TRegistryStore store;
    WriteSettings(store, settings_);
  }
  ClearDetails();
  while (!engine_->Roots().empty()) engine_->RemoveRoot(*engine_->Roots().front());
  classlib::TRegistry classes(HKEY_CLASSES_ROOT);
  if (classes.KeyExists("\\Directory\\shell\\Foldwick")) classes.DeleteKey("\\Directory\\shell\\Foldwick");
  Action = classlib::caHide;
  classlib::Application().Terminate();
}

void TMainForm::RestartTimer(int tag) {
  timer_->SetEnabled(false);
  timer_->Tag = tag;
  timer_->SetEnabled(true);
}

void TMainForm::FillListIfDue() {
  if (timer_->Enabled() && timer_->Tag == kTagFillList) TimerTimer();
}

void TMainForm::TimerTimer() {
  timer_->SetEnabled(false);
  switch (timer_->Tag) {
    case kTagFillList:
      timer_->Tag = kTagListFilled;
      FillDetailList();
      break;
    case kTagSearch:
      OpenSearch();
      break;
    case kTagExport:
      PendingExport();
      break;
    default:
      break;
  }
  timer_->Tag = 0;
}

void TMainForm::ScanStep() {
  // The figures of a scanning branch moved on: the views follow soon, not
  // while the scan waits for this step.
  if (!refreshTimer_->Enabled()) refreshTimer_->SetEnabled(true);
}

bool TMainForm::ScanSharedIdList(std::uint32_t handle, std::uint32_t process) {
  // The shell maps the block the Explorer shared for us and checks it.
  auto shared = static_cast<const std::uint8_t*>(SHLockShared(ULongToHandle(handle), process));
  if (shared == nullptr) return false;
  TIdList list;
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQuery(shared, &region, sizeof region) != 0) {
    // The item id list's sizes must lead to its end inside the mapping.
    const std::uint8_t* end = static_cast<const std::uint8_t*>(region.BaseAddress) + region.RegionSize;
    const std::uint8_t* p = shared;
    bool whole = false;
    while (p + sizeof(USHORT) <= end) {
      USHORT size;
      std::memcpy(&size, p, sizeof size);
      if (size == 0) {
        whole = true;
        break;
      }
      p += size;
    }
    if (whole) list = CopyIdList(reinterpret_cast<LPCITEMIDLIST>(shared));
  }
  SHUnlockShared(const_cast<std::uint8_t*>(shared));
  SHFreeShared(ULongToHandle(handle), process);
  if (!list) return false;
  engine_->ScanPath(list.get());
  return true;
}

bool TMainForm::ScanPathText(const std::string& path, int pendingAction, const std::string& actionFile) {
  TIdList list = PathToPIDL(nullptr, WideFromUtf8(path));
  if (!list) return false;
  engine_->ScanPath(list.get());
  if (TScanRoot* root = engine_->RootOfNode(tree_->Selected()); root != nullptr && root->runningScan != nullptr) {
    root->runningScan->PendingAction = pendingAction;
    root->runningScan->ActionFile = actionFile;
  }
  return true;
}

void TMainForm::RunCommandLine() {
  for (const TCommandAction& action : ParseCommandLine(params_)) {
    switch (action.Kind) {
      case TCommandAction::kScanSharedIdList:
        if (ScanSharedIdList(action.Handle, action.ProcessId)) return;
        break;
      case TCommandAction::kScanVerbPath:
        if (ScanPathText(action.Path, kActionNone, "")) return;
        break;
      case TCommandAction::kScanPath:
        if (!ScanPathText(action.Path, action.PendingAction, action.ActionFile))
          classlib::MessageDlg("Cannot find Folder: " + AnsiFromUtf8(action.Path));
        break;
      case TCommandAction::kSetExpandLevel:
        ViewSettings().ExpandLevel = action.Level;
        break;
      case TCommandAction::kOpenSearch:
        RestartTimer(kTagSearch);
        break;
      case TCommandAction::kBrowseFolder:
        BrowseAndScan();
        break;
    }
  }
}

void TMainForm::BrowseAndScan() {
  if (!shell_->BrowseForFolder("Select a drive or folder to scan:")) return;
  TIdList list = shell_->GetFolderPIDL();
  if (list) engine_->ScanPath(list.get());
}

void TMainForm::ScanDriveBoxChoice() {
  const int index = driveBox_->ItemIndex();
  if (index <= 0 || index >= static_cast<int>(drivePaths_.size())) return;
  const std::string path = drivePaths_[static_cast<size_t>(index)];
  driveBox_->SetItemIndex(0);
  if (!ScanPathText(path, kActionNone, "")) classlib::MessageDlg("Cannot find Folder: " + path);
}

void TMainForm::RecentFileClicked(const std::string& path) {
  if (!ScanPathText(path, kActionNone, ""))
    classlib::MessageDlg("Cannot find Folder: \"" + AnsiFromUtf8(path) + "\".");
}

void TMainForm::ShowPageSetup() {
  // The settings keep the margins in hundredths of a millimetre.
  const TPageMeasurements unit = pageSetup_->Measurements;
  pageSetup_->Margins = {MarginToDialog(settings_.MarginLeft, unit), MarginToDialog(settings_.MarginTop, unit),
                         MarginToDialog(settings_.MarginRight, unit), MarginToDialog(settings_.MarginBot, unit)};
  if (!pageSetup_->Execute()) return;
  settings_.MarginLeft = MarginFromDialog(pageSetup_->Margins.Left, settings_.MarginLeft, unit);
  settings_.MarginTop = MarginFromDialog(pageSetup_->Margins.Top, settings_.MarginTop, unit);
  settings_.MarginRight = MarginFromDialog(pageSetup_->Margins.Right, settings_.MarginRight, unit);
  settings_.MarginBot = MarginFromDialog(pageSetup_->Margins.Bottom, settings_.MarginBot, unit);
}

void TMainForm::SetViewType(int viewType) {
  ViewSettings().ShowType = viewType;
  for (int v = kViewSize; v <= kViewCdRom; ++v) {
    viewItems_[v]->Checked = v == viewType;
    toolBar_->SetDown(viewButtons_[v], v == viewType);
  }
  for (const auto& root : engine_->Roots())
    if (root->rootNode != nullptr) {
      RefreshTexts(root->rootNode);
      if (ViewSettings().SortType == kSortBySize) SortBranch(root->rootNode);
    }
  UpdateCaption();
  StatusUpdate(true);
}

void TMainForm::SetSortType(int sortType) {
  ViewSettings().SortType = sortType;
  for (int s = kSortByName; s <= kNoSorting; ++s) {
    sortItems_[s]->Checked = s == sortType;
    toolBar_->SetDown(sortButtons_[s], s == sortType);
  }
  details_->Tag = sortType - 1;
  if (sortType != kNoSorting) details_->ClickColumn(sortType - 1, true);
  for (const auto& root : engine_->Roots())
    if (root->rootNode != nullptr) SortBranch(root->rootNode);
}

void TMainForm::SetUnitType(int unitType) {
  ViewSettings().SetUnitType(unitType);
  for (int u = kUnitMB; u <= kUnitKB; ++u) unitItems_[u]->Checked = u == ViewSettings().Format.unitType;
  for (const auto& root : engine_->Roots())
    if (root->rootNode != nullptr) RefreshTexts(root->rootNode);
  StatusUpdate(true);
}

}  // namespace foldwick
