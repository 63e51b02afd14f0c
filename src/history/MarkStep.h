#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Limits.h"
#include "core/MarkRecord.h"

namespace velmora {

struct AnalysisState;

// The deleted-marks list as one edit found or left it.
struct DeletedMarksList {
  std::array<UndoEntry, kUndoCapacity> entries{};
  int32_t count = 0;
  bool operator==(const DeletedMarksList& other) const;
};

// One undoable edit of the mark store: the slots it changed with their contents before and
// after, the mark count, the changed flag and, when the edit touched it, the deleted-marks
// list. Only what changed is kept, so that a click costs a few bytes however large the store.
struct MarkStep {
  struct Slot {
    int32_t number = 0;  // 1-based
    MarkRecord before, after;
  };

  std::string name;  // what the user did, as the Edit menu names it ("automatic marking")
  std::vector<Slot> changedSlots;
  int32_t countBefore = 0, countAfter = 0;
  bool changedBefore = false, changedAfter = false;
  std::optional<DeletedMarksList> listBefore, listAfter;

  // Puts the store as it was before the step (`undo`) or after it. The connection flag of a
  // slot is left as it is: it belongs to the connections, which have their own file.
  void Apply(AnalysisState& state, bool undo) const;
};

// Equal in every field a mark edit can change (all but the connection flag).
bool SameMarkFields(const MarkRecord& a, const MarkRecord& b);

DeletedMarksList DeletedMarksOf(const AnalysisState& state);

}  // namespace velmora
