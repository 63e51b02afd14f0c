#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStyleOptionMenuItem>
#include <QtTest>
#include <vector>

#include "ui/MainMenu.h"

using velmora::MainMenu;

namespace {

// One item as the user must find it: where it is, the name the window wires it by, what it
// reads, the key that runs it and the key only shown beside it.
struct Expected {
  QString path;
  QString name;
  QString caption;
  QString key;
  QString hint;
};

// The menu as the users' documentation lists it, written out here on its own so that a slip
// in the menu's own table shows up as a difference.
std::vector<Expected> ExpectedItems() {
  std::vector<Expected> items = {
      {"File", "OpenFile1", "Open File", "Ctrl+O", ""},
      {"File", "SaveMarks1", "Save Marks+Connections", "Ctrl+S", ""},
      {"File/Import", "ReadConnections1", "Connections", "", ""},
      {"File/Import", "ReadEleTextFile1", "Electrogram file", "", ""},
      {"File/Import", "Readmarksfromtxt1", "Marks from .txt file", "", ""},
      {"File/Export", "SavetoMac1", "to Mac", "", ""},
      {"File/Export", "SavetoRealBasic1", "to RealBasic", "", ""},
      {"File/Export", "SaveEletotxt1", "Electrogram to .txt", "", ""},
      {"File/Export", "SaveMarkstotxt1", "Marks to .txt", "", ""},
      {"File/Export", "savemarkstoanimation1", "Marks to Animation", "", ""},
      {"File/Export", "savesingleelemarks1", "Single Electrogram Marks", "", ""},
      {"File/Export", "savedatainmatrixtextfile1", "Data in Matrix Text File", "", ""},
      {"File/Export", "saveallmarksinoneele1", "All Marks in One Electrogram", "", ""},
      {"File/Export", "SaveTolvarFile1", "Tolvarn File", "", ""},
      {"File/Export", "ExportAnimation1", "Export animation ...", "", ""},
      {"File", "Print1", "Print", "Ctrl+P", ""},
      {"File", "Printersetup1", "Print dialog ...", "", ""},
      {"File", "Report1", "Report ...", "", ""},
      {"File", "SavePicture1", "Save picture ...", "", ""},
      {"File", "CopyPicture1", "Copy picture", "Ctrl+Shift+C", ""},
      {"File", "Quit1", "Quit", "Ctrl+Q", ""},
  };
  for (int n = 1; n <= 10; ++n) {
    items.push_back(
        {"File", QString("ShowPrevFile%1").arg(n), "", n <= 5 ? QString("F%1").arg(n) : "", ""});
  }
  const std::vector<Expected> rest = {
      {"Edit", "UndoMarkEdit1", "Undo", "Ctrl+Z", ""},
      {"Edit", "RedoMarkEdit1", "Redo", "Ctrl+Shift+Z", ""},
      {"General", "UpdateDisplays1", "Update Displays", "Ctrl+U", ""},
      {"General", "UnhideMarks1", "Unhide Marks", "Ctrl+Y", ""},
      {"General", "PanelTileMenu", "Tile on", "Ctrl+T", ""},
      {"General/Tile type", "rectangle1", "rectangle", "", ""},
      {"General/Tile type", "square1", "square", "", ""},
      {"General", "BeginTime3", "Begin Time", "Ctrl+B", ""},
      {"General", "Window3", "Window", "Ctrl+W", ""},
      {"General", "ReferenceTable1", "Reference Table", "Ctrl+R", ""},
      {"General", "next1", "Next", "Ctrl+N", ""},
      {"General", "Previous1", "Previous", "Ctrl+M", ""},
      {"General", "StepIncrement1", "Step Increment", "Ctrl+E", ""},
      {"General", "FileInfo1", "File Info", "", ""},
      {"General", "Preferences1", "Preferences ...", "", ""},
      {"General", "SamplingFrequency1", "Sampling Frequency (1000 Hz)", "", ""},
      {"General", "ChangeMatrixfile1", "Change Matrix file", "", ""},
      {"General", "ChangeNewmatrixfile1", "Change New matrix file", "", ""},
      {"General", "showMiniGrid1", "show Mini Window", "", ""},
      {"General", "ShowMemoWindow1", "Show Memo Window", "", ""},
      {"General", "smoothingonlyNIfiles1", "smoothing (only NI files!)", "", ""},
      {"General", "SlowWave1", "Slow Wave", "", ""},
      {"General", "Spike1", "Spike", "", ""},
      {"General", "TypeMark31", "Type Mark 3", "", ""},
      {"General", "showmarkstatistics1", "show mark statistics", "", ""},
      {"General", "showDatapad1", "show Datapad", "", ""},
      {"General", "CalculateAmplitudesSlopes1", "Calc Amplitudes + Slopes", "", ""},
      {"General", "ElgWavesettings1", "Elg Wave settings", "", ""},
      {"Display A", "TimeMap1", "Time Map", "", ""},
      {"Display A", "IntervalMap1", "Interval Map", "", ""},
      {"Display A", "Matrix1", "Electrode Map", "", ""},
      {"Display A", "CountMap1", "Count Map", "", ""},
      {"Display A", "Amplitude1", "Amplitude", "", ""},
      {"Display A", "Slope1", "Slope", "", ""},
      {"Display A", "Quality1", "Electrode Quality", "", ""},
      {"Display A", "Velocities1", "Velocities", "", ""},
      {"Display A", "Frequency1", "Frequency", "", ""},
      {"Display A", "Electrograms2", "Electrograms", "", ""},
      {"Display A", "Analyse1", "Analyse", "", ""},
      {"Display A", "ElgWaveforms1", "Elg Waveforms", "", ""},
      {"Display A", "Animation1", "Animation", "", ""},
      {"Display A", "BeginTime1", "Begin Time", "", ""},
      {"Display A", "Window1", "Window", "", ""},
      {"Display A", "markTypea1", "Slow Wave", "", ""},
      {"Display A", "MarkTypea2", "Spike", "", ""},
      {"Display A", "MarkTypea3", "Mark Type 3", "", ""},
      {"Display B", "TimeMap2", "Time Map", "", ""},
      {"Display B", "IntervalMap2", "Interval Map", "", ""},
      {"Display B", "Matrix2", "Electrode Map", "", ""},
      {"Display B", "CountMap2", "Count Map", "", ""},
      {"Display B", "Amplitude2", "Amplitude", "", ""},
      {"Display B", "Slope2", "Slope", "", ""},
      {"Display B", "Frequency2", "Frequency", "", ""},
      {"Display B", "Quality2", "Electrode Quality", "", ""},
      {"Display B", "Electrograms3", "Electrograms", "", ""},
      {"Display B", "Animation2", "Animation", "", ""},
      {"Display B", "BeginTime2", "Begin Time", "", ""},
      {"Display B", "Window2", "Window", "", ""},
      {"Display B", "MarkTypeb1", "Slow wave", "", ""},
      {"Display B", "MarkTypeb2", "Spike", "", ""},
      {"Display B", "MarkTypeb3", "Mark Type 3", "", ""},
      {"Map", "showGrid1", "hide Grid", "", ""},
      {"Map", "ShowMapColor1", "hide colors", "", ""},
      {"Map", "ShowMapDigit1", "hide digits", "", ""},
      {"Map", "Isochrones1", "change Isochrones", "Ctrl+I", ""},
      {"Map", "PlotIsochrones1", "plot Isochrones", "", ""},
      {"Map", "PlotVelocities1", "plot Arrows", "", ""},
      {"Map", "ReferenceTime1", "Reference Time", "", ""},
      {"Map", "ShowMapStatistics1", "Show Map Statistics", "", ""},
      {"Map", "ShowMiniMap1", "Show MiniMap", "", ""},
      {"Map", "ExpandMap1", "Expand Map", "", ""},
      {"Map", "removeExpand1", "remove Expand", "", ""},
      {"Map", "showSWsspikes1", "show SW's + spikes", "", ""},
      {"Map", "ShowMapLegend1", "hide Legend", "", ""},
      {"Electrograms", "UndoDeletedMarks1", "Undo Deleted Marks ", "Ctrl+V", ""},
      {"Electrograms", "amplification1", "amplification", "Ctrl+A", ""},
      {"Electrograms", "numberTraces1", "number Channels", "Ctrl+C", ""},
      {"Electrograms", "GoToChannel1", "goto Channel", "Ctrl+G", ""},
      {"Electrograms", "ShowElgMarks1", "hide marks", "", ""},
      {"Electrograms", "ShowElgTimes1", "hide times", "", ""},
      {"Electrograms", "ShowElgIntervals1", "show  SW intervals", "", ""},
      {"Electrograms", "showSpikeintervals1", "show Spike intervals", "", ""},
      {"Electrograms", "showbackgrdcolor1", "hide background color", "", ""},
      {"Electrograms", "AverageOffsetOn1", "Average Offset Off", "", ""},
      {"Electrograms", "Zoom1", "+ zoom             Z", "", ""},
      {"Electrograms", "Zoom2", "- zoom        ", "Ctrl+-", ""},
      {"Electrograms", "ShowAmplitudes1", "show amplitude + slope", "", ""},
      {"Electrograms", "AnalyseElg1", "Analyse Elg", "", ""},
      {"Electrograms", "Interpolate1", "Interpolate", "", ""},
      {"Electrograms", "SpikeStats1", "Spike Stats", "F10", ""},
      {"Electrograms", "AutomaticSWmarking1", "Automatic SW marking", "", ""},
      {"Electrograms", "CheckPlotOnlyDots", "plot only dots", "", ""},
      {"Connections", "ShowElgconnections1", "hide connections", "", ""},
      {"Connections", "MakeConnections1", "Make Connections", "", ""},
      {"Waves", "gotowavenr1", "goto wave nr ...", "", ""},
      {"Waves", "gotonextwave1", "goto next wave", "Ctrl+F12", ""},
      {"Waves", "gotopreviouswave1", "goto previous wave", "Ctrl+F11", ""},
      {"Waves", "showstatistics1", "show statistics", "", ""},
      {"Waves", "changeWaveDifference1", "change Wave Difference", "Ctrl+D", ""},
      {"Waves", "CalculateWaves1", "Calculate Waves", "", ""},
      {"Waves", "compositewavemap1", "composite wave map", "", ""},
      {"Waves", "Plotlocaltimes1", "Plot local times", "", ""},
      {"Waves", "automaticpositioning1", "automatic positioning", "", ""},
      {"Waves", "WaveTable1", "Wave Table", "", ""},
      {"Waves", "WavePlots1", "Wave Plots", "", ""},
      {"Waves", "Spectrum1", "Spectrum ...", "", ""},
      {"Help", "frequentcommands1", "frequent commands", "Ctrl+H", ""},
      {"", "About1", "About", "", ""},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

const QStringList kCheckable = {"rectangle1",
                                "square1",
                                "SlowWave1",
                                "Spike1",
                                "TypeMark31",
                                "TimeMap1",
                                "IntervalMap1",
                                "Matrix1",
                                "CountMap1",
                                "Amplitude1",
                                "Slope1",
                                "Frequency1",
                                "Quality1",
                                "Analyse1",
                                "markTypea1",
                                "MarkTypea2",
                                "MarkTypea3",
                                "TimeMap2",
                                "IntervalMap2",
                                "Matrix2",
                                "CountMap2",
                                "Amplitude2",
                                "Slope2",
                                "Frequency2",
                                "Quality2",
                                "MarkTypeb1",
                                "MarkTypeb2",
                                "MarkTypeb3",
                                "ShowMiniMap1",
                                "ExpandMap1",
                                "showSWsspikes1",
                                "ShowAmplitudes1",
                                "CheckPlotOnlyDots",
                                "showstatistics1",
                                "Plotlocaltimes1",
                                "automaticpositioning1"};

QString HintOf(const QAction* action) {
  const qsizetype tab = action->text().indexOf('\t');
  return tab < 0 ? QString() : action->text().mid(tab + 1);
}

// Walks the bar as the user opens it, submenus where they hang, skipping separators.
void Collect(const QList<QAction*>& actions, const QString& path, std::vector<Expected>& out) {
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    if (action->menu() != nullptr) {
      const QString title = MainMenu::Caption(action);
      Collect(action->menu()->actions(), path.isEmpty() ? title : path + "/" + title, out);
      continue;
    }
    out.push_back({path, action->objectName(), MainMenu::Caption(action),
                   action->shortcut().toString(QKeySequence::PortableText), HintOf(action)});
  }
}

// A menu of the test's own, to ask Qt what it would draw for an item; the item itself can
// sit in any number of menus.
class ProbeMenu : public QMenu {
 public:
  QString DrawnText(QAction* action) {
    addAction(action);
    QStyleOptionMenuItem option;
    initStyleOption(&option, action);
    removeAction(action);
    return option.text;
  }
};

}  // namespace

class MainMenuTest : public QObject {
  Q_OBJECT

