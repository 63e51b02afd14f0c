#include "ui/PaneInput.h"

#include <QAction>

#include "commands/GridKeys.h"
#include "commands/PaneCaptions.h"
#include "commands/ViewCommands.h"
#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "maps/ConnectionEdits.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "history/MarkEditNames.h"
#include "marks/MarkPointerEdits.h"
#include "marks/MarkStore.h"
#include "ui/MainMenu.h"
#include "ui/MarkUndoWiring.h"
#include "ui/PaneMaps.h"
#include "ui/PanePanel.h"
#include "ui/PaneRouter.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

namespace velmora {

namespace {

int PaneKind(const AnalysisState& s, int pane) { return pane == 2 ? s.PaneKindB : s.PaneKindA; }

}  // namespace

bool PaneInput::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  AnalysisState& s = state_;
  static const std::pair<int, GridKeys::Key> kGridKeys[] = {
      {Qt::Key_Left, GridKeys::Key::Left},     {Qt::Key_Right, GridKeys::Key::Right},
      {Qt::Key_Up, GridKeys::Key::Up},         {Qt::Key_Down, GridKeys::Key::Down},
      {Qt::Key_PageUp, GridKeys::Key::PageUp}, {Qt::Key_PageDown, GridKeys::Key::PageDown}};
  for (const auto& [qtKey, gridKey] : kGridKeys) {
    if (key != qtKey) continue;
    if (GridKeys::Move(s, ui_, gridKey)) window_.UpdateDisplay();
    return true;
  }
  if (key == Qt::Key_Shift && modifiers == Qt::ShiftModifier) {
    ReleaseRectangle();
    s.AssistedMarking = true;
    s.ShapeFree = false;
  } else if (key == Qt::Key_Control && modifiers == Qt::ControlModifier) {
    ReleaseRectangle();
    if (!s.ShapeFree) {
      s.ShapeAnchorX = s.PointerX;  // the rectangle starts where Ctrl went down
      s.ShapeAnchorY = s.PointerY;
    }
    s.ShapeFree = true;
  } else if (key != Qt::Key_D) {
    ReleaseRectangle();
  }
  return false;
}

void PaneInput::FormKeyUp() {
  AnalysisState& s = state_;
  if (s.ClickArmed && s.ShapeDragging && s.ShapeFree) {
    s.RectangleFixed = true;
  } else if (rubberBandShown_ && !s.RectangleFixed) {
    ToggleRubberBand();  // a rectangle not fixed goes away with the key
  }
  s.AssistedMarking = false;
  s.ShapeDragging = false;
  s.ShapeFree = false;
}

bool PaneInput::InTraceArea() const {
  const AnalysisState& s = state_;
  const int kind = PaneKind(s, s.ActivePane);
  const bool waveForms = s.ActivePane != 2 && s.ElgModeA == 2;  // cells, no traces
  return kind == 1 && !waveForms && s.FileLoaded && s.TraceLeft < s.PointerX &&
         s.PointerX < s.TraceLeft + s.TraceAreaWidth && s.TraceTop < s.PointerY && s.PointerY < s.TraceTop + s.TraceAreaBottom;
}

bool PaneInput::FormKeyPress(QChar character) {
  const QChar key = character.toUpper();
  if (key == 'E' || key == 'H' || key == 'U') return MapKeyAtPointer(key);
  const bool connectionKey = key == '1' || key == '2' || key == 'Z' || key == 'Y' || key == 'F';
  if (key != 'D' && key != 'R' && key != 'S' && key != 'K' && key != 'W' && !connectionKey) return false;
  // The keys act on the pane under the pointer, with that pane's layout and drawing focus.
  const int pane = state_.ActivePane == 2 ? 2 : 1;
  window_.PrepareElectrogramLayout(pane);
  state_.FocusA = pane == 1;
  state_.FocusB = pane == 2;
  if (!InTraceArea() || state_.PointerTrace < 1) return false;
  if (connectionKey) {
    ConnectionKeyAtPointer(key);
  } else {
    MarkKeyAtPointer(key);
  }
  return true;
}

void PaneInput::ConnectionKeyAtPointer(QChar key) {
  AnalysisState& s = state_;
  if (key == '1') ConnectionEdits::SelectFirstEnd(s);
  if (key == '2') ConnectionEdits::SelectSecondEnd(s);
  if (key == 'Z') ConnectionEdits::DeleteConnectionsAtTime(s, s.PointerChannel, s.PointerTime);
  if (key == 'Y') {
    const auto [first, second] = ConnectionEdits::ChoosePair(s);
    ConnectionEdits::ConnectAroundTime(s, first, second, s.PointerTime);
  }
  if (key == 'F') {
    const auto [first, second] = ConnectionEdits::ChoosePair(s);
    ConnectionEdits::DeleteConnectionsBetween(s, first, second);
  }
  window_.UpdateDisplay();
}

