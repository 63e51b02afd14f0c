#include "ui/PreferencesWiring.h"

#include "ui/MainMenu.h"
#include "ui/TMainF.h"
#include "ui/TPrefF.h"

namespace velmora {

void PreferencesWiring::Wire(TMainF& w) {
  TPrefF* window = w.findChild<TPrefF*>();
  if (window == nullptr) {
    window = new TPrefF(w.State(), [&w]() -> Ui& { return w.ActiveUi(); }, &w);
    window->SetDefaultsRoot(&w.Root());
    QObject::connect(window, &TPrefF::closed, &w, [&w] { w.UpdateDisplay(); });
  }
  w.Menu().Connect("Preferences1", [window] { window->ShowAndFill(); });
}

}  // namespace velmora
