#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "maps/MapDrawing.h"
#include "marks/MarkStore.h"
#include "marks/TimeCursor.h"
#include "support/ScriptedUi.h"
#include "TestFiles.h"
#include "ui/MainMenu.h"
#include "ui/PaneAnimation.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::PaneAnimation;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

// A 3 x 2 grid (channels 17..22) of a 6000 ms recording with one slow wave on channel 18 at
// 1200 ms; the film runs in steps of 100 ms.
class AnimationPaneTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  PaneAnimation& Film() { return window_->Animation(); }
  QString CaptionA() const { return window_->PaneA()->Caption(); }
  bool Key(int key) { return window_->FormKeyDown(key, Qt::NoModifier); }
  QRgb PixelA(const velmora::Point& p) const { return window_->PaneA()->Paint()->BackBuffer().pixel(p.x, p.y) & 0xFFFFFF; }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020,
                                                 [](int frame, int channel) { return qint16(frame % 50 * channel); }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n6 3 2 4\ncomment\n17 18 19\n20 21 22\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(900, 700);
    window_->show();
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
    S().PointerChannel = 18;
    velmora::MarkStore::AddMarkRecord(S(), 1200, velmora::kSlowWave);
    window_->Menu().Action("Animation1")->trigger();
    S().ActivePane = 1;
  }

  void theMenuShowsTheAnimationInPaneAWithItsTimeInTheCaption() {
    QCOMPARE(int(S().PaneKindA), PaneAnimation::kPaneKind);
    QVERIFY2(CaptionA().startsWith("Animation  t = 0 ms"), qPrintable(CaptionA()));
    Film().Step(12);
    QVERIFY2(CaptionA().startsWith("Animation  t = 1200 ms"), qPrintable(CaptionA()));
  }

  void theCellLightsInTheStepOfItsMark() {
    Film().Step(11);  // 1100: not yet
    const velmora::Point centre = velmora::MapDrawing::CellCentre(S(), 2, 1);
    QCOMPARE(PixelA(centre), QRgb(0xFFFFFF));
    Film().Step(1);  // 1200: lit
    QVERIFY(PixelA(centre) != QRgb(0xFFFFFF));
    QCOMPARE(PixelA(velmora::MapDrawing::CellCentre(S(), 1, 1)), QRgb(0xFFFFFF));
  }

  void arrowKeysStepAndWrapOnlyWhileLooping() {
    QVERIFY(Key(Qt::Key_Right));
    QCOMPARE(Film().Frame(), 1);
    QVERIFY(Key(Qt::Key_Left));
    QVERIFY(Key(Qt::Key_Left));
    QCOMPARE(Film().Frame(), Film().FrameCount() - 1);  // looping: round to the last step
    QVERIFY(Key(Qt::Key_L));
    QVERIFY(!Film().Loop());
    QVERIFY(Key(Qt::Key_Right));
    QCOMPARE(Film().Frame(), Film().FrameCount() - 1);  // not looping: stays at the end
  }

  void spacePlaysAndPausesAndUpDownChangeTheSpeed() {
    QVERIFY(Key(Qt::Key_Space));
    QVERIFY(Film().Playing());
    QVERIFY(CaptionA().contains("10 steps/s"));
    QVERIFY(Key(Qt::Key_Up));
    QCOMPARE(Film().Speed(), 20);
    QVERIFY(Key(Qt::Key_Down));
    QVERIFY(Key(Qt::Key_Down));
    QCOMPARE(Film().Speed(), 5);
    Film().SetSpeed(100000);
    QCOMPARE(Film().Speed(), PaneAnimation::kFastest);
    QVERIFY(Key(Qt::Key_Space));
    QVERIFY(!Film().Playing());
    QVERIFY(CaptionA().contains("paused"));
  }

  void keysAreLeftAloneWhenThePaneUnderThePointerIsNoAnimation() {
    window_->Menu().Action("Electrograms2")->trigger();
    QVERIFY(!Film().KeyDown(Qt::Key_Space));
    QVERIFY(!Film().Playing());
  }

  // The test gives the timer's ticks itself, so nothing waits on the clock (the timer cannot
  // fire between them: no events are processed).
  void playingWithoutLoopStopsAtTheLastStep() {
    Film().SetLoop(false);
    Film().Step(Film().FrameCount() - 4);
    Film().TogglePlay();
    QVERIFY(Film().Playing());
    int ticks = 0;
    while (Film().Playing() && ticks < 10) {
      QVERIFY(QMetaObject::invokeMethod(&Film(), "Tick"));
      ++ticks;
    }
    QCOMPARE(ticks, 4);  // three steps to the last frame, then the stop
    QCOMPARE(Film().Frame(), Film().FrameCount() - 1);
  }

  void anElectrogramPaneBesideFollowsWithACursor() {
    window_->Menu().Action("PanelTileMenu")->trigger();
    S().PaneKindB = 1;
    S().BeginB = 0;
    S().WindowB = 1000;
    Film().Step(30);  // 3000 ms lies beyond pane B's window
    QCOMPARE(S().BeginB, 2900);
    window_->PrepareElectrogramLayout(2);
    const std::optional<int> x = velmora::TimeCursor::X(S(), 3000);
    QVERIFY(x.has_value());
    const QImage& traces = window_->PaneB()->Paint()->BackBuffer();
    QCOMPARE(traces.pixel(*x, S().TraceTop + 2) & 0xFFFFFF, QRgb(velmora::TimeCursor::kColour));
  }
};

QTEST_MAIN(AnimationPaneTest)
#include "AnimationPaneTest.moc"
