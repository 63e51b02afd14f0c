#include "cli/ReferenceMarkOption.h"

#include <algorithm>
#include <stdexcept>

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"

namespace velmora::cli {

namespace {

constexpr int kLargestNumber = 2'000'000'000;

}  // namespace

std::optional<ReferenceEntry> ParseReferenceMark(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const size_t colon = text.find(':');
  if (colon == std::string::npos)
    throw UsageError(fmt::format("--reference-mark: \"{}\" is not ELECTRODE:TIME", text));
  return ReferenceEntry{ParseInt("--reference-mark", text.substr(0, colon), 0, kChannels),
                        ParseInt("--reference-mark", text.substr(colon + 1), 0, kLargestNumber)};
}

void ApplyReferenceMark(AnalysisState& state, Ui& ui, const ReferenceEntry& mark) {
  ReferenceTable table(state, ui);
  const auto& entries = table.Entries();
  const auto found = std::find(entries.begin(), entries.end(), mark);
  if (found == entries.end())
    throw std::runtime_error(fmt::format("--reference-mark {}:{}: the marks hold no reference mark there",
                                         mark.electrode, mark.time));
  table.RefGridSelectCell(int(found - entries.begin()));
  table.TakeChosenReference();
}

}  // namespace velmora::cli
