#pragma once

#include <optional>
#include <string>

namespace velmora {
struct AnalysisState;
}  // namespace velmora

namespace velmora::cli {

// The electrogram pane a verb works over: pane A in the sequential order from the first
// channel, from --begin over --window (from 0 over the whole signal unless told otherwise).
struct ElectrogramPane {
  std::optional<int> begin, window, traces, firstChannel;

  // Lays pane A out so, as if it had just been drawn.
  void Show(AnalysisState& state) const;
};

// The marks from number `first` on, one line each: electrode, kind, time, origin.
std::string MarkLines(const AnalysisState& state, int first);

}  // namespace velmora::cli
