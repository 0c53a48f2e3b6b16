// The Merge, Import, Export and Audit commands.
#include "spreadsheet/windows/win/TransferCommands.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "spreadsheet/files/MergeDialog.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/TransferDialog.h"
#include "spreadsheet/files/win/MergeForm.h"
#include "spreadsheet/files/win/TransferForm.h"
#include "spreadsheet/windows/Startup.h"
#include "spreadsheet/windows/win/AuditForm.h"

namespace corvane {

namespace {

// The file types of the three file dialogs, in filter order: what each
// chosen type does.
struct TTransferChoice {
  int page;
  int type;
};
constexpr TTransferChoice kImportChoices[] = {
    {kTransferImportPage, kImportValues}, {kTransferImportPage, kImportText}, {kTransferDbasePage, 0}};
constexpr TTransferChoice kExportChoices[] = {{kTransferExportPage, kExportWorksheet},
                                              {kTransferExportPage, kExportQuotedText},
                                              {kTransferExportPage, kExportCommaText},
                                              {kTransferExportPage, kExportDbase}};
constexpr const char kMergeFilter[] =
    "Merge Values (*.wks)\0*.wks;*.wk1\0Merge Formulas (*.wks)\0*.wks;*.wk1\0";
constexpr const char kImportFilter[] =
    "Values (*.txt,*.prn)\0*.txt;*.prn\0Text Lines (*.txt,*.prn)\0*.txt;*.prn\0dBase III (*.dbf)\0*.dbf\0";
constexpr const char kExportFilter[] =
    "Worksheet (*.wks)\0*.wks\0Quoted Text (*.txt)\0*.txt\0Comma Delimited (*.csv)\0*.csv\0dBase III (*.dbf)\0*.dbf\0";

// Asks for a file; `type` gets the chosen file type from 0. False when the
// user cancelled.
bool ChooseFile(HWND owner, const char* title, const char* filter, bool save, std::string& name, int& type) {
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  const std::string& start = ProgramSettings().LoadDir;
  ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (ProgramSettings().Ocfds ? 0 : OFN_EXPLORER) |
              (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return false;
  name = file;
  type = static_cast<int>(ofn.nFilterIndex) - 1;
  return true;
}

template <std::size_t N>
void OpenTransfer(classlib::TWinControl& frame, const char* title, const char* filter, bool save,
                  const TTransferChoice (&choices)[N]) {
  std::string name;
  int type = 0;
  if (!ChooseFile(frame.Handle(), title, filter, save, name, type)) return;
  const TTransferChoice& choice = choices[std::clamp<std::size_t>(static_cast<std::size_t>(type), 0, N - 1)];
  TransferDialog(frame).Open(choice.page, name, choice.type);
}

}  // namespace

void BindTransferCommands(TCommandTable& table, classlib::TWinControl& frame) {
  using C = TCommandId;
  table.Bind(C::kMerge, [&frame](int) {
    std::string name;
    int type = 0;
    if (!ChooseFile(frame.Handle(), "Merge", kMergeFilter, false, name, type)) return;
    MergeDialog(frame).Setup(name, type == 1 ? kMergeByFormula : kMergeByValue);
  });
  table.Bind(C::kImport, [&frame](int) { OpenTransfer(frame, "Import", kImportFilter, false, kImportChoices); });
  table.Bind(C::kExport, [&frame](int) { OpenTransfer(frame, "Export", kExportFilter, true, kExportChoices); });
  table.Bind(C::kAudit, [&frame](int) { AuditDialog(frame).Open(); });
}

void PreloadTransferDialogs(classlib::TWinControl& frame, int level) {
  if (PreloadedAtLevel(TPreloadDialog::kMerge, level)) MergeDialog(frame);
  if (PreloadedAtLevel(TPreloadDialog::kAudit, level)) AuditDialog(frame);
  if (PreloadedAtLevel(TPreloadDialog::kTransfer, level)) TransferDialog(frame);
}

}  // namespace corvane
