// The shell browser, the shell's desktop and the item id list helpers.
#include "analyser/components/win/ShellBrowser.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <cctype>
#include <cstring>
#include <mutex>

#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "classlib/win/MenuHandle.h"
#include "classlib/win/WideText.h"

namespace foldwick {

using classlib::TComPtr;

namespace {

struct TShellStart {
  IShellFolder* desktop = nullptr;
  LPITEMIDLIST desktopList = nullptr;
};

// Obtained once and kept to the end of the program: releasing them while the
// process unloads could call into a shell that is already gone.
const TShellStart& Shell() {
  static TShellStart start;
  static std::once_flag once;
  std::call_once(once, [] {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || FAILED(SHGetDesktopFolder(&start.desktop))) {
      MessageBoxA(nullptr, "Cannot find Shell!", "Error", MB_OK | MB_ICONERROR);
      classlib::Application().Terminate();
    }
    if (allocator != nullptr) allocator->Release();
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &start.desktopList))) MessageBeep(0);
  });
  return start;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return a.size() == b.size() && Upper(a) == Upper(b); }


bool PathExists(const std::string& path) { return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The last item of a non-empty list, or null.
LPCITEMIDLIST LastItem(LPCITEMIDLIST list) {
  if (list == nullptr || list->mkid.cb == 0) return nullptr;
  auto* item = reinterpret_cast<const BYTE*>(list);
  const BYTE* last = item;
  while (reinterpret_cast<const SHITEMID*>(item)->cb != 0) {
    last = item;
    item += reinterpret_cast<const SHITEMID*>(item)->cb;
  }
  return reinterpret_cast<LPCITEMIDLIST>(last);
}

HRESULT InvokeCommand(IContextMenu* menu, HWND owner, LPCSTR verb) {
  CMINVOKECOMMANDINFO info = {};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}

}  // namespace

IShellFolder* DesktopFolder() { return Shell().desktop; }
LPCITEMIDLIST DesktopIdList() { return Shell().desktopList; }

UINT IdListSize(LPCITEMIDLIST list) {
  if (list == nullptr) return 0;
  UINT size = 0;
  auto* item = reinterpret_cast<const BYTE*>(list);
  while (reinterpret_cast<const SHITEMID*>(item + size)->cb != 0) size += reinterpret_cast<const SHITEMID*>(item + size)->cb;
  return size + sizeof(USHORT);
}

TIdList CopyIdList(LPCITEMIDLIST list) {
  if (list == nullptr) return nullptr;
  UINT size = IdListSize(list);
  auto* copy = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(size));
  if (copy != nullptr) std::memcpy(copy, list, size);
  return TIdList(copy);
}

TIdList ConcatPIDLs(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  if (a == nullptr) return CopyIdList(b);
  if (b == nullptr) return CopyIdList(a);
  const UINT sizeA = IdListSize(a) - sizeof(USHORT);
  const UINT sizeB = IdListSize(b);
  auto* joined = static_cast<BYTE*>(CoTaskMemAlloc(sizeA + sizeB));
  if (joined == nullptr) return nullptr;
  std::memcpy(joined, a, sizeA);
  std::memcpy(joined + sizeA, b, sizeB);
  return TIdList(reinterpret_cast<ITEMIDLIST*>(joined));
}

bool SameIdList(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  if (a == nullptr || b == nullptr) return a == b;
  IShellFolder* desktop = DesktopFolder();
  if (desktop == nullptr) return false;
  HRESULT hr = desktop->CompareIDs(0, a, b);
  return SUCCEEDED(hr) && HRESULT_CODE(hr) == 0;
}

std::string IdListPath(LPCITEMIDLIST list) {
  char path[MAX_PATH + 1] = "";
  if (list == nullptr || !SHGetPathFromIDListA(list, path)) return {};
  return path;
}

std::wstring IdListWidePath(LPCITEMIDLIST list) {
  wchar_t path[MAX_PATH + 1] = L"";
  if (list == nullptr || !SHGetPathFromIDListW(list, path)) return {};
  return path;
}

