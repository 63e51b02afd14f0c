#pragma once

#include <QObject>

class QTableWidget;
class QWidget;

namespace velmora {

struct MarkStatistics;

// The "Mark Statistics" window: a grid of how many references, slow waves and spikes there
// are, by hand and automatic, and an "OK" button that hides it.
class MarkStatisticsWindow : public QObject {
  Q_OBJECT

 public:
  explicit MarkStatisticsWindow(QWidget* shell);

  void Fill(const MarkStatistics& counts);
  void Show();
  QTableWidget* Grid() const { return grid_; }
  QWidget* Window() const { return shell_; }

 signals:
  void okClicked();

 private:
  QWidget* shell_;
  QTableWidget* grid_;
};

}  // namespace velmora
