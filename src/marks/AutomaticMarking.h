#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Limits.h"
#include "marks/RobustDetector.h"

namespace velmora {

struct AnalysisState;
class Ui;

// The signal searches that place marks: the whole-recording slow-wave marking, the
// pointer-assisted searches near a time, and the spreading of a mark over the grid.
class AutomaticMarking {
 public:
  static constexpr int kThresholdDeviations = 3;  // how far below its mean a channel must fall
  static constexpr int kHoldOffSamples = 1000;    // after a detection the electrode rests this long
  static constexpr int kThresholdMethod = 0, kRobustMethod = 1;  // DetectionMethod

  AutomaticMarking(AnalysisState& state, Ui& ui) : s_(state), ui_(ui) {}

  // Marks every electrode (channels 17..256) with the kind of pane A and origin automatic.
  // The threshold method (DetectionMethod 0) marks the first sample of each excursion more
  // than 3 deviations below the channel's mean, at most once per 1001 samples; the robust
  // method (1) marks what RobustDetector finds, and nothing on electrodes it judges dead.
  // Both take their statistics from each channel's whole signal and mark only within pane
  // A's window (CurBegin .. CurBegin + CurWindow), so a run over part of the recording marks
  // what a run over all of it marks there. While AvoidDoubleMarks is on, a time where a mark of the electrode
  // and kind already lies (as AvoidDouble decides) is left out, so a second run adds nothing.
  // Shows the progress panel while it runs.
  void MarkAllSlowWaves();
  // What the robust detector found per electrode (index channel - 17) in the last run that
  // used it; empty after a run of the threshold method.
  const std::vector<RobustDetector::Electrode>& RobustFindings() const { return robust_; }

  // The two searches on channel PointerChannel in [from, to] (narrowed so the differentiated
  // value stays inside the signal). Each returns the sample found, or beeps and returns NoValue.
  int32_t SearchMinimalValue(int32_t from, int32_t to, int kind);
  int32_t SearchFirstBelowLevel(int32_t from, int32_t to, int kind);

  // `time`, or NoValue when AvoidDoubleMarks is on and a mark of `electrode` and `kind`
  // already lies within AvoidanceWidth div 2 of it (both ends included).
  int32_t AvoidDouble(int32_t electrode, int kind, int32_t time) const;

  // One assisted search: sets PointerChannel = `electrode` and MarkOrigin automatic, searches
  // [centre - halfWidth, centre + halfWidth] with the criterion SearchBelowLevel chooses and
  // the settings of `kind`, applies the avoid-twice check for `kind`, and adds a mark of
  // `markKind` at the time found. Returns that time, or NoValue when nothing was marked.
  // Shift-click passes the search width of its kind div 2 and markKind = kind; the
  // spreading passes SearchWidthSW div 2 and the kind of pane A.
  int32_t SearchAround(int32_t electrode, int32_t centre, int32_t halfWidth, int kind, int markKind);

  // The spreading marking ("W" key): searches `electrode` around `time`, then, pass after
  // pass over the grid, every cell not yet searched next to a found cell around that
  // neighbour's time. A cell keeps the first time it was found at.
  void SpreadFrom(int32_t electrode, int32_t time);

  // Search settings of a mark kind (2 spike, 3 type 3, anything else the slow-wave ones).
  int32_t DiffDist(int kind) const;
  int32_t MinDiffVal(int kind) const;
  int32_t SearchWidth(int kind) const;
  // The kind of the active pane (ActivePane 2 is pane B).
  int ActiveKind() const;

 private:
  static constexpr int kElectrodes = kChannels - kFirstElectrode + 1;
  struct ChannelSums;
  struct SpreadGrid;

  // Each returns false when the user cancelled; the marks added so far are then taken back.
  bool MarkByThreshold();
  bool MarkRobustly();
  void ComputeSums(ChannelSums& sums) const;
  bool ScanForExcursions(const ChannelSums& sums);
  // Marks the detections of every electrode in pane A's window; `describe` (electrode index)
  // logs what the electrode's statistics were.
  bool AddElectrodeMarks(int kind, const std::function<void(int)>& describe);
  bool AddMark(int32_t time, int kind);
  bool CancelAsked();
  void CollectMarkedTimes(int kind);
  bool MarkedNear(const std::vector<int32_t>& marked, int32_t lastAdded, int32_t time) const;
  int32_t Value(int32_t sample) const;
  bool NarrowWindow(int32_t& from, int32_t& to, int32_t h) const;
  int32_t NothingFound();
  bool SpreadToCell(SpreadGrid& grid, int col, int row);

  AnalysisState& s_;
  Ui& ui_;
  bool toldStoreFull_ = false;
  // Detections per electrode (index channel - 17) in ms of the recording, kept between runs
  // so a run allocates only when an electrode gets more marks than ever before.
  std::array<std::vector<int32_t>, kElectrodes> detections_;
  // Per electrode, ascending, the times of the marks of the kind being set that the store
  // held when the run began: the avoid-twice check is then a binary search per detection.
  std::array<std::vector<int32_t>, kElectrodes> markedTimes_;
  std::vector<RobustDetector::Electrode> robust_;
};

}  // namespace velmora
