// The spreadsheet export against an automation server of this test: a class
// object registered in this process under the spreadsheet's ProgID, whose
// objects log every call they receive. Also the report file's append rule,
// and a printed report's first page drawn into a bitmap.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"
#include <oleauto.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analyser/app/win/Export.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/ReportPrint.h"
#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/Registry.h"
#include "tests/analyser/win/TestFolders.h"
#include "tests/support/win/Screen.h"

namespace foldwick {
namespace {

// What the server saw, one line per call: "path.Name(args)" for gets and
// methods, "path.Name=value" for puts; "Paste" also logs the clipboard text.
struct TCallLog {
  std::vector<std::string> lines;
  std::vector<std::string> names;  // dispatch id - 1 -> name
};

std::string ArgText(const VARIANT& v) {
  switch (v.vt) {
    case VT_BSTR: return "\"" + Utf8FromWide(v.bstrVal) + "\"";
    case VT_I4: return std::to_string(v.lVal);
    case VT_BOOL: return v.boolVal ? "true" : "false";
    default: return "?";
  }
}

class TFakeObject : public IDispatch {
 public:
  TFakeObject(std::shared_ptr<TCallLog> log, std::string path) : log_(std::move(log)), path_(std::move(path)) {}
  virtual ~TFakeObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) {
      const std::string name = AnsiFromWide(names[i]);
      auto& table = log_->names;
      size_t at = 0;
      while (at < table.size() && table[at] != name) ++at;
      if (at == table.size()) table.push_back(name);
      ids[i] = static_cast<DISPID>(at + 1);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    const std::string name = log_->names.at(static_cast<size_t>(id - 1));
    if (flags & DISPATCH_PROPERTYPUT) {
      log_->lines.push_back(path_ + "." + name + "=" + ArgText(params->rgvarg[0]));
      return S_OK;
    }
    std::string call = name + "(";
    for (UINT i = params->cArgs; i > 0; --i) call += ArgText(params->rgvarg[i - 1]) + (i > 1 ? "," : "");
    call += ")";
    std::string line = path_ + "." + call;
    if (name == "Paste") {
      // The Unicode text, as a spreadsheet application reads it.
      std::string text;
      if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) text = Utf8FromWide(p);
          GlobalUnlock(data);
        }
        CloseClipboard();
      }
      line += " " + text;
    }
    log_->lines.push_back(line);
    if (result != nullptr) {
      VariantInit(result);
      result->vt = VT_DISPATCH;
      result->pdispVal = new TFakeObject(log_, name == "Application" ? "App" : path_ + "." + call);
    }
    return S_OK;
  }

 private:
  std::shared_ptr<TCallLog> log_;
  std::string path_;
  ULONG refs_ = 1;
};

class TFakeFactory : public IClassFactory {
 public:
  explicit TFakeFactory(std::shared_ptr<TCallLog> log) : log_(std::move(log)) {}
  virtual ~TFakeFactory() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
    auto* object = new TFakeObject(log_, "Sheet");
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::shared_ptr<TCallLog> log_;
};

// {6A1F3C2E-5B7D-4E8A-9C01-D2E3F4A5B6C7}
constexpr CLSID kFakeClsid = {0x6a1f3c2e, 0x5b7d, 0x4e8a, {0x9c, 0x01, 0xd2, 0xe3, 0xf4, 0xa5, 0xb6, 0xc7}};
constexpr char kFakeClsidText[] = "{6A1F3C2E-5B7D-4E8A-9C01-D2E3F4A5B6C7}";

// The fake server, registered under "Excel.Sheet.8" for as long as it lives,
// with the application's main window when `withWindow` is set.
class TFakeSpreadsheet {
 public:
  explicit TFakeSpreadsheet(bool withWindow) : log(std::make_shared<TCallLog>()), factory_(log) {
    CoInitialize(nullptr);
    classlib::TRegistry classes(HKEY_CLASSES_ROOT);
    if (classes.OpenKey("\\Excel.Sheet.8\\CLSID", true)) classes.WriteString("", kFakeClsidText);
    CoRegisterClassObject(kFakeClsid, &factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &cookie_);
    if (withWindow) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "XLMAIN";
      RegisterClassA(&wc);
      window_ = CreateWindowA("XLMAIN", "sheet", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
    }
  }
  ~TFakeSpreadsheet() {
    if (window_ != nullptr) DestroyWindow(window_);
    CoRevokeClassObject(cookie_);
    classlib::TRegistry(HKEY_CLASSES_ROOT).DeleteKey("\\Excel.Sheet.8");
    CoUninitialize();
  }
  std::shared_ptr<TCallLog> log;