void PaneInput::MarkKeyAtPointer(QChar key) {
  AnalysisState& s = state_;
  if (key == 'D' && s.RectangleFixed) {
    rectangle_.DeleteInside();
    MarkUndoWiring::CommandEnded(window_, MarkEditNames::kDeleteInRectangle);
    ReleaseRectangle();
    window_.UpdateDisplay();
    return;
  }
  if (key == 'W') {
    marking_.SpreadFrom(s.PointerChannel, s.PointerTime);
    MarkUndoWiring::CommandEnded(window_, MarkEditNames::kSpreadingMarking);
    window_.UpdateDisplay();
    return;
  }
  {
    // The router holds the panes' images until it goes, so it goes before the redraw.
    PaneRouter router(s, window_.PaneA()->Paint(), window_.PaneB()->Paint());
    MarkPointerEdits edits(s, ui_, router);
    if (key == 'R') {
      edits.InsertReferenceMark();
      return MarkUndoWiring::CommandEnded(window_, MarkEditNames::kReferenceMark);
    }
    if (key == 'S') edits.SwitchMark();
    if (key == 'K') edits.KillMarks();
    // A deleted mark is shown by drawing the panes again: painting over it would also wipe the
    // trace and the time grid beneath it, and a map in the other pane would keep its time.
    if (key == 'D' && edits.DeleteMark() == 0) return;
  }
  MarkUndoWiring::CommandEnded(window_, key == 'S'   ? MarkEditNames::kSwitchMark
                                        : key == 'K' ? MarkEditNames::kKillMarks
                                                     : MarkEditNames::kDeleteMark);
  window_.UpdateDisplay();
}

// E, H and U act on the map cell under the pointer, strictly inside the map area, with the
// value the pane under the pointer shows there.
bool PaneInput::MapKeyAtPointer(QChar key) {
  AnalysisState& s = state_;
  const int pane = s.ActivePane == 2 ? 2 : 1;
  if (PaneKind(s, pane) != 0) return false;
  window_.Maps().HoldMapOf(pane);
  const PixelRect& area = s.MapPaneRect;
  const bool inside = s.PointerX > area.Left && s.PointerX < area.Left + area.Width && s.PointerY > area.Top &&
                      s.PointerY < area.Top + area.Height;
  if (!inside) return false;
  PaneCaptions::UpdateMapPointer(s);
  ui_.Beep();
  const int32_t channel = s.PointerCellChannel;
  if (key == 'E' && channel >= 1) MapComputation::InterpolateElectrode(s, channel, ui_);
  if (key == 'H' && channel >= 1) {
    MarkStore::HideMarks(s, channel, s.Cell(s.PointerCol, s.PointerRow).Value);
    MarkUndoWiring::CommandEnded(window_, MarkEditNames::kHideMarks);
    window_.Menu().Action("UnhideMarks1")->setEnabled(true);
  }
  if (key == 'U' && channel >= 1) {
    MarkStore::UnhideElectrode(s, channel);
    MarkUndoWiring::CommandEnded(window_, MarkEditNames::kUnhideElectrode);
  }
  window_.UpdateDisplay();
  return true;
}

void PaneInput::PaintAMouseMove(int x, int y) {
  AnalysisState& s = state_;
  if (!s.PointerReady || x <= 0 || y <= 0) return;
  s.PointerX = x;
  s.PointerY = y;
  s.ActivePane = 1;
  if (s.FileLoaded) window_.DisplayCaptionA();
  if (s.ShapeFree && s.PaneKindA == 1 && s.FileLoaded) {
    // Ctrl held: the rubber band follows the pointer, drawn and undrawn in not-xor.
    if (rubberBandShown_) ToggleRubberBand();
    rectangle_.StretchToPointer();
    s.ShapeDragging = true;
    ToggleRubberBand();
  }
}

void PaneInput::ToggleRubberBand() {
  AnalysisState& s = state_;
  const bool focusA = s.FocusA, focusB = s.FocusB;
  s.FocusA = true;
  s.FocusB = false;
  {
    PaneRouter router(s, window_.PaneA()->Paint(), window_.PaneB()->Paint());
    router.SetPen(colours::kBlack, 1, PenMode::NotXor);
    router.SetBrush(colours::kWhite, BrushStyle::Clear);
    router.Rectangle(s.ShapeLeft, s.ShapeTop, s.ShapeRight + 1, s.ShapeBottom + 1);
    router.SetPen(colours::kBlack, 1, PenMode::Copy);
    router.SetBrush(colours::kWhite, BrushStyle::Solid);
  }
  s.FocusA = focusA;
  s.FocusB = focusB;
  rubberBandShown_ = !rubberBandShown_;
}

