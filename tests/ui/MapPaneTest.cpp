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
  // Pane A's caption with the pointer moved over the centre of cell (col, row).
  QString CaptionAt(int col, int row) {
    PointAt(CellCentre(col, row));
    window_->PaintAMouseMove(S().PointerX, S().PointerY);
    return window_->PaneA()->Caption();
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
    const QString filled = CaptionAt(2, 2);
    QVERIFY2(filled.startsWith("Slow Wave (0-6000) 2x2 (Cell = 21) ( t = 1400)"), qPrintable(filled));
    const QString empty = CaptionAt(3, 2);
    QVERIFY2(empty.endsWith("( t =  )"), qPrintable(empty));
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

  // The update draws pane B's map last, over a later time window; "H" must still hide the
  // mark that pane A's cell under the pointer shows.
  void keyHHidesPaneAMarkAfterAnUpdateWithTwoMapPanes() {
    Mark(17, 3000);
    S().BeginA = 0;
    S().WindowA = 2000;
    window_->SetPanelTile();
    window_->SetPaneKind(2, 0);
    S().BeginB = 2000;
    S().WindowB = 4000;
    window_->UpdateDisplay();
    QCOMPARE(S().Cell(1, 1).Value, 3000);  // pane B's map, drawn last
    PointAt(CellCentre(1, 1));
    window_->PaintAMouseMove(S().PointerX, S().PointerY);
    window_->UpdateDisplay();
    QVERIFY(window_->FormKeyPress('h'));
    QCOMPARE(int(S().Mark(1).Visible), 0);
    QCOMPARE(int(S().Mark(S().MarkCount).Visible), 1);
  }

  // With a map in each pane over different windows, the caption under the pointer reads the
  // value of the pane it is over, not of the pane drawn last, and a move draws nothing.
  void theCaptionReadsTheMapOfThePaneUnderThePointer() {
    Mark(17, 3000);
    S().BeginA = 0;
    S().WindowA = 2000;
    window_->SetPanelTile();
    S().BeginB = 2000;
    S().WindowB = 4000;
    window_->SetPaneKind(2, 0);
    QCOMPARE(S().Cell(1, 1).Value, 3000);  // pane B's map, drawn last
    QImage& shownA = window_->PaneA()->Paint()->BackBuffer();
    const QRgb tag = qRgb(1, 2, 3);
    shownA.setPixel(1, 1, tag);
    const QString captionA = CaptionAt(1, 1);
    QVERIFY2(captionA.endsWith("1x1 (Cell = 17) ( t = 1000)"), qPrintable(captionA));
    QCOMPARE(shownA.pixel(1, 1), tag);  // not redrawn
    window_->PaintBMouseMove(S().PointerX, S().PointerY);
    const QString captionB = window_->PaneB()->Caption();
    QVERIFY2(captionB.endsWith("1x1 (Cell = 17) ( t = 3000)"), qPrintable(captionB));
  }

  // An old-format matrix places channels by position only and leaves the grid table of the
  // previous matrix behind; the pointer must read the cells by the new positions.
  void afterAnOldFormatMatrixThePointerReadsTheNewPlaces() {
    // Row 1 holds no electrode, 21, 20; row 2 holds 19, 18, 17; channel 22 is off the grid.
    QByteArray old = "22 3 2 4\n";
    for (int channel = 1; channel <= 16; ++channel) old += "-1 -1\n";
    old += "2 1\n1 1\n0 1\n2 0\n1 0\n-1 -1\n";
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("old.txt"), old));
    ui_.openDialogAnswers.push_back(velmora::Ui::FileDialogResult{files_.filePath("old.txt").toStdString(), 1});
    window_->Menu().Action("ChangeMatrixfile1")->trigger();
    QCOMPARE(S().Cell(3, 2).Value, 1000);  // channel 17's mark, in its new place

    const QString moved = CaptionAt(3, 2);
    QVERIFY2(moved.endsWith("3x2 (Cell = 17) ( t = 1000)"), qPrintable(moved));
    const QString noElectrode = CaptionAt(1, 1);
    QVERIFY2(noElectrode.endsWith("1x1 (Cell = -12345) ( t =  )"), qPrintable(noElectrode));

    QTest::mouseClick(window_->PaneA()->Paint(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 1));
    QCOMPARE(S().FirstChannel, 21);
    QTest::mouseClick(window_->PaneA()->Paint(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 1));
    QCOMPARE(S().FirstChannel, 21);  // a cell without an electrode chooses nothing

    PointAt(CellCentre(3, 2));
    QVERIFY(window_->FormKeyPress('h'));
    QCOMPARE(S().Cell(3, 2).Value, -12345);
    QVERIFY(window_->FormKeyPress('u'));
    QCOMPARE(S().Cell(3, 2).Value, 1000);
  }

  void theLegendSitsBesideTheCellsAndItsSwitchTakesItAway() {
    const int narrower = window_->PaneA()->Paint()->width();
    window_->resize(narrower + 400, 700);  // wider than the grid's two rows of cells need
    // Waits for the layout to hand the pane its new width, not for a time.
    QTRY_VERIFY(window_->PaneA()->Paint()->width() >= narrower + 300);
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
