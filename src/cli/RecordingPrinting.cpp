#include "cli/RecordingPrinting.h"

#include <cstdio>
#include <iostream>

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "core/AnalysisState.h"
#include "marks/MarkStore.h"

namespace velmora::cli {

void PrintInfo(AnalysisState& s) {
  // Deleted marks keep their slots until the next load; they are not marks.
  const int deleted = MarkStore::CountMarks(s).deleted;
  std::cout << fmt::format("channels: {}\n", s.NrChannelsInFile)
            << fmt::format("bytes_per_sample: {}\n", s.BytesPerSample)
            << fmt::format("header_frames: {}\n", s.HeaderFrames)
            << fmt::format("frames: {}\n", s.NrOfFramesinFile)
            << fmt::format("sig_length: {}\n", s.SigLength)
            << fmt::format("rows_filled: {}\n", s.SignalRowsTouched)
            << fmt::format("grid: {}x{}\n", s.NrCols, s.NrRows)
            << fmt::format("electrode_distance: {}\n", s.ElectrodeDistance)
            << fmt::format("mark_file: {}\n", s.MarkFileName)
            << fmt::format("marks: {}\n", s.MarkCount - deleted)
            << fmt::format("deleted_marks: {}\n", deleted);
}

namespace {

std::string UseText(const AcquisitionSignal& signal) {
  switch (signal.use) {
    case AcquisitionSignal::Use::Electrode: return fmt::format("channel {}, offset {} uV", signal.number, signal.offsetUv);
    case AcquisitionSignal::Use::Annotations: return "annotations, left out";
    case AcquisitionSignal::Use::Status: return "status channel, left out";
    case AcquisitionSignal::Use::NotVoltage: return "not in volts, left out";
    case AcquisitionSignal::Use::OtherRate: return "another rate, left out";
    case AcquisitionSignal::Use::NoScale: return "no digital range, left out";
    case AcquisitionSignal::Use::BeyondChannels: return "beyond channel 256, left out";
  }
  return {};
}

}  // namespace

void PrintAcquisition(const AnalysisState& s) {
  const AcquisitionDetails& a = s.Acquisition;
  if (a.Empty()) return;
  std::string out = fmt::format("format: {}\n", a.format) + fmt::format("sampling_frequency_hz: {}\n", a.rateHz) +
                    fmt::format("data_records: {} of {} s\n", a.records, a.recordSeconds) +
                    fmt::format("filters: {}\n", a.filters);
  for (const AcquisitionSignal& signal : a.fileSignals) {
    out += fmt::format("signal.{}: {}, {}, {} Hz, {}", signal.number, signal.label, signal.unit, signal.rateHz,
                       UseText(signal));
    if (signal.clippedSamples > 0)
      out += fmt::format(", {} samples clipped by up to {} uV", signal.clippedSamples, signal.mostClippedUv);
    out += '\n';
  }
  for (const AcquisitionAnnotation& annotation : a.annotations)
    out += fmt::format("annotation: {} ms: {}\n", annotation.timeMs, annotation.text);
  std::cout << out;
}

std::pair<int, int> ParseRows(const std::string& text, int rowCount) {
  if (text.empty()) return {0, rowCount};
  int first = 0, end = 0;
  char colon = 0;
  if (std::sscanf(text.c_str(), "%d%c%d", &first, &colon, &end) != 3 || colon != ':')
    throw UsageError(fmt::format("--rows takes A:B, for example 0:1000 (not \"{}\")", text));
  if (first < 0 || end < first || end > rowCount)
    throw UsageError(fmt::format("--rows {} lies outside the {} rows of the recording", text, rowCount));
  return {first, end};
}

void PrintRows(const AnalysisState& s, const std::vector<int>& channels, std::pair<int, int> rows) {
  std::string out;
  for (int r = rows.first; r < rows.second; ++r) {
    out += std::to_string(r);
    for (int channel : channels) {
      out += '\t';
      out += std::to_string(s.Signal(r, channel - 1));
    }
    out += '\n';
    if (out.size() > (1 << 16)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace velmora::cli
