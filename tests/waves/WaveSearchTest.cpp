#include "waves/WaveSearch.h"

#include <gtest/gtest.h>

#include <random>

#include "maps/MapFixture.h"
#include "waves/NaiveWaveSearch.h"

namespace velmora::testing {
namespace {

// A row of four electrodes over two rows (channels 17..24, column outer).
class WaveSearchTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->NrCols = 4;
    s->NrRows = 2;
    for (int col = 1; col <= 4; ++col)
      for (int row = 1; row <= 2; ++row) Place(Channel(col, row), col, row);
  }
  static int Channel(int col, int row) { return 16 + (col - 1) * 2 + row; }
  int Calculate() {
    search.CalculateWaves(*s);
    return s->NrWaves;
  }
  int32_t Time(int col, int row, int wave) const { return search.WaveTime(Channel(col, row), wave); }

  WaveSearch search;
};

TEST_F(WaveSearchTest, MarksWithinTheDifferenceOfTheirNeighbourFormOneWave) {
  AddMark(Channel(1, 1), kSlowWave, 1000);
  AddMark(Channel(2, 1), kSlowWave, 1300);
  AddMark(Channel(3, 1), kSlowWave, 1700);
  AddMark(Channel(4, 2), kSlowWave, 2200);  // 500 after its only marked neighbour
  ASSERT_EQ(Calculate(), 2);
  EXPECT_EQ(Time(1, 1, 1), 1000);
  EXPECT_EQ(Time(2, 1, 1), 1300);
  EXPECT_EQ(Time(3, 1, 1), 1700);
  EXPECT_EQ(Time(4, 2, 1), kNoValue);
  EXPECT_EQ(Time(4, 2, 2), 2200);
}

TEST_F(WaveSearchTest, DifferenceBoundIsExclusive) {
  struct Case { int gap; bool joins; };
  for (const Case c : {Case{499, true}, Case{500, false}, Case{-499, true}, Case{-500, false}}) {
    SCOPED_TRACE(c.gap);
    s->MarkCount = 0;
    AddMark(Channel(1, 1), kSlowWave, 2000);
    AddMark(Channel(2, 1), kSlowWave, 2000 + c.gap);
    const int front = c.gap < 0 ? 2 : 1;  // the earlier mark starts the wave
    ASSERT_EQ(Calculate(), c.joins ? 1 : 2);
    EXPECT_EQ(Time(front == 1 ? 2 : 1, 1, 1) != kNoValue, c.joins);
  }
}

TEST_F(WaveSearchTest, EqualDistancesGoToTheFirstSlot) {
  for (const int first : {1300, 1500}) {
    SCOPED_TRACE(first);
    s->MarkCount = 0;
    AddMark(Channel(1, 1), kSlowWave, 1000);
    AddMark(Channel(2, 1), kSlowWave, 1400);
    AddMark(Channel(3, 1), kSlowWave, first);  // 100 from 1400 either way
    AddMark(Channel(3, 1), kSlowWave, 2800 - first);
    ASSERT_EQ(Calculate(), 2);
    EXPECT_EQ(Time(3, 1, 1), first);
    EXPECT_EQ(Time(3, 1, 2), 2800 - first);
  }
}

TEST_F(WaveSearchTest, DiagonalNeighboursJoin) {
  AddMark(Channel(1, 1), kSlowWave, 1000);
  AddMark(Channel(2, 2), kSlowWave, 1200);
  AddMark(Channel(3, 1), kSlowWave, 1400);
  ASSERT_EQ(Calculate(), 1);
  EXPECT_EQ(Time(3, 1, 1), 1400);
}

// A lone early mark, a wave of three sites and one of two: with a smallest wave size the
// smaller waves leave the list and the first wave listed is the first large one.
TEST_F(WaveSearchTest, WavesBelowTheSmallestSizeAreNeitherListedNorNumbered) {
  AddMark(Channel(4, 2), kSlowWave, 500);
  AddMark(Channel(1, 1), kSlowWave, 1000), AddMark(Channel(2, 1), kSlowWave, 1100), AddMark(Channel(3, 1), kSlowWave, 1200);
  AddMark(Channel(1, 2), kSlowWave, 5000), AddMark(Channel(2, 2), kSlowWave, 5100);
  struct Case {
    int minSites, waves;
    int32_t firstWaveStart;  // the earliest site of wave 1, at (1, 1) or (4, 2)
  };
  for (const Case c : {Case{1, 3, 500}, Case{2, 2, 1000}, Case{3, 1, 1000}, Case{4, 0, kNoValue}}) {
    SCOPED_TRACE(c.minSites);
    s->MinSitesPerWave = c.minSites;
    ASSERT_EQ(Calculate(), c.waves);
    EXPECT_EQ(c.minSites == 1 ? Time(4, 2, 1) : Time(1, 1, 1), c.firstWaveStart);
    if (c.waves >= 2) {
      EXPECT_EQ(Time(2, 2, c.waves), 5100);
    }
    EXPECT_EQ(Time(1, 1, c.waves + 1), kNoValue);
  }
}

