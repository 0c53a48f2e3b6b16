// TFolderData: what each node of the folder tree carries in its data slot: the
// counters the scan writes, the folder's shell identity and its display state.
// The tree holds one reference, a running scan one more for each node it
// works on, so a node deleted during a scan leaves the scan nothing dangling.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <string>

#include "analyser/app/FolderValues.h"
#include "analyser/components/win/ShellBrowser.h"
#include "classlib/win/ComPtr.h"
#include "classlib/win/TreeView.h"

namespace foldwick {

struct TScanRoot;

class TFolderData {
 public:
  // A new object with one reference, for `node` (may be null) of `root`.
  TFolderData(classlib::TTreeNode* node, std::shared_ptr<TScanRoot> root);
  TFolderData(const TFolderData&) = delete;
  TFolderData& operator=(const TFolderData&) = delete;

  void AddRef() { refs_.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  // The value of a view type in a unit type (see GetFolderValue), with the
  // root's cluster size and scan state and the parent's clusters.
  double GetFolderValue(int viewType, int unitType) const;
  // The value's text in the current unit type and decimals; `pad` right-aligns
  // it for the tree.
  std::string FormatFolderValue(int viewType, bool pad) const;
  // The display name (asked of the shell once, then kept) with its marks.
  // "Error: Cannot get name!" when the shell gives none; asked again next time.
  std::string GetFolderName();
  // The node's tree text: the padded value of the current view, then the name.
  std::string TreeText();
  std::string LastAccessText() const;
  std::string LastChangeText() const;
  // Sets the node's image and selected image from the shell's small icons.
  void RefreshIcons();
  // The name and the children's icons are fetched again.
  void ClearNameCache();

  // The folder's shell identity. A folder found in its parent's directory
  // listing gets it when first asked, from its parent's and its file name;
  // a "<Files>" node answers with its parent's. Null when the shell cannot
  // reach the folder (a path past 260 characters). Main thread.
  IShellFolder* Folder();
  LPCITEMIDLIST IdList();
  LPCITEMIDLIST RelativeIdList();
  // The folder's file-system path ("C:\" for a drive), from the listing names
  // up to the nearest folder that has an item id list; empty without one.
  // Main thread.
  std::wstring FileSystemPath();

  TFolderCounts Counts;
  // Made eagerly for roots and for folders found through the shell; made on
  // demand by the accessors above for those found in a listing.
  classlib::TComPtr<IShellFolder> ShellFolder;
  TIdList AbsoluteList;
  // Relative to the parent folder; null for a root and a "<Files>" node.
  TIdList RelativeList;
  // The folder's name in its parent's directory listing; empty for roots and
  // for folders found through the shell.
  std::wstring FileName;
  bool IsFilesNode = false;
  // From creation until the folder's own scan has finished: the "  <==" mark.
  std::atomic<bool> IsNew{true};
  // Enumerating the subfolders failed: the " [Error!]" mark.
  std::atomic<bool> HasError{false};
  bool ChildIconsSet = false;
  // This node's own icons came from the shell (RefreshIcons); until then it
  // may show the plain folder. Main thread.
  bool IconsFetched = false;
  // Listed without the read-only and system attributes, which a folder needs
  // for icons of its own (from its desktop.ini): it shows the plain folder
  // icons, asked of the shell once for all.
  bool PlainFolder = false;
  std::string NameCache;
  // The node carrying this object; null once the node is deleted. Main thread.
  classlib::TTreeNode* Node;
  std::shared_ptr<TScanRoot> ScanRoot;

 private:
  ~TFolderData() = default;
  TFolderData* Parent() const;
  // The path of AbsoluteList as the shell gave it, for the list it was asked
  // of: every folder below asks for it again, and the shell takes a while.
  std::wstring idListPath_;
  LPCITEMIDLIST idListPathOf_ = nullptr;
  // Makes the item id lists of a listed folder; true when it has them.
  bool MakeIdLists();

  std::atomic<int> refs_{1};
};

// A counted reference to folder data.
using TFolderRef = classlib::TComPtr<TFolderData>;

// The folder data of a node, or null.
inline TFolderData* NodeData(classlib::TTreeNode* node) {
  return node != nullptr ? static_cast<TFolderData*>(node->Data) : nullptr;
}

// Gives `data` (and its one reference) to `node`.
void AttachNodeData(classlib::TTreeNode* node, TFolderData* data);
// The tree's deletion handler: the node lets go of its data.
void ReleaseNodeData(classlib::TTreeNode* node);

// The small system icon of a plain file, shown for "<Files>" nodes.
int FilesIcon();
// Gives the node the system's plain folder icons (closed and open).
void SetPlainFolderIcons(classlib::TTreeNode* node);

// `name` below the folder `path`, with one "\" between them.
std::wstring JoinPath(const std::wstring& path, const std::wstring& name);

}  // namespace foldwick
