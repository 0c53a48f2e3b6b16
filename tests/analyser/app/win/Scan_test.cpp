// The scan engine under Wine: prepared folders are scanned by the worker into a
// tree view on a hidden form, and every node's counters are checked against
// totals this test computes from the sizes it wrote.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "analyser/app/ScanRules.h"
#include "tests/analyser/app/TotalsPrinter.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/Scan.h"
#include "analyser/app/win/ScanTree.h"
#include "analyser/app/win/ShellText.h"
#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "tests/analyser/win/TestFolders.h"

namespace foldwick {
namespace {

using classlib::TTreeNode;

constexpr DWORD kScanWait = 120000;

// A folder to create: its files (name, size) and subfolders.
struct TSpec {
  std::string name;
  std::vector<std::pair<std::string, std::uint64_t>> files;
  std::vector<TSpec> folders;
  bool hidden = false;
};

void CreateSpec(const std::string& path, const TSpec& spec) {
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
  for (const auto& [name, size] : spec.files) CreateSizedFile(path + "\\" + name, size);
  for (const TSpec& sub : spec.folders) CreateSpec(path + "\\" + sub.name, sub);
  if (spec.hidden) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

using TFilter = std::function<bool(const std::string&)>;
bool AllFiles(const std::string&) { return true; }

// The folder's own files as the scan must count them: sizes above 0 that pass
// the filter, each filling whole clusters.
TFolderTotals OwnTotals(const TSpec& spec, std::int64_t cluster, const TFilter& filter) {
  TFolderTotals t;
  for (const auto& [name, size] : spec.files) {
    if (size == 0 || !filter(name)) continue;
    const auto c = static_cast<std::uint64_t>(cluster);
    t.clusters += static_cast<std::int64_t>(size / c + (size % c != 0));
    t.tailBytes += static_cast<std::int64_t>(size % c);
    t.bytes += static_cast<std::int64_t>(size);
    t.objects += 1;
  }
  return t;
}

// The branch: own files, one cluster and one object for the folder, the subfolders.
TFolderTotals BranchTotals(const TSpec& spec, std::int64_t cluster, const TFilter& filter) {
  TFolderTotals t = OwnTotals(spec, cluster, filter);
  t += TFolderTotals{1, 0, 1, 0};
  for (const TSpec& sub : spec.folders) t += BranchTotals(sub, cluster, filter);
  return t;
}

std::int64_t VolumeCluster(const std::string& path) {
  DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
  std::string drive = path.substr(0, 3);
  EXPECT_TRUE(GetDiskFreeSpaceA(drive.c_str(), &spc, &bps, &freeClusters, &total));
  return std::int64_t{spc} * bps;
}

// Checks a node and its branch against the prepared layout, node by node.
void CheckBranch(TTreeNode* node, const TSpec& spec, std::int64_t cluster, const TFilter& filter, const std::string& where) {
  TFolderData* data = NodeData(node);
  ASSERT_NE(data, nullptr) << where;
  const TFolderTotals own = OwnTotals(spec, cluster, filter);
  EXPECT_EQ(data->Counts.Totals(), BranchTotals(spec, cluster, filter)) << where;
  EXPECT_EQ(data->Counts.OwnTotals(), own) << where;
  EXPECT_EQ(data->Counts.ownFiles.load(), own.objects) << where;
  EXPECT_FALSE(data->IsNew.load() && node->Parent() != nullptr) << where;
  EXPECT_FALSE(data->HasError.load()) << where;
  const bool wantFiles = !spec.folders.empty() && own.objects > 0;
  int folders = 0, filesNodes = 0;
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) {
    TFolderData* d = NodeData(c);
    ASSERT_NE(d, nullptr) << where;
    if (d->IsFilesNode) {
      ++filesNodes;
      EXPECT_EQ(d->Counts.Totals(), own) << where << "\\<Files>";
      EXPECT_EQ(d->GetFolderName(), "<Files>");
      continue;
    }
    ++folders;
    const std::string name = d->GetFolderName();
    const TSpec* sub = nullptr;
    for (const TSpec& s : spec.folders)
      if (s.name == name) sub = &s;
    ASSERT_NE(sub, nullptr) << where << ": unexpected node " << name;
    CheckBranch(c, *sub, cluster, filter, where + "\\" + name);
  }
  EXPECT_EQ(folders, static_cast<int>(spec.folders.size())) << where;
  EXPECT_EQ(filesNodes, wantFiles ? 1 : 0) << where;
}

std::wstring WideText(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), n);
  return wide.c_str();
}

