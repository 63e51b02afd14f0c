#pragma once

#include <QTemporaryDir>

#include <memory>

#include "TestFiles.h"
#include "support/ScriptedUi.h"
#include "ui/TMainF.h"

namespace velmora::testing {

// The main window, shown at 1000 x 700, on a 32-channel recording of 6020 frames with a
// 3 x 3 matrix holding channels 17 to 19. Nothing when the files cannot be written or read.
inline std::unique_ptr<TMainF> OpenSmallRecording(const QTemporaryDir& dataHome, const QTemporaryDir& files,
                                                  ScriptedUi& ui) {
  qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
  if (!WriteRecordingFile(files.filePath("REC.E00"), 32, 6020) ||
      !WriteTextFile(files.filePath("m.txt"), "-2\n3 3 1 1\ncomment\n17 18 19\n"))
    return nullptr;
  ui = ScriptedUi();
  auto window = std::make_unique<TMainF>(&ui);
  window->resize(1000, 700);
  window->show();
  window->State().DefaultMatrixFileName = files.filePath("m.txt").toStdString();
  if (!window->OpenRecording(files.filePath("REC.E00").toStdString())) return nullptr;
  return window;
}

}  // namespace velmora::testing
