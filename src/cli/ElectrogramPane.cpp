#include "cli/ElectrogramPane.h"

#include <fmt/format.h>

#include "core/AnalysisState.h"

namespace velmora::cli {

void ElectrogramPane::Show(AnalysisState& s) const {
  s.PaneKindA = 1;
  s.ActivePane = 1;
  s.TraceOrder = 0;
  s.BeginA = begin.value_or(0);
  s.WindowA = window.value_or(s.SigLength);
  if (traces) s.NrTraces = *traces;
  if (firstChannel) s.FirstChannel = *firstChannel;
  s.CurBegin = s.BeginA;
  s.CurWindow = s.WindowA;
}

std::string MarkLines(const AnalysisState& s, int first) {
  std::string out;
  for (int n = first; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    out += fmt::format("{}\t{}\t{}\t{}\n", mark.Electrode, mark.Kind, mark.Time, mark.Origin);
  }
  return out;
}

}  // namespace velmora::cli
