#include "commands/PointerCommands.h"

#include <algorithm>
#include <string>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"
#include "core/Ui.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"

namespace velmora {

namespace {

Colour KindColour(int kind) {
  if (kind == kSpike) return colours::kBlue;
  if (kind == kType3) return colours::kFuchsia;
  return colours::kRed;
}

}  // namespace

bool PointerCommands::InTraceArea() const {
  const AnalysisState& s = state_;
  return s.TraceLeft < s.PointerX && s.PointerX < s.TraceLeft + s.TraceAreaWidth && 1 < s.PointerY &&
         s.PointerY < s.TraceAreaBottom + s.TraceTop;
}

bool PointerCommands::ClickOnElectrograms(Canvas& canvas) {
  if (!InTraceArea()) return false;
  if (!state_.ClickArmed) {
    state_.ClickArmed = true;  // the first click after a load only arms the pane
    return false;
  }
  return state_.AssistedMarking ? AssistedMark(canvas) : ManualMark(canvas);
}

void PointerCommands::DrawMarkLine(Canvas& canvas, int x, int kind, int32_t time) {
  const AnalysisState& s = state_;
  const int top = TraceLayout::BandTop(s, s.PointerTrace);
  canvas.Line(x, top, x, TraceLayout::BandBottom(s, s.PointerTrace));
  if (s.ShowElgTimes) {
    canvas.SetBrush(colours::kWhite);
    canvas.SetFont(KindColour(kind), FontStyle{});
    canvas.TextOut(x + 5, top, std::to_string(time));
  }
}

bool PointerCommands::AssistedMark(Canvas& canvas) {
  AnalysisState& s = state_;
  if (s.PointerTrace == -1 || s.PointerChannel == 0 || !(s.SampleWidth > 0)) return false;
  const int kind = s.MarkType[s.ActivePane == 2 ? 1 : 0];
  const int32_t centre = s.CurBegin + int32_t(RoundHalfEven((s.PointerX - s.TraceLeft) / s.SampleWidth));
  const int32_t found = marking_.SearchAround(s.PointerChannel, centre, marking_.SearchWidth(kind) / 2, kind, kind);
  if (found == kNoValue) return false;
  canvas.SetPen(KindColour(kind), 1);
  DrawMarkLine(canvas, s.TraceLeft + int(RoundHalfEven((found - s.CurBegin) * s.SampleWidth)), kind, found);
  return true;
}

bool PointerCommands::ManualMark(Canvas& canvas) {
  AnalysisState& s = state_;
  if (s.PointerTrace == -1 || s.PointerChannel == 0 || !(s.SampleWidth > 0) || s.SamplingF <= 0) return false;
  const int kind = s.MarkType[s.ActivePane == 2 ? 1 : 0];
  const int32_t time =
      s.CurBegin + int32_t(RoundHalfEven((s.PointerX - s.TraceLeft) / s.SampleWidth / s.SamplingF * 1000.0));
  if (MarkStore::HasMark(s, s.PointerChannel, kind, time)) {
    ui_.Beep();  // clicked again where the same mark lies: nothing to add
    return false;
  }
  s.MarkOrigin = kByHand;
  canvas.SetPen(KindColour(kind), 2);
  DrawMarkLine(canvas, s.PointerX, kind, time);
  const bool added = MarkStore::AddMarkRecord(s, time, kind);
  if (!added) MarkStore::SayStoreFull(ui_);
  canvas.SetPen(colours::kBlack, 1);
  return added;
}

bool PointerCommands::ClickOnMap(bool isMapPane, bool freeOrderToo) {
  AnalysisState& s = state_;
  if (isMapPane) s.ClickArmed = false;
  if (s.PointerCellChannel >= 1 && s.PointerCellChannel <= kChannels) {
    s.FirstChannel = s.PointerCellChannel;
    s.FirstCol = s.PointerCol;
    s.FirstRow = s.PointerRow;
  }
  if (s.TraceOrder == 3 && freeOrderToo) ToggleFreeChannel(s.PointerCellChannel);
  return s.TwoPanes;
}

void PointerCommands::ToggleFreeChannel(int32_t channel) {
  AnalysisState& s = state_;
  if (channel < 1 || channel > kChannels) return;
  auto begin = s.FreeOrderList.begin();
  auto end = begin + s.FreeOrderCount;
  auto found = std::find(begin, end, channel);
  if (found != end) {
    std::copy(found + 1, end, found);
    s.FreeOrderList[size_t(--s.FreeOrderCount)] = kNoValue;
    return;
  }
  // The list holds as many channels as there are traces; a new one pushes out the oldest.
  const int capacity = std::clamp(s.NrTraces, 1, kChannels);
  while (s.FreeOrderCount >= capacity) {
    std::copy(begin + 1, begin + s.FreeOrderCount, begin);
    s.FreeOrderList[size_t(--s.FreeOrderCount)] = kNoValue;
  }
  s.FreeOrderList[size_t(s.FreeOrderCount++)] = channel;
}

void PointerCommands::CalcNewZoom(int pane, bool narrow) {
  AnalysisState& s = state_;
  ui_.Beep();
  int32_t& begin = pane == 2 ? s.BeginB : s.BeginA;
  int32_t& window = pane == 2 ? s.WindowB : s.WindowA;
  if (narrow) {
    window = std::max(window / 2, 10);
  } else {
    window = int32_t(std::min<int64_t>(int64_t(window) * 2, std::max(s.SigLength, 1)));
  }
  begin = std::max(s.PointerTime - window / 2, 0);
}

}  // namespace velmora
