#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/ConnectionMaking.h"
#include "marks/MarkFile.h"
#include "marks/MarkStore.h"

namespace velmora {
namespace {

using Mark = std::pair<int32_t, int32_t>;  // channel, time

class ConnectionMakingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->TraceOrder = 0;  // sequential: trace 1 shows channel 20, trace 2 channel 21
    s->FirstChannel = 20;
    s->NrTraces = 2;
    s->CurBegin = 0;
    s->CurWindow = 10000;
  }
  void Add(const std::vector<Mark>& marks) {
    for (const auto& [channel, time] : marks) {
      s->PointerChannel = channel;
      MarkStore::AddMarkRecord(*s, time, kSlowWave);
    }
  }
  std::vector<ConnectionRecord> Table() const {
    return {s->Connections.begin(), s->Connections.begin() + s->ConnectionCount};
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  ConnectionMaking maker;  // one for all runs of a test, as the workbench keeps one
};

TEST_F(ConnectionMakingTest, AMarkConnectsOnceToTheFirstPartnerAndASecondRunAddsNothing) {
  Add({{20, 1000}, {21, 1500}, {21, 1800}});
  EXPECT_EQ(maker.MakeConnections(*s), 1);
  EXPECT_EQ(Table(), (std::vector<ConnectionRecord>{{20, 1000, 21, 1500, 1}}));
  EXPECT_TRUE(s->ConnectionsChanged);
  EXPECT_EQ(s->Mark(1).Connected, 1);
  EXPECT_EQ(maker.MakeConnections(*s), 0);
  EXPECT_EQ(s->ConnectionCount, 1);
}

// Each case: the marks in store order and the records a run makes.
TEST_F(ConnectionMakingTest, PartnersDistancesAndDirections) {
  struct Case {
    const char* name;
    std::vector<Mark> marks;
    std::vector<ConnectionRecord> expected;
  };
  const std::vector<Case> cases = {
      {"3000 apart is too far", {{20, 1000}, {21, 4000}}, {}},
      {"2999 apart connects", {{20, 1000}, {21, 3999}}, {{20, 1000, 21, 3999, 1}}},
      {"equal times point back", {{20, 1000}, {21, 1000}}, {{20, 1000, 21, 1000, -1}}},
      {"an earlier partner points back", {{20, 1000}, {21, 700}}, {{20, 1000, 21, 700, -1}}},
      {"the first partner in store order wins, not the nearest",
       {{21, 2500}, {21, 1100}, {20, 1000}}, {{20, 1000, 21, 2500, 1}}},
      {"marks going back in time find their partners again",
       {{21, 900}, {21, 4800}, {20, 5000}, {20, 1000}}, {{20, 5000, 21, 4800, -1}, {20, 1000, 21, 900, -1}}},
      {"a partner may take several marks", {{20, 1000}, {20, 1200}, {21, 1100}},
       {{20, 1000, 21, 1100, 1}, {20, 1200, 21, 1100, -1}}},
      {"the window ends are included", {{20, 0}, {21, 5}, {20, 10000}, {21, 9999}},
       {{20, 0, 21, 5, 1}, {20, 10000, 21, 9999, -1}}},
      {"a partner outside the window is not taken", {{20, 9000}, {21, 10001}}, {}},
      {"the last trace connects to nothing", {{21, 1000}, {22, 1000}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s = std::make_unique<AnalysisState>();
    SetUp();
    Add(c.marks);
    maker.MakeConnections(*s);
    EXPECT_EQ(Table(), c.expected);
  }
}

// The rule as it reads: every mark of a trace against every mark of the next, in store order.
std::vector<ConnectionRecord> ConnectPlainly(const AnalysisState& s, std::vector<MarkRecord> marks) {
  std::vector<ConnectionRecord> made;
  const int64_t begin = s.CurBegin, end = begin + s.CurWindow;
  for (int32_t c = s.FirstChannel; c < s.FirstChannel + s.NrTraces - 1; ++c) {
    for (MarkRecord& from : marks) {
      if (from.Electrode != c || from.Connected || from.Time < begin || from.Time > end) continue;
      for (size_t k = 0; k < marks.size() && !from.Connected; ++k) {
        const MarkRecord& to = marks[k];
        if (to.Electrode != c + 1 || to.Time < begin || to.Time > end) continue;
        if (std::abs(from.Time - to.Time) >= s.ConnectMaxDiff) continue;
        from.Connected = 1;
        made.push_back({c, from.Time, c + 1, to.Time, int16_t(from.Time < to.Time ? 1 : -1)});
      }
    }
  }
  return made;
}

TEST_F(ConnectionMakingTest, GivesWhatComparingEveryPairGives) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    s->MarkCount = 0;
    s->ConnectionCount = 0;
    s->NrTraces = 4;
    s->CurBegin = int32_t(random() % 3000);
    s->CurWindow = int32_t(random() % 20000);
    const bool rising = round % 2 == 0;  // automatic marking leaves times rising per channel
    for (int n = 0; n < 200; ++n) {
      const int32_t channel = 20 + int32_t(random() % 4);
      Add({{channel, rising ? n * 100 + int32_t(random() % 100) : int32_t(random() % 25000)}});
    }
    const std::vector<MarkRecord> marks(s->Marks.begin(), s->Marks.begin() + s->MarkCount);
    maker.MakeConnections(*s);
    EXPECT_EQ(Table(), ConnectPlainly(*s, marks));
  }
}

TEST_F(ConnectionMakingTest, DeletedMarksAndNonElectrodeChannelsAreLeftOut) {
  Add({{20, 1000}, {21, 1500}});
  s->Mark(2).Kind = int16_t(kNoValue);
  s->Mark(2).Time = kNoValue;
  EXPECT_EQ(maker.MakeConnections(*s), 0);
  s = std::make_unique<AnalysisState>();
  SetUp();
  s->FirstChannel = 15;  // channels 15 and 16 carry no electrode
  Add({{15, 1000}, {16, 1500}});
  EXPECT_EQ(maker.MakeConnections(*s), 0);
}

TEST_F(ConnectionMakingTest, TracesWithoutAChannelAreSkipped) {
  s->TraceOrder = 3;
  s->NrTraces = 4;
  s->FreeOrderList.fill(kNoValue);
  s->FreeOrderList[1] = 20;
  s->FreeOrderList[2] = 21;
  s->FreeOrderCount = 3;
  Add({{20, 1000}, {21, 1500}});
  EXPECT_EQ(maker.MakeConnections(*s), 1);
  EXPECT_EQ(Table(), (std::vector<ConnectionRecord>{{20, 1000, 21, 1500, 1}}));
}

TEST_F(ConnectionMakingTest, AFullTableStillFlagsTheMark) {
  s->ConnectionCount = kMaxConnections;
  Add({{20, 1000}, {21, 1500}});
  EXPECT_EQ(maker.MakeConnections(*s), 0);
  EXPECT_EQ(s->ConnectionCount, kMaxConnections);
  EXPECT_FALSE(s->ConnectionsChanged);
  EXPECT_EQ(s->Mark(1).Connected, 1);
}

// The flag belongs to the mark, not to the slot: a slot that gets another mark, by adding or by
// reading a mark file, starts unconnected.
TEST_F(ConnectionMakingTest, ANewMarkInAnOldSlotIsConnectedAgain) {
  Add({{20, 1000}, {21, 1500}});
  maker.MakeConnections(*s);
  s->MarkCount = 0;
  Add({{20, 2000}, {21, 2500}});
  EXPECT_EQ(maker.MakeConnections(*s), 1);

  MarkFileContents contents;
  contents.header.assign(4096, 0);
  MarkRecord mark;
  mark.Electrode = 20;
  mark.Kind = kSlowWave;
  mark.Time = 2000;
  contents.records = {mark};
  mark.Electrode = 21;
  mark.Time = 2600;
  contents.records.push_back(mark);
  ApplyMarkFile(*s, contents);
  EXPECT_EQ(maker.MakeConnections(*s), 1);
  EXPECT_EQ(s->Connection(s->ConnectionCount), (ConnectionRecord{20, 2000, 21, 2600, 1}));
}

}  // namespace
}  // namespace velmora
