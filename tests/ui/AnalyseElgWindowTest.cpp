#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/ElectrogramAnalysis.h"
#include "SmallRecordingWindow.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/AnalyseElgWindow.h"
#include "ui/MainMenu.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

class AnalyseElgWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  velmora::AnalyseElgWindow& Aly() { return window_->AnalyseElg(); }
  int RedRow() {
    const QImage& image = Aly().Paint()->BackBuffer();
    for (int y = 0; y < image.height(); ++y)
      if (image.pixelColor(5, y) == QColor(255, 0, 0)) return y;
    return -1;
  }

 private slots:
  void init() {
    window_ = velmora::testing::OpenSmallRecording(dataHome_, files_, ui_);
    QVERIFY(window_);
  }

  void updateMovesTheRedLineAndLeavesThePanesScaleAlone() {
    S().MarkType = {1, 1};
    S().Amplification = 0.1;
    const double sampleWidth = S().SampleWidth;
    const int traceHeight = S().TraceHeight;
    window_->Menu().Action("AnalyseElg1")->trigger();
    QVERIFY(Aly().Window()->isVisible());
    QCOMPARE(Aly().TypeLabel()->text(), QString("Slow Waves"));
    QCOMPARE(Aly().Analysis().Channel(), S().FirstChannel);
    QCOMPARE(S().SampleWidth, sampleWidth);
    QCOMPARE(S().TraceHeight, traceHeight);
    QVERIFY(RedRow() >= 0);
    const int before = RedRow();
    Aly().EditMinDiff()->setText(QString::number(S().MinDiffValSW - 200));
    Aly().Update1Click();
    QCOMPARE(RedRow(), before + 20);
  }

  void pointerReadOutsAndQuit() {
    window_->Menu().Action("AnalyseElg1")->trigger();
    Aly().AlyPaintMouseMove(30, 50);
    QCOMPARE(Aly().ReadOut(0)->text(), QString(" Sample nr: 20"));
    QVERIFY(Aly().ReadOut(2)->text().startsWith(" Amplitude: "));
    Aly().Quit1Click();
    QVERIFY(!Aly().Window()->isVisible());
  }
};

QTEST_MAIN(AnalyseElgWindowTest)
#include "AnalyseElgWindowTest.moc"