TTreeNode* Child(TTreeNode* node, const std::string& name) {
  if (node == nullptr) return nullptr;
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (TFolderData* d = NodeData(c); d != nullptr && !d->IsFilesNode && d->GetFolderName() == name) return c;
  return nullptr;
}

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classlib::Application();
    ViewSettings() = TViewSettings();
    base = TestFolderPath("scantest");
    RemoveTree(base);
    cluster = VolumeCluster(base);
    ASSERT_GT(cluster, 0);
  }
  void TearDown() override {
    engine.reset();
    RemoveTree(base);
    ViewSettings() = TViewSettings();
  }

  // The prepared folder: files of every kind of size, a hidden folder, an
  // empty one, and a file beyond 4 GiB.
  TSpec Sample() const {
    TSpec root{"", {{"a.txt", 100}, {"exact.bin", static_cast<std::uint64_t>(cluster)}, {"empty.dat", 0}}, {}};
    TSpec deep{"deep", {{"d1.txt", 1}}, {}};
    TSpec docs{"docs", {{"r1.doc", 5000}, {"r2.txt", 2 * static_cast<std::uint64_t>(cluster)}}, {deep}};
    TSpec big{"big", {{"huge.bin", (9ULL << 29) + 7}}, {}};
    TSpec hidden{"hiddenfolder", {{"h.txt", 10}}, {}, true};
    TSpec none{"emptyfolder", {}, {}};
    root.folders = {docs, big, hidden, none};
    return root;
  }

  // A tree with many folders, so that a scan is surely still running.
  static TSpec Wide(int levels, int width) {
    TSpec spec{"", {{"f1.txt", 10}, {"f2.txt", 20000}}, {}};
    if (levels > 0)
      for (int i = 0; i < width; ++i) {
        TSpec sub = Wide(levels - 1, width);
        sub.name = "w" + std::to_string(i);
        spec.folders.push_back(sub);
      }
    return spec;
  }

  TScanRoot* Scan(const std::string& path) {
    TIdList list = PathToPIDL(nullptr, path);
    EXPECT_TRUE(list) << path;
    if (!list) return nullptr;
    engine->ScanPath(list.get());
    for (auto& root : engine->Roots())
      if (SameIdList(NodeData(root->rootNode)->AbsoluteList.get(), list.get())) return root.get();
    return nullptr;
  }

  bool WaitForEnd(TScanRoot* root) {
    return classlib::ProcessMessagesUntil([&] { return root->runningScan == nullptr; }, kScanWait);
  }

  // Makes the layout in the test folder and scans it to the end; null on failure.
  TScanRoot* ScanToEnd(const TSpec& spec) {
    CreateSpec(base, spec);
    TScanRoot* root = Scan(base);
    return root != nullptr && WaitForEnd(root) ? root : nullptr;
  }

  std::string base;
  std::int64_t cluster = 0;
  classlib::TForm form{nullptr, "scan test"};
  classlib::TTreeView* tree = new classlib::TTreeView(&form, &form);
  std::unique_ptr<TScanEngine> engine = std::make_unique<TScanEngine>(*tree);
};

