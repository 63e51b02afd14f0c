// What importing a laboratory text recording costs against one read of its bytes: the
// largest Nashville file, 48 tab-delimited channels on 60,000 lines.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/LabImport.h"
#include "input/TextLines.h"
#include "FileReadBaseline.h"
#include "TemporaryFolder.h"

namespace velmora {
namespace {

constexpr int kLines = 60000;
constexpr int kChannels = 48;

// Values like -1234.5 (microvolts), written once on first use and removed when the run ends.
class LargestNashvilleFile {
 public:
  static const LargestNashvilleFile& Get() {
    static const LargestNashvilleFile file;
    return file;
  }

  const std::string& Folder() const { return folder_.Path(); }
  const std::string& Path() const { return path_; }
  size_t Size() const { return text_.size(); }
  const std::string& Text() const { return text_; }

 private:
  LargestNashvilleFile() : path_(folder_.File("largest-nashville.txt")) {
    std::string text = "Nashville export\n48 channels\nvalues\n";
    uint64_t random = 54321;
    for (int line = 1; line <= kLines; ++line) {
      for (int c = 0; c < kChannels; ++c) {
        random = random * 6364136223846793005ULL + 1442695040888963407ULL;
        const int tenths = int((random >> 33) % 40001) - 20000;
        text += fmt::format("{}{}{}.{}", c == 0 ? "" : "\t", tenths < 0 ? "-" : "", std::abs(tenths) / 10,
                            std::abs(tenths) % 10);
      }
      text += "\r\n";
    }
    WriteFileAtomically(path_, text);
    text_ = std::move(text);
  }

  bench::TemporaryFolder folder_;
  std::string path_;
  std::string text_;
};

void BM_NashvilleTextReadFileOneCall(benchmark::State& bench) {
  bench::FileReadBaseline::Run(bench, LargestNashvilleFile::Get().Path());
}

// The import window's whole path after "Ok": panel values, file, parse, progress, store, layout.
void BM_NashvilleTextImport(benchmark::State& bench) {
  const LargestNashvilleFile& file = LargestNashvilleFile::Get();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((std::filesystem::path(file.Folder()) / "root").string());
  auto state = std::make_unique<AnalysisState>();
  const LabImport::PanelValues values{std::to_string(kChannels), std::to_string(kLines), "1000", "NewE48.txt"};
  for (auto _ : bench) {
    const bool read = LabImport(*state, ui, root, RecordingOpenOptions{false, false})
                          .Import(LabImport::kNashville, file.Path(), values);
    benchmark::DoNotOptimize(state->Signals.data());
    benchmark::ClobberMemory();
    if (!read) bench.SkipWithError("the file was not read");
  }
  if (state->SigLength != kLines) bench.SkipWithError("the file was not read whole");
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(file.Size()));
}

// The numbers alone, on one thread: the rows of the file read as the import reads them.
void BM_NashvilleRowReading(benchmark::State& bench) {
  const LargestNashvilleFile& file = LargestNashvilleFile::Get();
  std::vector<int32_t> row(kChannels);
  for (auto _ : bench) {
    TextLines lines(file.Path(), file.Text());
    lines.SkipHeader(3);
    int64_t sum = 0;
    while (lines.NextDataLine()) {
      lines.ReadScaledRow(1, row.data(), kChannels);
      sum += row[0];
    }
    benchmark::DoNotOptimize(sum);
  }
  bench.SetItemsProcessed(int64_t(bench.iterations()) * kLines * kChannels);
}

}  // namespace

BENCHMARK(BM_NashvilleRowReading)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NashvilleTextReadFileOneCall)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NashvilleTextImport)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace velmora
