#include "support/MarkedSample.h"

#include "input/E00Reader.h"
#include "marks/AutomaticMarking.h"

namespace velmora::testing {

MarkedSample::MarkedSample(const SampleSettings& s, int method, bool smooth) : settings(s), root(dir.File("root")) {
  const SampleFiles files = SampleRecording::Write(settings, dir.File("sample"));
  state->DefaultMatrixFileName = files.matrix;
  state->SmoothElectrograms = smooth;
  E00Reader(*state, ui, root).Open(files.recording, RecordingOpenOptions{false, false});
  state->CurBegin = 0;
  state->CurWindow = state->SigLength;
  state->MarkType[0] = kSlowWave;
  state->DetectionMethod = method;
  AutomaticMarking(*state, ui).MarkAllSlowWaves();
  score = Score();
}

MarkScore MarkedSample::Score() const {
  return SampleScore::Score(*state, SampleRecording::ActivationTimes(settings), SampleRecording::DeadChannels(settings));
}

}  // namespace velmora::testing