 private:
  TFakeFactory factory_;
  DWORD cookie_ = 0;
  HWND window_ = nullptr;
};

TReportNode SmallTree() {
  TReportNode root;
  root.name = "Data";
  root.totals = {4, 0, 2, 2048};
  root.context = {1024, false, 4};
  root.expanded = true;
  TReportNode child = root;
  child.name = "sub";
  child.totals = {2, 0, 1, 1024};
  child.expanded = false;
  root.children.push_back(child);
  return root;
}

TSpreadsheetExport Request(bool header, const std::string& fileName) {
  TSpreadsheetExport what;
  what.options.split = true;
  what.options.header = header;
  what.options.title = "Kestrum Professional";
  what.options.format.unitType = kUnitKB;
  what.columns = {{"Name", 0}, {"Size  ", 1}, {"% of Parent", 5}};
  what.rootCaption = "Data on [DISK]";
  what.rootPath = "C:\\Data";
  what.date = "9.12.2026";
  what.fileName = fileName;
  return what;
}

TEST(SpreadsheetExport, FillsTheSheetThroughAutomationAndKeepsTheUsersClipboard) {
  TFakeSpreadsheet server(true);
  WriteClipboardText("the user's text");
  TAutoObject application;
  ASSERT_EQ(ExportToSpreadsheet(SmallTree(), Request(true, "C:\\out.xls"), application),
            TSpreadsheetResult::srDone);
  const std::string move = "App.ActiveCell().Offset(0,1).Range(\"A1\").Select()";
  const std::vector<std::string> expected = {
      "Sheet.Application()",
      "App.Interactive=false",
      "App.ActiveWindow()",
      "App.ActiveWindow().WindowState=-4137",
      "App.ActiveWorkbook()",
      "App.ActiveWorkbook().Sheets(1)",
      "App.ActiveWorkbook().Sheets(1).Select()",
      "App.ActiveCell()",
      "App.ActiveCell().FormulaR1C1=\"Name\"",
      "App.ActiveCell()", "App.ActiveCell().Offset(0,1)", "App.ActiveCell().Offset(0,1).Range(\"A1\")", move,
      "App.ActiveCell()",
      "App.ActiveCell().FormulaR1C1=\"Path\"",
      "App.ActiveCell()", "App.ActiveCell().Offset(0,1)", "App.ActiveCell().Offset(0,1).Range(\"A1\")", move,
      "App.ActiveCell()",
      "App.ActiveCell().FormulaR1C1=\"Size  \"",
      "App.ActiveCell().EntireColumn()",
      "App.ActiveCell().EntireColumn().NumberFormat=\"0.00 \"kb\"\"",
      "App.ActiveCell()", "App.ActiveCell().Offset(0,1)", "App.ActiveCell().Offset(0,1).Range(\"A1\")", move,
      "App.ActiveCell()",
      "App.ActiveCell().FormulaR1C1=\"% of Parent\"",
      "App.ActiveCell().EntireColumn()",
      "App.ActiveCell().EntireColumn().NumberFormat=\"0.0%\"",
      "App.ActiveCell()", "App.ActiveCell().Offset(0,1)", "App.ActiveCell().Offset(0,1).Range(\"A1\")", move,
      "App.Rows(\"1:1\")",
      "App.Rows(\"1:1\").Select()",
      "App.Selection()",
      "App.Selection().Font()",
      "App.Selection().Font().Bold=true",
      "App.Selection().Borders(-4107)",
      "App.Selection().Borders(-4107).Weight=2",
      "App.ActiveCell()", "App.ActiveCell().Offset(1,0)", "App.ActiveCell().Offset(1,0).Range(\"A1\")",
      "App.ActiveCell().Offset(1,0).Range(\"A1\").Select()",
      "App.ActiveWindow()",
      "App.ActiveWindow().FreezePanes=true",
      "App.ActiveSheet()",
      "App.ActiveSheet().Paste() Data\t\t2.000000\t4.000000\t2\t2.000000\t1.00\t\t\n"
      "sub\tC:\\Data\\\t1.000000\t2.000000\t1\t1.000000\t0.50\t\t\n",
      "App.Columns(\"A:I\")",
      "App.Columns(\"A:I\").AutoFit()",
      "App.ActiveWindow()",
      "App.ActiveWindow().FreezePanes=false",
      "App.Range(\"A1\")",
      "App.Range(\"A1\").Select()",
      "App.Rows(\"1:3\")",
      "App.Rows(\"1:3\").Insert()",
      "App.Range(\"A1\")",
      "App.Range(\"A1\").FormulaR1C1=\"Kestrum Professional Report, 9.12.2026\"",
      "App.Range(\"A1\").Font()",
      "App.Range(\"A1\").Font().Bold=true",
      "App.Range(\"A2\")",
      "App.Range(\"A2\").FormulaR1C1=\"Data on [DISK]\"",
      "App.Range(\"A2\").Font()",
      "App.Range(\"A2\").Font().Bold=true",
      "App.ActiveWorkbook()",
      "App.ActiveWorkbook().SaveAs(\"C:\\out.xls\")",
  };
  EXPECT_EQ(server.log->lines, expected);
  std::string clipboard;
  EXPECT_TRUE(ReadClipboardText(clipboard));
  EXPECT_EQ(clipboard, "the user's text");
}

