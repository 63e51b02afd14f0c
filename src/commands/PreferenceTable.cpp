#include "commands/PreferenceTable.h"

#include <algorithm>
#include <limits>

#include "maps/VelocityFit.h"

namespace velmora {

namespace {

constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();
// Expansion repeats over the whole grid without stopping early; a grid of 100 x 100 cells is
// filled long before this many cycles, and a larger count would only keep the map waiting.
constexpr int32_t kMostExpandCycles = 1000;
// An empty cell is filled from its neighbours above, below, left and right: no more than four.
constexpr int32_t kMostNeighbours = 4;

constexpr std::string_view kMarking = "Automatic Markings", kElectrograms = "Electrograms", kMap = "Map",
                           kVelocities = "Velocities", kAnimation = "Animation", kIntervals = "Intervals",
                           kFilters = "Filters", kDetection = "Marking", kWaves = "Waves";

PreferenceVariable Edit(std::string_view name, std::string_view control, std::string_view page,
                        std::string_view label, int32_t AnalysisState::*number, int32_t minimum = kLowest,
                        int32_t maximum = kHighest) {
  return {name, control, page, label, PreferenceControl::Edit, minimum, maximum, number, nullptr};
}

PreferenceVariable Switch(std::string_view name, std::string_view control, std::string_view page,
                          std::string_view label, bool AnalysisState::*flag,
                          PreferenceControl kind = PreferenceControl::CheckBox) {
  return {name, control, page, label, kind, 0, 1, nullptr, flag};
}

using S = AnalysisState;

std::vector<PreferenceVariable> MarkingVariables() {
  return {
      Edit("MinDiffValSW", "MinDiffValEdit1", kMarking, "Slow Waves: Minimal Differentiated level", &S::MinDiffValSW),
      Edit("MinDiffValSpike", "MinDiffValEdit2", kMarking, "Spikes: Minimal Differentiated level",
           &S::MinDiffValSpike),
      Edit("MinDiffValType3", "MinDiffValEdit3", kMarking, "Type 3: Minimal Differentiated level",
           &S::MinDiffValType3),
      Edit("SearchWidthSW", "WidthEdit1", kMarking, "Slow Waves: Search Width (msec)", &S::SearchWidthSW, 1),
      Edit("SearchWidthSpike", "WidthEdit2", kMarking, "Spikes: Search Width (msec)", &S::SearchWidthSpike, 1),
      Edit("SearchWidthType3", "WidthEdit3", kMarking, "Type 3: Search Width (msec)", &S::SearchWidthType3, 1),
      Edit("DiffDistSW", "DiffDistEdit1", kMarking, "Slow Waves: Diff Dist (samples)", &S::DiffDistSW, 1),
      Edit("DiffDistSpike", "DiffDistEdit2", kMarking, "Spikes: Diff Dist (samples)", &S::DiffDistSpike, 1),
      Edit("DiffDistType3", "DiffDistEdit3", kMarking, "Type 3: Diff Dist (samples)", &S::DiffDistType3, 1),
      Switch("SearchBelowLevel", "SearchCriteria1", kMarking, "Search Criteria", &S::SearchBelowLevel,
             PreferenceControl::RadioGroup),
  };
}

std::vector<PreferenceVariable> OtherVariables() {
  return {
      Switch("PlotOnlyDots", "PlotOnlyPoints1", kElectrograms, "Plot only points?", &S::PlotOnlyDots),
      Switch("SmoothElectrograms", "SmoothElectrograms1", kElectrograms, "Smooth Electrograms?",
             &S::SmoothElectrograms),
      Switch("AvoidDoubleMarks", "DoubleMarks1", kMarking, "Avoid marking twice?", &S::AvoidDoubleMarks),
      Edit("AvoidanceWidth", "DoubleWidth1", kMarking, "Avoidance width (msec)", &S::AvoidanceWidth),
      Switch("UseIntervalRange", "IntervalRange1", kElectrograms, "Expected Interval Range", &S::UseIntervalRange),
      Edit("MinIntervalRange", "MinIntervalRange1", kElectrograms, "Expected Interval Range: lower bound (ms)",
           &S::MinIntervalRange),
      Edit("MaxIntervalRange", "maxIntervalRange1", kElectrograms, "Expected Interval Range: upper bound (ms)",
           &S::MaxIntervalRange),
      Edit("DigitType", "EditDigitType", kMap, "current Digit Display", &S::DigitType, 0, 4),
      Edit("NrExpandCycles", "NrExpCyclesEdit", kMap, "Nr of Expand Cycles", &S::NrExpandCycles, 0,
           kMostExpandCycles),
      Edit("NrNeighbours", "NrNeighbours1", kMap, "Nr of Neighbours required", &S::NrNeighbours, 1,
           kMostNeighbours),
      Edit("IncVel", "EditIncVel", kVelocities, "Calc to next electrode", &S::IncVel, 1, kMaxGridCols - 1),
      Switch("LimitCondVel", "MaxCondVelCheckBox1", kVelocities, "Set Max Conduction Velocity?", &S::LimitCondVel),
      Edit("MaxCondVel", "MaxCondVelEdit", kVelocities, "Maximum Conduction Velocity allowed (cm/sec)",
           &S::MaxCondVel, 1),
      Edit("ArrowSize", "EditArrowSize", kVelocities, "Arrow size for plotting", &S::ArrowSize),
      {"VelocityMethod", "VelocityMethodChoice", kVelocities, "Velocity method", PreferenceControl::Choice, 0, 2,
       &S::VelocityMethod, nullptr},
      Edit("VelocityFitRadius", "VelocityFitRadiusEdit", kVelocities, "Fit radius (electrodes)", &S::VelocityFitRadius,
           1, VelocityFit::kMostRadius),
      Switch("VelocityFitQuadratic", "VelocityFitQuadraticCheckBox", kVelocities, "Fit curved fronts?",
             &S::VelocityFitQuadratic),
      Edit("NormalDirection", "NormalDirectionEdit", kVelocities, "Normal direction of the waves (degrees)",
           &S::NormalDirection, 0, 359),
      Edit("SWDuration", "SWDurationEdit", kAnimation, "SW duration", &S::SWDuration),
      Edit("AnimStep", "StepTimeEdit", kAnimation, "Step Time", &S::AnimStep, 1),
      Edit("AnimBegin", "begSimEdit", kAnimation, "BegTime", &S::AnimBegin),
      Edit("AnimEnd", "EndSimEdit", kAnimation, "EndTime", &S::AnimEnd),
      Switch("LimitIntervals", "CheckLimitIntervals", kIntervals, "limit intervals?", &S::LimitIntervals),
      Edit("MaxIntervalValue", "EditMaxIntervalVal", kIntervals, "Maximal Interval Value", &S::MaxIntervalValue, 1),
      {"FilterMains", "FilterMainsChoice", kFilters, "Mains notch", PreferenceControl::Choice, 0, 2, &S::FilterMains,
       nullptr},
      Edit("FilterMainsHarmonics", "FilterMainsHarmonicsEdit", kFilters, "Notches (the mains and its harmonics)",
           &S::FilterMainsHarmonics, 1, 20),
      Edit("FilterBaselineSeconds", "FilterBaselineEdit", kFilters, "Baseline removal, cut-off (s, 0 off)",
           &S::FilterBaselineSeconds, 0, 3600),
      Edit("FilterLowPassHz", "FilterLowPassEdit", kFilters, "Low-pass (Hz, 0 off)", &S::FilterLowPassHz, 0, 100000),
      Edit("FilterSmoothingMs", "FilterSmoothingEdit", kFilters, "Savitzky-Golay window (ms, 0 off)",
           &S::FilterSmoothingMs, 0, 10000),
      Edit("FilterSmoothingOrder", "FilterSmoothingOrderEdit", kFilters, "Savitzky-Golay order",
           &S::FilterSmoothingOrder, 0, 6),
  };
}

// The detection method and the robust detector's settings, and the waves shown. The ranges
// keep the detector's windows inside what a recording can hold and its sums from overflowing.
std::vector<PreferenceVariable> DetectionAndWaveVariables() {
  return {
      {"DetectionMethod", "DetectionMethodChoice", kDetection, "Detection method", PreferenceControl::Choice, 0, 1,
       &S::DetectionMethod, nullptr},
      Edit("RobustFallWidth", "RobustFallWidthEdit", kDetection, "Fall width (msec)", &S::RobustFallWidth, 2, 500),
      Edit("RobustThreshold", "RobustThresholdEdit", kDetection, "Threshold (noise deviations)", &S::RobustThreshold, 1,
           1000),
      Edit("RobustRefractory", "RobustRefractoryEdit", kDetection, "Refractory period (msec)", &S::RobustRefractory, 1,
           600000),
      Edit("RobustNoiseWindow", "RobustNoiseWindowEdit", kDetection, "Noise window (msec)", &S::RobustNoiseWindow, 1000,
           3600000),
      Edit("DeadQuality", "DeadQualityEdit", kDetection, "Dead below quality", &S::DeadQuality, 0, 1000),
      Edit("MinSitesPerWave", "MinSitesPerWaveEdit", kWaves, "Smallest wave shown (sites)", &S::MinSitesPerWave, 1,
           kChannels - kFirstElectrode + 1),
  };
}

std::vector<PreferenceVariable> AllVariables() {
  std::vector<PreferenceVariable> all = MarkingVariables();
  for (const auto& more : {OtherVariables(), DetectionAndWaveVariables()}) all.insert(all.end(), more.begin(), more.end());
  return all;
}

}  // namespace

const std::vector<PreferenceVariable>& PreferenceTable::Variables() {
  static const std::vector<PreferenceVariable> variables = AllVariables();
  return variables;
}

const PreferenceVariable* PreferenceTable::Find(std::string_view name) {
  const auto& all = Variables();
  const auto found = std::find_if(all.begin(), all.end(), [&](const auto& v) { return v.name == name; });
  return found == all.end() ? nullptr : &*found;
}

std::vector<std::string_view> PreferenceTable::Pages() {
  return {kMarking, kElectrograms, kMap, kVelocities, kAnimation, kIntervals, kDetection, kWaves, kFilters};
}

}  // namespace velmora
