// The context-menu library under Wine, through the real COM, registry, shell and
// menu pieces: registration, creation, the four interface calls and unloading.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "shellext/HandlerCommands.h"
#include "tests/win/RunProgram.h"

namespace handler {
namespace {

using testsupport::ExeDir;
using testsupport::RunAndWait;

std::string DllPath() { return ExeDir() + "\\Handler.dll"; }

CLSID ClassId(const TMenuCommand& c) {
  std::wstring text(c.classId, c.classId + strlen(c.classId));
  CLSID id = {};
  CLSIDFromString(text.c_str(), &id);
  return id;
}

void SetSuiteValue(const char* key, const char* name, const std::string& value) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  RegCloseKey(k);
}

void DeleteSuiteKeys() {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSuiteUserKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSuiteKey);
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// The names and string data of a key's values, and the names of its subkeys.
struct KeyContents {
  std::vector<std::pair<std::string, std::string>> values;
  std::vector<std::string> subkeys;
};

KeyContents ReadKey(HKEY root, const std::string& key) {
  KeyContents contents;
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return contents;
  for (DWORD i = 0;; ++i) {
    char name[256], data[1024];
    DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
    if (RegEnumValueA(k, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLength) !=
        ERROR_SUCCESS)
      break;
    contents.values.emplace_back(name, type == REG_SZ ? std::string(data) : std::string("?"));
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    if (RegEnumKeyExA(k, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    contents.subkeys.emplace_back(name);
  }
  RegCloseKey(k);
  return contents;
}

// A data object holding a drop list of the given paths (8-bit, or wide as the
// Explorer gives them), or no drop list at all.
class TDropList : public IDataObject {
 public:
  explicit TDropList(std::vector<std::string> paths, bool offerDrop = true)
      : paths_(std::move(paths)), offerDrop_(offerDrop) {}
  explicit TDropList(std::vector<std::wstring> paths) : widePaths_(std::move(paths)), offerDrop_(true) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }

  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!offerDrop_ || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
    for (const auto& p : paths_) size += p.size() + 1;
    for (const auto& p : widePaths_) size += (p.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = !widePaths_.empty();
    char* text = reinterpret_cast<char*>(drop + 1);
    for (const auto& p : paths_) {
      memcpy(text, p.c_str(), p.size() + 1);
      text += p.size() + 1;
    }
    for (const auto& p : widePaths_) {
      memcpy(text, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
      text += (p.size() + 1) * sizeof(wchar_t);
    }
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::vector<std::string> paths_;
  std::vector<std::wstring> widePaths_;
  bool offerDrop_;
  ULONG refs_ = 1;
};

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// 8-bit text of the ANSI code page as wide text.
std::wstring FromAnsi(const std::string& s) {
  std::wstring wide(s.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), wide.data(), static_cast<int>(s.size()))));
  return wide;
}

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}


// The shell's own data object for files of one folder, as the Explorer passes it.
IDataObject* ShellDataObject(const std::string& folder, const std::vector<std::string>& names) {
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return nullptr;
  LPITEMIDLIST folderId = nullptr;
  IShellFolder* shellFolder = nullptr;
  IDataObject* data = nullptr;
  std::wstring wideFolder = Wide(folder);
  if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wideFolder.data(), nullptr, &folderId, nullptr)) &&
      SUCCEEDED(desktop->BindToObject(folderId, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&shellFolder)))) {
    std::vector<LPITEMIDLIST> children;
    for (const auto& name : names) {
      std::wstring wideName = Wide(name);
      LPITEMIDLIST child = nullptr;
      if (SUCCEEDED(shellFolder->ParseDisplayName(nullptr, nullptr, wideName.data(), nullptr, &child, nullptr)))
        children.push_back(child);
    }
    if (children.size() == names.size())
      shellFolder->GetUIObjectOf(nullptr, UINT(children.size()), const_cast<LPCITEMIDLIST*>(children.data()),
                                 IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
    for (auto* child : children) CoTaskMemFree(child);
    shellFolder->Release();
  }
  CoTaskMemFree(folderId);
  desktop->Release();
  return data;
}

