#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "SmallRecordingWindow.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/ReferenceTableWindow.h"
#include "ui/StatusPanel.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::MarkStore;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

class ReferenceTableWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  AnalysisState& S() { return window_->State(); }
  velmora::ReferenceTableWindow& Table() { return window_->References(); }
  void Mark(int channel, int kind, int time) {
    S().PointerChannel = channel;
    MarkStore::AddMarkRecord(S(), time, kind);
  }

 private slots:
  void init() {
    window_ = velmora::testing::OpenSmallRecording(dataHome_, files_, ui_);
    QVERIFY(window_);
  }

  void ctrlROpensTheGridAndOkTakesTheClickedReference() {
    Mark(18, -1, 2500);
    QAction* item = window_->Menu().Action("ReferenceTable1");
    QCOMPARE(item->shortcut(), QKeySequence("Ctrl+R"));
    item->trigger();
    QVERIFY(Table().Window()->isVisible());
    QCOMPARE(Table().Grid()->rowCount(), 2);
    QCOMPARE(Table().Grid()->item(1, 0)->text(), QString("Nr 2"));
    Table().RefGridSelectCell(1);
    QCOMPARE(Table().CurrentElectrode()->text(), QString("18"));
    QCOMPARE(Table().EditNumber()->text(), QString("2"));
    Table().OkbuttonClick();
    QVERIFY(!Table().Window()->isVisible());
    QCOMPARE(S().ReferenceTime, 2500);
    QCOMPARE(window_->Status()->RefTime1()->text(), QString(" Reference: 2500 ms"));
    QCOMPARE(window_->Status()->RefTime1()->toolTip(), QString("Ref electrode =18"));
  }

  void cancelKeepsTheReferenceAndInsertWaitsForAnEdit() {
    window_->Menu().Action("ReferenceTable1")->trigger();
    QVERIFY(!Table().InsertButton()->isEnabled());
    QTest::keyClicks(Table().EditElectrode(), "20");
    QVERIFY(Table().InsertButton()->isEnabled());
    Table().EditElectrode()->setText("20");
    Table().EditTime()->setText("300");
    Table().InsertButton()->click();
    QCOMPARE(Table().Grid()->rowCount(), 2);
    Table().RefGridSelectCell(1);
    Table().CancelButtonClick();
    QCOMPARE(S().ReferenceTime, 0);
  }

  void aTypedNumberThatIsNoIntegerIsReportedAndChangesNothing() {
    window_->Menu().Action("ReferenceTable1")->trigger();
    Table().EditNumber()->setText("x");
    Table().InsertRefNrChange();
    QCOMPARE(ui_.errors.size(), size_t(1));
    QCOMPARE(Table().CurrentElectrode()->text(), QString("0"));
  }
};

QTEST_MAIN(ReferenceTableWindowTest)
#include "ReferenceTableWindowTest.moc"