TEST_F(ScanTest, EveryNodeCountsItsFilesFoldersAndOwnFiles) {
  const TSpec spec = Sample();
  CreateSpec(base, spec);
  int statusUpdates = 0;
  engine->OnStatusUpdate = [&](classlib::TObject*) { ++statusUpdates; };
  // The views hear of each step, on the main thread.
  int steps = 0;
  bool onMainThread = true;
  const DWORD mainThread = GetCurrentThreadId();
  engine->OnScanStep = [&](TScan&) {
    ++steps;
    onMainThread = onMainThread && GetCurrentThreadId() == mainThread;
  };
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  EXPECT_NE(root->runningScan, nullptr);
  EXPECT_EQ(root->rootNode->StateIndex(), 1);
  EXPECT_EQ(root->topLevelFolders, 4);
  ASSERT_TRUE(WaitForEnd(root));

  CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
  // The 4.5 GiB file counts whole: more than 4 GiB of bytes in the root.
  EXPECT_GT(NodeData(root->rootNode)->Counts.bytes.load(), 4LL << 30);
  EXPECT_EQ(statusUpdates, 1);
  EXPECT_GT(steps, 0);
  EXPECT_TRUE(onMainThread);
  EXPECT_EQ(root->rootNode->StateIndex(), 0);
  EXPECT_TRUE(root->rootNode->Expanded());
  EXPECT_EQ(root->progress, 4);

  // The root's drive facts.
  EXPECT_EQ(root->clusterSize, cluster);
  EXPECT_TRUE(root->isFileSystemRoot);
  EXPECT_EQ(root->displayPath, base);
  EXPECT_EQ(root->path, base);
  EXPECT_EQ(root->drive, base.substr(0, 3));
  char volume[MAX_PATH + 1] = "", fileSystem[MAX_PATH + 1] = "";
  GetVolumeInformationA(root->drive.c_str(), volume, sizeof volume, nullptr, nullptr, nullptr, fileSystem, sizeof fileSystem);
  EXPECT_EQ(root->fileSystem, fileSystem);
  EXPECT_GT(root->totalSpace, 0);
  EXPECT_EQ(root->caption.substr(root->caption.size() - (std::string(volume).size() + 6)), " on [" + std::string(volume) + "]");

  // The tree text of the root: its padded size, then its path.
  TFolderData* data = NodeData(root->rootNode);
  const std::string text = root->rootNode->Text();
  EXPECT_EQ(text, data->FormatFolderValue(kViewSize, true) + base);
  EXPECT_EQ(text.substr(text.size() - base.size()), base);
  EXPECT_FALSE(data->LastChangeText().empty());

  // A root of hundreds of top-level folders steps when its progress picture
  // changes, not per folder: each step waits for the window, which then
  // repaints the root, and a root of thousands of folders crawled.
  TSpec many{"many", {}, {}};
  for (int i = 0; i < 400; ++i) many.folders.push_back(TSpec{"f" + std::to_string(i), {{"x.txt", 1}}, {}});
  CreateSpec(base + "\\many", many);
  steps = 0;
  TScanRoot* wide = Scan(base + "\\many");
  ASSERT_NE(wide, nullptr);
  ASSERT_TRUE(WaitForEnd(wide));
  CheckBranch(wide->rootNode, many, cluster, AllFiles, base + "\\many");
  EXPECT_EQ(wide->progress, 400);
  EXPECT_LT(steps, 150);
}

TEST_F(ScanTest, FilterPatternsCountAFileMatchingTwoOfThemOnce) {
  const TSpec spec = Sample();
  CreateSpec(base, spec);
  ViewSettings().FilterPatterns = {"*.txt", "a.*"};
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  auto txtOrA = [](const std::string& name) {
    return name.rfind("a.", 0) == 0 || (name.size() > 4 && name.substr(name.size() - 4) == ".txt");
  };
  CheckBranch(root->rootNode, spec, cluster, txtOrA, base);
}

