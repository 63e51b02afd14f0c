#pragma once

#include <string>
#include <vector>

#include <QObject>

class QPlainTextEdit;
class QWidget;

namespace velmora {

// The statistics window: the text of the map and interval statistics, an "Ok" button that
// hides it and a "save as text" button. It fills the window shell made at start.
class StatisticsWindow : public QObject {
  Q_OBJECT

 public:
  explicit StatisticsWindow(QWidget* shell);

  void SetLines(const std::vector<std::string>& lines);
  void AppendLines(const std::vector<std::string>& lines);
  void Show();
  QPlainTextEdit* Memo() const { return memo_; }
  QWidget* Window() const { return shell_; }

 signals:
  void okClicked();
  void saveClicked();

 private:
  QWidget* shell_;
  QPlainTextEdit* memo_;
};

}  // namespace velmora
