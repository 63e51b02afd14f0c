#include "ui/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QtGlobal>
#include <iterator>

#include "core/Limits.h"

namespace velmora {

struct MenuRow {
  enum class Kind {
    Menu,     // a menu on the bar; the rows up to the next Menu row belong to it
    Submenu,  // a submenu of the current menu; its items follow up to EndSubmenu
    EndSubmenu,
    Item,         // an item of the current (sub)menu
    BarItem,      // an item directly on the bar
    RecentFiles,  // a separator and the recent-file items
  };
  enum Flag : unsigned {
    kNone = 0,
    kCheckable = 1,
    kChecked = 2,
  };

  Kind kind;
  const char* name;
  const char* caption;
  const char* key = "";
  unsigned flags = kNone;
};

namespace {

using enum MenuRow::Kind;
using enum MenuRow::Flag;

// The whole bar in the order the user sees it. Captions are kept exactly as the users know
// them, odd blanks included ("- zoom        " lines up with "+ zoom             Z").
const MenuRow kRows[] = {
    {Menu, "File1", "File"},
    {Item, "OpenFile1", "Open File", "Ctrl+O"},
    {Item, "SaveMarks1", "Save Marks+Connections", "Ctrl+S"},
    {Submenu, "Import1", "Import"},
    {Item, "ReadConnections1", "Connections"},
    {Item, "ReadEleTextFile1", "Electrogram file"},
    {Item, "Readmarksfromtxt1", "Marks from .txt file"},
    {EndSubmenu, "", ""},
    {Submenu, "Export1", "Export"},
    {Item, "SavetoMac1", "to Mac"},
    {Item, "SavetoRealBasic1", "to RealBasic"},
    {Item, "SaveEletotxt1", "Electrogram to .txt"},
    {Item, "SaveMarkstotxt1", "Marks to .txt"},
    {Item, "savemarkstoanimation1", "Marks to Animation"},
    {Item, "savesingleelemarks1", "Single Electrogram Marks"},
    {Item, "savedatainmatrixtextfile1", "Data in Matrix Text File"},
    {Item, "saveallmarksinoneele1", "All Marks in One Electrogram"},
    {Item, "SaveTolvarFile1", "Tolvarn File"},
    {Item, "ExportAnimation1", "Export animation ..."},
    {EndSubmenu, "", ""},
    {Item, "Print1", "Print", "Ctrl+P"},
    {Item, "Printersetup1", "Print dialog ..."},
    {Item, "Report1", "Report ..."},
    {Item, "SavePicture1", "Save picture ..."},
    {Item, "CopyPicture1", "Copy picture", "Ctrl+Shift+C"},
    {Item, "Quit1", "Quit", "Ctrl+Q"},
    {RecentFiles, "", ""},

    {Menu, "Edit1", "Edit"},
    {Item, "UndoMarkEdit1", "Undo", "Ctrl+Z"},
    {Item, "RedoMarkEdit1", "Redo", "Ctrl+Shift+Z"},

    {Menu, "General1", "General"},
    {Item, "UpdateDisplays1", "Update Displays", "Ctrl+U"},
    {Item, "UnhideMarks1", "Unhide Marks", "Ctrl+Y"},
    {Item, "PanelTileMenu", "Tile on", "Ctrl+T"},
    {Submenu, "Tiletype1", "Tile type"},
    {Item, "rectangle1", "rectangle", "", kCheckable | kChecked},
    {Item, "square1", "square", "", kCheckable},
    {EndSubmenu, "", ""},
    {Item, "BeginTime3", "Begin Time", "Ctrl+B"},
    {Item, "Window3", "Window", "Ctrl+W"},
    {Item, "ReferenceTable1", "Reference Table", "Ctrl+R"},
    {Item, "next1", "Next", "Ctrl+N"},
    {Item, "Previous1", "Previous", "Ctrl+M"},
    {Item, "StepIncrement1", "Step Increment", "Ctrl+E"},
    {Item, "FileInfo1", "File Info"},
    {Item, "Preferences1", "Preferences ..."},
    {Item, "SamplingFrequency1", "Sampling Frequency (1000 Hz)"},
    {Item, "ChangeMatrixfile1", "Change Matrix file"},
    {Item, "ChangeNewmatrixfile1", "Change New matrix file"},
    {Item, "showMiniGrid1", "show Mini Window"},
    {Item, "ShowMemoWindow1", "Show Memo Window"},
    {Item, "smoothingonlyNIfiles1", "smoothing (only NI files!)"},
    // No F1..F3 here: those keys open the first recent files, and a key does one thing.
    {Item, "SlowWave1", "Slow Wave", "", kCheckable},
    {Item, "Spike1", "Spike", "", kCheckable},
    {Item, "TypeMark31", "Type Mark 3", "", kCheckable},
    {Item, "showmarkstatistics1", "show mark statistics"},
    {Item, "showDatapad1", "show Datapad"},
    {Item, "CalculateAmplitudesSlopes1", "Calc Amplitudes + Slopes"},
    {Item, "ElgWavesettings1", "Elg Wave settings"},

    {Menu, "DisplayA1", "Display A"},
    {Item, "TimeMap1", "Time Map", "", kCheckable},
    {Item, "IntervalMap1", "Interval Map", "", kCheckable},
    {Item, "Matrix1", "Electrode Map", "", kCheckable},
    {Item, "CountMap1", "Count Map", "", kCheckable},
    {Item, "Amplitude1", "Amplitude", "", kCheckable},
    {Item, "Slope1", "Slope", "", kCheckable},
    {Item, "Quality1", "Electrode Quality", "", kCheckable},
    {Item, "Velocities1", "Velocities"},
    {Item, "Frequency1", "Frequency", "", kCheckable},
    {Item, "Electrograms2", "Electrograms"},
    {Item, "Analyse1", "Analyse", "", kCheckable},
    {Item, "ElgWaveforms1", "Elg Waveforms"},
    {Item, "Animation1", "Animation"},
    {Item, "BeginTime1", "Begin Time"},
    {Item, "Window1", "Window"},
    {Item, "markTypea1", "Slow Wave", "", kCheckable},
    {Item, "MarkTypea2", "Spike", "", kCheckable},
    {Item, "MarkTypea3", "Mark Type 3", "", kCheckable},

    {Menu, "DisplayB1", "Display B"},
    {Item, "TimeMap2", "Time Map", "", kCheckable},
    {Item, "IntervalMap2", "Interval Map", "", kCheckable},
    {Item, "Matrix2", "Electrode Map", "", kCheckable},
    {Item, "CountMap2", "Count Map", "", kCheckable},
    {Item, "Amplitude2", "Amplitude", "", kCheckable},
    {Item, "Slope2", "Slope", "", kCheckable},
    {Item, "Frequency2", "Frequency", "", kCheckable},
    {Item, "Quality2", "Electrode Quality", "", kCheckable},
    {Item, "Electrograms3", "Electrograms"},
    {Item, "Animation2", "Animation"},
    {Item, "BeginTime2", "Begin Time"},
    {Item, "Window2", "Window"},
    {Item, "MarkTypeb1", "Slow wave", "", kCheckable},
    {Item, "MarkTypeb2", "Spike", "", kCheckable},
    {Item, "MarkTypeb3", "Mark Type 3", "", kCheckable},

    {Menu, "Map1", "Map"},
    {Item, "showGrid1", "hide Grid"},
    {Item, "ShowMapColor1", "hide colors"},
    {Item, "ShowMapDigit1", "hide digits"},
    {Item, "Isochrones1", "change Isochrones", "Ctrl+I"},
    {Item, "PlotIsochrones1", "plot Isochrones"},
    {Item, "PlotVelocities1", "plot Arrows"},
    {Item, "ReferenceTime1", "Reference Time"},
    {Item, "ShowMapStatistics1", "Show Map Statistics"},
    {Item, "ShowMiniMap1", "Show MiniMap", "", kCheckable},
    {Item, "ExpandMap1", "Expand Map", "", kCheckable},
    {Item, "removeExpand1", "remove Expand"},
    {Item, "showSWsspikes1", "show SW's + spikes", "", kCheckable},
    {Item, "ShowMapLegend1", "hide Legend"},

    {Menu, "Electrograms1", "Electrograms"},
    {Item, "UndoDeletedMarks1", "Undo Deleted Marks ", "Ctrl+V"},
    {Item, "amplification1", "amplification", "Ctrl+A"},
    {Item, "numberTraces1", "number Channels", "Ctrl+C"},
    {Item, "GoToChannel1", "goto Channel", "Ctrl+G"},
    {Item, "ShowElgMarks1", "hide marks"},
    {Item, "ShowElgTimes1", "hide times"},
    {Item, "ShowElgIntervals1", "show  SW intervals"},
    {Item, "showSpikeintervals1", "show Spike intervals"},
    {Item, "showbackgrdcolor1", "hide background color"},
    {Item, "AverageOffsetOn1", "Average Offset Off"},
    {Item, "Zoom1", "+ zoom             Z"},
    // Ctrl+Z undoes, as in every editor; widening takes the key programs widen a view with.
    {Item, "Zoom2", "- zoom        ", "Ctrl+-"},
    {Item, "ShowAmplitudes1", "show amplitude + slope", "", kCheckable},
    {Item, "AnalyseElg1", "Analyse Elg"},
    {Item, "Interpolate1", "Interpolate"},
    {Item, "SpikeStats1", "Spike Stats", "F10"},
    {Item, "AutomaticSWmarking1", "Automatic SW marking"},
    {Item, "CheckPlotOnlyDots", "plot only dots", "", kCheckable},

    {Menu, "Connections1", "Connections"},
    {Item, "ShowElgconnections1", "hide connections"},
    {Item, "MakeConnections1", "Make Connections"},

    {Menu, "Waves1", "Waves"},
    {Item, "gotowavenr1", "goto wave nr ..."},
    {Item, "gotonextwave1", "goto next wave", "Ctrl+F12"},
    {Item, "gotopreviouswave1", "goto previous wave", "Ctrl+F11"},
    {Item, "showstatistics1", "show statistics", "", kCheckable},
    {Item, "changeWaveDifference1", "change Wave Difference", "Ctrl+D"},
    {Item, "CalculateWaves1", "Calculate Waves"},
    {Item, "compositewavemap1", "composite wave map"},
    {Item, "Plotlocaltimes1", "Plot local times", "", kCheckable},
    {Item, "automaticpositioning1", "automatic positioning", "", kCheckable},
    {Item, "WaveTable1", "Wave Table"},
    {Item, "WavePlots1", "Wave Plots"},
    {Item, "Spectrum1", "Spectrum ..."},

    {Menu, "Help1", "Help"},
    {Item, "frequentcommands1", "frequent commands", "Ctrl+H"},

    {BarItem, "About1", "About"},
};

// Only the first five recent files get a key; F6 and up are left to the rest of the program.
constexpr int kRecentFilesWithKey = 5;

}  // namespace

MainMenu::MainMenu(QMenuBar* bar, QObject* parent) : QObject(parent) { Build(bar); }

void MainMenu::Build(QMenuBar* bar) {
  QMenu* current = nullptr;
  QMenu* outer = nullptr;
  for (const MenuRow& row : kRows) {
    switch (row.kind) {
      case MenuRow::Kind::Menu:
        current = AddMenu(bar, nullptr, row);
        outer = current;
        break;
      case MenuRow::Kind::Submenu:
        current = AddMenu(bar, outer, row);
        break;
      case MenuRow::Kind::EndSubmenu:
        current = outer;
        break;
      case MenuRow::Kind::Item:
        AddItem(current, row);
        break;
      case MenuRow::Kind::BarItem:
        AddItem(bar, row);
        break;
      case MenuRow::Kind::RecentFiles:
        AddRecentFiles(current);
        break;
    }
  }
  // Pane B's menu only makes sense while pane B is shown; the window enables it with tiling.
  menus_.value("DisplayB1")->menuAction()->setEnabled(false);
}

QMenu* MainMenu::AddMenu(QMenuBar* bar, QMenu* parentMenu, const MenuRow& row) {
  QMenu* menu =
      parentMenu != nullptr ? parentMenu->addMenu(row.caption) : bar->addMenu(row.caption);
  menu->setObjectName(row.name);
  menus_.insert(row.name, menu);
  return menu;
}

QAction* MainMenu::AddItem(QWidget* owner, const MenuRow& row) {
  auto* action = new QAction(row.caption, this);
  action->setObjectName(row.name);
  action->setShortcut(QKeySequence(QString::fromLatin1(row.key), QKeySequence::PortableText));
  action->setCheckable((row.flags & MenuRow::kCheckable) != 0);
  action->setChecked((row.flags & MenuRow::kChecked) != 0);
  return Register(owner, action);
}

QAction* MainMenu::Register(QWidget* owner, QAction* action) {
  // The window owns the bar, so the keys work wherever the focus is inside it.
  action->setShortcutContext(Qt::WindowShortcut);
  action->setEnabled(false);
  owner->addAction(action);
  actions_.insert(action->objectName(), action);
  names_.append(action->objectName());
  return action;
}

void MainMenu::AddRecentFiles(QMenu* file) {
  file->addSeparator();
  for (int n = 1; n <= kRecentFiles; ++n) {
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("ShowPrevFile%1").arg(n));
    if (n <= kRecentFilesWithKey) action->setShortcut(QKeySequence(QStringLiteral("F%1").arg(n)));
    action->setVisible(false);
    recent_.append(Register(file, action));
  }
}

