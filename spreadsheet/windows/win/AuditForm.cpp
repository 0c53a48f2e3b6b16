// The audit dialog's form and its printing.
#include "spreadsheet/windows/win/AuditForm.h"

#include <algorithm>
#include <charconv>

#include <commdlg.h>

#include "classlib/win/Application.h"
#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/win/PlaceControl.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDialogWidth = 470;
constexpr int kDialogHeight = 390;
constexpr int kScreenPoints = 14;
constexpr int kPaperPoints = 12;
// Overview takes V: O is Ok's.
constexpr const char* kTabNames[] = {"&Tree", "O&verview", "&Stats", "&XRef"};

TAuditDlg* gAuditDialog = nullptr;

int ReadDepth(const std::string& text) {
  int depth = kAuditDepthAtStart;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), depth);
  return error == std::errc{} ? std::clamp(depth, 0, 99) : kAuditDepthAtStart;
}

// Prints through the printer the user picks; `draw` gets the page's canvas
// and its size in device pixels. False when the user cancelled or the
// printer refused.
bool PrintOnePage(HWND owner, const char* title, const std::function<void(TGdiCanvas&, int, int)>& draw) {
  PRINTDLGA setup = {};
  setup.lStructSize = sizeof setup;
  setup.hwndOwner = owner;
  setup.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS;
  if (!PrintDlgA(&setup) || setup.hDC == nullptr) return false;
  if (setup.hDevMode) GlobalFree(setup.hDevMode);
  if (setup.hDevNames) GlobalFree(setup.hDevNames);
  HDC dc = setup.hDC;
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = title;
  bool printed = false;
  if (StartDocA(dc, &doc) > 0) {
    TWaitCursor wait;
    if (StartPage(dc) > 0) {
      {
        TGdiCanvas canvas(dc);
        draw(canvas, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
      }
      printed = EndPage(dc) > 0;
    }
    printed = EndDoc(dc) > 0 && printed;
  }
  DeleteDC(dc);
  return printed;
}

}  // namespace

void TAuditBox::Paint(TCanvas& Canvas) {
  Canvas.Brush.Color = clWhite;
  Canvas.FillRect({0, 0, Width(), Height()});
  if (OnDraw) OnDraw(Canvas, Width(), Height());
}

