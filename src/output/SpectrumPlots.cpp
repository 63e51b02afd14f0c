#include "output/SpectrumPlots.h"

#include <algorithm>

#include <fmt/format.h>

namespace velmora {

namespace {

constexpr double kMinute = 60;
constexpr int kDotPoints = 2;

}  // namespace

void SpectrumPlots::DrawSpectrum(Canvas& c, const PlotArea& a, const Spectrum::Result& s, int channel) {
  const std::string title = s.dominantCpm
                                ? fmt::format("Spectrum of channel {}: dominant {:.2f} cpm", channel, *s.dominantCpm)
                                : fmt::format("Spectrum of channel {}", channel);
  const PlotFrame f(c, a, title, {0, Spectrum::kHighestCpm, "cpm"}, {0, 1, "relative power"});
  const double most = s.power.empty() ? 1 : std::max(1e-300, *std::max_element(s.power.begin(), s.power.end()));
  std::vector<Point> line;
  for (size_t i = 0; i < s.cpm.size(); ++i) line.push_back({f.X(s.cpm[i]), f.Y(s.power[i] / most)});
  c.SetPen(colours::kBlue, std::max(1, a.Points(0.75)));
  if (line.size() >= 2) c.Polyline(line);
  if (s.dominantCpm) {
    c.SetPen(colours::kRed);
    c.Line(f.X(*s.dominantCpm), f.Top(), f.X(*s.dominantCpm), f.Bottom());
  }
}

void SpectrumPlots::DrawOverTime(Canvas& c, const PlotArea& a, const std::vector<Spectrum::Moment>& moments) {
  const double last = moments.empty() ? 1 : std::max(1.0, moments.back().startS / kMinute);
  const PlotFrame f(c, a, "Dominant frequency over time", {0, PlotFrame::NiceHigh(0, last, 5), "window start (min)"},
                    {0, Spectrum::kHighestCpm, "cpm"});
  const int r = std::max(1, a.Points(kDotPoints));
  c.SetPen(colours::kBlue);
  c.SetBrush(colours::kBlue);
  for (const Spectrum::Moment& m : moments) {
    if (!m.dominantCpm) continue;
    const int x = f.X(m.startS / kMinute), y = f.Y(*m.dominantCpm);
    c.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
  }
}

}  // namespace velmora
