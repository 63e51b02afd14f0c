#pragma once

#include <memory>

#include <QObject>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace velmora {

struct AnalysisState;
class ReferenceTable;
class Ui;

// The "Reference Table" window: the reference marks to choose from, a number to type, a new
// reference to insert and one to delete. Every action rebuilds the grid from the mark store;
// "OK" takes the chosen reference and "Cancel" keeps the old one, both ask for a redraw.
class ReferenceTableWindow : public QObject {
  Q_OBJECT

 public:
  ReferenceTableWindow(QWidget* shell, AnalysisState& state, Ui& ui);
  ~ReferenceTableWindow() override;

  void ReferenceTable1Click();
  QWidget* Window() const { return shell_; }
  QTableWidget* Grid() const { return grid_; }
  QLineEdit* EditNumber() const { return editNumber_; }
  QLineEdit* EditElectrode() const { return editElectrode_; }
  QLineEdit* EditTime() const { return editTime_; }
  QPushButton* InsertButton() const { return insertButton_; }
  QLabel* CurrentElectrode() const { return currentElectrode_; }
  QLabel* CurrentTime() const { return currentTime_; }

  void RefGridSelectCell(int row);
  void InsertRefNrChange();
  void InsertButtonClick();
  void DeleteButtonClick();
  void OkbuttonClick();
  void CancelButtonClick();

 signals:
  void closed();
  // Marks were added or deleted; `name` says how, for the Edit menu.
  void marksEdited(const char* name);

 private:
  void BuildLayout();
  void ShowTable();

  QWidget* shell_;
  AnalysisState& state_;
  Ui& ui_;
  std::unique_ptr<ReferenceTable> table_;
  QTableWidget* grid_;
  QLineEdit *editNumber_, *editElectrode_, *editTime_;
  QPushButton* insertButton_;
  QLabel *currentElectrode_, *currentTime_;
};

}  // namespace velmora
