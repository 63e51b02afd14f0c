#include "ui/WindowSet.h"

#include <QWidget>

namespace velmora {

const std::vector<WindowSet::Description>& WindowSet::Descriptions() {
  static const std::vector<Description> descriptions = {
      {"TInit", "Init", false},
      {"TE00Form", "E00Form", false},
      {"TMapF", "MiniMap", true},
      {"TEleF", "EleF", true},
      {"TDspF", "DspF", false},
      {"TPrefF", "Preference Settings for Velmora2", false},
      {"TWaveForm", "Wave Statistics", true},
      {"TDataPadForm", "Data Pad", false},
      {"TMiniWindowF", "Mini Grid", true},
      {"TNewMarkForm", "Mark Statistics", false},
      {"TMacForm", "CopyToMac", true},
      {"TPrintForm", "PrintForm", true},
      {"TRefForm", "Reference Table", true},
      {"TAlyElgForm", "Analyse Electrogram", false},
      {"TStatsForm", "Statistics", false},
      {"TWaveF", "WaveF", false},
      {"TConnectF", "ConnectF", false},
      {"TImportF", "ImportF", false},
  };
  return descriptions;
}

WindowSet::WindowSet(QWidget* mainWindow) {
  for (const Description& description : Descriptions()) {
    Qt::WindowFlags flags = Qt::Window;
    if (description.staysOnTop) flags |= Qt::WindowStaysOnTopHint;
    auto* window = new QWidget(mainWindow, flags);
    window->setObjectName(description.className);
    window->setWindowTitle(description.caption);
    window->hide();
    windows_.emplace_back(window);
  }
}

// Whichever of the set and the main window goes first takes the windows with it.
WindowSet::~WindowSet() {
  for (const QPointer<QWidget>& window : windows_) delete window.data();
}

QWidget* WindowSet::Find(const QString& className) const {
  for (const QPointer<QWidget>& window : windows_)
    if (window && window->objectName() == className) return window.data();
  return nullptr;
}

}  // namespace velmora
