#include "maps/MiniGrid.h"

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"
#include "maps/MapComputation.h"

namespace velmora {

namespace {

constexpr int kWindowMargin = 40;

}  // namespace

MiniGrid::Size MiniGrid::PaintBoxSize(const AnalysisState& s) {
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  return {cols * kSpacing + kSpacing, rows * kSpacing + kSpacing};
}

MiniGrid::Size MiniGrid::WindowSize(const AnalysisState& s) {
  const Size box = PaintBoxSize(s);
  return {box.width + kWindowMargin, box.height + kWindowMargin};
}

void MiniGrid::DisplayMiniGrid(const AnalysisState& s, Canvas& canvas) {
  const Size box = PaintBoxSize(s);
  canvas.SetPen(colours::kBlack);
  canvas.SetBrush(colours::kWhite);
  canvas.Rectangle(1, 1, box.width, box.height);
  canvas.SetBrush(colours::kBlack);
  for (int col = 1; col <= MapComputation::UsedCols(s); ++col)
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row)
      canvas.Ellipse(kSpacing * col, kSpacing * row, kSpacing * col + 2, kSpacing * row + 2);
  canvas.SetBrush(colours::kBlack, BrushStyle::Clear);
  for (const int32_t channel : ShownGridChannels(s)) {
    const Frame frame = CalcMiniCell(s, channel);
    canvas.Rectangle(frame.left, frame.top, frame.right, frame.bottom);
  }
}

MiniGrid::Frame MiniGrid::CalcMiniCell(const AnalysisState& s, int32_t channel) {
  const int left = (s.ElectrodeX[size_t(channel - 1)] - 1) * kSpacing + kSpacing / 2;
  const int top = (s.ElectrodeY[size_t(channel - 1)] - 1) * kSpacing + kSpacing / 2;
  return {left, top, left + kSpacing + 1, top + kSpacing + 1};
}

std::vector<int32_t> MiniGrid::ShownGridChannels(const AnalysisState& s) {
  std::vector<int32_t> channels;
  for (int trace = 1; trace <= s.NrTraces; ++trace) {
    const int32_t channel = TraceChannel(s, trace);
    if (channel != kNoValue && MapComputation::OnGrid(s, channel)) channels.push_back(channel);
  }
  return channels;
}

}  // namespace velmora
