// The in-process server: library entry, the class factories, the object count
// behind DllCanUnloadNow, and registration of the six class identifiers.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <new>
#include <string>

#include "shellext/win/ContextMenu.h"

namespace handler {

namespace {

HINSTANCE gInstance = nullptr;
LONG gObjects = 0;
LONG gLocks = 0;
HBITMAP gBitmaps[kCommandCount] = {};

// A factory per class, created when the library loads and living as long as it.
class TClassFactory final : public IClassFactory {
 public:
  explicit TClassFactory(int index) : index_(index) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // The factories are static: references to them do not keep the library loaded;
  // LockServer does.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    TContextMenuBase* object = CreateContextMenu(index_);
    if (object == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) InterlockedIncrement(&gLocks);
    else InterlockedDecrement(&gLocks);
    return S_OK;
  }

 private:
  int index_;
};

TClassFactory* gFactories[kCommandCount] = {};

void CreateFactories() {
  for (int i = 0; i < kCommandCount; ++i) gFactories[i] = new (std::nothrow) TClassFactory(i);
}

void DestroyModuleState() {
  for (auto*& factory : gFactories) {
    delete factory;
    factory = nullptr;
  }
  for (auto& bitmap : gBitmaps) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

// A text of the class table (ASCII) as wide text.
std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

int FindClass(REFCLSID clsid) {
  for (int i = 0; i < kCommandCount; ++i) {
    CLSID id;
    if (SUCCEEDED(CLSIDFromString(Wide(kMenuCommands[i].classId).c_str(), &id)) && IsEqualCLSID(id, clsid)) return i;
  }
  return -1;
}

// Written as wide text, so that a library path outside the ANSI code page is
// registered whole.
bool SetDefaultValue(HKEY parent, const std::wstring& subKey, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

}  // namespace

HINSTANCE ModuleInstance() { return gInstance; }
void ObjectCreated() { InterlockedIncrement(&gObjects); }
void ObjectDestroyed() { InterlockedDecrement(&gObjects); }

HBITMAP CommandBitmap(int index) {
  if (index < 0 || index >= kCommandCount) return nullptr;
  if (gBitmaps[index] == nullptr) gBitmaps[index] = LoadBitmapA(gInstance, kMenuCommands[index].bitmap);
  return gBitmaps[index];
}

}  // namespace handler

using namespace handler;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gInstance = instance;
    DisableThreadLibraryCalls(instance);
    CreateFactories();
  } else if (reason == DLL_PROCESS_DETACH) {
    DestroyModuleState();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  int index = FindClass(clsid);
  if (index < 0 || gFactories[index] == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
  return gFactories[index]->QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow() { return (gObjects == 0 && gLocks == 0) ? S_OK : S_FALSE; }

// Writes HKCR\CLSID\{id} (the description) and its InprocServer32 subkey (this
// library's full path) for each class; nothing else.
STDAPI DllRegisterServer() {
  // The path read as wide text: the ANSI form of a folder named outside the
  // code page holds "?", which would register a library no one can load.
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(gInstance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  for (const TMenuCommand& command : kMenuCommands) {
    std::wstring key = L"CLSID\\" + Wide(command.classId);
    if (!SetDefaultValue(HKEY_CLASSES_ROOT, key, Wide(command.description)) ||
        !SetDefaultValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", std::wstring(path, length)))
      return SELFREG_E_CLASS;
  }
  return S_OK;
}

// Removes what DllRegisterServer wrote. Keys already gone count as removed.
STDAPI DllUnregisterServer() {
  HRESULT hr = S_OK;
  for (const TMenuCommand& command : kMenuCommands) {
    std::string key = std::string("CLSID\\") + command.classId;
    for (const std::string& sub : {key + "\\InprocServer32", key}) {
      LONG rc = RegDeleteKeyA(HKEY_CLASSES_ROOT, sub.c_str());
      if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) hr = SELFREG_E_CLASS;
    }
  }
  return hr;
}
