#include "ui/MarkUndoWiring.h"

#include <QAction>
#include <QString>

#include "commands/RecordingCommands.h"
#include "ui/MainMenu.h"
#include "ui/ReferenceTableWindow.h"
#include "ui/TMainF.h"

namespace velmora {

namespace {

QString ItemText(const char* verb, const std::string& step) {
  QString text = QString::fromLatin1(verb);
  if (!step.empty()) text += ' ' + QString::fromStdString(step).replace('&', QStringLiteral("&&"));
  return text;
}

}  // namespace

void MarkUndoWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("UndoMarkEdit1", [&w] {
    if (w.Recordings().UndoMarkEdit()) w.UpdateDisplay();
    UpdateItems(w);
  });
  m.Connect("RedoMarkEdit1", [&w] {
    if (w.Recordings().RedoMarkEdit()) w.UpdateDisplay();
    UpdateItems(w);
  });
  UpdateItems(w);
}

void MarkUndoWiring::WireWindows(TMainF& w) {
  QObject::connect(&w.References(), &ReferenceTableWindow::marksEdited, &w,
                   [&w](const char* name) { CommandEnded(w, name); });
}

void MarkUndoWiring::CommandEnded(TMainF& w, std::string_view name) {
  w.Recordings().RecordMarkEdits(name);
  UpdateItems(w);
}

void MarkUndoWiring::UpdateItems(TMainF& w) {
  const MarkHistory& history = w.Recordings().History();
  QAction* undo = w.Menu().Action("UndoMarkEdit1");
  QAction* redo = w.Menu().Action("RedoMarkEdit1");
  undo->setText(ItemText("Undo", history.UndoName()));
  undo->setEnabled(history.CanUndo());
  redo->setText(ItemText("Redo", history.RedoName()));
  redo->setEnabled(history.CanRedo());
}

}  // namespace velmora
