#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "ui/LoadMessagePanel.h"
#include "ui/QtUi.h"

using velmora::LoadMessagePanel;
using velmora::QtUi;
using velmora::Ui;

namespace {

// Answers the next modal dialog that opens with `answer`, polling until it is there.
void AnswerNextDialog(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    answer(dialog);
  });
  timer->start();
}

void PressButton(QWidget* dialog, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(dialog);
  QVERIFY(box != nullptr);
  box->button(which)->click();
}

}  // namespace

class QtUiTest : public QObject {
  Q_OBJECT

 private:
  QWidget window_;
  QPlainTextEdit* memo_ = nullptr;
  LoadMessagePanel* panel_ = nullptr;

 private slots:
  void initTestCase() {
    window_.resize(800, 600);
    memo_ = new QPlainTextEdit(&window_);
    panel_ = new LoadMessagePanel(&window_);
    window_.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window_));
  }

  void logLinesGoToTheMemo() {
    QtUi ui(&window_, panel_, memo_);
    ui.Log("NrOfFramesinFile=200");
    ui.Log("reading.1.matrix.txt");
    QCOMPARE(memo_->toPlainText(), QString("NrOfFramesinFile=200\nreading.1.matrix.txt"));
  }

  void progressShowsNamesStepsAndHides() {
    QtUi ui(&window_, panel_, memo_);
    QVERIFY(panel_->isHidden());
    ui.ShowProgress({"rec.E00", "grid.txt", 256});
    QVERIFY(panel_->isVisible());
    QCOMPARE(panel_->findChild<QLabel*>("InputFileName1")->text(), QString("rec.E00"));
    QCOMPARE(panel_->findChild<QLabel*>("InputMatrixName1")->text(), QString("grid.txt"));
    QCOMPARE(panel_->findChild<QLabel*>("FileNameCaption")->text(), QString("File  Name:"));
    QCOMPARE(panel_->findChild<QLabel*>("MatrixNameCaption")->text(), QString("Matrix Name:"));
    auto* bar = panel_->findChild<QProgressBar*>("ProgressBar1");
    QCOMPARE(bar->maximum(), 256);
    QCOMPARE(bar->value(), 0);
    ui.SetProgressText("Smoothing electrogram nr = 1");
    ui.StepProgress();
    ui.StepProgress();
    QCOMPARE(bar->value(), 2);
    QCOMPARE(panel_->findChild<QLabel*>("MessageText")->text(), QString("Smoothing electrogram nr = 1"));
    QCOMPARE(panel_->width(), LoadMessagePanel::kStartWidth);
    QVERIFY(panel_->findChild<QLabel*>("MessageTitle")->isHidden());  // no heading, no empty line
    ui.HideProgress();
    QVERIFY(panel_->isHidden());
    // A heading names the work above the progress text.
    ui.ShowProgress({"run7.txt", "grid.txt", 24, "Smoothing electrograms ....."});
    auto* title = panel_->findChild<QLabel*>("MessageTitle");
    QVERIFY(title->isVisible());
    QCOMPARE(title->text(), QString("Smoothing electrograms ....."));
    QVERIFY(title->geometry().bottom() < panel_->findChild<QLabel*>("MessageText")->y());
    ui.HideProgress();
  }

  void cancelOnThePanelIsSeenUntilTheNextStart() {
    QtUi ui(&window_, panel_, memo_);
    ui.ShowProgress({"rec.E00", "grid.txt", 16});
    auto* cancel = panel_->findChild<QPushButton*>("CancelButton");
    QVERIFY(cancel != nullptr && cancel->isVisible());
    QCOMPARE(cancel->text(), QString("Cancel"));
    QVERIFY(!ui.CancelRequested());
    QTest::mouseClick(cancel, Qt::LeftButton);
    ui.ProcessEvents();
    QVERIFY(ui.CancelRequested());
    ui.HideProgress();
    ui.ShowProgress({"next.E00", "grid.txt", 16});
    QVERIFY(!ui.CancelRequested());
    ui.HideProgress();
  }

  void aLongFileNameWidensThePanel() {
    QtUi ui(&window_, panel_, memo_);
    const QString name = QString("a_recording_with_a_very_long_name_").repeated(3) + ".E00";
    const int nameWidth = QFontMetrics(panel_->findChild<QLabel*>("InputFileName1")->font()).horizontalAdvance(name);
    QVERIFY(nameWidth > LoadMessagePanel::kStartWidth);
    ui.ShowProgress({name.toStdString(), "grid.txt", 256});
    QCOMPARE(panel_->width(), nameWidth + 30);
    QCOMPARE(panel_->findChild<QLabel*>("InputFileName1")->width(), panel_->width() - 16);
    ui.HideProgress();
  }

  void questionsReturnTheButtonPressed() {
    QtUi ui(&window_, panel_, memo_);
    const std::pair<QMessageBox::StandardButton, Ui::Answer> cases[] = {
        {QMessageBox::Yes, Ui::Answer::Yes}, {QMessageBox::No, Ui::Answer::No}, {QMessageBox::Cancel, Ui::Answer::Cancel}};
    for (const auto& [button, answer] : cases) {
      QString shownText;
      AnswerNextDialog([&shownText, button = button](QWidget* dialog) {
        shownText = qobject_cast<QMessageBox*>(dialog)->text();
        PressButton(dialog, button);
      });
      QCOMPARE(ui.AskYesNoCancel("Save the marks?"), answer);
      QCOMPARE(shownText, QString("Save the marks?"));
    }
  }

  void inputQueryReturnsTheEditOrNothing() {
    QtUi ui(&window_, panel_, memo_);
    QString caption, prompt, value;
    AnswerNextDialog([&](QWidget* dialog) {
      auto* input = qobject_cast<QInputDialog*>(dialog);
      caption = input->windowTitle();
      prompt = input->labelText();
      value = input->textValue();
      input->setTextValue("2500");
      input->accept();
    });
    QCOMPARE(ui.InputQuery("Begin Time Display A", "Give new begin time:", "0"), std::optional<std::string>("2500"));
    QCOMPARE(caption, QString("Begin Time Display A"));
    QCOMPARE(prompt, QString("Give new begin time:"));
    QCOMPARE(value, QString("0"));
    AnswerNextDialog([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    QVERIFY(!ui.InputQuery("Begin Time Display A", "Give new begin time:", "0").has_value());
  }

  void messagesAreShownInBoxes() {
    QtUi ui(&window_, panel_, memo_);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    auto close = [&](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      text = box->text();
      icon = box->icon();
      box->accept();
    };
    AnswerNextDialog(close);
    ui.Message("Marks have been saved ");
    QCOMPARE(text, QString("Marks have been saved "));
    QCOMPARE(icon, QMessageBox::Information);
    AnswerNextDialog(close);
    ui.Error("rec.E00: the recording cannot be opened");
    QCOMPARE(text, QString("rec.E00: the recording cannot be opened"));
    QCOMPARE(icon, QMessageBox::Warning);
  }
};

QTEST_MAIN(QtUiTest)
#include "QtUiTest.moc"
