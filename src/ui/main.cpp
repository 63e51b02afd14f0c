#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include "core/AnalysisState.h"
#include "ui/RememberedState.h"
#include "ui/TMainF.h"
#include "core/TemporaryFiles.h"

namespace {

struct StartArguments {
  QString matrix;
  QString recording;
};

// A mark file (a double-click on REC.M00) opens the recording beside it (REC.E00).
QString RecordingOf(const QString& path) {
  const QFileInfo file(path);
  const QString suffix = file.suffix();
  const bool markFile = suffix.size() == 3 && suffix[0].toUpper() == 'M' && suffix[1].isDigit() && suffix[2].isDigit();
  if (!markFile) return path;
  const QString base = file.absolutePath() + "/" + file.completeBaseName() + ".";
  for (const QChar letter : {suffix[0].isUpper() ? 'E' : 'e', suffix[0].isUpper() ? 'e' : 'E'}) {
    const QString recording = base + letter + suffix.mid(1);
    if (QFileInfo::exists(recording)) return recording;
  }
  return path;
}

StartArguments ParseArguments(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Analyses multi-channel electrograms and maps their propagation.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption matrix("matrix", "Electrode matrix file (new format) for the recording.", "MATRIX");
  parser.addOption(matrix);
  parser.addPositionalArgument("RECORDING", "E00 recording (or its mark file) to open at start.", "[RECORDING]");
  parser.process(app);
  StartArguments arguments;
  if (parser.isSet(matrix)) arguments.matrix = QFileInfo(parser.value(matrix)).absoluteFilePath();
  if (!parser.positionalArguments().isEmpty())
    arguments.recording = RecordingOf(QFileInfo(parser.positionalArguments().first()).absoluteFilePath());
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  velmora::TemporaryFiles::RemoveOnSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Velmora");
  QApplication::setApplicationVersion(VELMORA_VERSION);
  const StartArguments arguments = ParseArguments(app);

  velmora::TMainF mainWindow;
  if (!arguments.matrix.isEmpty()) mainWindow.State().DefaultMatrixFileName = arguments.matrix.toStdString();
  if (velmora::RememberedState::Restore(mainWindow)) {
    mainWindow.show();
  } else {
    // Without a window manager "maximised" means nothing; the screen's size does the same.
    mainWindow.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    mainWindow.showMaximized();
  }
  // The recording opens once the window is on screen, so its load panel has a place to show.
  if (!arguments.recording.isEmpty())
    QTimer::singleShot(0, &mainWindow, [&] { mainWindow.OpenRecording(arguments.recording.toStdString()); });
  const int status = QApplication::exec();
  velmora::RememberedState::Save(mainWindow);
  return status;
}
