#pragma once

#include <optional>
#include <string>

#include <QByteArray>
#include <QPoint>
#include <QSettings>

#include "commands/PreferenceForm.h"
#include "core/DataRoot.h"
#include "core/Ui.h"

namespace velmora {

// What the workbench remembers between runs, in Workbench.ini in the data root: how the
// window was left (geometry, tiling, what the panes showed), the last folder of each file
// dialog and the filter of each open dialog, and the preferences the user saved as their
// own defaults, and where each small window was left. Nothing of the analysis changes unless the
// user saved defaults.
class WorkbenchSettings {
 public:
  static constexpr const char* kFileName = "Workbench.ini";

  struct Window {
    QByteArray geometry;
    bool twoPanes = false;
    bool tileStacked = true;
    int paneKindA = 1, paneKindB = 1;
    int mapKindA = 0, mapKindB = 0;
  };

  explicit WorkbenchSettings(const DataRoot& root);

  std::string Path() const;

  void SaveWindow(const Window& window);
  std::optional<Window> LoadWindow() const;
  // Where the user left the small window `name` (its object name); nothing before that.
  void SaveWindowPosition(const QString& name, QPoint position);
  std::optional<QPoint> LoadWindowPosition(const QString& name) const;

  // The request as the user left the dialog of that title: its last folder while it still
  // exists and, for an open dialog, the filter chosen last.
  Ui::FileDialogRequest Recall(const Ui::FileDialogRequest& request, bool save) const;
  void Remember(const Ui::FileDialogRequest& request, const Ui::FileDialogResult& result, bool save);

  void SaveDefaults(const PreferenceTexts& texts);
  // Nothing when the user has not saved any.
  std::optional<PreferenceTexts> LoadDefaults() const;
  void ForgetDefaults();

 private:
  mutable QSettings settings_;
};

}  // namespace velmora
