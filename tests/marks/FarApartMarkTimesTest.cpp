// A mark file may hold any 32-bit time. Differences of two such times need 33 bits; every
// computation that takes one must stay defined and must not turn a huge gap into a small or
// negative time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "core/RecordingCanvas.h"
#include "maps/MapComputation.h"
#include "maps/MapFixture.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkIntervals.h"
#include "marks/MarkStore.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

class FarApartMarkTimesTest : public testing::MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    Place(17, 1, 1);
    Place(18, 2, 1);
    s->SigLength = 5000;
    s->CurBegin = 0;
    s->CurWindow = 10000;
  }
  // Electrode 17: slow waves at the lowest time and at 1000; electrode 18 the same 500 apart.
  void MarkAFarAndANearPair() {
    AddMark(17, kSlowWave, kLowest);
    farMark = AddMark(17, kSlowWave, 1000);
    AddMark(18, kSlowWave, 500);
    nearMark = AddMark(18, kSlowWave, 1000);
  }
  int farMark = 0, nearMark = 0;
};

TEST_F(FarApartMarkTimesTest, MarksTooFarApartHaveNoInterval) {
  MarkAFarAndANearPair();
  MarkIntervals::CalcMarkIntervals(*s);
  EXPECT_EQ(s->MarkAmplitudes[size_t(farMark - 1)].Interval, kNoValue);
  EXPECT_EQ(s->MarkAmplitudes[size_t(nearMark - 1)].Interval, 500);

  AmplitudeCalculation::CalcAmplitudes(*s);
  EXPECT_EQ(s->MarkAmplitudes[size_t(farMark - 1)].Electrode, 17);
  EXPECT_EQ(s->MarkAmplitudes[size_t(farMark - 1)].Interval, kNoValue);
  EXPECT_EQ(s->MarkAmplitudes[size_t(nearMark - 1)].Interval, 500);

  s->MapBegin = 800;  // the map's interval runs from the earliest mark in its window back
  s->CurMapKind = 3;
  MapComputation::FillMapGrid(*s);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  EXPECT_EQ(At(2, 1).Value, 500);
}

TEST_F(FarApartMarkTimesTest, MarksTooLongAfterTheReferenceHaveNoMapTime) {
  s->ReferenceTime = kLowest;
  s->MapBegin = -2000000000;
  s->MapWindow = 2100000000;
  AddMark(17, kSlowWave, 1000);            // 2,147,484,648 ms after the reference
  AddMark(18, kSlowWave, -2000000000);     // 147,483,648 ms after it
  s->CurMapKind = 0;
  MapComputation::FillMapGrid(*s);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  EXPECT_EQ(At(2, 1).Value, 147483648);
  EXPECT_EQ(s->MapMarkCount, 1);
}

TEST_F(FarApartMarkTimesTest, MarksTooLongAfterTheReferenceStartNoWave) {
  s->ReferenceTime = kLowest;
  AddMark(17, kSlowWave, 1000);
  AddMark(18, kSlowWave, 1010);
  WaveSearch search;
  search.CalculateWaves(*s);
  EXPECT_EQ(s->NrWaves, 0);
}

TEST_F(FarApartMarkTimesTest, TimeLabelShowsTheWholeTimeAfterTheReference) {
  s->ReferenceTime = kLowest;
  RecordingCanvas canvas;
  ElectrogramDrawing(*s, canvas).DrawTimeLabel(10, 20, 17, 1000);
  const auto& lines = canvas.Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("text ", 0) == 0 && line.find("2147484648") != std::string::npos;
  }));
}

TEST_F(FarApartMarkTimesTest, HidingByTimeAfterTheReferenceDoesNotWrapAround) {
  s->ReferenceTime = kLowest;
  AddMark(17, kSlowWave, kHighest);  // 2^32 - 1 after the reference, -1 once wrapped to 32 bits
  EXPECT_EQ(MarkStore::HideMarks(*s, 17, -1), 0);
  EXPECT_EQ(s->Mark(1).Visible, 1);
}

}  // namespace
}  // namespace velmora
