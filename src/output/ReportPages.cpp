#include "output/ReportPages.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "output/ResultPlots.h"
#include "output/ResultsCsv.h"
#include "results/StudyRow.h"
#include "results/WaveTable.h"

namespace velmora {

namespace {

constexpr int kTitlePoints = 14, kTextPoints = 9, kTablePoints = 7;
constexpr double kLineHeight = 13, kTableLineHeight = 10, kTableTop = 70;
constexpr double kContent = ReportPages::kWidth - 2 * ReportPages::kMargin;
constexpr const char* kMethods[] = {"squares", "smoothed", "fit"};

// A rectangle given in points on the page.
PlotArea Area(double left, double top, double width, double height, double unit) {
  return {int(std::lround(left * unit)), int(std::lround(top * unit)), int(std::lround(width * unit)),
          int(std::lround(height * unit)), unit};
}

int At(double points, double unit) { return int(std::lround(points * unit)); }

std::string Optional(const std::optional<double>& v, int decimals) {
  return v ? fmt::format("{:.{}f}", *v, decimals) : "-";
}

std::string Direction(const std::optional<double>& v, int decimals) {
  return v ? DirectionText(*v, decimals) : "-";
}

std::string MeanSd(const std::optional<double>& mean, const std::optional<double>& sd, const char* unit) {
  if (!mean) return "-";
  return sd ? fmt::format("{:.2f} ± {:.2f} {}", *mean, *sd, unit) : fmt::format("{:.2f} {}", *mean, unit);
}

// The table's columns: heading and left edge in points.
struct Column {
  const char* heading;
  double left;
};
constexpr Column kColumns[] = {{"wave", 0},        {"start ms", 28},  {"sites", 76},    {"mm²", 104},
                               {"origin", 140},    {"dur ms", 210},   {"mm/s", 248},    {"SD", 280},
                               {"dir °", 308},     {"µV", 338},       {"int s", 372},   {"cpm", 408},
                               {"pattern", 440}};

std::vector<std::string> Cells(const WaveRow& r) {
  std::string origin;
  for (const int e : r.origin) origin += (origin.empty() ? "" : "+") + std::to_string(e);
  return {std::to_string(r.wave),      std::to_string(r.startMs),     std::to_string(r.sites),
          fmt::format("{:.0f}", r.areaMm2), origin,                  std::to_string(r.durationMs),
          Optional(r.speedMmS, 2),     Optional(r.speedSdMmS, 2),     Direction(r.directionDeg, 0),
          Optional(r.amplitudeUv, 0),  Optional(r.intervalS, 2),      Optional(r.frequencyCpm, 2),
          PropagationPattern::Name(r.pattern)};
}

int TableRowsPerPage() { return int((ReportPages::kHeight - kTableTop - ReportPages::kMargin) / kTableLineHeight); }

}  // namespace

ReportPages::ReportPages(const WaveTable& table, std::vector<std::string> facts, QualityPicture quality)
    : table_(table), facts_(std::move(facts)), quality_(std::move(quality)) {}

std::vector<std::string> ReportPages::Facts(const AnalysisState& s, const StudyRow& row, int minSites) {
  const int type = s.MarkType[0];
  std::string patterns;
  for (int p = 0; p < PropagationPattern::kPatterns; ++p)
    patterns += fmt::format("{}{} {}", p ? ", " : "", PropagationPattern::Name(Pattern(p)), row.patternCounts[size_t(p)]);
  const int method = std::clamp(s.VelocityMethod, 0, 2);
  std::vector<std::string> lines = {
      fmt::format("Recording: {}", s.ElgFileName),
      fmt::format("Matrix: {}", s.MatrixFileName),
      fmt::format("Duration: {:.1f} s, {} x {} grid, electrodes {} mm apart", row.durationS.value_or(0), s.NrCols,
                  s.NrRows, s.ElectrodeDistance),
      fmt::format("Electrodes: {}, dead (no slow wave stands out of their noise): {}", row.electrodes.value_or(0),
                  row.deadElectrodes ? std::to_string(*row.deadElectrodes) : "-"),
      fmt::format("Waves: {} (of at least {} site{})", row.waves.value_or(0), minSites, minSites == 1 ? "" : "s"),
      fmt::format("Frequency: {}", MeanSd(row.frequencyMeanCpm, row.frequencySdCpm, "cpm")),
      fmt::format("Speed: {}", MeanSd(row.speedMeanMmS, row.speedSdMmS, "mm/s")),
      fmt::format("Direction: {} degrees (counter-clockwise, 90 up)", Direction(row.directionMeanDeg, 1)),
      fmt::format("Patterns: {}", patterns),
      fmt::format("Mark kind {}, wave difference {} ms, normal direction {} degrees", type,
                  s.WaveDifference[size_t(std::clamp(type, 1, 3) - 1)], s.NormalDirection),
      fmt::format("Velocity method {}, speeds above {} cm/s left out", kMethods[method], s.MaxCondVel),
  };
  // What an EDF, BDF or GDF recording's samples went through before they were marked.
  if (!s.Acquisition.Empty()) lines.push_back(fmt::format("Filters: {}", s.Acquisition.filters));
  return lines;
}

int ReportPages::ThumbnailPages() const {
  const int each = kThumbnailCols * kThumbnailRows, n = int(table_.Rows().size());
  return (n + each - 1) / each;
}

int ReportPages::TablePages() const {
  return std::max(1, (int(table_.Rows().size()) + TableRowsPerPage() - 1) / TableRowsPerPage());
}

int ReportPages::PageCount() const { return 2 + ThumbnailPages() + TablePages(); }

void ReportPages::Draw(Canvas& c, int page, double unit) const {
  c.SetBrush(colours::kWhite, BrushStyle::Clear);  // text is written over the page
  if (page == 0) {
    DrawFacts(c, unit);
  } else if (page == 1) {
    DrawHistograms(c, unit);
  } else if (page < 2 + ThumbnailPages()) {
    DrawThumbnails(c, page - 2, unit);
  } else {
    DrawTable(c, page - 2 - ThumbnailPages(), unit);
  }
  c.SetBrush(colours::kWhite, BrushStyle::Clear);
  c.SetFont(colours::kGray, FontStyle{false, false, kTablePoints});
  const std::string footer = fmt::format("page {} of {}", page + 1, PageCount());
  c.TextOut(At(kWidth - kMargin, unit) - c.TextWidth(footer), At(kHeight - kMargin / 2, unit), footer);
}

void ReportPages::DrawFacts(Canvas& c, double unit) const {
  c.SetFont(colours::kBlack, FontStyle{true, false, kTitlePoints});
  c.TextOut(At(kMargin, unit), At(kMargin, unit), "Wave report");
  c.SetFont(colours::kBlack, FontStyle{false, false, kTextPoints});
  double y = kMargin + 28;
  for (const std::string& line : facts_) {
    c.TextOut(At(kMargin, unit), At(y, unit), line);
    y += kLineHeight;
  }
  y += 8;
  ResultPlots::Draw(c, ResultPlots::Kind::PatternTimeline, Area(kMargin, y, kContent, 170, unit), table_);
  y += 185;
  const double half = kContent / 2 - 6;
  ResultPlots::Draw(c, ResultPlots::Kind::FrequencyOverTime, Area(kMargin, y, half, 200, unit), table_);
  ResultPlots::Draw(c, ResultPlots::Kind::SpeedOverTime, Area(kMargin + half + 12, y, half, 200, unit), table_);
  y += 215;
  if (!quality_.Empty()) quality_.Draw(c, Area(kMargin, y, kContent, kHeight - kMargin - 8 - y, unit));
}

void ReportPages::DrawHistograms(Canvas& c, double unit) const {
  const double half = kContent / 2 - 6;
  ResultPlots::Draw(c, ResultPlots::Kind::SpeedHistogram, Area(kMargin, kMargin, half, 220, unit), table_);
  ResultPlots::Draw(c, ResultPlots::Kind::FrequencyHistogram, Area(kMargin + half + 12, kMargin, half, 220, unit),
                    table_);
  ResultPlots::Draw(c, ResultPlots::Kind::DirectionRose, Area(kMargin + kContent / 4, kMargin + 250, kContent / 2, 300, unit),
                    table_);
}

void ReportPages::DrawThumbnails(Canvas& c, int page, double unit) const {
  c.SetFont(colours::kBlack, FontStyle{true, false, kTextPoints + 2});
  c.TextOut(At(kMargin, unit), At(kMargin, unit), "Activation maps (red first, blue last; dots: origins)");
  const double top = kMargin + 24, width = kContent / kThumbnailCols;
  const double height = (kHeight - top - kMargin) / kThumbnailRows;
  const int each = kThumbnailCols * kThumbnailRows;
  for (int i = 0; i < each; ++i) {
    const size_t n = size_t(page * each + i);
    if (n >= table_.Rows().size()) break;
    const double left = kMargin + (i % kThumbnailCols) * width, y = top + (i / kThumbnailCols) * height;
    ResultPlots::DrawWaveThumbnail(c, Area(left + 4, y + 4, width - 8, height - 8, unit), table_, table_.Rows()[n]);
  }
}

void ReportPages::DrawTable(Canvas& c, int page, double unit) const {
  c.SetFont(colours::kBlack, FontStyle{true, false, kTextPoints + 2});
  c.TextOut(At(kMargin, unit), At(kMargin, unit), "Wave table");
  c.SetFont(colours::kBlack, FontStyle{true, false, kTablePoints});
  for (const Column& column : kColumns) c.TextOut(At(kMargin + column.left, unit), At(kTableTop - kTableLineHeight, unit), column.heading);
  c.SetFont(colours::kBlack, FontStyle{false, false, kTablePoints});
  const int per = TableRowsPerPage();
  for (int i = 0; i < per; ++i) {
    const size_t n = size_t(page * per + i);
    if (n >= table_.Rows().size()) break;
    const std::vector<std::string> cells = Cells(table_.Rows()[n]);
    for (size_t k = 0; k < cells.size(); ++k)
      c.TextOut(At(kMargin + kColumns[k].left, unit), At(kTableTop + i * kTableLineHeight, unit), cells[k]);
  }
}

}  // namespace velmora
