#pragma once

#include <cstdint>
#include <string>

namespace velmora {

struct AnalysisState;
class Canvas;

// The time grid along the top of an electrogram pane and the amplitude scale bar at its right.
class ElectrogramScales {
 public:
  static constexpr int kRulerLabelTop = 1;
  static constexpr int kGridLineTop = 15;

  ElectrogramScales(const AnalysisState& state, Canvas& canvas) : state_(state), canvas_(canvas) {}

  void DrawTimeGrid();
  void DrawScaleBar();
  // The annotations or events of an EDF, BDF or GDF recording that fall in the pane's window:
  // a grey tick down from the top at each one's time with its text beside it. They are not
  // marks: nothing but this draws them.
  void DrawAnnotations();
  // The first row below the time labels along the top, in the font they are written in.
  int RulerBottom() const;

  // Grid step in samples for a window of `windowSamples` samples.
  static int TimeGridStep(int windowSamples);
  // The millivolts the scale bar stands for and its length in pixels at `amplification`.
  struct Bar {
    double millivolts;
    int pixels;
  };
  static Bar ScaleBar(double amplification, double unitsPerMv);

 private:
  int GridStep() const;
  int LabelStride(int step);
  std::string LabelText(int64_t sample) const;
  static int LabelX(int lineX, int64_t sample);

  const AnalysisState& state_;
  Canvas& canvas_;
};

}  // namespace velmora