TEST_F(ScanTest, RescanningARootInPlaceAndABranch) {
  TSpec spec = Sample();
  CreateSpec(base, spec);
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  TTreeNode* rootNode = root->rootNode;

  // A branch rescan: deep gains a file; its ancestors get the difference.
  TTreeNode* docs = Child(rootNode, "docs");
  ASSERT_NE(docs, nullptr);
  TTreeNode* deep = Child(docs, "deep");
  ASSERT_NE(deep, nullptr);
  const TFolderTotals bigBefore = NodeData(Child(rootNode, "big"))->Counts.Totals();
  CreateSpec(base + "\\docs\\deep\\more", {"more", {{"m.txt", 3000}}, {}});
  spec.folders[0].folders[0].folders.push_back({"more", {{"m.txt", 3000}}, {}});
  ASSERT_TRUE(engine->RescanBranch(deep));
  EXPECT_FALSE(engine->RescanBranch(docs));  // the root's scan runs
  ASSERT_TRUE(WaitForEnd(root));
  CheckBranch(rootNode, spec, cluster, AllFiles, base);
  // An open branch fills while closed and is open again at the end.
  docs->Expand(false);
  ASSERT_TRUE(docs->Expanded());
  ASSERT_TRUE(engine->RescanBranch(docs));
  ASSERT_TRUE(WaitForEnd(root));
  CheckBranch(rootNode, spec, cluster, AllFiles, base);
  EXPECT_TRUE(docs->Expanded());
  EXPECT_TRUE(rootNode->Expanded());
  EXPECT_EQ(NodeData(Child(rootNode, "big"))->Counts.Totals(), bigBefore);

  // The same path again: the same root and node, new totals; asked for once
  // more while the rescan clears the window's details, it adds nothing.
  DeleteFileA((base + "\\a.txt").c_str());
  spec.files.erase(spec.files.begin());
  CreateSpec(base + "\\later", {"later", {{"l.txt", 77}}, {}});
  spec.folders.push_back({"later", {{"l.txt", 77}}, {}});
  int clears = 0;
  engine->OnClearDetails = [&](classlib::TObject*) {
    if (++clears == 1) {
      EXPECT_EQ(Scan(base), root);
    }
  };
  EXPECT_EQ(Scan(base), root);
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(root->rootNode, rootNode);
  ASSERT_TRUE(WaitForEnd(root));
  EXPECT_TRUE(rootNode->Expanded());
  EXPECT_EQ(engine->Roots().size(), 1u);
  EXPECT_EQ(tree->GetFirstNode()->GetNextSibling(), nullptr);
  CheckBranch(rootNode, spec, cluster, AllFiles, base);
}

TEST_F(ScanTest, TenUpdatesInARowOfAWholeOpenTree) {
  const TSpec spec = Wide(3, 6);
  TScanRoot* root = ScanToEnd(spec);
  ASSERT_NE(root, nullptr);
  // Each Update: of the root or of its first folder, after the last one
  // ended or over it while it runs, its stop waited for or given up at once.
  struct TRow {
    bool branch;
    bool overRunning;
    DWORD stopWaitMs;
  };
  const TRow rows[] = {{false, false, 10000}, {false, true, 10000}, {false, true, 0},     {true, false, 10000},
                       {false, true, 10000},  {true, false, 10000}, {false, true, 0},     {false, false, 10000},
                       {true, false, 10000},  {false, true, 10000}};
  for (const TRow& row : rows) {
    if (!row.overRunning) {
      ASSERT_TRUE(WaitForEnd(root));
    }
    root->rootNode->Expand(true);
    engine->StopWaitMs = row.stopWaitMs;
    TTreeNode* node = row.branch ? Child(root->rootNode, "w0") : root->rootNode;
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(engine->RescanBranch(node));
  }
  ASSERT_TRUE(WaitForEnd(root));
  CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
  EXPECT_EQ(engine->Roots().size(), 1u);
}

// The open folders of a branch and the selected one, by their paths.
void OpenPaths(TTreeNode* node, const std::string& path, std::set<std::string>& open) {
  if (!node->Expanded()) return;
  open.insert(path);
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (TFolderData* d = NodeData(c); d != nullptr && !d->IsFilesNode) OpenPaths(c, path + "\\" + d->GetFolderName(), open);
}
std::string SelectedPath(classlib::TTreeView& tree) {
  std::string path;
  for (TTreeNode* n = tree.Selected(); n != nullptr && n->Parent() != nullptr; n = n->Parent())
    path = "\\" + NodeData(n)->GetFolderName() + path;
  return path;
}

