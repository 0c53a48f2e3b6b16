// The current graph and the named-graph table of the current document.
#include "spreadsheet/graphs/NamedGraphs.h"

#include <algorithm>
#include <cstring>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {

std::string_view CutName(std::string_view name) { return name.substr(0, kGraphNameChars); }

// The record of named graph `index` (1..count); it must exist.
TGraphRecord StoredGraph(int index) { return TGraphRecord::FromBytes(PoolBlock(gCurrentDoc.graphs[index])); }

}  // namespace

TGraphRecord CurrentGraph() { return TGraphRecord::FromBytes(gCurrentDoc.currentGraph); }

void SetCurrentGraph(const TGraphRecord& graph) { graph.ToBytes(gCurrentDoc.currentGraph); }

int GraphCount() { return gCurrentDoc.graphCount; }

std::string GraphName(int index) {
  if (index < 1 || index > GraphCount()) return "";
  return StoredGraph(index).Name();
}

bool GraphRecordAt(int index, TGraphRecord& graph) {
  if (index == 0) {
    graph = CurrentGraph();
    return true;
  }
  if (index < 1 || index > GraphCount()) return false;
  graph = StoredGraph(index);
  return true;
}

bool SetGraphRecordAt(int index, const TGraphRecord& graph) {
  if (index == 0) {
    SetCurrentGraph(graph);
    return true;
  }
  if (index < 1 || index > GraphCount()) return false;
  graph.ToBytes(PoolBlock(gCurrentDoc.graphs[index]));
  return true;
}

int GraphFind(std::string_view name) {
  std::string_view key = CutName(name);
  for (int index = 1; index <= GraphCount(); ++index)
    if (StoredGraph(index).Name() == key) return index;
  return 0;
}

int GraphStore(std::string_view name) {
  std::string key = UpperCaseText(CutName(name));
  if (key.empty()) return 0;
  int index = GraphFind(key);
  if (index == 0) {
    if (GraphCount() >= kMaxNamedGraphs) {
      SetErrorFlag("Named Graphs>" + std::to_string(kMaxNamedGraphs));
      return 0;
    }
    TPoolHandle block = PoolAlloc(kGraphRecordBytes);
    if (block == kNilHandle) {
      SetOutOfMemoryError();
      return 0;
    }
    index = ++gCurrentDoc.graphCount;
    gCurrentDoc.graphs[index] = block;
  }
  // The slot keeps the name it was stored under, even when the current graph
  // had another name (or none) before.
  TGraphRecord graph = CurrentGraph();
  graph.SetName(key);
  SetCurrentGraph(graph);
  graph.ToBytes(PoolBlock(gCurrentDoc.graphs[index]));
  return index;
}

int GraphUse(std::string_view name) {
  int index = GraphFind(UpperCaseText(CutName(name)));
  if (index != 0) SetCurrentGraph(StoredGraph(index));
  return index;
}

int GraphNewAuto() {
  if (GraphCount() >= kMaxNamedGraphs) return -1;
  // At most count + 1 names are tried: count graphs cannot take them all.
  for (int number = 1;; ++number) {
    std::string name = "GRAPH" + std::to_string(number);
    if (GraphFind(name) == 0) return GraphStore(name);
  }
}

int GraphDelete(std::string_view name) {
  int index = GraphFind(UpperCaseText(CutName(name)));
  if (index == 0) return 0;
  PoolFree(gCurrentDoc.graphs[index], kGraphRecordBytes);
  int count = GraphCount();
  for (int i = index; i < count; ++i) gCurrentDoc.graphs[i] = gCurrentDoc.graphs[i + 1];
  gCurrentDoc.graphs[count] = kNilHandle;
  --gCurrentDoc.graphCount;
  return index;
}

std::vector<TGraphRecord> NamedGraphsCopy() {
  std::vector<TGraphRecord> graphs;
  for (int index = 1; index <= GraphCount(); ++index) graphs.push_back(StoredGraph(index));
  return graphs;
}

bool RestoreNamedGraphs(const std::vector<TGraphRecord>& graphs) {
  int wanted = static_cast<int>(std::min<std::size_t>(graphs.size(), kMaxNamedGraphs));
  // Every block is had before anything changes.
  std::vector<TPoolHandle> fresh;
  for (int index = GraphCount() + 1; index <= wanted; ++index) {
    TPoolHandle block = PoolAlloc(kGraphRecordBytes);
    if (block == kNilHandle) {
      for (TPoolHandle taken : fresh) PoolFree(taken, kGraphRecordBytes);
      SetOutOfMemoryError();
      return false;
    }
    fresh.push_back(block);
  }
  for (int index = GraphCount(); index > wanted; --index) {
    PoolFree(gCurrentDoc.graphs[index], kGraphRecordBytes);
    gCurrentDoc.graphs[index] = kNilHandle;
  }
  for (std::size_t i = 0; i < fresh.size(); ++i) gCurrentDoc.graphs[GraphCount() + 1 + static_cast<int>(i)] = fresh[i];
  gCurrentDoc.graphCount = static_cast<std::uint8_t>(wanted);
  for (int index = 1; index <= wanted; ++index)
    graphs[static_cast<std::size_t>(index - 1)].ToBytes(PoolBlock(gCurrentDoc.graphs[index]));
  return true;
}

void GraphResetCurrent() { SetCurrentGraph(TGraphRecord::Fresh()); }

bool GraphInitDocument() {
  GraphResetCurrent();
  for (int index = GraphCount(); index >= 1; --index) {
    PoolFree(gCurrentDoc.graphs[index], kGraphRecordBytes);
    gCurrentDoc.graphs[index] = kNilHandle;
  }
  gCurrentDoc.graphCount = 0;
  if (gCurrentDoc.graphs[0] == kNilHandle) gCurrentDoc.graphs[0] = PoolAlloc(kGraphRecordBytes);
  if (gCurrentDoc.graphs[0] == kNilHandle) {
    SetOutOfMemoryError();
    return false;
  }
  std::memcpy(PoolBlock(gCurrentDoc.graphs[0]), gCurrentDoc.currentGraph, kGraphRecordBytes);
  return true;
}

namespace {

void AdjustGraphRanges(TGraphRecord& graph, const std::function<void(TRange&)>& adjust) {
  TRange range = graph.XRange();
  adjust(range);
  graph.SetXRange(range);
  for (int series = 1; series <= kGraphSeries; ++series) {
    range = graph.SeriesRange(series);
    adjust(range);
    graph.SetSeriesRange(series, range);
    range = graph.LabelRange(series);
    adjust(range);
    graph.SetLabelRange(series, range);
  }
}

}  // namespace

void ForEachGraphRange(const std::function<void(TRange&)>& adjust) {
  TGraphRecord current = CurrentGraph();
  AdjustGraphRanges(current, adjust);
  SetCurrentGraph(current);
  for (int index = 1; index <= GraphCount(); ++index) {
    TGraphRecord graph = StoredGraph(index);
    AdjustGraphRanges(graph, adjust);
    graph.ToBytes(PoolBlock(gCurrentDoc.graphs[index]));
  }
}

void InstallGraphRangeVisitor() { AddKeptRangesVisitor(ForEachGraphRange); }

}  // namespace corvane
