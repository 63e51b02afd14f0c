#pragma once

namespace velmora {

struct AnalysisState;
class Ui;

// "smoothing (only NI files!)": replaces each sample of channels 1 .. NIChannels by the mean
// of the 20 samples after it, in place. Text recordings are not smoothed on loading, so this
// is asked for on demand; applying it twice smooths twice.
class NISmoothing {
 public:
  // The progress bar has this many steps whatever the number of channels.
  static constexpr int kProgressSteps = 24;
  static constexpr const char* kTitle = "Smoothing electrograms .....";

  static void Smooth(AnalysisState& state, Ui& ui);
  // `count` channels from column `firstColumn` of the store, `length` samples each; the last
  // 20 samples (and a channel of 20 samples or fewer) keep their values.
  static void SmoothColumns(AnalysisState& state, int firstColumn, int count, int length);
};

}  // namespace velmora