TEST_F(ScanTest, AnUpdateOverARunningUpdateKeepsTheViewTheUserSaw) {
  const TSpec spec = Wide(3, 5);
  TScanRoot* root = ScanToEnd(spec);
  ASSERT_NE(root, nullptr);
  TTreeNode* w1 = Child(root->rootNode, "w1");
  ASSERT_NE(w1, nullptr);
  w1->Expand(false);
  Child(w1, "w2")->Expand(false);
  Child(root->rootNode, "w3")->Expand(false);
  tree->SetSelected(Child(Child(w1, "w2"), "w4"));
  std::set<std::string> open;
  OpenPaths(root->rootNode, "", open);
  const std::string selected = SelectedPath(*tree);
  ASSERT_EQ(selected, "\\w1\\w2\\w4");
  // An Update of the root or of a branch, then one of the root while the
  // first runs: the worker waits for its first step, which this thread only
  // takes once the second Update stops it.
  for (const char* first : {"", "w1"}) {
    TTreeNode* node = *first == '\0' ? root->rootNode : Child(root->rootNode, first);
    ASSERT_NE(node, nullptr) << first;
    ASSERT_TRUE(engine->RescanBranch(node)) << first;
    ASSERT_NE(root->runningScan, nullptr) << first;
    ASSERT_TRUE(engine->RescanBranch(root->rootNode)) << first;
    ASSERT_TRUE(WaitForEnd(root)) << first;
    std::set<std::string> after;
    OpenPaths(root->rootNode, "", after);
    EXPECT_EQ(after, open) << first;
    EXPECT_EQ(SelectedPath(*tree), selected) << first;
  }
  CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
}

TEST_F(ScanTest, AStoppedScanLeavesPartialTotalsAndARescanCompletesThem) {
  TSpec spec = Wide(3, 4);
  TSpec chain{"chain", {{"c.txt", 5}}, {}};
  for (int i = 0; i < 20; ++i) chain = TSpec{"chain", {{"c.txt", 5}}, {chain}};
  spec.folders.push_back(chain);
  CreateSpec(base, spec);
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_NE(root->runningScan, nullptr);
  // The worker waits for its first synchronised step, which this thread only
  // takes once it stops the scan: the scan cannot have finished.
  engine->StopScan(*root);
  EXPECT_EQ(root->runningScan, nullptr);
  const TFolderTotals full = BranchTotals(spec, cluster, AllFiles);
  EXPECT_LT(NodeData(root->rootNode)->Counts.objects.load(), full.objects);
  EXPECT_NE(root->rootNode->StateIndex(), 0);  // a stopped scan does not finish its root

  // Stopped again and again by rescans: only the last one completes.
  Scan(base);
  Scan(base);
  ASSERT_TRUE(WaitForEnd(root));
  CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
  EXPECT_EQ(root->rootNode->StateIndex(), 0);
}

TEST_F(ScanTest, RemovingRootsWhileTheyScan) {
  CreateSpec(base, Wide(3, 4));
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  engine->RemoveRoot(*root);
  EXPECT_TRUE(engine->Roots().empty());
  EXPECT_EQ(tree->GetFirstNode(), nullptr);

  // A scan that is given up at once: it finishes unseen, and its late steps
  // for the deleted nodes add nothing to the tree.
  engine->StopWaitMs = 0;
  root = Scan(base);
  ASSERT_NE(root, nullptr);
  engine->RemoveRoot(*root);
  EXPECT_EQ(tree->GetFirstNode(), nullptr);
  classlib::ProcessMessagesUntil([] { return false; }, 1500);
  EXPECT_EQ(tree->GetFirstNode(), nullptr);
  EXPECT_TRUE(engine->Roots().empty());
}