void PaneInput::ReleaseRectangle() {
  if (rubberBandShown_) ToggleRubberBand();
  state_.RectangleFixed = false;
}

void PaneInput::PaintBMouseMove(int x, int y) {
  AnalysisState& s = state_;
  if (x <= 0 || y <= 0) return;
  s.PointerX = x;
  s.PointerY = y;
  s.ActivePane = 2;
  if (s.FileLoaded) window_.DisplayCaptionB();
}


// A click acts on the pane clicked, with that pane's layout and drawing focus.
void PaneInput::PaneClick(int pane, int x, int y) {
  AnalysisState& s = state_;
  s.PointerX = x;
  s.PointerY = y;
  s.ActivePane = pane;
  s.FocusA = pane == 1;
  s.FocusB = pane == 2;
  const int kind = PaneKind(s, pane);
  if (kind != 1) {
    window_.Maps().HoldMapOf(pane);
    PaneCaptions::UpdateMapPointer(s);
    const bool freeOrderToo = pane == 1 || kind == 0;
    if (pointer_.ClickOnMap(kind == 0, freeOrderToo)) window_.UpdateDisplay();
    return;
  }
  if (!s.FileLoaded) return;
  // Wave forms have no time axis and no trace under the pointer: a click there would mark
  // an electrogram the pane does not show.
  if (pane == 1 && s.ElgModeA == 2) return;
  window_.PrepareElectrogramLayout(pane);
  PaneCaptions::UpdateElectrogramPointer(s);
  if (pane == 1 && s.RectangleFixed) {
    rectangle_.MarkInside(marking_);
    MarkUndoWiring::CommandEnded(window_, MarkEditNames::kMarksInRectangle);
    ReleaseRectangle();
    window_.UpdateDisplay();
    return;
  }
  const bool byHand = !s.AssistedMarking;
  bool marked = false;
  {
    PaneRouter router(s, window_.PaneA()->Paint(), window_.PaneB()->Paint());
    marked = pointer_.ClickOnElectrograms(router);
  }
  if (marked) MarkUndoWiring::CommandEnded(window_, byHand ? MarkEditNames::kMark : MarkEditNames::kAssistedMark);
  // A mark set by hand shows at once in a map of the other pane; the electrograms keep the
  // line just drawn, and an assisted mark waits for the next update.
  const int other = pane == 1 ? 2 : 1;
  if (marked && byHand && s.TwoPanes && PaneKind(s, other) == 0)
    window_.Apply(other == 2 ? Redraw::PaneB : Redraw::PaneA);
}

void PaneInput::AutomaticSWmarking() {
  if (!state_.FileLoaded) return;
  window_.PrepareElectrogramLayout(1);
  const int32_t before = state_.MarkCount;
  marking_.MarkAllSlowWaves();
  MarkUndoWiring::CommandEnded(window_, MarkEditNames::kAutomaticMarking);
  window_.UpdateDisplay();
  TellMarkingReport(MarkingReport::After(state_, before));
}

// The marks made and the electrodes that look dead; when any of the new marks are theirs, one
// answer takes those away as an undo step of its own.
void PaneInput::TellMarkingReport(const MarkingReport& report) {
  if (report.marksOnDead == 0) {
    ui_.Message(report.Text());
    return;
  }
  if (ui_.AskYesNoCancel(report.Text() + "\nRemove their marks?") != Ui::Answer::Yes) return;
  report.RemoveDeadMarks(state_);
  MarkUndoWiring::CommandEnded(window_, MarkEditNames::kRemoveDeadMarks);
  window_.UpdateDisplay();
}

// A double click on a map crosses out the cell under the pointer until the next redraw.
void PaneInput::PaneDoubleClick(int pane, int x, int y) {
  AnalysisState& s = state_;
  if (PaneKind(s, pane) != 0) return;
  s.PointerX = x;
  s.PointerY = y;
  window_.Maps().HoldMapOf(pane);
  PaneCaptions::UpdateMapPointer(s);
  if (s.PointerCellChannel < 1) return;
  const bool focusA = s.FocusA, focusB = s.FocusB;
  s.FocusA = pane == 1;
  s.FocusB = pane == 2;
  {
    PaneRouter router(s, window_.PaneA()->Paint(), window_.PaneB()->Paint());
    MapDrawing::DrawExcludedCell(s, router, s.PointerCellChannel);
  }
  s.FocusA = focusA;
  s.FocusB = focusB;
}

void PaneInput::Zoom(bool narrow) {
  pointer_.CalcNewZoom(state_.ActivePane == 2 ? 2 : 1, narrow);
  window_.UpdateDisplay();
}

}  // namespace velmora
