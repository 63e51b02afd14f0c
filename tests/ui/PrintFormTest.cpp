#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PrintWiring.h"
#include "ui/TMainF.h"
#include "ui/TPrintForm.h"
#include "ui/WindowSet.h"

using velmora::AnalysisState;
using velmora::TMainF;
using velmora::TPrintForm;
using velmora::testing::ScriptedUi;

class PrintFormTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  TPrintForm& Form() { return velmora::PrintWiring::Form(*window_); }
  QWidget* Shell() { return window_->Windows().Find("TPrintForm"); }
  QRadioButton* Radio(const char* group, const QString& text) {
    for (QRadioButton* button : Shell()->findChild<QGroupBox*>(group)->findChildren<QRadioButton*>())
      if (button->text() == text) return button;
    return nullptr;
  }
  // The page's MediaBox: width and height in points.
  static QSizeF PageSize(const QByteArray& pdf) {
    const int box = pdf.indexOf("/MediaBox [");
    if (box < 0) return {};
    const QList<QByteArray> numbers = pdf.mid(box + 11, 60).split(']').first().simplified().split(' ');
    return numbers.size() == 4 ? QSizeF(numbers[2].toDouble(), numbers[3].toDouble()) : QSizeF();
  }
  QByteArray PrintToPdf(const QString& name) {
    const QString path = files_.filePath(name);
    Form().Printer().setOutputFormat(QPrinter::PdfFormat);
    Form().Printer().setOutputFileName(path);
    QSignalSpy closed(&Form(), &TPrintForm::closed);
    Shell()->findChild<QPushButton*>("OK")->click();
    if (closed.count() != 1) return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(velmora::testing::WriteRecordingFile(files_.filePath("REC.E00"), 32, 6020,
                                                 [](int f, int c) { return qint16((f * c) % 400 - 200); }));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1000, 700);
    window_->show();
    S().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
  }

  void ctrlPShowsTheWindowPresetFromTheLastChoice() {
    QAction* item = window_->Menu().Action("Print1");
    QCOMPARE(item->shortcut(), QKeySequence("Ctrl+P"));
    QVERIFY(window_->Menu().Action("Printersetup1") != nullptr);
    S().FileInfo = "pig 12, antrum";
    S().TileStacked = true;
    item->trigger();
    QVERIFY(Shell()->isVisible());
    QCOMPARE(Shell()->windowTitle(), QString("PrintForm"));
    QVERIFY(Shell()->findChild<QGroupBox*>("RadioGroupRectangle")->isVisibleTo(Shell()));
    QVERIFY(!Shell()->findChild<QGroupBox*>("RadioGroupSquare")->isVisibleTo(Shell()));
    QCOMPARE(Shell()->findChild<QLineEdit*>("EditCaption")->text(), QString("pig 12, antrum"));
    QVERIFY(Radio("RadioGroupRectangle", "Print Top Panel")->isChecked());
    QVERIFY(Radio("OrientationGroup", "Landscape")->isChecked());
    QCOMPARE(Shell()->findChild<QCheckBox*>("CheckPrintOnlyMarks")->text(), QString("Do not print electrograms?"));
    // The next "Print" starts from the choice printed last.
    Radio("RadioGroupRectangle", "Print Both Panels")->setChecked(true);
    Radio("OrientationGroup", "Portrait")->setChecked(true);
    QVERIFY(!PrintToPdf("first.pdf").isEmpty());
    Radio("RadioGroupRectangle", "Print Top Panel")->setChecked(true);
    item->trigger();
    QVERIFY(Radio("RadioGroupRectangle", "Print Both Panels")->isChecked());
    QVERIFY(Radio("OrientationGroup", "Portrait")->isChecked());
  }

  void okPrintsOnePageInTheChosenOrientationAndHides() {
    window_->Menu().Action("Print1")->trigger();
    Radio("OrientationGroup", "Portrait")->setChecked(true);
    Shell()->findChild<QCheckBox*>("CheckPrintOnlyMarks")->setChecked(true);
    const QByteArray portrait = PrintToPdf("portrait.pdf");
    QVERIFY(portrait.startsWith("%PDF"));
    QVERIFY(!Shell()->isVisible());
    QVERIFY(S().PrintOnlyMarks);
    const QSizeF upright = PageSize(portrait);
    QVERIFY(upright.height() > upright.width());
    QCOMPARE(portrait.count("/Type /Page") - portrait.count("/Type /Pages"), 1);
    window_->Menu().Action("Print1")->trigger();
    Radio("OrientationGroup", "Landscape")->setChecked(true);
    const QSizeF across = PageSize(PrintToPdf("landscape.pdf"));
    QVERIFY(across.width() > across.height());
  }

  void sideBySideThePrintedPanelIsTheVisibleGroupsChoice() {
    S().TileStacked = false;
    window_->Menu().Action("Print1")->trigger();
    QVERIFY(Shell()->findChild<QGroupBox*>("RadioGroupSquare")->isVisibleTo(Shell()));
    QVERIFY(!Shell()->findChild<QGroupBox*>("RadioGroupRectangle")->isVisibleTo(Shell()));
    Radio("RadioGroupSquare", "Print Right Panel")->setChecked(true);
    QVERIFY(!PrintToPdf("right.pdf").isEmpty());
    QCOMPARE(Form().Settings().PrintPanel, 1);
  }

  void confirmedPrintDialogBringsThePrintWindowBack() {
    QSignalSpy closed(&Form(), &TPrintForm::closed);
    window_->Menu().Action("Printersetup1")->trigger();
    QPrintDialog* dialog = window_->findChild<QPrintDialog*>();
    QVERIFY(dialog != nullptr);
    QVERIFY(!Shell()->isVisible());
    S().FileInfo = "pig 3";
    dialog->accept();
    QVERIFY(Shell()->isVisible());
    QCOMPARE(closed.count(), 1);
    // Shown by the dialog, the window is preset as "Print" presets it.
    QCOMPARE(Shell()->findChild<QLineEdit*>("EditCaption")->text(), QString("pig 3"));
    QVERIFY(Radio("RadioGroupRectangle", "Print Top Panel")->isChecked());
  }

  void thePrintedPaneBarLeavesThePointerReadOutOut() {
    window_->UpdateDisplay();
    QVERIFY(window_->PaneA()->Caption().contains("Elenr"));  // the window's bar follows the pointer
    const velmora::PrintSources sources = velmora::PrintWiring::Sources(*window_);
    QCOMPARE(QString::fromStdString(sources.TitleBarA),
             QString("(%1-%2)").arg(S().BeginA).arg(S().BeginA + S().WindowA));
  }

  void cancelPrintsNothing() {
    window_->Menu().Action("Print1")->trigger();
    const QString path = files_.filePath("none.pdf");
    Form().Printer().setOutputFormat(QPrinter::PdfFormat);
    Form().Printer().setOutputFileName(path);
    QSignalSpy closed(&Form(), &TPrintForm::closed);
    Shell()->findChild<QPushButton*>("Cancel")->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!Shell()->isVisible());
    QVERIFY(!QFile::exists(path));
  }
};

QTEST_MAIN(PrintFormTest)
#include "PrintFormTest.moc"
