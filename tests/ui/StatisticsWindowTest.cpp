#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "SmallRecordingWindow.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/MarkStatisticsWindow.h"
#include "ui/StatisticsWindow.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

class StatisticsWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  void Mark(int channel, int kind, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, kind);
  }

 private slots:
  void init() {
    window_ = velmora::testing::OpenSmallRecording(dataHome_, files_, ui_);
    QVERIFY(window_);
  }

  void spikeStatsListEveryTraceUnderItsHeader() {
    Mark(17, 2, 1000);
    Mark(17, 2, 2000);
    Mark(17, 2, 4000);
    Mark(18, 2, 1500);
    window_->Menu().Action("SpikeStats1")->trigger();
    QVERIFY(window_->Statistics().Window()->isVisible());
    const QStringList lines = window_->Statistics().Memo()->toPlainText().split('\n');
    QCOMPARE(lines.at(0), QString(" Ele:    Nr:     Avg:      StDev:       Min:      Max:      Range:  "));
    QVERIFY2(lines.at(1).startsWith("17      2    1,500.0    707.1    1,000.0    2,000.0    1000"), qPrintable(lines.at(1)));
    QVERIFY(lines.at(2).startsWith("18"));
    QCOMPARE(window_->Statistics().Window()->windowTitle(), QString("EleF"));
  }

  void mapStatisticsFollowTheMapInPaneA() {
    Mark(17, 1, 100);
    Mark(18, 1, 200);
    Mark(19, 1, 300);
    S().PaneKindA = 0;
    window_->Menu().Action("ShowMapStatistics1")->trigger();
    const QString text = window_->Statistics().Memo()->toPlainText();
    QVERIFY2(text.contains("Times") && text.contains("N = 3") && text.contains("Avg = 200.00") &&
                 text.contains("SD = 81.65"),
             qPrintable(text));
  }

  void markStatisticsToggleShowsTheCounts() {
    Mark(17, 1, 100);
    Mark(17, -1, 50);
    S().MarkOrigin = 2;
    Mark(18, 1, 200);
    Mark(18, 2, 300);
    window_->Menu().Action("showmarkstatistics1")->trigger();
    QVERIFY(S().ShowMarkStatistics);
    QVERIFY(window_->MarkStats().Window()->isVisible());
    QTableWidget* grid = window_->MarkStats().Grid();
    QCOMPARE(grid->item(1, 1)->text(), QString("1"));  // references
    QCOMPARE(grid->item(2, 1)->text(), QString("2"));  // slow waves
    QCOMPARE(grid->item(2, 2)->text(), QString("1"));  // by hand
    QCOMPARE(grid->item(2, 3)->text(), QString("1"));  // automatic
    QCOMPARE(grid->item(3, 3)->text(), QString("1"));  // automatic spikes
    QCOMPARE(grid->item(0, 1)->text(), QString("# marks"));
    QCOMPARE(grid->item(1, 0)->text(), QString("References"));
  }
};

QTEST_MAIN(StatisticsWindowTest)
#include "StatisticsWindowTest.moc"
