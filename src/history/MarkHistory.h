#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/MarkRecord.h"
#include "history/MarkStep.h"

namespace velmora {

struct AnalysisState;

// Undo and redo of the mark edits of one recording, without limit.
//
// Like the journal, the history does not follow the many ways the store can change: at the
// end of a command it compares the store with what it last saw and keeps what differs as one
// step, named after the command. Nothing a command does can therefore escape undo, and
// automatic marking over every electrode is one step however many marks it adds. A step
// restores the store exactly: every field of every slot it touched (the connection flag
// aside), the mark count, the changed flag and the deleted-marks list.
class MarkHistory {
 public:
  // The name of a step whose command did not name it.
  static constexpr std::string_view kUnnamedEdit = "mark edit";

  // Forgets every step and follows the store as it is now (a recording was loaded).
  void Reset(const AnalysisState& state);
  // Keeps what changed since the last call as one step called `name`; a new step clears
  // the redo stack. Returns false when no mark changed (a flag alone is taken silently).
  bool Commit(const AnalysisState& state, std::string_view name);
  // Takes back the last step, or puts back the last step taken back. Edits not yet
  // committed are committed first, unnamed. False when there is nothing to do.
  bool Undo(AnalysisState& state);
  bool Redo(AnalysisState& state);
  // The store agrees with its mark file again when `MarksChanged` is clear (saved): undoing
  // or redoing away from here makes the marks changed, coming back makes them unchanged.
  void Settle(const AnalysisState& state);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The name of the step Undo or Redo would act on; empty when there is none.
  std::string UndoName() const { return undo_.empty() ? std::string() : undo_.back().name; }
  std::string RedoName() const { return redo_.empty() ? std::string() : redo_.back().name; }
  size_t UndoDepth() const { return undo_.size(); }
  size_t RedoDepth() const { return redo_.size(); }

 private:
  MarkStep Difference(const AnalysisState& state);
  void Follow(const AnalysisState& state);
  void FollowSlots(const AnalysisState& state, const MarkStep& step);
  bool Move(AnalysisState& state, std::vector<MarkStep>& from, std::vector<MarkStep>& to, bool undo);

  std::vector<MarkRecord> seen_;  // every slot as the last commit saw it
  int32_t seenCount_ = 0;
  bool seenChanged_ = false;
  DeletedMarksList seenList_;
  std::vector<MarkStep> undo_, redo_;
};

}  // namespace velmora
