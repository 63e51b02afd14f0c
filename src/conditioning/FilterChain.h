#pragma once

#include <optional>
#include <string>

namespace velmora {

struct AnalysisState;

// The signal conditioning run over the store after an EDF, BDF or GDF recording is read, in
// this order: a mains notch with its harmonics, baseline removal, a low-pass and
// Savitzky-Golay smoothing. A step is off while its number is 0.
struct FilterChain {
  int mainsHz = 0;          // 0, 50 or 60
  int mainsHarmonics = 3;   // notches at mainsHz, 2 x mainsHz, ... this many
  int baselineSeconds = 0;  // high-pass with its cut-off at one cycle in this many seconds
  int lowPassHz = 0;
  int smoothingMs = 0;      // Savitzky-Golay window
  int smoothingOrder = 3;   // and its polynomial order

  bool Any() const { return mainsHz > 0 || baselineSeconds > 0 || lowPassHz > 0 || smoothingMs > 0; }
  bool operator==(const FilterChain&) const = default;

  static FilterChain FromState(const AnalysisState& s);
  void Store(AnalysisState& s) const;

  // "notch:50:3,baseline:60,lowpass:30,sg:25:3", the steps that are on; "none" when none is.
  std::string Text() const;
  // The same written out for people: "mains notch 50 Hz and 2 harmonics, ...".
  std::string Description() const;
  // Reads a chain as Text writes it (steps in any order; "none" turns all off). Returns the
  // problem when it cannot, naming the step.
  static std::optional<std::string> Parse(const std::string& text, FilterChain& chain);
};

}  // namespace velmora
