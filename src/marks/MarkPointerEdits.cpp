#include "marks/MarkPointerEdits.h"

#include <string>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"
#include "core/Ui.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"

namespace velmora {

int32_t MarkPointerEdits::PointerTimeMs() const {
  const AnalysisState& s = state_;
  if (!(s.SampleWidth > 0) || s.SamplingF <= 0) return kNoValue;
  return s.CurBegin + int32_t(RoundHalfEven((s.PointerX - s.TraceLeft) / s.SampleWidth / s.SamplingF * 1000.0));
}

int MarkPointerEdits::DeleteMark() {
  AnalysisState& s = state_;
  const int32_t t = PointerTimeMs();
  if (t == kNoValue) return 0;
  const int32_t tolerance = int32_t(RoundHalfEven(30.0 / s.SamplingF * 1000.0));
  const int32_t kind = s.MarkType[s.ActivePane == 2 ? 1 : 0];
  const auto deleted = MarkStore::RemoveMarks(s, ui_, s.PointerChannel, kind, t - tolerance, t + tolerance);
  if (deleted.empty()) return 0;
  ui_.Beep();
  s.MarksChanged = true;
  for (const DeletedMark& mark : deleted) MarkStore::StoreUndo(s, mark.time, mark.kind, s.PointerChannel);
  return int(deleted.size());
}

void MarkPointerEdits::KillMarks() {
  MarkStore::RemoveTime(state_, ui_, state_.PointerChannel, kSlowWave, 0, state_.SigLength);
  state_.MarksChanged = true;
}

bool MarkPointerEdits::SwitchMark() {
  const int32_t t = PointerTimeMs();
  if (t == kNoValue) return false;
  if (!MarkStore::SwitchAttribute(state_, ui_, state_.PointerChannel, t - 100, t + 100)) return false;
  ui_.Beep();
  state_.MarksChanged = true;
  return true;
}

void MarkPointerEdits::InsertReferenceMark() {
  AnalysisState& s = state_;
  const int32_t t = PointerTimeMs();
  if (t == kNoValue) return;
  if (MarkStore::HasMark(s, s.PointerChannel, kReferenceMark, t)) {
    ui_.Beep();  // this reference is set already
    return;
  }
  const int top = TraceLayout::BandTop(s, s.PointerTrace);
  canvas_.SetPen(colours::kBlack);
  canvas_.Line(s.PointerX, top, s.PointerX, TraceLayout::BandBottom(s, s.PointerTrace));
  canvas_.SetBrush(colours::kBlack);
  canvas_.Ellipse(s.PointerX - 4, top - 4, s.PointerX + 4, top + 4);
  canvas_.SetBrush(colours::kWhite);
  if (s.ShowElgTimes) {
    canvas_.SetFont(colours::kBlack, FontStyle{});
    canvas_.TextOut(s.PointerX + 5, top, std::to_string(t));
  }
  if (!MarkStore::AddMarkRecord(s, t, kReferenceMark)) MarkStore::SayStoreFull(ui_);
}

}  // namespace velmora
