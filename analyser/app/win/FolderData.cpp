// Folder data: values, names, icons and the node's reference.
#include "analyser/app/win/FolderData.h"

#include <shellapi.h>

#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/Scan.h"
#include "analyser/app/win/ShellText.h"

namespace foldwick {

TFolderData::TFolderData(classlib::TTreeNode* node, std::shared_ptr<TScanRoot> root)
    : Node(node), ScanRoot(std::move(root)) {}

double TFolderData::GetFolderValue(int viewType, int unitType) const {
  TValueContext context;
  if (ScanRoot) {
    context.clusterSize = ScanRoot->clusterSize;
    context.scanRunning = ScanRoot->runningScan != nullptr;
  }
  TFolderData* parent = Parent();
  context.parentClusters = (parent != nullptr ? parent->Counts : Counts).clusters.load(std::memory_order_relaxed);
  return foldwick::GetFolderValue(Counts.Totals(), context, viewType, unitType);
}

std::string TFolderData::FormatFolderValue(int viewType, bool pad) const {
  const TValueFormat& format = ViewSettings().Format;
  return foldwick::FormatFolderValue(GetFolderValue(viewType, format.unitType), viewType, pad, format);
}

std::string TFolderData::GetFolderName() {
  if (!NameCache.empty()) return MarkFolderName(NameCache, HasError.load(), false);
  if (IsFilesNode) return "<Files>";
  std::string name;
  // A folder without the read-only and system attributes has no name of its
  // own (from its desktop.ini): its listing name is the shell's.
  if (PlainFolder && !FileName.empty()) {
    NameCache = AnsiFromWide(FileName.c_str());
    return MarkFolderName(NameCache, HasError.load(), IsNew.load());
  }
  TFolderData* parent = Parent();
  bool ok = parent != nullptr ? StrRetToText(parent->Folder(), RelativeIdList(), SHGDN_NORMAL, name)
                              : StrRetToText(DesktopFolder(), IdList(), SHGDN_NORMAL, name);
  // Past the shell's reach the listing's name is the name.
  if ((!ok || name.empty()) && !FileName.empty()) name = AnsiFromWide(FileName.c_str());
  if (name.empty()) return MarkFolderName("Error: Cannot get name!", HasError.load(), IsNew.load());
  NameCache = name;
  return MarkFolderName(name, HasError.load(), IsNew.load());
}

std::string TFolderData::TreeText() { return FormatFolderValue(ViewSettings().ShowType, true) + GetFolderName(); }

std::string TFolderData::LastAccessText() const { return FileTimeToText(Counts.lastAccess.load()); }
std::string TFolderData::LastChangeText() const { return FileTimeToText(Counts.lastChange.load()); }

void TFolderData::RefreshIcons() {
  if (Node == nullptr) return;
  IconsFetched = true;
  if (IsFilesNode) {
    Node->SetImageIndex(FilesIcon());
    Node->SetSelectedIndex(FilesIcon());
    return;
  }
  if (PlainFolder) {
    SetPlainFolderIcons(Node);
    return;
  }
  constexpr UINT kSmallIcon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
  SHFILEINFOW info = {};
  if (LPCITEMIDLIST list = IdList()) {
    const auto item = reinterpret_cast<LPCWSTR>(list);
    if (SHGetFileInfoW(item, 0, &info, sizeof info, SHGFI_PIDL | kSmallIcon)) Node->SetImageIndex(info.iIcon);
    if (SHGetFileInfoW(item, 0, &info, sizeof info, SHGFI_PIDL | kSmallIcon | SHGFI_OPENICON))
      Node->SetSelectedIndex(info.iIcon);
  } else if (!FileName.empty()) {
    // A folder the shell cannot reach shows the plain folder icons.
    SetPlainFolderIcons(Node);
  }
}

void SetPlainFolderIcons(classlib::TTreeNode* node) {
  // The system's plain folder, closed and open; asked once.
  static const std::pair<int, int> icons = [] {
    constexpr UINT kByAttributes = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    SHFILEINFOW info = {};
    std::pair<int, int> found{-1, -1};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, kByAttributes)) found.first = info.iIcon;
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, kByAttributes | SHGFI_OPENICON))
      found.second = info.iIcon;
    return found;
  }();
  if (node == nullptr) return;
  if (icons.first >= 0) node->SetImageIndex(icons.first);
  if (icons.second >= 0) node->SetSelectedIndex(icons.second);
}

