#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "commands/PreferenceForm.h"
#include "core/AnalysisState.h"
#include "support/ScriptedUi.h"
#include "TestFiles.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/RememberedState.h"
#include "ui/TMainF.h"
#include "ui/TPrefF.h"
#include "ui/WindowSet.h"
#include "ui/WorkbenchSettings.h"

using velmora::PreferenceForm;
using velmora::RememberedState;
using velmora::TMainF;
using velmora::TPrefF;
using velmora::Ui;
using velmora::WorkbenchSettings;
using velmora::testing::ScriptedUi;

// Runs of the workbench one after another on one data root: each window is a new run.
class RememberedStateTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dataHome_;
  ScriptedUi ui_;

  std::unique_ptr<TMainF> NewRun() {
    ui_ = ScriptedUi();
    auto window = std::make_unique<TMainF>(&ui_);
    window->resize(1000, 700);
    return window;
  }
  TPrefF& Preferences(TMainF& window) { return *window.findChild<TPrefF*>("TPrefF"); }
  QString SettingsPath() { return dataHome_->filePath("velmora/Workbench.ini"); }

 private slots:
  void init() {
    dataHome_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
  }

  void windowComesBackAsItWasLeft() {
    {
      auto first = NewRun();
      first->show();
      first->resize(900, 600);
      first->SetPanelTile();
      first->Menu().Action("square1")->trigger();
      first->SetPaneKind(1, 0);
      first->SetMapKind(2, 3, false);
      RememberedState::Save(*first);
    }
    auto second = NewRun();
    QVERIFY(RememberedState::Restore(*second));
    second->show();
    const auto& s = second->State();
    QVERIFY(s.TwoPanes);
    QVERIFY(!s.TileStacked);
    QVERIFY(second->Menu().Action("square1")->isChecked());
    QVERIFY(second->PaneB()->isVisible());
    QCOMPARE(int(s.PaneKindA), 0);
    QCOMPARE(int(s.PaneKindB), 1);
    QCOMPARE(int(s.MapKindB), 3);
    QCOMPARE(second->size(), QSize(900, 600));
  }

  void aWindowLeftTooSmallStartsAtTheScreensSizeInstead() {
    {
      auto first = NewRun();
      first->show();
      first->resize(200, 120);
      RememberedState::Save(*first);
    }
    QVERIFY(!RememberedState::Restore(*NewRun()));
  }

  void theMatrixChosenLastIsTheOneTheNextRunUses() {
    const QString matrix = dataHome_->filePath("grid.txt");
    QVERIFY(velmora::testing::WriteTextFile(matrix, "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    {
      auto first = NewRun();
      QVERIFY(first->State().DefaultMatrixFileName.empty());  // a first start has none
      ui_.openDialogAnswers.push_back(Ui::FileDialogResult{matrix.toStdString(), 1});
      first->Menu().Action("ChangeNewmatrixfile1")->trigger();
    }
    auto second = NewRun();
    QCOMPARE(second->State().DefaultMatrixFileName, matrix.toStdString());
  }

  // The small windows open over the panes, clear of the menu bar, and where the user left them
  // in the run before.
  void smallWindowsOpenOverThePanesAndWhereTheyWereLeft() {
    for (const char* name : {"TMapF", "TMiniWindowF", "TWaveF", "TRefForm", "TAlyElgForm"}) {
      {
        auto first = NewRun();
        first->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        QWidget* window = first->Windows().Find(name);
        window->show();
        const QRect menu(first->menuBar()->mapToGlobal(QPoint(0, 0)), first->menuBar()->size());
        const QRect panes(first->PaneA()->mapToGlobal(QPoint(0, 0)), first->PaneA()->size());
        QVERIFY2(!window->frameGeometry().intersects(menu), name);
        QVERIFY2(window->frameGeometry().intersects(panes), name);
        window->move(10, 250);
        window->hide();
      }
      auto second = NewRun();
      second->show();
      QVERIFY(QTest::qWaitForWindowExposed(second.get()));
      QWidget* window = second->Windows().Find(name);
      window->show();
      QCOMPARE(window->pos(), QPoint(10, 250));
    }
  }

  void firstRunAndUnsavedPreferencesStartFromTheDescribedDefaults() {
    {
      auto first = NewRun();
      QVERIFY(!RememberedState::Restore(*first));
      QCOMPARE(PreferenceForm::Load(first->State()), PreferenceForm::Described());
      first->State().MinDiffValSW = -77;  // changed by "OK" only: gone with the run
      RememberedState::Save(*first);
    }
    auto second = NewRun();
    RememberedState::Restore(*second);
    QCOMPARE(PreferenceForm::Load(second->State()), PreferenceForm::Described());
    QVERIFY(!QSettings(SettingsPath(), QSettings::IniFormat).childGroups().contains("MyDefaults"));
  }

  void savedDefaultsStartEveryRunUntilTheDescribedAreRestored() {
    {
      auto first = NewRun();
      TPrefF& dialog = Preferences(*first);
      dialog.ShowAndFill();
      dialog.findChild<QLineEdit*>("MinDiffValEdit1")->setText("-77");
      dialog.findChild<QPushButton*>("SaveDefaultsButton")->click();
      QVERIFY(dialog.isVisible());
      // Saved for the runs to come; this run changes only on "OK", not on "Cancel".
      dialog.findChild<QPushButton*>("CancelButton")->click();
      QCOMPARE(first->State().MinDiffValSW, -100);
    }
    {
      auto second = NewRun();
      RememberedState::Restore(*second);
      QCOMPARE(second->State().MinDiffValSW, -77);
      TPrefF& dialog = Preferences(*second);
      dialog.ShowAndFill();
      dialog.findChild<QPushButton*>("RestoreDefaultsButton")->click();
      QCOMPARE(dialog.findChild<QLineEdit*>("MinDiffValEdit1")->text(), QString("-100"));
      QCOMPARE(second->State().MinDiffValSW, -77);  // until "OK"
    }
    auto third = NewRun();
    RememberedState::Restore(*third);
    QCOMPARE(PreferenceForm::Load(third->State()), PreferenceForm::Described());
  }

  void badSavedDefaultsAreRefusedNamingTheFile() {
    QVERIFY(QDir().mkpath(dataHome_->filePath("velmora")));
    {
      QSettings settings(SettingsPath(), QSettings::IniFormat);
      settings.setValue("MyDefaults/MinDiffValSW", "-77");
      settings.setValue("MyDefaults/SearchWidthSW", "0");
    }
    auto run = NewRun();
    RememberedState::Restore(*run);
    QCOMPARE(PreferenceForm::Load(run->State()), PreferenceForm::Described());
    QCOMPARE(int(ui_.errors.size()), 1);
    QVERIFY(QString::fromStdString(ui_.errors[0]).contains(SettingsPath()));
    QVERIFY(QString::fromStdString(ui_.errors[0]).contains("Search Width"));
  }

  // A dialog opens in the folder it was left in, an open dialog with the filter chosen last;
  // a folder that is gone gives way to the command's own.
  void dialogsOpenWhereTheyWereLeft() {
    const velmora::DataRoot root(dataHome_->filePath("velmora").toStdString());
    QVERIFY(QDir().mkpath(dataHome_->filePath("recordings")));
    const Ui::FileDialogRequest open{"Open File", {"E00 (*.E0*)", "NI (*.txt)", "All (*.*)"}, 1, "/start"};
    const Ui::FileDialogRequest save{"Save picture", {"PNG (*.png)", "SVG (*.svg)"}, 1, ""};
    {
      WorkbenchSettings settings(root);
      QCOMPARE(settings.Recall(open, false).folder, std::string("/start"));
      settings.Remember(open, {dataHome_->filePath("recordings/a.E00").toStdString(), 3}, false);
      settings.Remember(save, {dataHome_->filePath("gone/p.svg").toStdString(), 2}, true);
    }
    const WorkbenchSettings later(root);
    const Ui::FileDialogRequest reopened = later.Recall(open, false);
    QCOMPARE(QString::fromStdString(reopened.folder), dataHome_->filePath("recordings"));
    QCOMPARE(reopened.filterIndex, 3);
    QCOMPARE(later.Recall(save, true).folder, std::string());
    QCOMPARE(later.Recall(save, true).filterIndex, 1);
  }
};

QTEST_MAIN(RememberedStateTest)
#include "RememberedStateTest.moc"