TIdList PathToPIDL(IShellFolder* folder, const std::string& path) {
  if (path.size() > MAX_PATH) return nullptr;
  return PathToPIDL(folder, WideFromAnsi(path));
}

TIdList PathToPIDL(IShellFolder* folder, const std::wstring& path) {
  if (folder == nullptr) folder = DesktopFolder();
  if (folder == nullptr || path.empty() || path.size() > MAX_PATH) return nullptr;
  std::wstring text = path;
  LPITEMIDLIST list = nullptr;
  ULONG eaten = 0;
  if (FAILED(folder->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, &list, nullptr))) {
    CoTaskMemFree(list);
    return nullptr;
  }
  return TIdList(list);
}

std::wstring WideFromAnsi(const std::string& text) {
  return classlib::WideFromText(text, CP_ACP);
}

std::string AnsiFromWide(const wchar_t* text) {
  return classlib::TextFromWide(text, CP_ACP);
}

std::string AnsiFromUtf8(const std::string& text) {
  return classlib::TextFromWide(classlib::WideFromText(text, CP_UTF8).c_str(), CP_ACP);
}

bool StrRetToString(STRRET& strRet, LPCITEMIDLIST list, std::string& text) {
  switch (strRet.uType) {
    case STRRET_WSTR: {
      if (strRet.pOleStr == nullptr) return false;
      text = AnsiFromWide(strRet.pOleStr);
      CoTaskMemFree(strRet.pOleStr);
      strRet.pOleStr = nullptr;
      return true;
    }
    case STRRET_OFFSET:
      if (list == nullptr) return false;
      text = reinterpret_cast<const char*>(list) + strRet.uOffset;
      return true;
    case STRRET_CSTR:
      text = strRet.cStr;
      return true;
    default:
      return false;
  }
}

TShellBrowser::TShellBrowser(classlib::TComponent* AOwner) : classlib::TComponent(AOwner) {
  Shell();
  auto* form = dynamic_cast<classlib::TForm*>(AOwner);
  ownerWindow_ = form != nullptr ? form->Handle() : classlib::Application().Handle();
  if (form != nullptr) {
    // The form owns this component and frees it while the form still lives.
    hookedForm_ = form;
    form->AddMessageHook(this, [this](classlib::TMessage& m) { return OwnerMessage(m.Msg, m.WParam, m.LParam); });
  }
}

TShellBrowser::~TShellBrowser() {
  if (hookedForm_ != nullptr) hookedForm_->RemoveMessageHook(this);
}

void TShellBrowser::SetFolder(const std::string& path) {
  if (!path.empty() && EqualNoCase(path, folder_)) return;
  TIdList list;
  if (path.empty()) {
    LPITEMIDLIST drives = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) list.reset(drives);
  } else {
    list = PathToPIDL(nullptr, path);
  }
  if (!list) throw EShellBrowserError("Cannot Find Folder: " + path.substr(0, 40));
  SetFolderPIDL(list.get());
}

void TShellBrowser::SetFolderPIDL(LPCITEMIDLIST list) {
  if (list == nullptr) {
    folderList_.reset();
    return;
  }
  TComPtr<IShellFolder> folder;
  IShellFolder* desktop = DesktopFolder();
  if (desktop == nullptr) throw EShellBrowserError("Could not get Folder");
  if (list->mkid.cb == 0 || SameIdList(list, DesktopIdList())) {
    folder = TComPtr<IShellFolder>::Borrow(desktop);
  } else if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.PutVoid())) || !folder) {
    throw EShellBrowserError("Could not get Folder");
  }
  enum_.Reset();
  shellFolder_ = folder;
  folderList_ = CopyIdList(list);
  objectList_.reset();
  folder_ = IdListPath(list);
  if (!folder_.empty() && folder_.back() != '\\') folder_ += '\\';
}

