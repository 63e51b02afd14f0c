// The summary of a thirty-minute recording of 256 channels against what it cannot do without:
// opening the recording, marking it automatically and grouping the waves. The recording (a
// mix of propagation patterns, 930 MB) is generated once into the system's temporary folder
// and kept for later runs, with the marks of one automatic marking beside it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkFile.h"
#include "output/ResultsCsv.h"
#include "results/WaveTable.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

constexpr double kSeconds = 1800;

struct ThirtyMinutes {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-bench-1800s-patterns";
  SampleFiles files;
  std::string marks;

  static const ThirtyMinutes& Get() {
    static const ThirtyMinutes recording;
    return recording;
  }

 private:
  ThirtyMinutes() {
    SampleSettings settings;
    settings.seconds = kSeconds;
    settings.speedMmPerS = 10;
    settings.jitterMs = 5;
    settings.pattern = SamplePatterns::Choice::Mix;
    files = {(folder / "sample.E00").string(), (folder / "sample-matrix.txt").string(), ""};
    marks = (folder / "marks.M00").string();
    const uintmax_t bytes = SampleRecording::kHeaderBytes + uintmax_t(SampleRecording::FramesAfterHeader(settings)) * 512;
    std::error_code error;
    if (std::filesystem::file_size(files.recording, error) != bytes || !std::filesystem::exists(marks)) {
      files = SampleRecording::Write(settings, folder.string());
      const auto s = Open();
      AutomaticMarking(*s->state, s->ui).MarkAllSlowWaves();
      WriteFileAtomically(marks, MarkFile::Serialize(*s->state));
    }
  }

 public:
  struct Opened {
    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    std::ostream nowhere{nullptr};
    ConsoleUi ui{nowhere};
  };
  // The console's stream lives with it, so the recording is handed out where it was made.
  std::unique_ptr<Opened> Open() const {
    auto o = std::make_unique<Opened>();
    const DataRoot root((folder / "root").string());
    o->state->DefaultMatrixFileName = files.matrix;
    o->state->SmoothElectrograms = true;
    E00Reader(*o->state, o->ui, root).Open(files.recording, RecordingOpenOptions{false, false});
    AnalysisState& s = *o->state;
    s.BeginA = s.CurBegin = 0;
    s.WindowA = s.CurWindow = s.SigLength;
    s.MarkType = {kSlowWave, kSlowWave};
    s.ActivePane = 1;
    s.MarkCount = 0;
    return o;
  }
};

// What a user does to see the waves: open, mark automatically, group.
void BM_ThirtyMinutesOpenMarkWaves(benchmark::State& bench) {
  const ThirtyMinutes& recording = ThirtyMinutes::Get();
  for (auto _ : bench) {
    const auto o = recording.Open();
    AutomaticMarking(*o->state, o->ui).MarkAllSlowWaves();
    WaveSearch search;
    search.CalculateWaves(*o->state);
    benchmark::DoNotOptimize(o->state->NrWaves);
  }
}

// `summary` of the same recording from its marks: open, read the marks, amplitudes, waves,
// the table and its CSV.
void BM_ThirtyMinutesSummary(benchmark::State& bench) {
  const ThirtyMinutes& recording = ThirtyMinutes::Get();
  for (auto _ : bench) {
    const auto o = recording.Open();
    AnalysisState& s = *o->state;
    ApplyMarkFile(s, MarkFile::Parse(recording.marks, ReadWholeFile(recording.marks)));
    AmplitudeCalculation::CalcAmplitudes(s);
    s.AmplitudesValid = true;
    WaveSearch search;
    search.CalculateWaves(s);
    const WaveTable table = WaveTable::Build(s, search, {s.MinSitesPerWave, double(s.NormalDirection)});
    benchmark::DoNotOptimize(ResultsCsv::WaveTableText(table).size());
    bench.counters["waves"] = double(table.Rows().size());
  }
}

BENCHMARK(BM_ThirtyMinutesOpenMarkWaves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ThirtyMinutesSummary)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace velmora