TEST_F(ScanTest, APendingActionRunsWhenTheScanEndsWithTheNodeSelected) {
  CreateSpec(base, Sample());
  int actions = 0;
  engine->OnPendingAction = [&](TScan& scan) {
    ++actions;
    EXPECT_EQ(scan.PendingAction, kActionSaveReport);
    EXPECT_EQ(scan.ActionFile, "report.txt");
    EXPECT_EQ(scan.Root().runningScan, &scan);
    EXPECT_EQ(tree->Selected(), scan.Node());
  };
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  root->runningScan->PendingAction = kActionSaveReport;
  root->runningScan->ActionFile = "report.txt";
  ASSERT_TRUE(WaitForEnd(root));
  EXPECT_EQ(actions, 1);

  // An Update of the root while the action waits: the new scan runs it.
  CreateSpec(base + "\\wide", Wide(3, 6));
  actions = 0;
  ASSERT_EQ(Scan(base), root);
  root->runningScan->PendingAction = kActionSaveReport;
  root->runningScan->ActionFile = "report.txt";
  ASSERT_TRUE(engine->RescanBranch(root->rootNode));
  ASSERT_TRUE(WaitForEnd(root));
  EXPECT_EQ(actions, 1);
}

// Creates the layout with the wide functions in their long-path form, so that
// names in any script and paths past 260 characters arrive as written. Names
// are UTF-8.
void CreateWideSpec(const std::wstring& path, const TSpec& spec) {
  ASSERT_TRUE(CreateDirectoryW(LongTestPath(path).c_str(), nullptr)) << path.size();
  for (const auto& [name, size] : spec.files) CreateSizedFile(path + L"\\" + WideText(name), size);
  for (const TSpec& sub : spec.folders) CreateWideSpec(path + L"\\" + WideText(sub.name), sub);
}

TEST_F(ScanTest, LongAndUnicodePathsCountInFullAndAnUnreadableFolderIsMarked) {
  // A chain 48 folders deep, its path far past 260 characters, with a file at
  // every level; folders named in four scripts, one holding a file named in a
  // fifth; a folder another program holds open for itself alone.
  TSpec chain{"deep_level_folder_48", {{"end.bin", 4321}}, {}};
  for (int level = 47; level >= 1; --level)
    chain = TSpec{"deep_level_folder_" + std::to_string(level), {{"f.txt", 100u + level}}, {chain}};
  TSpec scripts{"scripts", {}, {{"\xE6\x95\xB0\xE6\x8D\xAE", {{"a.txt", 1000}}, {}},  // Chinese
                                {"\xCE\x94\xCE\xB5\xCE\xB4\xCE\xBF\xCE\xBC\xCE\xAD\xCE\xBD\xCE\xB1", {{"b.txt", 2000}}, {}},  // Greek
                                {"\xD0\x94\xD0\xB0\xD0\xBD", {{"\xD7\xA7\xD7\x95\xD7\x91\xD7\xA5.txt", 3000}}, {}},  // Cyrillic, a Hebrew file
                                {"\xD8\xA8\xD9\x8A\xD8\xA7\xD9\x86\xD8\xA7\xD8\xAA", {{"d.txt", 4000}}, {}}}};  // Arabic
  TSpec locked{"locked", {}, {}};
  TSpec spec{"", {{"top.txt", 10}}, {chain, scripts, {"holder", {{"h.txt", 50}}, {locked}}}};
  const std::wstring wideBase = WideText(base);
  CreateWideSpec(wideBase, spec);
  CreateSizedFile(base + "\\holder\\locked\\unseen.txt", 999);  // cannot be read while held
  const std::wstring lockedPath = wideBase + L"\\holder\\locked";
  HANDLE hold = CreateFileW(lockedPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);

  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  CloseHandle(hold);
  TTreeNode* rootNode = root->rootNode;
  EXPECT_EQ(NodeData(rootNode)->Counts.Totals(), BranchTotals(spec, cluster, AllFiles));
  EXPECT_TRUE(root->hasErrors);

  // Every level of the chain, by its name, with its own file.
  TTreeNode* node = Child(rootNode, chain.name);
  const TSpec* level = &chain;
  for (int depth = 1; depth <= 48; ++depth) {
    ASSERT_NE(node, nullptr) << "level " << depth;
    EXPECT_EQ(NodeData(node)->Counts.Totals(), BranchTotals(*level, cluster, AllFiles)) << "level " << depth;
    EXPECT_FALSE(NodeData(node)->HasError.load()) << "level " << depth;
    if (level->folders.empty()) break;
    level = &level->folders[0];
    node = Child(node, level->name);
  }

  // Names in other scripts show as the ANSI code page has them.
  TTreeNode* scriptsNode = Child(rootNode, "scripts");
  ASSERT_NE(scriptsNode, nullptr);
  for (const TSpec& sub : scripts.folders) {
    TTreeNode* named = Child(scriptsNode, AnsiFromWide(WideText(sub.name).c_str()));
    ASSERT_NE(named, nullptr) << sub.name;
    EXPECT_EQ(NodeData(named)->Counts.Totals(), BranchTotals(sub, cluster, AllFiles)) << sub.name;
  }

  TTreeNode* lockedNode = Child(Child(rootNode, "holder"), "locked [Error!]");
  ASSERT_NE(lockedNode, nullptr);
  EXPECT_TRUE(NodeData(lockedNode)->HasError.load());
  EXPECT_FALSE(NodeData(Child(rootNode, "holder"))->HasError.load());

  // Readable again: a rescan counts it and the scan's result is clean.
  locked.files = {{"unseen.txt", 999}};
  spec.folders[2].folders = {locked};
  Scan(base);
  ASSERT_TRUE(WaitForEnd(root));
  EXPECT_EQ(NodeData(rootNode)->Counts.Totals(), BranchTotals(spec, cluster, AllFiles));
  EXPECT_FALSE(root->hasErrors);
  ASSERT_NE(Child(Child(rootNode, "holder"), "locked"), nullptr);
}

