#pragma once

#include <cstdint>
#include <vector>

#include "core/MarkRecord.h"

namespace velmora {

struct AnalysisState;
class Ui;

// A mark taken out of the store by a deletion.
struct DeletedMark {
  int32_t time = 0;
  int32_t kind = 0;
};

// Counts shown in the "Mark Statistics" grid. Deleted slots count nowhere in the grid; they
// are counted apart.
struct MarkStatistics {
  int references = 0;
  int slowWaves = 0, slowWavesManual = 0, slowWavesAutomatic = 0;
  int spikes = 0, spikesManual = 0, spikesAutomatic = 0;
  int deleted = 0;  // slots of deleted marks (Kind NoValue), which stay in the store
};

// The operations that change the mark store. Every mark ever added goes through
// AddMarkRecord; slots are never removed, a deleted mark keeps its electrode and gets
// Kind = Time = NoValue.
class MarkStore {
 public:
  // Appends a mark for PointerChannel with the current MarkOrigin, making room for it as
  // needed. Returns whether the mark was added: false only when the store holds kMaxMarks
  // marks or memory for more cannot be had (see SayStoreFull).
  static bool AddMarkRecord(AnalysisState& state, int32_t time, int32_t kind);
  // Makes the store (and the amplitude records beside it) hold at least `slots` slots.
  // Returns false, with the store as it was, when that many cannot be had.
  static bool MakeRoom(AnalysisState& state, int64_t slots);
  // Beeps and says that a mark could not be added because the store is full.
  static void SayStoreFull(Ui& ui);
  // Whether the store holds a mark of `electrode`, `kind` and `time`: one set by hand again at
  // the same place is not added a second time.
  static bool HasMark(const AnalysisState& state, int32_t electrode, int32_t kind, int32_t time);

  // Deletes the marks of `electrode` with time in [from, to] whose kind is `kind` or a
  // reference (-1 or 0). Logs " found it =" for every mark of the electrode it visits.
  // Returns the deleted marks in store order.
  static std::vector<DeletedMark> RemoveMarks(AnalysisState& state, Ui& ui, int32_t electrode, int32_t kind,
                                              int32_t from, int32_t to);
  // As RemoveMarks; returns the time of the last mark deleted, or NoValue.
  static int32_t RemoveTime(AnalysisState& state, Ui& ui, int32_t electrode, int32_t kind, int32_t from,
                            int32_t to);

  // Turns the slow waves of `electrode` in [from, to] into spikes and the spikes into slow
  // waves. Returns whether any mark changed.
  static bool SwitchAttribute(AnalysisState& state, Ui& ui, int32_t electrode, int32_t from, int32_t to);

  // Pushes a deleted mark on the undo list (newest first, at most 100 kept).
  static void StoreUndo(AnalysisState& state, int32_t time, int32_t kind, int32_t electrode);
  // Adds the newest deleted mark again. Returns false when the list is empty.
  static bool UndoDeletedMark(AnalysisState& state);

  // Hides from maps the marks of `electrode` whose time relative to ReferenceTime is
  // `relativeTime`. Returns how many were hidden.
  static int HideMarks(AnalysisState& state, int32_t electrode, int32_t relativeTime);
  static void UnhideElectrode(AnalysisState& state, int32_t electrode);
  static void UnhideAll(AnalysisState& state);

  static MarkStatistics CountMarks(const AnalysisState& state);
};

}  // namespace velmora