std::string TShellBrowser::ObjectName() const {
  if (!folderList_ || !objectList_) return {};
  std::string path = IdListPath(ConcatPIDLs(folderList_.get(), objectList_.get()).get());
  if (path.size() <= 3 && !path.empty() && path.back() == '\\') return path;
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void TShellBrowser::SetObjectName(std::string name) {
  if (name.size() > 3 && name.back() == '\\') name.pop_back();
  if (name.empty()) {
    objectList_.reset();
    return;
  }
  size_t slash = name.find_last_of('\\');
  if (slash == std::string::npos) {
    if (shellFolder_) {
      if (TIdList list = PathToPIDL(shellFolder_.Get(), name)) {
        objectList_ = std::move(list);
        return;
      }
    }
    enum_.Reset();
    bool found = false;
    while (!found && NextObject()) found = GetDisplayName() == name || ObjectName() == name;
    enum_.Reset();
    if (!found)
      throw EShellBrowserError("Error! Cannot find Object \"" + name + "\" in Folder \"" + folder_ + "\"");
    return;
  }
  if (name.size() < 4) {
    SetFolder(name);
    MoveUp();
    return;
  }
  SetFolder(name.substr(0, slash + 1));
  SetObjectName(name.substr(slash + 1));
}

std::string TShellBrowser::GetDisplayName() const {
  std::string name;
  STRRET strRet = {};
  if (shellFolder_ && objectList_ && SUCCEEDED(shellFolder_->GetDisplayNameOf(objectList_.get(), SHGDN_NORMAL, &strRet)))
    StrRetToString(strRet, objectList_.get(), name);
  return name.empty() ? ObjectName() : name;
}

bool TShellBrowser::IsFolder() const {
  if (!shellFolder_ || !objectList_) return false;
  SFGAOF attributes = SFGAO_FOLDER;
  LPCITEMIDLIST item = objectList_.get();
  return SUCCEEDED(shellFolder_->GetAttributesOf(1, &item, &attributes)) && (attributes & SFGAO_FOLDER) != 0;
}

bool TShellBrowser::MoveUp() {
  LPCITEMIDLIST last = LastItem(folderList_.get());
  if (last == nullptr) return false;
  const auto keep = static_cast<UINT>(reinterpret_cast<const BYTE*>(last) - reinterpret_cast<const BYTE*>(folderList_.get()));
  // The item alone, and the folder without it.
  const UINT itemSize = last->mkid.cb;
  auto* single = static_cast<BYTE*>(CoTaskMemAlloc(itemSize + sizeof(USHORT)));
  auto* parent = static_cast<BYTE*>(CoTaskMemAlloc(keep + sizeof(USHORT)));
  if (single == nullptr || parent == nullptr) {
    CoTaskMemFree(single);
    CoTaskMemFree(parent);
    return false;
  }
  std::memcpy(single, last, itemSize);
  std::memset(single + itemSize, 0, sizeof(USHORT));
  std::memcpy(parent, folderList_.get(), keep);
  std::memset(parent + keep, 0, sizeof(USHORT));
  TIdList object(reinterpret_cast<ITEMIDLIST*>(single));
  TIdList parentList(reinterpret_cast<ITEMIDLIST*>(parent));
  SetFolderPIDL(parentList.get());
  objectList_ = std::move(object);
  return true;
}

bool TShellBrowser::EnterObject() {
  if (IsFolder()) {
    TIdList full = ConcatPIDLs(folderList_.get(), objectList_.get());
    SetFolderPIDL(full.get());
  }
  return static_cast<bool>(shellFolder_);
}

bool TShellBrowser::NextObject() {
  if (!enum_) {
    if (!shellFolder_) return false;
    HRESULT hr = shellFolder_->EnumObjects(ownerWindow_, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                                           enum_.Put());
    if (hr != S_OK || !enum_) {
      enum_.Reset();
      return false;
    }
  }
  for (;;) {
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    if (enum_->Next(1, &item, &fetched) != S_OK || item == nullptr) {
      enum_.Reset();
      return false;
    }
    objectList_.reset(item);
    if (!FileSystemOnly) return true;
    SFGAOF attributes = SFGAO_FILESYSTEM;
    LPCITEMIDLIST items = item;
    if (SUCCEEDED(shellFolder_->GetAttributesOf(1, &items, &attributes)) && (attributes & SFGAO_FILESYSTEM)) return true;
    if (Upper(ObjectName().substr(0, 7)) == "RECYCLE") return true;
  }
}

int TShellBrowser::Icon(bool open) const {
  TIdList full = ConcatPIDLs(folderList_.get(), objectList_.get());
  if (!full) return -1;
  SHFILEINFOA info = {};
  UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
  if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(full.get()), 0, &info, sizeof info, flags)) return -1;
  return info.iIcon;
}

