#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;
class Ui;

// One channel and its differentiated signal, drawn against the minimal differentiated level,
// to tune the slow-wave search. The window keeps its scale to itself: the panes' SampleWidth
// and TraceHeight stay theirs, so a pointer action in a pane never uses this window's scale.
class ElectrogramAnalysis {
 public:
  static constexpr int kSamplesShown = 4000;
  static constexpr int kTraceLeft = 10;
  static constexpr int kTraceCentre = 60;
  static constexpr int kDiffCentre = 140;
  static constexpr int32_t kTopChannel = 255;  // "up" stops here although 256 can be shown

  ElectrogramAnalysis(AnalysisState& state, Ui& ui);

  // Starts at FirstChannel with the scale of a paint area `paintWidth` wide.
  void Initialise(int paintWidth);
  // Each returns false (after a beep) at its limit.
  bool StepUp();
  bool StepDown();
  // Takes the three slow-wave settings, all or none: a field that is no integer or out of the
  // range the marking can take is reported by its name.
  bool Update(const std::string& minDiff, const std::string& searchWidth, const std::string& diffDist);

  void DisplayPanel(Canvas& canvas, int paintWidth, int paintHeight) const;
  // "Slow Waves" or "Spikes" after pane A's mark kind; empty for any other kind.
  std::string TypeLabel() const;
  // " Sample nr: ", " Time: " and the two " Amplitude: " read-outs for the pointer at x.
  std::array<std::string, 4> ReadOuts(int x) const;

  int32_t Channel() const { return channel_; }
  double PixelsPerSample() const { return pixelsPerSample_; }

 private:
  int32_t FirstSample() const;
  int32_t LastSample() const;
  int32_t Value(int32_t sample) const;
  int X(int32_t sample) const;
  void DrawPoints(Canvas& canvas, const std::vector<Point>& points) const;
  void DisplayAlyElectrogram(Canvas& canvas) const;
  void DisplayDiffElectrogram(Canvas& canvas) const;
  int32_t MinimalLevel() const;

  AnalysisState& state_;
  Ui& ui_;
  int32_t channel_ = 1;
  double pixelsPerSample_ = 0;
};

}  // namespace velmora
