#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "input/SampleFront.h"
#include "input/SampleRecording.h"
#include "maps/MapDrawing.h"
#include "maps/VelocityCalculation.h"

namespace velmora {
namespace {

SampleSettings Radial() {
  SampleSettings s;
  s.front = SampleSettings::Front::Radial;
  s.seconds = 25;  // one wave
  return s;
}

const Activation& At(const std::vector<Activation>& all, int col, int row) {
  for (const Activation& a : all)
    if (a.col == col && a.row == row && a.wave == 0) return a;
  throw std::runtime_error("no activation at " + std::to_string(col) + "," + std::to_string(row));
}

TEST(SampleFrontTest, ARadialFrontSpreadsFromItsSourceAtTheSetSpeed) {
  const SampleSettings s = Radial();
  const SampleFront::Point source = SampleFront::Source(s);
  EXPECT_EQ(source.x, 6.5);  // a third into the 16 x 15 grid, between four electrodes
  EXPECT_EQ(source.y, 5.5);
  const std::vector<Activation> all = SampleRecording::ActivationTimes(s);
  // 4 mm spacing at 8 mm/s: 500 ms per spacing of distance from the source.
  const double near = std::hypot(0.5, 0.5), far = std::hypot(16 - 6.5, 15 - 5.5);
  EXPECT_NEAR(At(all, 16, 15).exactMs - At(all, 7, 6).exactMs, (far - near) * 500, 1e-9);
  EXPECT_EQ(At(all, 16, 15).timeMs, std::lround(At(all, 16, 15).exactMs));
  // Directions point away from the source, counted as the arrows are: right 0, down the rows
  // 270, up-left 135.
  EXPECT_NEAR(SampleFront::TrueMotion(s, 10.5, 5.5).directionDeg, 0, 1e-9);
  EXPECT_NEAR(SampleFront::TrueMotion(s, 6.5, 9).directionDeg, 270, 1e-9);
  EXPECT_NEAR(SampleFront::TrueMotion(s, 4.5, 3.5).directionDeg, 135, 1e-9);
  EXPECT_EQ(SampleFront::TrueMotion(s, 1, 1).speedMmPerS, 8);
}

double AngleBetween(double a, double b) {
  const double d = std::fmod(std::abs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// What a user compares: the direction of each arrow the map draws over the recorded times
// with the truth file's direction of the front at the arrow's square.
TEST(SampleFrontTest, TheMapsArrowsPointWhereTheTruthSays) {
  const struct {
    SampleSettings::Front front;
    double direction;
    double worstError;  // degrees; a radial front curves within the squares near its source
  } cases[] = {{SampleSettings::Front::Planar, 30, 3},
               {SampleSettings::Front::Planar, 200, 3},
               {SampleSettings::Front::Planar, 300, 3},
               {SampleSettings::Front::Radial, 0, 5}};
  auto s = std::make_unique<AnalysisState>();
  SetDefaults(*s);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.direction);
    SampleSettings settings = Radial();
    settings.front = c.front;
    settings.directionDeg = c.direction;
    s->NrCols = settings.cols;
    s->NrRows = settings.rows;
    s->ElectrodeDistance = settings.spacingMm;
    MapDrawing::CalcCellSize(*s, 1000, 1000);
    for (int col = 1; col <= s->NrCols; ++col)
      for (int row = 1; row <= s->NrRows; ++row) s->Cell(col, row).Value = kNoValue;
    for (const Activation& a : SampleRecording::ActivationTimes(settings))
      if (a.wave == 0) s->Cell(a.col, a.row).Value = a.timeMs;
    ASSERT_GT(VelocityCalculation::CalcVelocities(*s), 100);
    for (int col = 1; col < s->NrCols; ++col) {
      for (int row = 1; row < s->NrRows; ++row) {
        const VelocityCell& arrow = s->Square(col, row);
        if (arrow.Speed == kNoValue) continue;
        const double truth = SampleFront::TrueMotion(settings, col + 0.5, row + 0.5).directionDeg;
        ASSERT_LE(AngleBetween(arrow.Direction, truth), c.worstError) << col << "," << row;
      }
    }
  }
}

TEST(SampleFrontTest, JitterMovesEachActivationReproduciblyWithinThreeSds) {
  SampleSettings s = Radial();
  s.jitterMs = 5;
  s.deadElectrodes = 10;
  const std::vector<Activation> first = SampleRecording::ActivationTimes(s);
  const std::vector<Activation> again = SampleRecording::ActivationTimes(s);
  EXPECT_EQ(first.size(), size_t(16 * 15 - 10));
  EXPECT_EQ(SampleRecording::DeadChannels(s).size(), 10u);
  double sumOfSquares = 0;
  for (size_t n = 0; n < first.size(); ++n) {
    EXPECT_EQ(first[n].timeMs, again[n].timeMs);
    const double noise = first[n].timeMs - first[n].exactMs;
    EXPECT_LE(std::abs(noise), 15.5);
    sumOfSquares += noise * noise;
  }
  // Rounding alone would leave an SD of 0.29 ms.
  EXPECT_NEAR(std::sqrt(sumOfSquares / double(first.size())), 5, 1);
}

TEST(SampleFrontTest, TheTruthFileListsEveryRecordedActivation) {
  SampleSettings s = Radial();
  s.jitterMs = 2;
  const std::vector<Activation> all = SampleRecording::ActivationTimes(s);
  const std::string text = SampleFront::TruthText(s, all, SampleRecording::DeadChannels(s));
  const Activation& a = At(all, 7, 6);
  const std::string line = std::to_string(a.channel) + "\t7\t6\t0\t" + std::to_string(a.exactMs).substr(0, 8) + "\t" +
                           std::to_string(a.timeMs) + "\t8.000\t315.000\n";
  EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_NE(text.find("# source at column 6.5 row 5.5\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora
