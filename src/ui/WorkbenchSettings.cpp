#include "ui/WorkbenchSettings.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

constexpr const char* kWindowGroup = "Window";
constexpr const char* kDefaultsGroup = "MyDefaults";

// A dialog's title as a key of its own: a slash would open a group.
QString DialogKey(const std::string& title, const char* what) {
  QString key = QString::fromStdString(title);
  key.replace('/', '_').replace('\\', '_');
  return QString("Dialogs/%1/%2").arg(key, what);
}

}  // namespace

WorkbenchSettings::WorkbenchSettings(const DataRoot& root)
    : settings_(QString::fromStdString(root.Root()) + "/" + kFileName, QSettings::IniFormat) {}

std::string WorkbenchSettings::Path() const { return settings_.fileName().toStdString(); }

void WorkbenchSettings::SaveWindow(const Window& window) {
  settings_.beginGroup(kWindowGroup);
  settings_.setValue("geometry", window.geometry);
  settings_.setValue("twoPanes", window.twoPanes);
  settings_.setValue("tileStacked", window.tileStacked);
  settings_.setValue("paneKindA", window.paneKindA);
  settings_.setValue("paneKindB", window.paneKindB);
  settings_.setValue("mapKindA", window.mapKindA);
  settings_.setValue("mapKindB", window.mapKindB);
  settings_.endGroup();
  settings_.sync();
}

std::optional<WorkbenchSettings::Window> WorkbenchSettings::LoadWindow() const {
  if (!settings_.childGroups().contains(kWindowGroup)) return std::nullopt;
  settings_.beginGroup(kWindowGroup);
  Window window;
  window.geometry = settings_.value("geometry").toByteArray();
  window.twoPanes = settings_.value("twoPanes", window.twoPanes).toBool();
  window.tileStacked = settings_.value("tileStacked", window.tileStacked).toBool();
  window.paneKindA = settings_.value("paneKindA", window.paneKindA).toInt();
  window.paneKindB = settings_.value("paneKindB", window.paneKindB).toInt();
  window.mapKindA = settings_.value("mapKindA", window.mapKindA).toInt();
  window.mapKindB = settings_.value("mapKindB", window.mapKindB).toInt();
  settings_.endGroup();
  return window;
}

void WorkbenchSettings::SaveWindowPosition(const QString& name, QPoint position) {
  settings_.setValue(QString("Windows/%1/position").arg(name), position);
  settings_.sync();
}

std::optional<QPoint> WorkbenchSettings::LoadWindowPosition(const QString& name) const {
  const QVariant position = settings_.value(QString("Windows/%1/position").arg(name));
  if (!position.canConvert<QPoint>() || position.isNull()) return std::nullopt;
  return position.toPoint();
}

Ui::FileDialogRequest WorkbenchSettings::Recall(const Ui::FileDialogRequest& request, bool save) const {
  Ui::FileDialogRequest recalled = request;
  const QString folder = settings_.value(DialogKey(request.title, "folder")).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) recalled.folder = folder.toStdString();
  const int filter = settings_.value(DialogKey(request.title, "filter"), 0).toInt();
  if (!save && filter >= 1 && filter <= int(request.filters.size())) recalled.filterIndex = filter;
  return recalled;
}

void WorkbenchSettings::Remember(const Ui::FileDialogRequest& request, const Ui::FileDialogResult& result,
                                 bool save) {
  settings_.setValue(DialogKey(request.title, "folder"),
                     QFileInfo(QString::fromStdString(result.path)).absolutePath());
  if (!save) settings_.setValue(DialogKey(request.title, "filter"), result.filterIndex);
  settings_.sync();
}

void WorkbenchSettings::SaveDefaults(const PreferenceTexts& texts) {
  settings_.remove(kDefaultsGroup);
  settings_.beginGroup(kDefaultsGroup);
  for (const auto& [name, text] : texts) settings_.setValue(QString::fromStdString(name), QString::fromStdString(text));
  settings_.endGroup();
  settings_.sync();
}

std::optional<PreferenceTexts> WorkbenchSettings::LoadDefaults() const {
  if (!settings_.childGroups().contains(kDefaultsGroup)) return std::nullopt;
  settings_.beginGroup(kDefaultsGroup);
  PreferenceTexts texts;
  for (const QString& name : settings_.childKeys()) texts[name.toStdString()] = settings_.value(name).toString().toStdString();
  settings_.endGroup();
  return texts;
}

void WorkbenchSettings::ForgetDefaults() {
  settings_.remove(kDefaultsGroup);
  settings_.sync();
}

}  // namespace velmora
