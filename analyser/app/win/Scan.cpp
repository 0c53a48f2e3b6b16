// The scan worker, its synchronised steps and the engine that runs scans.
#include "analyser/app/win/Scan.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "analyser/app/ScanRules.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/DriveInfo.h"
#include "analyser/app/win/FileListing.h"
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
// How stale the worker lets its knowledge of which folders are shown grow.
constexpr DWORD kShownRecheckMs = 250;
// How often a scan sorts the root's children again while it runs.
constexpr DWORD kRootSortMs = 500;

std::string WithoutTrailingSlash(std::string path) {
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

// The entry as the counting rules take it; without its name where the
// counter needs none (one listing has no name twice).
TDirEntry EntryOf(const WIN32_FIND_DATAW& found, bool withName = true) {
  TDirEntry entry;
  if (withName) entry.name = Utf8FromWide(found.cFileName);
  entry.attributes = found.dwFileAttributes;
  entry.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  entry.lastAccess = ToFileTime(found.ftLastAccessTime);
  entry.lastWrite = ToFileTime(found.ftLastWriteTime);
  return entry;
}

// Whether the shell shows hidden system folders: only when the user has it.
bool ShowSuperHidden() {
  SHELLSTATE shell = {};
  SHGetSetSettings(&shell, SSF_SHOWSUPERHIDDEN, FALSE);
  return shell.fShowSuperHidden != 0;
}

// A listed directory that is a subfolder to scan: not "." or "..", not a
// link or junction (they lead to folders counted elsewhere, or in a loop),
// and a hidden system folder only where the shell would show it.
bool IsListedSubfolder(const WIN32_FIND_DATAW& found, bool showSuperHidden) {
  const DWORD attributes = found.dwFileAttributes;
  constexpr DWORD kSuperHidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  if (!showSuperHidden && (attributes & kSuperHidden) == kSuperHidden) return false;
  return std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0;
}

int SmallIcon(LPCITEMIDLIST list, bool open) {
  SHFILEINFOA info = {};
  UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
  return SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags) ? info.iIcon : -1;
}

bool IsDesktop(LPCITEMIDLIST list) { return list != nullptr && (list->mkid.cb == 0 || SameIdList(list, DesktopIdList())); }

// How a folder is read: its file-system path (empty without one), and whether
// its subfolders come from the same directory listing as its files. The
// desktop and folders without a path are walked through the shell. Main thread.
struct TRoute {
  std::wstring path;
  bool listing = false;
};
TRoute RouteOf(TFolderData& data) {
  TRoute route;
  route.path = data.FileSystemPath();
  route.listing = !route.path.empty() && !IsDesktop(data.AbsoluteList.get());
  return route;
}

