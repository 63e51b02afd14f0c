#include "FuzzRecording.h"

#include "FuzzScratch.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"

namespace velmora::fuzz {

FuzzRecording& FuzzRecording::Shared() {
  static FuzzRecording recording;
  return recording;
}

FuzzRecording::FuzzRecording()
    : state_(std::make_unique<AnalysisState>()), ui_(messages_), root_(FuzzScratch::Folder() + "/data") {
  SampleSettings settings;
  settings.seconds = 3;
  settings.periodS = 1;
  const SampleFiles files = SampleRecording::Write(settings, FuzzScratch::Folder() + "/sample");
  matrix_ = files.matrix;
  recording_ = files.recording;
  state_->DefaultMatrixFileName = matrix_;
  E00Reader reader(*state_, ui_, root_);
  reader.Open(recording_, RecordingOpenOptions{false, false});
  state_->CurBegin = 0;
  state_->CurWindow = state_->SigLength;
  state_->MapBegin = 0;
  state_->MapWindow = state_->SigLength;
  // A small pane of a few traces: the marks of every channel are laid out for any pane, and
  // drawing all 240 traces would make each run many times slower.
  state_->PaneWidth = 400;
  state_->PaneHeight = 300;
  state_->NrTraces = 4;
  state_->TraceOrder = 0;
  state_->FirstChannel = 17;
}

}  // namespace velmora::fuzz