void TShellBrowser::RenameObject(std::string& name) {
  classlib::TWaitCursor wait;
  if (!shellFolder_ || !objectList_) return;
  const std::wstring wide = WideFromAnsi(name);
  if (name.size() > MAX_PATH || wide.empty()) return;
  LPITEMIDLIST renamed = nullptr;
  // 32 is the name form the analyser has always passed: a name within the folder.
  constexpr SHGDNF kRenameFlags = 32;
  shellFolder_->SetNameOf(ownerWindow_, objectList_.get(), wide.c_str(), kRenameFlags, &renamed);
  if (renamed != nullptr) objectList_.reset(renamed);
  name = GetDisplayName();
}

bool TShellBrowser::BrowseForFolder(const std::string& title) {
  char display[MAX_PATH] = "";
  BROWSEINFOA info = {};
  info.hwndOwner = ownerWindow_;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = FileSystemOnly ? BIF_RETURNONLYFSDIRS : 0;
  TIdList chosen(SHBrowseForFolderA(&info));
  if (!chosen) return false;
  SetFolderPIDL(chosen.get());
  return true;
}

bool TShellBrowser::MapNetworkDrive() { return WNetConnectionDialog(ownerWindow_, RESOURCETYPE_DISK) == NO_ERROR; }

TShellBrowser::TObjectLists TShellBrowser::BuildObjectLists() {
  TObjectLists objects;
  if (MultiObjects.empty()) {
    if (objectList_) objects.lists.push_back(CopyIdList(objectList_.get()));
    objects.checkPath = folder_ + ObjectName();
    return objects;
  }
  std::vector<std::string> names;
  names.swap(MultiObjects);
  objects.checkPath = folder_ + names.front();
  TIdList saved = CopyIdList(objectList_.get());
  for (const std::string& name : names) {
    TIdList list = shellFolder_ ? PathToPIDL(shellFolder_.Get(), name) : nullptr;
    if (!list) {
      try {
        SetObjectName(name);
        list = CopyIdList(objectList_.get());
      } catch (const EShellBrowserError&) {
        // A name that is not in the folder gets no command at all.
      }
    }
    if (list) objects.lists.push_back(std::move(list));
  }
  objectList_ = std::move(saved);
  return objects;
}

TComPtr<IContextMenu> TShellBrowser::ObjectMenu(const TObjectLists& objects) const {
  TComPtr<IContextMenu> menu;
  if (!shellFolder_ || objects.lists.empty()) return menu;
  std::vector<LPCITEMIDLIST> items;
  for (const TIdList& list : objects.lists) items.push_back(list.get());
  if (FAILED(shellFolder_->GetUIObjectOf(ownerWindow_, static_cast<UINT>(items.size()), items.data(), IID_IContextMenu,
                                         nullptr, menu.PutVoid())))
    menu.Reset();
  return menu;
}

