// The scan worker, its synchronised steps and the engine that runs scans.
#include "analyser/app/win/Scan.h"

#include <shellapi.h>

#include <algorithm>

#include "analyser/app/ScanRules.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/DriveInfo.h"
#include "analyser/app/win/ScanTree.h"
#include "analyser/app/win/ShellText.h"
#include "analyser/components/win/MRUList.h"
#include "classlib/win/Application.h"

namespace foldwick {

using classlib::TComPtr;
using classlib::TTreeNode;

namespace {
// Enumeration of subfolders: folders and hidden items.
constexpr SHCONTF kFolderEnum = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
// Deeper than any path can go; stops a namespace that loops into itself.
constexpr int kMaxDepth = 256;

std::string WithoutTrailingSlash(std::string path) {
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

TDirEntry EntryOf(const WIN32_FIND_DATAA& found) {
  TDirEntry entry;
  entry.name = found.cFileName;
  entry.attributes = found.dwFileAttributes;
  entry.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  entry.lastAccess = ToFileTime(found.ftLastAccessTime);
  entry.lastWrite = ToFileTime(found.ftLastWriteTime);
  return entry;
}

// Calls `visit` for each entry matching `path\pattern` until it returns false.
template <class Visit>
void FindEntries(const std::string& path, const std::string& pattern, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\" + pattern).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!visit(EntryOf(found))) break;
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

int SmallIcon(LPCITEMIDLIST list, bool open) {
  SHFILEINFOA info = {};
  UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
  return SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags) ? info.iIcon : -1;
}
}  // namespace

TScan::TScan(TScanEngine& engine, IShellFolder* folder, TTreeNode* node, std::shared_ptr<TScanRoot> root)
    : classlib::TThread(true),
      engine_(&engine),
      folder_(TComPtr<IShellFolder>::Borrow(folder)),
      data_(TFolderRef::Borrow(NodeData(node))),
      root_(std::move(root)),
      patterns_(ViewSettings().FilterPatterns),
      showFiles_(ViewSettings().ShowFiles),
      clusterSize_(std::max<std::int64_t>(root_->clusterSize, 1)),
      enumOwner_(engine.EnumOwner),
      baseLevel_(node != nullptr ? node->Level() : 0) {
  if (patterns_.empty()) patterns_.emplace_back("*");
  FreeOnTerminate = true;
  OnTerminate = [this](classlib::TObject*) {
    if (root_->runningScan == this) root_->runningScan = nullptr;
    if (!orphaned_) engine_->ScanFinished(*this);
  };
  if (data_) {
    oldTotals_ = data_->Counts.Totals();
    data_->Counts.SetTotals({});
  }
}

void TScan::Execute() {
  if (!data_ || !folder_) return;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // A root never shows the error mark, so the result is not kept.
  ScanShellFolder(folder_.Get(), *data_, WithoutTrailingSlash(IdListPath(data_->AbsoluteList.get())), baseLevel_);
  CoUninitialize();
}

bool TScan::ScanShellFolder(IShellFolder* folder, TFolderData& data, const std::string& path, int level) {
  if (Terminated()) return false;
  TFolderCounts& counts = data.Counts;
  TFileTime newestAccess = 0, newestChange = 0;
  TFolderTotals own;
  if (!path.empty()) {
    if (IsRecycleFolderPath(path)) {
      // Counted from its entries alone: no child nodes, and the folder itself
      // adds neither a cluster nor an object.
      TFolderTotals totals{-1, 0, -1, 0};
      CountPlain(path, totals, newestAccess, newestChange, 0);
      counts.AddTotals(totals);
      if (!Terminated()) {
        counts.SetOwn({0, 0, 0, 0});
        counts.RaiseTimes(newestAccess, newestChange);
      }
      FinishFolder(data, nullptr, false, level);
      return false;
    }
    TFileCounter counter(clusterSize_, false);
    for (const std::string& pattern : patterns_)
      FindEntries(path, pattern, [&](const TDirEntry& entry) {
        counter.AddFile(entry);
        return !Terminated();
      });
    own = counter.Totals();
    newestAccess = counter.NewestAccess();
    newestChange = counter.NewestChange();
    counts.AddTotals(own);
  }
  counts.AddTotals({1, 0, 1, 0});  // the folder itself

  // The last child scanned: its text is refreshed with the next synchronised
  // step, so that each folder costs the main thread as few calls as possible.
  TFolderRef scanned;
  if (!Terminated()) {
    TComPtr<IEnumIDList> items;
    if (folder->EnumObjects(enumOwner_, kFolderEnum, items.Put()) != S_OK || !items) {
      FinishFolder(data, nullptr, false, level);
      return true;
    }
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (!Terminated() && items->Next(1, &item, &fetched) == S_OK && item != nullptr) {
      TIdList relative(item);
      SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
      LPCITEMIDLIST single = relative.get();
      // Not a folder: passed over, the enumeration goes on.
      if (FAILED(folder->GetAttributesOf(1, &single, &attributes)) || !(attributes & SFGAO_FOLDER)) continue;
      TIdList absolute = ConcatPIDLs(data.AbsoluteList.get(), relative.get());
      // Links and junctions lead to folders counted elsewhere, or in a loop.
      const std::string childPath = WithoutTrailingSlash(IdListPath(absolute.get()));
      if (!childPath.empty()) {
        DWORD fileAttributes = GetFileAttributesA(childPath.c_str());
        if (fileAttributes != INVALID_FILE_ATTRIBUTES && (fileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
      }
      TComPtr<IShellFolder> childFolder;
      if (FAILED(folder->BindToObject(relative.get(), nullptr, IID_IShellFolder, childFolder.PutVoid()))) childFolder.Reset();
      TFolderRef child = AddChild(data, std::move(absolute), std::move(relative), childFolder, scanned.Get());
      scanned.Reset();
      if (!child) break;  // this folder's node is gone
      if (childFolder && level - baseLevel_ < kMaxDepth)
        child->HasError = ScanShellFolder(childFolder.Get(), *child, childPath, level + 1);
      counts.AddTotals(child->Counts.Totals());
      const TFileTime childAccess = child->Counts.lastAccess.load(), childChange = child->Counts.lastChange.load();
      if (IsNewerTime(childAccess, newestAccess)) newestAccess = childAccess;
      if (IsNewerTime(childChange, newestChange)) newestChange = childChange;
      child->IsNew = false;
      scanned = child;
    }
  }

  bool addFiles = false;
  if (!Terminated()) {
    counts.RaiseTimes(newestAccess, newestChange);
    counts.SetOwn(own);
    addFiles = showFiles_ && own.objects > 0;
  }
  FinishFolder(data, scanned.Get(), addFiles, level);
  return false;
}

void TScan::CountPlain(const std::string& path, TFolderTotals& totals, TFileTime& access, TFileTime& change, int depth) {
  totals.clusters += 1;
  totals.objects += 1;
  TFileCounter counter(clusterSize_, true);
  for (const std::string& pattern : patterns_) {
    FindEntries(path, pattern, [&](const TDirEntry& entry) {
      if (Terminated()) return false;
      switch (ClassifyEntry(entry)) {
        case TEntryKind::kFile: counter.AddFile(entry); break;
        case TEntryKind::kFolder:
          if (counter.FirstSighting(entry.name) && depth < kMaxDepth)
            CountPlain(path + "\\" + entry.name, totals, access, change, depth + 1);
          break;
        case TEntryKind::kSkip: break;
      }
      return true;
    });
  }
  totals += counter.Totals();
  if (IsNewerTime(counter.NewestAccess(), access)) access = counter.NewestAccess();
  if (IsNewerTime(counter.NewestChange(), change)) change = counter.NewestChange();
}

void TScan::RefreshIfVisible(TFolderData* data) {
  if (data != nullptr && data->Node != nullptr && data->Node->IsVisible()) RefreshNode(data->Node);
}

TFolderRef TScan::AddChild(TFolderData& parent, TIdList absolute, TIdList relative, TComPtr<IShellFolder> folder,
                           TFolderData* scannedSibling) {
  TFolderRef child;
  Synchronize([&] {
    if (orphaned_) return;
    RefreshIfVisible(scannedSibling);
    if (parent.Node == nullptr) return;
    TTreeNode* node = engine_->Tree().AddChild(parent.Node, "");
    if (node == nullptr) return;
    auto* data = new TFolderData(node, root_);
    data->AbsoluteList = std::move(absolute);
    data->RelativeList = std::move(relative);
    data->ShellFolder = folder;
    AttachNodeData(node, data);
    child = TFolderRef::Borrow(data);
    RefreshIfVisible(data);
  });
  return child;
}

void TScan::FinishFolder(TFolderData& data, TFolderData* scannedChild, bool addFiles, int level) {
  // A top-level folder of the root takes the progress step.
  const bool progress = level == 1;
  if (scannedChild == nullptr && !addFiles && !progress) return;
  Synchronize([&] {
    if (orphaned_) return;
    RefreshIfVisible(scannedChild);
    if (data.Node == nullptr) return;
    if (addFiles && data.Node->HasChildren()) {
      TTreeNode* files = AddFilesNode(data.Node);
      if (files != nullptr && files->IsVisible()) RefreshNode(files);
    }
    TTreeNode* rootNode = root_->rootNode;
    if (!progress || rootNode == nullptr) return;
    if (rootNode->Count() == 1 && engine_->Roots().size() == 1) rootNode->Expand(false);
    SortChildren(rootNode);
    root_->progress += 1;
    rootNode->SetStateIndex(ProgressImage(root_->progress, root_->topLevelFolders));
  });
}

TScanEngine::TScanEngine(classlib::TTreeView& tree) : tree_(tree) {
  tree_.OnDeletion = [](classlib::TObject*, TTreeNode* node) { ReleaseNodeData(node); };
}

TScanEngine::~TScanEngine() {
  StopAllScans();
  for (auto& root : roots_) root->removed = true;
}

bool TScanEngine::AnyScanRunning() const {
  return std::any_of(roots_.begin(), roots_.end(), [](const auto& r) { return r->runningScan != nullptr; });
}

TScanRoot* TScanEngine::RootOfNode(TTreeNode* node) const {
  TFolderData* data = NodeData(node);
  return data != nullptr ? data->ScanRoot.get() : nullptr;
}

void TScanEngine::WaitForScans(const std::vector<TScanRoot*>& roots) {
  for (TScanRoot* root : roots)
    if (root->runningScan != nullptr) root->runningScan->Terminate();
  auto stopped = [&] {
    return std::all_of(roots.begin(), roots.end(), [](TScanRoot* r) { return r->runningScan == nullptr; });
  };
  if (classlib::ProcessMessagesUntil(stopped, StopWaitMs)) return;
  // Given up: the worker goes on counting into objects that are no longer
  // shown, and its synchronised steps and its end do nothing.
  for (TScanRoot* root : roots) {
    if (TScan* scan = root->runningScan) {
      scan->orphaned_ = true;
      root->runningScan = nullptr;
      if (root->rootNode != nullptr) {
        auto* fresh = new TFolderData(root->rootNode, NodeData(root->rootNode)->ScanRoot);
        TFolderData* old = NodeData(root->rootNode);
        fresh->AbsoluteList = CopyIdList(old->AbsoluteList.get());
        fresh->ShellFolder = old->ShellFolder;
        fresh->NameCache = old->NameCache;
        AttachNodeData(root->rootNode, fresh);
      }
    }
  }
}

void TScanEngine::StopScan(TScanRoot& root) {
  if (root.runningScan != nullptr) WaitForScans({&root});
}

void TScanEngine::StopAllScans() {
  std::vector<TScanRoot*> running;
  for (auto& root : roots_)
    if (root->runningScan != nullptr) running.push_back(root.get());
  if (!running.empty()) WaitForScans(running);
}

void TScanEngine::RemoveRoot(TScanRoot& root) {
  std::shared_ptr<TScanRoot> keep;
  for (auto& r : roots_)
    if (r.get() == &root) keep = r;
  if (!keep || root.removed) return;
  StopScan(root);
  root.removed = true;
  roots_.remove(keep);
  if (TTreeNode* node = std::exchange(root.rootNode, nullptr)) DeleteNode(node, false);
}

void TScanEngine::ScanAllDrives() {
  char drives[MAX_PATH] = "";
  DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
  if (length == 0 || length > sizeof drives) return;
  for (const char* drive = drives; *drive != '\0'; drive += strlen(drive) + 1)
    if (TIdList list = PathToPIDL(nullptr, drive)) ScanPath(list.get());
}

void TScanEngine::CountRootChildren(TScanRoot& root, IShellFolder* folder) {
  root.topLevelFolders = 0;
  TComPtr<IEnumIDList> items;
  if (folder->EnumObjects(EnumOwner, kFolderEnum, items.Put()) == S_OK && items) {
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && item != nullptr) {
      CoTaskMemFree(item);
      ++root.topLevelFolders;
    }
  }
  root.progress = 0;
  if (root.rootNode != nullptr) root.rootNode->SetStateIndex(1);
}

void TScanEngine::ScanPath(LPCITEMIDLIST list) {
  IShellFolder* desktop = DesktopFolder();
  if (list == nullptr || desktop == nullptr) return;
  TComPtr<IShellFolder> folder;
  if (list->mkid.cb == 0 || SameIdList(list, DesktopIdList())) {
    folder = TComPtr<IShellFolder>::Borrow(desktop);
  } else if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.PutVoid())) || !folder) {
    return;
  }
  LPITEMIDLIST drives = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) {
    TIdList drivesList(drives);
    if (SameIdList(list, drivesList.get())) {
      ScanAllDrives();
      return;
    }
  }

  std::shared_ptr<TScanRoot> root;
  for (auto& r : roots_) {
    TFolderData* data = NodeData(r->rootNode);
    if (data != nullptr && SameIdList(data->AbsoluteList.get(), list)) root = r;
  }
  if (root) {
    // A second request while this one waits for the old scan adds nothing.
    if (root->restarting) return;
    root->restarting = true;
    StopScan(*root);
    root->restarting = false;
    if (root->removed || root->rootNode == nullptr) return;
    tree_.SetSelected(root->rootNode);
    if (OnClearDetails) OnClearDetails(nullptr);
    root->rootNode->DeleteChildren();
  } else {
    root = std::make_shared<TScanRoot>();
    roots_.push_front(root);
    root->rootNode = tree_.AddChild(nullptr, "");
    if (root->rootNode == nullptr) {
      roots_.pop_front();
      return;
    }
  }
  TTreeNode* node = root->rootNode;
  node->SetImageIndex(SmallIcon(list, false));
  node->SetSelectedIndex(SmallIcon(list, true));
  if (NodeData(node) == nullptr) AttachNodeData(node, new TFolderData(node, root));
  if (ViewSettings().BoldFactor < 100) node->SetBold(true);
  TFolderData& data = *NodeData(node);
  data.AbsoluteList = CopyIdList(list);
  data.RelativeList.reset();
  data.ShellFolder = folder;
  data.Counts.ownFiles = -1;
  data.ChildIconsSet = false;

  ReadDriveInfo(*root, list);
  data.NameCache = root->displayPath;
  node->SetText(root->displayPath);
  if (OnCaptionChange) OnCaptionChange(nullptr);
  root->path = WithoutTrailingSlash(root->path);
  tree_.SetSelected(node);
  SHFILEINFOA info = {};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
  root->caption = std::string(info.szDisplayName) + " on [" + root->volume + "]";

  CountRootChildren(*root, folder.Get());
  auto* scan = new TScan(*this, folder.Get(), node, root);
  root->runningScan = scan;
  scan->Start();
  if (root->isFileSystemRoot && RecentFiles != nullptr) RecentFiles->AddItem(root->displayPath);
}

