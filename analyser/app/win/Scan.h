// The scan engine: one TScanRoot per scanned drive or folder, one TScan worker
// per running scan, and TScanEngine, which starts, restarts and stops scans on
// a tree view. Workers write the counters of their own branch; every change
// to the tree and every new TFolderData happens on the main thread through
// Synchronize. A file-system folder is read with one directory listing that
// gives both its files and its subfolders; only folders outside the file
// system (and the desktop, whose namespace holds more than its folder) are
// walked through the shell.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analyser/app/CommandLine.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/ScanTree.h"
#include "classlib/win/ComPtr.h"
#include "classlib/win/Thread.h"
#include "classlib/win/TreeView.h"

namespace foldwick {

class TScan;
class TScanEngine;
class TMRUFileList;

// One scanned drive or folder. Main thread only, but for the cluster size,
// which a scan copies when it starts.
struct TScanRoot {
  classlib::TTreeNode* rootNode = nullptr;
  TScan* runningScan = nullptr;  // the scan working on this root or a branch of it
  std::string drive;             // "C:\"; empty without a file-system path
  std::string path;              // without a trailing "\" once the drive was read
  std::string fileSystem;        // the volume's, "Unknown FS" or "User Defined"
  std::string volume;
  std::string displayPath;       // the path, or the shell's name without one
  std::uint32_t sectorsPerCluster = 1;
  std::uint32_t bytesPerSector = 512;
  std::int64_t freeSpace = 0;    // KB
  std::int64_t totalSpace = 0;   // KB
  std::int64_t clusterSize = 512;
  bool isFileSystemRoot = false; // has a path and its drive answered; enters the recent files
  bool compressed = false;
  std::int64_t topLevelFolders = 0;  // counted before the scan, for the progress image
  std::int64_t progress = 0;         // top-level folders finished
  std::string caption;               // display name + " on [" + volume + "]"
  bool hasErrors = false;            // a folder its scans reached could not be read
  bool removed = false;              // taken out of the engine's list
  bool restarting = false;           // a rescan waits for the old scan to stop
};

// The worker that scans one node's branch. It frees itself when it ends.
class TScan : public classlib::TThread {
 public:
  // Created suspended on the main thread; zeroes the node's counters and keeps
  // its old totals for the ancestors' delta.
  TScan(TScanEngine& engine, classlib::TTreeNode* node, std::shared_ptr<TScanRoot> root);

  // The scanned node, null once it was deleted. Main thread.
  classlib::TTreeNode* Node() const { return data_ ? data_->Node : nullptr; }
  TScanRoot& Root() const { return *root_; }

  int PendingAction = kActionNone;
  std::string ActionFile;

 protected:
  void Execute() override;

 private:
  friend class TScanEngine;
  struct TChildFolder;
  // A folder being scanned, outermost first. Whether its children are shown
  // (it is expanded and visible) is read on the main thread at each
  // synchronised step, so the worker knows without asking which finished
  // children to refresh.
  struct TFrame {
    TFolderData* data;
    bool childrenShown;
  };

  // Counts a folder and its subfolders into `data`: a file-system folder
  // (`shellFolder` null) from its directory listing, any other through the
  // shell, its files from `path` when it has one. True when the folder could
  // not be read.
  bool ScanFolder(TFolderData& data, IShellFolder* shellFolder, const std::wstring& path, int level);
  // The subfolders of a folder outside the file system; false when they
  // cannot be enumerated.
  bool EnumerateShellChildren(IShellFolder* folder, TFolderData& data, std::vector<TChildFolder>& children);
  // Counts a recycle-bin folder by its directory entries alone.
  void CountPlain(const std::wstring& path, TFolderTotals& totals, TFileTime& access, TFileTime& change, int depth);
  // Synchronised: a node and folder data for each child, in one step.
  std::vector<TFolderRef> AddChildren(TFolderData& parent, std::vector<TChildFolder>& children);
  // After a child's scan: its final text comes with the next step.
  void ChildDone(TFolderData& child);
  // The end of a folder: its "<Files>" node, and for a top-level folder the
  // root's progress image.
  void FinishFolder(TFolderData& data, bool addFiles, int level);
  // Synchronised: the top-level folders finished since the last step added
  // to the root's progress, its image set and its children sorted when due.
  void ProgressStep();
  // Runs `step` on the main thread after reading the frames' visibility;
  // nothing runs for a scan that was given up.
  void SynchronizeStep(const std::function<void()>& step);

