#pragma once

#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// Which panes a command wants redrawn.
enum class Redraw { None, PaneA, PaneB, All };

// The main window's commands on time windows, traces and amplification: the value prompts,
// stepping through time and the trace order boxes. Each changes the state and says what to
// redraw; the window does the drawing.
class ViewCommands {
 public:
  ViewCommands(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) {}

  // "Begin Time" of pane 1 (A) or 2 (B), from the pane's menu or its "B" button.
  Redraw BeginTime(int pane, bool fromButton);
  Redraw BeginTimeAll();
  // "Window" of pane 1 or 2 from its menu, and for all panes.
  Redraw WindowTime(int pane);
  Redraw WindowTimeAll();
  // The "W" button of a pane: any window of at least 1 ms.
  Redraw WindowButton(int pane);
  Redraw GotoChannel();
  Redraw NumberChannels();
  Redraw AmplificationPrompt();
  Redraw StepIncrementPrompt();
  Redraw SamplingFrequency();
  static std::string SamplingFrequencyCaption(int samplingF);

  // ">" and "<" of a pane, "Next" and "Previous" for all panes. A beep when nothing moved.
  Redraw StepForward(int pane);
  Redraw StepBack(int pane);
  Redraw Next();
  Redraw Previous();
  // "A" doubles and "a" halves the amplification.
  Redraw IncreaseAmplification();
  Redraw DecreaseAmplification();

  // The trace order boxes: item of pane A's box (0..5) or pane B's (0..3).
  Redraw ChooseOrderA(int item);
  Redraw ChooseOrderB(int item);

 private:
  int32_t& Begin(int pane);
  int32_t& Window(int pane);
  void ClearFreeOrderWhenFree();

  AnalysisState& state_;
  Ui& ui_;
};

}  // namespace velmora
