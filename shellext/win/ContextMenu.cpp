// IShellExtInit and IContextMenu for the suite's six commands.
#include "shellext/win/ContextMenu.h"

#include <algorithm>
#include <new>
#include <string>

namespace handler {

namespace {

// Reads a string value under HKEY_LOCAL_MACHINE without creating the key; a
// missing key or value, or one that is not a string, reads as an empty text.
std::string ReadSuiteValue(const char* subKey, const char* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  std::string text;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
    text.resize(size);
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) == ERROR_SUCCESS)
      text.resize(strnlen(text.c_str(), size));
    else
      text.clear();
  }
  RegCloseKey(key);
  return text;
}

// `wide` in the ANSI code page when that text names the same path again, else
// "" (a character the code page lacks would come out as "?" or as a look-alike
// letter, naming other files).
std::string ExactAnsiText(const std::wstring& wide) {
  int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(), size, nullptr, nullptr);
  int back = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), size, nullptr, 0);
  std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
  if (back > 0) MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), size, again.data(), back);
  return again == wide ? narrow : std::string();
}

// The path the engine can be given for the selected `wide` path: the path
// itself in the ANSI code page, else its short (8.3) form; "" when neither
// names it whole within the path limit.
std::string EnginePath(const std::wstring& wide) {
  std::string narrow = ExactAnsiText(wide);
  if (!narrow.empty() && narrow.size() <= kMaxPathChars) return narrow;
  DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring shortPath(length, L'\0');
  length = GetShortPathNameW(wide.c_str(), shortPath.data(), length);
  if (length == 0 || length >= shortPath.size()) return {};
  shortPath.resize(length);
  narrow = ExactAnsiText(shortPath);
  return narrow.size() <= kMaxPathChars ? narrow : std::string();
}

}  // namespace

TContextMenuBase::TContextMenuBase(int index) : index_(index) { ObjectCreated(); }

TContextMenuBase::~TContextMenuBase() { ObjectDestroyed(); }

STDMETHODIMP TContextMenuBase::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellExtInit)) {
    *ppv = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(riid, IID_IContextMenu)) {
    *ppv = static_cast<IContextMenu*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TContextMenuBase::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) TContextMenuBase::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return left;
}

// Takes the one selected path from the data object's drop list. Fails with no
// data object, with the data object's own code when it has no drop list, and with
// E_FAIL for none, several, or a path too long to hold whole. The path is read
// as wide text, so a name outside the ANSI code page is seen as it is.
STDMETHODIMP TContextMenuBase::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
  path_[0] = 0;
  unnamable_ = false;
  if (data == nullptr) return E_FAIL;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  HRESULT hr = data->GetData(&format, &medium);
  if (FAILED(hr)) return hr;
  hr = E_FAIL;
  auto drop = static_cast<HDROP>(medium.hGlobal);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  UINT length = count == 1 ? DragQueryFileW(drop, 0, nullptr, 0) : 0;
  if (AcceptSelection(count, length)) {
    std::wstring wide(length + 1, L'\0');
    if (DragQueryFileW(drop, 0, wide.data(), length + 1) == length) {
      wide.resize(length);
      std::string narrow = EnginePath(wide);
      unnamable_ = narrow.empty();
      std::copy(narrow.begin(), narrow.end(), path_);
      path_[narrow.size()] = 0;
      hr = S_OK;
    }
  }
  ReleaseStgMedium(&medium);
  return hr;
}

// Adds the command's item with its glyph at `index` when the suite is set up for
// the current user. Returns the number of command ids used (0 or 1).
STDMETHODIMP TContextMenuBase::QueryContextMenu(HMENU menu, UINT index, UINT firstCmd, UINT, UINT) {
  if (ReadSuiteValue(kSuiteUserKey, kUserIsSetupValue).empty()) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  if (!InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING, firstCmd, Command().caption))
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  if (HBITMAP glyph = CommandBitmap(index_)) SetMenuItemBitmaps(menu, index, MF_BYPOSITION, glyph, glyph);
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

// Starts the suite's engine with the selected path. A verb given as a text is
// refused; a path the engine cannot be given whole, and an engine that will not
// start, are reported in a message box, and the call still succeeds since the
// Explorer has nothing more to do about it.
STDMETHODIMP TContextMenuBase::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  if (info == nullptr) return E_INVALIDARG;
  auto verb = reinterpret_cast<UINT_PTR>(info->lpVerb);
  if ((verb >> 16) != 0) return E_FAIL;  // a pointer to a verb text
  if (verb != 0) return E_INVALIDARG;
  if (unnamable_) {
    MessageBoxA(info->hwnd, kUnnamablePathText, "Error", MB_OK | MB_ICONERROR);
    return S_OK;
  }
  std::string line = EngineCommandLine(Command().engineCommand, ReadSuiteValue(kSuiteKey, kBaseDirValue), path_);
  if (WinExec(line.c_str(), info->nShow) < 32)
    MessageBoxA(info->hwnd, Command().errorText, "Error", MB_OK | MB_ICONERROR);
  return S_OK;
}

// Copies the help text, cut to `size` characters. Callers asking for one of the
// wide types get it as wide characters, the others as 8-bit text.
STDMETHODIMP TContextMenuBase::GetCommandString(UINT_PTR cmd, UINT type, UINT*, CHAR* name, UINT size) {
  if (cmd != 0) return E_INVALIDARG;
  if (type & GCS_UNICODE)
    CopyTextCut(Command().helpText, reinterpret_cast<WCHAR*>(name), size);
  else
    CopyTextCut(Command().helpText, name, size);
  return S_OK;
}

TContextMenuBase* CreateContextMenu(int index) {
  switch (index) {
    case 0: return new (std::nothrow) TContextMenuEncrypt;
    case 1: return new (std::nothrow) TContextMenuDecrypt;
    case 2: return new (std::nothrow) TContextMenuQuickView;
    case 3: return new (std::nothrow) TContextMenuAutoCipher;
    case 4: return new (std::nothrow) TContextMenuEncExe;
    case 5: return new (std::nothrow) TContextMenuShred;
    default: return nullptr;
  }
}

}  // namespace handler
