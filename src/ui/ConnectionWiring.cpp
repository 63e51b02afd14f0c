#include "ui/ConnectionWiring.h"

#include <memory>

#include "core/AnalysisState.h"
#include "maps/ConnectionFile.h"
#include "maps/ConnectionMaking.h"
#include "ui/MainMenu.h"
#include "ui/TMainF.h"

namespace velmora {

void ConnectionWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("MakeConnections1", [&w, maker = std::make_shared<ConnectionMaking>()] {
    if (!w.State().FileLoaded) return;
    // The connections follow the traces of pane A, laid out as it shows them.
    w.PrepareElectrogramLayout(1);
    maker->MakeConnections(w.State());
    w.UpdateDisplay();
  });
  m.Connect("ReadConnections1", [&w] {
    if (ConnectionFile::ReadConnections(w.State(), w.ActiveUi())) w.UpdateDisplay();
  });
}

}  // namespace velmora
