#include "input/SampleFront.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <fmt/format.h>

#include "input/SampleImpairments.h"
#include "input/SampleRecording.h"

namespace velmora {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double MsPerCell(const SampleSettings& s) { return s.spacingMm / s.speedMmPerS * 1000.0; }

// The time the front needs from its start to (x, y), in cells' worth of travel.
double Travel(const SampleSettings& s, double x, double y) {
  if (s.front == SampleSettings::Front::Radial) {
    const SampleFront::Point source = SampleFront::Source(s);
    return std::hypot(x - source.x, y - source.y);
  }
  // Rows grow down the screen, against the direction's 90.
  const double angle = s.directionDeg * std::numbers::pi / 180.0;
  return (x - 1) * std::cos(angle) - (y - 1) * std::sin(angle);
}

}  // namespace

SampleFront::Point SampleFront::Source(const SampleSettings& s) {
  return {std::floor((s.cols + 2) / 3.0) + 0.5, std::floor((s.rows + 2) / 3.0) + 0.5};
}

std::vector<double> SampleFront::CellOffsets(const SampleSettings& s) {
  std::vector<double> offsets;
  for (int row = 1; row <= s.rows; ++row)
    for (int col = 1; col <= s.cols; ++col) offsets.push_back(Travel(s, col, row) * MsPerCell(s));
  const double earliest = *std::min_element(offsets.begin(), offsets.end());
  for (double& offset : offsets) offset -= earliest;
  return offsets;
}

SampleFront::Motion SampleFront::TrueMotion(const SampleSettings& s, double x, double y) {
  if (s.front == SampleSettings::Front::Planar) return {s.speedMmPerS, s.directionDeg};
  const Point source = Source(s);
  double direction = std::atan2(source.y - y, x - source.x) * kDegrees;
  if (direction < 0) direction += 360;
  return {s.speedMmPerS, direction};
}

std::string SampleFront::TruthText(const SampleSettings& s, const std::vector<Activation>& recorded,
                                   const std::vector<int>& deadChannels) {
  const bool radial = s.front == SampleSettings::Front::Radial;
  std::string text = fmt::format("# sample truth: {} front, {} mm/s, {} mm spacing, timing noise SD {} ms, seed {}\n",
                                 radial ? "radial" : "planar", s.speedMmPerS, s.spacingMm, s.jitterMs, s.seed);
  if (radial) {
    text += fmt::format("# source at column {} row {}\n", Source(s).x, Source(s).y);
  } else {
    text += fmt::format("# direction {} degrees\n", s.directionDeg);
  }
  text += "# directions counter-clockwise as the map's arrows: 0 towards increasing columns, 90 up (towards "
          "decreasing rows)\n";
  text += SampleImpairments::TruthLines(s);
  text += "# dead channels:";
  for (const int channel : deadChannels) text += fmt::format(" {}", channel);
  text += "\nchannel\tcol\trow\twave\ttrue_ms\trecorded_ms\tspeed_mm_s\tdirection_deg\n";
  for (const Activation& a : recorded) {
    const Motion m = TrueMotion(s, a.col, a.row);
    text += fmt::format("{}\t{}\t{}\t{}\t{:.3f}\t{}\t{:.3f}\t{:.3f}\n", a.channel, a.col, a.row, a.wave, a.exactMs,
                        a.timeMs, m.speedMmPerS, m.directionDeg);
  }
  return text;
}

}  // namespace velmora
