#include "output/DataPadExports.h"

#include <cmath>
#include <filesystem>
#include <iterator>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "maps/FrequencyMap.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "core/TraceChannel.h"
#include "maps/CellDigits.h"
#include "maps/MapComputation.h"
#include "output/ExportRefused.h"

namespace velmora {

namespace {

constexpr int kElectrogramTraces = 12;
constexpr int kTolvarCols = 24, kTolvarRows = 10, kTolvarSamples = 4000;
constexpr int kLastAnimationElectrode = kChannels - 1;

// A sample of the store, or 0 for a channel that does not exist or a row outside the store.
int32_t SampleOrZero(const AnalysisState& s, int64_t row, int32_t channel) {
  if (channel < 1 || channel > kChannels || row < 0 || row >= s.SignalRows()) return 0;
  return s.Signal(int(row), channel - 1);
}

void AppendValue(std::string& text, int64_t value) { fmt::format_to(std::back_inserter(text), "{}\t", value); }

bool IsNoValue(int64_t v) { return v == kNoValue || v == kAltNoValue; }


// Digit formats 1..4 give 3..0 decimals; any other gives the whole number.
int Decimals(int digitType) { return digitType >= 1 && digitType <= 4 ? 4 - digitType : -1; }

// One field of a matrix row: a TAB, then the value, or nothing for a cell without one.
std::string MatrixField(const AnalysisState& s, const MapCell& cell) {
  const bool isReal = s.CurMapKind >= kFirstRealMapKind;
  const double real = isReal ? RealCellValue(cell, s.CurMapKind) : 0.0;
  if (isReal && !std::isfinite(real)) return "\t";
  const int64_t v = isReal ? RoundHalfEven(real) : cell.Value;
  if (IsNoValue(v)) return "\t";
  const int decimals = Decimals(isReal ? s.ExportDigitType : s.DigitType);
  if (decimals < 0) return fmt::format("\t{}", v);
  return "\t" + CellDigits::FixedText(isReal ? real : double(v) / 1000.0, decimals);
}

}  // namespace

int32_t DataPadExports::CellChannel(const AnalysisState& s, int column, int row) {
  for (int32_t n = 1; n <= kChannels; ++n)
    if (s.ElectrodeX[n - 1] == column && s.ElectrodeY[n - 1] == row) return n;
  return kNoValue;
}

std::string DataPadExports::BesideRecording(const AnalysisState& s, const std::string& fileName) {
  const std::filesystem::path folder = std::filesystem::path(s.ElgFileName).parent_path();
  return (folder.empty() ? std::filesystem::path(fileName) : folder / fileName).string();
}

std::string DataPadExports::ElectrogramText(const AnalysisState& s) {
  int32_t channels[kElectrogramTraces];
  for (int trace = 1; trace <= kElectrogramTraces; ++trace) channels[trace - 1] = TraceChannel(s, trace);
  std::string text;
  const int64_t end = int64_t(s.CurBegin) + s.CurWindow;
  for (int64_t row = s.CurBegin; row < end; ++row) {
    for (const int32_t channel : channels) AppendValue(text, SampleOrZero(s, row, channel));
    text += '\n';
  }
  return text;
}

std::string DataPadExports::MarksText(const AnalysisState& s) {
  std::vector<bool> owns(kChannels + 1, false);
  std::vector<std::string> times(kChannels + 1);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode < 1 || mark.Electrode > kChannels) continue;
    owns[mark.Electrode] = true;
    if (mark.Time > 0 && mark.Kind > 0) fmt::format_to(std::back_inserter(times[mark.Electrode]), "\t{}", mark.Time);
  }
  std::string text = fmt::format("{}\n{}\n", s.ElgFileName, s.SigLength);
  for (int e = 1; e <= kChannels; ++e)
    if (owns[e]) text += fmt::format("\n{}{}", e, times[e]);
  return text;
}

std::string DataPadExports::AnimationText(const AnalysisState& s) {
  std::string text = fmt::format("{}\n{}\n{}\n", s.ElgFileName, s.MatrixFileName, s.CurWindow);
  const int64_t from = s.CurBegin, to = int64_t(s.CurBegin) + s.CurWindow;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode < 1 || mark.Electrode > kLastAnimationElectrode || mark.Kind == kNoValue) continue;
    if (mark.Time < from || mark.Time > to) continue;
    fmt::format_to(std::back_inserter(text), "{}\t{}\t{}\n", mark.Electrode, mark.Kind, mark.Time);
  }
  return text;
}

std::string DataPadExports::SingleElectrogramText(const AnalysisState& s) {
  const int32_t electrode = TraceChannel(s, 1);
  std::string text = fmt::format("{}\nEle nr: {}\n", s.ElgFileName, electrode);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == electrode && mark.Time != kNoValue) AppendValue(text, mark.Time);
  }
  return text + '\n';
}

std::string DataPadExports::MatrixText(const AnalysisState& s) {
  if (s.MapRight <= 0 || s.MapBottom <= 0) throw ExportRefused("There is no map to write: show a map first.");
  std::string text = s.ElgFileName + "\n";
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int row = 1; row <= rows; ++row) {
    text += '\n';
    for (int col = 1; col <= cols; ++col) text += MatrixField(s, s.Cell(col, row));
  }
  return text;
}

std::string DataPadExports::TolvarText(const AnalysisState& s) {
  std::string text;
  text.reserve(size_t(kTolvarRows) * kTolvarSamples * kTolvarCols * 6);
  for (int row = 1; row <= kTolvarRows; ++row) {
    int32_t channels[kTolvarCols];
    for (int col = 1; col <= kTolvarCols; ++col) channels[col - 1] = CellChannel(s, col, row);
    for (int t = 0; t < kTolvarSamples; ++t) {
      for (const int32_t channel : channels) AppendValue(text, SampleOrZero(s, t, channel));
      text += '\n';
    }
    text += "END\n";
  }
  return text;
}

}  // namespace velmora