 private:
  QMainWindow* window_ = nullptr;
  MainMenu* menu_ = nullptr;

  QList<QAction*> AllItems() const {
    QList<QAction*> items;
    for (const QString& name : menu_->ActionNames()) items.append(menu_->Action(name));
    return items;
  }

 private slots:
  void init() {
    window_ = new QMainWindow;
    window_->setCentralWidget(new QWidget);
    menu_ = new MainMenu(window_->menuBar(), window_);
    window_->resize(640, 480);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  void cleanup() {
    delete window_;
    window_ = nullptr;
  }

  void barHoldsTheMenusInOrderAndAboutLast() {
    QStringList titles;
    for (QAction* action : window_->menuBar()->actions()) titles << MainMenu::Caption(action);
    QCOMPARE(titles, QStringList({"File", "Edit", "General", "Display A", "Display B", "Map",
                                  "Electrograms", "Connections", "Waves", "Help", "About"}));
    QAction* about = window_->menuBar()->actions().last();
    QCOMPARE(about, menu_->Action("About1"));
    QVERIFY(about->menu() == nullptr);
  }

  void menusAreFoundByName() {
    const QList<QPair<QString, QString>> menus = {{"File1", "File"},
                                                  {"General1", "General"},
                                                  {"DisplayA1", "Display A"},
                                                  {"DisplayB1", "Display B"},
                                                  {"Map1", "Map"},
                                                  {"Electrograms1", "Electrograms"},
                                                  {"Connections1", "Connections"},
                                                  {"Waves1", "Waves"},
                                                  {"Help1", "Help"},
                                                  {"Import1", "Import"},
                                                  {"Export1", "Export"},
                                                  {"Tiletype1", "Tile type"}};
    for (const auto& [name, title] : menus) {
      QMenu* menu = menu_->Menu(name);
      QVERIFY2(menu != nullptr, qPrintable(name));
      QCOMPARE(menu->title(), title);
      QCOMPARE(menu->objectName(), name);
    }
    QVERIFY(menu_->Menu("Nothing1") == nullptr);
    QVERIFY(menu_->Menu("OpenFile1") == nullptr);
  }

  void everyItemHasItsPlaceCaptionAndKey() {
    std::vector<Expected> found;
    Collect(window_->menuBar()->actions(), "", found);
    const std::vector<Expected> expected = ExpectedItems();
    for (size_t i = 0; i < qMin(found.size(), expected.size()); ++i) {
      const QString where = QString("item %1 (%2)").arg(i).arg(expected[i].name);
      QVERIFY2(found[i].path == expected[i].path, qPrintable(where + " path " + found[i].path));
      QVERIFY2(found[i].name == expected[i].name, qPrintable(where + " name " + found[i].name));
      QVERIFY2(found[i].caption == expected[i].caption,
               qPrintable(where + " caption '" + found[i].caption + "'"));
      QVERIFY2(found[i].key == expected[i].key, qPrintable(where + " key " + found[i].key));
      QVERIFY2(found[i].hint == expected[i].hint, qPrintable(where + " hint " + found[i].hint));
    }
    QCOMPARE(found.size(), expected.size());
  }

  void actionNamesFollowTheMenuOrder() {
    QStringList expected;
    for (const Expected& item : ExpectedItems()) expected << item.name;
    QCOMPARE(menu_->ActionNames(), expected);
    for (const QString& name : expected) {
      QAction* action = menu_->Action(name);
      QVERIFY2(action != nullptr, qPrintable(name));
      QCOMPARE(action->objectName(), name);
    }
    QVERIFY(menu_->Action("Nothing1") == nullptr);
    QVERIFY(menu_->Action("File1") == nullptr);
  }

  void everyItemStartsDisabledWithWindowKeys() {
    for (QAction* action : AllItems()) {
      QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
      QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
    }
  }

  void displayBStartsDisabledAndTheOtherMenusEnabled() {
    QVERIFY(!menu_->Menu("DisplayB1")->menuAction()->isEnabled());
    for (QAction* action : window_->menuBar()->actions()) {
      if (action->menu() != nullptr && action->menu()->objectName() != "DisplayB1") {
        QVERIFY2(action->isEnabled(), qPrintable(action->text()));
      }
    }
  }

  void checkMarksStartWithRectangleOnly() {
    for (QAction* action : AllItems()) {
      const QString name = action->objectName();
      QVERIFY2(action->isCheckable() == kCheckable.contains(name), qPrintable(name));
      QVERIFY2(action->isChecked() == (name == "rectangle1"), qPrintable(name));
    }
  }

  void checkMarksAreNotExclusive() {
    QAction* timeMap = menu_->Action("TimeMap1");
    QAction* countMap = menu_->Action("CountMap1");
    timeMap->setChecked(true);
    countMap->setChecked(true);
    QVERIFY(timeMap->isChecked());
    QVERIFY(countMap->isChecked());
    menu_->Action("square1")->setChecked(true);
    QVERIFY(menu_->Action("rectangle1")->isChecked());
  }

  void connectEnablesTheItemAndTriggeringRunsTheHandler() {
    int opened = 0;
    menu_->Connect("OpenFile1", [&opened] { ++opened; });
    QAction* open = menu_->Action("OpenFile1");
    QVERIFY(open->isEnabled());
    QVERIFY(!menu_->Action("SaveMarks1")->isEnabled());
    open->trigger();
    QCOMPARE(opened, 1);
  }

  void connectingAgainReplacesTheHandler() {
    int first = 0;
    int second = 0;
    menu_->Connect("Quit1", [&first] { ++first; });
    menu_->Connect("Quit1", [&second] { ++second; });
    menu_->Action("Quit1")->trigger();
    QCOMPARE(first, 0);
    QCOMPARE(second, 1);
  }

  void connectingAnUnknownNameWarnsAndEnablesNothing() {
    QTest::ignoreMessage(QtWarningMsg, "MainMenu::Connect: no menu item named Nothing1");
    menu_->Connect("Nothing1", [] {});
    for (QAction* action : AllItems()) QVERIFY(!action->isEnabled());
  }

  void connectEnablesItemsOfTheBarAndOfSubmenus() {
    int calls = 0;
    menu_->Connect("About1", [&calls] { ++calls; });
    menu_->Connect("SaveTolvarFile1", [&calls] { calls += 10; });
    menu_->Action("About1")->trigger();
    menu_->Action("SaveTolvarFile1")->trigger();
    QCOMPARE(calls, 11);
  }

  // Ctrl+Z undoes, as in every editor; "- zoom" widens with Ctrl+-, shown in the menu.
  void ctrlZUndoesAndCtrlShiftZRedoes() {
    QCOMPARE(menu_->Action("Zoom2")->shortcut(), QKeySequence("Ctrl+-"));
    QVERIFY(menu_->Action("Zoom1")->shortcut().isEmpty());
    int undo = 0;
    int redo = 0;
    int zoomOut = 0;
    menu_->Connect("UndoMarkEdit1", [&undo] { ++undo; });
    menu_->Connect("RedoMarkEdit1", [&redo] { ++redo; });
    menu_->Connect("Zoom2", [&zoomOut] { ++zoomOut; });
    QTest::keyClick(window_->centralWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window_->centralWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(undo, 1);
    QCOMPARE(redo, 1);
    QCOMPARE(zoomOut, 0);
    QTest::keyClick(window_->centralWidget(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(zoomOut, 1);
  }

  // F1..F3 run the recent-file items, so the mark-type items must not advertise them.
  void markTypeItemsShowNoFunctionKey() {
    ProbeMenu probe;
    const QStringList names = {"SlowWave1", "Spike1", "TypeMark31"};
    const QStringList captions = {"Slow Wave", "Spike", "Type Mark 3"};
    for (int i = 0; i < names.size(); ++i) {
      QAction* action = menu_->Action(names[i]);
      QVERIFY(action->shortcut().isEmpty());
      QCOMPARE(probe.DrawnText(action), captions[i]);
    }
    menu_->SetRecentFiles({"/data/a.E01"});
    QCOMPARE(probe.DrawnText(menu_->RecentFileActions().first()), QString("/data/a.E01\tF1"));
  }

  void functionKeysRunTheRecentFilesNotTheMarkTypes() {
    menu_->SetRecentFiles({"/data/a.E01", "/data/b.E01", "/data/c.E01"});
    QStringList ran;
    menu_->Connect("ShowPrevFile1", [&ran] { ran << "ShowPrevFile1"; });
    menu_->Connect("ShowPrevFile3", [&ran] { ran << "ShowPrevFile3"; });
    menu_->Connect("SlowWave1", [&ran] { ran << "SlowWave1"; });
    menu_->Connect("TypeMark31", [&ran] { ran << "TypeMark31"; });
    QTest::keyClick(window_->centralWidget(), Qt::Key_F1);
    QTest::keyClick(window_->centralWidget(), Qt::Key_F3);
    QCOMPARE(ran, QStringList({"ShowPrevFile1", "ShowPrevFile3"}));
  }

  void recentFileItemsAreHiddenWhileEmpty() {
    const QList<QAction*> recent = menu_->RecentFileActions();
    QCOMPARE(recent.size(), 10);
    for (int i = 0; i < recent.size(); ++i) {
      QCOMPARE(recent[i]->objectName(), QString("ShowPrevFile%1").arg(i + 1));
      QCOMPARE(recent[i], menu_->Action(recent[i]->objectName()));
      QVERIFY(recent[i]->text().isEmpty());
      QVERIFY(!recent[i]->isVisible());
      const QKeySequence key = i < 5 ? QKeySequence(QString("F%1").arg(i + 1)) : QKeySequence();
      QCOMPARE(recent[i]->shortcut(), key);
    }
  }

  void settingRecentFilesShowsOnlyTheFilledItems() {
    menu_->SetRecentFiles({"/data/one.E01", "", "/data/R&D/three.E01"});
    const QList<QAction*> recent = menu_->RecentFileActions();
    QCOMPARE(MainMenu::Caption(recent[0]), QString("/data/one.E01"));
    QVERIFY(recent[0]->isVisible());
    QVERIFY(!recent[1]->isVisible());
    QCOMPARE(MainMenu::Caption(recent[2]), QString("/data/R&D/three.E01"));
    QVERIFY(recent[2]->isVisible());
    for (int i = 3; i < recent.size(); ++i) QVERIFY(!recent[i]->isVisible());

    menu_->SetRecentFiles({"/data/two.E01"});
    QCOMPARE(MainMenu::Caption(recent[0]), QString("/data/two.E01"));
    QVERIFY(recent[0]->isVisible());
    QVERIFY(recent[2]->text().isEmpty());
    QVERIFY(!recent[2]->isVisible());
  }

  void captionDropsTheHintAndKeepsPlainTexts() {
    QAction plain("- zoom        ");
    QCOMPARE(MainMenu::Caption(&plain), QString("- zoom        "));
    QAction hinted("Spike\tF2");
    QCOMPARE(MainMenu::Caption(&hinted), QString("Spike"));
  }

  void noTwoItemsShareAKey() {
    // With every item wired and every recent file present, each key still names one item.
    for (const QString& name : menu_->ActionNames()) menu_->Connect(name, [] {});
    QStringList paths;
    for (int n = 1; n <= 10; ++n) paths << QString("/data/%1.E01").arg(n);
    menu_->SetRecentFiles(paths);
    QHash<QKeySequence, QString> owner;
    for (QAction* action : window_->findChildren<QAction*>()) {
      if (!action->isEnabled()) continue;
      for (const QKeySequence& key : action->shortcuts()) {
        if (key.isEmpty()) continue;
        QVERIFY2(!owner.contains(key), qPrintable(key.toString() + ": " + owner.value(key) +
                                                  " and " + action->objectName()));
        owner.insert(key, action->objectName());
      }
    }
    QCOMPARE(owner.size(), 32);  // with Copy picture, Undo, Redo and "- zoom"
  }
};

QTEST_MAIN(MainMenuTest)
#include "MainMenuTest.moc"
