// Times what freezes the main window on big folders and big open trees, in
// the program's own main window with its detail list shown:
// - the list of a folder of many files: from the selection of its folder
//   until its first rows are painted, and until the list holds every row
//   and is painted: the time the window was
//   busy (the list's own 400 ms deferral before it fills is idle), the longest it
//   was busy at a stretch, and the time until every row was in; beside it a
//   plain listing of the folder, which the file system cannot beat;
// - a click on the list's Size and Name columns, until painted;
// - a change of View (Allocated) and of unit (KB only) with a whole tree
//   open, from the menu command until the tree is painted.
//   list_bench.exe LISTROOT VIEWROOT [RUNS]
// LISTROOT holds one subfolder per list size (rows20000, ...) full of files;
// VIEWROOT a tree of folders. list_bench.sh makes both.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analyser/app/Settings.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/MainForm.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/Scan.h"
#include "classlib/win/Application.h"
#include "classlib/win/Registry.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct TBusy {
  double busy = 0;     // handling messages (waiting for the next one not counted)
  double longest = 0;  // the longest single message
  double elapsed = 0;  // from the start until done, waiting included
  bool done = true;
};

// Handles messages until `done` or `limit` seconds, and then for `settle`
// seconds more, so that what follows at once (a last sort) counts too; the
// time elapsed runs until the last message handled.
template <class Done>
TBusy BusyUntil(Done done, double limit = 600, double settle = 0) {
  const double start = Now();
  TBusy figures;
  double doneAt = 0, lastHandled = start;
  for (;;) {
    if (doneAt == 0 && done()) doneAt = Now();
    if (doneAt != 0 && Now() - doneAt >= settle) break;
    if (Now() - start > limit) {
      figures.done = false;
      break;
    }
    // Messages sent from other threads (a worker's synchronised call) run
    // inside PeekMessage: its time counts as busy too.
    MSG msg;
    const double t = Now();
    const bool posted = PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    if (posted) classlib::Application().HandleMessage();
    const double spent = Now() - t;
    figures.busy += spent;
    figures.longest = std::max(figures.longest, spent);
    // Idle traffic (timers, a caret) is not work: only what took a while
    // moves the end.
    if (spent > 0.002) lastHandled = Now();
    if (!posted) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  figures.elapsed = std::max(doneAt, lastHandled) - start;
  return figures;
}

// The plain listing of a folder, as the file system gives it.
double ListingSeconds(const std::string& path) {
  const double start = Now();
  std::size_t count = 0;
  foldwick::ListFolder(foldwick::WideFromUtf8(path), L"*", [&](const WIN32_FIND_DATAW&) {
    ++count;
    return true;
  });
  return count > 0 ? Now() - start : 0;
}

bool Painted(HWND window) { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }

classlib::TTreeNode* ChildNamed(classlib::TTreeNode* node, const std::string& name) {
  for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (foldwick::TFolderData* d = foldwick::NodeData(c); d != nullptr && d->GetFolderName() == name) return c;
  return nullptr;
}

int OpenItems(classlib::TTreeNode* node) {
  int count = 1;
  if (node->Expanded())
    for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) count += OpenItems(c);
  return count;
}

// The command id of the first menu item whose text, without its letter's
// mark, is `text`; each pop-up is filled as when it opens.
UINT MenuCommand(HWND window, HMENU menu, const std::string& text) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char buffer[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION);
    std::string caption = buffer;
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    if (HMENU sub = GetSubMenu(menu, i)) {
      SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), i);
      if (UINT id = MenuCommand(window, sub, text)) return id;
    } else if (text == caption) {
      return GetMenuItemID(menu, i);
    }
  }
  return 0;
}

foldwick::TScanRoot* ScanAndWait(foldwick::TMainForm& form, const std::string& path) {
  foldwick::TIdList list = foldwick::PathToPIDL(nullptr, path);
  if (!list) return nullptr;
  form.Engine().ScanPath(list.get());
  foldwick::TScanRoot* root = form.Engine().Roots().front().get();
  BusyUntil([&] { return root->runningScan == nullptr; }, 900);
  classlib::Application().ProcessMessages();
  return root;
}

