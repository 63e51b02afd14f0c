#include "core/StateRollback.h"

#include <algorithm>
#include <utility>

#include "core/AnalysisState.h"

namespace velmora {

StateRollback::StateRollback(AnalysisState& state) : state_(state) {
  auto store = std::move(state.Signals);
  kept_ = std::make_unique<AnalysisState>(state);
  kept_->Signals = std::move(store);
  // The command sizes its own store: holding a second one of the old size beside the kept
  // one would only raise the memory a load needs.
  state.Signals = {};
  state.SignalRowsTouched = 0;
  state.SignalsChanged();
}

StateRollback::~StateRollback() = default;

void StateRollback::Restore() {
  if (!kept_) return;
  const uint64_t reached = std::max(state_.SignalVersion, kept_->SignalVersion);
  state_ = std::move(*kept_);
  state_.SignalVersion = reached + 1;
  kept_.reset();
}

}  // namespace velmora
