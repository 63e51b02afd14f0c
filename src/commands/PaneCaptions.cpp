#include "commands/PaneCaptions.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <fmt/format.h>

#include "commands/StatusTime.h"
#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/TraceChannel.h"
#include "maps/FrequencyMap.h"
#include "maps/MapComputation.h"

namespace velmora {

namespace {

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string MarkTypeName(int markType) {
  switch (markType) {
    case 2: return "Spikes";
    case 3: return "Peristaltic Wave";
    default: return "Slow Wave";
  }
}

// "(begin-end)": the time window a pane shows.
std::string WindowText(int32_t begin, int32_t window) { return fmt::format("({}-{})", begin, int64_t(begin) + window); }

std::string WaveMapName(const AnalysisState& s, int markType, int waveNr) {
  return fmt::format("Wave Map nr: {} of {}    ({})", waveNr, s.NrWaves, MarkTypeName(markType));
}

}  // namespace

void PaneCaptions::UpdateElectrogramPointer(AnalysisState& s) {
  const double pixelsPerMs = s.SamplingF * s.SampleWidth / 1000.0;
  if (pixelsPerMs > 0) s.PointerTime = int32_t(RoundHalfEven((s.PointerX - s.TraceLeft) / pixelsPerMs)) + s.CurBegin;
  s.PointerTrace = -1;
  s.PointerChannel = 0;
  if (s.TraceHeight <= 0) return;
  const double above = s.PointerY - s.TraceTop - RoundHalfEven(s.TraceHeight / 2.0);
  const int64_t trace = RoundHalfEven(above / s.TraceHeight) + 1;
  if (trace < 1 || trace > s.NrTraces) return;
  s.PointerTrace = int32_t(trace);
  const int32_t channel = TraceChannel(s, s.PointerTrace);
  s.PointerChannel = channel == kNoValue ? 0 : channel;
}

void PaneCaptions::UpdateMapPointer(AnalysisState& s) {
  s.PointerCellChannel = -1;
  if (s.CellWidth <= 0 || s.CellHeight <= 0) return;
  s.PointerCol = int32_t(std::trunc(double(s.PointerX - s.MapLeft) / s.CellWidth)) + 1;
  s.PointerRow = int32_t(std::trunc(double(s.PointerY - s.MapTop) / s.CellHeight)) + 1;
  if (s.PointerCol < 1 || s.PointerCol > s.NrCols || s.PointerRow < 1 || s.PointerRow > s.NrRows) return;
  // The channel positions, not the grid table: an old-format matrix sets only the positions.
  s.PointerCellChannel = MapComputation::ChannelAt(s, s.PointerCol, s.PointerRow).value_or(-1);
}

std::string PaneCaptions::ElectrogramCaption(const AnalysisState& s, int32_t begin, int32_t window) {
  return fmt::format("{} {} msec     Elenr = {}", WindowText(begin, window), s.PointerTime, s.PointerChannel);
}

std::string PaneCaptions::MapName(int markType, int mapKind) {
  if (mapKind == 2) return "Electrode Matrix";
  if (mapKind == kQualityMap) return "Electrode Quality";
  if (markType == 1 && mapKind == 3) return "Slow Wave Intervals";
  if (markType == 1 && mapKind == 4) return "Slow Wave Amplitude";
  if (markType == 1 && mapKind == 5) return "Slow Wave Slope";
  if (mapKind == kFrequencyMapKind) return MarkTypeName(markType) + " Frequency";
  return MarkTypeName(markType);
}

std::string PaneCaptions::MapCaption(const AnalysisState& s, int markType, int mapKind, int32_t begin,
                                     int32_t window, int32_t value) {
  const std::string shown = value == kNoValue ? " " : std::to_string(value);
  return fmt::format("{} {} {}x{} (Cell = {}) ( t = {})", MapName(markType, mapKind), WindowText(begin, window),
                     s.PointerCol, s.PointerRow, s.PointerCellChannel, shown);
}

std::string PaneCaptions::WaveMapCaption(const AnalysisState& s, int markType, int waveNr) {
  return fmt::format("{} {}x{} (Cell = {})", WaveMapName(s, markType, waveNr), s.PointerCol, s.PointerRow,
                     s.PointerCellChannel);
}

std::string PaneCaptions::PrintedCaption(const AnalysisState& s, int pane) {
  const bool b = pane == 2;
  const int markType = s.MarkType[b ? 1 : 0];
  const int32_t begin = b ? s.BeginB : s.BeginA, window = b ? s.WindowB : s.WindowA;
  switch (b ? s.PaneKindB : s.PaneKindA) {
    case 0: return MapName(markType, b ? s.MapKindB : s.MapKindA) + " " + WindowText(begin, window);
    case 1: return WindowText(begin, window);
    case 2: return WaveMapName(s, markType, b ? s.WaveNrB : s.WaveNrA);
    default: return {};
  }
}

Colour PaneCaptions::TitleBarColour(int markType) {
  if (markType == 2) return colours::kBlue;
  if (markType == 3) return colours::kFuchsia;
  return colours::kRed;
}

std::string PaneCaptions::GroupedTwoDecimals(double value) { return GroupedDecimals(value, 2); }

std::string PaneCaptions::GroupedDecimals(double value, int decimals) {
  const std::string plain = fmt::format("{:.{}f}", std::fabs(value), decimals);
  const size_t point = std::min(plain.find('.'), plain.size());
  std::string grouped;
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) grouped += ',';
    grouped += plain[i];
  }
  grouped += plain.substr(point);
  const bool negative = value < 0 && grouped.find_first_not_of("0.,") != std::string::npos;
  return (negative ? "-" : "") + grouped;
}

PaneCaptions::StatusTexts PaneCaptions::StatusBar(const AnalysisState& s) {
  StatusTexts texts;
  texts.fileName = FileNameOnly(s.InputFileKind == 3 ? s.ImportFileName : s.ElgFileName);
  texts.matrixName = FileNameOnly(s.MatrixFileName);
  texts.referenceTime = " Reference: " + StatusTime::Text(s.ReferenceTime);
  texts.sigLength = " Signal: " + StatusTime::Text(s.SigLength);
  texts.amplification = " Amplf: " + GroupedTwoDecimals(s.Amplification);
  return texts;
}

}  // namespace velmora
