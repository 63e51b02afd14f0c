#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/TraceLayout.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::TMainF;
using velmora::TraceLayout;
using velmora::testing::ScriptedUi;

namespace {

// 32 channels (frames of 64 bytes divide the header), flat at 0 except channel 18, which
// dips to -1000 for frames 3000..3199.
bool WriteRecording(const QString& path) {
  return velmora::testing::WriteRecordingFile(path, 32, 6020, [](int f, int c) {
    return qint16(c == 18 && f >= 3000 && f < 3200 ? -1000 : 0);
  });
}

}  // namespace

class PointerInteractionTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  velmora::PaneWidget* PaintA() { return window_->PaneA()->Paint(); }
  // The pane position of time `ms` on trace `trace`.
  QPoint At(int ms, int trace) {
    const AnalysisState& s = S();
    return QPoint(s.TraceLeft + int(std::lround((ms - s.CurBegin) * s.SampleWidth)), TraceLayout::Centre(s, trace));
  }
  void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseMove(PaintA(), at);
    window_->PaintAMouseMove(at.x(), at.y());
    QTest::mouseClick(PaintA(), Qt::LeftButton, modifiers, at);
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    const QString recording = files_.filePath("REC.E00");
    QVERIFY(WriteRecording(recording));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1100, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(recording.toStdString()));
    S().TraceOrder = 0;
    S().FirstChannel = 17;
    S().WindowA = 4000;
    S().BeginA = 1000;
    window_->UpdateDisplay();
  }

  void theFirstClickAfterOpeningOnlyArms() {
    QVERIFY(!S().ClickArmed);
    Click(At(2000, 1));
    QVERIFY(S().ClickArmed);
    QCOMPARE(S().MarkCount, 0);
    Click(At(2000, 1));
    QCOMPARE(S().MarkCount, 1);
  }

  void aClickMarksTheTimeAndTraceUnderThePointer() {
    Click(At(2500, 3));
    Click(At(2500, 3));
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(int(S().Mark(1).Electrode), 19);
    QVERIFY(std::abs(S().Mark(1).Time - 2500) <= 1);
    QCOMPARE(int(S().Mark(1).Origin), 1);
    QVERIFY(S().MarksChanged);
  }

  void shiftClickOnAFlatTraceBeepsAndMarksNothing() {
    Click(At(2000, 1));  // arm
    const int beeps = ui_.beeps;
    S().AssistedMarking = true;  // Shift held down
    Click(At(2000, 1), Qt::ShiftModifier);
    QCOMPARE(S().MarkCount, 0);
    QCOMPARE(ui_.beeps, beeps + 1);
  }

  void shiftClickFindsTheFallOnItsTrace() {
    Click(At(2000, 2));
    S().AssistedMarking = true;
    Click(At(3050, 2), Qt::ShiftModifier);
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(int(S().Mark(1).Electrode), 18);
    QCOMPARE(int(S().Mark(1).Origin), 2);
    QVERIFY(std::abs(S().Mark(1).Time - 2980) <= 60);
  }

  // With two panes a mark set by hand shows at once in a map of the other pane.
  void aManualMarkRedrawsTheMapInTheOtherPane() {
    window_->SetPanelTile();
    window_->SetPaneKind(2, 0);
    window_->UpdateDisplay();
    QCOMPARE(S().Cell(2, 1).Value, -12345);
    Click(At(2500, 2));  // arm
    Click(At(2500, 2));
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(S().Cell(2, 1).Value, S().Mark(1).Time);
    const QImage paneB = window_->PaneB()->Paint()->BackBuffer().copy();
    window_->UpdateDisplay();
    QVERIFY(paneB == window_->PaneB()->Paint()->BackBuffer());
  }

  // The update draws pane B last, over an earlier time window than pane A's; "W" must still
  // spread from the time under the pointer in pane A, where the dip lies.
  void keyWSpreadsFromPaneATimeAfterAnUpdateWithTwoPanes() {
    window_->SetPanelTile();
    S().BeginB = 0;
    S().WindowB = 4000;
    window_->UpdateDisplay();
    window_->PrepareElectrogramLayout(1);
    const QPoint dip = At(3050, 2);
    QTest::mouseMove(PaintA(), dip);
    window_->PaintAMouseMove(dip.x(), dip.y());
    QCOMPARE(S().PointerTime, 3050);
    window_->UpdateDisplay();
    QVERIFY(window_->FormKeyPress('w'));
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(int(S().Mark(1).Electrode), 18);
    QVERIFY(std::abs(S().Mark(1).Time - 2980) <= 60);
  }

  void zoomStaysWithinItsBounds() {
    S().WindowA = 15;
    S().PointerTime = 4;
    S().ActivePane = 1;
    window_->Menu().Action("Zoom1")->trigger();
    QCOMPARE(S().WindowA, 10);
    QCOMPARE(S().BeginA, 0);
    S().WindowA = 5000;
    S().PointerTime = 5000;
    S().ActivePane = 1;
    window_->Menu().Action("Zoom2")->trigger();
    QCOMPARE(S().WindowA, S().SigLength);  // 10000 would pass the signal's 6000
  }

  void aCtrlRectangleMarksInsideItAndDDeletesInsideIt() {
    Click(At(2000, 1));  // arm the pane
    const QPoint anchor = At(2800, 2) - QPoint(0, 8);
    const QPoint corner = At(3300, 2) + QPoint(0, 8);
    QTest::mouseMove(PaintA(), anchor);
    window_->PaintAMouseMove(anchor.x(), anchor.y());
    QVERIFY(!window_->FormKeyDown(Qt::Key_Control, Qt::ControlModifier));
    window_->PaintAMouseMove(corner.x(), corner.y());
    QVERIFY(S().ShapeDragging);
    window_->FormKeyUp();
    QVERIFY(S().RectangleFixed);
    QTest::mouseClick(PaintA(), Qt::LeftButton, Qt::NoModifier, corner);
    QCOMPARE(S().MarkCount, 1);  // only trace 2 (channel 18) lies inside and has a fall
    QCOMPARE(int(S().Mark(1).Electrode), 18);
    QVERIFY(!S().RectangleFixed);
    // Again, and "D" deletes what is inside.
    window_->PaintAMouseMove(anchor.x(), anchor.y());
    window_->FormKeyDown(Qt::Key_Control, Qt::ControlModifier);
    window_->PaintAMouseMove(corner.x(), corner.y());
    window_->FormKeyUp();
    QVERIFY(S().RectangleFixed);
    QVERIFY(window_->FormKeyPress('d'));
    QCOMPARE(S().Mark(1).Kind, qint16(-12345));
  }

  void automaticMarkingMarksTheFallOnce() {
    window_->Menu().Action("AutomaticSWmarking1")->trigger();
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(int(S().Mark(1).Electrode), 18);
  }
};

QTEST_MAIN(PointerInteractionTest)
#include "PointerInteractionTest.moc"
