#pragma once

#include <Qt>
#include <QChar>

#include "commands/PointerCommands.h"
#include "commands/RectangleSelection.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkingReport.h"

namespace velmora {

struct AnalysisState;
class TMainF;
class Ui;

// The keys and the pointer of the main window: grid keys, the mark keys at the pointer,
// clicks on the panes, the Ctrl rubber band, zoom and the automatic marking command. Each
// acts on the pane under the pointer and asks the window to redraw.
class PaneInput {
 public:
  PaneInput(TMainF& window, AnalysisState& state, Ui& ui)
      : window_(window), state_(state), ui_(ui), marking_(state, ui), pointer_(state, ui, marking_),
        rectangle_(state, ui) {}

  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  bool FormKeyPress(QChar character);
  void FormKeyUp();
  void PaintAMouseMove(int x, int y);
  void PaintBMouseMove(int x, int y);
  void PaneClick(int pane, int x, int y);
  void PaneDoubleClick(int pane, int x, int y);
  void Zoom(bool narrow);
  void AutomaticSWmarking();

 private:
  void TellMarkingReport(const MarkingReport& report);
  bool InTraceArea() const;
  void MarkKeyAtPointer(QChar key);
  void ConnectionKeyAtPointer(QChar key);
  bool MapKeyAtPointer(QChar key);
  void ToggleRubberBand();
  void ReleaseRectangle();

  TMainF& window_;
  AnalysisState& state_;
  Ui& ui_;
  AutomaticMarking marking_;
  PointerCommands pointer_;
  RectangleSelection rectangle_;
  bool rubberBandShown_ = false;
};

}  // namespace velmora