// The folder at `path` is no longer there (an empty path is never gone: the
// folder has none to look at).
bool FolderGone(const std::wstring& path) {
  if (path.empty() || GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsRecycleFolder(const std::wstring& path) { return IsRecycleFolderPath(AnsiFromWide(path.c_str())); }

void RaiseTimes(TFileTime& access, TFileTime& change, const TFolderCounts& counts) {
  const TFileTime childAccess = counts.lastAccess.load(), childChange = counts.lastChange.load();
  if (IsNewerTime(childAccess, access)) access = childAccess;
  if (IsNewerTime(childChange, change)) change = childChange;
}
}  // namespace

// A subfolder found by the worker, before its node exists.
struct TScan::TChildFolder {
  std::wstring name;  // from a directory listing
  std::wstring path;  // its file-system path; empty outside the file system
  bool plain = false; // listed without the read-only and system attributes
  // Only for folders found through the shell:
  TIdList absolute;
  TIdList relative;
  TComPtr<IShellFolder> folder;
};

TScan::TScan(TScanEngine& engine, TTreeNode* node, std::shared_ptr<TScanRoot> root)
    : classlib::TThread(true),
      engine_(&engine),
      data_(TFolderRef::Borrow(NodeData(node))),
      root_(std::move(root)),
      showFiles_(ViewSettings().ShowFiles),
      clusterSize_(std::max<std::int64_t>(root_->clusterSize, 1)),
      enumOwner_(engine.EnumOwner),
      baseLevel_(node != nullptr ? node->Level() : 0) {
  for (const std::string& pattern : ViewSettings().FilterPatterns) patterns_.push_back(WideFromAnsi(pattern));
  if (patterns_.empty()) patterns_.emplace_back(L"*");
  everyFile_ = std::any_of(patterns_.begin(), patterns_.end(), [](const std::wstring& p) { return p == L"*" || p == L"*.*"; });
  showSuperHidden_ = ShowSuperHidden();
  FreeOnTerminate = true;
  OnTerminate = [this](classlib::TObject*) {
    if (root_->runningScan == this) root_->runningScan = nullptr;
    if (!orphaned_) engine_->ScanFinished(*this);
  };
  if (data_) {
    const TRoute route = RouteOf(*data_);
    path_ = route.path;
    if (!route.listing) folder_ = TComPtr<IShellFolder>::Borrow(data_->Folder());
    oldTotals_ = data_->Counts.Totals();
    data_->Counts.SetTotals({});
  }
}

void TScan::Execute() {
  if (!data_ || (path_.empty() && !folder_)) return;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  lastStep_ = GetTickCount();
  // A root never shows the error mark; the scan's result keeps it. A branch
  // shows it as its parent's scan would have set it.
  const bool failed = ScanFolder(*data_, folder_.Get(), path_, baseLevel_);
  if (failed) errors_ = true;
  if (baseLevel_ > 0 && !Terminated()) data_->HasError = failed;
  if (unshownProgress_ > 0 && !Terminated())
    ProgressStep();
  else if (!pendingFiles_.empty() || !pendingTexts_.empty())
    SynchronizeStep([] {});
  CoUninitialize();
}

bool TScan::ScanFolder(TFolderData& data, IShellFolder* shellFolder, const std::wstring& path, int level) {
  if (Terminated()) return false;
  frames_.push_back({&data, false});
  struct TPop {
    std::vector<TFrame>& frames;
    ~TPop() { frames.pop_back(); }
  } pop{frames_};
  TFolderCounts& counts = data.Counts;

  if (!path.empty() && IsRecycleFolder(path)) {
    // Counted from its entries alone: no child nodes, and the folder itself
    // adds neither a cluster nor an object.
    TFileTime access = 0, change = 0;
    TFolderTotals totals{-1, 0, -1, 0};
    CountPlain(path, totals, access, change, 0);
    counts.AddTotals(totals);
    if (!Terminated()) {
      counts.SetOwn({0, 0, 0, 0});
      counts.RaiseTimes(access, change);
    }
    FinishFolder(data, false, level);
    return false;
  }

  // The files, and for a file-system folder its subfolders from the same
  // listing; further listings only for patterns that do not take every file.
  const bool listing = shellFolder == nullptr;
  const bool oneListing = listing && everyFile_;
  TFileCounter counter(clusterSize_, false, oneListing);
  std::vector<TChildFolder> children;
  bool readable = true;
  if (!path.empty()) {
    auto countFile = [&](const WIN32_FIND_DATAW& found) {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) counter.AddFile(EntryOf(found, !oneListing));
      return !Terminated();
    };
    if (listing) {
      readable = ListFolder(path, L"*", [&](const WIN32_FIND_DATAW& found) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (IsListedSubfolder(found, showSuperHidden_))
            children.push_back({found.cFileName, JoinPath(path, found.cFileName),
                                (found.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) == 0,
                                {}, {}, {}});
          return !Terminated();
        }
        return !everyFile_ || countFile(found);
      });
    }
    if (!listing || !everyFile_)
      for (const std::wstring& pattern : patterns_) ListFolder(path, pattern, countFile);
  }
  const TFolderTotals own = counter.Totals();
  TFileTime newestAccess = counter.NewestAccess(), newestChange = counter.NewestChange();
  counts.AddTotals(own);
  counts.AddTotals({1, 0, 1, 0});  // the folder itself

  if (!Terminated() && shellFolder != nullptr) readable = EnumerateShellChildren(shellFolder, data, children);
  if (!readable) {
    errors_ = true;
    FinishFolder(data, false, level);
    return true;
  }

  if (!Terminated() && !children.empty()) {
    std::vector<TFolderRef> nodes = AddChildren(data, children);
    for (size_t i = 0; i < nodes.size() && !Terminated(); ++i) {
      TFolderData& child = *nodes[i];
      if (level + 1 - baseLevel_ > kMaxDepth) {
        // Left uncounted below here: say so rather than show a short total.
        child.HasError = true;
        errors_ = true;
      } else if (!children[i].path.empty()) {
        child.HasError = ScanFolder(child, nullptr, children[i].path, level + 1);
      } else if (children[i].folder) {
        child.HasError = ScanFolder(child, children[i].folder.Get(), {}, level + 1);
      }
      counts.AddTotals(child.Counts.Totals());
      RaiseTimes(newestAccess, newestChange, child.Counts);
      child.IsNew = false;
      ChildDone(child);
    }
  }

  bool addFiles = false;
  if (!Terminated()) {
    counts.RaiseTimes(newestAccess, newestChange);
    counts.SetOwn(own);
    addFiles = showFiles_ && own.objects > 0 && !children.empty();
  }
  FinishFolder(data, addFiles, level);
  return false;
}