QAction* MainMenu::Action(const QString& objectName) const { return actions_.value(objectName); }

QMenu* MainMenu::Menu(const QString& objectName) const { return menus_.value(objectName); }

QList<QAction*> MainMenu::RecentFileActions() const { return recent_; }

QStringList MainMenu::ActionNames() const { return names_; }

void MainMenu::Connect(const QString& objectName, std::function<void()> handler) {
  QAction* action = Action(objectName);
  if (action == nullptr) {
    qWarning("MainMenu::Connect: no menu item named %s", qPrintable(objectName));
    return;
  }
  // One handler per item: wiring an item again must not run the old command as well.
  disconnect(action, &QAction::triggered, this, nullptr);
  connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
  action->setEnabled(true);
}

void MainMenu::SetRecentFiles(const QStringList& paths) {
  for (int i = 0; i < recent_.size(); ++i) {
    const QString path = i < paths.size() ? paths[i] : QString();
    // A single "&" in a path would otherwise be taken as a mnemonic marker and vanish.
    recent_[i]->setText(QString(path).replace('&', QStringLiteral("&&")));
    recent_[i]->setVisible(!path.isEmpty());
  }
}

QString MainMenu::Caption(const QAction* action) {
  QString text = action->text();
  const qsizetype tab = text.indexOf('\t');
  if (tab >= 0) text.truncate(tab);
  return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

}  // namespace velmora
