#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"
#include "output/QualityPicture.h"

namespace velmora {

struct AnalysisState;
struct StudyRow;
class WaveTable;

// The pages of a recording's wave report, laid out in points on A4 portrait and drawn on any
// canvas at `unit` device units per point: the recording's facts with the pattern timeline,
// the frequency and speed over time and the electrode quality map; the histograms of speed and frequency and the rose
// of directions; the activation map of every wave as a thumbnail with its pattern; the wave
// table. The window shows the same plots, drawn by the same code.
class ReportPages {
 public:
  static constexpr double kWidth = 595, kHeight = 842, kMargin = 40;
  static constexpr int kThumbnailCols = 4, kThumbnailRows = 5;

  ReportPages(const WaveTable& table, std::vector<std::string> facts, QualityPicture quality = {});

  // The facts page's lines for the recording loaded and its study row.
  static std::vector<std::string> Facts(const AnalysisState& state, const StudyRow& row, int minSites);

  int PageCount() const;
  // Page 0 .. PageCount() - 1; white is left to the device.
  void Draw(Canvas& canvas, int page, double unit) const;

 private:
  int ThumbnailPages() const;
  int TablePages() const;
  void DrawFacts(Canvas& canvas, double unit) const;
  void DrawHistograms(Canvas& canvas, double unit) const;
  void DrawThumbnails(Canvas& canvas, int page, double unit) const;
  void DrawTable(Canvas& canvas, int page, double unit) const;

  const WaveTable& table_;
  std::vector<std::string> facts_;
  QualityPicture quality_;
};

}  // namespace velmora