bool TScan::EnumerateShellChildren(IShellFolder* folder, TFolderData& data, std::vector<TChildFolder>& children) {
  TComPtr<IEnumIDList> items;
  if (folder->EnumObjects(enumOwner_, kFolderEnum, items.Put()) != S_OK || !items) return false;
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  while (!Terminated() && items->Next(1, &item, &fetched) == S_OK && item != nullptr) {
    TIdList relative(item);
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    LPCITEMIDLIST single = relative.get();
    // Not a folder: passed over, the enumeration goes on.
    if (FAILED(folder->GetAttributesOf(1, &single, &attributes)) || !(attributes & SFGAO_FOLDER)) continue;
    TChildFolder child;
    child.absolute = ConcatPIDLs(data.AbsoluteList.get(), relative.get());
    child.path = IdListWidePath(child.absolute.get());
    if (!child.path.empty()) {
      // Links and junctions lead to folders counted elsewhere, or in a loop.
      DWORD fileAttributes = GetFileAttributesW(LongPath(child.path).c_str());
      if (fileAttributes != INVALID_FILE_ATTRIBUTES && (fileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    } else if (FAILED(folder->BindToObject(relative.get(), nullptr, IID_IShellFolder, child.folder.PutVoid()))) {
      // Without a path and a folder it gets its node, with no counts below it.
      child.folder.Reset();
    }
    child.relative = std::move(relative);
    children.push_back(std::move(child));
  }
  return true;
}

void TScan::CountPlain(const std::wstring& path, TFolderTotals& totals, TFileTime& access, TFileTime& change, int depth) {
  totals.clusters += 1;
  totals.objects += 1;
  TFileCounter counter(clusterSize_, true);
  for (const std::wstring& pattern : patterns_) {
    ListFolder(path, pattern, [&](const WIN32_FIND_DATAW& found) {
      if (Terminated()) return false;
      const TDirEntry entry = EntryOf(found);
      switch (ClassifyEntry(entry)) {
        case TEntryKind::kFile: counter.AddFile(entry); break;
        case TEntryKind::kFolder:
          if (counter.FirstSighting(entry.name) && depth < kMaxDepth)
            CountPlain(JoinPath(path, found.cFileName), totals, access, change, depth + 1);
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

void TScan::SynchronizeStep(const std::function<void()>& step) {
  auto readShown = [this] {
    for (TFrame& frame : frames_) {
      TTreeNode* node = frame.data->Node;
      frame.childrenShown = node != nullptr && node->Expanded() && node->IsVisible();
    }
  };
  Synchronize([&] {
    if (orphaned_) return;
    readShown();
    for (const TFolderRef& data : pendingFiles_) {
      if (data->Node == nullptr || !data->Node->HasChildren()) continue;
      TTreeNode* files = AddFilesNode(data->Node);
      if (files != nullptr && files->IsVisible()) RefreshNode(files);
    }
    {
      // Every finished folder gets its final text, shown or not: nothing
      // refreshes a folder's text once its scan is over.
      classlib::TTreeUpdate update(engine_->Tree(), pendingTexts_.size() > 1);
      for (const TFolderRef& data : pendingTexts_)
        if (data->Node != nullptr) SetNodeText(data->Node);
    }
    step();
    readShown();  // the step may have expanded a node
    if (engine_->OnScanStep) engine_->OnScanStep(*this);
  });
  pendingFiles_.clear();
  pendingTexts_.clear();
  lastStep_ = GetTickCount();
}

std::vector<TFolderRef> TScan::AddChildren(TFolderData& parent, std::vector<TChildFolder>& children) {
  // A folder of tens of thousands of subfolders gets its nodes a few
  // thousand at a time, the window going on in between.
  constexpr size_t kNodesPerStep = 2000;
  std::vector<TFolderRef> nodes;
  nodes.reserve(children.size());
  bool gone = false;
  for (size_t from = 0; from < children.size() && !gone && !Terminated(); from += kNodesPerStep) SynchronizeStep([&] {
    if (parent.Node == nullptr) {  // this folder's node is gone
      gone = true;
      return;
    }
    const bool shown = frames_.back().childrenShown;
    // Shown children are drawn once, when all of the step are in; their own
    // icons are fetched as the first scan fetches them, when their parent is
    // opened or selected, and show the plain folder meanwhile.
    classlib::TTreeUpdate update(engine_->Tree(), shown);
    if (shown) parent.ChildIconsSet = false;
    for (size_t i = from; i < std::min(children.size(), from + kNodesPerStep); ++i) {
      TChildFolder& child = children[i];
      TTreeNode* node = engine_->Tree().AddChild(parent.Node, "");
      if (node == nullptr) {
        gone = true;
        break;
      }
      auto* data = new TFolderData(node, root_);
      data->FileName = child.absolute ? std::wstring() : child.name;
      data->PlainFolder = child.plain;
      data->AbsoluteList = std::move(child.absolute);
      data->RelativeList = std::move(child.relative);
      data->ShellFolder = child.folder;
      AttachNodeData(node, data);
      nodes.push_back(TFolderRef::Borrow(data));
      if (shown) {
        SetNodeText(node);
        SetPlainFolderIcons(node);
      }
    }
  });
  return nodes;
}

void TScan::ChildDone(TFolderData& child) {
  // The child's final text waits for the next step; steps come at most this
  // often, so that a branch whose folders are all shown costs the main
  // thread no more than one that is collapsed.
  pendingTexts_.push_back(TFolderRef::Borrow(&child));
  if (GetTickCount() - lastStep_ < kShownRecheckMs) return;
  SynchronizeStep([] {});
}

void TScan::FinishFolder(TFolderData& data, bool addFiles, int level) {
  // The "<Files>" node comes with the next synchronised step, so that a
  // folder costs the main thread one step at most.
  if (addFiles) pendingFiles_.push_back(TFolderRef::Borrow(&data));
  // A top-level folder of the root takes the progress step. The step is a
  // round trip to the main thread, which then repaints the root: a root of
  // thousands of folders would wait for a paint per folder. So it is taken
  // when it shows something: for the first folder (which may open the root),
  // when the progress image changes and when the root's children are due
  // for a sort; the folders between are counted here and go with the next.
  if (level != 1) return;
  ++unshownProgress_;
  if (progressShown_ >= 0 && GetTickCount() - lastRootSort_ < kRootSortMs) {
    const std::int64_t total = root_->topLevelFolders;
    if (ProgressImage(progressShown_ + unshownProgress_, total) == ProgressImage(progressShown_, total)) return;
  }
  ProgressStep();
}

void TScan::ProgressStep() {
  SynchronizeStep([&] {
    TTreeNode* rootNode = root_->rootNode;
    if (rootNode == nullptr) return;
    if (rootNode->Count() == 1 && engine_->Roots().size() == 1) rootNode->Expand(false);
    // The root's children take their places as they finish, every so often;
    // the scan's end sorts them once more.
    if (GetTickCount() - lastRootSort_ >= kRootSortMs) {
      SortChildren(rootNode);
      lastRootSort_ = GetTickCount();
    }
    root_->progress += unshownProgress_;
    progressShown_ = root_->progress;
    rootNode->SetStateIndex(ProgressImage(root_->progress, root_->topLevelFolders));
  });
  unshownProgress_ = 0;
}

TScanEngine::TScanEngine(classlib::TTreeView& tree) : tree_(tree) {
  tree_.OnDeletion = [](classlib::TObject*, TTreeNode* node) {
    // A root whose node goes by any way (the tree emptied with its window)
    // keeps no pointer to it.
    if (TFolderData* data = NodeData(node); data != nullptr && data->ScanRoot && data->ScanRoot->rootNode == node)
      data->ScanRoot->rootNode = nullptr;
    ReleaseNodeData(node);
  };
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

void TScanEngine::CountRootChildren(TScanRoot& root, TFolderData& data) {
  root.topLevelFolders = 0;
  const TRoute route = RouteOf(data);
  if (route.listing) {
    const bool showSuperHidden = ShowSuperHidden();
    ListFolder(route.path, L"*", [&](const WIN32_FIND_DATAW& found) {
      if (IsListedSubfolder(found, showSuperHidden)) ++root.topLevelFolders;
      return true;
    });
  } else if (IShellFolder* folder = data.Folder()) {
    TComPtr<IEnumIDList> items;
    if (folder->EnumObjects(EnumOwner, kFolderEnum, items.Put()) == S_OK && items) {
      LPITEMIDLIST item = nullptr;
      ULONG fetched = 0;
      while (items->Next(1, &item, &fetched) == S_OK && item != nullptr) {
        CoTaskMemFree(item);
        ++root.topLevelFolders;
      }
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
  TBranchView view;
  int pendingAction = kActionNone;
  std::string actionFile;
  for (auto& r : roots_) {
    TFolderData* data = NodeData(r->rootNode);
    if (data != nullptr && SameIdList(data->AbsoluteList.get(), list)) root = r;
  }
  if (root) {
    // A second request while this one waits for the old scan adds nothing.
    if (root->restarting) return;
    root->restarting = true;
    // A rescan that is still running builds its branch anew: the view the
    // user saw is the one it keeps, not that of its half-built branch.
    std::optional<TBranchView> shown;
    TFolderRef shownBranch;
    if (TScan* running = root->runningScan; running != nullptr && running->view_) {
      shown = running->view_;
      shownBranch = running->data_;
    }
    // The action waiting for the old scan's end (a command line's report or
    // export) waits for the new one's instead.
    if (root->runningScan != nullptr && root->runningScan->PendingAction != kActionNone) {
      pendingAction = root->runningScan->PendingAction;
      actionFile = root->runningScan->ActionFile;
    }
    StopScan(*root);
    auto gone = [&] {
      if (!root->removed && root->rootNode != nullptr) return false;
      root->restarting = false;
      return true;
    };
    if (gone()) return;
    TTreeNode* branch = shownBranch ? shownBranch->Node : nullptr;
    if (!shown || branch == nullptr) view = SaveBranchView(root->rootNode, tree_.Selected());
    else if (branch == root->rootNode) view = std::move(*shown);
    else view = SaveBranchViewWith(root->rootNode, tree_.Selected(), branch, std::move(*shown));
    // The selection and the cleared details may run the window's handlers:
    // a request for this root that comes meanwhile still adds nothing.
    tree_.SetSelected(root->rootNode);
    if (OnClearDetails) OnClearDetails(nullptr);
    if (gone()) return;
    // The rescan builds the branch anew as the first scan did, under a
    // collapsed root that opens at the end: children made under an open
    // node are drawn, named and given icons one by one while they come.
    root->rootNode->Collapse(false);
    root->rootNode->DeleteChildren();
    root->restarting = false;
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

  CountRootChildren(*root, data);
  auto* scan = new TScan(*this, node, root);
  scan->view_ = std::move(view);
  scan->PendingAction = pendingAction;
  scan->ActionFile = std::move(actionFile);
  root->runningScan = scan;
  scan->Start();
  // The recent list keeps the wide path as UTF-8: a name outside the ANSI
  // code page can be reopened.
  if (root->isFileSystemRoot && RecentFiles != nullptr) RecentFiles->AddItem(Utf8FromWide(IdListWidePath(list).c_str()));
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
  if (root->runningScan != nullptr || root->removed) return false;
  if (!RouteOf(*data).listing && data->Folder() == nullptr) return false;
  // As a root's rescan: the branch fills while closed and opens again at the end.
  TBranchView view = SaveBranchView(node, tree_.Selected());
  node->Collapse(false);
  node->DeleteChildren();
  data->ClearNameCache();
  data->HasError = false;  // the scan tells again
  auto* scan = new TScan(*this, node, root);
  scan->view_ = std::move(view);
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
  TTreeNode* parent = node->Parent();
  // A folder of a branch that is no longer on the disk leaves the tree.
  const bool gone = parent != nullptr && FolderGone(scan.path_);
  root.hasErrors = (scan.errors_ && !gone) || (parent != nullptr && root.hasErrors);
  if (parent != nullptr) AddToAncestors(parent, scan.data_->Counts.Totals() - scan.oldTotals_);
  if (gone) {
    DeleteNode(node, true);
    node = nullptr;
  }
  TTreeNode* rootNode = root.rootNode;
  if (rootNode != nullptr) {
    rootNode->SetStateIndex(0);
    if (node != nullptr) SortChildren(node);
    if (node != rootNode) SortChildren(rootNode);
    const TViewSettings& settings = ViewSettings();
    if (settings.ExpandLevel >= 2) ExpandToLevel(rootNode, settings.ExpandLevel, 0);
    // The user's view of the branch before the rescan, as far as its
    // folders are left, scrolled to the selection. Its folders open while
    // the root is closed, and are laid out once when it opens.
    TTreeNode* selected = node != nullptr && scan.view_ ? RestoreBranchView(node, *scan.view_) : nullptr;
    if (settings.ExpandLevel < 2) rootNode->Expand(false);
    if (selected != nullptr) {
      tree_.SetSelected(selected);
      SendMessageA(tree_.Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(selected->ItemId()));
    }
    // Percent values were blank while the scan ran.
    if (settings.ShowType == kViewPercent) RefreshTexts(rootNode);
  }
  if (OnStatusUpdate) OnStatusUpdate(nullptr);
  if (scan.PendingAction != kActionNone && OnPendingAction && node != nullptr) {
    tree_.SetSelected(node);
    root.runningScan = &scan;
    OnPendingAction(scan);
    root.runningScan = nullptr;
  }
}

}  // namespace foldwick