bool TScanEngine::RescanBranch(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr || data->IsFilesNode || !data->ScanRoot) return false;
  if (node->Parent() == nullptr) {
    if (data->AbsoluteList == nullptr) return false;
    TIdList list = CopyIdList(data->AbsoluteList.get());
    ScanPath(list.get());
    return true;
  }
  std::shared_ptr<TScanRoot> root = data->ScanRoot;
  if (root->runningScan != nullptr || root->removed || !data->ShellFolder) return false;
  node->DeleteChildren();
  data->ClearNameCache();
  auto* scan = new TScan(*this, data->ShellFolder.Get(), node, root);
  root->runningScan = scan;
  scan->Start();
  return true;
}

void TScanEngine::ScanFinished(TScan& scan) {
  if (scan.Terminated()) return;
  TScanRoot& root = *scan.root_;
  TTreeNode* node = scan.Node();
  if (node == nullptr || root.removed) return;
  SetNodeText(node);
  if (TTreeNode* parent = node->Parent()) AddToAncestors(parent, scan.data_->Counts.Totals() - scan.oldTotals_);
  TTreeNode* rootNode = root.rootNode;
  if (rootNode != nullptr) {
    rootNode->SetStateIndex(0);
    const TViewSettings& settings = ViewSettings();
    if (settings.ExpandLevel < 2) rootNode->Expand(false);
    else ExpandToLevel(rootNode, settings.ExpandLevel, 0);
    // Percent values were blank while the scan ran.
    if (settings.ShowType == kViewPercent) RefreshTexts(rootNode);
  }
  if (OnStatusUpdate) OnStatusUpdate(nullptr);
  if (scan.PendingAction != kActionNone && OnPendingAction) {
    tree_.SetSelected(node);
    root.runningScan = &scan;
    OnPendingAction(scan);
    root.runningScan = nullptr;
  }
}

}  // namespace foldwick
