#pragma once

#include <memory>

namespace velmora {

struct AnalysisState;

// Keeps the state as it was before a command that may be cancelled half-way (a load), so that
// a cancel can put all of it back: recording, samples, marks and settings.
//
// The samples are not copied: the kept state takes the store itself and the command works on
// a fresh zeroed store of the same size, so the store's memory is held twice only while the
// command runs.
class StateRollback {
 public:
  explicit StateRollback(AnalysisState& state);
  ~StateRollback();

  // Puts the kept state back; the samples' version moves past any the command reached, so
  // nothing worked out from its samples is taken for the old ones.
  void Restore();

 private:
  AnalysisState& state_;
  std::unique_ptr<AnalysisState> kept_;
};

}  // namespace velmora
