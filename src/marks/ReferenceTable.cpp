#include "marks/ReferenceTable.h"

#include <fmt/format.h>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "core/Ui.h"
#include "marks/MarkStore.h"

namespace velmora {

ReferenceTable::ReferenceTable(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) { UpdateReferenceTable(); }

void ReferenceTable::UpdateReferenceTable() {
  entries_.assign(1, ReferenceEntry{});
  typedNumber_ = 0;
  for (int n = 1; n <= state_.MarkCount && int(entries_.size()) < kMaxEntries; ++n) {
    const MarkRecord& mark = state_.Mark(n);
    if (mark.Kind == kReferenceMark) entries_.push_back({mark.Electrode, mark.Time});
  }
}

std::vector<std::array<std::string, 3>> ReferenceTable::GridRows() const {
  std::vector<std::array<std::string, 3>> rows;
  rows.reserve(entries_.size());
  for (size_t n = 0; n < entries_.size(); ++n)
    rows.push_back({fmt::format("Nr {}", n + 1), std::to_string(entries_[n].electrode),
                    std::to_string(entries_[n].time)});
  return rows;
}

void ReferenceTable::RefGridSelectCell(int row) {
  const int number = row + 1;
  selectedRow_ = number;
  if (number >= 1 && number <= RefCount()) chosen_ = entries_[size_t(number - 1)];
  UpdateReferenceTable();
  typedNumber_ = number;
}

bool ReferenceTable::InsertRefNrChange(int64_t number) {
  if (number < 1 || number > RefCount()) {
    ui_.Beep();
    ui_.CaptionedMessage("Invalid Reference Number", "Reference number is not in the available range");
    return false;
  }
  chosen_ = entries_[size_t(number - 1)];
  UpdateReferenceTable();
  typedNumber_ = int(number);
  return true;
}

bool ReferenceTable::InsertReference(int64_t electrode, int64_t time) {
  const bool electrodeOk = electrode >= kFirstElectrode && electrode <= kChannels;
  const bool timeOk = time >= 0 && time <= state_.SigLength;
  if (!electrodeOk) {
    ui_.Beep();
    ui_.Message("Electrode Number must be in the 17 - 256 range !");
  }
  if (!timeOk) {
    ui_.Beep();
    ui_.Message(fmt::format("Reference time must be in the 0 - {} range !", state_.SigLength));
  }
  if (!electrodeOk || !timeOk) return false;
  state_.PointerChannel = int32_t(electrode);
  const bool added = MarkStore::AddMarkRecord(state_, int32_t(time), kReferenceMark);
  if (!added) MarkStore::SayStoreFull(ui_);
  UpdateReferenceTable();
  return added;
}

// Deleted references do not go on the undo list; the slot keeps its electrode and gets the
// time -1 the table has always given it, which no reader takes for a mark.
bool ReferenceTable::DeleteReference() {
  if (selectedRow_ <= 1 || selectedRow_ > RefCount()) return false;
  const ReferenceEntry target = entries_[size_t(selectedRow_ - 1)];
  for (int n = 1; n <= state_.MarkCount; ++n) {
    MarkRecord& mark = state_.Mark(n);
    if (mark.Electrode != target.electrode || mark.Time != target.time) continue;
    mark.Kind = kNoValue;
    mark.Time = -1;
  }
  state_.MarksChanged = true;
  UpdateReferenceTable();
  return true;
}

void ReferenceTable::TakeChosenReference() {
  state_.ReferenceElectrode = chosen_.electrode;
  state_.ReferenceTime = chosen_.time;
  state_.WavesStale = true;
}

bool ReferenceTable::ReferenceTime1Click(AnalysisState& state, Ui& ui) {
  const ValuePrompt::Answer<int32_t> answer =
      ValuePrompt::AskInteger(ui, "Change RefTime", "Give new RefTime:", state.ReferenceTime, 0);
  if (!answer.HasValue()) return false;
  state.ReferenceTime = answer.value;
  return true;
}

}  // namespace velmora
