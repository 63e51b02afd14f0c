#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/AnalysisState.h"
#include "support/ScriptedUi.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/StatusPanel.h"
#include "ui/TMainF.h"
#include "ui/WindowSet.h"

using velmora::TMainF;
using velmora::Ui;
using velmora::testing::ScriptedUi;

namespace {

constexpr int kChannels = 32;

// An E00 recording: the 4096-byte header (header length, channel count, 2 bytes per sample)
// and `frames` frames of 32 channels after it; channel c carries a sine of period 50 frames.
void WriteRecording(const QString& path, int frames) {
  QByteArray bytes(4096, '\0');
  auto put = [&bytes](int offset, qint16 value) { qToLittleEndian(value, bytes.data() + offset); };
  put(2, 4096);
  put(86, kChannels);
  put(88, 2);
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < kChannels; ++c) {
      char sample[2];
      qToLittleEndian(qint16(std::lround(2000 * std::sin(f * 2 * M_PI / 50 + c))), sample);
      bytes.append(sample, 2);
    }
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

int CountPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dataHome_;
  QTemporaryDir files_;
  QString recording_, secondRecording_, matrix_;

  QString FilePath(const QString& name) const { return files_.filePath(name); }

  // A window over `ui` with the test matrix chosen and `recording` opened.
  std::unique_ptr<TMainF> WindowWithRecording(ScriptedUi& ui, const QString& recording) {
    auto window = std::make_unique<TMainF>(&ui);
    window->resize(900, 700);
    window->show();
    window->State().DefaultMatrixFileName = matrix_.toStdString();
    if (!window->OpenRecording(recording.toStdString())) return nullptr;
    return window;
  }

  QString LabelText(const TMainF& window, const char* name) const {
    return window.findChild<QLabel*>(name)->text();
  }

 private slots:
  void initTestCase() {
    QVERIFY(dataHome_.isValid());
    QVERIFY(files_.isValid());
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    recording_ = FilePath("REC.E00");
    secondRecording_ = FilePath("other.E01");
    matrix_ = FilePath("matrix.txt");
    WriteRecording(recording_, 200);
    WriteRecording(secondRecording_, 120);
    WriteText(matrix_, "-2\n3 3 1 1.5\ncomment\n17 18 19\n");
  }

  void startsWithItsCaptionAndOnlyPaneA() {
    ScriptedUi ui;
    TMainF window(&ui);
    window.resize(900, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString("Velmora304 (12 March  2009)"));
    QVERIFY(window.PaneB()->isHidden());
    QVERIFY(!window.PaneB()->isEnabled());
    QVERIFY(window.PaneA()->isVisible());
    auto* mainPanel = window.findChild<QWidget*>("MainPanel");
    QCOMPARE(window.PaneA()->geometry(), QRect(QPoint(0, 0), mainPanel->size()));
    QCOMPARE(window.PaneA()->Bar()->height(), 25);
    QCOMPARE(window.PaneA()->Bar()->objectName(), QString("TitleBarA"));
    QCOMPARE(window.PaneA()->Paint()->objectName(), QString("PaintA"));
    QCOMPARE(window.Status()->height(), 24);
    QCOMPARE(window.Status()->geometry().bottom(), window.centralWidget()->height() - 1);
    QVERIFY(window.Memo()->isHidden());
    QVERIFY(window.findChild<QWidget*>("MessagePanel")->isHidden());
    QVERIFY(ui.errors.empty());
  }

  void statusLabelsSitAtTheirPlaces() {
    ScriptedUi ui;
    TMainF window(&ui);
    const std::pair<const char*, int> labels[] = {
        {"FileNameLabel", 14}, {"MatrixLabel", 370}, {"RefTime1", 512}, {"SigLengthLabel", 644}, {"AmplitudeLabel", 812}};
    for (const auto& [name, left] : labels) {
      auto* label = window.findChild<QLabel*>(name);
      QVERIFY2(label != nullptr, name);
      QCOMPARE(label->x(), left);
    }
    QCOMPARE(LabelText(window, "SigLengthLabel"), QString(" Signal: 0 ms"));
    QCOMPARE(LabelText(window, "RefTime1"), QString(" Reference: 0 ms"));
    QCOMPARE(LabelText(window, "AmplitudeLabel"), QString(" Amplf: 0.01"));
    QCOMPARE(LabelText(window, "FileNameLabel"), QString());
  }

