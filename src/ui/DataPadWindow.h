#pragma once

#include <QObject>

#include "output/DataPadGrid.h"

class QPushButton;
class QTableWidget;
class QWidget;

namespace velmora {

// The "Data Pad" window: a text grid of seven columns that commands write results into, and
// "Ok", which hides it and asks for a redraw. The grid's cells can be selected and copied.
class DataPadWindow : public QObject {
  Q_OBJECT

 public:
  explicit DataPadWindow(QWidget* shell);

  // Shows the pad with the recording's name in the top left cell.
  void ShowDatapad(const std::string& recording);
  // Puts the model's cells into the grid the user sees.
  void ShowCells();
  void Button1Click();

  DataPadGrid& Model() { return model_; }
  QWidget* Window() const { return shell_; }
  QTableWidget* DataGrid() const { return grid_; }
  QPushButton* OkButton() const { return okButton_; }

 signals:
  void okClicked();

 private:
  QWidget* shell_;
  DataPadGrid model_;
  QTableWidget* grid_;
  QPushButton* okButton_;
};

}  // namespace velmora
