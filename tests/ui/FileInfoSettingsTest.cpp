#include <QAction>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/FloatingPanels.h"
#include "ui/MainMenu.h"
#include "ui/TMainF.h"

using velmora::TMainF;
using velmora::testing::ScriptedUi;

// "File Info" shows, below the editable text, how the marks were made.
class FileInfoSettingsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020, [](int f, int c) {
      return qint16(c == 18 && f >= 3000 && f < 3200 ? -1000 : 0);
    }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1000, 700);
    window_->show();
    window_->State().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
  }
  void cleanup() { window_.reset(); }

  void showsTheSettingsOfTheLastAutomaticMarkingOnlyOnceThereIsOne() {
    QAction* info = window_->Menu().Action("FileInfo1");
    info->trigger();
    QPlainTextEdit* settings = window_->Panels().InfoSettings();
    QVERIFY(settings->isHidden());
    window_->Menu().Action("AutomaticSWmarking1")->trigger();
    info->trigger();
    QVERIFY(!settings->isHidden());
    const QStringList lines = settings->toPlainText().split('\n');
    QCOMPARE(lines.first(), QString("marking.run: automatic SW marking"));
    QVERIFY2(lines.contains("marking.matrix: m.txt"), qPrintable(settings->toPlainText()));
  }
};

QTEST_MAIN(FileInfoSettingsTest)
#include "FileInfoSettingsTest.moc"
