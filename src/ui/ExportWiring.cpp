#include "ui/ExportWiring.h"

#include "core/Errors.h"
#include "core/Ui.h"
#include "output/RealBasicExport.h"
#include "ui/AnimationExport.h"
#include "ui/MainMenu.h"
#include "ui/PaneAnimation.h"
#include "ui/TMacForm.h"
#include "ui/TMainF.h"

namespace velmora {

void ExportWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("SavetoMac1", [&w] { TMacForm::Of(w).SavetoMac1Click(); });
  m.Connect("SavetoRealBasic1", [&w] {
    try {
      RealBasicExport::SaveMarksToRealBasic(w.State(), w.ActiveUi());
    } catch (const IoError& error) {
      w.ActiveUi().Error(error.what());
    }
    w.UpdateDisplay();
  });
  m.Connect("Animation1", [&w] { w.Animation().Show(1); });
  m.Connect("Animation2", [&w] { w.Animation().Show(2); });
  m.Connect("ExportAnimation1", [&w] { AnimationExport::ExportAnimation1Click(w.State(), w.ActiveUi(), &w); });
}

}  // namespace velmora