TAuditDlg::TAuditDlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, kAuditCaption) {
  // "&Ok" and Escape close the dialog; there is nothing to cancel.
  cancel_->SetVisible(false);
  ok_->Cancel = true;
  print_ = &AddButton("&Print");
  print_->OnClick = [this](TObject*) { Print(); };

  tabs_ = new tabbar(this);
  tabs_->SetHeight(22);
  tabs_->SetAlign(alTop);
  tabs_->SetParent(this);
  tabs_->Model().SetItems({kTabNames[0], kTabNames[1], kTabNames[2], kTabNames[3]});
  tabs_->Model().SetMax(4);
  tabs_->Model().OnChange = [this] { SelectPage(tabs_->Model().ItemIndex()); };

  const int width = ClientWidthFor(kDialogWidth) - 8;
  const int boxHeight = kDialogHeight - 150;

  // Tree: the root cell, the depth, the totals and the outline.
  TPage& treePage = notebook_->AddPage("Tree");
  cell_ = &AddField(treePage, 6, 150, 40, "&Cell: ");
  cell_->Edit().OnDblClick = [this](TObject*) { PromptFor(*cell_, "TREE: Specify Cell"); };
  cell_->OnMod = [this](TObject*) { BuildTree(); };
  // Enter builds the tree again rather than closing the dialog.
  cell_->Edit().OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_RETURN) return;
    BuildTree();
    key = 0;
  };
  depth_ = &AddField(treePage, 6, 110, 48, "&Depth: ");
  depth_->SetLeft(170);
  depth_->SetUpdn(true);
  depth_->SetText(std::to_string(kAuditDepthAtStart));
  depth_->OnMod = [this](TObject*) { BuildTree(); };
  treeTotals_ = PlaceControl<TLabel>(treePage, 290, 10, width - 290, 16);
  auto* treeBox = PlaceControl<TPanel>(treePage, 4, 36, width - 4, boxHeight);
  treeBox->SetBevelOuter(TBevelCut::bvNone);
  tree_ = new TTreeView(treeBox, treeBox);
  tree_->OnChange = [this](TObject*, TTreeNode* node) {
    auto at = std::find(treeNodes_.begin(), treeNodes_.end(), node);
    if (at == treeNodes_.end()) return;
    // The field shows the address; the tree stays as it is until the user
    // asks for the new root.
    const std::string address = treeContent_.lines[static_cast<std::size_t>(at - treeNodes_.begin())].Address();
    TNotifyEvent rebuild = std::move(cell_->OnMod);
    cell_->SetText(address);
    cell_->OnMod = std::move(rebuild);
  };

  // Overview and Stats: paint boxes.
  TPage& overviewPage = notebook_->AddPage("Overview");
  overviewTotals_ = PlaceControl<TLabel>(overviewPage, 8, 6, width - 8, 16);
  overview_ = PlaceControl<TAuditBox>(overviewPage, 4, 26, width - 4, boxHeight + 10);
  overview_->OnDraw = [](TCanvas& canvas, int w, int h) { DrawAuditOverview(canvas, w, h, AuditStatistics()); };
  TPage& statsPage = notebook_->AddPage("Stats");
  stats_ = PlaceControl<TAuditBox>(statsPage, 4, 6, width - 4, boxHeight + 30);
  stats_->OnDraw = [](TCanvas& canvas, int w, int h) {
    TFont font;
    font.SetSize(kScreenPoints, canvas.PixelsPerInch());
    DrawAuditStats(canvas, w, h, AuditStatistics(), font.Height);
  };

  // XRef: the range and the list.
  TPage& xrefPage = notebook_->AddPage("XRef");
  range_ = &AddField(xrefPage, 6, 220, 48, "&Range: ");
  range_->Edit().OnDblClick = [this](TObject*) { PromptFor(*range_, "XREF: Specify Range"); };
  range_->OnMod = [this](TObject*) { BuildXRef(); };
  range_->Edit().OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_RETURN) return;
    BuildXRef();
    key = 0;
  };
  xref_ = PlaceControl<TListView>(xrefPage, 4, 36, width - 4, boxHeight);
  xref_->AddColumn("Cell", 48, TAlignment::taLeftJustify);
  xref_->AddColumn("Type", 72, TAlignment::taLeftJustify);
  xref_->AddColumn("Count: References", width - 132, TAlignment::taLeftJustify);
  xref_->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);

  SetBounds(Left(), Top(), kDialogWidth, kDialogHeight);
  gAuditDialog = this;
}

TAuditDlg::~TAuditDlg() {
  if (gAuditDialog == this) gAuditDialog = nullptr;
}

void TAuditDlg::Open() { ShowPage(std::max(notebook_->PageIndex(), 0), kDialogWidth, kDialogHeight); }

void TAuditDlg::SelectPage(int page) {
  if (page < kTreePage || page > kXRefPage) return;
  if (tabs_->Model().ItemIndex() != page) tabs_->Model().SetItemIndex(page);
  notebook_->SetPageIndex(page);
  print_->SetVisible(page == kStatsPage || page == kXRefPage);
  if (page == kOverviewPage) {
    TAuditStats stats = AuditStatistics();
    overviewTotals_->SetCaption("Last Cell: " + AuditLastCellText(stats) + "    Cells: " + std::to_string(stats.total));
    overview_->Invalidate();
  }
  if (page == kStatsPage) stats_->Invalidate();
}

void TAuditDlg::FirstActivation() {
  // Only the first activation takes the sheet's cursor and selection; later
  // ones keep what the pages show.
  if (filled_) return;
  filled_ = true;
  std::int16_t row = 0, col = 0;
  TWindowServices& windows = WindowServices();
  windows.GetCursorCell(row, col);
  windows.GetGridSelection(saved_);
  cell_->SetText(CellAddrText(row, col, false, false));
  range_->SetText(RangeToText(saved_));
  SelectPage(std::max(tabs_->Model().ItemIndex(), 0));
}

