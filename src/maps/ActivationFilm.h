#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Canvas.h"
#include "core/Limits.h"

namespace velmora {

struct AnalysisState;

// The activation played over the electrode grid: at each step of `AnimStep` ms a cell lights
// at full strength when one of its marks falls in the step and fades to white over
// `SWDuration`. The marks are indexed once, so a frame costs one search per electrode.
class ActivationFilm {
 public:
  // The film's time line: frames at Begin, Begin + Step, ... up to and including End.
  // AskedEnd is the end the preferences asked for; it differs from End when that lay past
  // the recording and the film stops at the recording's end instead.
  struct Steps {
    int32_t Begin = 0, End = 0, Step = 1, Count = 1;
    int32_t AskedEnd = 0;
    int32_t TimeOf(int frame) const { return Begin + frame * Step; }
    bool EndCut() const { return AskedEnd != End; }
    // What the user is told when the end was cut; empty when it was not.
    std::string CutNote() const;
  };

  // How a cell looks at one moment: Strength 1 in the step of its mark, 0 once faded.
  struct Light {
    double Strength = 0;
    int32_t MarkTime = 0;
  };

  // The steps the animation preferences ask for, within the recording: an end left unset (or
  // 0) is the recording's end, and so is an end past it. Throws std::invalid_argument for a
  // step below 1 ms, a begin past the recording's end or an end before the begin.
  static Steps PlanSteps(const AnalysisState& state);

  // Indexes the visible marks of `markKind` (0 = slow waves, spikes and type 3 together) on
  // the electrodes that lie on the grid.
  ActivationFilm(const AnalysisState& state, int markKind);

  const Steps& Timing() const { return steps_; }
  Light LightAt(int channel, int32_t time) const;

  // One frame on a `width` x `height` canvas, the cells where the maps put them. With
  // `withCaption` the time is written above the grid.
  void DrawFrame(AnalysisState& state, Canvas& canvas, int width, int height, int frame,
                 bool withCaption) const;

  static std::string Caption(int32_t time);
  // `colour` mixed with white: full colour at strength 1, white at 0.
  static Colour Faded(Colour colour, double strength);

 private:
  void DrawCells(const AnalysisState& state, Canvas& canvas, int32_t time) const;

  Steps steps_;
  int32_t fade_ = 0;
  int64_t colourBase_ = 0;
  std::vector<std::vector<int32_t>> times_;  // per channel 1..256 at index channel - 1, sorted
};

}  // namespace velmora
