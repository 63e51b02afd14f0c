#pragma once

#include <functional>

#include <QDialog>

#include "commands/PreferenceForm.h"

class QTabWidget;
class QPushButton;

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// The preferences window: six pages of analysis parameters, "OK" and "Cancel". It is made
// once, hidden, and filled from the state each time it is shown; the checking and storing
// belong to PreferenceForm, so the command line takes the same values.
class TPrefF : public QDialog {
  Q_OBJECT

 public:
  // `ui` gives whatever talks to the user at the moment the message is needed.
  TPrefF(AnalysisState& state, std::function<Ui&()> ui, QWidget* parent = nullptr);

  // Shows the window, brings it to the front and loads every control from the state.
  void ShowAndFill();
  void OKbuttonClick();
  void CancelButtonClick();
  // Checks the fields as "OK" does and keeps them as the start values of every later run; the
  // window stays open, and this run takes them only on "OK".
  void SaveDefaultsClick();
  // Forgets the saved start values and shows the described ones; "OK" takes them now.
  void RestoreDefaultsClick();
  // Where the user's own defaults are kept; without it the two buttons are not offered.
  void SetDefaultsRoot(const DataRoot* root);

 signals:
  // The window was hidden by "OK" or "Cancel": the panes redraw.
  void closed();

 protected:
  void reject() override;

 private:
  void LoadControls(const PreferenceTexts& texts);
  bool TakeControls(PreferenceTexts& texts, bool store);
  void FocusField(const QString& control, const QString& page);

  AnalysisState& state_;
  std::function<Ui&()> ui_;
  QTabWidget* pages_;
  const DataRoot* defaultsRoot_ = nullptr;
  QPushButton* saveDefaults_ = nullptr;
  QPushButton* restoreDefaults_ = nullptr;
};

}  // namespace velmora
