// Snapshots, clipboard, report files, the file list from disk and the
// spreadsheet export.
#include "analyser/app/win/Export.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/Scan.h"
#include "analyser/app/win/ShellText.h"
#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/Controls.h"

namespace foldwick {

const char kSpreadsheetMissingText[] = "Excel is not correctly installed!";
const char kSpreadsheetOleErrorText[] =
    "An OLE Error occured. OLE Automation did not work with your version of Excel. Maybe it is not correctly "
    "installed. If you are using a non english Excel 95, see README.TXT for additional information.";

namespace {

// The node's name as UTF-8. The shell's display name went through the ANSI
// code page; where it shows the folder's wide name (a root's whole path),
// that is taken whole, with the marks around it.
std::string ReportName(classlib::TTreeNode* node, TFolderData& data) {
  const std::string shown = data.GetFolderName();
  std::wstring wide = data.IsFilesNode ? std::wstring() : data.FileSystemPath();
  if (node->Parent() != nullptr) wide = wide.substr(wide.find_last_of(L'\\') + 1);
  const std::string ansi = AnsiFromWide(wide.c_str());
  const size_t at = ansi.empty() ? std::string::npos : shown.find(ansi);
  if (at == std::string::npos) return Utf8FromAnsi(shown);
  return Utf8FromAnsi(shown.substr(0, at)) + Utf8FromWide(wide.c_str()) + Utf8FromAnsi(shown.substr(at + ansi.size()));
}

}  // namespace

TReportNode SnapshotBranch(classlib::TTreeNode* node, bool allChildren) {
  TReportNode out;
  TFolderData* data = NodeData(node);
  if (data == nullptr) return out;
  out.name = ReportName(node, *data);
  out.totals = data->Counts.Totals();
  if (data->ScanRoot) {
    out.context.clusterSize = data->ScanRoot->clusterSize;
    out.context.scanRunning = data->ScanRoot->runningScan != nullptr;
  }
  TFolderData* parent = NodeData(node->Parent());
  out.context.parentClusters = (parent != nullptr ? parent->Counts : data->Counts).clusters.load();
  out.lastAccess = Utf8FromAnsi(data->LastAccessText());
  out.lastChange = Utf8FromAnsi(data->LastChangeText());
  out.expanded = node->Expanded();
  out.isFilesNode = data->IsFilesNode;
  if (out.expanded || allChildren)
    for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
      out.children.push_back(SnapshotBranch(c));
  return out;
}

std::string RootPathOf(const TScanRoot& root) {
  TFolderData* data = NodeData(root.rootNode);
  std::wstring wide = data != nullptr && !root.path.empty() ? data->FileSystemPath() : std::wstring();
  if (wide.size() > 1 && wide.back() == L'\\') wide.pop_back();
  if (!wide.empty()) return Utf8FromWide(wide.c_str());
  return Utf8FromAnsi(root.path.empty() ? root.displayPath : root.path);
}

std::string RootCaptionOf(const TScanRoot& root) {
  TFolderData* data = NodeData(root.rootNode);
  SHFILEINFOW info = {};
  if (data == nullptr || data->IdList() == nullptr ||
      !SHGetFileInfoW(reinterpret_cast<LPCWSTR>(data->IdList()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
    return Utf8FromAnsi(root.caption);
  return Utf8FromWide(info.szDisplayName) + " on [" + Utf8FromAnsi(root.volume) + "]";
}

namespace {

// The clipboard, open for as long as the object lives. Another program may
// hold it for a moment: a few tries are made.
class TClipboardLease {
 public:
  TClipboardLease() {
    for (int i = 0; i < 10 && !open_; ++i) {
      open_ = OpenClipboard(nullptr) != FALSE;
      if (!open_) Sleep(20);
    }
  }
  ~TClipboardLease() {
    if (open_) CloseClipboard();
  }
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool ReadClipboardText(std::string& text) {
  TClipboardLease lease;
  if (!lease.Open()) return false;
  HANDLE handle = GetClipboardData(CF_TEXT);
  if (handle == nullptr) return false;
  const auto* p = static_cast<const char*>(GlobalLock(handle));
  if (p == nullptr) return false;
  text.assign(p, strnlen(p, GlobalSize(handle)));
  GlobalUnlock(handle);
  return true;
}

bool WriteClipboardText(const std::string& text) {
  TClipboardLease lease;
  if (!lease.Open()) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return false;
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
  }
  if (SetClipboardData(CF_TEXT, block) == nullptr) {
    GlobalFree(block);
    return false;
  }
  return true;
}

bool WriteClipboardUtf8Text(const std::string& text) {
  const std::wstring wide = WideFromUtf8(text);
  if (wide.empty() && !text.empty()) return false;
  const std::string ansi = AnsiFromWide(wide.c_str());
  TClipboardLease lease;
  if (!lease.Open()) return false;
  EmptyClipboard();
  auto put = [](UINT format, const void* data, size_t bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) return false;
    if (void* p = GlobalLock(block)) {
      std::memcpy(p, data, bytes);
      GlobalUnlock(block);
    }
    if (SetClipboardData(format, block) != nullptr) return true;
    GlobalFree(block);
    return false;
  };
  return put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)) &&
         put(CF_TEXT, ansi.c_str(), ansi.size() + 1);
}

bool SaveTextToFile(const std::string& fileName, const std::string& text, bool append, std::string& error) {
  // Appending never truncates: only a file that is not there is created.
  const std::wstring wideName = WideFromUtf8(fileName);
  const bool exists = GetFileAttributesW(wideName.c_str()) != INVALID_FILE_ATTRIBUTES;
  HANDLE file = CreateFileW(wideName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            append && exists ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "Cannot write the file " + AnsiFromUtf8(fileName) + ".";
    return false;
  }
  bool ok = true;
  if (append && exists) ok = SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
  DWORD written = 0;
  // A new (or empty) file says it is UTF-8 with the byte-order mark; text
  // appended to a file goes on after what is there.
  LARGE_INTEGER size = {};
  if (ok && GetFileSizeEx(file, &size) && size.QuadPart == 0)
    ok = WriteFile(file, "\xEF\xBB\xBF", 3, &written, nullptr) && written == 3;
  ok = ok && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
       written == text.size();
  ok = CloseHandle(file) && ok;
  if (!ok) error = "I/O error writing " + AnsiFromUtf8(fileName) + ".";
  return ok;
}

std::string ReadFileList(const std::wstring& path, const std::vector<std::string>& patterns, bool split, bool header,
                         const std::string& title) {
  // The walk carries its folders as UTF-8, which keeps every name whole; each
  // is listed under its long-path form.
  const TFolderLister lister = [](const std::string& folder, const std::string& pattern) {
    std::vector<TDirEntry> out;
    ListFolder(WideFromUtf8(folder), WideFromAnsi(pattern), [&out](const WIN32_FIND_DATAW& found) {
      TDirEntry entry;
      entry.name = Utf8FromWide(found.cFileName);
      entry.attributes = found.dwFileAttributes;
      entry.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
      entry.lastAccess = ToFileTime(found.ftLastAccessTime);
      entry.lastWrite = ToFileTime(found.ftLastWriteTime);
      out.push_back(std::move(entry));
      return true;
    });
    return out;
  };
  return BuildFileList(Utf8FromWide(path.c_str()), patterns, split, header, title, lister, FileTimeToText);
}

namespace {

// Puts Interactive back on when the fill fails half way, so that the
// application is not left refusing its user.
class TInteractiveGuard {
 public:
  explicit TInteractiveGuard(const TAutoObject& application) : application_(application) {}
  ~TInteractiveGuard() {
    if (armed_) {
      try {
        application_.Put("Interactive", true);
      } catch (const EOleError&) {
        // The application is gone: nothing left to restore.
      }
    }
  }
  void Disarm() { armed_ = false; }

 private:
  const TAutoObject& application_;
  bool armed_ = true;
};

void SelectRelative(const TAutoObject& application, int rows, int columns) {
  application.Get("ActiveCell").Get("Offset", {rows, columns}).Get("Range", {"A1"}).Call("Select");
}

void FillSheet(const TAutoObject& app, const TReportNode& root, const TSpreadsheetExport& what) {
  const TExportOptions& options = what.options;
  const std::string& separator = options.format.number.decimalSeparator;
  app.Put("Interactive", false);
  TInteractiveGuard guard(app);
  app.Get("ActiveWindow").Put("WindowState", -4137);
  app.Get("ActiveWorkbook").Get("Sheets", {1}).Call("Select");

  // The header row, one caption per column, with the columns' number formats.
  bool first = true;
  for (const auto& [caption, index] : what.columns) {
    const TAutoObject cell = app.Get("ActiveCell");
    cell.Put("FormulaR1C1", caption);
    if (index == 1 || index == 2 || index == 4)
      cell.Get("EntireColumn").Put("NumberFormat", SizeColumnFormat(options.format.unitType, separator));
    else if (index == 5)
      cell.Get("EntireColumn").Put("NumberFormat", PercentColumnFormat(separator));
    SelectRelative(app, 0, 1);
    if (first && options.split) {
      app.Get("ActiveCell").Put("FormulaR1C1", "Path");
      SelectRelative(app, 0, 1);
    }
    first = false;
  }
  app.Get("Rows", {"1:1"}).Call("Select");
  const TAutoObject selection = app.Get("Selection");
  selection.Get("Font").Put("Bold", true);
  selection.Get("Borders", {-4107}).Put("Weight", 2);
  SelectRelative(app, 1, 0);
  app.Get("ActiveWindow").Put("FreezePanes", true);

  // The rows go in through the clipboard, pasted below the header.
  if (!WriteClipboardUtf8Text(SpreadsheetRows(root, what.rootPath, options.split, options.format)))
    throw EOleError("the clipboard is not available", E_FAIL);
  app.Get("ActiveSheet").Call("Paste");
  app.Get("Columns", {"A:I"}).Call("AutoFit");
  app.Get("ActiveWindow").Put("FreezePanes", false);
  app.Get("Range", {"A1"}).Call("Select");

  if (options.header) {
    app.Get("Rows", {"1:3"}).Call("Insert");
    const TAutoObject a1 = app.Get("Range", {"A1"});
    a1.Put("FormulaR1C1", options.title + " Report, " + what.date);
    a1.Get("Font").Put("Bold", true);
    const TAutoObject a2 = app.Get("Range", {"A2"});
    a2.Put("FormulaR1C1", what.rootCaption);
    a2.Get("Font").Put("Bold", true);
  }
  if (what.fileName.empty()) {
    app.Put("Interactive", true);
  } else {
    app.Get("ActiveWorkbook").Call("SaveAs", {what.fileName});
  }
  guard.Disarm();
}

}  // namespace

TSpreadsheetResult ExportToSpreadsheet(const TReportNode& root, const TSpreadsheetExport& what, TAutoObject& application) {
  classlib::TWaitCursor wait;
  // The user's clipboard text comes back after the rows went through it.
  std::string userText;
  const bool hadText = ReadClipboardText(userText);
  TSpreadsheetResult result = TSpreadsheetResult::srDone;
  try {
    try {
      application = TAutoObject::Create("Excel.Sheet.8").Get("Application");
    } catch (const EOleError&) {
      const TAutoObject sheet = TAutoObject::Create("Excel.Sheet.5");
      sheet.Put("Visible", true);
      application = sheet.Get("Application");
      application.Get("Workbooks").Call("Add");
    }
    HWND window = FindWindowA("XLMAIN", nullptr);
    if (window == nullptr) return TSpreadsheetResult::srNotInstalled;
    ShowWindow(window, SW_SHOW);
    FillSheet(application, root, what);
  } catch (const EOleError&) {
    result = TSpreadsheetResult::srOleError;
  }
  if (hadText) WriteClipboardText(userText);
  else if (TClipboardLease lease; lease.Open()) EmptyClipboard();
  return result;
}

}  // namespace foldwick
