#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include "core/AnalysisState.h"
#include "ui/RememberedState.h"
#include "ui/TMainF.h"

namespace {

struct StartArguments {
  QString matrix;
  QString recording;
};

StartArguments ParseArguments(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Analyses multi-channel electrograms and maps their propagation.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption matrix("matrix", "Electrode matrix file (new format) for the recording.", "MATRIX");
  parser.addOption(matrix);
  parser.addPositionalArgument("RECORDING", "E00 recording to open at start.", "[RECORDING]");
  parser.process(app);
  StartArguments arguments;
  if (parser.isSet(matrix)) arguments.matrix = QFileInfo(parser.value(matrix)).absoluteFilePath();
  if (!parser.positionalArguments().isEmpty())
    arguments.recording = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
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
