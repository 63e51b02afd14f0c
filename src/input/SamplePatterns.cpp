#include "input/SamplePatterns.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include <fmt/format.h>

#include "input/SampleRandom.h"
#include "input/SampleRecording.h"

namespace velmora {

namespace {

using Pattern = SamplePatterns::Pattern;
using Choice = SamplePatterns::Choice;

constexpr double kRadians = std::numbers::pi / 180.0;
// A colliding front starts up to this share of the crossing time before or after the other,
// so the two meet in the middle fifth of the array.
constexpr double kMostCollisionLead = 0.2;
constexpr int kPatterns = 5;

double MsPerCell(const SampleSettings& s) { return s.spacingMm / s.speedMmPerS * 1000.0; }

double Wrapped(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  return d >= 360.0 ? 0.0 : d;
}

// How far (x, y) lies along the direction, in cells from the grid's first cell; up the
// screen is towards decreasing rows.
double Along(double directionDeg, double x, double y) {
  const double a = directionDeg * kRadians;
  return (x - 1) * std::cos(a) - (y - 1) * std::sin(a);
}

// The smallest and largest Along over the grid's corners.
std::pair<double, double> AlongRange(const SampleSettings& s, double directionDeg) {
  double low = 1e300, high = -1e300;
  for (const double x : {1.0, double(s.cols)})
    for (const double y : {1.0, double(s.rows)}) {
      low = std::min(low, Along(directionDeg, x, y));
      high = std::max(high, Along(directionDeg, x, y));
    }
  return {low, high};
}

// The drawn features of one wave: every wave draws all of them from its own stream, so a
// wave's source or patch does not depend on the patterns of the waves before it.
struct WaveFeatures {
  double sourceX = 0, sourceY = 0;  // ectopic source, between four electrodes
  double collisionLead = 0;         // retrograde front's start after the normal one, in cells
  int patchCol = 0, patchRow = 0;   // top-left electrode of the silent patch
  int draw = 0;                     // the mix's pick
};

WaveFeatures FeaturesOf(const SampleSettings& s, int wave) {
  SampleRandom random = SampleRandom::For(s.seed, wave, SampleRandom::kPatternStream);
  const int inside = SamplePatterns::kInsideDistance + 1;  // first column two electrodes from the border
  WaveFeatures f;
  f.sourceX = inside + 0.5 + std::floor(random.Uniform() * std::max(1, s.cols - 2 * inside + 1));
  f.sourceY = inside + 0.5 + std::floor(random.Uniform() * std::max(1, s.rows - 2 * inside + 1));
  const auto [low, high] = AlongRange(s, s.directionDeg);
  f.collisionLead = random.Between(-kMostCollisionLead, kMostCollisionLead) * (high - low);
  f.patchCol = inside + int(random.Uniform() * std::max(1, s.cols - 2 * inside + 2 - SamplePatterns::kBlockCols));
  f.patchRow = inside + int(random.Uniform() * std::max(1, s.rows - 2 * inside + 2 - SamplePatterns::kBlockRows));
  f.draw = int(random.Uniform() * kPatterns);
  return f;
}

// The two fronts of a collision, in cells of travel from the wave's start (before the
// earliest is moved to 0): the normal one and the retrograde one.
std::pair<double, double> CollisionTravel(const SampleSettings& s, const WaveFeatures& f, double x, double y) {
  const auto [low, high] = AlongRange(s, s.directionDeg);
  const double along = Along(s.directionDeg, x, y);
  return {along - low, (high - along) + f.collisionLead};
}

// Cells of travel from the wave's start to (x, y); nothing where the wave leaves it silent.
std::optional<double> Travel(const SampleSettings& s, Pattern p, const WaveFeatures& f, double x, double y) {
  switch (p) {
    case Pattern::Retrograde: return Along(s.directionDeg + 180, x, y);
    case Pattern::Ectopic: return std::hypot(x - f.sourceX, y - f.sourceY);
    case Pattern::Collision: {
      const auto [normal, retrograde] = CollisionTravel(s, f, x, y);
      return std::min(normal, retrograde);
    }
    case Pattern::Block:
      if (x >= f.patchCol && x < f.patchCol + SamplePatterns::kBlockCols && y >= f.patchRow &&
          y < f.patchRow + SamplePatterns::kBlockRows)
        return std::nullopt;
      return Along(s.directionDeg, x, y);
    case Pattern::Normal: break;
  }
  return Along(s.directionDeg, x, y);
}

Choice ChoiceOf(const SampleSettings& s) { return s.pattern; }

}  // namespace

const char* SamplePatterns::Name(Pattern pattern) {
  switch (pattern) {
    case Pattern::Normal: return "normal";
    case Pattern::Retrograde: return "retrograde";
    case Pattern::Ectopic: return "ectopic";
    case Pattern::Collision: return "collision";
    case Pattern::Block: return "block";
  }
  return "normal";
}

std::optional<Choice> SamplePatterns::ChoiceNamed(const std::string& name) {
  static const std::pair<const char*, Choice> kChoices[] = {
      {"normal", Choice::Normal},       {"retrograde", Choice::Retrograde}, {"ectopic", Choice::Ectopic},
      {"collision", Choice::Collision}, {"block", Choice::Block},           {"mix", Choice::Mix}};
  for (const auto& [text, choice] : kChoices)
    if (name == text) return choice;
  return std::nullopt;
}

void SamplePatterns::Check(const SampleSettings& s) {
  const Choice choice = ChoiceOf(s);
  const int inside = 2 * (kInsideDistance + 1);  // both borders and the cells between
  const bool needsSource = choice == Choice::Ectopic || choice == Choice::Mix;
  const bool needsPatch = choice == Choice::Block || choice == Choice::Mix;
  if (needsSource && (s.cols < inside || s.rows < inside))
    throw std::invalid_argument(fmt::format("an ectopic source needs a grid of at least {0} x {0}", inside));
  if (needsPatch && (s.cols < inside + kBlockCols - 2 || s.rows < inside + kBlockRows - 2))
    throw std::invalid_argument(fmt::format("a conduction block needs a grid of at least {} x {}",
                                            inside + kBlockCols - 2, inside + kBlockRows - 2));
}

Pattern SamplePatterns::PatternOf(const SampleSettings& s, int wave, int waves) {
  const bool between = wave > 0 && wave < waves - 1;
  switch (ChoiceOf(s)) {
    case Choice::Retrograde: return Pattern::Retrograde;
    case Choice::Ectopic: return Pattern::Ectopic;
    case Choice::Collision: return Pattern::Collision;
    case Choice::Block: return between && wave % 2 == 1 ? Pattern::Block : Pattern::Normal;
    case Choice::Mix: {
      const Pattern drawn = Pattern(FeaturesOf(s, wave).draw);
      if (drawn != Pattern::Block) return drawn;
      return between && PatternOf(s, wave - 1, waves) != Pattern::Block ? Pattern::Block : Pattern::Normal;
    }
    case Choice::None:
    case Choice::Normal: break;
  }
  return Pattern::Normal;
}

std::vector<std::optional<double>> SamplePatterns::WaveOffsets(const SampleSettings& s, int wave, int waves) {
  const Pattern p = PatternOf(s, wave, waves);
  const WaveFeatures f = FeaturesOf(s, wave);
  std::vector<std::optional<double>> offsets;
  double earliest = 1e300;
  for (int row = 1; row <= s.rows; ++row) {
    for (int col = 1; col <= s.cols; ++col) {
      offsets.push_back(Travel(s, p, f, col, row));
      if (offsets.back()) earliest = std::min(earliest, *offsets.back());
    }
  }
  for (std::optional<double>& offset : offsets)
    if (offset) *offset = (*offset - earliest) * MsPerCell(s);
  return offsets;
}

SamplePatterns::Motion SamplePatterns::TrueMotion(const SampleSettings& s, int wave, int waves, double x, double y) {
  const WaveFeatures f = FeaturesOf(s, wave);
  double direction = s.directionDeg;
  switch (PatternOf(s, wave, waves)) {
    case Pattern::Retrograde: direction += 180; break;
    case Pattern::Ectopic: direction = std::atan2(-(y - f.sourceY), x - f.sourceX) / kRadians; break;
    case Pattern::Collision: {
      const auto [normal, retrograde] = CollisionTravel(s, f, x, y);
      if (retrograde < normal) direction += 180;
      break;
    }
    case Pattern::Normal:
    case Pattern::Block: break;
  }
  return {s.speedMmPerS, Wrapped(direction)};
}

std::string SamplePatterns::TruthLines(const SampleSettings& s, int waves) {
  std::string text = fmt::format("# normal direction {} degrees (counter-clockwise, 90 up the screen)\n",
                                 Wrapped(s.directionDeg));
  for (int wave = 0; wave < waves; ++wave)
    text += fmt::format("# wave {} pattern {}\n", wave, Name(PatternOf(s, wave, waves)));
  return text;
}

}  // namespace velmora
