#include <QApplication>
#include <QClipboard>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <iterator>
#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/ResultWindows.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::TMainF;
using velmora::WaveTableWindow;
using velmora::testing::ScriptedUi;

// A 3 x 2 grid of electrodes 4 mm apart with three planar waves along the rows, 20 s apart:
// 400, 200 and 300 ms from column to column, so 10, 20 and 13.333 mm/s, 3 cycles a minute.
class WaveTableWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  WaveTableWindow* Table() { return window_->findChild<WaveTableWindow*>("WaveTableWindow"); }
  QString Cell(int row, int column) {
    const QAbstractItemModel* model = Table()->View()->model();
    return model->data(model->index(row, column)).toString();
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 60020));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n6 3 2 4\ncomment\n17 18 19\n20 21 22\n"));
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(900, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
    const int step[] = {400, 200, 300};
    for (int wave = 0; wave < 3; ++wave)
      for (int channel = 17; channel <= 22; ++channel) {
        S().PointerChannel = channel;
        velmora::MarkStore::AddMarkRecord(S(), 1000 + wave * 20000 + ((channel - 17) % 3) * step[wave], 1);
      }
  }

  void theTableSortsByValueAndShowsTheClickedWave() {
    window_->Menu().Action("WaveTable1")->trigger();
    QVERIFY(Table() && Table()->isVisible());
    QTableView* view = Table()->View();
    QCOMPARE(view->model()->rowCount(), 3);
    view->sortByColumn(6, Qt::DescendingOrder);  // speed_mm_s
    QCOMPARE(Cell(0, 6), QString("20.000"));
    QCOMPARE(Cell(1, 6), QString("13.333"));
    QCOMPARE(Cell(2, 6), QString("10.000"));
    // The second wave reaches the columns 20.0, 19.8 and 19.6 s after the first: the median
    // over the electrodes is 19.8 s, 3.030 cycles a minute; the first has no wave before it.
    QCOMPARE(Cell(0, 11), QString("3.030"));
    QCOMPARE(Cell(2, 11), QString());
    QCOMPARE(Cell(0, 12), QString("normal"));
    const int fastest = Cell(0, 0).toInt();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 3)).center());
    QCOMPARE(int(S().PaneKindA), 2);
    QCOMPARE(S().WaveNrA, fastest);
    QCOMPARE(S().Cell(2, 1).Value, 21200);  // the map shows that wave: the second, from 21000 ms
    const QStringList copied = Table()->SelectedCsv().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(copied.size(), 2);
    QVERIFY(copied[0].startsWith("wave,start_ms,"));
    QVERIFY(copied[1].startsWith(Cell(0, 0) + ","));
  }

  // A two-site wave after the three: the table lists the waves the wave maps number, as
  // large as "Smallest wave shown" lets them be, and follows that preference.
  void theTableHoldsTheWavesOfTheSmallestWaveShown() {
    for (int channel = 17; channel <= 18; ++channel) {
      S().PointerChannel = channel;
      velmora::MarkStore::AddMarkRecord(S(), 50000 + (channel - 17) * 400, 1);
    }
    const int limits[] = {1, 2, 3, 6, 7};
    const int rows[] = {4, 4, 3, 3, 0};
    for (size_t i = 0; i < std::size(limits); ++i) {
      S().MinSitesPerWave = limits[i];
      window_->Menu().Action("WaveTable1")->trigger();
      QVERIFY(Table() != nullptr);
      QCOMPARE(Table()->View()->model()->rowCount(), rows[i]);
      if (rows[i] == 4) QCOMPARE(Cell(3, 2), QString("2"));  // sites of wave 4
    }
  }

  void theFrequencyMapCountsCyclesPerMinute() {
    window_->Menu().Action("TimeMap1")->trigger();
    window_->Menu().Action("Frequency1")->trigger();
    QVERIFY(window_->Menu().Action("Frequency1")->isChecked());
    QCOMPARE(S().Cell(1, 1).Frequency, 3.0);  // marks at 1000, 21000 and 41000 ms
  }
};

QTEST_MAIN(WaveTableWindowTest)
#include "WaveTableWindowTest.moc"
