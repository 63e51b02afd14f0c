#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"
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

// What a run leaves behind: the table and every mark's flag.
struct Outcome {
  std::vector<ConnectionRecord> table;
  std::vector<int16_t> connected;
};

Outcome Observe(const AnalysisState& s) {
  Outcome outcome{{s.Connections.begin(), s.Connections.begin() + s.ConnectionCount}, {}};
  for (int n = 1; n <= s.MarkCount; ++n) outcome.connected.push_back(s.Mark(n).Connected);
  return outcome;
}

// The rule as it reads: for each trace, every mark of its channel against every mark of the
// next trace's channel, in store order.
Outcome ConnectPlainly(const AnalysisState& s) {
  Outcome outcome = Observe(s);
  const std::vector<MarkRecord> marks(s.Marks.begin(), s.Marks.begin() + s.MarkCount);
  const int64_t begin = s.CurBegin, end = begin + s.CurWindow;
  const auto inWindow = [&](const MarkRecord& m) { return m.Time >= begin && m.Time <= end; };
  for (int trace = 1; trace < s.NrTraces; ++trace) {
    const int32_t c = TraceChannel(s, trace), n = TraceChannel(s, trace + 1);
    if (c == kNoValue || n == kNoValue || s.ChannelValid[size_t(c - 1)] == kNoValue) continue;
    for (size_t m = 0; m < marks.size(); ++m) {
      const MarkRecord& from = marks[m];
      if (from.Electrode != c || outcome.connected[m] != 0 || !inWindow(from)) continue;
      for (size_t k = 0; k < marks.size() && outcome.connected[m] == 0; ++k) {
        const MarkRecord& to = marks[k];
        if (to.Electrode != n || !inWindow(to) || std::abs(from.Time - to.Time) >= s.ConnectMaxDiff) continue;
        outcome.connected[m] = 1;
        if (outcome.table.size() + 1 < size_t(kConnectionSlots))
          outcome.table.push_back({c, from.Time, n, to.Time, int16_t(from.Time < to.Time ? 1 : -1)});
      }
    }
  }
  return outcome;
}

// A store as the workbench may hold it: hidden and deleted marks, all kinds, marks already
// connected by an earlier run, channels without marks, and times that rise per channel (as
// automatic marking leaves them) or come in any order (as clicks do).
void FillRandomStore(AnalysisState& s, std::mt19937& random, bool rising) {
  static const int16_t kinds[] = {kReferenceMark, kSlowWave, kSpike, kType3};
  s.MarkCount = 0;
  const int marks = int(random() % 400);
  const uint16_t emptyChannel = uint16_t(20 + random() % 5);
  for (int n = 0; n < marks; ++n) {
    MarkRecord& mark = s.Mark(++s.MarkCount);
    mark = MarkRecord{};
    mark.Electrode = uint16_t(20 + random() % 6);  // channel 25 is on no trace
    if (mark.Electrode == emptyChannel) mark.Electrode = 25;
    mark.Kind = kinds[random() % 4];
    mark.Time = rising ? n * 60 + int32_t(random() % 60) : int32_t(random() % 25000);
    mark.Visible = int16_t(random() % 4 != 0);
    mark.Connected = int16_t(random() % 8 == 0);
    if (random() % 10 == 0) {
      mark.Kind = int16_t(kNoValue);
      mark.Time = kNoValue;
    }
  }
}

// Sequential order, and a free order that repeats a channel, holds empty traces and a trace
// whose channel is marked invalid.
void ChooseRandomTraces(AnalysisState& s, std::mt19937& random) {
  s.ChannelValid.fill(1);
  s.FreeOrderList.fill(kNoValue);
  if (random() % 2 == 0) {
    s.TraceOrder = 0;
    s.FirstChannel = 20;
    s.NrTraces = 5;
    return;
  }
  s.TraceOrder = 3;
  s.NrTraces = 8;
  for (int trace = 0; trace < s.NrTraces; ++trace)
    if (random() % 5 != 0) s.FreeOrderList[size_t(trace)] = 20 + int32_t(random() % 5);
  s.ChannelValid[size_t(20 + random() % 5 - 1)] = kNoValue;
}

TEST_F(ConnectionMakingTest, GivesWhatComparingEveryPairGives) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    ChooseRandomTraces(*s, random);
    FillRandomStore(*s, random, round % 2 == 0);
    s->CurBegin = int32_t(random() % 3000);
    s->CurWindow = int32_t(random() % 25000);
    // Now and then the table fills up during the run.
    s->ConnectionCount = round % 5 == 0 ? kMaxConnections - int32_t(random() % 20) : 0;
    const Outcome expected = ConnectPlainly(*s);
    maker.MakeConnections(*s);
    const Outcome made = Observe(*s);
    EXPECT_EQ(made.table, expected.table);
    EXPECT_EQ(made.connected, expected.connected);
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
