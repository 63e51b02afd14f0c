#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

// Pane A shows the time map of a 3 x 2 grid (channels 17..22) with marks at known times.
class MapPaneTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  void Mark(int channel, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, 1);
  }
  // The pane position of the centre of cell (col, row).
  QPoint CellCentre(int col, int row) {
    return QPoint(S().MapLeft + (col - 1) * S().CellWidth + S().CellWidth / 2,
                  S().MapTop + (row - 1) * S().CellHeight + S().CellHeight / 2);
  }
  void PointAt(QPoint at) {
    QTest::mouseMove(window_->PaneA()->Paint(), at);
    S().PointerX = at.x();
    S().PointerY = at.y();
    S().ActivePane = 1;
  }
  int InkPixels() const {
    const QImage& image = window_->PaneA()->Paint()->BackBuffer();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) == qRgb(0, 0, 0);
    return ink;
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n6 3 2 4\ncomment\n17 18 19\n20 21 22\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(900, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
    for (int channel = 17; channel <= 22; ++channel) Mark(channel, 1000 + ((channel - 17) % 3) * 400);
    S().MarkCount -= 1;  // channel 22 has no mark: its cell stays empty
    window_->Menu().Action("TimeMap1")->trigger();
  }

  void theTimeMapFillsTheCellsAndReadsThemOut() {
    QCOMPARE(int(S().PaneKindA), 0);
    QCOMPARE(S().Cell(1, 1).Value, 1000);
    QCOMPARE(S().Cell(3, 1).Value, 1800);
    QCOMPARE(S().Cell(3, 2).Value, -12345);
    PointAt(CellCentre(2, 2));
    window_->PaintAMouseMove(S().PointerX, S().PointerY);
    QVERIFY2(window_->PaneA()->Caption().startsWith("Slow Wave (0-6000) 2x2 (Cell = 21) ( t = 1400)"),
             qPrintable(window_->PaneA()->Caption()));
    PointAt(CellCentre(3, 2));
    window_->PaintAMouseMove(S().PointerX, S().PointerY);
    QVERIFY2(window_->PaneA()->Caption().endsWith("( t =  )"), qPrintable(window_->PaneA()->Caption()));
  }

  void aClickOnACellMakesItsChannelTheFirstTrace() {
    PointAt(CellCentre(3, 1));
    QTest::mouseClick(window_->PaneA()->Paint(), Qt::LeftButton, Qt::NoModifier, CellCentre(3, 1));
    QCOMPARE(S().FirstChannel, 19);
    QCOMPARE(S().FirstCol, 3);
    QCOMPARE(S().FirstRow, 1);
  }

  void keyEFillsAnEmptyCellFromItsNeighbours() {
    PointAt(CellCentre(3, 2));
    QVERIFY(window_->FormKeyPress('e'));
    QVERIFY(S().Cell(3, 2).Value != -12345);
    QCOMPARE(int(S().Cell(3, 2).Expanded), 1);
  }

  void keysHAndUHideAndShowTheCellsMarks() {
    PointAt(CellCentre(1, 1));
    QVERIFY(window_->FormKeyPress('H'));
    QCOMPARE(S().Cell(1, 1).Value, -12345);  // its only mark is hidden from the map
    QVERIFY(window_->Menu().Action("UnhideMarks1")->isEnabled());
    QVERIFY(window_->FormKeyPress('u'));
    QCOMPARE(S().Cell(1, 1).Value, 1000);
  }

  void theLegendSitsBesideTheCellsAndItsSwitchTakesItAway() {
    window_->resize(1300, 700);  // wider than the grid's two rows of cells need
    QTest::qWait(50);
    window_->UpdateDisplay();
    const QImage& image = window_->PaneA()->Paint()->BackBuffer();
    const int cellWidth = S().CellWidth, right = S().MapRight;
    QVERIFY2(image.width() > right + 100, "the pane leaves room beside the grid");
    auto besideGrid = [&] {  // inside the pane's own outline
      int ink = 0;
      for (int y = 1; y < image.height() - 1; ++y)
        for (int x = right + 2; x < image.width() - 1; ++x) ink += image.pixel(x, y) != qRgb(255, 255, 255);
      return ink;
    };
    QVERIFY(besideGrid() > 0);
    window_->Menu().Action("ShowMapLegend1")->trigger();
    QCOMPARE(window_->Menu().Action("ShowMapLegend1")->text(), QString("show Legend"));
    QCOMPARE(besideGrid(), 0);
    QCOMPARE(S().CellWidth, cellWidth);
    QCOMPARE(S().MapRight, right);
  }

  void isochronesAndArrowsDrawOnTheMap() {
    S().IsochroneStep = 200;  // level 1200 crosses the square of columns 1-2
    window_->UpdateDisplay();
    const int plain = InkPixels();
    window_->Menu().Action("PlotIsochrones1")->trigger();
    const int withIsochrones = InkPixels();
    QVERIFY2(withIsochrones > plain, qPrintable(QString("%1 vs %2").arg(withIsochrones).arg(plain)));
    window_->Menu().Action("PlotVelocities1")->trigger();
    QVERIFY(InkPixels() > withIsochrones);
  }
};

QTEST_MAIN(MapPaneTest)
#include "MapPaneTest.moc"
