// Folder data: values, names, icons and the node's reference.
#include "analyser/app/win/FolderData.h"

#include <shellapi.h>

#include "analyser/app/ViewSettings.h"
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
  TFolderData* parent = Node != nullptr ? NodeData(Node->Parent()) : nullptr;
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
  TFolderData* parent = Node != nullptr ? NodeData(Node->Parent()) : nullptr;
  bool ok = parent != nullptr
                ? StrRetToText(parent->ShellFolder.Get(), RelativeList.get(), SHGDN_NORMAL, name)
                : StrRetToText(DesktopFolder(), AbsoluteList.get(), SHGDN_NORMAL, name);
  if (!ok || name.empty()) return MarkFolderName("Error: Cannot get name!", HasError.load(), IsNew.load());
  NameCache = name;
  return MarkFolderName(name, HasError.load(), IsNew.load());
}

std::string TFolderData::TreeText() { return FormatFolderValue(ViewSettings().ShowType, true) + GetFolderName(); }

std::string TFolderData::LastAccessText() const { return FileTimeToText(Counts.lastAccess.load()); }
std::string TFolderData::LastChangeText() const { return FileTimeToText(Counts.lastChange.load()); }

void TFolderData::RefreshIcons() {
  if (Node == nullptr) return;
  if (IsFilesNode) {
    Node->SetImageIndex(FilesIcon());
    Node->SetSelectedIndex(FilesIcon());
    return;
  }
  if (!AbsoluteList) return;
  SHFILEINFOA info = {};
  const auto list = reinterpret_cast<LPCSTR>(AbsoluteList.get());
  if (SHGetFileInfoA(list, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    Node->SetImageIndex(info.iIcon);
  if (SHGetFileInfoA(list, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON))
    Node->SetSelectedIndex(info.iIcon);
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
