#include "ui/RememberedState.h"

#include <fmt/format.h>

#include <QAction>
#include <QSize>

#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "ui/MainMenu.h"
#include "ui/QtUi.h"
#include "ui/TMainF.h"
#include "ui/WindowPlacement.h"
#include "ui/WorkbenchSettings.h"

namespace velmora {

namespace {

constexpr int kMapPane = 0, kElectrogramPane = 1, kWaveMapPane = 2;
constexpr int kLastMapKind = kFrequencyMapKind;

// The least of a window worth restoring: room for the menu, a pane and its title bar.
constexpr QSize kSmallestWindow(480, 320);

// Only the kinds a pane can show at start come back; an animation starts from its command.
int PaneKind(int kind) { return kind == kMapPane || kind == kWaveMapPane ? kind : kElectrogramPane; }
int MapKind(int kind) { return kind >= 0 && kind <= kLastMapKind ? kind : 0; }

}  // namespace

bool RememberedState::Restore(TMainF& window) {
  if (auto* dialogs = dynamic_cast<QtUi*>(&window.ActiveUi())) dialogs->RememberDialogsIn(&window.Root());
  RestoreDefaults(window);
  RestorePanes(window);
  const std::optional<WorkbenchSettings::Window> left = WorkbenchSettings(window.Root()).LoadWindow();
  if (!left || left->geometry.isEmpty() || !window.restoreGeometry(left->geometry)) return false;
  // A window left (or written) too small to work in starts at the screen's size instead.
  return window.width() >= kSmallestWindow.width() && window.height() >= kSmallestWindow.height();
}

// Saved defaults the computations cannot take are refused whole, naming the file and the
// field; the run goes on from the described ones.
void RememberedState::RestoreDefaults(TMainF& window) {
  const WorkbenchSettings settings(window.Root());
  const std::optional<PreferenceTexts> defaults = settings.LoadDefaults();
  if (!defaults) return;
  if (const std::optional<PreferenceProblem> problem = PreferenceForm::Store(window.State(), *defaults)) {
    window.ActiveUi().Error(fmt::format("{}: the saved default \"{}\" {}; the described defaults are used.",
                                        settings.Path(), problem->field->label, problem->reason));
  }
}

void RememberedState::RestorePanes(TMainF& window) {
  const std::optional<WorkbenchSettings::Window> left = WorkbenchSettings(window.Root()).LoadWindow();
  if (!left) return;
  AnalysisState& s = window.State();
  s.MapKindA = uint8_t(MapKind(left->mapKindA));
  s.MapKindB = uint8_t(MapKind(left->mapKindB));
  s.PaneKindA = uint8_t(PaneKind(left->paneKindA));
  s.PaneKindB = uint8_t(PaneKind(left->paneKindB));
  window.Menu().Action(left->tileStacked ? "rectangle1" : "square1")->trigger();
  if (left->twoPanes != s.TwoPanes) window.SetPanelTile();
  window.UpdateDisplay();
}

void RememberedState::Save(TMainF& window) {
  const AnalysisState& s = window.State();
  WorkbenchSettings::Window left;
  left.geometry = window.saveGeometry();
  left.twoPanes = s.TwoPanes;
  left.tileStacked = s.TileStacked;
  left.paneKindA = s.PaneKindA;
  left.paneKindB = s.PaneKindB;
  left.mapKindA = s.MapKindA;
  left.mapKindB = s.MapKindB;
  WorkbenchSettings(window.Root()).SaveWindow(left);
  window.Placement().SaveAll();
}

}  // namespace velmora
