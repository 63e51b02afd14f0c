#include "ui/PrintWiring.h"

#include "output/PrintMapPane.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWaves.h"
#include "ui/TMainF.h"
#include "ui/TPrintForm.h"
#include "ui/WindowSet.h"

namespace velmora {

void PrintWiring::Wire(TMainF& w) {
  w.Menu().Connect("Print1", [&w] { Form(w).Print1Click(); });
  w.Menu().Connect("Printersetup1", [&w] { Form(w).Printersetup1Click(); });
}

TPrintForm& PrintWiring::Form(TMainF& w) {
  QWidget* shell = w.Windows().Find("TPrintForm");
  if (auto* form = shell->findChild<TPrintForm*>(QString(), Qt::FindDirectChildrenOnly)) return *form;
  auto sources = [&w] {
    PrintSources sources;
    sources.TitleBarA = w.PaneA()->Caption().toStdString();
    sources.TitleBarB = w.PaneB()->Caption().toStdString();
    sources.MapHooks = PrintMapPane::StandardHooks();
    sources.Waves = &w.Waves().Waves();
    return sources;
  };
  auto* form = new TPrintForm(shell, w.State(), w.ActiveUi(), sources);
  QObject::connect(form, &TPrintForm::closed, &w, [&w] { w.UpdateDisplay(); });
  return *form;
}

}  // namespace velmora