TEST_F(ScanTest, ABranchUpdateMarksAnUnreadableFolderAndDropsADeletedOne) {
  TSpec locked{"locked", {{"l.txt", 700}}, {}};
  TSpec holder{"holder", {{"h.txt", 50}}, {locked, {"kept", {{"k.txt", 9}}, {}}}};
  TSpec spec{"", {{"top.txt", 10}}, {holder}};
  CreateSpec(base, spec);
  const std::string lockedPath = base + "\\holder\\locked";
  // Held by another program for itself alone, the folder cannot be listed.
  auto hold = [&] {
    return CreateFileA(lockedPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  };
  HANDLE held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  TTreeNode* holderNode = Child(root->rootNode, "holder");
  ASSERT_NE(Child(holderNode, "locked [Error!]"), nullptr);

  // Readable again, held again, then gone: an Update of the folder's branch
  // each time, as an Update of the root would tell it.
  struct TRow {
    const char* step;
    const char* shownAs;  // null: no longer in the tree
    bool error;
  };
  for (const TRow& row : {TRow{"readable", "locked", false}, TRow{"held", "locked [Error!]", true},
                          TRow{"deleted", nullptr, false}}) {
    TTreeNode* node = Child(holderNode, "locked");
    if (node == nullptr) node = Child(holderNode, "locked [Error!]");
    ASSERT_NE(node, nullptr) << row.step;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    if (row.error) held = hold();
    if (row.shownAs == nullptr) {
      RemoveTree(lockedPath);
      holder.folders.erase(holder.folders.begin());
      spec.folders = {holder};
    }
    ASSERT_TRUE(engine->RescanBranch(node)) << row.step;
    ASSERT_TRUE(WaitForEnd(root)) << row.step;
    if (row.shownAs == nullptr) {
      EXPECT_EQ(Child(holderNode, "locked"), nullptr) << row.step;
      EXPECT_EQ(Child(holderNode, "locked [Error!]"), nullptr) << row.step;
      CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
      continue;
    }
    TTreeNode* shown = Child(holderNode, row.shownAs);
    ASSERT_NE(shown, nullptr) << row.step;
    EXPECT_EQ(NodeData(shown)->HasError.load(), row.error) << row.step;
    EXPECT_NE(shown->Text().find(row.shownAs), std::string::npos) << row.step << ": " << shown->Text();
    if (!row.error) CheckBranch(root->rootNode, spec, cluster, AllFiles, base);
  }
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
}

TEST_F(ScanTest, ShownFoldersShowTheirFinalTextsAndVirtualFoldersGoThroughTheShell) {
  // A root with one folder expands while it scans; that folder's text is then
  // kept up to date and ends without the "new" mark.
  CreateSpec(base, {"", {}, {{"only", {{"o.txt", 500}}, {{"a", {{"a.txt", 1}}, {}}, {"b", {}, {}}}}}});
  TScanRoot* root = Scan(base);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  TTreeNode* only = Child(root->rootNode, "only");
  ASSERT_NE(only, nullptr);
  EXPECT_EQ(only->Text(), NodeData(only)->TreeText());
  EXPECT_EQ(only->Text().substr(only->Text().size() - 4), "only");

  // The recycle bin has no path of its own: its subfolders come from the shell.
  LPITEMIDLIST bin = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)));
  TIdList binList(bin);
  engine->ScanPath(binList.get());
  TScanRoot* binRoot = engine->Roots().front().get();
  ASSERT_NE(binRoot, root);
  ASSERT_TRUE(WaitForEnd(binRoot));
  EXPECT_FALSE(binRoot->isFileSystemRoot);
  EXPECT_FALSE(binRoot->hasErrors);
  EXPECT_GE(NodeData(binRoot->rootNode)->Counts.objects.load(), 1);
}