template <typename Interface>
Interface* Create(const TMenuCommand& c, REFIID iid) {
  Interface* object = nullptr;
  CLSID id = ClassId(c);
  if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

// The object of command `index`, given the one selected path of `selection`.
IContextMenu* InitializedMenu(int index, IDataObject& selection) {
  IShellExtInit* init = Create<IShellExtInit>(kMenuCommands[index], IID_IShellExtInit);
  if (init == nullptr) return nullptr;
  IContextMenu* cm = nullptr;
  if (init->Initialize(nullptr, &selection, nullptr) == S_OK)
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&cm));
  init->Release();
  return cm;
}

HRESULT InvokeFirstCommand(IContextMenu& cm) {
  CMINVOKECOMMANDINFO info = {sizeof info};
  info.lpVerb = MAKEINTRESOURCEA(0);
  info.nShow = SW_HIDE;
  return cm.InvokeCommand(&info);
}

class HandlerCom : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_EQ(RunAndWait("regsvr32.exe /s \"" + DllPath() + "\""), 0);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    workDir_ = std::string(temp) + "handler test " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(workDir_.c_str(), nullptr);
    engineDir_ = std::string(temp) + "handler_engines" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(engineDir_.c_str(), nullptr);
    for (const char* name : {"Tobrel.exe", "Wenlow.exe"})
      CopyFileA((ExeDir() + "\\stub_engine.exe").c_str(), (engineDir_ + "\\" + name).c_str(), FALSE);
    for (const char* name : {"a file.txt", "b.txt"}) {
      HANDLE f = CreateFileA((workDir_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(f);
    }
  }
  static void TearDownTestSuite() {
    DeleteSuiteKeys();
    CoUninitialize();
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);
    std::filesystem::remove_all(engineDir_, ignored);
  }
  void SetUp() override {
    DeleteSuiteKeys();
    SetSuiteValue(kSuiteKey, kBaseDirValue, engineDir_);
    SetSuiteValue(kSuiteUserKey, kUserIsSetupValue, "1");
  }

  // The command line the stub engine in `dir` recorded, after waiting for it;
  // empty when nothing started within the wait.
  static std::string AwaitEngineCommand(DWORD waitMs = 15000) { return AwaitEngineCommandIn(engineDir_, waitMs); }
  static std::string AwaitEngineCommandIn(const std::string& dir, DWORD waitMs = 15000) {
    std::string log = dir + "\\commands.log";
    for (DWORD waited = 0; waited <= waitMs; waited += 50) {
      HANDLE f = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      if (f != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        ReadFile(f, buffer, sizeof buffer, &read, nullptr);
        CloseHandle(f);
        DeleteFileA(log.c_str());
        return std::string(buffer, read);
      }
      Sleep(50);
    }
    return {};
  }

  static std::string workDir_, engineDir_;
};
std::string HandlerCom::workDir_, HandlerCom::engineDir_;

TEST_F(HandlerCom, RegistrationWritesExactlyTheClassKeysAndUnregistrationRemovesThem) {
  char full[MAX_PATH];
  GetFullPathNameA(DllPath().c_str(), MAX_PATH, full, nullptr);
  for (const TMenuCommand& c : kMenuCommands) {
    std::string key = std::string("CLSID\\") + c.classId;
    KeyContents top = ReadKey(HKEY_CLASSES_ROOT, key);
    ASSERT_EQ(top.values.size(), 1u) << key;
    EXPECT_EQ(top.values[0].first, "");
    EXPECT_EQ(top.values[0].second, c.description);
    ASSERT_EQ(top.subkeys, std::vector<std::string>{"InprocServer32"}) << key;
    KeyContents server = ReadKey(HKEY_CLASSES_ROOT, key + "\\InprocServer32");
    ASSERT_EQ(server.values.size(), 1u);
    EXPECT_EQ(server.values[0].first, "");
    EXPECT_EQ(lstrcmpiA(server.values[0].second.c_str(), full), 0) << server.values[0].second;
    EXPECT_TRUE(server.subkeys.empty());
  }

  ASSERT_EQ(RunAndWait("regsvr32.exe /s /u \"" + DllPath() + "\""), 0);
  for (const TMenuCommand& c : kMenuCommands)
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + c.classId)) << c.className;
  CLSID id = ClassId(kMenuCommands[0]);
  IUnknown* object = nullptr;
  EXPECT_EQ(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);

  ASSERT_EQ(RunAndWait("regsvr32.exe /s \"" + DllPath() + "\""), 0);
}

