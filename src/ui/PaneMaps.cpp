#include "ui/PaneMaps.h"

#include <QPainter>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "maps/MapDrawing.h"
#include "ui/PanePainter.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

void PaneMaps::TakeMapSettings(int pane) {
  AnalysisState& s = state_;
  s.MapBegin = pane == 2 ? s.BeginB : s.BeginA;
  s.MapWindow = pane == 2 ? s.WindowB : s.WindowA;
  s.CurMapKind = pane == 2 ? s.MapKindB : s.MapKindA;
}

void PaneMaps::Draw(int pane) {
  TakeMapSettings(pane);
  PaneWidget* paint = Panel(pane).Paint();
  {
    PanePainter painter(*paint);
    MapDrawing::DrawMap(state_, painter.Surface(), painter.Width(), painter.Height(), hooks_);
  }
  heldPane_ = pane;
  paint->update();
}

void PaneMaps::HoldMapOf(int pane) {
  AnalysisState& s = state_;
  const bool shown = pane == 2 ? s.TwoPanes && s.PaneKindB == 0 : s.PaneKindA == 0;
  if (!shown || heldPane_ == pane) return;
  // The fill reads the mark type of the active pane.
  const int32_t activePane = s.ActivePane;
  s.ActivePane = pane;
  TakeMapSettings(pane);
  const PaneWidget* paint = Panel(pane).Paint();
  MapDrawing::CalcCellSize(s, paint->width(), paint->height());
  if (hooks_.FillMapGrid) hooks_.FillMapGrid(s);
  if (s.ExpandMap && hooks_.ExpandMapGrid) hooks_.ExpandMapGrid(s);
  s.ActivePane = activePane;
  heldPane_ = pane;
}

int32_t PaneMaps::CellValueUnderPointer(int mapKind) const {
  const AnalysisState& s = state_;
  if (s.PointerCellChannel < 1) return kNoValue;
  const MapCell& cell = s.Cell(s.PointerCol, s.PointerRow);
  const double real = mapKind == 4 ? cell.Amplitude : mapKind == 5 ? cell.Slope : cell.Velocity;
  if (mapKind < 4) return cell.Value;
  return real == kNoValue ? kNoValue : int32_t(RoundHalfEven(real));
}

}  // namespace velmora
