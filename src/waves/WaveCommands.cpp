#include "waves/WaveCommands.h"

#include <algorithm>
#include <string>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "waves/WaveSearch.h"

namespace velmora {

Redraw WaveCommands::GotoWaveNr() {
  const auto answer = ValuePrompt::AskInteger(ui_, "Go to wave nr", "Give nr:", state_.WaveNrA, 1, WaveSearch::kMaxWaves);
  if (!answer.HasValue()) return Redraw::None;
  state_.WaveNrA = answer.value;
  return Redraw::All;
}

Redraw WaveCommands::GotoNextWave() {
  if (state_.WaveNrA < state_.NrWaves) ++state_.WaveNrA;
  return Redraw::All;
}

Redraw WaveCommands::GotoPreviousWave() {
  state_.WaveNrA = std::max(state_.WaveNrA - 1, 1);
  return Redraw::All;
}

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