TEST_F(WaveSearchTest, ChannelsBelowSeventeenAndOtherKindsStayOut) {
  Place(16, 4, 2);  // the lowest channel of a cell speaks for it
  AddMark(16, kSlowWave, 1000);
  AddMark(Channel(4, 2), kSlowWave, 1000);
  AddMark(Channel(1, 1), kSpike, 1000);
  EXPECT_EQ(Calculate(), 0);
}

// A long recording gives a channel hundreds of marks and the grid hundreds of waves: every
// mark takes part, and in a recording long enough for them a late mark starts a wave as an
// early one does.
TEST_F(WaveSearchTest, EveryMarkOfABusyChannelIsUsed) {
  struct Case { int32_t sigLength; int waves; };
  for (const Case c : {Case{65535, 210}, Case{80000, 250}}) {
    SCOPED_TRACE(c.sigLength);
    s->MarkCount = 0;
    s->SigLength = c.sigLength;
    // Latest first, 1,000 ms to 75,700 ms; below 64,000 ms, 210 of them. A recording of
    // the old store's length keeps its 64,000 ms limit.
    for (int i = 0; i < 250; ++i) AddMark(Channel(1, 1), kSlowWave, 1000 + 300 * (249 - i));
    ASSERT_EQ(Calculate(), c.waves);
    EXPECT_EQ(Time(1, 1, 1), 1000);
    EXPECT_EQ(Time(1, 1, c.waves), 1000 + 300 * (c.waves - 1));
  }
}

TEST_F(WaveSearchTest, LateMarksJoinButNeverStartAWave) {
  s->ReferenceTime = 1000;
  AddMark(Channel(1, 1), kSlowWave, 64800);  // 63,800 after the reference
  AddMark(Channel(2, 1), kSlowWave, 65100);
  AddMark(Channel(4, 1), kSlowWave, 65000);  // 64,000: alone, so never in a wave
  AddMark(Channel(4, 2), kSlowWave, 900);    // before the reference
  ASSERT_EQ(Calculate(), 1);
  EXPECT_EQ(Time(2, 1, 1), 64100);
  EXPECT_EQ(Time(4, 1, 1), kNoValue);
  // Where the recording goes on past them, they start waves like any other mark.
  s->SigLength = 600000;
  ASSERT_EQ(Calculate(), 2);
  EXPECT_EQ(Time(4, 1, 2), 64000);
}

// Dense random marks on a 16 x 15 grid with holes, ties in time everywhere and a reference:
// the fast search builds exactly the waves of the full grid scan, which stops at 199 waves
// (the fast one goes on: these recordings hold several hundred).
TEST_F(WaveSearchTest, MatchesTheGridScanOnRandomRecordings) {
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    s->NrCols = 16;
    s->NrRows = 15;
    s->MarkCount = 0;
    s->ReferenceTime = int32_t(random() % 300);
    s->WaveDifference[0] = 200 + int32_t(random() % 400);
    for (int c = 17; c <= 256; ++c) {
      const bool onGrid = random() % 10 != 0;
      PlaceChannel(*s, c, onGrid ? (c - 17) / 15 + 1 : -1, onGrid ? (c - 17) % 15 + 1 : -1);
    }
    for (int i = 0; i < 6000; ++i)
      AddMark(17 + int(random() % 240), random() % 8 ? kSlowWave : kSpike, int32_t(random() % 400) * 50);
    NaiveWaveSearch naive(*s);
    ASSERT_GT(Calculate(), 199);
    search.IniWaveMap(*s);
    search.LoadTim(*s);
    ASSERT_EQ(search.BuildWaves(199), naive.Run());
    for (int c = 17; c <= 256; ++c)
      for (int wave = 1; wave <= 199; ++wave)
        ASSERT_EQ(search.WaveTime(c, wave), naive.WaveTime(c, wave)) << c << " " << wave;
  }
}

}  // namespace
}  // namespace velmora::testing
