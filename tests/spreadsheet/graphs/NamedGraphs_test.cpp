// The named-graph table of the current document: store, find, use, delete,
// the automatic names, the 50-graph limit and the swap with the slot.
#include "spreadsheet/graphs/NamedGraphs.h"

#include <gtest/gtest.h>

#include "spreadsheet/engine/EngineError.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

class NamedGraphsTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    slot = OpenCurrent("GRAPHS.WKS");
    ASSERT_TRUE(GraphInitDocument());
  }

  // Makes the current graph a recognisable one of `type`.
  void SetCurrentType(int type) {
    TGraphRecord g = CurrentGraph();
    g.SetType(type);
    SetCurrentGraph(g);
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 1; i <= GraphCount(); ++i) names.push_back(GraphName(i));
    return names;
  }

  int slot = 0;
};

TEST_F(NamedGraphsTest, NewDocumentHasFreshCurrentGraphCopiedIntoSlotZero) {
  EXPECT_EQ(GraphCount(), 0);
  EXPECT_EQ(CurrentGraph(), TGraphRecord::Fresh());
  TGraphRecord atZero;
  ASSERT_TRUE(GraphRecordAt(0, atZero));
  EXPECT_EQ(atZero, TGraphRecord::Fresh());
  EXPECT_EQ(TGraphRecord::FromBytes(PoolBlock(gCurrentDoc.graphs[0])), TGraphRecord::Fresh());
  EXPECT_FALSE(GraphRecordAt(1, atZero));
}

TEST_F(NamedGraphsTest, StoreFindUseAndDeleteUnderTheFirstTwelveCharacters) {
  SetCurrentType(kGraphPie);
  EXPECT_EQ(GraphStore("quarterlyresults"), 1);  // 16 characters, lower case
  EXPECT_EQ(GraphName(1), "QUARTERLYRES");
  EXPECT_EQ(CurrentGraph().Name(), "QUARTERLYRES");
  EXPECT_EQ(GraphFind("QUARTERLYRESULTS"), 1);
  EXPECT_EQ(GraphFind("quarterlyres"), 0) << "GraphFind compares case exactly";

  SetCurrentType(kGraphLine);
  EXPECT_EQ(GraphUse("QuarterlyResXYZ"), 1);
  EXPECT_EQ(CurrentGraph().Type(), kGraphPie);

  SetCurrentType(kGraphLine);
  EXPECT_EQ(GraphUse("NOSUCH"), 0);
  EXPECT_EQ(CurrentGraph().Type(), kGraphLine) << "an unknown name changes nothing";
  EXPECT_EQ(GraphDelete("NOSUCH"), 0);
  EXPECT_EQ(GraphCount(), 1);

  EXPECT_EQ(GraphDelete("quarterlyresults"), 1);
  EXPECT_EQ(GraphCount(), 0);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(NamedGraphsTest, StoringTwiceKeepsOneSlotAndTheStoredName) {
  EXPECT_EQ(GraphStore("A"), 1);
  EXPECT_EQ(GraphStore("B"), 2);
  // An unnamed current graph stored over "A": the slot keeps its name.
  TGraphRecord g = TGraphRecord::Fresh();
  g.SetType(kGraphArea);
  SetCurrentGraph(g);
  EXPECT_EQ(GraphStore("A"), 1);
  EXPECT_EQ(GraphCount(), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
  TGraphRecord stored;
  ASSERT_TRUE(GraphRecordAt(1, stored));
  EXPECT_EQ(stored.Type(), kGraphArea);
  EXPECT_EQ(GraphFind("A"), 1);
  EXPECT_EQ(GraphStore(""), 0);
  EXPECT_EQ(GraphCount(), 2);
}

TEST_F(NamedGraphsTest, FiftyGraphsAtMost) {
  for (int i = 1; i <= kMaxNamedGraphs; ++i) ASSERT_EQ(GraphStore("G" + std::to_string(i)), i);
  EXPECT_EQ(GraphStore("G51"), 0);
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(ErrorMessage(), "Named Graphs>50");
  EXPECT_EQ(GraphCount(), kMaxNamedGraphs);
  ClearErrorFlag();
  EXPECT_EQ(GraphStore("G17"), 17) << "an existing name is still stored at 50";
  EXPECT_FALSE(ErrorFlagSet());
  EXPECT_EQ(GraphNewAuto(), -1);
}

TEST_F(NamedGraphsTest, AutomaticNamesTakeTheLowestFreeNumberAtTheEnd) {
  EXPECT_EQ(GraphNewAuto(), 1);
  EXPECT_EQ(GraphNewAuto(), 2);
  EXPECT_EQ(GraphNewAuto(), 3);
  EXPECT_EQ(GraphDelete("graph2"), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"GRAPH1", "GRAPH3"}));
  EXPECT_EQ(GraphNewAuto(), 3);
  EXPECT_EQ(Names(), (std::vector<std::string>{"GRAPH1", "GRAPH3", "GRAPH2"}));
}

TEST_F(NamedGraphsTest, DeletingTheFirstKeepsTheOthersInOrder) {
  for (const char* name : {"ONE", "TWO", "THREE"}) {
    SetCurrentType(static_cast<int>(std::string(name).size()));
    GraphStore(name);
  }
  EXPECT_EQ(GraphDelete("one"), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"TWO", "THREE"}));
  TGraphRecord g;
  ASSERT_TRUE(GraphRecordAt(2, g));
  EXPECT_EQ(g.Type(), 5);
  EXPECT_EQ(gCurrentDoc.graphs[3], kNilHandle);
}

TEST_F(NamedGraphsTest, FullPoolRefusesANewGraphAndKeepsTheTable) {
  GraphStore("KEEP");
  PoolSetOwner(kNoOwner);  // no owner: the pool hands out nothing
  EXPECT_EQ(GraphStore("NEW"), 0);
  EXPECT_EQ(ErrorMessage(), kOutOfMemoryText);
  EXPECT_EQ(Names(), (std::vector<std::string>{"KEEP"}));
}

TEST_F(NamedGraphsTest, GraphsFollowTheirDocumentThroughActivation) {
  SetCurrentType(kGraphRadar);
  GraphStore("FIRST");
  int other = OpenCurrent("OTHER.WKS");
  ASSERT_TRUE(GraphInitDocument());
  EXPECT_EQ(GraphCount(), 0);
  EXPECT_EQ(CurrentGraph().Type(), kGraphXy);
  SetCurrentType(kGraphPolar);

  ASSERT_TRUE(ActivateDocumentContext(slot));
  EXPECT_EQ(Names(), (std::vector<std::string>{"FIRST"}));
  EXPECT_EQ(CurrentGraph().Type(), kGraphRadar);
  ASSERT_TRUE(ActivateDocumentContext(other));
  EXPECT_EQ(GraphCount(), 0);
  EXPECT_EQ(CurrentGraph().Type(), kGraphPolar);
}

}  // namespace
}  // namespace corvane