bool ListFigures(foldwick::TMainForm& form, const std::string& path, int runs) {
  foldwick::TScanRoot* root = ScanAndWait(form, path);
  if (root == nullptr) return false;
  foldwick::TExtListView& details = form.Details();
  HWND list = details.Handle();
  for (int rows : {20000, 50000, 200000}) {
    classlib::TTreeNode* node = ChildNamed(root->rootNode, "rows" + std::to_string(rows));
    if (node == nullptr) continue;
    TBusy fill{1e9, 1e9, 1e9};
    double firstShown = 1e9;
    double sizeSort = 1e9, nameSort = 1e9, listing = 1e9;
    for (int run = 0; run < runs; ++run) {
      listing = std::min(listing, ListingSeconds(path + "\\rows" + std::to_string(rows)));
      form.Tree().SetSelected(root->rootNode);
      // The root's list (its "rows..." folders) first, so that the folder's
      // rows are told from those of the one before.
      BusyUntil([&] { return details.Count() > 0 && details.Item(0)->Caption.rfind("rows", 0) == 0 && Painted(list); });
      const double selected = Now();
      double firstRows = 0;
      form.Tree().SetSelected(node);
      const TBusy shown = BusyUntil(
          [&] {
            // The folder holds only files, all named "file...".
            if (firstRows == 0 && details.Count() > 0 && details.Item(0)->Caption.rfind("file", 0) == 0 &&
                Painted(list))
              firstRows = Now() - selected;
            return details.Count() == rows && Painted(list);
          },
          900, 0.5);
      if (!shown.done) {
        std::printf("list %6d rows: not shown within 900 s\n", rows);
        std::fflush(stdout);
        return true;
      }
      fill.busy = std::min(fill.busy, shown.busy);
      fill.longest = std::min(fill.longest, shown.longest);
      fill.elapsed = std::min(fill.elapsed, shown.elapsed);
      firstShown = std::min(firstShown, firstRows);
      double t = Now();
      details.ClickColumn(1, true);
      UpdateWindow(list);
      sizeSort = std::min(sizeSort, Now() - t);
      t = Now();
      details.ClickColumn(0, true);
      UpdateWindow(list);
      nameSort = std::min(nameSort, Now() - t);
    }
    std::printf("list %6d rows: first rows shown after %.2f s, fill+show %.2f s busy (longest %.2f s), "
                "all rows in after %.2f s (the folder's plain listing %.2f s); sort by size %.2f s, by name %.2f s\n",
                rows, firstShown, fill.busy, fill.longest, fill.elapsed, listing, sizeSort, nameSort);
    std::fflush(stdout);
  }
  form.Engine().RemoveRoot(*root);
  classlib::Application().ProcessMessages();
  return true;
}

bool ViewFigures(foldwick::TMainForm& form, const std::string& path, int runs) {
  foldwick::TScanRoot* root = ScanAndWait(form, path);
  if (root == nullptr) return false;
  root->rootNode->Expand(true);
  classlib::Application().ProcessMessages();
  const int open = OpenItems(root->rootNode);
  HWND tree = form.Tree().Handle();
  HMENU menu = GetMenu(form.Handle());
  struct TChange {
    const char* what;
    const char* item;
    const char* back;
  };
  for (const TChange& change : {TChange{"view Allocated", "Allocated", "Size"},
                                TChange{"unit KB only", "KB only", "MB only"}}) {
    const UINT to = MenuCommand(form.Handle(), menu, change.item), from = MenuCommand(form.Handle(), menu, change.back);
    if (to == 0 || from == 0) {
      std::printf("%s: no menu item\n", change.what);
      continue;
    }
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
      for (UINT command : {to, from}) {
        const double t = Now();
        SendMessageA(form.Handle(), WM_COMMAND, command, 0);
        UpdateWindow(tree);
        best = std::min(best, Now() - t);
        classlib::Application().ProcessMessages();
      }
    }
    std::printf("%s over %d open items: %.2f s\n", change.what, open, best);
    std::fflush(stdout);
  }
  form.Engine().RemoveRoot(*root);
  classlib::Application().ProcessMessages();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: list_bench LISTROOT VIEWROOT [RUNS]\n");
    return 2;
  }
  const int runs = argc == 4 ? std::max(std::atoi(argv[3]), 1) : 3;
  classlib::TRegistry registry;
  if (registry.OpenKey(std::string("\\") + foldwick::kSettingsKey, true)) registry.WriteString("Charttype", "8");
  registry.CloseKey();
  classlib::Application();
  auto form = std::make_unique<foldwick::TMainForm>(std::vector<std::string>{});
  form->Show();
  classlib::Application().ProcessMessages();
  const bool listed = ListFigures(*form, argv[1], runs);
  const bool viewed = ViewFigures(*form, argv[2], runs);
  form.reset();
  return listed && viewed ? 0 : 1;
}
