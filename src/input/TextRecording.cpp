#include "input/TextRecording.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/MatrixChooser.h"
#include "marks/MarkFile.h"

namespace velmora {

std::string TextRecording::MarkFileNameFor(const std::string& recording) {
  std::filesystem::path markFile(recording);
  markFile.replace_extension(".Mxt");
  if (markFile.string() == recording)
    throw IoError(recording, "the recording's mark file would be the recording itself (its extension is .Mxt)");
  return markFile.string();
}

void TextRecording::Commit(const std::string& path, const TextSamples& samples, int gridCols,
                           const RecordingOpenOptions& options) {
  const std::string markFile = MarkFileNameFor(path);
  RemoveStaleTemporaries(markFile);
  const bool markFileExists = AnythingAt(markFile);
  // A broken mark file refuses the recording before anything of the loaded one changes.
  if (markFileExists) MarkFile::Read(markFile);
  SignalStore::CheckFits(state_, path, samples.rows, int64_t(samples.values.size() * sizeof(int32_t)));
  AnalysisState& s = state_;
  StoreSamples(samples);
  s.SigLength = samples.rows;
  DescribeRecording(samples.channels);
  ResetPanes();
  SetOneRowLayout(samples.channels, gridCols);
  s.FileLoaded = true;
  s.SmoothedOnLoad = false;  // text recordings are smoothed only on demand
  s.ElgFileName = path;
  s.ElgFileExt = std::filesystem::path(path).extension().string();
  s.MarkFileName = markFile;
  BindMarkFile(markFileExists, options);
}

namespace {

constexpr int64_t kBytesForTwoWriters = int64_t(16) << 20;

// One row of the store: the file's channels, then zeros.
void WriteRow(int32_t* row, const int32_t* values, int channels) {
  std::copy(values, values + channels, row);
  std::fill(row + channels, row + kChannels, 0);
}

#if defined(__SSE2__)
// The same, written past the caches: the store is far larger than they are, and a plain store
// would first read each line of it only to overwrite the whole line.
void StreamRow(int32_t* row, const int32_t* values, int channels) {
  constexpr int kPerVector = 4;
  int c = 0;
  for (; c + kPerVector <= channels; c += kPerVector)
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + c)));
  alignas(16) int32_t edge[kPerVector] = {};
  std::copy(values + c, values + channels, edge);
  if (c < channels) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c), _mm_load_si128(reinterpret_cast<const __m128i*>(edge)));
    c += kPerVector;
  }
  for (; c < kChannels; c += kPerVector) _mm_stream_si128(reinterpret_cast<__m128i*>(row + c), _mm_setzero_si128());
}
#endif

// Rows [from, to) of the store from the samples read.
void WriteRows(int32_t* store, const TextSamples& samples, int from, int to) {
  bool streamed = false;
#if defined(__SSE2__)
  streamed = reinterpret_cast<uintptr_t>(store) % 16 == 0;
#endif
  for (int r = from; r < to; ++r) {
    int32_t* row = store + size_t(r) * kChannels;
    const int32_t* values = samples.values.data() + size_t(r) * size_t(samples.channels);
#if defined(__SSE2__)
    if (streamed) {
      StreamRow(row, values, samples.channels);
      continue;
    }
#endif
    WriteRow(row, values, samples.channels);
  }
#if defined(__SSE2__)
  _mm_sfence();  // the streamed rows are in memory before another thread may look at them
#endif
}

}  // namespace

// Every sample of the store is written, the columns beyond the file's channels with zeros, so
// no earlier recording's samples remain when the store of the same size is kept. A large store
// is written by two threads, a half each.
void TextRecording::StoreSamples(const TextSamples& samples) {
  AnalysisState& s = state_;
  SignalStore::ResizeForOverwrite(s, samples.rows);
  int32_t* const store = s.Signals.data();
  const int half = samples.rows / 2;
  std::thread second;
  if (int64_t(samples.rows) * SignalStore::kBytesPerRow >= kBytesForTwoWriters &&
      std::thread::hardware_concurrency() > 1) {
    try {
      second = std::thread(WriteRows, store, std::cref(samples), half, samples.rows);
    } catch (const std::system_error&) {  // no thread to be had: one writes it all
    }
  }
  WriteRows(store, samples, 0, second.joinable() ? half : samples.rows);
  if (second.joinable()) second.join();
  s.SignalRowsTouched = samples.rows;
  s.SignalsChanged();
}

// The channels read, for the info and the mark file's header; the frame layout of an E00
// recording read before means nothing for a text recording.
void TextRecording::DescribeRecording(int channels) {
  AnalysisState& s = state_;
  s.NrChannelsInFile = channels;
  s.BytesPerSample = s.FrameSize = s.HeaderFrames = s.HeaderRecords16 = 0;
  s.HeaderWord90 = s.HeaderWord104 = 0;
  s.NrOfFramesinFile = 0;
}

void TextRecording::ResetPanes() {
  AnalysisState& s = state_;
  s.ClickArmed = false;
  s.PaneKindA = 1;
  s.ElgModeA = 0;
  s.FirstChannel = 1;
  s.TraceOrder = 0;
  // The whole recording from its start in both panes: nothing of the window the recording
  // before was looked at stays.
  s.BeginAll = s.BeginA = s.BeginB = 0;
  s.WindowAll = s.WindowA = s.WindowB = s.SigLength;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
  s.MapKindA = s.MapKindB = 0;
  s.ShapeDragging = false;
  s.PointerReady = true;
}

// Channel n sits in column n of a single grid row; channels beyond the recording have no place.
void TextRecording::SetOneRowLayout(int channels, int gridCols) {
  AnalysisState& s = state_;
  s.NrElectrodes = channels;
  s.NrCols = gridCols;
  s.NrRows = 1;
  s.ElectrodeDistance = 1.0;
  s.TileStacked = true;
  s.NrTraces = channels;
  s.ElectrodeX.fill(-1);
  s.ElectrodeY.fill(-1);
  std::fill(s.GridElectrode.begin(), s.GridElectrode.end(), -1);
  for (int n = 1; n <= channels; ++n) {
    s.ElectrodeX[size_t(n - 1)] = n;
    s.ElectrodeY[size_t(n - 1)] = 1;
    if (n <= gridCols && n <= kMaxGridCols) s.GridCell(n, 1) = n;
  }
}

void TextRecording::BindMarkFile(bool markFileExists, const RecordingOpenOptions& options) {
  AnalysisState& s = state_;
  s.MarksChanged = false;
  try {
    if (markFileExists) {
      MatrixChooser chooser(s, ui_, root_);
      ReadMarkFile(s, ui_, &chooser);
      return;
    }
    ApplyMarkFile(s, MarkFileContents{std::vector<uint8_t>(MarkFile::kHeaderSize, 0), "", {}, 0});
    s.MarkFileStamp = {};
    if (options.createMissingMarkFile) CreateMarkFile(s, ui_);
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

}  // namespace velmora