TFolderData* TFolderData::Parent() const { return Node != nullptr ? NodeData(Node->Parent()) : nullptr; }

bool TFolderData::MakeIdLists() {
  if (AbsoluteList) return true;
  TFolderData* parent = Parent();
  if (FileName.empty() || parent == nullptr) return false;
  IShellFolder* parentFolder = parent->Folder();
  if (parentFolder == nullptr) return false;
  TIdList relative = PathToPIDL(parentFolder, FileName);
  if (!relative) return false;
  AbsoluteList = ConcatPIDLs(parent->IdList(), relative.get());
  RelativeList = std::move(relative);
  return AbsoluteList != nullptr;
}

IShellFolder* TFolderData::Folder() {
  if (IsFilesNode) {
    TFolderData* parent = Parent();
    return parent != nullptr ? parent->Folder() : ShellFolder.Get();
  }
  if (!ShellFolder && MakeIdLists()) {
    TFolderData* parent = Parent();
    IShellFolder* parentFolder = parent != nullptr ? parent->Folder() : nullptr;
    if (parentFolder == nullptr ||
        FAILED(parentFolder->BindToObject(RelativeList.get(), nullptr, IID_IShellFolder, ShellFolder.PutVoid())))
      ShellFolder.Reset();
  }
  return ShellFolder.Get();
}

LPCITEMIDLIST TFolderData::IdList() {
  if (IsFilesNode) {
    TFolderData* parent = Parent();
    return parent != nullptr ? parent->IdList() : AbsoluteList.get();
  }
  MakeIdLists();
  return AbsoluteList.get();
}

LPCITEMIDLIST TFolderData::RelativeIdList() {
  if (IsFilesNode) return nullptr;
  MakeIdLists();
  return RelativeList.get();
}

std::wstring TFolderData::FileSystemPath() {
  TFolderData* parent = Parent();
  if (IsFilesNode) return parent != nullptr ? parent->FileSystemPath() : std::wstring();
  if (!FileName.empty()) {
    const std::wstring parentPath = parent != nullptr ? parent->FileSystemPath() : std::wstring();
    return parentPath.empty() ? parentPath : JoinPath(parentPath, FileName);
  }
  if (idListPathOf_ != AbsoluteList.get()) {
    idListPath_ = IdListWidePath(AbsoluteList.get());
    idListPathOf_ = AbsoluteList.get();
  }
  return idListPath_;
}

void TFolderData::ClearNameCache() {
  NameCache.clear();
  ChildIconsSet = false;
}

void AttachNodeData(classlib::TTreeNode* node, TFolderData* data) {
  ReleaseNodeData(node);
  node->Data = data;
  if (data != nullptr) data->Node = node;
}

void ReleaseNodeData(classlib::TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr) return;
  node->Data = nullptr;
  data->Node = nullptr;
  data->Release();
}

std::wstring JoinPath(const std::wstring& path, const std::wstring& name) {
  if (path.empty() || path.back() == L'\\') return path + name;
  return path + L'\\' + name;
}

int FilesIcon() {
  static const int icon = [] {
    SHFILEINFOA info = {};
    // Any name of a plain file will do; it need not exist.
    if (!SHGetFileInfoA("c:\\t.sxdfde", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
      return 0;
    return info.iIcon;
  }();
  return icon;
}

}  // namespace foldwick