TEST_F(HandlerCom, EachClassIsCreatedByItsIdentifierWithBothInterfaces) {
  for (const TMenuCommand& c : kMenuCommands) {
    IShellExtInit* init = Create<IShellExtInit>(c, IID_IShellExtInit);
    ASSERT_NE(init, nullptr) << c.className;
    IContextMenu* menu = nullptr;
    EXPECT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(init->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
    if (menu) menu->Release();
    init->Release();
  }
}

TEST_F(HandlerCom, InitializeTakesExactlyOneWholePath) {
  IShellExtInit* init = Create<IShellExtInit>(kMenuCommands[0], IID_IShellExtInit);
  ASSERT_NE(init, nullptr);

  IDataObject* one = ShellDataObject(workDir_, {"a file.txt"});
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(init->Initialize(nullptr, one, nullptr), S_OK);
  one->Release();

  IDataObject* two = ShellDataObject(workDir_, {"a file.txt", "b.txt"});
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(init->Initialize(nullptr, two, nullptr), E_FAIL);
  two->Release();

  TDropList none(std::vector<std::string>{});
  EXPECT_EQ(init->Initialize(nullptr, &none, nullptr), E_FAIL);
  TDropList noDropList({"C:\\x"}, false);
  EXPECT_EQ(init->Initialize(nullptr, &noDropList, nullptr), DV_E_FORMATETC);
  EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_FAIL);

  TDropList longest({"C:\\" + std::string(kMaxPathChars - 3, 'p')});
  EXPECT_EQ(init->Initialize(nullptr, &longest, nullptr), S_OK);
  TDropList tooLong({"C:\\" + std::string(kMaxPathChars - 2, 'p')});
  EXPECT_EQ(init->Initialize(nullptr, &tooLong, nullptr), E_FAIL);
  init->Release();
}

TEST_F(HandlerCom, QueryContextMenuAddsTheItemOnlyWhenTheSuiteIsSetUp) {
  for (const TMenuCommand& c : kMenuCommands) {
    IContextMenu* cm = Create<IContextMenu>(c, IID_IContextMenu);
    ASSERT_NE(cm, nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "first");
    AppendMenuA(menu, MF_STRING, 2, "second");

    EXPECT_EQ(cm->QueryContextMenu(menu, 1, 100, 200, CMF_NORMAL), 1) << c.className;
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    char caption[64] = {};
    GetMenuStringA(menu, 1, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, c.caption);
    EXPECT_EQ(GetMenuItemID(menu, 1), 100u);
    MENUITEMINFOA info = {sizeof info, MIIM_CHECKMARKS};
    ASSERT_TRUE(GetMenuItemInfoA(menu, 1, TRUE, &info));
    EXPECT_NE(info.hbmpChecked, nullptr);
    EXPECT_EQ(info.hbmpChecked, info.hbmpUnchecked);
    BITMAP bitmap = {};
    EXPECT_EQ(GetObjectA(info.hbmpChecked, sizeof bitmap, &bitmap), int(sizeof bitmap));
    EXPECT_EQ(bitmap.bmWidth, 13);
    EXPECT_EQ(bitmap.bmHeight, 13);

    SetSuiteValue(kSuiteUserKey, kUserIsSetupValue, "");
    EXPECT_EQ(cm->QueryContextMenu(menu, 0, 300, 400, CMF_NORMAL), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 3);

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSuiteUserKey);
    EXPECT_EQ(cm->QueryContextMenu(menu, 0, 300, 400, CMF_NORMAL), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSuiteUserKey)) << "reading must not create the key";

    SetSuiteValue(kSuiteUserKey, kUserIsSetupValue, "1");
    DestroyMenu(menu);
    cm->Release();
  }
}

