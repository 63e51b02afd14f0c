// A workbench killed in the middle of a marking session: started again on the same recording,
// it offers the unsaved edits and restores exactly the marks that were made.
//
// The session runs in a child process (this program started again with --marking-child), which
// marks by clicks and by automatic marking and, after each command, prints the marks its store
// holds and waits for a line on its input. The test kills it with SIGKILL at such a point, so
// the marks it printed last are exactly the marks made.
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "marks/TraceLayout.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

namespace {

constexpr const char* kChildFlag = "--marking-child";

// Slot by slot: electrode, kind and time, then the count.
QByteArray MarksOf(const AnalysisState& s) {
  QByteArray text = "marks " + QByteArray::number(s.MarkCount);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const velmora::MarkRecord& m = s.Mark(n);
    text += " " + QByteArray::number(m.Electrode) + ":" + QByteArray::number(m.Kind) + ":" + QByteArray::number(m.Time);
  }
  return text;
}

class MarkingSession {
 public:
  MarkingSession(const QString& files, ScriptedUi& ui) : window_(&ui) {
    window_.resize(1100, 700);
    window_.show();
    window_.State().DefaultMatrixFileName = (files + "/m.txt").toStdString();
    opened_ = window_.OpenRecording((files + "/REC.E00").toStdString());
    AnalysisState& s = window_.State();
    s.TraceOrder = 0;
    s.FirstChannel = 17;
    s.WindowA = 4000;
    s.BeginA = 1000;
    window_.UpdateDisplay();
  }

  bool Opened() const { return opened_; }
  AnalysisState& State() { return window_.State(); }

  // Every command of the session, each followed by a report and a wait for the go-ahead.
  void Run() {
    Click(1500, 1);  // the first click after opening only arms
    for (int k = 0; k < 4; ++k) {
      Click(1500 + 400 * k, 1 + k % 3);
      ReportAndWait();
    }
    window_.Menu().Action("AutomaticSWmarking1")->trigger();
    ReportAndWait();
    for (int k = 0; k < 3; ++k) {
      Click(3600 + 300 * k, 2);
      ReportAndWait();
    }
  }

 private:
  void Click(int ms, int trace) {
    const AnalysisState& s = window_.State();
    const QPoint at(s.TraceLeft + int(std::lround((ms - s.CurBegin) * s.SampleWidth)),
                    velmora::TraceLayout::Centre(s, trace));
    velmora::PaneWidget* pane = window_.PaneA()->Paint();
    QTest::mouseMove(pane, at);
    window_.PaintAMouseMove(at.x(), at.y());
    QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, at);
  }

  void ReportAndWait() {
    std::cout << MarksOf(window_.State()).toStdString() << std::endl;
    std::string goOn;
    std::getline(std::cin, goOn);
  }

  TMainF window_;
  bool opened_ = false;
};

int RunMarkingChild(int argc, char** argv) {
  QApplication app(argc, argv);
  ScriptedUi ui;
  MarkingSession session(QString::fromLocal8Bit(argv[2]), ui);
  if (!session.Opened()) return 3;
  session.Run();
  return 0;
}

}  // namespace

class CrashJournalTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;

  // Starts the session and kills it after `reports` reports; the last report it gave.
  QByteArray KillAfter(int reports) {
    QProcess child;
    QStringList arguments{kChildFlag, files_.path()};
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForStarted(10000)) return {};
    QByteArray last;
    for (int n = 1; n <= reports; ++n) {
      while (!child.canReadLine())
        if (!child.waitForReadyRead(30000)) return {};
      last = child.readLine().trimmed();
      if (n < reports) child.write("go on\n");
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(10000);
    return last;
  }

 private slots:
  void initTestCase() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020, [](int f, int c) {
      return qint16(c == 18 && f >= 3000 && f < 3200 ? -1000 : 0);
    }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
  }

  void aKilledSessionsMarksComeBackExactly_data() {
    QTest::addColumn<int>("reports");
    QTest::newRow("after two clicks") << 2;
    QTest::newRow("after automatic marking") << 5;
    QTest::newRow("at the end") << 8;
  }

  void aKilledSessionsMarksComeBackExactly() {
    QFETCH(int, reports);
    QFile::remove(files_.filePath("REC.M00"));
    QFile::remove(files_.filePath("REC.M00.velmora-journal"));
    const QByteArray made = KillAfter(reports);
    QVERIFY2(made.startsWith("marks "), made.constData());
    QVERIFY(!made.startsWith("marks 0"));

    ScriptedUi ui;
    ui.answers = {velmora::Ui::Answer::Yes};
    MarkingSession again(files_.path(), ui);
    QVERIFY(again.Opened());
    QCOMPARE(ui.questions.size(), size_t(1));
    QVERIFY(ui.questions[0].find("were not saved") != std::string::npos);
    QCOMPARE(MarksOf(again.State()), made);
    QVERIFY(again.State().MarksChanged);
  }
};

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kChildFlag) return RunMarkingChild(argc, argv);
  QApplication app(argc, argv);
  CrashJournalTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "CrashJournalTest.moc"
