#include "maps/MapLegend.h"

#include <algorithm>
#include <limits>
#include <optional>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/Limits.h"
#include "maps/MapColours.h"
#include "maps/MapDrawing.h"
#include "maps/MapUnits.h"
#include "marks/ElectrodeQuality.h"

namespace velmora {

namespace {

constexpr uint8_t kElectrodeMap = 2;
constexpr int kGap = 10;    // between the grid and the legend, and between legend columns
constexpr int kMargin = 4;  // left free along the pane's edges
constexpr size_t kMostEntries = 64;

struct Area {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Layout {
  int left = 0, top = 0, rows = 0, rowHeight = 0, swatch = 0, columnWidth = 0;
};

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Column by column, as many rows as the area is high; nothing when the columns are too wide.
std::optional<Layout> Fit(const Area& area, size_t entries, int textWidth, int textHeight) {
  Layout l;
  l.rowHeight = textHeight + 4;
  l.swatch = textHeight;
  l.columnWidth = l.swatch + 5 + textWidth;
  l.rows = int(std::min<size_t>(entries, size_t(std::max(0, area.height / l.rowHeight))));
  if (l.rows < 1 || area.width < 1) return std::nullopt;
  const int columns = int((entries + size_t(l.rows) - 1) / size_t(l.rows));
  if (columns * l.columnWidth + (columns - 1) * kGap > area.width) return std::nullopt;
  l.left = area.left;
  l.top = area.top;
  return l;
}

Area RightOfGrid(const AnalysisState& s) {
  const int left = s.MapRight + kGap;
  return {left, s.MapTop, s.MapPaneRect.Width - kMargin - left, s.MapPaneRect.Height - kMargin - s.MapTop};
}

Area BelowGrid(const AnalysisState& s) {
  const int top = s.MapBottom + kGap;
  return {s.MapLeft, top, s.MapPaneRect.Width - kMargin - s.MapLeft, s.MapPaneRect.Height - kMargin - top};
}

// The smallest and largest value the map's cells are coloured by.
std::optional<std::pair<int64_t, int64_t>> ValueRange(const AnalysisState& s) {
  int64_t lowest = std::numeric_limits<int64_t>::max(), highest = std::numeric_limits<int64_t>::min();
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (!MapDrawing::OnGrid(s, channel)) continue;
    const int x = s.ElectrodeX[size_t(channel - 1)], y = s.ElectrodeY[size_t(channel - 1)];
    if (x > kMaxGridCols || y > kMaxGridRows) continue;
    const int32_t v = MapDrawing::ColourValue(s, s.Cell(x, y));
    if (v == kNoValue || v == kAltNoValue) continue;
    lowest = std::min<int64_t>(lowest, v);
    highest = std::max<int64_t>(highest, v);
  }
  if (lowest > highest) return std::nullopt;
  return std::pair{lowest, highest};
}

}  // namespace

std::string MapLegend::EntryText(const Entry& e, const std::string& unit) {
  std::string text = e.low == e.high ? fmt::format("{}", e.low) : fmt::format("{}\xE2\x80\x93{}", e.low, e.high);
  return unit.empty() ? text : text + " " + unit;
}

// A band's colour can only change where a value lies a whole number of steps from the base of
// the bands, or one more (where a cycle ends); the runs of one colour are found by testing
// those places only, from two steps below the lowest value to two above the highest.
std::vector<MapLegend::Entry> MapLegend::Entries(const AnalysisState& s, size_t limit) {
  const auto range = ValueRange(s);
  if (!range) return {};
  // Plain variables, not a structured binding: the lambda below captures them, which
  // clang 14 (the sanitizer and fuzz builds) refuses for bindings.
  const auto lowest = range->first, highest = range->second;
  const int64_t step = MapColours::BandStep(s), base = MapColours::BandBase(s);
  const int64_t from = std::max<int64_t>(lowest - 2 * step, std::numeric_limits<int32_t>::min());
  const int64_t to = std::min<int64_t>(highest + 2 * step, std::numeric_limits<int32_t>::max());
  const auto colourAt = [&s](int64_t v) { return MapColours::MapColour(MapColours::ColourIndex(s, int32_t(v))); };
  std::vector<Entry> runs;
  Entry run{from, from, MapColours::ColourIndex(s, int32_t(from))};
  const auto close = [&](int64_t high) {
    run.high = high;
    if (run.high >= lowest && run.low <= highest) runs.push_back(run);
  };
  // Every colour but the grey below the palette lasts a step at most, so a long walk without
  // a change means more bands than a legend can hold.
  size_t tests = 0;
  const size_t mostTests = 4 * (limit + 4);
  for (int64_t k = FloorDiv(from - base, step); base + k * step <= to && runs.size() <= limit; ++k) {
    for (const int64_t place : {base + k * step, base + k * step + 1}) {
      if (place <= from || place > to || colourAt(place) == colourAt(place - 1)) continue;
      close(place - 1);
      run = Entry{place, place, MapColours::ColourIndex(s, int32_t(place))};
    }
    if (++tests > mostTests) return {};
  }
  close(to);
  if (runs.empty() || runs.size() > limit) return {};
  // The outer bands reach no further than the map's values: the legend also tells its range.
  runs.front().low = std::max(runs.front().low, lowest);
  runs.back().high = std::min(runs.back().high, highest);
  return runs;
}

// The quality map is coloured by verdict: one entry per verdict, with the qualities it covers.
void MapLegend::QualityEntries(const AnalysisState& s, std::vector<Entry>& entries, std::vector<std::string>& texts) {
  const int32_t dead = s.DeadQuality;
  const struct {
    ElectrodeQualityTable::Verdict verdict;
    std::string text;
  } verdicts[] = {{ElectrodeQualityTable::Verdict::Dead, fmt::format("dead (below {})", dead)},
                  {ElectrodeQualityTable::Verdict::Weak, fmt::format("weak ({} to {})", dead, 2 * dead)},
                  {ElectrodeQualityTable::Verdict::Good, fmt::format("good ({} and more)", 2 * dead)}};
  for (const auto& v : verdicts) {
    entries.push_back({int(v.verdict), int(v.verdict), MapColours::QualityBand(int32_t(v.verdict))});
    texts.push_back(v.text);
  }
}

void MapLegend::DrawLegend(const AnalysisState& s, Canvas& canvas) {
  if (!s.ShowMapLegend || !s.ShowMapColor || s.CurMapKind == kElectrodeMap) return;
  const Area right = RightOfGrid(s), below = BelowGrid(s);
  if (std::min(right.width, right.height) < 1 && std::min(below.width, below.height) < 1) return;
  std::vector<Entry> entries;
  std::vector<std::string> texts;
  if (s.CurMapKind == kQualityMap) {
    QualityEntries(s, entries, texts);
  } else {
    entries = Entries(s, kMostEntries);
    for (const Entry& e : entries) texts.push_back(EntryText(e, MapUnits::ValueUnit(s.CurMapKind)));
  }
  if (entries.empty()) return;
  canvas.SetFont(colours::kBlack, FontStyle{});
  int textWidth = 0;
  for (const std::string& text : texts) textWidth = std::max(textWidth, canvas.TextWidth(text));
  const int textHeight = canvas.TextHeight(texts.front());
  std::optional<Layout> layout = Fit(right, entries.size(), textWidth, textHeight);
  if (!layout) layout = Fit(below, entries.size(), textWidth, textHeight);
  if (!layout) return;
  for (size_t i = 0; i < entries.size(); ++i) {
    const int x = layout->left + int(i) / layout->rows * (layout->columnWidth + kGap);
    const int y = layout->top + int(i) % layout->rows * layout->rowHeight;
    canvas.SetPen(colours::kBlack, 1);
    canvas.SetBrush(MapColours::MapColour(entries[i].band), BrushStyle::Solid);
    canvas.Rectangle(x, y, x + layout->swatch, y + layout->swatch);
    canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
    canvas.TextOut(x + layout->swatch + 5, y, texts[i]);
  }
}

}  // namespace velmora
