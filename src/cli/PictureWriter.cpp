#include "cli/PictureWriter.h"

#include <optional>

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include "ui/PictureFile.h"

namespace velmora::cli {

namespace {

PictureFile::Format FileFormat(PictureWriter::Format format) {
  switch (format) {
    case PictureWriter::Format::Png: return PictureFile::Format::Png;
    case PictureWriter::Format::Pdf: return PictureFile::Format::Pdf;
    case PictureWriter::Format::Svg: return PictureFile::Format::Svg;
  }
  return PictureFile::Format::Png;
}

// Qt falls back to a runtime folder of its own where the session has none (a cluster node, a
// cron job) and says so on stderr, where a batch keeps a recording's messages: that notice is
// no message of ours and leaves, every other one stays.
QtMessageHandler passOn = nullptr;

void LeaveOutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  passOn(type, context, message);
}

struct QuietRuntimeFolder {
  QuietRuntimeFolder() { passOn = qInstallMessageHandler(LeaveOutRuntimeFolderNotice); }
  ~QuietRuntimeFolder() { qInstallMessageHandler(passOn); }
};

}  // namespace

void PictureWriter::WithGuiApplication(const std::function<void()>& body) {
  // The offscreen platform lets the tool run on machines without a display, while an
  // explicit QT_QPA_PLATFORM still wins.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velmora-cli";
  static char* argv[] = {name, nullptr};
  const QuietRuntimeFolder quiet;
  std::optional<QGuiApplication> app;
  if (QGuiApplication::instance() == nullptr) app.emplace(argc, argv);
  body();
}

void PictureWriter::Write(const std::string& path, Format format, int width, int height, const Drawing& draw) {
  WithGuiApplication([&] { PictureFile::Write(path, FileFormat(format), QSize(width, height), draw); });
}

}  // namespace velmora::cli
