#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "support/ScriptedUi.h"
#include "ui/AnimationExport.h"

using velmora::AnalysisState;
using velmora::AnimationExport;
using velmora::Ui;
using velmora::testing::ScriptedUi;

// A loaded 2 x 1 grid of a 2000 ms recording with a slow wave on each electrode; the film
// runs from 0 to 1999 in steps of 100 ms: 20 frames.
class AnimationExportTest : public QObject {
  Q_OBJECT

  QTemporaryDir files_;
  ScriptedUi ui_;
  std::unique_ptr<AnalysisState> s_;

  void Place(int channel, int col, int row) {
    s_->ElectrodeX[size_t(channel - 1)] = col;
    s_->ElectrodeY[size_t(channel - 1)] = row;
    s_->GridCell(col, row) = channel;
  }
  void Mark(int channel, int time) {
    velmora::MarkRecord& m = s_->Mark(++s_->MarkCount);
    m = velmora::MarkRecord{};
    m.Electrode = uint16_t(channel);
    m.Kind = velmora::kSlowWave;
    m.Time = time;
  }
  std::string Choose(const QString& name) {
    const std::string path = files_.filePath(name).toStdString();
    ui_.saveDialogAnswers.push_back(Ui::FileDialogResult{path, 1});
    return path;
  }
  QStringList Entries(const QString& folder = {}) const {
    return QDir(files_.filePath(folder)).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
  }

 private slots:
  void init() {
    ui_ = ScriptedUi{};
    s_ = std::make_unique<AnalysisState>();
    velmora::SetDefaults(*s_);
    s_->FileLoaded = true;
    s_->SigLength = 2000;
    s_->NrCols = 2;
    s_->NrRows = 1;
    s_->ActivePane = 1;
    s_->MarkType = {1, 1};
    s_->ElgFileName = files_.filePath("rec.E00").toStdString();
    Place(17, 1, 1);
    Place(18, 2, 1);
    Mark(17, 300);
    Mark(18, 700);
  }
  void cleanup() {
    for (const QString& entry : Entries()) {
      QFileInfo info(files_.filePath(entry));
      if (info.isDir()) QDir(info.filePath()).removeRecursively();
      else QFile::remove(info.filePath());
    }
  }

  void writesAFilmWithOneFramePerStep() {
    const std::string film = Choose("anim.mp4");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QVERIFY2(ui_.errors.empty(), ui_.errors.empty() ? "" : ui_.errors.front().c_str());
    QVERIFY(QFileInfo(QString::fromStdString(film)).size() > 0);
    QCOMPARE(ui_.messages.back(), "20 frames written to " + film);
  }

  void cancellingLeavesNoFilmAndNoTemporaryFile() {
    Choose("anim.mp4");
    int calls = 0;
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [&calls](int done, int total) {
      ++calls;
      return !(done == 3 && total == 20);
    });
    QCOMPARE(calls, 3);
    QCOMPARE(Entries(), QStringList());
    QVERIFY(QString::fromStdString(ui_.messages.back()).startsWith("Export cancelled after 3 frames"));
  }

  void anyOtherNameGetsAFolderOfFrames() {
    Choose("frames.png");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QCOMPARE(Entries("frames").size(), 20);
    QVERIFY(Entries("frames").contains("frame00001.png"));
    QVERIFY(Entries("frames").contains("frame00020.png"));
  }

  void anEndPastTheRecordingIsCutAndSaidSoABeginPastItIsRefused() {
    s_->AnimEnd = 99999999;
    const std::string film = Choose("anim.mp4");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QCOMPARE(ui_.messages.back(), "20 frames written to " + film +
                                      "\nThe end time (99999999 ms) lies past the end of the recording: the film "
                                      "stops there, at 1999 ms");
    s_->AnimBegin = 2000;
    Choose("late.mp4");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QCOMPARE(ui_.errors.back(), std::string("The begin time (2000 ms) lies past the end of the recording (1999 ms)"));
    QVERIFY(!QFileInfo::exists(files_.filePath("late.mp4")));
  }

  void aZeroStepIsRefusedBeforeAnythingIsAsked() {
    s_->AnimStep = 0;
    Choose("anim.mp4");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QCOMPARE(int(ui_.errors.size()), 1);
    QCOMPARE(ui_.beeps, 1);
    QCOMPARE(int(ui_.saveDialogAnswers.size()), 1);  // the dialog was never shown
    QCOMPARE(Entries(), QStringList());
  }

  void withoutARecordingNothingIsAsked() {
    s_->FileLoaded = false;
    Choose("anim.mp4");
    AnimationExport::ExportAnimation1Click(*s_, ui_, nullptr, [](int, int) { return true; });
    QCOMPARE(ui_.beeps, 1);
    QCOMPARE(int(ui_.saveDialogAnswers.size()), 1);
  }
};

QTEST_MAIN(AnimationExportTest)
#include "AnimationExportTest.moc"
