#pragma once

#include <memory>

#include <QObject>

class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace velmora {

struct AnalysisState;
class ElectrogramAnalysis;
class PaneWidget;
class Ui;

// The "Analyse Electrogram" window: one channel over its differentiated signal and the
// minimal level, the three slow-wave settings to edit, channel stepping and four read-outs.
// The drawing and its scale live in ElectrogramAnalysis; this only shows them.
class AnalyseElgWindow : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPaintWidth = 745;
  static constexpr int kPaintHeight = 229;

  AnalyseElgWindow(QWidget* shell, AnalysisState& state, Ui& ui);
  ~AnalyseElgWindow() override;

  void AnalyseElg1Click();
  void UpDown1Click(bool up);
  void Update1Click();
  void Quit1Click();
  void AlyPaintMouseMove(int x, int y);

  QWidget* Window() const { return shell_; }
  PaneWidget* Paint() const { return paint_; }
  const ElectrogramAnalysis& Analysis() const { return *analysis_; }
  QLineEdit* EditMinDiff() const { return editMinDiff_; }
  QLineEdit* EditSearchWidth() const { return editSearchWidth_; }
  QLineEdit* EditDiffDist() const { return editDiffDist_; }
  QLabel* TypeLabel() const { return typeLabel_; }
  QLabel* ReadOut(int n) const { return readOuts_[n]; }

 signals:
  void closed();

 private:
  void BuildLayout();
  void DisplayPanel();

  QWidget* shell_;
  AnalysisState& state_;
  std::unique_ptr<ElectrogramAnalysis> analysis_;
  PaneWidget* paint_ = nullptr;
  QLineEdit *editMinDiff_ = nullptr, *editSearchWidth_ = nullptr, *editDiffDist_ = nullptr;
  QLabel* typeLabel_ = nullptr;
  QLabel* readOuts_[4] = {};
};

}  // namespace velmora
