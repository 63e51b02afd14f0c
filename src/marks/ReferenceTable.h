#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;
class Ui;

// One reference a shown time can be relative to: an electrode and its time in ms.
struct ReferenceEntry {
  int32_t electrode = 0;
  int32_t time = 0;
  bool operator==(const ReferenceEntry&) const = default;
};

// The list behind the "Reference Table" window. Entry 1 is always (0, 0), "no reference";
// the others are the reference marks of the store in store order. The list has no storage
// of its own: every action rebuilds it from the store, so it never disagrees with the marks.
// Numbers are 1-based as the window shows them.
class ReferenceTable {
 public:
  static constexpr int kMaxEntries = 100;

  ReferenceTable(AnalysisState& state, Ui& ui);

  void UpdateReferenceTable();

  // A grid cell in `row` (counted from 0) was selected: it becomes the row to delete and,
  // when it holds an entry, the chosen one.
  void RefGridSelectCell(int row);
  // A reference number was typed. Out of range: beeps, says so and returns false.
  bool InsertRefNrChange(int64_t number);
  // Adds a reference mark after checking electrode and time; both problems are reported.
  bool InsertReference(int64_t electrode, int64_t time);
  // Deletes every mark at the selected entry's electrode and time, whatever its kind.
  // Entry 1 stands for "no reference" and is never deleted.
  bool DeleteReference();
  // "OK": the chosen entry becomes the reference of every shown time.
  void TakeChosenReference();

  // The "Reference Time" command: asks until the answer is not negative.
  static bool ReferenceTime1Click(AnalysisState& state, Ui& ui);

  int RefCount() const { return int(entries_.size()); }
  const std::vector<ReferenceEntry>& Entries() const { return entries_; }
  const ReferenceEntry& Chosen() const { return chosen_; }
  int SelectedRow() const { return selectedRow_; }
  int TypedNumber() const { return typedNumber_; }
  // The grid's texts, one row per entry: "Nr n", electrode, time.
  std::vector<std::array<std::string, 3>> GridRows() const;

 private:
  AnalysisState& state_;
  Ui& ui_;
  std::vector<ReferenceEntry> entries_;
  ReferenceEntry chosen_;
  int typedNumber_ = 0;
  int selectedRow_ = 0;  // 1-based entry number; 0 while nothing is selected
};

}  // namespace velmora
