// The main window's printed reports: the folder report, the chart report and
// the folder-contents report of the selected branch.
#include "analyser/app/win/MainForm.h"

#include <commctrl.h>

#include <algorithm>

#include "analyser/app/MainWindowText.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/DriveInfo.h"
#include "analyser/app/win/Export.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/ReportPrint.h"
#include "classlib/win/Dialogs.h"

namespace foldwick {

namespace {

std::string NowText() {
  char date[64] = "", time[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

// The folders of a branch, the node's own included ("<Files>" nodes are not).
std::int64_t CountFolderNodes(classlib::TTreeNode* node) {
  TFolderData* data = NodeData(node);
  std::int64_t count = data != nullptr && !data->IsFilesNode ? 1 : 0;
  for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) count += CountFolderNodes(c);
  return count;
}

}  // namespace

void TMainForm::PrintReport(TReportKind kind) {
  // The folder's contents are printed from the list, once it holds them all;
  // the folder is the one selected after that.
  if (kind == TReportKind::rkContents) FinishFileListing();
  classlib::TTreeNode* node = tree_->Selected();
  TFolderData* data = NodeData(node);
  TScanRoot* root = engine_->RootOfNode(node);
  if (data == nullptr || root == nullptr) return;
  TPrintJob job;
  std::string error;
  if (!job.Begin(kApplicationTitle, error)) {
    classlib::MessageDlg(error, MB_OK | MB_ICONWARNING);
    return;
  }
  classlib::TWaitCursor wait;
  // Every text of the report is UTF-8: the names whole, the window's texts
  // converted from ANSI.
  const TValueFormat format = ExportOptions().format;
  TReportPages pages(job.Canvas(), job.Geometry(settings_.MarginLeft, settings_.MarginTop, settings_.MarginRight,
                                                settings_.MarginBot),
                     [&job] { job.NewPage(); },
                     [this](int page) {
                       status_->SetPanelText(3, "Printing Page " + std::to_string(page) + " ...");
                       status_->Update();
                     });
  const TReportNode branch = SnapshotBranch(node, true);
  std::string path = Utf8FromWide(data->FileSystemPath().c_str());
  if (path.empty()) path = branch.name;
  const std::array<std::string, 3> title = {Utf8FromAnsi(std::string(kApplicationTitle) + ReportTitleSuffix(kind) + NowText()),
                                            std::string("V ") + kVersionText,
                                            kind == TReportKind::rkFolder ? RootCaptionOf(*root) : path};
  std::array<std::string, 2> summary;
  if (kind != TReportKind::rkContents) {
    TReportSummary s;
    s.driveRoot = node->Parent() == nullptr && !root->drive.empty() &&
                  lstrcmpiA(WithTrailingBackslash(root->path).c_str(), root->drive.c_str()) == 0;
    if (s.driveRoot) {
      const TDriveSpace space = GetDriveSpace(root->drive);
      s.driveTotalKB = space.totalKB;
      s.driveFreeKB = space.freeKB;
      TRootStatus status;
      status.clusterSize = root->clusterSize;
      status.fileSystem = root->fileSystem;
      s.driveInfo = Utf8FromAnsi(ClusterText(&status));
    }
    s.totals = branch.totals;
    s.context = branch.context;
    s.files = std::max<std::int64_t>(branch.totals.objects - CountFolderNodes(node), 0);
    summary = SummaryLines(kind, s, format);
  }
  pages.DrawTitleBlock(title, summary);

  std::vector<std::string> captions;
  for (int c = 0; c < details_->ColumnCount(); ++c) captions.push_back(Utf8FromAnsi(details_->ColumnCaption(c)));
  switch (kind) {
    case TReportKind::rkFolder:
      PrintFolderRows(pages, branch, std::vector<std::string>(captions.begin() + 1, captions.end()),
                      root->isFileSystemRoot, format);
      break;
    case TReportKind::rkContents: {
      std::vector<TContentsItem> items;
      for (int i = 0; i < details_->Count(); ++i) {
        classlib::TListItem* item = details_->Item(i);
        item->MakeTexts();
        TContentsItem row;
        row.name = Utf8FromAnsi(item->Caption);
        for (size_t s = 0; s < row.subItems.size() && s < item->SubItems.size(); ++s)
          row.subItems[s] = Utf8FromAnsi(item->SubItems[s]);
        row.imageIndex = item->ImageIndex;
        items.push_back(std::move(row));
      }
      HIMAGELIST images = systemImages_->Handle();
      HDC dc = job.Handle();
      PrintContentsRows(pages, items, captions, [images, dc](int index, const classlib::TRect& r) {
        if (HICON icon = ImageList_GetIcon(images, index, ILD_NORMAL)) {
          DrawIconEx(dc, r.Left, r.Top, icon, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
          DestroyIcon(icon);
        }
      });
      break;
    }
    case TReportKind::rkChart: {
      // The chart paints in device pixels.
      const classlib::TRect area =
          ChartArea(pages.Page(), chart_->ChartType() == chartlib::kTypeBar, chart_->HasChart() ? chart_->NValues() : 0);
      const int ppiX = job.PixelsPerInchX(), ppiY = job.PixelsPerInchY();
      // The chart takes 16-bit coordinates.
      auto pixels = [](int tenths, int ppi) { return static_cast<short>(std::min(TenthsToPixels(tenths, ppi), 32767)); };
      HDC dc = job.Handle();
      const int saved = SaveDC(dc);
      SetMapMode(dc, MM_TEXT);
      chart_->PaintTo(dc, pixels(area.Left, ppiX), pixels(area.Top, ppiY), pixels(area.Width(), ppiX),
                      pixels(area.Height(), ppiY), 1, 0);
      RestoreDC(dc, saved);
      break;
    }
  }
  pages.EndPage();
  if (!job.End()) classlib::MessageDlg("The report could not be printed.", MB_OK | MB_ICONWARNING);
  StatusUpdate(false);
}

}  // namespace foldwick
