#pragma once

#include <QFrame>

class QLineEdit;
class QPushButton;

namespace velmora {

// The small panel of the main window that asks for the electrode whose marks "All Marks in
// One Electrogram" writes.
class WhichElectrodePanel : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kLeft = 400, kTop = 300;

  explicit WhichElectrodePanel(QWidget* parent);

  // Shows the panel over the panes with the edit ready for typing.
  void ShowPanel();
  QLineEdit* EditWhichEle() const { return edit_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 signals:
  void okClicked();
  void cancelClicked();

 private:
  QLineEdit* edit_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace velmora
