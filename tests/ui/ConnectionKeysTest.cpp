#include <QAction>
#include <QColor>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::ConnectionRecord;
using velmora::TMainF;
using velmora::TraceLayout;
using velmora::testing::ScriptedUi;

// The connection commands of the main window: the keys over pane A, the menu items, and the
// arrows they leave on the traces.
class ConnectionKeysTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  QPoint At(int ms, int trace) {
    const AnalysisState& s = S();
    return QPoint(s.TraceLeft + int(std::lround((ms - s.CurBegin) * s.SampleWidth)), TraceLayout::Centre(s, trace));
  }
  void PointAt(QPoint at) {
    QTest::mouseMove(window_->PaneA()->Paint(), at);
    window_->PaintAMouseMove(at.x(), at.y());
  }
  void AddMark(int channel, int time) {
    S().PointerChannel = channel;
    velmora::MarkStore::AddMarkRecord(S(), time, 1);
  }
  // Whether pane A shows magenta within a pixel of `at`.
  bool MagentaNear(QPoint at) {
    const QImage& image = window_->PaneA()->Paint()->BackBuffer();
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (image.pixelColor(at + QPoint(dx, dy)) == QColor(255, 0, 255)) return true;
    return false;
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    const QString recording = files_.filePath("REC.E00");
    QVERIFY(velmora::testing::WriteRecordingFile(recording, 32, 6020, [](int, int) { return qint16(0); }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    // The window of the test before ends first (it holds the recording), and its unsaved
    // edits are not offered to this one.
    window_.reset();
    QFile::remove(files_.filePath("REC.M00.velmora-journal"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1100, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(recording.toStdString()));
    S().TraceOrder = 0;
    S().FirstChannel = 17;
    S().NrTraces = 3;
    S().WindowA = 4000;
    S().BeginA = 1000;
    AddMark(17, 2000);
    AddMark(18, 2300);
    window_->UpdateDisplay();
  }

  void keysOneAndTwoConnectAndTheArrowShows() {
    const QPoint from = At(2000, 1), to = At(2300, 2);
    QVERIFY(!MagentaNear((from + to) / 2));
    PointAt(At(2100, 1));
    QVERIFY(window_->FormKeyPress('1'));
    PointAt(At(2200, 2));
    QVERIFY(window_->FormKeyPress('2'));
    QCOMPARE(S().ConnectionCount, 1);
    QVERIFY(S().Connection(1) == (ConnectionRecord{17, 2000, 18, 2300, 1}));
    QVERIFY(MagentaNear((from + to) / 2));

    window_->Menu().Action("ShowElgconnections1")->trigger();
    QCOMPARE(window_->Menu().Action("ShowElgconnections1")->text(), QString("show connections"));
    QVERIFY(!MagentaNear((from + to) / 2));
  }

  void keysYAndFJoinAndPartTheTraceBelowThePointer() {
    PointAt(At(2100, 1) + QPoint(0, 5));  // lower half of trace 1: channels 17 and 18
    QVERIFY(window_->FormKeyPress('y'));
    QCOMPARE(S().ConnectionCount, 1);
    QVERIFY(S().Connection(1) == (ConnectionRecord{17, 2000, 18, 2300, 1}));
    PointAt(At(2100, 2) - QPoint(0, 5));  // upper half of trace 2: the same pair
    QVERIFY(window_->FormKeyPress('f'));
    QCOMPARE(S().Connection(1).FromChannel, -12345);
    QVERIFY(!MagentaNear((At(2000, 1) + At(2300, 2)) / 2));
  }

  void madeConnectionsAreSavedAndReadBack() {
    window_->Menu().Action("MakeConnections1")->trigger();
    QCOMPARE(S().ConnectionCount, 1);
    window_->Menu().Action("SaveMarks1")->trigger();
    const QString saved = files_.filePath("REC.C00");
    QVERIFY(QFile::exists(saved));
    QVERIFY(!S().ConnectionsChanged);
    S().ConnectionCount = 0;
    ui_.openDialogAnswers.push_back(ScriptedUi::FileDialogResult{saved.toStdString(), 1});
    window_->Menu().Action("ReadConnections1")->trigger();
    QCOMPARE(S().ConnectionCount, 1);
    QVERIFY(S().Connection(1) == (ConnectionRecord{17, 2000, 18, 2300, 1}));
    QVERIFY(MagentaNear((At(2000, 1) + At(2300, 2)) / 2));
  }
};

QTEST_MAIN(ConnectionKeysTest)
#include "ConnectionKeysTest.moc"
