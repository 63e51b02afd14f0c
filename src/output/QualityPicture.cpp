#include "output/QualityPicture.h"

#include <algorithm>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "maps/MapColours.h"
#include "maps/MapComputation.h"
#include "maps/MapLegend.h"
#include "marks/ElectrodeQuality.h"

namespace velmora {

namespace {

constexpr double kLabelPoints = 7, kDigitPoints = 5, kKeyPoints = 8, kKeyWidth = 110;

std::string DeadText(const std::vector<int>& dead) {
  if (dead.empty()) return "no dead electrodes";
  std::string text = "dead:";
  for (const int c : dead) text += fmt::format(" {}", c);
  return text;
}

}  // namespace

QualityPicture QualityPicture::Of(AnalysisState& s) {
  QualityPicture p;
  const auto table = ElectrodeQuality::Measure(s);
  if (!table) return p;
  p.cols = MapComputation::UsedCols(s);
  p.rows = MapComputation::UsedRows(s);
  // The lowest channel at a position is the one its cell shows, as on the map.
  for (const ElectrodeQualityTable::Record& r : table->electrodes) {
    const int col = s.ElectrodeX[size_t(r.channel - 1)], row = s.ElectrodeY[size_t(r.channel - 1)];
    if (col < 1 || row < 1 || col > p.cols || row > p.rows) continue;
    const bool taken =
        std::any_of(p.cells.begin(), p.cells.end(), [&](const Cell& c) { return c.col == col && c.row == row; });
    if (!taken) p.cells.push_back({col, row, r.channel, r.quality, MapColours::QualityBand(int32_t(r.verdict))});
    if (r.verdict == ElectrodeQualityTable::Verdict::Dead) p.dead.push_back(r.channel);
  }
  std::vector<MapLegend::Entry> entries;
  std::vector<std::string> texts;
  MapLegend::QualityEntries(s, entries, texts);
  for (size_t i = 0; i < entries.size() && i < texts.size(); ++i) p.key.push_back({entries[i].band, texts[i]});
  return p;
}

void QualityPicture::Draw(Canvas& c, const PlotArea& a) const {
  PlotFrame::Title(c, a, fmt::format("Electrode quality ({})", DeadText(dead)));
  if (cells.empty() || cols < 1 || rows < 1) return;
  const int top = a.top + a.Points(16), keyWidth = a.Points(kKeyWidth);
  const int cell = std::max(1, std::min((a.width - keyWidth) / cols, (a.top + a.height - top) / rows));
  c.SetPen(colours::kSilver);
  c.SetBrush(colours::kWhite, BrushStyle::Clear);
  c.Rectangle(a.left, top, a.left + cell * cols + 1, top + cell * rows + 1);
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kDigitPoints)});
  for (const Cell& e : cells) {
    const int x = a.left + (e.col - 1) * cell, y = top + (e.row - 1) * cell;
    c.SetPen(colours::kSilver);
    c.SetBrush(MapColours::MapColour(e.band));
    c.Rectangle(x, y, x + cell + 1, y + cell + 1);
    c.SetBrush(colours::kWhite, BrushStyle::Clear);
    const std::string digits = fmt::format("{:.0f}", e.quality);
    if (c.TextWidth(digits) < cell)
      c.TextOut(x + (cell - c.TextWidth(digits)) / 2, y + (cell - c.TextHeight(digits)) / 2, digits);
  }
  c.SetFont(colours::kBlack, FontStyle{false, false, int(kKeyPoints)});
  const int keyLeft = a.left + cell * cols + a.Points(12), line = c.TextHeight("0") + a.Points(4);
  for (size_t i = 0; i < key.size(); ++i) {
    const int y = top + int(i) * line, swatch = c.TextHeight("0");
    c.SetPen(colours::kBlack);
    c.SetBrush(MapColours::MapColour(key[i].band));
    c.Rectangle(keyLeft, y, keyLeft + swatch, y + swatch);
    c.SetBrush(colours::kWhite, BrushStyle::Clear);
    c.TextOut(keyLeft + swatch + a.Points(4), y, key[i].text);
  }
  c.SetFont(colours::kGray, FontStyle{false, false, int(kLabelPoints)});
  c.TextOut(keyLeft, top + int(key.size()) * line + a.Points(4), "the median strength of");
  c.TextOut(keyLeft, top + int(key.size() + 1) * line, "its activations over its noise");
}

}  // namespace velmora
