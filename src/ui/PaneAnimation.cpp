#include "ui/PaneAnimation.h"

#include <algorithm>
#include <stdexcept>

#include <QPainter>
#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "maps/ActivationFilm.h"
#include "maps/MapDrawing.h"
#include "marks/TimeCursor.h"
#include "ui/PanePainter.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"
#include "ui/TMainF.h"

namespace velmora {

namespace {

int PaneKind(const AnalysisState& s, int pane) { return pane == 2 ? s.PaneKindB : s.PaneKindA; }

}  // namespace

PaneAnimation::PaneAnimation(TMainF& window) : window_(window) {
  connect(&timer_, &QTimer::timeout, this, &PaneAnimation::Tick);
}

bool PaneAnimation::Animating(int pane) const {
  const AnalysisState& s = window_.State();
  if (pane == 2 && !s.TwoPanes) return false;
  return PaneKind(s, pane) == kPaneKind;
}

int PaneAnimation::FrameCount() const {
  try {
    return ActivationFilm::PlanSteps(window_.State()).Count;
  } catch (const std::invalid_argument&) {
    return 0;
  }
}

int32_t PaneAnimation::Time() const {
  const AnalysisState& s = window_.State();
  try {
    const ActivationFilm::Steps steps = ActivationFilm::PlanSteps(s);
    return steps.TimeOf(std::min(frame_, steps.Count - 1));
  } catch (const std::invalid_argument&) {
    return s.AnimBegin;
  }
}

void PaneAnimation::Show(int pane) {
  AnalysisState& s = window_.State();
  (pane == 2 ? s.PaneKindB : s.PaneKindA) = uint8_t(kPaneKind);
  window_.UpdateDisplay();
}

void PaneAnimation::Draw(int pane) {
  AnalysisState& s = window_.State();
  PaneWidget* paint = (pane == 2 ? window_.PaneB() : window_.PaneA())->Paint();
  {
    PanePainter painter(*paint);
    Canvas& canvas = painter.Surface();
    try {
      const ActivationFilm film(s, s.MarkType[size_t(pane == 2 ? 1 : 0)]);
      frame_ = std::clamp(frame_, 0, film.Timing().Count - 1);
      film.DrawFrame(s, canvas, painter.Width(), painter.Height(), frame_, false);
    } catch (const std::invalid_argument&) {
      // The caption says why; the pane shows the empty grid meanwhile.
      MapDrawing::CalcCellSize(s, painter.Width(), painter.Height());
      MapDrawing::ClearMapPane(s, canvas);
      MapDrawing::DrawMapGrid(s, canvas);
    }
  }
  paint->update();
}

std::string PaneAnimation::Caption() const {
  try {
    const ActivationFilm::Steps steps = ActivationFilm::PlanSteps(window_.State());
    return fmt::format("Animation  {}  (step {} of {}, {} steps/s{}{})", ActivationFilm::Caption(Time()),
                       std::min(frame_, steps.Count - 1) + 1, steps.Count, speed_, loop_ ? ", loop" : "",
                       Playing() ? "" : ", paused");
  } catch (const std::invalid_argument& refused) {
    return std::string("Animation: ") + refused.what();
  }
}

void PaneAnimation::DrawCursorOn(int electrogramPane) {
  if (!Animating(3 - electrogramPane)) return;
  const AnalysisState& s = window_.State();
  PaneWidget* paint = (electrogramPane == 2 ? window_.PaneB() : window_.PaneA())->Paint();
  {
    PanePainter painter(*paint);
    TimeCursor::Draw(s, painter.Surface(), Time());
  }
  paint->update();
}

bool PaneAnimation::KeyDown(int key) {
  if (!Animating(window_.State().ActivePane)) return false;
  switch (key) {
    case Qt::Key_Space: TogglePlay(); return true;
    case Qt::Key_Right: Step(1); return true;
    case Qt::Key_Left: Step(-1); return true;
    case Qt::Key_Up: SetSpeed(speed_ * 2); return true;
    case Qt::Key_Down: SetSpeed(speed_ / 2); return true;
    case Qt::Key_L: SetLoop(!loop_); Redraw(); return true;
    default: return false;
  }
}

void PaneAnimation::TogglePlay() {
  if (Playing()) {
    timer_.stop();
  } else {
    // Playing from the last step starts again from the first.
    if (frame_ >= FrameCount() - 1) frame_ = 0;
    timer_.start(1000 / speed_);
  }
  Redraw();
}

void PaneAnimation::Step(int frames) {
  const int count = FrameCount();
  if (count == 0) return;
  frame_ = loop_ ? ((frame_ + frames) % count + count) % count : std::clamp(frame_ + frames, 0, count - 1);
  FollowWithElectrograms();
  Redraw();
}

void PaneAnimation::SetSpeed(int framesPerSecond) {
  speed_ = std::clamp(framesPerSecond, 1, kFastest);
  if (Playing()) timer_.start(1000 / speed_);
  Redraw();
}

void PaneAnimation::Tick() {
  if (!loop_ && frame_ >= FrameCount() - 1) {
    timer_.stop();
    return Redraw();
  }
  Step(1);
}

// An electrogram pane beside the film scrolls so that the film's time stays in its window.
void PaneAnimation::FollowWithElectrograms() {
  AnalysisState& s = window_.State();
  const int32_t time = Time();
  for (int pane = 1; pane <= 2; ++pane) {
    if (PaneKind(s, pane) != 1 || !Animating(3 - pane)) continue;
    int32_t& begin = pane == 2 ? s.BeginB : s.BeginA;
    const int32_t window = pane == 2 ? s.WindowB : s.WindowA;
    if (time < begin || time > begin + window) begin = std::max(0, time - window / 10);
  }
}

void PaneAnimation::Redraw() { window_.UpdateDisplay(); }

}  // namespace velmora
