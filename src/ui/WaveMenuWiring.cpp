#include "ui/WaveMenuWiring.h"

#include <functional>

#include "ui/MainMenu.h"
#include "ui/PaneMaps.h"
#include "ui/PanePanel.h"
#include "ui/PaneWaves.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"
#include "waves/WaveCommands.h"

namespace velmora {

namespace {

using WaveCommand = Redraw (WaveCommands::*)();

// Switches without a redraw still move their check mark.
void Run(TMainF& w, WaveCommand command) {
  WaveCommands commands(w.State(), w.ActiveUi());
  const Redraw redraw = (commands.*command)();
  w.UpdateChecks();
  w.Apply(redraw);
}

}  // namespace

void WaveMenuWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("gotowavenr1", [&w] { Run(w, &WaveCommands::GotoWaveNr); });
  m.Connect("gotonextwave1", [&w] { Run(w, &WaveCommands::GotoNextWave); });
  m.Connect("gotopreviouswave1", [&w] { Run(w, &WaveCommands::GotoPreviousWave); });
  m.Connect("showstatistics1", [&w] { Run(w, &WaveCommands::ShowStatistics); });
  m.Connect("changeWaveDifference1", [&w] { Run(w, &WaveCommands::ChangeWaveDifference); });
  m.Connect("CalculateWaves1", [&w] { Run(w, &WaveCommands::CalculateWaves); });
  m.Connect("compositewavemap1", [&w] {
    w.Waves().DrawComposite();
    w.Maps().ForgetHeldMap();
  });
  m.Connect("Plotlocaltimes1", [&w] { Run(w, &WaveCommands::PlotLocalTimes); });
  m.Connect("automaticpositioning1", [&w] { Run(w, &WaveCommands::AutomaticPositioning); });
  for (const int pane : {1, 2}) {
    TitleBar* bar = (pane == 2 ? w.PaneB() : w.PaneA())->Bar();
    const auto step = [&w, pane](int by) {
      WaveCommands commands(w.State(), w.ActiveUi());
      w.Apply(commands.StepWave(pane, by));
    };
    QObject::connect(bar, &TitleBar::waveUpClicked, &w, [step] { step(1); });
    QObject::connect(bar, &TitleBar::waveDownClicked, &w, [step] { step(-1); });
  }
}

}  // namespace velmora
