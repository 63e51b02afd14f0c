#include "marks/MarkStore.h"

#include <algorithm>
#include <new>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Ui.h"

namespace velmora {

bool MarkStore::MakeRoom(AnalysisState& s, int64_t slots) {
  if (slots > kMaxMarks) return false;
  if (slots <= int64_t(s.Marks.size()) && slots <= int64_t(s.MarkAmplitudes.size())) return true;
  // Doubling keeps adding marks one by one cheap however many a long recording gets.
  const size_t grown = size_t(std::clamp<int64_t>(std::max<int64_t>(slots, int64_t(s.Marks.size()) * 2), 0, kMaxMarks));
  try {
    s.Marks.resize(grown);
    s.MarkAmplitudes.resize(grown);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void MarkStore::SayStoreFull(Ui& ui) {
  ui.Beep();
  ui.Message(fmt::format("The mark store is full: no more marks can be added ({} marks at most)", kMaxMarks));
}

bool MarkStore::AddMarkRecord(AnalysisState& s, int32_t time, int32_t kind) {
  if (!MakeRoom(s, int64_t(s.MarkCount) + 1)) return false;
  s.MarkCount += 1;
  MarkRecord& mark = s.Mark(s.MarkCount);
  mark = MarkRecord{};
  mark.Electrode = uint16_t(s.PointerChannel);
  mark.Kind = int16_t(kind);
  mark.Time = time;
  mark.Origin = s.MarkOrigin;
  mark.SerialNr = int16_t(s.MarkCount);
  mark.Visible = 1;
  s.MarksChanged = true;
  s.WavesStale = true;
  return true;
}

bool MarkStore::HasMark(const AnalysisState& s, int32_t electrode, int32_t kind, int32_t time) {
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == electrode && mark.Kind == kind && mark.Time == time) return true;
  }
  return false;
}

std::vector<DeletedMark> MarkStore::RemoveMarks(AnalysisState& s, Ui& ui, int32_t electrode, int32_t kind,
                                                int32_t from, int32_t to) {
  std::vector<DeletedMark> deleted;
  for (int n = 1; n <= s.MarkCount; ++n) {
    MarkRecord& mark = s.Mark(n);
    if (mark.Electrode != electrode) continue;
    ui.Log(" found it =" + std::to_string(mark.Time));
    if (mark.Time < from || mark.Time > to) continue;
    if (mark.Kind == 0 || mark.Kind == kReferenceMark || mark.Kind == kind) {
      deleted.push_back({mark.Time, mark.Kind});
      mark.Kind = int16_t(kNoValue);
      mark.Time = kNoValue;
    }
  }
  return deleted;
}

int32_t MarkStore::RemoveTime(AnalysisState& s, Ui& ui, int32_t electrode, int32_t kind, int32_t from, int32_t to) {
  const auto deleted = RemoveMarks(s, ui, electrode, kind, from, to);
  return deleted.empty() ? kNoValue : deleted.back().time;
}

bool MarkStore::SwitchAttribute(AnalysisState& s, Ui& ui, int32_t electrode, int32_t from, int32_t to) {
  bool switched = false;
  for (int n = 1; n <= s.MarkCount; ++n) {
    MarkRecord& mark = s.Mark(n);
    if (mark.Electrode != electrode) continue;
    ui.Log(" found it =" + std::to_string(mark.Time));
    if (mark.Time < from || mark.Time > to) continue;
    if (mark.Kind == kSlowWave) {
      mark.Kind = kSpike;
      switched = true;
    } else if (mark.Kind == kSpike) {
      mark.Kind = kSlowWave;
      switched = true;
    }
  }
  return switched;
}

void MarkStore::StoreUndo(AnalysisState& s, int32_t time, int32_t kind, int32_t electrode) {
  std::copy_backward(s.UndoList.begin(), s.UndoList.end() - 1, s.UndoList.end());
  s.UndoList[0] = UndoEntry{electrode, time, kind};
  s.UndoCount = std::min(s.UndoCount + 1, kUndoCapacity);
}

bool MarkStore::UndoDeletedMark(AnalysisState& s) {
  if (s.UndoCount <= 0) return false;
  const UndoEntry entry = s.UndoList[0];
  std::copy(s.UndoList.begin() + 1, s.UndoList.end(), s.UndoList.begin());
  s.UndoList.back() = UndoEntry{};
  s.UndoCount -= 1;
  s.PointerChannel = entry.Electrode;
  AddMarkRecord(s, entry.Time, entry.Kind);
  return true;
}

int MarkStore::HideMarks(AnalysisState& s, int32_t electrode, int32_t relativeTime) {
  int hidden = 0;
  for (int n = 1; n <= s.MarkCount; ++n) {
    MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == electrode && mark.Time != kNoValue && int64_t(mark.Time) - s.ReferenceTime == relativeTime) {
      mark.Visible = 0;
      ++hidden;
    }
  }
  return hidden;
}

void MarkStore::UnhideElectrode(AnalysisState& s, int32_t electrode) {
  for (int n = 1; n <= s.MarkCount; ++n) {
    if (s.Mark(n).Electrode == electrode) s.Mark(n).Visible = 1;
  }
}

void MarkStore::UnhideAll(AnalysisState& s) {
  for (int n = 1; n <= s.MarkCount; ++n) s.Mark(n).Visible = 1;
}

MarkStatistics MarkStore::CountMarks(const AnalysisState& s) {
  MarkStatistics stats;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind == kReferenceMark) {
      ++stats.references;
    } else if (mark.Kind == kSlowWave) {
      ++stats.slowWaves;
      stats.slowWavesManual += mark.Origin == kByHand;
      stats.slowWavesAutomatic += mark.Origin == kAutomatic;
    } else if (mark.Kind == kSpike) {
      ++stats.spikes;
      stats.spikesManual += mark.Origin == kByHand;
      stats.spikesAutomatic += mark.Origin == kAutomatic;
    } else if (mark.Kind == kNoValue) {
      ++stats.deleted;
    }
  }
  return stats;
}

}  // namespace velmora