  // A matrix name wider than its place is shortened in the middle, not cut into "Reference".
  void aLongNameIsShortenedWithinItsLabel() {
    ScriptedUi ui;
    TMainF window(&ui);
    window.State().MatrixFileName = "/data/matrices/sample-nashville-gastric-antrum-matrix.txt";
    window.UpdateStatusBar();
    auto* matrix = window.findChild<QLabel*>("MatrixLabel");
    const QString shown = matrix->text();
    QVERIFY2(shown.startsWith("sample") && shown.endsWith(".txt") && shown.contains(QChar(0x2026)),
             qPrintable(shown));
    QVERIFY(matrix->x() + matrix->fontMetrics().horizontalAdvance(shown) < window.findChild<QLabel*>("RefTime1")->x());
  }

  void stateStartsAtItsStartValues() {
    ScriptedUi ui;
    TMainF window(&ui);
    const velmora::AnalysisState& s = window.State();
    QCOMPARE(s.NrTraces, 24);
    QCOMPARE(s.WindowA, 4000);
    QCOMPARE(s.FirstChannel, 17);
    QCOMPARE(s.Amplification, 0.01);
    QVERIFY(!s.FileLoaded);
    QVERIFY(!s.TwoPanes);
    QVERIFY(s.FocusA);
    QCOMPARE(int(s.PaneKindA), 1);
    // The data folders were laid out under XDG_DATA_HOME and the empty list was read.
    QVERIFY(QFile::exists(dataHome_.filePath("velmora/MyNewMatrix/FileList.Txt")));
    QVERIFY(s.RecentFileNames[0].empty());
  }

