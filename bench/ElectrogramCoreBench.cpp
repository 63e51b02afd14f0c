// How long the core of an electrogram pane redraw takes: reading the samples, the offsets,
// the points and the marks, with a canvas that draws nothing.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkStore.h"

namespace velmora {
namespace {

// Takes every drawing call and does nothing with it.
class NullCanvas : public Canvas {
 public:
  void SetPen(Colour, int, PenMode) override {}
  void SetBrush(Colour, BrushStyle) override {}
  void SetFont(Colour, FontStyle) override {}
  void Line(int, int, int, int) override {}
  void Polyline(const std::vector<Point>&) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  int TextHeight(const std::string&) override { return 13; }
};

// The largest sample recording, loaded once, with 5,000 marks spread over its electrodes.
class LoadedRecording {
 public:
  static LoadedRecording& Get() {
    static LoadedRecording recording;
    return recording;
  }
  ~LoadedRecording() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  AnalysisState& State() { return *state_; }

  // 24 traces from channel 17 on a 1600 x 900 pane, offsets from the window's mean.
  void ShowWindow(int begin, int window) {
    AnalysisState& s = *state_;
    s.PaneWidth = 1600;
    s.PaneHeight = 900;
    s.NrTraces = 24;
    s.TraceOrder = 0;
    s.FirstChannel = 17;
    s.CurBegin = begin;
    s.CurWindow = window;
    s.ShowElgTimes = true;
    s.AverageOffset = true;
  }

 private:
  LoadedRecording() : state_(std::make_unique<AnalysisState>()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    SampleSettings settings;
    settings.seconds = 65.535;
    const SampleFiles files = SampleRecording::Write(settings, folder_);
    std::ostream nowhere(nullptr);
    ConsoleUi ui(nowhere);
    const DataRoot root(folder_ + "/root");
    state_->DefaultMatrixFileName = files.matrix;
    E00Reader(*state_, ui, root).Open(files.recording, RecordingOpenOptions{false, false});
    for (int n = 0; n < 5000; ++n) {
      state_->PointerChannel = 17 + n % 240;
      MarkStore::AddMarkRecord(*state_, int32_t((int64_t(n) * 7919) % 65000), n % 3 == 0 ? kSpike : kSlowWave);
    }
  }
  std::unique_ptr<AnalysisState> state_;
  std::string folder_;
};

// A pane redrawn again and again with the same drawing, as the workbench keeps one per pane.
void RedrawCore(benchmark::State& bench, int begin, int window) {
  LoadedRecording& recording = LoadedRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

// The first redraw after the samples changed (a recording was loaded): nothing worked out
// from the samples is of use any more.
void RedrawAfterNewSamples(benchmark::State& bench, int begin, int window) {
  LoadedRecording& recording = LoadedRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) {
    recording.State().SignalsChanged();
    drawing.DrawElectrograms();
  }
}

// A drawing made for one picture only, as the command-line tool does, buffers and all.
void DrawOnce(benchmark::State& bench, int begin, int window) {
  LoadedRecording& recording = LoadedRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  for (auto _ : bench) ElectrogramDrawing(recording.State(), canvas).DrawElectrograms();
}

void BM_CoreRedraw4000ms(benchmark::State& bench) { RedrawCore(bench, 10000, 4000); }
void BM_CoreRedraw65000ms(benchmark::State& bench) { RedrawCore(bench, 0, 65000); }
void BM_CoreRedrawAfterNewSamples4000ms(benchmark::State& bench) { RedrawAfterNewSamples(bench, 10000, 4000); }
void BM_CoreRedrawAfterNewSamples65000ms(benchmark::State& bench) { RedrawAfterNewSamples(bench, 0, 65000); }
void BM_CoreDrawOnce4000ms(benchmark::State& bench) { DrawOnce(bench, 10000, 4000); }
void BM_CoreDrawOnce65000ms(benchmark::State& bench) { DrawOnce(bench, 0, 65000); }

#define VELMORA_CORE_DRAW_BENCH(function) \
  BENCHMARK(function)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_CORE_DRAW_BENCH(BM_CoreRedraw4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedraw65000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedrawAfterNewSamples4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedrawAfterNewSamples65000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreDrawOnce4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreDrawOnce65000ms);

}  // namespace
}  // namespace velmora