TEST_F(HandlerCom, GetCommandStringGivesTheHelpTextCutToTheBuffer) {
  for (const TMenuCommand& c : kMenuCommands) {
    IContextMenu* cm = Create<IContextMenu>(c, IID_IContextMenu);
    ASSERT_NE(cm, nullptr);
    char text[128];
    for (UINT type : {UINT(GCS_HELPTEXTA), UINT(GCS_VERBA), UINT(GCS_VALIDATEA)}) {
      memset(text, 'x', sizeof text);
      EXPECT_EQ(cm->GetCommandString(0, type, nullptr, text, sizeof text), S_OK);
      EXPECT_STREQ(text, c.helpText) << type;
    }
    WCHAR wide[128];
    EXPECT_EQ(cm->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 128), S_OK);
    EXPECT_EQ(std::wstring(wide), Wide(c.helpText));

    memset(text, 'x', sizeof text);
    EXPECT_EQ(cm->GetCommandString(0, GCS_HELPTEXTA, nullptr, text, 6), S_OK);
    EXPECT_EQ(std::string(text), std::string(c.helpText, 5));
    EXPECT_EQ(text[6], 'x');

    memset(text, 'x', sizeof text);
    EXPECT_EQ(cm->GetCommandString(0, GCS_HELPTEXTA, nullptr, text, 0), S_OK);
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(cm->GetCommandString(1, GCS_HELPTEXTA, nullptr, text, sizeof text), E_INVALIDARG);
    cm->Release();
  }
}

TEST_F(HandlerCom, InvokeCommandStartsTheEngineWithTheSelectedPath) {
  std::string path = workDir_ + "\\a file.txt";
  for (const TMenuCommand& c : kMenuCommands) {
    IShellExtInit* init = Create<IShellExtInit>(c, IID_IShellExtInit);
    ASSERT_NE(init, nullptr);
    IContextMenu* cm = nullptr;
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&cm));
    TDropList selection({path});
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);

    CMINVOKECOMMANDINFO info = {sizeof info};
    info.lpVerb = "open";
    info.nShow = SW_HIDE;
    EXPECT_EQ(cm->InvokeCommand(&info), E_FAIL);
    info.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(cm->InvokeCommand(&info), E_INVALIDARG);
    EXPECT_EQ(AwaitEngineCommand(300), "") << "refused verbs start nothing";

    info.lpVerb = MAKEINTRESOURCEA(0);
    EXPECT_EQ(cm->InvokeCommand(&info), S_OK);
    EXPECT_EQ(AwaitEngineCommand(), EngineCommandLine(c.engineCommand, engineDir_, path)) << c.className;
    cm->Release();
    init->Release();
  }
}

