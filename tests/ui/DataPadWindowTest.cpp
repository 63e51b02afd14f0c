#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/DataPadWindow.h"
#include "ui/MainMenu.h"
#include "ui/StatisticsWindow.h"
#include "ui/StatusPanel.h"
#include "ui/TMainF.h"
#include "ui/WhichElectrodePanel.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMainF;
using velmora::Ui;
using velmora::testing::ScriptedUi;

class DataPadWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  velmora::DataPadWindow& Pad() { return window_->DataPad(); }
  velmora::WhichElectrodePanel* Panel() { return window_->WhichElectrode(); }
  void Mark(int channel, int kind, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, kind);
  }
  void Trigger(const char* item) {
    QAction* action = window_->Menu().Action(item);
    QVERIFY(action->isEnabled());
    action->trigger();
  }
  QString File(const char* name) { return files_.filePath(name); }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    // Slow waves every second: a fall of 400 units around each full second.
    QVERIFY(velmora::testing::WriteRecordingFile(File("REC.E00"), 32, 6020, [](int frame, int) {
      return qint16(std::lround(200 * std::cos(2 * M_PI * frame / 1000.0)));
    }));
    QVERIFY(velmora::testing::WriteTextFile(File("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1000, 700);
    window_->show();
    S().DefaultMatrixFileName = File("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(File("REC.E00").toStdString()));
  }

  void showDatapadNamesTheRecordingAndOkHidesThePad() {
    Trigger("showDatapad1");
    QVERIFY(Pad().Window()->isVisible());
    QCOMPARE(Pad().Window()->windowTitle(), QString("Data Pad"));
    QCOMPARE(Pad().DataGrid()->rowCount(), 300);
    QCOMPARE(Pad().DataGrid()->columnCount(), 7);
    QCOMPARE(Pad().DataGrid()->item(0, 0)->text(), File("REC.E00"));
    QTest::mouseClick(Pad().OkButton(), Qt::LeftButton);
    QVERIFY(!Pad().Window()->isVisible());
  }

  void calcAmplitudesWritesTheTableThatShowDatapadKeeps() {
    Mark(17, 1, 2000);
    Mark(18, 2, 2000);
    Mark(19, 1, 3000);
    Trigger("CalculateAmplitudesSlopes1");
    QCOMPARE(ui_.beeps, 1);
    QVERIFY(window_->Statistics().Window()->isVisible());
    Trigger("showDatapad1");
    QTableWidget* grid = Pad().DataGrid();
    QCOMPARE(grid->item(0, 1)->text(), QString("signalnr"));
    QCOMPARE(grid->item(0, 5)->text(), QString("time"));
    QCOMPARE(grid->item(1, 1)->text(), QString("17"));
    QCOMPARE(grid->item(1, 5)->text(), QString("2000"));
    QCOMPARE(grid->item(2, 1)->text(), QString("19"));
    QVERIFY(grid->item(1, 2)->text().contains('.'));
    QVERIFY(grid->item(3, 1) == nullptr || grid->item(3, 1)->text().isEmpty());
  }

  void fixedNameExportsGoBesideTheRecordingAndTheStatusLineSaysWhere() {
    Trigger("SaveEletotxt1");
    const QByteArray bytes = Read(File("Ele12Col.txt"));
    QCOMPARE(bytes.count('\n'), S().CurWindow);
    QCOMPARE(window_->Status()->NoteLabel()->text(), "Written: " + File("Ele12Col.txt"));
    QVERIFY(ui_.saveDialogs.empty());
  }

  void dialogExportsWriteTheChosenFile() {
    Mark(20, 1, 1000);
    ui_.saveDialogAnswers.push_back(Ui::FileDialogResult{File("marks.txt").toStdString(), 1});
    Trigger("SaveMarkstotxt1");
    QCOMPARE(Read(File("marks.txt")), (File("REC.E00") + "\n" + QString::number(S().SigLength) + "\n\n20\t1000").toUtf8());
    QCOMPARE(window_->Status()->NoteLabel()->text(), "Written: " + File("marks.txt"));
  }

  void theElectrodePanelKeepsAskingUntilAnElectrodeFrom17To255() {
    Mark(20, 1, 1000);
    Mark(20, 1, 2500);
    Trigger("saveallmarksinoneele1");
    QVERIFY(Panel()->isVisible());
    QCOMPARE(Panel()->pos(), QPoint(400, 300));
    for (const char* refused : {"16", "256"}) {
      Panel()->EditWhichEle()->setText(refused);
      QTest::mouseClick(Panel()->OkButton(), Qt::LeftButton);
      QVERIFY(Panel()->isVisible());
    }
    QVERIFY(ui_.saveDialogs.empty());
    QCOMPARE(S().WhichEle, 256);
    Panel()->EditWhichEle()->setText("x");
    QTest::mouseClick(Panel()->OkButton(), Qt::LeftButton);
    QCOMPARE(ui_.errors.size(), size_t(1));
    QVERIFY(Panel()->isVisible());

    ui_.saveDialogAnswers.push_back(Ui::FileDialogResult{File("ele.txt").toStdString(), 1});
    Panel()->EditWhichEle()->setText("20");
    QTest::mouseClick(Panel()->OkButton(), Qt::LeftButton);
    QVERIFY(!Panel()->isVisible());
    QVERIFY(Read(File("ele.txt")).endsWith("\n\nAvg:\tStDev\n40.00\t0.00\n"));

    Trigger("saveallmarksinoneele1");
    QTest::mouseClick(Panel()->CancelButton(), Qt::LeftButton);
    QVERIFY(!Panel()->isVisible());
  }

  void importAddsTheMarksOfTheFile() {
    QVERIFY(velmora::testing::WriteTextFile(File("in.txt"), "7\nm.txt\n1000\n2\n0\n\n\n17 100 1 0 0\n18 200 2 0 0\n"));
    ui_.openDialogAnswers.push_back(Ui::FileDialogResult{File("in.txt").toStdString(), 1});
    const int before = S().MarkCount;
    Trigger("Readmarksfromtxt1");
    QCOMPARE(S().MarkCount, before + 2);
    QCOMPARE(int(S().Mark(before + 2).Electrode), 18);
    QVERIFY(S().MarksChanged);
  }
};

QTEST_MAIN(DataPadWindowTest)
#include "DataPadWindowTest.moc"
