#pragma once

#include <functional>

#include <QDialog>

class QTabWidget;

namespace velmora {

struct AnalysisState;
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

 signals:
  // The window was hidden by "OK" or "Cancel": the panes redraw.
  void closed();

 protected:
  void reject() override;

 private:
  void LoadControls();
  void FocusField(const QString& control, const QString& page);

  AnalysisState& state_;
  std::function<Ui&()> ui_;
  QTabWidget* pages_;
};

}  // namespace velmora