void TAuditDlg::BuildTree() {
  tree_->Clear();
  treeNodes_.clear();
  if (!AuditBuildTree(cell_->Text(), ReadDepth(depth_->Text()), treeContent_)) treeContent_ = TAuditTree{};
  std::vector<TTreeNode*> parents;  // the last node of each level
  for (const TAuditTreeLine& line : treeContent_.lines) {
    parents.resize(static_cast<std::size_t>(line.level));
    TTreeNode* node = tree_->AddChild(parents.empty() ? nullptr : parents.back(), line.text);
    parents.push_back(node);
    treeNodes_.push_back(node);
  }
  if (!treeNodes_.empty()) treeNodes_.front()->Expand(true);
  treeTotals_->SetCaption("References: " + std::to_string(treeContent_.References()) +
                          "   Levels: " + std::to_string(treeContent_.deepest) + (treeContent_.cut ? " (cut)" : ""));
}

void TAuditDlg::BuildXRef() {
  TRange range;
  xrefContent_.clear();
  if (ParseRange(range_->Text(), range) && RangeIsValid(range)) xrefContent_ = AuditXRef(range);
  ClearErrorFlag();
  xref_->BeginUpdate();
  xref_->Clear();
  for (const TAuditXRefLine& line : xrefContent_) {
    TListItem* item = xref_->Add();
    item->Caption = line.cell;
    item->SubItems = {line.type, line.cell.empty() ? line.refs : line.count + ": " + line.refs};
    item->Update();
  }
  xref_->EndUpdate();
}

void TAuditDlg::Print() {
  const int page = notebook_->PageIndex();
  if (page == kStatsPage) {
    const int w = stats_->Width(), h = stats_->Height();
    if (!PrintOnePage(Handle(), kAuditCaption, [w, h](TGdiCanvas& canvas, int pageW, int pageH) {
          // The box's drawing scaled to the page, keeping its proportions.
          SetMapMode(canvas.Handle(), MM_ISOTROPIC);
          SetWindowExtEx(canvas.Handle(), w, h, nullptr);
          SetViewportExtEx(canvas.Handle(), pageW, pageH, nullptr);
          TFont font;
          font.SetSize(kPaperPoints, 96);
          DrawAuditStats(canvas, w, h, AuditStatistics(), font.Height);
        }))
      return;
  } else if (page == kXRefPage) {
    std::vector<std::string> report =
        AuditXRefReport(WindowServices().SheetFileName(255), range_->Text(), xrefContent_);
    if (!PrintOnePage(Handle(), kAuditCaption, [&report](TGdiCanvas& canvas, int, int pageH) {
          TFont font;
          font.SetSize(kPaperPoints, canvas.PixelsPerInch());
          canvas.Font = font;
          const int lineHeight = canvas.TextHeight("X");
          const int tab = lineHeight * 6;
          int y = lineHeight * 2;
          HDC dc = canvas.Handle();
          for (const std::string& line : report) {
            if (y + lineHeight > pageH - lineHeight * 2) {
              EndPage(dc);
              StartPage(dc);
              y = lineHeight * 2;
            }
            // The canvas selects its font for each call; a text call puts it in.
            canvas.TextOut(lineHeight * 2, y, "");
            TabbedTextOutA(dc, lineHeight * 2, y, line.c_str(), static_cast<int>(line.size()), 1, &tab, lineHeight * 2);
            y += lineHeight;
          }
        }))
      return;
  } else {
    return;
  }
  EnginePlatform().MessageBeep();
}

TAuditDlg& AuditDialog(TWinControl& mainWindow) {
  if (gAuditDialog == nullptr) new TAuditDlg(mainWindow);
  return *gAuditDialog;
}

}  // namespace corvane