TEST_F(HandlerCom, AMissingEngineIsReportedInAnErrorBox) {
  SetSuiteValue(kSuiteKey, kBaseDirValue, workDir_ + "\\no such folder");
  for (const TMenuCommand& c : kMenuCommands) {
    IContextMenu* cm = Create<IContextMenu>(c, IID_IContextMenu);
    ASSERT_NE(cm, nullptr);

    // The box is modal on this thread: a watcher reads and closes it.
    std::atomic<bool> stop{false};
    std::string boxText;
    std::thread watcher([&] {
      for (int i = 0; i < 400 && !stop; ++i) {
        if (HWND box = FindWindowA("#32770", "Error")) {
          char text[512] = {};
          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          boxText = text;
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(50);
      }
    });
    CMINVOKECOMMANDINFO info = {sizeof info};
    info.lpVerb = MAKEINTRESOURCEA(0);
    info.nShow = SW_HIDE;
    EXPECT_EQ(cm->InvokeCommand(&info), S_OK);
    stop = true;
    watcher.join();
    EXPECT_EQ(boxText, c.errorText);
    cm->Release();
  }
}

TEST_F(HandlerCom, AProgramAtTheUnquotedPrefixOfTheEnginePathIsNeverStarted) {
  // The suite in a folder with a blank, and a program named after the part
  // before it.
  const std::string temp = TempFolder(), suite = temp + "handler suite", decoy = temp + "handler.exe";
  CreateDirectoryA(suite.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((ExeDir() + "\\stub_engine.exe").c_str(), (suite + "\\Tobrel.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((ExeDir() + "\\stub_engine.exe").c_str(), decoy.c_str(), FALSE));
  SetSuiteValue(kSuiteKey, kBaseDirValue, suite);
  const std::string path = workDir_ + "\\b.txt";
  TDropList selection({path});
  IContextMenu* cm = InitializedMenu(5, selection);
  ASSERT_NE(cm, nullptr);
  EXPECT_EQ(InvokeFirstCommand(*cm), S_OK);
  EXPECT_EQ(AwaitEngineCommandIn(suite), EngineCommandLine(5, suite, path));
  EXPECT_EQ(AwaitEngineCommandIn(temp.substr(0, temp.size() - 1), 500), "") << "the program before the blank ran";
  cm->Release();
  DeleteFileA(decoy.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(suite, ignored);
}

TEST_F(HandlerCom, AFileNamedOutsideTheCodePageReachesTheEngineWhole) {
  // Greek letters: "?" in their place would be a wildcard naming bbbba.txt too.
  const std::wstring name = FromAnsi(workDir_) + L"\\\u03b1\u03b2\u03b3\u03b4a.txt";
  for (const std::wstring& file : {name, FromAnsi(workDir_) + L"\\bbbba.txt"})
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  TDropList selection(std::vector<std::wstring>{name});
  IContextMenu* cm = InitializedMenu(5, selection);
  ASSERT_NE(cm, nullptr);
  EXPECT_EQ(InvokeFirstCommand(*cm), S_OK);
  const std::string line = AwaitEngineCommand(), prefix = EngineCommandLine(5, engineDir_, "");
  ASSERT_EQ(line.substr(0, prefix.size()), prefix) << line;
  const std::string given = line.substr(prefix.size());
  EXPECT_EQ(given.find_first_of("?*"), std::string::npos) << given;
  wchar_t named[MAX_PATH] = {};
  ASSERT_NE(GetLongPathNameW(FromAnsi(given).c_str(), named, MAX_PATH), 0u) << given;
  EXPECT_EQ(CompareStringOrdinal(named, -1, name.c_str(), -1, TRUE), CSTR_EQUAL) << given;
  cm->Release();
}

TEST_F(HandlerCom, RegistrationFromAFolderNamedOutsideTheCodePageRegistersThePathWhole) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"handler \u03a9\u03bc\u03ad\u03b3\u03b1 " + std::to_wstring(GetCurrentProcessId());
  const std::wstring library = folder + L"\\Handler.dll";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(FromAnsi(DllPath()).c_str(), library.c_str(), FALSE));
  // The library beside the tests is registered again afterwards, and the
  // copy removed as far as it can be, whatever happens.
  struct TRegisterBack {
    std::wstring folder;
    ~TRegisterBack() {
      RunAndWait("regsvr32.exe /s \"" + DllPath() + "\"");
      CoFreeUnusedLibraries();
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  } registerBack{folder};
  ASSERT_EQ(RunAndWait(L"regsvr32.exe /s \"" + library + L"\""), 0);
  for (const TMenuCommand& c : kMenuCommands) {
    const std::wstring key = L"CLSID\\" + Wide(c.classId) + L"\\InprocServer32";
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
    EXPECT_EQ(CompareStringOrdinal(value, -1, library.c_str(), -1, TRUE), CSTR_EQUAL) << c.className;
  }
  IContextMenu* cm = Create<IContextMenu>(kMenuCommands[0], IID_IContextMenu);
  EXPECT_NE(cm, nullptr) << "the object comes from the library registered";
  if (cm) cm->Release();
}

TEST_F(HandlerCom, CanUnloadOnlyWithNoLiveObjectOrLock) {
  HMODULE library = LoadLibraryA(DllPath().c_str());
  ASSERT_NE(library, nullptr);
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
  auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  ASSERT_NE(canUnload, nullptr);
  ASSERT_NE(getClassObject, nullptr);
  EXPECT_EQ(canUnload(), S_OK);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(ClassId(kMenuCommands[5]), IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(canUnload(), S_OK);
  IContextMenu* cm = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&cm)), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  cm->Release();
  EXPECT_EQ(canUnload(), S_OK);

  factory->LockServer(TRUE);
  EXPECT_EQ(canUnload(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(canUnload(), S_OK);

  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  IUnknown* aggregated = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
            CLASS_E_NOAGGREGATION);
  void* none = nullptr;
  CLSID unknownClass = {};
  EXPECT_EQ(getClassObject(unknownClass, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  factory->Release();
  FreeLibrary(library);
}

}  // namespace
}  // namespace handler
