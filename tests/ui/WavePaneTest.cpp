#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWaves.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

// Runs `duringEvents` once, the first time the window lets pending events run: what a user
// does while the waves are being calculated.
class InterruptingUi : public ScriptedUi {
 public:
  void ProcessEvents() override {
    ScriptedUi::ProcessEvents();
    if (!duringEvents) return;
    const auto run = std::move(duringEvents);
    duringEvents = nullptr;
    run();
  }
  std::function<void()> duringEvents;
};

// A 3 x 2 grid (channels 17..22) with two waves of slow waves: one over every electrode
// from 1000 ms, one over the top row from 5000 ms.
class WavePaneTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  InterruptingUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  void Mark(int channel, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, 1);
  }
  void Trigger(const char* item) { window_->Menu().Action(item)->trigger(); }
  QAbstractButton* Button(int pane, const QString& name) {
    return (pane == 2 ? window_->PaneB() : window_->PaneA())->Bar()->Button(name + QString::number(pane));
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n6 3 2 4\ncomment\n17 18 19\n20 21 22\n"));
    ui_ = InterruptingUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(900, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
    for (int channel = 17; channel <= 22; ++channel) Mark(channel, 1000 + ((channel - 17) % 3) * 400);
    for (int channel = 17; channel <= 19; ++channel) Mark(channel, 5000 + (channel - 17) * 100);
  }

  void theWavButtonCalculatesTheWavesWhileTheWindowAnswers() {
    const int eventsBefore = ui_.processEventsCalls;
    Button(1, "SpeedWav")->click();
    QCOMPARE(int(S().PaneKindA), 2);
    QCOMPARE(S().NrWaves, 2);
    QCOMPARE(ui_.processEventsCalls - eventsBefore, 3);  // once per wave number tried
    QFrame* panel = window_->Waves().ProgressPanel();
    QVERIFY(panel->isHidden());
    QCOMPARE(panel->findChild<QLabel*>("LabelWaveNr")->text(), QString("3"));
    QVERIFY(window_->PaneA()->Caption().startsWith("Wave Map nr: 1 of 2"));
    S().PointerReady = true;
    window_->PaintAMouseMove(S().MapLeft + S().CellWidth + 3, S().MapTop + 3);
    QVERIFY2(window_->PaneA()->Caption().endsWith("2x1 (Cell = 18)"), qPrintable(window_->PaneA()->Caption()));
    QCOMPARE(S().Cell(3, 1).Value, 1800);
  }

  // A redraw asked for meanwhile leaves the wave pane alone; a mark added meanwhile is in the
  // waves the pane then shows.
  void commandsDuringTheCalculationTakeEffect() {
    ui_.duringEvents = [this] {
      window_->UpdateDisplay();
      Mark(17, 9000);
    };
    S().PaneKindA = 2;
    window_->UpdateDisplayA();
    QVERIFY(!S().WavesStale);
    QCOMPARE(S().NrWaves, 3);
    QVERIFY(window_->Waves().ProgressPanel()->isHidden());
  }

  void theMenuStepsPaneAThroughTheWaves() {
    Button(1, "SpeedWav")->click();
    Trigger("gotonextwave1");
    QCOMPARE(S().WaveNrA, 2);
    QCOMPARE(S().Cell(3, 1).Value, 5200);
    QCOMPARE(S().Cell(1, 2).Value, S().NoValue);
    Trigger("gotonextwave1");
    QCOMPARE(S().WaveNrA, 2);
    Button(1, "SpeedDecWave")->click();
    QCOMPARE(S().WaveNrA, 1);
    ui_.inputs = {"0", "7"};
    Trigger("gotowavenr1");
    QCOMPARE(S().WaveNrA, 7);
    QCOMPARE(S().Cell(1, 1).Value, S().NoValue);  // above the last wave: an empty map
  }

  void switchesMoveTheirCheckMarks() {
    for (const char* item : {"Plotlocaltimes1", "automaticpositioning1", "showstatistics1"}) {
      QAction* action = window_->Menu().Action(item);
      QVERIFY2(action->isEnabled(), item);
      QVERIFY(!action->isChecked());
      action->trigger();
      QVERIFY2(action->isChecked(), item);
    }
    QVERIFY(S().PlotLocalTimes && S().AutoPositioning && S().ShowStatistics);
  }

  void paneAFollowsTheWaveOfPaneB() {
    S().AutoPositioning = true;
    Trigger("PanelTileMenu");
    S().TraceOrder = 0;
    S().FirstChannel = 30;
    Button(2, "SpeedWav")->click();
    QCOMPARE(S().FirstChannel, 18);  // the centre of the 3 x 2 wave
    QCOMPARE(int(S().PaneKindA), 1);
  }

  // The wave map in B overwrites the grid the time map in A was drawn from; pointing at A
  // reads A's map again.
  void pointingAtTheMapBesideAWaveMapReadsTheMap() {
    Trigger("TimeMap1");
    Trigger("PanelTileMenu");
    S().WaveNrB = 2;
    Button(2, "SpeedWav")->click();
    QCOMPARE(S().Cell(1, 1).Value, 5000);
    S().PointerReady = true;
    window_->PaintAMouseMove(S().MapLeft + 3, S().MapTop + 3);
    QCOMPARE(S().Cell(1, 1).Value, 1000);
  }

  void theCompositeMapIsOfferedAndPaintsTheWaveNumbers() {
    QAction* composite = window_->Menu().Action("compositewavemap1");
    QVERIFY(composite->isEnabled());
    Button(1, "SpeedWav")->click();
    S().WaveNrA = 2;
    S().MinWaveSites = 3;
    composite->trigger();
    QCOMPARE(S().Cell(1, 1).Value, 2);
    QCOMPARE(S().Cell(1, 2).Value, 1);
    QCOMPARE(S().NrWaves, 2);
  }
};

QTEST_MAIN(WavePaneTest)
#include "WavePaneTest.moc"
