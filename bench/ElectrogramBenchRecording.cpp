#include "ElectrogramBenchRecording.h"

#include <stdlib.h>

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <system_error>

#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/MarkStore.h"

namespace velmora::bench {

ElectrogramBenchRecording& ElectrogramBenchRecording::Get() {
  static ElectrogramBenchRecording recording;
  return recording;
}

ElectrogramBenchRecording::ElectrogramBenchRecording() : state_(std::make_unique<AnalysisState>()) {
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

ElectrogramBenchRecording::~ElectrogramBenchRecording() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void ElectrogramBenchRecording::ShowWindow(int begin, int window) { ShowWindowOf(*state_, begin, window); }

void ElectrogramBenchRecording::ShowWindowOf(AnalysisState& s, int begin, int window) {
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

}  // namespace velmora::bench
