#include "commands/ViewCommands.h"

#include <algorithm>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Ui.h"

namespace velmora {

namespace {

const char* kBeginPrompt = "Give new begin time:";
const char* kWindowPrompt = "Give new window time:";

std::string PaneLetter(int pane) { return pane == 2 ? "B" : "A"; }

Redraw PaneRedraw(int pane) { return pane == 2 ? Redraw::PaneB : Redraw::PaneA; }

}  // namespace

int32_t& ViewCommands::Begin(int pane) { return pane == 2 ? state_.BeginB : state_.BeginA; }
int32_t& ViewCommands::Window(int pane) { return pane == 2 ? state_.WindowB : state_.WindowA; }

Redraw ViewCommands::BeginTime(int pane, bool fromButton) {
  const auto answer =
      ValuePrompt::AskInteger(ui_, "Begin Time Display " + PaneLetter(pane), kBeginPrompt, Begin(pane), 0);
  if (answer.outcome == ValuePrompt::Outcome::NotANumber) return Redraw::None;
  // Cancelling a begin-time prompt goes back to the start of the recording.
  Begin(pane) = answer.HasValue() ? answer.value : 0;
  return fromButton ? Redraw::All : PaneRedraw(pane);
}

Redraw ViewCommands::BeginTimeAll() {
  const auto answer = ValuePrompt::AskInteger(ui_, "Begin Time All Displays", kBeginPrompt, state_.BeginAll, 0);
  if (answer.outcome == ValuePrompt::Outcome::NotANumber) return Redraw::None;
  const int32_t begin = answer.HasValue() ? answer.value : 0;
  state_.BeginAll = state_.BeginA = state_.BeginB = begin;
  return Redraw::All;
}

Redraw ViewCommands::WindowTime(int pane) {
  const auto answer = ValuePrompt::AskInteger(ui_, "Window Time Display " + PaneLetter(pane), kWindowPrompt,
                                              Window(pane), 10, int64_t(state_.SigLength) + 1);
  if (!answer.HasValue()) return Redraw::None;
  Window(pane) = answer.value;
  if (pane == 1) state_.WindowAll = answer.value;
  return PaneRedraw(pane);
}

Redraw ViewCommands::WindowTimeAll() {
  const auto answer = ValuePrompt::AskInteger(ui_, "Window Time ALL Displays", kWindowPrompt, state_.WindowAll, 10,
                                              int64_t(state_.SigLength) + 1);
  if (!answer.HasValue()) return Redraw::None;
  state_.WindowAll = state_.WindowA = state_.WindowB = answer.value;
  return Redraw::All;
}

Redraw ViewCommands::WindowButton(int pane) {
  const auto answer =
      ValuePrompt::AskInteger(ui_, "Window Time Display " + PaneLetter(pane), kWindowPrompt, Window(pane), 1);
  if (!answer.HasValue()) return Redraw::None;
  Window(pane) = answer.value;
  return Redraw::All;
}

Redraw ViewCommands::GotoChannel() {
  const auto answer =
      ValuePrompt::AskInteger(ui_, "Go To Signal Nr", "Give new channel number:", state_.FirstChannel, 1, 257);
  if (!answer.HasValue()) return Redraw::None;
  state_.FirstChannel = answer.value;
  return Redraw::All;
}

Redraw ViewCommands::NumberChannels() {
  const auto answer = ValuePrompt::AskInteger(ui_, "Number of Traces to display", "Give new number of traces:",
                                              state_.NrTraces, 1);
  if (!answer.HasValue()) return Redraw::None;
  state_.NrTraces = answer.value;
  return Redraw::All;
}

Redraw ViewCommands::AmplificationPrompt() {
  const auto answer = ValuePrompt::AskPositiveReal(ui_, "Amplification Electrograms ", "Give new value:",
                                                   state_.Amplification);
  if (!answer.HasValue()) return Redraw::None;
  state_.Amplification = answer.value;
  return Redraw::All;
}

Redraw ViewCommands::StepIncrementPrompt() {
  const auto answer = ValuePrompt::AskInteger(ui_, "Change step increment", "Give new value:", state_.StepIncrement, 0);
  if (!answer.HasValue()) return Redraw::None;
  state_.StepIncrement = answer.value;
  return Redraw::All;
}

std::string ViewCommands::SamplingFrequencyCaption(int samplingF) {
  return "Sampling Frequency (" + std::to_string(samplingF) + " Hz)";
}

Redraw ViewCommands::SamplingFrequency() {
  // A frequency of 0 would make the length conversion divide by zero: 1 Hz is the least.
  const auto answer =
      ValuePrompt::AskInteger(ui_, "Sampling Frequency (Hz)", "Give sampling frequency:", state_.SamplingF, 1);
  if (!answer.HasValue()) return Redraw::None;
  AnalysisState& s = state_;
  s.SamplingF = answer.value;
  // The length is converted from the recording's sample count each time, so changing the
  // frequency twice does not compound the conversion.
  s.SigLength = int32_t(RoundHalfEven(double(s.SignalRowsTouched) / s.SamplingF * 1000.0));
  s.SamplingFChanged = s.SamplingF != 1000;
  s.WindowA = s.WindowAll = std::max(1, s.SigLength);
  return Redraw::All;
}

Redraw ViewCommands::StepForward(int pane) {
  int32_t& begin = Begin(pane);
  const int32_t window = Window(pane);
  const int32_t before = begin;
  begin = (int64_t(begin) + window < state_.SigLength) ? begin + window : std::max(0, state_.SigLength - window);
  if (begin == before) ui_.Beep();
  return Redraw::All;
}

Redraw ViewCommands::StepBack(int pane) {
  int32_t& begin = Begin(pane);
  const int32_t before = begin;
  begin = std::max(0, begin - Window(pane));
  if (begin == before) ui_.Beep();
  return Redraw::All;
}

Redraw ViewCommands::Next() {
  AnalysisState& s = state_;
  const int32_t before = s.BeginAll;
  s.BeginAll = (int64_t(s.BeginAll) + s.StepIncrement < s.SigLength) ? s.BeginAll + s.StepIncrement
                                                                      : std::max(0, s.SigLength - s.StepIncrement);
  if (s.BeginAll == before) ui_.Beep();
  s.BeginA = s.BeginB = s.BeginAll;
  return Redraw::All;
}

Redraw ViewCommands::Previous() {
  AnalysisState& s = state_;
  const int32_t before = s.BeginAll;
  s.BeginAll = std::max(0, s.BeginAll - s.StepIncrement);
  if (s.BeginAll == before) ui_.Beep();
  s.BeginA = s.BeginB = s.BeginAll;
  return Redraw::All;
}

Redraw ViewCommands::IncreaseAmplification() {
  state_.Amplification *= 2;
  return Redraw::All;
}

Redraw ViewCommands::DecreaseAmplification() {
  state_.Amplification /= 2;
  return Redraw::All;
}

void ViewCommands::ClearFreeOrderWhenFree() {
  if (state_.TraceOrder != 3) return;
  state_.FreeOrderList.fill(kNoValue);
  state_.FreeOrderCount = 0;
}

Redraw ViewCommands::ChooseOrderA(int item) {
  static constexpr int kOrders[] = {1, 2, 0, 3, -1, 6};
  if (item < 0 || item > 5) return Redraw::None;
  state_.Bipolar = 0;
  if (item == 4) {
    state_.Bipolar = 1;
  } else {
    state_.TraceOrder = uint8_t(kOrders[item]);
  }
  ClearFreeOrderWhenFree();
  return Redraw::All;
}

Redraw ViewCommands::ChooseOrderB(int item) {
  static constexpr int kOrders[] = {1, 2, 0, 3};
  if (item < 0 || item > 3) return Redraw::None;
  state_.TraceOrder = uint8_t(kOrders[item]);
  ClearFreeOrderWhenFree();
  return Redraw::All;
}

}  // namespace velmora
