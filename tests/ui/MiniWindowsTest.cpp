#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

#include "TestFiles.h"
#include "core/AnalysisState.h"
#include "maps/MiniMap.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/MiniGridWindow.h"
#include "ui/MiniMapWindow.h"
#include "ui/MiniWindows.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"
#include "ui/WaveFormSettingsWindow.h"

using velmora::AnalysisState;
using velmora::MainMenu;
using velmora::MiniMap;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

namespace {

constexpr int kCols = 16, kRows = 15;

// A 16 x 15 grid holding channels 17..256 row by row.
QByteArray GridMatrix() {
  QByteArray text = "-2\n240 16 15 1.5\ntest grid\n";
  for (int row = 0, channel = 17; row < kRows; ++row) {
    for (int col = 0; col < kCols; ++col) text += (col ? " " : "") + QByteArray::number(channel++);
    text += "\n";
  }
  return text;
}

int GridChannel(int col, int row) { return 16 + col + kCols * (row - 1); }

bool HasColour(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == colour) return true;
  return false;
}

}  // namespace

class MiniWindowsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir files_;
  std::unique_ptr<QTemporaryDir> dataHome_;

  std::unique_ptr<TMainF> LoadedWindow(ScriptedUi& ui) {
    auto window = std::make_unique<TMainF>(&ui);
    window->resize(900, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    window->State().DefaultMatrixFileName = files_.filePath("grid.txt").toStdString();
    if (!window->OpenRecording(files_.filePath("REC.E00").toStdString())) return nullptr;
    return window;
  }

  static void Choose(TMainF& window, const char* item) { window.Menu().Action(item)->trigger(); }
  static QString Caption(TMainF& window, const char* item) {
    return MainMenu::Caption(window.Menu().Action(item));
  }

 private slots:
  void initTestCase() {
    QVERIFY(files_.isValid());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 256, 2020, [](int frame, int channel) {
      return qint16(std::lround(1500 * std::sin(frame * 2 * M_PI / 400 + channel)));
    }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("grid.txt"), GridMatrix()));
  }

  void init() {
    dataHome_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
  }

  void miniMapItemTogglesAndShowsTheSizedMap() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    velmora::MiniMapWindow& map = window->Mini().Map();
    Choose(*window, "ShowMiniMap1");
    QCOMPARE(Caption(*window, "ShowMiniMap1"), QString("hide MiniMap"));
    QVERIFY(window->Menu().Action("ShowMiniMap1")->isChecked());
    QVERIFY(map.Window()->isVisible());
    QCOMPARE(map.Paint()->size(), QSize(171, 171));
    Choose(*window, "ShowMiniMap1");
    QCOMPARE(Caption(*window, "ShowMiniMap1"), QString("show MiniMap"));
    QVERIFY(!window->State().ShowMiniMap);
    QVERIFY(map.Window()->isVisible());  // turning it off leaves the window up
  }

  void miniMapFramesThePaneTracesAndFollowsThePointer() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    AnalysisState& s = window->State();
    velmora::MiniMapWindow& map = window->Mini().Map();
    Choose(*window, "ShowMiniMap1");
    s.TraceOrder = 0;
    s.FirstChannel = GridChannel(1, 1);
    s.NrTraces = 3;
    window->UpdateDisplay();
    const QImage& image = map.Paint()->BackBuffer();
    QCOMPARE(image.pixel(8, 8), qRgb(0, 0, 0));          // frame of channel 17 at (1, 1)
    QCOMPARE(image.pixel(8, 108), QRgb(0xFFF0F0F0));     // (1, 11) is not shown
    emit map.Paint()->PointerMoved(20, 35);
    QCOMPARE(map.Window()->windowTitle(), QString("  X = 2     Y = 3   Ele = %1").arg(GridChannel(2, 3)));
    // The window is as narrow as the grid: the read-out stands in it whole, below the map.
    auto* readout = map.Window()->findChild<QLabel*>("MiniReadout");
    QVERIFY(readout != nullptr && readout->isVisible());
    QCOMPARE(readout->text(), QString("X = 2     Y = 3   Ele = %1").arg(GridChannel(2, 3)));
    QVERIFY(map.Window()->rect().contains(readout->geometry()));
    QVERIFY(readout->fontMetrics().horizontalAdvance("X = 100     Y = 100   Ele = -12345") <= readout->width());
    QVERIFY(readout->y() >= map.Paint()->geometry().bottom());
    QTest::mouseClick(map.Paint(), Qt::LeftButton, {}, QPoint(20, 35));
    QCOMPARE(s.FirstChannel, GridChannel(2, 3));
    QCOMPARE(ui.beeps, 1);  // one click, one beep: the window does not take it a second time
    QCOMPARE(image.pixel(18, 28), qRgb(0, 0, 0));        // the map followed the redraw
    emit map.Paint()->PointerMoved(10, 10);
    QTest::mouseClick(map.Window(), Qt::LeftButton, {}, QPoint(185, 185));  // beside the paint box
    QCOMPARE(s.FirstChannel, GridChannel(1, 1));
    emit map.Paint()->PointerMoved(200, 35);
    QVERIFY(map.Window()->windowTitle().endsWith("Ele = -1"));
    emit map.Paint()->Clicked(200, 35);
    QCOMPARE(s.FirstChannel, GridChannel(1, 1));
  }

  void arrowKeysOnTheMapMoveThroughTheGrid() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    AnalysisState& s = window->State();
    Choose(*window, "ShowMiniMap1");
    s.FirstCol = s.FirstRow = 2;
    QTest::keyClick(window->Mini().Map().Window(), Qt::Key_Right);
    QCOMPARE(s.FirstCol, 3);
    QTest::keyClick(window->Mini().Map().Window(), Qt::Key_Down);
    QCOMPARE(s.FirstRow, 3);
    QTest::keyClick(window->Mini().Map().Window(), Qt::Key_A);
    QCOMPARE(s.FirstCol, 3);
  }

  void miniGridItemShowsAndHidesTheGrid() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    velmora::MiniGridWindow& grid = window->Mini().Grid();
    Choose(*window, "showMiniGrid1");
    QCOMPARE(Caption(*window, "showMiniGrid1"), QString("hide Mini Window"));
    QVERIFY(grid.Window()->isVisible());
    QCOMPARE(grid.Paint()->size(), QSize(136, 128));
    QCOMPARE(grid.Paint()->BackBuffer().pixel(8, 8), qRgb(0, 0, 0));  // the dot of (1, 1)
    Choose(*window, "showMiniGrid1");
    QCOMPARE(Caption(*window, "showMiniGrid1"), QString("show Mini Window"));
    QVERIFY(!grid.Window()->isVisible());
  }

  void elgWaveformsDrawsGreenCellsInPaneA() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    AnalysisState& s = window->State();
    Choose(*window, "ElgWaveforms1");
    QCOMPARE(int(s.PaneKindA), 1);
    QCOMPARE(int(s.ElgModeA), 2);
    QCOMPARE(s.WaveSignalLength, s.WindowA);
    const QImage waveForms = window->PaneA()->Paint()->BackBuffer();
    QVERIFY(HasColour(waveForms, qRgb(0, 0x80, 0)));
    // The left edge of the cell grid, centred across the pane, from 20 pixels down.
    const int cellWidth = (s.PaneWidth - 50) / kCols, left = (s.PaneWidth - kCols * cellWidth) / 2;
    QCOMPARE(waveForms.pixel(left, 21), qRgb(0, 0, 0));
    QCOMPARE(waveForms.pixel(left - 1, 21), qRgb(255, 255, 255));
    Choose(*window, "Electrograms2");
    QCOMPARE(int(s.ElgModeA), 0);
    QVERIFY(window->PaneA()->Paint()->BackBuffer() != waveForms);
  }

  void clicksAndKeysOnWaveFormsLeaveMarksAlone() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    Choose(*window, "ElgWaveforms1");
    const int marks = window->State().MarkCount;
    for (int click = 0; click < 2; ++click) emit window->PaneA()->Paint()->Clicked(300, 300);
    QCOMPARE(window->State().MarkCount, marks);
    window->State().PointerReady = true;
    window->PaintAMouseMove(300, 300);
    QVERIFY(!window->FormKeyPress('S'));  // nor do the keys that act on the mark at the pointer
    Choose(*window, "Electrograms2");
    window->PaintAMouseMove(300, 300);
    QVERIFY(window->FormKeyPress('S'));
  }

  void settingsWindowTakesValuesOnOkOnly() {
    ScriptedUi ui;
    auto window = LoadedWindow(ui);
    QVERIFY(window);
    AnalysisState& s = window->State();
    velmora::WaveFormSettingsWindow& settings = window->Mini().Settings();
    Choose(*window, "ElgWavesettings1");
    QVERIFY(settings.Window()->isVisible());
    QCOMPARE(settings.EditSignalLength()->text(), QString::number(s.WaveSignalLength));
    QVERIFY(settings.CheckGrid()->isChecked());
    settings.CheckGrid()->setChecked(false);
    settings.CancelClick();
    QVERIFY(!settings.Window()->isVisible());
    QVERIFY(s.WaveGrid);
    Choose(*window, "ElgWavesettings1");
    QVERIFY(settings.CheckGrid()->isChecked());
    settings.CheckGrid()->setChecked(false);
    settings.CheckElgNr()->setChecked(true);
    for (const char* refused : {"12x", "0"}) {
      settings.EditSignalLength()->setText(refused);
      settings.OkClick();
      QVERIFY(QString::fromStdString(ui.errors.back()).startsWith("Signal length: "));  // names the field
    }
    QCOMPARE(ui.errors.size(), size_t(2));
    QVERIFY(settings.Window()->isVisible());
    QVERIFY(s.WaveGrid);
    settings.EditSignalLength()->setText("500");
    settings.OkClick();
    QVERIFY(!settings.Window()->isVisible());
    QVERIFY(!s.WaveGrid);
    QVERIFY(s.WavePlotElgNr);
    QCOMPARE(s.WaveSignalLength, 500);  // pane A shows electrograms, so no redraw took it over
  }
};

QTEST_MAIN(MiniWindowsTest)
#include "MiniWindowsTest.moc"
