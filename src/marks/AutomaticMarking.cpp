#include "marks/AutomaticMarking.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/SignalStore.h"
#include "core/Arithmetic.h"
#include "core/Ui.h"
#include "marks/MarkSettingsFile.h"
#include "marks/ElectrodeQuality.h"
#include "marks/MarkStore.h"
#include "marks/RobustDetector.h"
#include "marks/SignalStatistics.h"

namespace velmora {

namespace {

constexpr int kRowsBetweenCancelChecks = 65536;
constexpr const char* kProgressTitle = "Automatic SW marking .....";
constexpr int32_t kSearchStart = 9999;

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Adds one row of the electrodes to per-electrode double sums. Each electrode keeps its own
// accumulator and the rows come in sample order, so the sums are exactly those of a walk
// down one channel; the loop over electrodes vectorises.
inline void AddRow(double* sums, const int32_t* row, int n) {
  for (int c = 0; c < n; ++c) sums[c] += double(row[c]);
}

inline void AddSquares(double* squares, const double* means, const int32_t* row, int n) {
  for (int c = 0; c < n; ++c) {
    const double d = double(row[c]) - means[c];
    squares[c] += d * d;
  }
}

// The largest 32-bit value v with v - mean < -level in double arithmetic, so that the scan
// can compare integers and still decide exactly as the subtraction would. The test is
// monotone in v, so stepping from the rounded guess finds the border. Returns a value below
// the 32-bit range when no sample can pass.
int64_t BelowCutoff(double mean, int64_t level) {
  const auto below = [&](int64_t v) { return double(v) - mean < -double(level); };
  constexpr int64_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  const double guess = std::floor(mean - double(level));
  int64_t v = guess <= double(lo) ? lo : guess >= double(hi) ? hi : int64_t(guess);
  while (v < hi && below(v + 1)) ++v;
  while (v >= lo && !below(v)) --v;
  return v;
}

// The searches walk the store's samples, marks and settings count milliseconds: at 1000 Hz
// they are the same numbers, at another rate (an EDF, BDF or GDF file's own) they convert.
int64_t SamplesIn(const AnalysisState& s, int64_t ms) {
  if (s.SamplingF <= 0 || s.SamplingF == 1000) return ms;
  return RoundHalfEven(double(ms) * s.SamplingF / 1000.0);
}

int32_t MsAt(const AnalysisState& s, int64_t sample) {
  if (s.SamplingF <= 0 || s.SamplingF == 1000) return int32_t(sample);
  return int32_t(std::clamp<int64_t>(RoundHalfEven(double(sample) * 1000.0 / s.SamplingF), INT32_MIN, INT32_MAX));
}

}  // namespace

struct AutomaticMarking::ChannelSums {
  std::array<double, kElectrodes> mean{};      // over samples 5 .. SigLength
  std::array<double, kElectrodes> stdevSum{};  // samples 5 .. SigLength, then over SigLength
  std::array<double, kElectrodes> squares{};
  std::array<double, kElectrodes> deviation{};
  std::array<int32_t, kElectrodes> cutoff{};
  std::array<int32_t, kElectrodes> holdUntil{};
};

int32_t AutomaticMarking::DiffDist(int kind) const {
  return kind == kSpike ? s_.DiffDistSpike : kind == kType3 ? s_.DiffDistType3 : s_.DiffDistSW;
}

int32_t AutomaticMarking::MinDiffVal(int kind) const {
  return kind == kSpike ? s_.MinDiffValSpike : kind == kType3 ? s_.MinDiffValType3 : s_.MinDiffValSW;
}

int32_t AutomaticMarking::SearchWidth(int kind) const {
  return kind == kSpike ? s_.SearchWidthSpike : kind == kType3 ? s_.SearchWidthType3 : s_.SearchWidthSW;
}

int AutomaticMarking::ActiveKind() const { return s_.MarkType[s_.ActivePane == 2 ? 1 : 0]; }

// The marking works row by row over all electrodes at once: a row of the store is one
// kilobyte of consecutive memory, whereas walking one channel down the store touches a new
// cache line per sample. Each electrode keeps its own sums and scan state, so the marks,
// deviations and log lines are the same as electrode-by-electrode work would give.
void AutomaticMarking::MarkAllSlowWaves() {
  MarkSettingsFile::CaptureMarking(s_, "automatic SW marking");
  s_.MarkOrigin = kAutomatic;
  ui_.ShowProgress({FileNameOnly(s_.ElgFileName), FileNameOnly(s_.MatrixFileName), kElectrodes, kProgressTitle});
  // A cancel leaves the marks as they were: the marking only ever appends to the store.
  const int32_t markCount = s_.MarkCount;
  const bool marksChanged = s_.MarksChanged, wavesStale = s_.WavesStale;
  const bool done = s_.DetectionMethod == kRobustMethod ? MarkRobustly() : MarkByThreshold();
  if (!done) {
    s_.MarkCount = markCount;
    s_.MarksChanged = marksChanged;
    s_.WavesStale = wavesStale;
  }
  ui_.HideProgress();
}

bool AutomaticMarking::MarkByThreshold() {
  robust_.clear();
  ui_.SetProgressText("measuring the electrograms ...");
  ui_.ProcessEvents();
  auto sums = std::make_unique<ChannelSums>();
  ComputeSums(*sums);
  ui_.SetProgressText("searching the electrograms ...");
  if (!ScanForExcursions(*sums)) return false;
  return AddElectrodeMarks(s_.MarkType[0], [&](int c) {
    s_.SignalStdev = sums->deviation[size_t(c)];
    ui_.Log(SignalStatistics::DeviationLine(c + kFirstElectrode, sums->deviation[size_t(c)]));
  });
}

// Electrodes judged dead get no marks.
bool AutomaticMarking::MarkRobustly() {
  const RobustDetector::Settings settings = RobustDetector::SettingsOf(s_);
  ui_.SetProgressText("searching the electrograms ...");
  ui_.ProcessEvents();
  if (!RobustDetector::Run(s_, settings, robust_, [this] { return CancelAsked(); })) {
    robust_.clear();
    return false;
  }
  ElectrodeQuality::Keep(s_, settings, robust_);
  for (int c = 0; c < kElectrodes; ++c) {
    std::vector<int32_t>& list = detections_[size_t(c)];
    list.clear();
    if (robust_[size_t(c)].dead) continue;
    for (const RobustDetector::Activation& a : robust_[size_t(c)].activations) list.push_back(a.time);
  }
  return AddElectrodeMarks(s_.MarkType[0], [&](int c) {
    const RobustDetector::Electrode& e = robust_[size_t(c)];
    s_.SignalStdev = e.noise;
    ui_.Log(fmt::format("elesub={} noise= {:.2f} quality= {:.1f}{}", c + kFirstElectrode, e.noise, e.quality,
                        e.dead ? " dead" : ""));
  });
}

bool AutomaticMarking::CancelAsked() {
  ui_.ProcessEvents();
  return ui_.CancelRequested();
}

// The statistics are those of each channel's whole signal, as a run over the whole recording
// takes them, whatever pane A shows: taken over the pane's window they made the threshold,
// and so the marks, move with the zoom (a short window's small deviation put false marks on
// every recovering tail).
void AutomaticMarking::ComputeSums(ChannelSums& sums) const {
  const int32_t* base = s_.Signals.data() + kFirstElectrode - 1;
  const int64_t window = SamplesIn(s_, s_.SigLength), padded = SignalStore::ZeroPaddedRows(s_), rows = s_.SignalRows();
  const int64_t statLast = std::min<int64_t>(window, padded);
  const int64_t meanFirst = 5;
  const int64_t meanLast = statLast;
  // Rows past the store read as zeros: they add nothing to the sums, only to the counts.
  if (window > 1)
    for (int64_t sample = 5; sample <= std::min(statLast, rows); ++sample)
      AddRow(sums.stdevSum.data(), base + (sample - 1) * kChannels, kElectrodes);
  if (window > 1 && meanFirst == 5 && meanLast == statLast) {
    sums.mean = sums.stdevSum;
  } else {
    for (int64_t sample = meanFirst; sample <= std::min(meanLast, rows); ++sample)
      AddRow(sums.mean.data(), base + (sample - 1) * kChannels, kElectrodes);
  }
  const int64_t meanCount = meanLast - meanFirst + 1;
  for (int c = 0; c < kElectrodes; ++c) {
    sums.mean[c] = meanCount > 0 ? sums.mean[c] / double(meanCount) : 0.0;
    if (window > 1) sums.stdevSum[c] /= double(window);
  }
  static const std::array<int32_t, kChannels> zeroRow{};
  if (window > 1)
    for (int64_t sample = 1; sample <= statLast; ++sample) {
      const int32_t* row = sample <= rows ? base + (sample - 1) * kChannels : zeroRow.data();
      AddSquares(sums.squares.data(), sums.stdevSum.data(), row, kElectrodes);
    }
  for (int c = 0; c < kElectrodes; ++c) {
    sums.deviation[c] = window > 1 ? std::sqrt(sums.squares[c] / double(window - 1)) : 0.0;
    const int64_t cutoff = BelowCutoff(sums.mean[c], RoundHalfEven(kThresholdDeviations * sums.deviation[c]));
    const bool never = cutoff < std::numeric_limits<int32_t>::min();
    sums.cutoff[c] = never ? std::numeric_limits<int32_t>::min() : int32_t(cutoff);
    sums.holdUntil[c] = never ? std::numeric_limits<int32_t>::max() : 0;
  }
}

// A sample starts a detection when it is at or below the electrode's cutoff and the
// previous detection lies more than 1000 samples back. Rows without any start, nearly all
// of them, cost one vectorised comparison.
bool AutomaticMarking::ScanForExcursions(const ChannelSums& sums) {
  for (auto& list : detections_) list.clear();
  const int32_t* base = s_.Signals.data() + kFirstElectrode - 1;
  const int32_t* cutoff = sums.cutoff.data();
  std::array<int32_t, kElectrodes> holdUntil = sums.holdUntil;
  int32_t* until = holdUntil.data();
  const int32_t last = int32_t(std::min<int64_t>(SamplesIn(s_, s_.SigLength), s_.SignalRows()));
  const int32_t holdOff = int32_t(SamplesIn(s_, kHoldOffSamples));
  for (int32_t sample = 5; sample <= last; ++sample) {
    // A long recording's scan can be stopped every 65,536 rows; a shorter one is never held up.
    if (sample % kRowsBetweenCancelChecks == 0) {
      ui_.SetProgressText(fmt::format("searching sample {} of {}", sample, last));
      if (CancelAsked()) return false;
    }
    const int32_t* row = base + int64_t(sample - 1) * kChannels;
    int starts = 0;
    for (int c = 0; c < kElectrodes; ++c) starts |= int(row[c] <= cutoff[c]) & int(sample > until[c]);
    if (starts == 0) continue;
    for (int c = 0; c < kElectrodes; ++c) {
      if (row[c] <= cutoff[c] && sample > until[c]) {
        until[c] = sample > std::numeric_limits<int32_t>::max() - holdOff ? std::numeric_limits<int32_t>::max()
                                                                           : sample + holdOff;
        detections_[size_t(c)].push_back(MsAt(s_, sample));
      }
    }
  }
  return true;
}

bool AutomaticMarking::AddElectrodeMarks(int kind, const std::function<void(int)>& describe) {
  CollectMarkedTimes(kind);
  // Marks go into pane A's window (both ends included); the detections are the whole signal's.
  const int64_t firstTime = s_.CurBegin, lastTime = int64_t(s_.CurBegin) + s_.CurWindow;
  for (int e = kFirstElectrode; e <= kChannels; ++e) {
    const int c = e - kFirstElectrode;
    ui_.SetProgressText(" auto marking SW in ele nr = " + std::to_string(e));
    if (CancelAsked()) return false;
    describe(c);
    s_.PointerChannel = e;
    int32_t lastAdded = kNoValue;
    for (const int32_t time : detections_[size_t(c)]) {
      if (time < firstTime || time > lastTime || MarkedNear(markedTimes_[size_t(c)], lastAdded, time)) continue;
      if (AddMark(time, kind)) lastAdded = time;
    }
    ui_.StepProgress();
  }
  return true;
}

// A full store is said once per run, not once per mark it refuses.
bool AutomaticMarking::AddMark(int32_t time, int kind) {
  if (MarkStore::AddMarkRecord(s_, time, kind)) return true;
  if (!toldStoreFull_) MarkStore::SayStoreFull(ui_);
  toldStoreFull_ = true;
  return false;
}

void AutomaticMarking::CollectMarkedTimes(int kind) {
  for (auto& list : markedTimes_) list.clear();
  if (!s_.AvoidDoubleMarks) return;
  for (int n = 1; n <= s_.MarkCount; ++n) {
    const MarkRecord& mark = s_.Mark(n);
    if (mark.Kind != kind || mark.Electrode < kFirstElectrode || mark.Electrode > kChannels) continue;
    markedTimes_[size_t(mark.Electrode - kFirstElectrode)].push_back(mark.Time);
  }
  for (auto& list : markedTimes_) std::sort(list.begin(), list.end());
}

// AvoidDouble for one detection, without a pass over the store: the marks the store held
// before the run are in `marked`; of the marks this run added to the electrode, detections
// come in time order, so only the latest can lie near.
bool AutomaticMarking::MarkedNear(const std::vector<int32_t>& marked, int32_t lastAdded, int32_t time) const {
  const int64_t half = s_.AvoidanceWidth / 2;
  if (!s_.AvoidDoubleMarks || half < 0) return false;
  if (lastAdded != kNoValue && int64_t(time) - lastAdded <= half) return true;
  const auto first = std::lower_bound(marked.begin(), marked.end(), int64_t(time) - half);
  return first != marked.end() && *first <= int64_t(time) + half;
}

int32_t AutomaticMarking::Value(int32_t sample) const {
  return std::as_const(s_).Signal(sample - 1, s_.PointerChannel - 1);
}

// Keeps s - h >= 1 and s + h <= SigLength (and inside the store); false when the channel
// or the narrowed window is empty.
bool AutomaticMarking::NarrowWindow(int32_t& from, int32_t& to, int32_t h) const {
  if (s_.PointerChannel < 1 || s_.PointerChannel > kChannels) return false;
  const int64_t last = std::min<int64_t>(SamplesIn(s_, s_.SigLength), s_.SignalRows());
  from = int32_t(std::max<int64_t>(from, int64_t(h) + 1));
  to = int32_t(std::min<int64_t>(to, last - h));
  return from <= to;
}

int32_t AutomaticMarking::NothingFound() {
  ui_.Beep();
  return kNoValue;
}

int32_t AutomaticMarking::SearchMinimalValue(int32_t from, int32_t to, int kind) {
  const int32_t h = std::max(DiffDist(kind), 0) / 2;
  if (!NarrowWindow(from, to, h)) return NothingFound();
  int64_t smallest = kSearchStart;
  int32_t found = kNoValue;
  for (int32_t sample = from; sample <= to; ++sample) {
    const int64_t d = int64_t(Value(sample + h)) - Value(sample - h);
    if (d < smallest) {
      smallest = d;
      found = sample;
    }
  }
  if (found == kNoValue || smallest >= MinDiffVal(kind)) return NothingFound();
  return found;
}

int32_t AutomaticMarking::SearchFirstBelowLevel(int32_t from, int32_t to, int kind) {
  const int32_t h = std::max(DiffDist(kind), 0) / 2;
  if (!NarrowWindow(from, to, h)) return NothingFound();
  const int64_t level = MinDiffVal(kind);
  int64_t smallest = kSearchStart;
  int32_t found = kNoValue;
  bool inRun = false;
  for (int32_t sample = from; sample <= to; ++sample) {
    const int64_t d = int64_t(Value(sample + h)) - Value(sample - h);
    if (d >= level) {
      if (inRun) break;  // only the first run below the level counts
      continue;
    }
    inRun = true;
    if (d < smallest) {
      smallest = d;
      found = sample;
    }
  }
  if (found == kNoValue) return NothingFound();
  return found;
}

int32_t AutomaticMarking::AvoidDouble(int32_t electrode, int kind, int32_t time) const {
  if (!s_.AvoidDoubleMarks || time == kNoValue) return time;
  const int64_t half = s_.AvoidanceWidth / 2;
  for (int n = 1; n <= s_.MarkCount; ++n) {
    const MarkRecord& mark = s_.Mark(n);
    if (mark.Electrode != electrode || mark.Kind != kind) continue;
    if (mark.Time >= int64_t(time) - half && mark.Time <= int64_t(time) + half) return kNoValue;
  }
  return time;
}

int32_t AutomaticMarking::SearchAround(int32_t electrode, int32_t centre, int32_t halfWidth, int kind,
                                       int markKind) {
  s_.PointerChannel = electrode;
  s_.MarkOrigin = kAutomatic;
  const int64_t middle = SamplesIn(s_, centre), half = SamplesIn(s_, halfWidth);
  const int64_t from = std::max<int64_t>(middle - half, std::numeric_limits<int32_t>::min());
  const int64_t to = std::min<int64_t>(middle + half, std::numeric_limits<int32_t>::max());
  int32_t found = s_.SearchBelowLevel ? SearchFirstBelowLevel(int32_t(from), int32_t(to), kind)
                                      : SearchMinimalValue(int32_t(from), int32_t(to), kind);
  if (found != kNoValue) found = MsAt(s_, found);
  found = AvoidDouble(electrode, kind, found);
  if (found == kNoValue) return kNoValue;
  AddMark(found, markKind);
  return found;
}

// The spreading's view of the grid: per cell not searched, found (with its time) or not
// found, and what every search of this spreading uses.
struct AutomaticMarking::SpreadGrid {
  enum class Cell : uint8_t { NotSearched, Found, NotFound };
  int cols = 0, rows = 0;
  int kind = 0, markKind = 0;
  int32_t halfWidth = 0;
  std::vector<Cell> state;
  std::vector<int32_t> time;
  size_t Index(int col, int row) const { return size_t(col - 1) * size_t(rows) + size_t(row - 1); }
  bool IsFound(int col, int row) const { return state[Index(col, row)] == Cell::Found; }
};

// A cell is searched only while it has not been searched: from each found neighbour in
// turn until one search finds a time, which the cell then keeps. Searching a found cell
// again would only meet its own mark in the avoid-twice check and lose it, cutting the
// spread, and retrying failed cells would never let the passes end.
void AutomaticMarking::SpreadFrom(int32_t electrode, int32_t time) {
  MarkSettingsFile::CaptureMarking(s_, "spreading marking");
  SpreadGrid grid;
  grid.cols = std::clamp(s_.NrCols, 0, kMaxGridCols);
  grid.rows = std::clamp(s_.NrRows, 0, kMaxGridRows);
  grid.kind = ActiveKind();
  grid.markKind = s_.MarkType[0];
  grid.halfWidth = s_.SearchWidthSW / 2;
  const int32_t first = SearchAround(electrode, time, grid.halfWidth, grid.kind, grid.markKind);
  if (first == kNoValue) return;
  grid.state.assign(size_t(grid.cols) * size_t(grid.rows), SpreadGrid::Cell::NotSearched);
  grid.time.assign(grid.state.size(), kNoValue);
  for (int col = 1; col <= grid.cols; ++col)
    for (int row = 1; row <= grid.rows; ++row)
      if (s_.GridCell(col, row) == electrode) {
        grid.state[grid.Index(col, row)] = SpreadGrid::Cell::Found;
        grid.time[grid.Index(col, row)] = first;
      }
  bool searched = true;
  while (searched) {
    searched = false;
    for (int col = 1; col <= grid.cols; ++col)
      for (int row = 1; row <= grid.rows; ++row)
        if (SpreadToCell(grid, col, row)) searched = true;
  }
}

// Returns whether the cell was searched.
bool AutomaticMarking::SpreadToCell(SpreadGrid& grid, int col, int row) {
  const int32_t electrode = s_.GridCell(col, row);
  if (electrode < kFirstElectrode || electrode > kChannels) return false;
  const size_t index = grid.Index(col, row);
  if (grid.state[index] != SpreadGrid::Cell::NotSearched) return false;
  const std::array<std::array<int, 2>, 4> neighbours{{{col + 1, row}, {col, row + 1}, {col - 1, row}, {col, row - 1}}};
  bool searched = false;
  for (const auto& [c, r] : neighbours) {
    if (c < 1 || c > grid.cols || r < 1 || r > grid.rows || !grid.IsFound(c, r)) continue;
    searched = true;
    const int32_t found = SearchAround(electrode, grid.time[grid.Index(c, r)], grid.halfWidth, grid.kind, grid.markKind);
    if (found != kNoValue) {
      grid.state[index] = SpreadGrid::Cell::Found;
      grid.time[index] = found;
      return true;
    }
  }
  if (searched) grid.state[index] = SpreadGrid::Cell::NotFound;
  return searched;
}

}  // namespace velmora