  void theOtherWindowsFollowInTheirOrderHidden() {
    ScriptedUi ui;
    TMainF window(&ui);
    const velmora::WindowSet& windows = window.Windows();
    const char* captions[] = {"Init", "E00Form", "MiniMap", "EleF", "DspF", "Preference Settings for Velmora2",
                              "Wave Statistics", "Data Pad", "Mini Grid", "Mark Statistics", "CopyToMac", "PrintForm",
                              "Reference Table", "Analyse Electrogram", "Statistics", "WaveF", "ConnectF", "ImportF"};
    QCOMPARE(windows.Count(), 18);
    for (int i = 0; i < 18; ++i) {
      QWidget* shell = windows.At(i);
      QCOMPARE(shell->windowTitle(), QString(captions[i]));
      QVERIFY(shell->isWindow());
      QVERIFY(shell->isHidden());
    }
    QCOMPARE(windows.At(0)->objectName(), QString("TInit"));
    QCOMPARE(windows.At(17)->objectName(), QString("TImportF"));
    QVERIFY(windows.Find("TRefForm")->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(windows.Find("TMapF")->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!windows.Find("TPrefF")->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(windows.Find("TNoSuchForm") == nullptr);
  }

  void openingARecordingShowsItsTraces() {
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    QVERIFY(ui.errors.empty());
    const velmora::AnalysisState& s = window->State();
    // 200 frames after the header; a 20-frame mean leaves 180 samples.
    QCOMPARE(s.SigLength, 180);
    QCOMPARE(s.WindowA, 180);
    QCOMPARE(s.WindowAll, 180);
    QCOMPARE(s.NrTraces, 3);
    QCOMPARE(LabelText(*window, "FileNameLabel"), QString("REC.E00"));
    QCOMPARE(LabelText(*window, "MatrixLabel"), QString("matrix.txt"));
    QCOMPARE(LabelText(*window, "SigLengthLabel"), QString(" Signal: 180 ms"));
    QCOMPARE(window->findChild<QLabel*>("FileNameLabel")->toolTip(), recording_);
    // Pane A's caption reads the window's time span, then the time and channel under the pointer.
    QVERIFY2(window->PaneA()->Caption().startsWith("(0-180) "), qPrintable(window->PaneA()->Caption()));
    QVERIFY(window->PaneA()->Caption().contains(" msec     Elenr = "));
    QVERIFY(QFile::exists(FilePath("REC.M00")));
    QVERIFY(std::find(ui.log.begin(), ui.log.end(), "NrOfFramesinFile=200") != ui.log.end());
    QCOMPARE(ui.progressPanels.size(), size_t(1));
    QCOMPARE(ui.progressPanels[0].fileName, std::string("REC.E00"));
    QCOMPARE(ui.progressHidden, 1);
    const QImage& buffer = window->PaneA()->Paint()->BackBuffer();
    QCOMPARE(buffer.size(), window->PaneA()->Paint()->size());
    QVERIFY(CountPixels(buffer, qRgb(0, 128, 0)) > 3 * 100);
  }

  void aBrokenFileLeavesTheEarlierRecording() {
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    const QString broken = FilePath("broken.E00");
    WriteText(broken, QByteArray(100, 'x'));
    QVERIFY(!window->OpenRecording(broken.toStdString()));
    QCOMPARE(ui.errors.size(), size_t(1));
    QVERIFY(QString::fromStdString(ui.errors[0]).contains("broken.E00"));
    QCOMPARE(window->State().ElgFileName, recording_.toStdString());
    QCOMPARE(window->State().SigLength, 180);
    QCOMPARE(LabelText(*window, "FileNameLabel"), QString("REC.E00"));
  }

  void aSecondRecordingReplacesTheFirst() {
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    QVERIFY(window->OpenRecording(secondRecording_.toStdString()));
    QCOMPARE(window->State().SigLength, 100);
    QCOMPARE(LabelText(*window, "FileNameLabel"), QString("other.E01"));
    QVERIFY2(window->PaneA()->Caption().startsWith("(0-100) "), qPrintable(window->PaneA()->Caption()));
    QVERIFY(ui.questions.empty());
  }

  void changedMarksAreOfferedBeforeAnotherRecordingOpens() {
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    window->State().MarksChanged = true;
    ui.answers.push_back(Ui::Answer::Cancel);
    QVERIFY(!window->OpenRecording(secondRecording_.toStdString()));
    QCOMPARE(ui.questions.size(), size_t(1));
    QCOMPARE(window->State().ElgFileName, recording_.toStdString());
    QVERIFY(window->State().MarksChanged);
    ui.answers.push_back(Ui::Answer::No);
    QVERIFY(window->OpenRecording(secondRecording_.toStdString()));
    QCOMPARE(window->State().ElgFileName, secondRecording_.toStdString());
  }

  void closingAsksAboutChangedMarks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes") << int(Ui::Answer::Yes) << true << true;
    QTest::newRow("No") << int(Ui::Answer::No) << true << false;
    QTest::newRow("Cancel") << int(Ui::Answer::Cancel) << false << false;
  }

  void closingAsksAboutChangedMarks() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    const QString markFile = FilePath("REC.M00");
    QVERIFY(QFile::remove(markFile));
    window->State().MarksChanged = true;
    ui.answers.push_back(Ui::Answer(answer));
    QCOMPARE(window->close(), closes);
    QCOMPARE(ui.questions.size(), size_t(1));
    QCOMPARE(QString::fromStdString(ui.questions[0]),
             QString("Some of the marks have been changed? Do you want to update these marks ?"));
    QCOMPARE(window->isVisible(), !closes);
    QCOMPARE(QFile::exists(markFile), written);
  }

  void closingWithoutChangedMarksAsksNothing() {
    ScriptedUi ui;
    auto window = WindowWithRecording(ui, recording_);
    QVERIFY(window != nullptr);
    QVERIFY(window->close());
    QVERIFY(ui.questions.empty());
  }

  void theFileMenuHasItsCommands() {
    ScriptedUi ui;
    TMainF window(&ui);
    auto* open = window.findChild<QAction*>("OpenFile1");
    auto* save = window.findChild<QAction*>("SaveMarks1");
    auto* quit = window.findChild<QAction*>("Quit1");
    QVERIFY(open && save && quit);
    QCOMPARE(open->text(), QString("Open File"));
    QCOMPARE(save->text(), QString("Save Marks+Connections"));
    QCOMPARE(save->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(quit->text(), QString("Quit"));
    QCOMPARE(quit->shortcut(), QKeySequence("Ctrl+Q"));
    window.State().DefaultMatrixFileName = matrix_.toStdString();
    ui.openDialogAnswers.push_back(Ui::FileDialogResult{recording_.toStdString(), 1});
    open->trigger();
    QCOMPARE(ui.openDialogs.size(), size_t(1));
    QCOMPARE(ui.openDialogs[0].title, std::string("Open electrogram file"));
    QCOMPARE(ui.openDialogs[0].filters.size(), size_t(6));
    QCOMPARE(ui.openDialogs[0].filters[0], std::string("E00 files (*.E* *.e*)"));
    QCOMPARE(window.State().ElgFileName, recording_.toStdString());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
