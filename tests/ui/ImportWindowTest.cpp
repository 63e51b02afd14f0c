#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "marks/MarkJournal.h"
#include "marks/MarkStore.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/TImportF.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"

using velmora::AnalysisState;
using velmora::TImportF;
using velmora::TMainF;
using velmora::Ui;
using velmora::testing::ScriptedUi;

namespace {

// An Auckland file of 4 channels and `rows` rows at `rate` Hz; row r, channel c holds r.c.
QByteArray AucklandText(int rows, const char* samples, const char* rate) {
  QByteArray text = "10 lines\n4 channels\n";
  text += QByteArray(samples) + "\n" + rate + "\n0.5\nC:/MyNewMatrix/NewE48.txt\nfasted\n0\n0\n0\n";
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 4; ++c) text += QByteArray::number(r) + "." + QByteArray::number(c) + (c == 4 ? "\n" : " ");
  return text;
}

// 3 header lines, then `rows` lines of 48 tab-delimited values.
QByteArray NashvilleText(int rows) {
  QByteArray text = "a\nb\nc\n";
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 48; ++c) text += QByteArray::number(r * 100 + c) + (c == 48 ? "\n" : "\t");
  return text;
}

}  // namespace

class ImportWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;
  std::string e00_;

  AnalysisState& S() { return window_->State(); }
  TImportF& Import() { return window_->ImportF(); }
  std::string Write(const char* name, const QByteArray& text) {
    const QString path = files_.filePath(name);
    if (!velmora::testing::WriteTextFile(path, text)) return {};
    return path.toStdString();
  }
  void Open(const std::string& path, int filter) {
    ui_.openDialogAnswers.push_back(Ui::FileDialogResult{path, filter});
    window_->Menu().Action("OpenFile1")->trigger();
  }
  void ExpectE00StillLoaded() {
    QCOMPARE(S().ElgFileName, e00_);
    QCOMPARE(S().SigLength, 1980);
    QCOMPARE(S().SamplingF, 1000);
    QCOMPARE(S().Signal(10, 20), 7);
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 2000, [](int, int) { return 7; }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1000, 700);
    window_->show();
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    S().SmoothElectrograms = false;
    e00_ = files_.filePath("REC.E00").toStdString();
    QVERIFY(window_->OpenRecording(e00_));
  }

  void anAucklandFileShowsItsHeaderAndOkReadsIt() {
    Open(Write("auck.txt", AucklandText(600, "600", "500")), 5);
    QVERIFY(Import().Window()->isVisible());
    QCOMPARE(Import().Window()->windowTitle(), QString("ImportF"));
    const TImportF::Panel& panel = Import().AucklandInfoPanel();
    QVERIFY(panel.frame->isVisible());
    QVERIFY(!Import().NashvilleInfoPanel().frame->isVisible());
    QCOMPARE(panel.layout->text(), QString("Auckland Text File format"));
    QCOMPARE(panel.fileName->text(), QString("auck.txt"));
    // What memory holds, not the old store's 65,500.
    QCOMPARE(panel.maxSamples->text(), QString("Maximum number of samples = %1").arg(S().MaxSamples));
    QVERIFY(S().MaxSamples > 65500);
    const QStringList expected = {"10", "4", "600", "500", "0.5", "C:/MyNewMatrix/NewE48.txt", "fasted"};
    for (int line = 0; line < 7; ++line) QCOMPARE(panel.header[line]->text(), expected[line]);
    QVERIFY(panel.warning1->isHidden());
    ExpectE00StillLoaded();  // nothing is read before Ok
    panel.ok->click();
    QVERIFY(!Import().Window()->isVisible());
    QCOMPARE(S().Signal(599, 3), 60040);  // 600.4 in hundredths
    QCOMPARE(S().SigLength, 1200);
    QCOMPARE(window_->Menu().Action("SamplingFrequency1")->text(), QString("Sampling Frequency (500 Hz)"));
    QCOMPARE(S().NrCols, 16);
    QCOMPARE(window_->PaneA()->Bar()->OrderBox()->currentText(), QString("Sequential"));
    QVERIFY(QFile::exists(files_.filePath("auck.Mxt")));
  }

  void aRateOfZeroIsRefusedAndTheWindowKeepsTheValues() {
    Open(Write("nash.txt", NashvilleText(300)), 4);
    const TImportF::Panel& panel = Import().NashvilleInfoPanel();
    QVERIFY(panel.frame->isVisible());
    QCOMPARE(panel.layout->text(), QString("Nashville Text File format"));
    QCOMPARE(panel.channels->text(), QString("48"));
    QCOMPARE(panel.rate->text(), QString("30"));
    QCOMPARE(panel.matrixName->text(), QString("NewE48.txt"));
    panel.samples->setText("300");
    panel.rate->setText("0");
    panel.ok->click();
    QVERIFY(Import().Window()->isVisible());
    QCOMPARE(panel.rate->text(), QString("0"));
    QCOMPARE(ui_.errors.size(), size_t(1));
    QVERIFY(QString::fromStdString(ui_.errors[0]).startsWith("Sampling rate"));
    ExpectE00StillLoaded();
    panel.rate->setText("30");
    panel.ok->click();
    QVERIFY(!Import().Window()->isVisible());
    QCOMPARE(S().SigLength, 10000);
    QCOMPARE(S().Signal(299, 47), 30048);
  }

  // The E00 recording opened after a 30 Hz import is shown at its own rate and over its grid,
  // and the General menu says so.
  void anE00AfterAnImportTakesBackItsRateAndLayout() {
    Open(Write("nash.txt", NashvilleText(300)), 4);
    Import().NashvilleInfoPanel().samples->setText("300");
    Import().NashvilleInfoPanel().ok->click();
    QCOMPARE(window_->Menu().Action("SamplingFrequency1")->text(), QString("Sampling Frequency (30 Hz)"));
    S().BeginA = 5000;
    QVERIFY(window_->OpenRecording(e00_));
    ExpectE00StillLoaded();
    QVERIFY(!S().SamplingFChanged);
    QCOMPARE(S().BeginA, 0);
    QCOMPARE(window_->Menu().Action("SamplingFrequency1")->text(), QString("Sampling Frequency (1000 Hz)"));
    QCOMPARE(window_->PaneA()->Bar()->OrderBox()->currentText(), QString("Horizontal"));
  }

  // A refusal's message box sits over the import window, so that the window is in front again
  // once the box is answered, not behind the main window under the next clicks.
  void theImportWindowsOwnMessagesKeepItInFront() {
    TMainF window;  // with its own dialogs
    window.show();
    window.ImportF().LoadImportFile(velmora::LabImport::kNashville, Write("nash.txt", NashvilleText(30)));
    QWidget* over = nullptr;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        over = box->parentWidget();
        box->close();
      }
    });
    answer.start(10);
    window.ImportF().NashvilleInfoPanel().rate->setText("0");
    window.ImportF().NashvilleInfoPanel().ok->click();
    answer.stop();
    QCOMPARE(over, window.ImportF().Window());
    QVERIFY(window.ImportF().Window()->isVisible());
  }

  void tooManySamplesFillTheWarningLabels() {
    Open(Write("nash.txt", NashvilleText(20)), 4);
    S().MaxSamples = 65500;  // a limit of the old store's size, to cut at
    const TImportF::Panel& panel = Import().NashvilleInfoPanel();
    panel.samples->setText("70000");
    panel.ok->click();
    QCOMPARE(panel.warning1->text(), QString("WARNING *** There are too many samples in this file ***"));
    QCOMPARE(panel.warning2->text(), QString("*** The file will be truncated to 65500 samples ***"));
    QVERIFY(!panel.warning2->isHidden());
    QCOMPARE(panel.warning1->font().bold(), true);
    QCOMPARE(S().SigLength, 667);  // 20 rows at 30 Hz
  }

  void cancelLeavesTheLoadedRecording() {
    const int traces = S().NrTraces;
    for (int kind : {4, 5, 6}) {
      Open(Write("lab.txt", kind == 5 ? AucklandText(10, "10", "30") : NashvilleText(10)), kind);
      QVERIFY(Import().Window()->isVisible());
      const TImportF::Panel& panel = kind == 4   ? Import().NashvilleInfoPanel()
                                     : kind == 5 ? Import().AucklandInfoPanel()
                                                 : Import().ManchesterInfoPanel();
      panel.cancel->click();
      QVERIFY(!Import().Window()->isVisible());
      ExpectE00StillLoaded();
      QCOMPARE(S().NrTraces, traces);
      QVERIFY(!S().SamplingFChanged);
    }
    QVERIFY(!QFile::exists(files_.filePath("lab.Mxt")));
  }

  void theImportItemBringsTheWindowBackAsItWasLeft() {
    Open(Write("man.txt", NashvilleText(10)), 6);
    Import().ManchesterInfoPanel().rate->setText("250");
    Import().ManchesterCancelClick();
    window_->Menu().Action("ReadEleTextFile1")->trigger();
    QVERIFY(Import().Window()->isVisible());
    QVERIFY(Import().ManchesterInfoPanel().frame->isVisible());
    QCOMPARE(Import().ManchesterInfoPanel().rate->text(), QString("250"));
  }

  void recentEntriesOfTheImportKindsOpenTheirOwnPath() {
    const std::string path = Write("recent.txt", AucklandText(10, "10", "1000"));
    Open(Write("other.txt", NashvilleText(10)), 4);
    Import().NashvilleCancelClick();
    S().RecentFileKinds[0] = std::to_string(velmora::LabImport::kAuckland);
    S().RecentFileNames[0] = path;
    window_->ShowPrevFileClick(1);
    QVERIFY(Import().AucklandInfoPanel().frame->isVisible());
    QCOMPARE(Import().AucklandInfoPanel().fileName->text(), QString("recent.txt"));
  }

  // Marks of a laboratory recording are journalled as those of an E00 recording: edits left
  // unsaved are offered when the file is imported again; the recording the import replaced,
  // its changes not saved at the question, loses its journal.
  void laboratoryMarksHaveTheirJournal() {
    const auto addMark = [this](int time) {
      S().PointerChannel = 20;
      velmora::MarkStore::AddMarkRecord(S(), time, velmora::kSlowWave);
      S().MarksChanged = true;
      window_->Recordings().RecordMarkEdits();
    };
    addMark(700);
    const std::string e00Journal = velmora::MarkJournal::PathFor(S().MarkFileName);
    QVERIFY(QFile::exists(QString::fromStdString(e00Journal)));
    const std::string path = Write("nash.txt", NashvilleText(40));
    const auto import = [&] {
      Open(path, 4);
      Import().NashvilleInfoPanel().samples->setText("40");
      Import().NashvilleInfoPanel().ok->click();
      QCOMPARE(S().ElgFileName, path);
    };
    ui_.answers = {Ui::Answer::No};  // do not save the E00 recording's marks
    import();
    QVERIFY(!QFile::exists(QString::fromStdString(e00Journal)));
    addMark(900);
    const std::string labJournal = velmora::MarkJournal::PathFor(S().MarkFileName);
    QVERIFY(QFile::exists(QString::fromStdString(labJournal)));
    // The workbench ends without saving; a new one imports the file again.
    window_ = std::make_unique<TMainF>(&ui_);
    ui_.answers = {Ui::Answer::Yes};  // restore the edits
    import();
    QCOMPARE(S().MarkCount, 1);
    QCOMPARE(S().Mark(1).Time, 900);
    QVERIFY(S().MarksChanged);
  }

  void anNIFileIsReadWithoutTheNashvilleSetUp() {
    QByteArray text = "h\nh\nh\n";
    for (int r = 1; r <= 50; ++r) {
      text += "2024-03-01\t12:00:00.001";
      for (int c = 1; c <= 64; ++c) text += "\t0.000100";
      text += "\n";
    }
    ui_.inputs = {std::string("1000"), std::string("50")};
    Open(Write("ni.txt", text), velmora::RecordingCommands::kNIFilter);
    QCOMPARE(S().SigLength, 50);
    QVERIFY(!Import().Window()->isVisible());
    QCOMPARE(S().NrTraces, 64);
    QCOMPARE(S().SamplingF, 1000);
    QCOMPARE(window_->PaneA()->Bar()->OrderBox()->currentText(), QString("Sequential"));
  }
};

QTEST_MAIN(ImportWindowTest)
#include "ImportWindowTest.moc"
