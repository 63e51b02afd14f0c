#include "output/ResultPlots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <fmt/format.h>

#include "results/WaveTable.h"

namespace velmora {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kMsPerMinute = 60000.0;
constexpr double kDotPoints = 1.6, kLabelPoints = 7, kLaneNames = 48;

using Value = std::optional<double> WaveRow::*;

std::vector<double> Values(const WaveTable& t, Value field) {
  std::vector<double> values;
  for (const WaveRow& r : t.Rows())
    if (r.*field) values.push_back(*(r.*field));
  return values;
}

double Highest(const std::vector<double>& values, double least) {
  double high = least;
  for (const double v : values) high = std::max(high, v);
  return high;
}

double LastMinute(const WaveTable& t) {
  return t.Rows().empty() ? 1 : std::max(1.0, t.Rows().back().startMs / kMsPerMinute);
}

void Dot(Canvas& c, const PlotArea& a, int x, int y, Colour colour) {
  const int r = std::max(1, a.Points(kDotPoints));
  c.SetPen(colour);
  c.SetBrush(colour);
  c.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
}

void DrawOverTime(Canvas& c, const PlotArea& a, const WaveTable& t, Value field, const std::string& label,
                  const std::string& title) {
  const std::vector<double> values = Values(t, field);
  const double high = PlotFrame::NiceHigh(0, Highest(values, 1) * 1.1, 5);
  const PlotFrame f(c, a, title, {0, PlotFrame::NiceHigh(0, LastMinute(t), 5), "time (min)"}, {0, high, label});
  std::vector<Point> line;
  for (const WaveRow& r : t.Rows())
    if (r.*field) line.push_back({f.X(r.startMs / kMsPerMinute), f.Y(*(r.*field))});
  c.SetPen(colours::kGray, std::max(1, a.Points(0.5)));
  if (line.size() >= 2) c.Polyline(line);
  for (const Point& p : line) Dot(c, a, p.x, p.y, colours::kBlue);
}

void DrawHistogram(Canvas& c, const PlotArea& a, const std::vector<double>& values, const std::string& label,
                   const std::string& title) {
  const double high = PlotFrame::NiceHigh(0, Highest(values, 1), ResultPlots::kHistogramBins / 2);
  const std::vector<int> counts = ResultPlots::Histogram(values, 0, high, ResultPlots::kHistogramBins);
  const double most = std::max(1, *std::max_element(counts.begin(), counts.end()));
  const PlotFrame f(c, a, title, {0, high, label}, {0, PlotFrame::NiceHigh(0, most, 4), "waves"});
  c.SetPen(colours::kBlack);
  c.SetBrush(0x4682B4);
  const double width = high / ResultPlots::kHistogramBins;
  for (int bin = 0; bin < int(counts.size()); ++bin)
    if (counts[size_t(bin)] > 0) c.Rectangle(f.X(bin * width), f.Y(counts[size_t(bin)]), f.X((bin + 1) * width) + 1, f.Y(0) + 1);
}

// Directions as the arrows count them: 0 to the right, 90 up.
void DrawRose(Canvas& c, const PlotArea& a, const WaveTable& t) {
  PlotFrame::Title(c, a, ResultPlots::Title(ResultPlots::Kind::DirectionRose));
  const std::vector<double> directions = Values(t, &WaveRow::directionDeg);
  const int n = ResultPlots::kRoseSectors;
  // Sectors are centred on 0, 360 / n, ...: a direction just below 360 counts with 0.
  std::vector<double> shifted;
  for (const double d : directions) shifted.push_back(std::fmod(d + 180.0 / n, 360.0));
  const std::vector<int> counts = ResultPlots::Histogram(shifted, 0, 360, n);
  const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kLabelPoints)});
  const int label = c.TextHeight("0"), top = a.top + a.Points(16);
  const int radius = std::max(4, (std::min(a.width, a.height - (top - a.top)) - 4 * label) / 2);
  const int cx = a.left + a.width / 2, cy = top + label + radius + label / 2;
  c.SetPen(colours::kSilver);
  c.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (const double share : {0.5, 1.0})
    c.Ellipse(cx - int(radius * share), cy - int(radius * share), cx + int(radius * share) + 1, cy + int(radius * share) + 1);
  const double sector = 360.0 / n;
  c.SetPen(0x4682B4);
  for (int s = 0; s < n; ++s) {
    const double r = radius * std::sqrt(double(counts[size_t(s)]) / most);  // area follows the count
    // The petal is filled by rays a degree apart, then outlined.
    std::vector<Point> outline{{cx, cy}};
    for (double d = (s - 0.5) * sector; d <= (s + 0.5) * sector + 1e-9; d += 1) {
      const Point p{cx + int(std::lround(r * std::cos(d * kRadians))), cy - int(std::lround(r * std::sin(d * kRadians)))};
      c.Line(cx, cy, p.x, p.y);
      outline.push_back(p);
    }
    outline.push_back({cx, cy});
    c.Polyline(outline);
  }
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kLabelPoints)});
  for (const int d : {0, 90, 180, 270}) {
    const std::string text = fmt::format("{}", d);
    const int x = cx + int(std::lround((radius + label) * std::cos(d * kRadians)));
    const int y = cy - int(std::lround((radius + label) * std::sin(d * kRadians)));
    c.TextOut(x - c.TextWidth(text) / 2, y - c.TextHeight(text) / 2, text);
  }
  c.TextOut(a.left, a.top + a.height - label, fmt::format("{} waves, most {} in a sector", directions.size(), most));
}

