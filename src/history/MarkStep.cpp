#include "history/MarkStep.h"

#include <algorithm>

#include "core/AnalysisState.h"

namespace velmora {

bool SameMarkFields(const MarkRecord& a, const MarkRecord& b) {
  return a.Electrode == b.Electrode && a.Kind == b.Kind && a.Time == b.Time && a.Spare1 == b.Spare1 &&
         a.Spare2 == b.Spare2 && a.Origin == b.Origin && a.Spare3 == b.Spare3 && a.SerialNr == b.SerialNr &&
         a.Visible == b.Visible;
}

bool DeletedMarksList::operator==(const DeletedMarksList& other) const {
  return count == other.count && std::equal(entries.begin(), entries.end(), other.entries.begin(),
                                            [](const UndoEntry& a, const UndoEntry& b) {
                                              return a.Electrode == b.Electrode && a.Time == b.Time && a.Kind == b.Kind;
                                            });
}

DeletedMarksList DeletedMarksOf(const AnalysisState& state) {
  DeletedMarksList list;
  list.entries = state.UndoList;
  list.count = state.UndoCount;
  return list;
}

void MarkStep::Apply(AnalysisState& s, bool undo) const {
  const auto highest = std::max_element(changedSlots.begin(), changedSlots.end(),
                                        [](const Slot& a, const Slot& b) { return a.number < b.number; });
  if (highest != changedSlots.end() && size_t(highest->number) > s.Marks.size()) {
    s.Marks.resize(size_t(highest->number));
    if (s.MarkAmplitudes.size() < s.Marks.size()) s.MarkAmplitudes.resize(s.Marks.size());
  }
  for (const Slot& slot : changedSlots) {
    MarkRecord& mark = s.Mark(slot.number);
    const int16_t connected = mark.Connected;
    mark = undo ? slot.before : slot.after;
    mark.Connected = connected;
    // An amplitude computed for what the slot held no longer belongs to it.
    if (size_t(slot.number) <= s.MarkAmplitudes.size()) s.MarkAmplitudes[size_t(slot.number - 1)] = AmplitudeRecord{};
  }
  s.MarkCount = undo ? countBefore : countAfter;
  s.MarksChanged = undo ? changedBefore : changedAfter;
  const std::optional<DeletedMarksList>& list = undo ? listBefore : listAfter;
  if (list) {
    s.UndoList = list->entries;
    s.UndoCount = list->count;
  }
  s.WavesStale = true;
}

}  // namespace velmora
