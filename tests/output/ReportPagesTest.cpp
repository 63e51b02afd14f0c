#include "output/ReportPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/RecordingCanvas.h"
#include "marks/AutomaticMarking.h"
#include "results/StudyRow.h"
#include "results/WaveTable.h"
#include "support/MarkedSample.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

// The grid cells the first page paints in `colour` inside the frame drawn after `title`, as
// column and row, with `cols` columns in the frame.
std::vector<std::pair<int, int>> CellsPainted(const std::vector<std::string>& lines, const std::string& title,
                                              int cols, const std::string& colour) {
  size_t i = 0;
  while (i < lines.size() && lines[i].find(title) == std::string::npos) ++i;
  while (i < lines.size() && lines[i].rfind("rect ", 0) != 0) ++i;
  if (i == lines.size()) return {};
  int left = 0, top = 0, right = 0, bottom = 0;
  std::istringstream(lines[i].substr(5)) >> left >> top >> right >> bottom;
  const int cell = (right - 1 - left) / cols;
  std::vector<std::pair<int, int>> cells;
  std::string brush;
  for (++i; i < lines.size(); ++i) {
    if (lines[i].rfind("brush ", 0) == 0) brush = lines[i];
    if (lines[i].rfind("rect ", 0) != 0 || brush != "brush " + colour + " solid") continue;
    int x = 0, y = 0;
    std::istringstream(lines[i].substr(5)) >> x >> y;
    if (x >= left && x < right - 1 && y >= top && y < bottom - 1) cells.push_back({(x - left) / cell + 1, (y - top) / cell + 1});
  }
  return cells;
}

// The report's first page shows the electrode quality: red cells exactly where the generated
// recording's dead electrodes lie, and their count among the facts.
TEST(ReportPagesTest, TheQualityMapShowsTheTrueDeadElectrodes) {
  SampleSettings settings;
  settings.seconds = 60;
  const testing::MarkedSample sample(settings, AutomaticMarking::kThresholdMethod);
  AnalysisState& s = *sample.state;
  s.ActivePane = 1;
  WaveSearch search;
  search.CalculateWaves(s);
  const WaveTable table = WaveTable::Build(s, search, {s.MinSitesPerWave, double(s.NormalDirection)});
  const StudyRow row = StudyRow::Of("sample.E00", s, table);
  const ReportPages pages(table, ReportPages::Facts(s, row, s.MinSitesPerWave), QualityPicture::Of(s));
  RecordingCanvas canvas;
  pages.Draw(canvas, 0, 1.0);

  std::vector<std::pair<int, int>> truth;
  std::string title = "Electrode quality (dead:";
  for (const int channel : SampleRecording::DeadChannels(settings)) {
    const int n = channel - kFirstElectrode;
    truth.push_back({n % settings.cols + 1, n / settings.cols + 1});
    title += " " + std::to_string(channel);
  }
  ASSERT_EQ(truth.size(), 3u);
  std::sort(truth.begin(), truth.end());
  std::vector<std::pair<int, int>> red = CellsPainted(canvas.Lines(), title + ")", settings.cols, "ff0000");
  std::sort(red.begin(), red.end());
  EXPECT_EQ(red, truth);
  EXPECT_EQ(row.deadElectrodes, 3);
  bool told = false;
  for (const std::string& line : canvas.Lines()) told = told || line.find("their noise): 3") != std::string::npos;
  EXPECT_TRUE(told);
}

}  // namespace
}  // namespace velmora
