#include "ui/PreferencesWiring.h"

#include <memory>

#include "commands/RecordingCommands.h"
#include "conditioning/FilterChain.h"
#include "ui/MainMenu.h"
#include "ui/TMainF.h"
#include "ui/TPrefF.h"

namespace velmora {

void PreferencesWiring::Wire(TMainF& w) {
  TPrefF* window = w.findChild<TPrefF*>();
  if (window == nullptr) {
    window = new TPrefF(w.State(), [&w]() -> Ui& { return w.ActiveUi(); }, &w);
    window->SetDefaultsRoot(&w.Root());
    // A changed filter chain is run over the recording's samples read again from its file.
    auto chainShown = std::make_shared<FilterChain>();
    QObject::connect(window, &TPrefF::shown, &w, [&w, chainShown] { *chainShown = FilterChain::FromState(w.State()); });
    QObject::connect(window, &TPrefF::closed, &w, [&w, chainShown] {
      if (FilterChain::FromState(w.State()) != *chainShown) w.Recordings().ReapplyFilters(*chainShown);
      w.UpdateDisplay();
    });
  }
  w.Menu().Connect("Preferences1", [window] { window->ShowAndFill(); });
}

}  // namespace velmora
