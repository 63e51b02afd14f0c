#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"

namespace velmora::fuzz {

// A short generated recording opened once per process, as the workbench opens it: harnesses
// put what they read into its state and run the computations that follow a read over it.
// Messages go to a stream nobody reads.
class FuzzRecording {
 public:
  // The process's recording, opened on first use.
  static FuzzRecording& Shared();

  AnalysisState& State() { return *state_; }
  Ui& UiSink() { return ui_; }
  const DataRoot& Root() const { return root_; }
  const std::string& MatrixPath() const { return matrix_; }
  const std::string& RecordingPath() const { return recording_; }
  // Empties the message stream, so a long run does not grow it without end.
  void ForgetMessages() { messages_.str(std::string()); }

 private:
  FuzzRecording();

  std::unique_ptr<AnalysisState> state_;
  std::ostringstream messages_;
  ConsoleUi ui_;
  DataRoot root_;
  std::string matrix_;
  std::string recording_;
};

}  // namespace velmora::fuzz
