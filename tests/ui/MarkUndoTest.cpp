#include <cmath>
#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

#include "core/AnalysisState.h"
#include "commands/RecordingCommands.h"
#include "history/MarkEditNames.h"
#include "history/MarkStep.h"
#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/MainMenu.h"
#include "ui/TMainF.h"

using velmora::AnalysisState;
using velmora::MainMenu;
using velmora::TMainF;
using velmora::testing::ScriptedUi;

namespace {

// 32 channels, flat except channels 17 to 19, which each dip once at a time of their own:
// 17 and 18 at once, 19 in a slow swing over a second, deep enough for the threshold method
// but without the steep fall of a slow wave.
bool WriteRecording(const QString& path) {
  return velmora::testing::WriteRecordingFile(path, 32, 6020, [](int f, int c) {
    const int dip = 1000 * (c - 16);
    if (c == 19 && f >= dip && f < dip + 1000) return qint16(std::lround(-500 * (1 - std::cos(2 * M_PI * (f - dip) / 1000))));
    return qint16(c >= 17 && c <= 18 && f >= dip && f < dip + 200 ? -1000 : 0);
  });
}

struct Store {
  std::vector<velmora::MarkRecord> marks;
  int32_t count = 0;
  bool changed = false;
};

Store Snapshot(const AnalysisState& s) { return {s.Marks, s.MarkCount, s.MarksChanged}; }

bool Same(const Store& store, const AnalysisState& s) {
  if (store.count != s.MarkCount || store.changed != s.MarksChanged || store.marks.size() != s.Marks.size()) return false;
  for (size_t i = 0; i < s.Marks.size(); ++i) {
    if (!velmora::SameMarkFields(store.marks[i], s.Marks[i])) return false;
  }
  return true;
}

}  // namespace

class MarkUndoTest : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_, files_;
  ScriptedUi ui_;
  std::unique_ptr<TMainF> window_;

  QAction* Item(const char* name) { return window_->Menu().Action(name); }

 private slots:
  void init() {
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
    QVERIFY(WriteRecording(files_.filePath("REC.E00")));
    QVERIFY(velmora::testing::WriteTextFile(files_.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"));
    window_ = std::make_unique<TMainF>(&ui_);
    window_->resize(1000, 700);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->State().DefaultMatrixFileName = files_.filePath("m.txt").toStdString();
    QVERIFY(window_->OpenRecording(files_.filePath("REC.E00").toStdString()));
  }
  void cleanup() { window_.reset(); }

  void ctrlZTakesBackAutomaticMarkingWholeAndCtrlShiftZPutsItBack() {
    const AnalysisState& s = window_->State();
    QVERIFY(!Item("UndoMarkEdit1")->isEnabled());
    QVERIFY(!Item("RedoMarkEdit1")->isEnabled());
    const Store before = Snapshot(s);
    Item("AutomaticSWmarking1")->trigger();
    QCOMPARE(s.MarkCount, 3);
    const Store after = Snapshot(s);
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo automatic marking"));
    QVERIFY(Item("UndoMarkEdit1")->isEnabled());

    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Same(before, s));
    QVERIFY(!Item("UndoMarkEdit1")->isEnabled());
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo"));
    QCOMPARE(MainMenu::Caption(Item("RedoMarkEdit1")), QString("Redo automatic marking"));

    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(Same(after, s));
    QVERIFY(!Item("RedoMarkEdit1")->isEnabled());
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo automatic marking"));
  }

  // Electrode 19 has no downstroke: it looks dead, and its mark goes when asked, as a step of
  // its own.
  void theMarksOfElectrodesThatLookDeadGoInAStepOfTheirOwn() {
    AnalysisState& s = window_->State();
    const size_t asked = ui_.questions.size();
    ui_.answers.push_back(velmora::Ui::Answer::Yes);
    Item("AutomaticSWmarking1")->trigger();
    QCOMPARE(ui_.questions.size(), asked + 1);
    QVERIFY2(ui_.questions.back().find("Electrode 19 looks dead") != std::string::npos, ui_.questions.back().c_str());
    const auto marksOf19 = [&s] {
      int count = 0;
      for (int n = 1; n <= s.MarkCount; ++n) count += s.Mark(n).Electrode == 19 && s.Mark(n).Kind == 1;
      return count;
    };
    QCOMPARE(marksOf19(), 0);
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo remove marks of dead electrodes"));
    Item("UndoMarkEdit1")->trigger();
    QCOMPARE(marksOf19(), 1);
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo automatic marking"));
  }

  void undoingUnhideMarksHidesThemAgain() {
    AnalysisState& s = window_->State();
    Item("AutomaticSWmarking1")->trigger();
    s.Mark(2).Visible = 0;
    window_->Recordings().RecordMarkEdits(velmora::MarkEditNames::kHideMarks);
    Item("UnhideMarks1")->trigger();
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo unhide marks"));
    Item("UndoMarkEdit1")->trigger();
    QCOMPARE(s.Mark(2).Visible, qint16(0));
    QCOMPARE(MainMenu::Caption(Item("UndoMarkEdit1")), QString("Undo hide marks"));
  }
};

QTEST_MAIN(MarkUndoTest)
#include "MarkUndoTest.moc"
