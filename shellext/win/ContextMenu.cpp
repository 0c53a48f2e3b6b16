// IShellExtInit and IContextMenu for the suite's six commands.
#include "shellext/win/ContextMenu.h"

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
// E_FAIL for none, several, or a path too long to hold whole.
STDMETHODIMP TContextMenuBase::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
  path_[0] = 0;
  if (data == nullptr) return E_FAIL;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  HRESULT hr = data->GetData(&format, &medium);
  if (FAILED(hr)) return hr;
  hr = E_FAIL;
  auto drop = static_cast<HDROP>(medium.hGlobal);
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count == 1) {
    UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    if (AcceptSelection(count, length) && DragQueryFileA(drop, 0, path_, sizeof path_) == length) hr = S_OK;
    else path_[0] = 0;
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
// refused; an engine that will not start is reported in a message box, and the
// call still succeeds since the Explorer has nothing more to do about it.
STDMETHODIMP TContextMenuBase::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  if (info == nullptr) return E_INVALIDARG;
  auto verb = reinterpret_cast<UINT_PTR>(info->lpVerb);
  if ((verb >> 16) != 0) return E_FAIL;  // a pointer to a verb text
  if (verb != 0) return E_INVALIDARG;
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