// Names in other scripts reach the sheet whole: the caption as a BSTR, the
// rows as Unicode text on the clipboard.
TEST(SpreadsheetExport, PassesNamesInOtherScriptsWhole) {
  TFakeSpreadsheet server(true);
  TReportNode root = SmallTree();
  root.name = "\xCE\x94\xCE\xB5\xCE\xB4";                         // Greek
  root.children[0].name = "\xE6\x95\xB0\xE6\x8D\xAE";              // Chinese
  TSpreadsheetExport what = Request(true, "");
  what.rootCaption = "\xD7\xA0\xD7\xAA on [\xD0\x94\xD0\x98\xD0\xA1\xD0\x9A] \xF0\x9F\x93\x81";  // Hebrew, Cyrillic, emoji
  what.rootPath = "C:\\\xCE\x94\xCE\xB5\xCE\xB4";
  TAutoObject application;
  ASSERT_EQ(ExportToSpreadsheet(root, what, application), TSpreadsheetResult::srDone);
  const auto logged = [&](const std::string& line) {
    return std::find(server.log->lines.begin(), server.log->lines.end(), line) != server.log->lines.end();
  };
  EXPECT_TRUE(logged("App.Range(\"A2\").FormulaR1C1=\"" + what.rootCaption + "\""));
  EXPECT_TRUE(logged("App.ActiveSheet().Paste() " + root.name + "\t\t2.000000\t4.000000\t2\t2.000000\t1.00\t\t\n" +
                     root.children[0].name + "\t" + what.rootPath + "\\\t1.000000\t2.000000\t1\t1.000000\t0.50\t\t\n"));
}

TEST(SpreadsheetExport, ReportsAMissingApplication) {
  TAutoObject application;
  {
    // Registered, but no application window.
    TFakeSpreadsheet server(false);
    EXPECT_EQ(ExportToSpreadsheet(SmallTree(), Request(false, ""), application), TSpreadsheetResult::srNotInstalled);
    EXPECT_EQ(server.log->lines, std::vector<std::string>{"Sheet.Application()"});
  }
  // Nothing registered under either ProgID.
  CoInitialize(nullptr);
  EXPECT_EQ(ExportToSpreadsheet(SmallTree(), Request(false, ""), application), TSpreadsheetResult::srOleError);
  CoUninitialize();
}

TEST(ReportFile, AppendsToAnExistingFileAndCreatesAMissingOne) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string file = std::string(temp) + "fwexport-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(file.c_str());
  std::string error;
  EXPECT_TRUE(SaveTextToFile(file, "one\r\n", true, error));
  EXPECT_TRUE(SaveTextToFile(file, "two\r\n", true, error));
  std::stringstream content;
  content << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(content.str(), "\xEF\xBB\xBFone\r\ntwo\r\n");
  EXPECT_TRUE(SaveTextToFile(file, "new\r\n", false, error));
  content.str("");
  content << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(content.str(), "\xEF\xBB\xBFnew\r\n");
  DeleteFileA(file.c_str());
  EXPECT_FALSE(SaveTextToFile(std::string(temp) + "no-such-folder\\x.txt", "x", true, error));
  EXPECT_FALSE(error.empty());
}

