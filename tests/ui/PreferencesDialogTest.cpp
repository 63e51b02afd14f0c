#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

#include "commands/RecordingCommands.h"
#include "conditioning/FilterChain.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "input/AcquisitionSampleRecording.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/TMainF.h"
#include "ui/TPrefF.h"

using velmora::TMainF;
using velmora::TPrefF;
using velmora::testing::ScriptedUi;

class PreferencesDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dataHome_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  TPrefF& Open() {
    window_->Menu().Action("Preferences1")->trigger();
    return *window_->findChild<TPrefF*>();
  }
  QLineEdit* Edit(TPrefF& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }
  QCheckBox* Box(TPrefF& dialog, const char* name) { return dialog.findChild<QCheckBox*>(name); }
  QPushButton* Button(TPrefF& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }

  // The amplitude of the 50 Hz part of a channel over its middle seconds, in store units.
  double MainsAmplitude(int channel) const {
    const velmora::AnalysisState& s = window_->State();
    double re = 0, im = 0;
    const int64_t from = 500, to = s.SignalRows() - 500;
    for (int64_t r = from; r < to; ++r) {
      const double phase = 2 * M_PI * 50.0 * double(r) / s.SamplingF;
      const double v = s.Signals[size_t(r * velmora::kChannels + channel - 1)];
      re += v * std::cos(phase);
      im += v * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / double(to - from);
  }
  std::vector<int32_t> Samples() const {
    const auto& store = window_->State().Signals;
    return std::vector<int32_t>(store.begin(), store.end());
  }

 private slots:
  void init() {
    dataHome_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
    ui_ = ScriptedUi();
    window_ = std::make_unique<TMainF>(&ui_);
  }
  void cleanup() { window_.reset(); }

  void opensHiddenThenShowsTheStartValuesOnNinePages() {
    TPrefF* dialog = window_->findChild<TPrefF*>();
    QVERIFY(dialog != nullptr);
    QVERIFY(!dialog->isVisible());
    Open();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Preference Settings for Velmora2"));
    auto* pages = dialog->findChild<QTabWidget*>();
    QStringList titles;
    for (int i = 0; i < pages->count(); ++i) titles << pages->tabText(i);
    QCOMPARE(titles,
             QStringList({"Automatic Markings", "Electrograms", "Map", "Velocities", "Animation", "Intervals",
                          "Marking", "Waves", "Filters"}));
    QCOMPARE(dialog->findChild<QComboBox*>("DetectionMethodChoice")->currentText(), QString("described"));
    const char* grid[] = {"MinDiffValEdit1", "WidthEdit1", "DiffDistEdit1", "MinDiffValEdit2", "WidthEdit2",
                          "DiffDistEdit2", "MinDiffValEdit3", "WidthEdit3", "DiffDistEdit3"};
    const char* start[] = {"-100", "300", "100", "-200", "100", "10", "-1", "300", "50"};
    for (int i = 0; i < 9; ++i) QCOMPARE(Edit(*dialog, grid[i])->text(), QString(start[i]));
    QVERIFY(dialog->findChild<QRadioButton*>("SearchCriteria1Item1")->isChecked());
    QVERIFY(Box(*dialog, "DoubleMarks1")->isChecked());
    QVERIFY(!Box(*dialog, "PlotOnlyPoints1")->isChecked());
    // No end time given: the film runs to the end of the recording, and the field says so
    // instead of showing a sentinel.
    QCOMPARE(Edit(*dialog, "EndSimEdit")->text(), QString());
    QCOMPARE(Edit(*dialog, "EndSimEdit")->placeholderText(), QString("end of the recording"));
    Button(*dialog, "OKbutton")->click();
    QCOMPARE(window_->State().AnimEnd, velmora::kNoValue);
  }

  void cancelStoresNothingAndRedraws() {
    TPrefF& dialog = Open();
    QSignalSpy closed(&dialog, &TPrefF::closed);
    Edit(dialog, "EditDigitType")->setText("3");
    Box(dialog, "PlotOnlyPoints1")->setChecked(true);
    Button(dialog, "CancelButton")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(window_->State().DigitType, 0);
    QVERIFY(!window_->State().PlotOnlyDots);
    Open();
    QCOMPARE(Edit(dialog, "EditDigitType")->text(), QString("0"));
  }

  void okStoresEveryControl() {
    TPrefF& dialog = Open();
    Edit(dialog, "EditDigitType")->setText("2");
    Edit(dialog, "NrExpCyclesEdit")->setText("4");
    dialog.findChild<QRadioButton*>("SearchCriteria1Item0")->setChecked(true);
    Box(dialog, "CheckLimitIntervals")->setChecked(true);
    Box(dialog, "DoubleMarks1")->setChecked(false);
    Edit(dialog, "DoubleWidth1")->setText("40");
    Box(dialog, "PlotOnlyPoints1")->setChecked(true);
    Button(dialog, "OKbutton")->click();
    QVERIFY(!dialog.isVisible());
    const velmora::AnalysisState& s = window_->State();
    QCOMPARE(s.DigitType, 2);
    QCOMPARE(s.NrExpandCycles, 4);
    QVERIFY(!s.SearchBelowLevel);
    QVERIFY(s.LimitIntervals);
    QVERIFY(!s.AvoidDoubleMarks);
    QCOMPARE(s.AvoidanceWidth, 5);
    QVERIFY(s.PlotOnlyDots);
    QVERIFY(ui_.errors.empty());
    // The panes redraw, and with them the menu's check marks.
    QVERIFY(window_->Menu().Action("CheckPlotOnlyDots")->isChecked());
  }

  void velocityMethodIsChosenFromAListAndShownAgain() {
    TPrefF& dialog = Open();
    auto* methods = dialog.findChild<QComboBox*>("VelocityMethodChoice");
    QVERIFY(methods != nullptr);
    QCOMPARE(methods->currentText(), QString("squares"));
    methods->setCurrentIndex(methods->findText("fit"));
    Edit(dialog, "VelocityFitRadiusEdit")->setText("3");
    Box(dialog, "VelocityFitQuadraticCheckBox")->setChecked(true);
    Button(dialog, "OKbutton")->click();
    const velmora::AnalysisState& s = window_->State();
    QCOMPARE(s.VelocityMethod, 2);
    QCOMPARE(s.VelocityFitRadius, 3);
    QVERIFY(s.VelocityFitQuadratic);
    window_->State().VelocityMethod = 1;
    Open();
    QCOMPARE(methods->currentText(), QString("smoothed"));
  }

  void badFieldKeepsTheWindowOpenStoresNothingAndFocusesIt() {
    TPrefF& dialog = Open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Edit(dialog, "MinDiffValEdit1")->setText("-50");
    Edit(dialog, "StepTimeEdit")->setText("0");
    Button(dialog, "OKbutton")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(window_->State().MinDiffValSW, -100);
    QCOMPARE(window_->State().AnimStep, 100);
    QCOMPARE(dialog.findChild<QTabWidget*>()->tabText(dialog.findChild<QTabWidget*>()->currentIndex()),
             QString("Animation"));
    QCOMPARE(dialog.focusWidget(), Edit(dialog, "StepTimeEdit"));
    QCOMPARE(ui_.errors.size(), size_t(1));
    QCOMPARE(QString::fromStdString(ui_.errors[0]),
             QString("\"Step Time\" on the page \"Animation\" must be a whole number from 1 to 2147483647"
                     " (not \"0\")."));
  }
  // A BDF recording with 400 uV of 50 Hz hum: OK with the notch on filters the loaded samples
  // without reopening (the mark stays); the dialog's Cancel, and a cancel while the samples
  // are read and filtered again, keep the chain and the samples of before.
  void changedFilterChainIsReappliedAndACancelPutsTheEarlierBack() {
    QTemporaryDir folder;
    velmora::SampleSettings settings;
    settings.seconds = 4;
    settings.impairments.mainsUv = 400;
    const auto files = velmora::AcquisitionSampleRecording::Write(velmora::AcquisitionSampleRecording::Format::Bdf,
                                                                  settings, 0, folder.path().toStdString());
    velmora::AnalysisState& s = window_->State();
    s.DefaultMatrixFileName = files.matrix;
    QVERIFY(window_->Recordings().OpenAcquisition(files.recording));
    QCOMPARE(s.Acquisition.filters, std::string("none"));
    const double hum = MainsAmplitude(40);
    QVERIFY2(hum > 200, std::to_string(hum).c_str());  // the hum is there to take out
    s.PointerChannel = 40;
    QVERIFY(velmora::MarkStore::AddMarkRecord(s, 1500, 1));

    TPrefF& dialog = Open();
    dialog.findChild<QComboBox*>("FilterMainsChoice")->setCurrentIndex(1);
    Button(dialog, "OKbutton")->click();
    QCOMPARE(s.Acquisition.filters, std::string("notch:50:3"));
    QVERIFY2(MainsAmplitude(40) < 0.05 * hum, std::to_string(MainsAmplitude(40)).c_str());
    QCOMPARE(s.MarkCount, 1);
    QCOMPARE(s.Mark(1).Time, 1500);
    const std::vector<int32_t> notched = Samples();

    Open();
    dialog.findChild<QComboBox*>("FilterMainsChoice")->setCurrentIndex(0);
    Button(dialog, "CancelButton")->click();
    QCOMPARE(velmora::FilterChain::FromState(s).mainsHz, 50);
    QVERIFY(Samples() == notched);

    Open();
    dialog.findChild<QComboBox*>("FilterMainsChoice")->setCurrentIndex(2);  // 60 Hz
    ui_.cancelAtEvents = ui_.processEventsCalls + 1;  // the progress panel's Cancel, at once
    Button(dialog, "OKbutton")->click();
    ui_.cancelAtEvents = 0;
    QCOMPARE(velmora::FilterChain::FromState(s).mainsHz, 50);
    QCOMPARE(s.Acquisition.filters, std::string("notch:50:3"));
    QVERIFY(Samples() == notched);
    QCOMPARE(s.MarkCount, 1);
  }
};

QTEST_MAIN(PreferencesDialogTest)
#include "PreferencesDialogTest.moc"
