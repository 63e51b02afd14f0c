#include "input/TextSampleRecording.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <fmt/format.h>

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "input/SampleFront.h"

namespace velmora {

namespace {

struct LayoutFacts {
  TextSampleRecording::Layout layout;
  const char* name;
  int channels;
  int gridCols, gridRows;  // the default grid fills the electrode channels 17 .. channels
};

constexpr std::array<LayoutFacts, 4> kLayouts{{
    {TextSampleRecording::Layout::NI, "ni", 64, 8, 6},
    {TextSampleRecording::Layout::Auckland, "auckland", 64, 8, 6},
    {TextSampleRecording::Layout::Manchester, "manchester", 64, 8, 6},
    {TextSampleRecording::Layout::Nashville, "nashville", 48, 8, 4},
}};

const LayoutFacts& FactsOf(TextSampleRecording::Layout layout) {
  for (const LayoutFacts& facts : kLayouts)
    if (facts.layout == layout) return facts;
  throw std::invalid_argument("unknown text layout");
}

constexpr int kAucklandHeaderLines = 10;
constexpr int kAucklandNumbersPerLine = 10;
constexpr double kAucklandCalibration = 0.01;

// `value` / 10^decimals written exactly, without going through a binary fraction:
// FixedPoint(-1234, 6) is "-0.001234".
std::string FixedPoint(int32_t value, int decimals) {
  int64_t scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  const int64_t magnitude = std::llabs(int64_t(value));
  return fmt::format("{}{}.{:0{}}", value < 0 ? "-" : "", magnitude / scale, magnitude % scale, decimals);
}

// The date field (10 characters and a tab) and the time field (12 characters) of data line
// `row`, one millisecond apart.
std::string DateAndTime(int row) {
  const int ms = row % 1000, seconds = row / 1000;
  return fmt::format("2026-01-05\t{:02}:{:02}:{:02}.{:03}", seconds / 3600, seconds / 60 % 60, seconds % 60, ms);
}

using Columns = std::vector<std::vector<int32_t>>;

Columns AllChannels(const SampleSettings& s, int channels) {
  Columns columns;
  for (int c = 1; c <= channels; ++c) columns.push_back(TextSampleRecording::ChannelSamples(s, c));
  return columns;
}

std::string NILayoutText(const SampleSettings& s, int channels, const std::string& kind) {
  const Columns columns = AllChannels(s, channels);
  std::string text = fmt::format("Velmora sample recording, {} text layout\n{} channels in volts, 1000 samples/s\n"
                                 "Date\tTime\tChannel 1 .. {}\n", kind, channels, channels);
  for (size_t r = 0; r < columns[0].size(); ++r) {
    text += DateAndTime(int(r) + 1);
    for (const auto& column : columns) {
      text += '\t';
      text += FixedPoint(column[r], 6);
    }
    text += "\r\n";
  }
  return text;
}

std::string NashvilleText(const SampleSettings& s, int channels) {
  const Columns columns = AllChannels(s, channels);
  std::string text = fmt::format("Velmora sample recording, Nashville text layout\n"
                                 "{} channels, 1000 samples/s (give the rate 1000)\nChannel 1 .. {}\n",
                                 channels, channels);
  for (size_t r = 0; r < columns[0].size(); ++r) {
    for (size_t c = 0; c < columns.size(); ++c) text += fmt::format("{}{}", c > 0 ? "\t" : "", columns[c][r]);
    text += "\r\n";
  }
  return text;
}

std::string AucklandText(const SampleSettings& s, int channels, const std::string& matrixPath) {
  const Columns columns = AllChannels(s, channels);
  std::string text = fmt::format("{}\tNr header lines\n{}\tNr channels\n{}\tNr samples\n1000\tSampling rate (Hz)\n"
                                 "{}\tCalibration\n{}\nVelmora sample recording: {} x {} grid, channels {}..{}\n"
                                 "0\n0\n0\n",
                                 kAucklandHeaderLines, channels, columns[0].size(), kAucklandCalibration, matrixPath,
                                 s.cols, s.rows, kFirstElectrode, kFirstElectrode + s.cols * s.rows - 1);
  int onLine = 0;
  for (size_t r = 0; r < columns[0].size(); ++r) {
    for (const auto& column : columns) {
      text += onLine > 0 ? " " : "";
      text += FixedPoint(column[r], 2);
      if (++onLine == kAucklandNumbersPerLine) {
        text += '\n';
        onLine = 0;
      }
    }
  }
  if (onLine > 0) text += '\n';
  return text;
}

}  // namespace

std::optional<TextSampleRecording::Layout> TextSampleRecording::LayoutNamed(const std::string& name) {
  for (const LayoutFacts& facts : kLayouts)
    if (name == facts.name) return facts.layout;
  return std::nullopt;
}

std::string TextSampleRecording::Name(Layout layout) { return FactsOf(layout).name; }

int TextSampleRecording::Channels(Layout layout) { return FactsOf(layout).channels; }

SampleSettings TextSampleRecording::DefaultSettings(Layout layout) {
  SampleSettings settings;
  settings.cols = FactsOf(layout).gridCols;
  settings.rows = FactsOf(layout).gridRows;
  return settings;
}

void TextSampleRecording::Check(Layout layout, const SampleSettings& s) {
  SampleRecording::Check(s);
  const int electrodes = Channels(layout) - kFirstElectrode + 1;
  if (s.cols * s.rows > electrodes)
    throw std::invalid_argument(fmt::format("a grid of {} x {} has {} cells; a {} file holds {} electrodes (channels {}..{})",
                                            s.cols, s.rows, s.cols * s.rows, Name(layout), electrodes,
                                            kFirstElectrode, Channels(layout)));
}

std::vector<int32_t> TextSampleRecording::ChannelSamples(const SampleSettings& s, int channel) {
  const std::vector<double> signal = SampleRecording::ChannelSignal(s, channel);
  // Line r is sample r, the signal at r ms; element 0 is the frame the E00 reader skips.
  std::vector<int32_t> samples(size_t(SampleRecording::StoreRows(s)));
  for (size_t r = 0; r < samples.size(); ++r) samples[r] = int32_t(std::llround(signal[r + 1]));
  return samples;
}

std::string TextSampleRecording::RecordingText(Layout layout, const SampleSettings& s, const std::string& matrixPath) {
  Check(layout, s);
  const int channels = Channels(layout);
  switch (layout) {
    case Layout::NI:
      return NILayoutText(s, channels, "NI");
    case Layout::Manchester:
      return NILayoutText(s, channels, "Manchester");
    case Layout::Nashville:
      return NashvilleText(s, channels);
    case Layout::Auckland:
      return AucklandText(s, channels, matrixPath);
  }
  throw std::invalid_argument("unknown text layout");
}

SampleFiles TextSampleRecording::Write(Layout layout, const SampleSettings& s, const std::string& folder) {
  Check(layout, s);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw IoError(folder, "the folder cannot be created: " + error.message());
  const std::filesystem::path base(folder);
  // Each layout's grid has a matrix file of its own, so that samples in one folder keep theirs.
  SampleFiles files{(base / fmt::format("sample-{}.txt", Name(layout))).string(),
                    (base / fmt::format("sample-{}-matrix.txt", Name(layout))).string(),
                    (base / fmt::format("sample-{}-truth.txt", Name(layout))).string()};
  const std::string matrixPath = std::filesystem::absolute(files.matrix).lexically_normal().string();
  WriteFileAtomically(files.recording, RecordingText(layout, s, matrixPath));
  WriteFileAtomically(files.matrix, SampleRecording::MatrixText(s));
  WriteFileAtomically(files.truth, SampleFront::TruthText(s, SampleRecording::ActivationTimes(s),
                                                          SampleRecording::DeadChannels(s)));
  return files;
}

}  // namespace velmora
