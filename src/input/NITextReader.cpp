#include "input/NITextReader.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/ReadableFile.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/TextLines.h"

namespace velmora {

namespace {

constexpr int kRowsPerProgressStep = 100;
constexpr double kMicrovoltsPerVolt = 1e6;
constexpr int kMemoChannel = 5;

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The samples of one data line: the date and time fields are passed over unread.
void ReadRow(TextLines& lines, int32_t* row) {
  lines.SkipCharacters(NITextReader::kIgnoredCharacters);
  lines.ReadScaledRow(kMicrovoltsPerVolt, row, NITextReader::kNIChannels);
}

}  // namespace

void NITextReader::Read(const std::string& path, int signalLength, const RecordingOpenOptions& options) {
  if (signalLength < 1) throw IoError(path, fmt::format("a signal length of {} holds no samples", signalLength));
  // Only the lines asked for are read: a long file may hold far more than is wanted.
  const std::string bytes = ReadableFile(path).ReadLines(int64_t(kHeaderLines) + signalLength, TextLines::kMostLineBytes);
  const std::string_view text = bytes;
  // The samples are held twice for a moment: as read, and in the store.
  constexpr int64_t kBytesPerRowRead = kNIChannels * int64_t(sizeof(int32_t));
  const int64_t rowsInMemory = SignalStore::LargestRows(state_, SignalStore::AvailableBytes(), int64_t(text.size())) *
                               SignalStore::kBytesPerRow / (SignalStore::kBytesPerRow + kBytesPerRowRead);
  const int limit = int(std::min<int64_t>(rowsInMemory, INT_MAX));
  if (signalLength > limit) {
    ui_.Message(fmt::format("{}: a signal length of {} is more than the {} samples that fit in memory; {} lines are read",
                            path, signalLength, limit, limit));
    signalLength = limit;
  }
  ui_.ShowProgress({FileNameOnly(path), FileNameOnly(state_.MatrixFileName), signalLength / kRowsPerProgressStep});
  TextSamples samples;
  try {
    samples = Parse(path, text, signalLength, ui_);
  } catch (...) {
    ui_.HideProgress();
    throw;
  }
  ui_.HideProgress();
  TextRecording(state_, ui_, root_).Commit(path, samples, kNIChannels, options);
  AnalysisState& s = state_;
  s.NIChannels = kNIChannels;
  s.ImportFileName = path;
  s.InputFileKind = 3;
  // One line is one millisecond: whatever rate an earlier import set no longer applies.
  s.SamplingF = 1000;
  s.SamplingFChanged = false;
  if (samples.rows < signalLength)
    ui_.Message(fmt::format("{}: the file holds only {} data lines; the signal length is {}", path, samples.rows,
                            samples.rows));
}

TextSamples NITextReader::Parse(const std::string& path, std::string_view text, int signalLength, Ui& ui) {
  TextLines lines(path, text);
  lines.RefuseBinary();
  lines.SkipHeader(kHeaderLines);
  TextSamples samples;
  samples.channels = kNIChannels;
  samples.values.resize(size_t(std::min<int64_t>(signalLength, TextSamples::MostRowsIn(text, kNIChannels))) *
                       kNIChannels);
  int r = 0;
  const int64_t room = int64_t(samples.values.size()) / kNIChannels;
  while (r < signalLength && r < room && lines.NextDataLine()) {
    ++r;
    if (r % kRowsPerProgressStep == 0) {
      ui.SetProgressText(fmt::format("reading line nr = {}", r));
      ui.StepProgress();
      ui.ProcessEvents();
      if (ui.CancelRequested()) throw Cancelled("reading " + path);
    }
    int32_t* row = samples.values.data() + size_t(r - 1) * kNIChannels;
    ReadRow(lines, row);
    ui.Log(fmt::format("{}   {}  {}", r, row[kMemoChannel - 1], RoundHalfEven(lines.LastValue())));
  }
  if (r == 0) lines.Fail(fmt::format("no data lines follow the {} header lines", kHeaderLines));
  samples.rows = r;
  samples.values.resize(size_t(r) * kNIChannels);
  return samples;
}

}  // namespace velmora
