#include "waves/WaveCommands.h"

#include <algorithm>
#include <string>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "waves/WaveSearch.h"

namespace velmora {

// Pane A's wave, unless only pane B shows a wave map: stepping a wave nobody sees would
// leave the user pressing keys that do nothing.
int32_t& WaveCommands::MenuWaveNr() {
  const bool onlyB = state_.PaneKindA != 2 && state_.TwoPanes && state_.PaneKindB == 2;
  return onlyB ? state_.WaveNrB : state_.WaveNrA;
}

Redraw WaveCommands::GotoWaveNr() {
  int32_t& wave = MenuWaveNr();
  const auto answer = ValuePrompt::AskInteger(ui_, "Go to wave nr", "Give nr:", wave, 1, WaveSearch::kMaxWaves);
  if (!answer.HasValue()) return Redraw::None;
  wave = answer.value;
  return Redraw::All;
}

Redraw WaveCommands::GotoNextWave() { return StepWave(&MenuWaveNr() == &state_.WaveNrB ? 2 : 1, 1); }

Redraw WaveCommands::GotoPreviousWave() { return StepWave(&MenuWaveNr() == &state_.WaveNrB ? 2 : 1, -1); }

Redraw WaveCommands::StepWave(int pane, int step) {
  int32_t& wave = pane == 2 ? state_.WaveNrB : state_.WaveNrA;
  if (step > 0 && wave < state_.NrWaves) ++wave;
  if (step < 0) wave = std::max(wave - 1, 1);
  return Redraw::All;
}

Redraw WaveCommands::ShowStatistics() {
  state_.ShowStatistics = !state_.ShowStatistics;
  return Redraw::None;
}

Redraw WaveCommands::ChangeWaveDifference() {
  const int type = std::clamp(state_.MarkType[state_.ActivePane == 2 ? 1 : 0], 1, 3);
  const std::string t = std::to_string(type);
  int32_t& difference = state_.WaveDifference[size_t(type - 1)];
  const auto answer = ValuePrompt::AskInteger(ui_, "Minimum differente in time for type " + t + " wave separation",
                                              "Give new wave time difference for type" + t, difference, 1);
  // Text that is not a number ends the command with nothing changed.
  if (answer.outcome == ValuePrompt::Outcome::NotANumber) return Redraw::None;
  if (answer.HasValue()) difference = answer.value;
  state_.WavesStale = true;
  return Redraw::All;
}

Redraw WaveCommands::CalculateWaves() {
  state_.WavesStale = true;
  return Redraw::All;
}

Redraw WaveCommands::PlotLocalTimes() {
  state_.PlotLocalTimes = !state_.PlotLocalTimes;
  return Redraw::None;
}

Redraw WaveCommands::AutomaticPositioning() {
  state_.AutoPositioning = !state_.AutoPositioning;
  return Redraw::None;
}

}  // namespace velmora
