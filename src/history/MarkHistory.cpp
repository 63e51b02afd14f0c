#include "history/MarkHistory.h"

#include <algorithm>

#include "core/AnalysisState.h"

namespace velmora {

void MarkHistory::Reset(const AnalysisState& state) {
  undo_.clear();
  redo_.clear();
  Follow(state);
}

void MarkHistory::Follow(const AnalysisState& s) {
  seen_ = s.Marks;
  seenCount_ = s.MarkCount;
  seenChanged_ = s.MarksChanged;
  seenList_ = DeletedMarksOf(s);
}

// Slots past the count are compared too: an edit may have written there before it counted
// them, and undoing it must leave them as they were.
MarkStep MarkHistory::Difference(const AnalysisState& s) {
  MarkStep step;
  step.countBefore = seenCount_;
  step.countAfter = s.MarkCount;
  step.changedBefore = seenChanged_;
  step.changedAfter = s.MarksChanged;
  const size_t compared = std::min(s.Marks.size(), size_t(std::max(seenCount_, s.MarkCount)));
  if (seen_.size() < compared) seen_.resize(compared);
  for (size_t i = 0; i < compared; ++i) {
    const MarkRecord& now = s.Marks[i];
    if (!SameMarkFields(seen_[i], now)) step.changedSlots.push_back({int32_t(i + 1), seen_[i], now});
    seen_[i] = now;  // a connection flag changes here without a step
  }
  const DeletedMarksList list = DeletedMarksOf(s);
  if (list != seenList_) {
    step.listBefore = seenList_;
    step.listAfter = list;
  }
  return step;
}

bool MarkHistory::Commit(const AnalysisState& s, std::string_view name) {
  MarkStep step = Difference(s);
  seenCount_ = s.MarkCount;
  seenChanged_ = s.MarksChanged;
  seenList_ = DeletedMarksOf(s);
  if (step.changedSlots.empty() && step.countBefore == step.countAfter && !step.listAfter) return false;
  step.name = std::string(name);
  undo_.push_back(std::move(step));
  redo_.clear();
  return true;
}

void MarkHistory::FollowSlots(const AnalysisState& s, const MarkStep& step) {
  for (const MarkStep::Slot& slot : step.changedSlots) seen_[size_t(slot.number - 1)] = s.Mark(slot.number);
  seenCount_ = s.MarkCount;
  seenChanged_ = s.MarksChanged;
  seenList_ = DeletedMarksOf(s);
}

bool MarkHistory::Undo(AnalysisState& s) { return Move(s, undo_, redo_, true); }
bool MarkHistory::Redo(AnalysisState& s) { return Move(s, redo_, undo_, false); }

// A pending edit is a step of its own first; on the way to a redo it clears the redo stack,
// as any new edit does.
bool MarkHistory::Move(AnalysisState& s, std::vector<MarkStep>& from, std::vector<MarkStep>& to, bool undo) {
  Commit(s, kUnnamedEdit);
  if (from.empty()) return false;
  from.back().Apply(s, undo);
  FollowSlots(s, from.back());
  to.push_back(std::move(from.back()));
  from.pop_back();
  return true;
}

void MarkHistory::Settle(const AnalysisState& s) {
  Commit(s, kUnnamedEdit);
  Follow(s);
  if (s.MarksChanged) return;
  for (MarkStep& step : undo_) step.changedBefore = step.changedAfter = true;
  for (MarkStep& step : redo_) step.changedBefore = step.changedAfter = true;
  if (!undo_.empty()) undo_.back().changedAfter = false;
  if (!redo_.empty()) redo_.back().changedBefore = false;
}

}  // namespace velmora