  TScanEngine* engine_;
  classlib::TComPtr<IShellFolder> folder_;  // the shell route's folder, null for a file-system folder
  std::wstring path_;                       // the scanned folder's file-system path
  TFolderRef data_;
  std::shared_ptr<TScanRoot> root_;
  TFolderTotals oldTotals_;
  // Copied at creation, read by the worker.
  std::vector<std::wstring> patterns_;
  bool everyFile_;  // the patterns take every file: one listing serves files and folders
  bool showFiles_;
  bool showSuperHidden_;
  std::int64_t clusterSize_;
  HWND enumOwner_;
  int baseLevel_;  // the tree level of the scanned node
  // Worker state, read by the main thread only while the worker waits.
  std::vector<TFrame> frames_;
  // Finished folders whose "<Files>" nodes the next synchronised step adds.
  std::vector<TFolderRef> pendingFiles_;
  // Finished folders whose final texts the next synchronised step sets.
  std::vector<TFolderRef> pendingTexts_;
  DWORD lastStep_ = 0;
  DWORD lastRootSort_ = 0;
  // Top-level folders finished whose progress step was not taken yet, and
  // the root's progress as the last step left it (-1 before the first).
  std::int64_t unshownProgress_ = 0;
  std::int64_t progressShown_ = -1;
  bool errors_ = false;
  // Set on the main thread when the scan was given up: it finishes unseen.
  bool orphaned_ = false;
  // The expanded folders and the selection of the branch before a rescan,
  // given back to its new nodes when the scan has ended; none for a first
  // scan.
  std::optional<TBranchView> view_;
};

// Starts and stops the scans of a tree view and keeps their roots.
class TScanEngine {
 public:
  // Frees each node's folder data when the node is deleted.
  explicit TScanEngine(classlib::TTreeView& tree);
  // Stops every scan first.
  ~TScanEngine();
  TScanEngine(const TScanEngine&) = delete;
  TScanEngine& operator=(const TScanEngine&) = delete;

  // Scans an absolute item id list: the drives folder scans every drive; a
  // list that is already a root is rescanned in place once its running scan
  // has stopped.
  void ScanPath(LPCITEMIDLIST list);
  // ScanPath for every logical drive.
  void ScanAllDrives();
  // Rescans the branch of a non-root node (a root is rescanned in place);
  // false while the root's scan runs or when the node cannot be scanned.
  bool RescanBranch(classlib::TTreeNode* node);
  // Asks the root's scan to stop and waits for it; a scan that does not stop
  // within the wait is given up and finishes unseen.
  void StopScan(TScanRoot& root);
  void StopAllScans();
  // Stops the root's scan and deletes its node and record.
  void RemoveRoot(TScanRoot& root);

  bool AnyScanRunning() const;
  // Most recent first.
  const std::list<std::shared_ptr<TScanRoot>>& Roots() const { return roots_; }
  TScanRoot* RootOfNode(classlib::TTreeNode* node) const;
  classlib::TTreeView& Tree() const { return tree_; }

  // The owner window of shell enumeration (shell error dialogs), or none.
  HWND EnumOwner = nullptr;
  // Scanned file-system roots are added here when set.
  TMRUFileList* RecentFiles = nullptr;
  // The main window's parts: the caption after a root was read, the detail
  // list emptied when a root is rescanned, the status after a scan ended, and
  // a scan's pending action (the scanned node is selected meanwhile).
  classlib::TNotifyEvent OnCaptionChange;
  classlib::TNotifyEvent OnClearDetails;
  classlib::TNotifyEvent OnStatusUpdate;
  std::function<void(TScan& scan)> OnPendingAction;
  // After each synchronised step of a scan, on the main thread, while the
  // scan waits: the figures of its branch have moved on. Keep it short.
  std::function<void(TScan& scan)> OnScanStep;

  // How long a stop waits before giving a scan up.
  DWORD StopWaitMs = 10000;

 private:
  friend class TScan;
  void ScanFinished(TScan& scan);
  void CountRootChildren(TScanRoot& root, TFolderData& data);
  void WaitForScans(const std::vector<TScanRoot*>& roots);

  classlib::TTreeView& tree_;
  std::list<std::shared_ptr<TScanRoot>> roots_;
};

}  // namespace foldwick
