#include "marks/MarkingReport.h"

#include <algorithm>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "marks/ElectrodeQuality.h"

namespace velmora {

namespace {

// "74", "74 and 175", "74, 175 and 185".
std::string ListOf(const std::vector<int32_t>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += i + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[i]);
  }
  return text;
}

bool IsDead(const MarkingReport& r, int32_t electrode) {
  return std::binary_search(r.deadElectrodes.begin(), r.deadElectrodes.end(), electrode);
}

}  // namespace

MarkingReport MarkingReport::After(AnalysisState& s, int32_t countBefore) {
  MarkingReport r;
  r.firstMark = countBefore + 1;
  r.lastMark = s.MarkCount;
  if (const auto table = ElectrodeQuality::Measure(s)) r.deadElectrodes = ElectrodeQuality::DeadChannels(s, *table, true);
  for (int n = r.firstMark; n <= r.lastMark; ++n)
    if (IsDead(r, s.Mark(n).Electrode)) ++r.marksOnDead;
  return r;
}

std::string MarkingReport::Text() const {
  std::string text = fmt::format("Automatic marking made {} mark{}.", Added(), Added() == 1 ? "" : "s");
  if (deadElectrodes.empty()) return text;
  text += fmt::format(" Electrode{} {} look{} dead (no slow wave stands out of {} noise)",
                      deadElectrodes.size() == 1 ? "" : "s", ListOf(deadElectrodes),
                      deadElectrodes.size() == 1 ? "s" : "", deadElectrodes.size() == 1 ? "its" : "their");
  if (marksOnDead == 0) return text + "; none of the new marks is theirs.";
  return text + fmt::format("; {} of the new marks {} theirs.", marksOnDead, marksOnDead == 1 ? "is" : "are");
}

int32_t MarkingReport::RemoveDeadMarks(AnalysisState& s) const {
  int32_t removed = 0;
  for (int n = firstMark; n <= std::min(lastMark, s.MarkCount); ++n) {
    MarkRecord& mark = s.Mark(n);
    if (mark.Kind == int16_t(kNoValue) || !IsDead(*this, mark.Electrode)) continue;
    mark.Kind = int16_t(kNoValue);
    mark.Time = kNoValue;
    ++removed;
  }
  if (removed > 0) s.MarksChanged = s.WavesStale = true;
  return removed;
}

}  // namespace velmora
