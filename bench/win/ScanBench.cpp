// Scans one folder with the analyser's scan engine and prints what it counted
// and how long the scan took: scan_bench.exe PATH
#include <windows.h>

#include <cstdio>
#include <cstdint>

#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/Scan.h"
#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"

namespace {

struct TCount {
  std::int64_t folders = 0;
  std::int64_t files = 0;
};

void CountNodes(classlib::TTreeNode* node, TCount& count) {
  foldwick::TFolderData* data = foldwick::NodeData(node);
  if (data == nullptr || data->IsFilesNode) return;
  count.folders += 1;
  count.files += data->Counts.OwnTotals().objects;
  for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) CountNodes(c, count);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: scan_bench PATH\n");
    return 2;
  }
  classlib::Application();
  foldwick::ViewSettings().ShowFiles = false;
  classlib::TForm form(nullptr, "scan bench");
  auto* tree = new classlib::TTreeView(&form, &form);
  foldwick::TScanEngine engine(*tree);
  foldwick::TIdList list = foldwick::PathToPIDL(nullptr, argv[1]);
  if (!list) {
    std::fprintf(stderr, "scan_bench: cannot find %s\n", argv[1]);
    return 1;
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  engine.ScanPath(list.get());
  foldwick::TScanRoot& root = *engine.Roots().front();
  while (root.runningScan != nullptr) classlib::Application().HandleMessage();
  QueryPerformanceCounter(&end);

  TCount count;
  CountNodes(root.rootNode, count);
  const foldwick::TFolderTotals totals = foldwick::NodeData(root.rootNode)->Counts.Totals();
  const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("files %lld folders %lld bytes %lld objects %lld seconds %.2f\n", static_cast<long long>(count.files),
              static_cast<long long>(count.folders), static_cast<long long>(totals.bytes),
              static_cast<long long>(totals.objects), seconds);
  return totals.objects == count.files + count.folders ? 0 : 1;
}