// The file list reads a root named outside the ANSI code page, folders in
// other scripts and a chain past 260 characters, and lists every file with
// its whole name and exact size; the clipboard gets it as Unicode text.
TEST(FileList, ListsEveryFileWhateverItsFoldersAreNamedAndHowDeep) {
  const std::wstring base = WideFromAnsi(TestFolderPath("fwlist")) + L"-\x03A1\x03AF\x03B6\x03B1";  // Greek
  RemoveTree(base);
  std::map<std::wstring, std::uint64_t> files;  // path below the root, size
  auto file = [&](const std::wstring& relative, std::uint64_t size) {
    CreateSizedFile(base + relative, size);
    files[relative] = size;
  };
  auto folder = [&](const std::wstring& relative) { ASSERT_TRUE(CreateDirectoryW(LongTestPath(base + relative).c_str(), nullptr)); };
  folder(L"");
  file(L"\\top.txt", 7);
  folder(L"\\\x6570\x636E");  // Chinese
  file(L"\\\x6570\x636E\\a.bin", 48000);
  folder(L"\\\x0414\x0430\x043D");  // Cyrillic, with a Hebrew file name
  file(L"\\\x0414\x0430\x043D\\\x05E7\x05D5\x05D1\x05E5.txt", 0);
  std::wstring chain;
  for (int level = 1; level <= 30; ++level) {
    chain += L"\\folder_level_" + std::to_wstring(level);
    folder(chain);
  }
  file(chain + L"\\end.bin", 4321);
  ASSERT_GT((base + chain).size(), 300u);

  const std::string text = ReadFileList(base, {"*"}, false, true, "Title");
  const std::wstring wide = WideFromUtf8(text);
  EXPECT_EQ(wide.rfind(L"Title - File List of " + base + L"\\\r\n", 0), 0u);
  for (const auto& [relative, size] : files)
    EXPECT_NE(wide.find(L"\n" + base + relative + L"\t" + std::to_wstring(size) + L"\t"), std::wstring::npos)
        << AnsiFromWide(relative.c_str());
  // Two header lines, then one line per file and no more.
  EXPECT_EQ(std::count(wide.begin(), wide.end(), L'\n'), static_cast<std::ptrdiff_t>(files.size() + 3));

  ASSERT_TRUE(WriteClipboardUtf8Text(text));
  std::wstring copied;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) copied = p;
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  EXPECT_EQ(copied, wide);
  RemoveTree(base);
}

// The first page of a folder report as the printer would get it, drawn on an
// A4 bitmap at 96 dpi and saved as a picture; a printer that is not there is
// reported, not used.
TEST(PrintedReport, FirstPageOnABitmapAndAMissingPrinter) {
  TReportNode root = SmallTree();
  root.children.clear();
  for (int i = 0; i < 70; ++i) {
    TReportNode child = SmallTree();
    child.name = "Folder " + std::to_string(i);
    child.expanded = i == 1;
    child.children[0].name = "Inner folder";
    root.children.push_back(child);
  }
  classlib::TBitmap bitmap(794, 1123);
  SetTenthMillimetreMapping(bitmap.Canvas().Handle(), 96, 96);
  bool saved = false;
  TReportPages pages(bitmap.Canvas(), TPageGeometry{}, [&] {
    saved = !uikit::SavePicture(bitmap, "foldwick-report-page1").empty();
  });
  TValueFormat format;
  format.unitType = kUnitKB;
  pages.DrawTitleBlock({"Kestrum Professional Report, 9.12.2026 15:00", "V 2.0", "Data on [DISK]"},
                       {"", "[Current Folder]  Size: 2.0 kb    Objects: 2"});
  PrintFolderRows(pages, root, {"Size  ", "Allocated  ", "Objects", "Wasted  ", "% of Parent", "Last Access", "Last Change"},
                  true, format);
  pages.EndPage();
  EXPECT_TRUE(saved);
  EXPECT_EQ(pages.PageNumber(), 2);
  // Ink in the title line, none in the left margin.
  auto inked = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (GetPixel(bitmap.Canvas().Handle(), x, y) != RGB(255, 255, 255)) return true;
    return false;
  };
  SetMapMode(bitmap.Canvas().Handle(), MM_TEXT);
  EXPECT_TRUE(inked(200, 30, 600, 52));
  EXPECT_FALSE(inked(0, 0, 20, 1123));

  // A report's canvas takes its texts as UTF-8: a name in other scripts is
  // measured (and drawn) as its wide text.
  bitmap.Canvas().Utf8Text = true;
  const std::wstring name = L"\x6570\x636E \x0394\x03B5\x03B4 \x05D0";  // Chinese, Greek, Hebrew
  const int width = bitmap.Canvas().TextWidth(Utf8FromWide(name.c_str()));
  SIZE size = {};
  GetTextExtentPoint32W(bitmap.Canvas().Handle(), name.c_str(), static_cast<int>(name.size()), &size);
  EXPECT_EQ(width, size.cx);

  TPrintJob job;
  std::string error;
  if (!job.Begin("test", error)) {
    EXPECT_EQ(error, kNoPrinterText);
  }
}

}  // namespace
}  // namespace foldwick