std::string TShellBrowser::ShowContextMenu(POINT point, classlib::TPopupMenu* popup) {
  std::string result;
  // Copies of the application's items and of those one level below them.
  classlib::TPopupMenu copy(nullptr);
  if (popup != nullptr)
    for (int i = 0; i < popup->Items()->Count(); ++i) copy.Items()->Add(classlib::CopyMenuItem(*popup->Items()->Items(i), "2", 1));
  classlib::TNotifyEvent savedHint = classlib::Application().OnHint;
  classlib::Application().OnHint = nullptr;

  TObjectLists objects = BuildObjectLists();
  TComPtr<IContextMenu> menu = ObjectMenu(objects);
  HMENU handle = menu ? classlib::CreatePopupHandle(*copy.Items()) : nullptr;
  if (handle != nullptr && SUCCEEDED(menu->QueryContextMenu(handle, 0, 1, 0x7FFF, CMF_EXPLORE))) {
    menu->QueryInterface(IID_IContextMenu2, menu2_.PutVoid());
    shownMenu_ = handle;
    appItemCount_ = copy.Items()->Count();
    const int id = static_cast<int>(
        TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, ownerWindow_, nullptr));
    menu2_.Reset();
    shownMenu_ = nullptr;
    classlib::TMenuItem* chosen = id > 0 ? copy.Items()->Find(static_cast<std::uint16_t>(id)) : nullptr;
    if (chosen != nullptr && chosen != copy.Items()) {
      chosen->Click();
    } else if (id > 0 && id <= 0x7FFF) {
      if (SUCCEEDED(InvokeCommand(menu.Get(), ownerWindow_, MAKEINTRESOURCEA(id - 1)))) {
        char verb[MAX_PATH + 1] = "";
        if (SUCCEEDED(menu->GetCommandString(static_cast<UINT_PTR>(id - 1), GCS_VERBA, nullptr, verb, MAX_PATH)))
          result = verb;
      }
    }
  }
  classlib::Application().OnHint = savedHint;
  if (handle != nullptr) DestroyMenu(handle);
  if (Upper(result) == "DELETE" && PathExists(objects.checkPath)) result.clear();
  return result;
}

bool TShellBrowser::ExecuteVerb(const std::string& verb) {
  if ((!objectList_ && MultiObjects.empty()) || !shellFolder_) return false;
  classlib::TWaitCursor wait;
  TObjectLists objects = BuildObjectLists();
  TComPtr<IContextMenu> menu = ObjectMenu(objects);
  if (!menu) return false;
  bool ok = false;
  if (Upper(verb) == "DEFAULT") {
    HMENU temporary = CreatePopupMenu();
    if (temporary != nullptr && SUCCEEDED(menu->QueryContextMenu(temporary, 0, 1, 0x7FFF, CMF_DEFAULTONLY))) {
      UINT id = GetMenuDefaultItem(temporary, FALSE, 0);
      if (id != static_cast<UINT>(-1) && id > 0) ok = SUCCEEDED(InvokeCommand(menu.Get(), ownerWindow_, MAKEINTRESOURCEA(id - 1)));
    }
    if (temporary != nullptr) DestroyMenu(temporary);
  } else {
    ok = SUCCEEDED(InvokeCommand(menu.Get(), ownerWindow_, verb.c_str()));
  }
  if (Upper(verb) == "DELETE" && PathExists(objects.checkPath)) ok = false;
  return ok;
}

void TShellBrowser::ShareSystemImages(classlib::TImageList* images, UINT size) {
  if (images == nullptr) return;
  FreeNotification(images);
  SHFILEINFOA info = {};
  auto system = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
  images->SetHandle(nullptr);
  images->ShareImages = true;
  images->SetHandle(system);
}

void TShellBrowser::SetSmallImages(classlib::TImageList* images) {
  smallImages_ = images;
  ShareSystemImages(images, SHGFI_SMALLICON);
}

void TShellBrowser::SetLargeImages(classlib::TImageList* images) {
  largeImages_ = images;
  ShareSystemImages(images, SHGFI_LARGEICON);
}

void TShellBrowser::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  if (Operation != classlib::TOperation::opRemove) return;
  if (AComponent == smallImages_) smallImages_ = nullptr;
  if (AComponent == largeImages_) largeImages_ = nullptr;
}

bool TShellBrowser::OwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (menu2_ && (msg == WM_DRAWITEM || msg == WM_MEASUREITEM || msg == WM_INITMENUPOPUP)) {
    if (msg == WM_INITMENUPOPUP) {
      // Submenus of the application's own items are none of the shell's business.
      const int firstAppItem = GetMenuItemCount(shownMenu_) - appItemCount_;
      if (static_cast<int>(LOWORD(lParam)) >= firstAppItem) return false;
    }
    menu2_->HandleMenuMsg(msg, wParam, lParam);
  }
  // The form's own handling follows either way.
  return false;
}

}  // namespace foldwick
