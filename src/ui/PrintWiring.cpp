#include "ui/PrintWiring.h"

#include "commands/PaneCaptions.h"
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
  auto* form = new TPrintForm(shell, w.State(), w.ActiveUi(), [&w] { return Sources(w); });
  QObject::connect(form, &TPrintForm::closed, &w, [&w] { w.UpdateDisplay(); });
  return *form;
}

PrintSources PrintWiring::Sources(TMainF& w) {
  // The panes' captions without the pointer's read-out; the animation's as its bar shows it.
  auto caption = [&w](int pane) {
    const std::string printed = PaneCaptions::PrintedCaption(w.State(), pane);
    if (!printed.empty()) return printed;
    return (pane == 2 ? w.PaneB() : w.PaneA())->Caption().toStdString();
  };
  PrintSources sources;
  sources.TitleBarA = caption(1);
  sources.TitleBarB = caption(2);
  sources.MapHooks = PrintMapPane::StandardHooks();
  sources.Waves = &w.Waves().Waves();
  return sources;
}

}  // namespace velmora
