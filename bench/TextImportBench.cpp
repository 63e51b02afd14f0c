// What reading an NI text recording and smoothing it cost, against the plain cost of reading
// the file's bytes and of one pass over the store columns; and the text layer's number parser
// against the standard library's on the same numbers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/NISmoothing.h"
#include "input/NITextReader.h"
#include "input/TextLines.h"
#include "FileReadBaseline.h"
#include "TemporaryFolder.h"

namespace velmora {
namespace {

constexpr int kLines = 60000;
constexpr int kNIChannels = NITextReader::kNIChannels;

// The largest NI file the reader takes: 60,000 lines of 64 values like -0.000123 (volts), about
// 40 MB. It is written once, on first use, and removed when the run ends.
class LargestNIFile {
 public:
  static const LargestNIFile& Get() {
    static const LargestNIFile file;
    return file;
  }

  const std::string& Folder() const { return folder_.Path(); }
  const std::string& Path() const { return path_; }
  const std::string& Text() const { return text_; }

 private:
  LargestNIFile() : path_(folder_.File("largest.txt")) {
    text_ = "Acquisition export\n64 channels\nDate\tTime\tValues\n";
    uint64_t random = 12345;
    for (int line = 1; line <= kLines; ++line) {
      text_ += fmt::format("2024-03-01\t{:02}:{:02}:{:02}.{:03}", line / 3600000, line / 60000 % 60, line / 1000 % 60,
                           line % 1000);
      for (int c = 0; c < kNIChannels; ++c) {
        random = random * 6364136223846793005ULL + 1442695040888963407ULL;
        const int microvolts = int((random >> 33) % 4001) - 2000;
        text_ += fmt::format("\t{}0.{:06}", microvolts < 0 ? "-" : "", std::abs(microvolts));
      }
      text_ += "\r\n";
    }
    WriteFileAtomically(path_, text_);
  }

  bench::TemporaryFolder folder_;
  std::string path_, text_;
};

void BM_NITextReadFileOneCall(benchmark::State& bench) { bench::FileReadBaseline::Run(bench, LargestNIFile::Get().Path()); }

// The reader's whole path: file, parse, memo lines and progress (swallowed), store, layout.
void BM_NITextImport(benchmark::State& bench) {
  const LargestNIFile& file = LargestNIFile::Get();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((std::filesystem::path(file.Folder()) / "root").string());
  auto state = std::make_unique<AnalysisState>();
  for (auto _ : bench) {
    NITextReader(*state, ui, root).Read(file.Path(), kLines, RecordingOpenOptions{false, false});
    benchmark::DoNotOptimize(state->Signals.data());
    benchmark::ClobberMemory();
  }
  if (state->SigLength != kLines) bench.SkipWithError("the file was not read whole");
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(file.Text().size()));
}

std::unique_ptr<AnalysisState> FilledStore() {
  auto state = std::make_unique<AnalysisState>();
  uint64_t random = 99;
  for (int r = 0; r < kLines; ++r)
    for (int c = 0; c < kNIChannels; ++c) {
      random = random * 6364136223846793005ULL + 1442695040888963407ULL;
      state->Signals[size_t(r) * kChannels + size_t(c)] = int32_t((random >> 33) % 4001) - 2000;
    }
  state->SigLength = kLines;
  state->SignalRowsTouched = kLines;
  state->NIChannels = kNIChannels;
  return state;
}

void BM_NISmoothing(benchmark::State& bench) {
  auto state = FilledStore();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  for (auto _ : bench) {
    NISmoothing::Smooth(*state, ui);
    benchmark::DoNotOptimize(state->Signals.data());
    benchmark::ClobberMemory();
  }
}

// The least any smoothing must do: read every sample of the 64 columns once.
void BM_NIStoreColumnsOnePass(benchmark::State& bench) {
  auto state = FilledStore();
  for (auto _ : bench) {
    int64_t sum = 0;
    for (int c = 0; c < kNIChannels; ++c) {
      const int32_t* column = state->Signals.data() + c;
      for (int r = 0; r < kLines; ++r) sum += column[size_t(r) * kChannels];
    }
    benchmark::DoNotOptimize(sum);
  }
}

// The lines of the NI file past their 23 characters of date and time, each handed to
// `readLine`, which reads its 64 numbers and returns something of them to keep.
template <typename ReadLine>
void WalkLines(benchmark::State& bench, ReadLine readLine) {
  const LargestNIFile& file = LargestNIFile::Get();
  for (auto _ : bench) {
    TextLines lines(file.Path(), file.Text());
    lines.SkipHeader(NITextReader::kHeaderLines);
    int64_t sum = 0;
    while (lines.NextDataLine()) {
      lines.SkipCharacters(NITextReader::kIgnoredCharacters);
      sum += readLine(lines);
    }
    benchmark::DoNotOptimize(sum);
  }
  bench.SetItemsProcessed(int64_t(bench.iterations()) * kLines * kNIChannels);
}

// The parsers walk the same lines: past the 23 characters of date and time, then 64 numbers
// each; the text layer number by number, and a whole row at a time as the readers do.
void BM_NumbersTextLayer(benchmark::State& bench) {
  WalkLines(bench, [](TextLines& lines) {
    int64_t sum = 0;
    for (int k = 1; k <= kNIChannels; ++k) sum += lines.ReadScaled(1e6, k, kNIChannels);
    return sum;
  });
}

void BM_NumbersRowReading(benchmark::State& bench) {
  std::vector<int32_t> row(kNIChannels);
  WalkLines(bench, [&row](TextLines& lines) {
    lines.ReadScaledRow(1e6, row.data(), kNIChannels);
    return int64_t(row[0]);
  });
}

const char* FirstDataLine(const std::string& text) {
  const char* p = text.c_str();
  for (int n = 0; n < NITextReader::kHeaderLines; ++n) p = std::strchr(p, '\n') + 1;
  return p;
}

template <typename ParseNumber>
void WalkNumbers(benchmark::State& bench, ParseNumber parse) {
  const LargestNIFile& file = LargestNIFile::Get();
  const char* end = file.Text().c_str() + file.Text().size();
  for (auto _ : bench) {
    double sum = 0;
    for (const char* p = FirstDataLine(file.Text()); p < end;) {
      p += NITextReader::kIgnoredCharacters;
      for (int k = 0; k < kNIChannels; ++k) sum += parse(p, end);
      p = std::find(p, end, '\n') + 1;
    }
    benchmark::DoNotOptimize(sum);
  }
  bench.SetItemsProcessed(int64_t(bench.iterations()) * kLines * kNIChannels);
}

void BM_NumbersStrtod(benchmark::State& bench) {
  WalkNumbers(bench, [](const char*& p, const char*) {
    char* stop = nullptr;
    const double value = std::strtod(p, &stop);
    p = stop;
    return value;
  });
}

void BM_NumbersFromChars(benchmark::State& bench) {
  WalkNumbers(bench, [](const char*& p, const char* end) {
    while (*p == ' ' || *p == '\t') ++p;
    double value = 0;
    p = std::from_chars(p, end, value).ptr;
    return value;
  });
}

BENCHMARK(BM_NITextReadFileOneCall)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NITextImport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NISmoothing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NIStoreColumnsOnePass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NumbersTextLayer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NumbersRowReading)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NumbersStrtod)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NumbersFromChars)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace velmora
