// TShellBrowser walks the shell namespace: a current folder (path, item id
// list, bound IShellFolder) and a current object in it; enumeration, names,
// icons, renaming, the shell's context menu merged with an application menu,
// verbs, and the folder-browse and network-drive dialogs. The item id list
// helpers here are also what the scan threads use.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Menus.h"
#include "classlib/win/ComPtr.h"
#include "classlib/win/Controls.h"
#include "classlib/win/ImageList.h"

namespace foldwick {

// An owned item id list, freed through the shell allocator.
struct TIdListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using TIdList = std::unique_ptr<ITEMIDLIST, TIdListFree>;

// The shell's desktop folder and its (empty) item id list, obtained once; when
// the shell cannot be reached, "Cannot find Shell!" is shown, the application
// is told to end and these are null. Safe from any thread.
IShellFolder* DesktopFolder();
LPCITEMIDLIST DesktopIdList();

// The size in bytes of a list including its terminator; 0 for null.
UINT IdListSize(LPCITEMIDLIST list);
// A copy of `list`, or null for null.
TIdList CopyIdList(LPCITEMIDLIST list);
// A new list with the items of a followed by those of b; either may be null.
TIdList ConcatPIDLs(LPCITEMIDLIST a, LPCITEMIDLIST b);
// Whether two absolute lists name the same shell item.
bool SameIdList(LPCITEMIDLIST a, LPCITEMIDLIST b);
// The file-system path of an absolute list, empty when it has none.
std::string IdListPath(LPCITEMIDLIST list);
std::wstring IdListWidePath(LPCITEMIDLIST list);

// Parses `path` (ANSI) through `folder`, the desktop when null; null when it
// does not parse or is longer than a path may be.
TIdList PathToPIDL(IShellFolder* folder, const std::string& path);
TIdList PathToPIDL(IShellFolder* folder, const std::wstring& path);

// UTF-16 text in the ANSI code page; characters it lacks become "?".
std::string AnsiFromWide(const wchar_t* text);
// ANSI text as UTF-16; empty when it does not convert.
std::wstring WideFromAnsi(const std::string& text);
// UTF-8 text in the ANSI code page, for the windows that show ANSI text.
std::string AnsiFromUtf8(const std::string& text);

// The text of a STRRET the shell returned for `list`, converted from UTF-16
// with the ANSI code page; the wide string is freed. False for an unknown kind.
bool StrRetToString(STRRET& strRet, LPCITEMIDLIST list, std::string& text);

class EShellBrowserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TShellBrowser : public classlib::TComponent {
 public:
  // When the owner is a form, its menu messages reach the shell while a
  // context menu is shown.
  explicit TShellBrowser(classlib::TComponent* AOwner);
  ~TShellBrowser() override;

  // The current folder's file-system path, ending in "\"; empty outside the
  // file system. Setting an empty path chooses My Computer; a path that does
  // not parse raises EShellBrowserError.
  const std::string& Folder() const { return folder_; }
  void SetFolder(const std::string& path);
  // Makes `list` (absolute) the current folder; raises when it cannot be bound.
  void SetFolderPIDL(LPCITEMIDLIST list);
  TIdList GetFolderPIDL() const { return CopyIdList(folderList_.get()); }
  void SetObjectPIDL(LPCITEMIDLIST list) { objectList_ = CopyIdList(list); }
  TIdList GetObjectPIDL() const { return CopyIdList(objectList_.get()); }

  // The current object's file name (a drive root whole, such as "C:\"); empty
  // without folder, object or file-system path. Setting looks a bare name up in
  // the folder, makes a drive root the object of My Computer, and splits a
  // path into folder and name; an unknown name raises EShellBrowserError.
  std::string ObjectName() const;
  void SetObjectName(std::string name);

  // The object's display name, or ObjectName when the shell gives none.
  std::string GetDisplayName() const;
  bool IsFolder() const;
  // The folder's last item becomes the object, the rest the folder.
  bool MoveUp();
  // A folder object becomes the current folder; true when one is bound.
  bool EnterObject();
  // The next object of the folder (folders, files and hidden ones) becomes the
  // current object; false at the end. With FileSystemOnly, objects outside the
  // file system are passed over, except recycle bins.
  bool NextObject();
  int IconNumber() const { return Icon(false); }
  int SelectedIconNumber() const { return Icon(true); }
  // Renames the object; `name` gets its display name afterwards.
  void RenameObject(std::string& name);

  bool BrowseForFolder(const std::string& title);
  bool MapNetworkDrive();

  // Shows the shell's menu for the object (or MultiObjects) with the items of
  // `popup` below; returns the verb of the shell command chosen, empty for
  // none, for an application item (its handler ran) and for a delete that left
  // the object in place.
  std::string ShowContextMenu(POINT point, classlib::TPopupMenu* popup);
  // Runs `verb` ("default": the object's default command) on the object or
  // MultiObjects; false when it failed or a delete left the object in place.
  bool ExecuteVerb(const std::string& verb);

  classlib::TImageList* SmallImages() const { return smallImages_; }
  // The list shares the system's small (large) image list.
  void SetSmallImages(classlib::TImageList* images);
  classlib::TImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(classlib::TImageList* images);

  IShellFolder* ShellFolder() const { return shellFolder_.Get(); }
  const char* Version() const { return "1.0 beta 4"; }

  bool FileSystemOnly = true;
  // When not empty, the context menu and the verbs act on these names of the
  // current folder instead of the object; cleared by each such use.
  std::vector<std::string> MultiObjects;

 protected:
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  struct TObjectLists {
    std::vector<TIdList> lists;
    std::string checkPath;
  };
  // The lists the menu and verbs act on. Names of MultiObjects that do not
  // parse are looked up as ObjectName; those not found are left out.
  TObjectLists BuildObjectLists();
  classlib::TComPtr<IContextMenu> ObjectMenu(const TObjectLists& objects) const;
  int Icon(bool open) const;
  void ShareSystemImages(classlib::TImageList* images, UINT size);
  // The owner form's messages, seen first: the shell's menu draws and fills
  // its own items while it is up.
  bool OwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  std::string folder_;
  TIdList folderList_;
  classlib::TComPtr<IShellFolder> shellFolder_;
  classlib::TComPtr<IEnumIDList> enum_;
  TIdList objectList_;
  classlib::TImageList* smallImages_ = nullptr;
  classlib::TImageList* largeImages_ = nullptr;
  HWND ownerWindow_ = nullptr;
  classlib::TWinControl* hookedForm_ = nullptr;
  // While a context menu is shown.
  classlib::TComPtr<IContextMenu2> menu2_;
  HMENU shownMenu_ = nullptr;
  int appItemCount_ = 0;
};

}  // namespace foldwick
