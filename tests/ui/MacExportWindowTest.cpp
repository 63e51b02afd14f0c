#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "output/MacExport.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/TMacForm.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMacForm;
using velmora::TMainF;
using velmora::Ui;
using velmora::testing::ScriptedUi;

// A 3 x 2 grid (channels 17..22) of a 6000 ms recording; pane A shows its electrograms.
class MacExportWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  TMacForm& Form() { return TMacForm::Of(*window_); }
  void Mark(int channel, int kind, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, kind);
  }
  QString Chosen(const QString& name) {
    const QString path = files_.filePath(name);
    ui_.saveDialogAnswers.push_back(Ui::FileDialogResult{path.toStdString(), 1});
    return path;
  }
  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020,
                                                 [](int frame, int channel) { return qint16(frame % 50 * channel); }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n6 3 2 4\ncomment\n17 18 19\n20 21 22\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(900, 700);
    window_->show();
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
  }

  void toMacShowsTheCopyWindowOnTop() {
    QAction* item = window_->Menu().Action("SavetoMac1");
    QVERIFY(item->isEnabled());
    item->trigger();
    QWidget* shell = Form().Window();
    QVERIFY(shell->isVisible());
    QCOMPARE(shell->windowTitle(), QString("CopyToMac"));
    QVERIFY(shell->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(Form().Warning()->text(), QString("WARNING; only content of Display A is copied!"));
    QVERIFY(Form().Warning()->font().bold());
    const QStringList items = {"Copy Map", "Copy Electrograms", "Copy EleMap"};
    for (int index = 0; index < items.size(); ++index) {
      QCOMPARE(Form().Item(index)->text(), items[index]);
      QCOMPARE(qobject_cast<QGroupBox*>(Form().Item(index)->parentWidget())->title(), QString("Copy to Mac facility"));
    }
    QVERIFY(Form().Item(0)->isChecked());
    QCOMPARE(Form().OkButton()->text(), QString("OK"));
    QCOMPARE(Form().CancelButton()->text(), QString("Cancel"));
  }

  void okOffersTheRecordingsNameAndWritesTheChosenCopy() {
    Mark(18, 1, 1200);
    window_->Menu().Action("SavetoMac1")->trigger();
    Form().Item(1)->setChecked(true);
    const QString path = Chosen("traces.txt");
    Form().OkButton()->click();
    QVERIFY(!Form().Window()->isVisible());
    QCOMPARE(int(ui_.saveDialogs.size()), 1);
    QCOMPARE(QString::fromStdString(ui_.saveDialogs[0].folder), files_.filePath("REC.TXT"));
    const QByteArray written = Contents(path);
    QCOMPARE(written, QByteArray::fromStdString(velmora::MacExport::SignalsText(S())));
    // One trace object per trace and one marks object for channel 18's mark.
    QCOMPARE(written.left(written.indexOf('\n')), QByteArray::number(S().NrTraces + 1));
    QVERIFY(written.contains("\n4 1\n1201 50 -50 1200\n"));
  }

  void okCopiesPaneAsMapWhilePaneBShowsAnother() {
    for (int channel = 17; channel <= 21; ++channel) Mark(channel, 1, 1000 + channel);
    window_->Menu().Action("TimeMap1")->trigger();
    window_->SetPanelTile();
    S().BeginB = 5000;  // no marks in pane B's window: its map is empty
    S().WindowB = 500;
    window_->SetPaneKind(2, 0);
    window_->Menu().Action("SavetoMac1")->trigger();
    const QString path = Chosen("map.txt");
    Form().OkButton()->click();
    const QList<QByteArray> lines = Contents(path).split('\n');
    QCOMPARE(lines.value(0), QByteArray("2"));
    QCOMPARE(lines.value(6), QByteArray("1 5"));  // five digit lines, one per marked cell
    QVERIFY(lines.value(7).endsWith(" 1017"));
  }

  void cancelAndACancelledDialogWriteNothing() {
    window_->Menu().Action("SavetoMac1")->trigger();
    Form().CancelButton()->click();
    QVERIFY(!Form().Window()->isVisible());
    QVERIFY(ui_.saveDialogs.empty());

    window_->Menu().Action("SavetoMac1")->trigger();
    Form().OkButton()->click();  // the dialog is cancelled
    QVERIFY(!Form().Window()->isVisible());
    QCOMPARE(int(ui_.saveDialogs.size()), 1);
    QVERIFY(!QFile::exists(files_.filePath("REC.TXT")));
    QVERIFY(ui_.errors.empty());
  }

  void aCopyThatCannotBeMadeIsReportedAndWritesNothing() {
    S().MapRight = 0;  // no map has been drawn
    window_->Menu().Action("SavetoMac1")->trigger();
    const QString path = Chosen("no-map.txt");
    Form().OkButton()->click();
    QCOMPARE(int(ui_.errors.size()), 1);
    QVERIFY(!QFile::exists(path));
  }

  void toRealBasicWritesTheMarkTableOrReportsTheFile() {
    Mark(70, 1, 1200);
    const QString path = Chosen("marks.txt");
    window_->Menu().Action("SavetoRealBasic1")->trigger();
    QCOMPARE(QString::fromStdString(ui_.saveDialogs.at(0).folder), files_.filePath("REC.TXT"));
    const QList<QByteArray> lines = Contents(path).split('\n');
    QCOMPARE(lines.size(), 33);
    QCOMPARE(lines[5], QByteArray("6 1200  "));

    const std::string unwritable = files_.filePath("missing/marks.txt").toStdString();
    ui_.saveDialogAnswers.push_back(Ui::FileDialogResult{unwritable, 1});
    window_->Menu().Action("SavetoRealBasic1")->trigger();
    QCOMPARE(int(ui_.errors.size()), 1);
    QVERIFY(ui_.errors[0].find(unwritable) != std::string::npos);
  }
};

QTEST_MAIN(MacExportWindowTest)
#include "MacExportWindowTest.moc"
