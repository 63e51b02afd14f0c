#include "maps/MiniMap.h"

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "maps/MapComputation.h"

namespace velmora {

namespace {

constexpr int kWindowMargin = 20;
constexpr int kDotSize = 4;
// The frame reaches from 2 pixels before a dot's cell to 8 pixels into it.
constexpr int kFrameBefore = 2, kFrameAfter = 8;

}  // namespace

MiniGrid::Size MiniMap::PaintBoxSize(const AnalysisState& s) {
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  return {cols * kSpacing + kSpacing + kLeft, rows * kSpacing + 2 * kSpacing + kTop};
}

MiniGrid::Size MiniMap::WindowSize(const AnalysisState& s) {
  const MiniGrid::Size box = PaintBoxSize(s);
  return {box.width + kWindowMargin, box.height + kWindowMargin};
}

void MiniMap::DrawMiniMap(Canvas& canvas) const {
  const AnalysisState& s = state_;
  const MiniGrid::Size window = WindowSize(s);
  canvas.SetPen(kButtonFace);
  canvas.SetBrush(kButtonFace);
  canvas.Rectangle(0, 0, window.width, window.height);
  canvas.SetPen(colours::kBlack);
  canvas.SetBrush(colours::kBlack);
  for (int col = 1; col <= MapComputation::UsedCols(s); ++col) {
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row) {
      const int x = kLeft + kSpacing * col, y = kTop + kSpacing * row;
      canvas.Ellipse(x, y, x + kDotSize, y + kDotSize);
    }
  }
  canvas.SetBrush(colours::kBlack, BrushStyle::Clear);
  for (const int32_t channel : MiniGrid::ShownGridChannels(s)) {
    if (channel < kFirstElectrode) continue;  // the first sixteen channels are no electrodes
    const int x = kSpacing * s.ElectrodeX[size_t(channel - 1)], y = kSpacing * s.ElectrodeY[size_t(channel - 1)];
    canvas.Rectangle(x - kFrameBefore, y - kFrameBefore, x + kFrameAfter, y + kFrameAfter);
  }
}

MiniMap::Position MiniMap::PositionAt(const AnalysisState& s, int x, int y) {
  Position position;
  position.column = (x - 6) / kSpacing + 1;
  position.row = (y - 6) / kSpacing + 1;
  const std::optional<int32_t> channel = MapComputation::ChannelAt(s, position.column, position.row);
  position.electrode = channel ? *channel : kOutside;
  return position;
}

std::string MiniMap::Caption(const Position& p) {
  return fmt::format("  X = {}     Y = {}   Ele = {}", p.column, p.row, p.electrode);
}

std::string MiniMap::MiniPaintMouseMove(int x, int y) {
  const Position position = PositionAt(state_, x, y);
  miniElectrode_ = position.electrode;
  return Caption(position);
}

bool MiniMap::FormClick(Ui& ui) {
  if (miniElectrode_ == kOutside) return false;
  state_.FirstChannel = miniElectrode_;
  ui.Beep();
  return true;
}

}  // namespace velmora