// One lane per pattern, named right of the plot.
void DrawTimeline(Canvas& c, const PlotArea& a, const WaveTable& t) {
  PlotArea plot = a;
  plot.width -= a.Points(kLaneNames);
  const PlotFrame f(c, plot, ResultPlots::Title(ResultPlots::Kind::PatternTimeline),
                    {0, PlotFrame::NiceHigh(0, LastMinute(t), 5), "time (min)"}, {0, 6, "", false});
  for (const WaveRow& r : t.Rows()) {
    const int x = f.X(r.startMs / kMsPerMinute), lane = 5 - int(r.pattern);
    c.SetPen(ResultPlots::PatternColour(r.pattern), std::max(1, a.Points(1.5)));
    c.Line(x, f.Y(lane + 0.15), x, f.Y(lane + 0.85));
  }
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kLabelPoints)});
  for (int p = 0; p < PropagationPattern::kPatterns; ++p) {
    const std::string name = PropagationPattern::Name(Pattern(p));
    c.SetFont(ResultPlots::PatternColour(Pattern(p)), FontStyle{false, false, int(kLabelPoints)});
    c.TextOut(f.Right() + a.Points(4), f.Y(5 - p + 0.5) - c.TextHeight(name) / 2, name);
  }
}

}  // namespace

std::string ResultPlots::Title(Kind kind) {
  switch (kind) {
    case Kind::PatternTimeline: return "Pattern timeline";
    case Kind::FrequencyOverTime: return "Frequency over time";
    case Kind::SpeedOverTime: return "Speed over time";
    case Kind::SpeedHistogram: return "Speed";
    case Kind::FrequencyHistogram: return "Frequency";
    case Kind::DirectionRose: return "Direction";
  }
  return "";
}

void ResultPlots::Draw(Canvas& c, Kind kind, const PlotArea& a, const WaveTable& t) {
  switch (kind) {
    case Kind::PatternTimeline: DrawTimeline(c, a, t); break;
    case Kind::FrequencyOverTime: DrawOverTime(c, a, t, &WaveRow::frequencyCpm, "cpm", Title(kind)); break;
    case Kind::SpeedOverTime: DrawOverTime(c, a, t, &WaveRow::speedMmS, "mm/s", Title(kind)); break;
    case Kind::SpeedHistogram: DrawHistogram(c, a, Values(t, &WaveRow::speedMmS), "mm/s", Title(kind)); break;
    case Kind::FrequencyHistogram:
      DrawHistogram(c, a, Values(t, &WaveRow::frequencyCpm), "cpm", Title(kind));
      break;
    case Kind::DirectionRose: DrawRose(c, a, t); break;
  }
}

