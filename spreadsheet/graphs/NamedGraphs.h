// The current document's graphs: the current graph record (the working copy in
// the document context) and up to 50 named graphs, each a copy of a graph
// record in a pool block of the document. Slot 0 of the graph table is the
// stored copy of the current graph; slots 1..count hold the named graphs in the
// order they were created, each named by its record's name field.
//
// Names are at most 12 characters: a longer name is cut to its first 12 before
// any lookup. Failures set the engine's error flag (EngineError.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane {

inline constexpr int kMaxNamedGraphs = 50;

// A copy of the current graph record, and its replacement.
TGraphRecord CurrentGraph();
void SetCurrentGraph(const TGraphRecord& graph);

// Number of named graphs (0..50), and the name of graph `index` (1..count;
// empty outside).
int GraphCount();
std::string GraphName(int index);

// The graph that drawing by index uses: 0 is the current graph, 1..count a
// named graph. False, leaving `graph` as it was, for any other index.
bool GraphRecordAt(int index, TGraphRecord& graph);
// Replaces the graph GraphRecordAt reads at `index` (its name as given);
// false, changing nothing, for any other index.
bool SetGraphRecordAt(int index, const TGraphRecord& graph);

// The index (1..count) of the first named graph whose name equals `name` cut
// to 12 characters, byte for byte (case counts); 0 when none.
int GraphFind(std::string_view name);

// Stores the current graph under `name` (cut to 12 characters and upper-cased,
// so that GraphUse and GraphDelete reach it): the name is written into the
// current record's name field and the whole record is copied into the named
// graph's slot, a new one appended at the end unless the name exists. Returns
// the slot's index; 0 for an empty name, when 50 graphs exist already and the
// name is new (error "Named Graphs>50"), or when the pool refuses the block
// ("Out of Memory"); the table is then unchanged.
int GraphStore(std::string_view name);

// Upper-cases `name` and, when such a graph exists, copies it whole into the
// current graph. Its index, or 0 with nothing changed.
int GraphUse(std::string_view name);

// Stores the current graph under the first of "GRAPH1", "GRAPH2", ... that is
// not taken; its index. -1 when 50 graphs exist, 0 when the store fails.
int GraphNewAuto();

// Upper-cases `name` and removes that graph: its block goes back to the pool
// and the later graphs move down one place, keeping their order. The removed
// index, or 0 when there is no such graph.
int GraphDelete(std::string_view name);

// Copies of the named graphs 1..count, in table order.
std::vector<TGraphRecord> NamedGraphsCopy();
// Makes the named-graph table hold exactly `graphs` (at most 50), in order,
// reusing the blocks the table has and taking the others from the pool. False,
// with "Out of Memory" and the table unchanged, when the pool refuses.
bool RestoreNamedGraphs(const std::vector<TGraphRecord>& graphs);

// Fills the current graph record with the fresh defaults.
void GraphResetCurrent();

// Sets up the graphs of a new worksheet: the current graph reset, every named
// graph removed, and slot 0 a copy of the fresh current graph (its block taken
// from the pool when the document has none yet). False, with "Out of Memory",
// when that block cannot be had.
bool GraphInitDocument();

// Calls `adjust` on every range of the current graph and of each named graph
// (the X range, six series ranges and six data-label ranges) and stores what
// it leaves; for insert, delete and move, which shift stored ranges.
void ForEachGraphRange(const std::function<void(TRange&)>& adjust);

// Makes the graphs' ranges follow inserts, deletes and moves of cells: gives
// ForEachGraphRange to the engine's stored-range walk (AddKeptRangesVisitor,
// InsertDelete.h). The program's start-up calls it once; so do the tests.
void InstallGraphRangeVisitor();

}  // namespace corvane