TEST_F(ScanTest, ARecycleBinIsCountedFromItsEntriesAlone) {
  // Any folder whose first path component begins with "RECYCL".
  const std::string recycle = "C:\\RECYCLERtest" + std::to_string(GetCurrentProcessId());
  RemoveTree(recycle);
  TSpec spec{"", {{"zero.dat", 0}, {"one.dat", 1}}, {{".dotted", {{"x", 4096}}, {}}, {"Sub", {{"y", 10}, {"z", 0}}, {}}}};
  CreateSpec(recycle, spec);
  TScanRoot* root = Scan(recycle);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(WaitForEnd(root));
  TFolderData* data = NodeData(root->rootNode);
  // Objects: five files (the empty ones included) and two folders, the one
  // whose name begins with a dot too; the bin itself adds nothing. Clusters:
  // 0 + 1 + 4096 bytes' worth + 1 + 0 for the files, 2 for the folders.
  const std::int64_t c = cluster;
  EXPECT_EQ(data->Counts.Totals(), (TFolderTotals{1 + (4096 + c - 1) / c + 1 + 2, 1 + 4096 % c + 10, 7, 1 + 4096 + 10}));
  EXPECT_EQ(data->Counts.ownFiles.load(), 0);
  EXPECT_EQ(root->rootNode->GetFirstChild(), nullptr);
  engine.reset();
  RemoveTree(recycle);
}

// The detail list sorts names by their keys: every pair of names orders by
// them as lstrcmpA orders it (case, hyphens, digits, accents, blanks).
TEST(NameSortKeys, OrderAsLstrcmpA) {
  const std::vector<std::string> names = {"a",     "A",    "ab",     "a-b",   "a b",    "a_b",  "co-op", "coop",
                                          "co op", "10",   "9",      "file9", "file10", "\xE9", "e",     "E",
                                          "Z",     "z",    "a.txt",  "a~1",   "",       "ae",   "\xE6",  "b's"};
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const std::string& x : names)
    for (const std::string& y : names)
      EXPECT_EQ(sign(NameSortKey(x).compare(NameSortKey(y))), sign(lstrcmpA(x.c_str(), y.c_str())))
          << "\"" << x << "\" and \"" << y << "\"";
}

}  // namespace
}  // namespace foldwick