std::vector<int> ResultPlots::Histogram(const std::vector<double>& values, double low, double high, int bins) {
  std::vector<int> counts(size_t(std::max(1, bins)), 0);
  if (!(high > low)) return counts;
  for (const double v : values) {
    const int bin = int(std::floor((v - low) / (high - low) * double(counts.size())));
    ++counts[size_t(std::clamp(bin, 0, int(counts.size()) - 1))];
  }
  return counts;
}

Colour ResultPlots::PatternColour(Pattern p) {
  switch (p) {
    case Pattern::Normal: return 0x2E8B57;
    case Pattern::Retrograde: return 0xFF8C00;
    case Pattern::Ectopic: return 0x8A2BE2;
    case Pattern::Collision: return 0xDC143C;
    case Pattern::Block: return 0x1E64C8;
    case Pattern::Other: return colours::kGray;
  }
  return colours::kGray;
}

Colour ResultPlots::TimeColour(double share) {
  // Hue from 0 (red) to 240 degrees (blue) at full saturation.
  const double h = std::clamp(share, 0.0, 1.0) * 4.0;
  const int sector = std::min(3, int(h));
  const auto up = uint32_t(std::lround((h - sector) * 255)), down = 255 - up;
  switch (sector) {
    case 0: return 0xFF0000 | (up << 8);
    case 1: return (down << 16) | 0x00FF00;
    case 2: return 0x00FF00 | up;
    default: return (down << 8) | 0x0000FF;
  }
}

void ResultPlots::DrawWaveThumbnail(Canvas& c, const PlotArea& a, const WaveTable& t, const WaveRow& row) {
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kLabelPoints)});
  const int label = c.TextHeight("0") + 2;
  const int cols = std::max(1, t.Cols()), rows = std::max(1, t.RowsOfGrid());
  const int cell = std::max(1, std::min(a.width / cols, (a.height - label) / rows));
  const int left = a.left + (a.width - cell * cols) / 2;
  c.SetPen(colours::kSilver);
  c.SetBrush(colours::kWhite, BrushStyle::Clear);
  c.Rectangle(left, a.top, left + cell * cols + 1, a.top + cell * rows + 1);
  const double duration = std::max(1, row.durationMs);
  for (const WaveMarkRow& m : t.Marks()) {
    if (m.wave != row.wave) continue;
    const Colour colour = TimeColour((m.timeMs - row.startMs) / duration);
    c.SetPen(colour);
    c.SetBrush(colour);
    c.Rectangle(left + (m.col - 1) * cell, a.top + (m.row - 1) * cell, left + m.col * cell, a.top + m.row * cell);
    if (std::find(row.origin.begin(), row.origin.end(), m.electrode) != row.origin.end()) {
      const int r = std::max(1, cell / 3), x = left + (m.col - 1) * cell + cell / 2, y = a.top + (m.row - 1) * cell + cell / 2;
      c.SetPen(colours::kBlack);
      c.SetBrush(colours::kBlack);
      c.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
    }
  }
  c.SetBrush(colours::kWhite, BrushStyle::Clear);
  c.SetFont(PatternColour(row.pattern), FontStyle{false, false, int(kLabelPoints)});
  const std::string text = fmt::format("wave {}: {}", row.wave, PropagationPattern::Name(row.pattern));
  c.TextOut(a.left + (a.width - c.TextWidth(text)) / 2, a.top + cell * rows + 2, text);
}

}  // namespace velmora
