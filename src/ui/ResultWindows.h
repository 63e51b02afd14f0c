#pragma once

#include <functional>
#include <vector>

#include <QWidget>

#include "results/Spectrum.h"
#include "results/WaveTable.h"

class QSortFilterProxyModel;
class QTableView;

namespace velmora {

struct AnalysisState;
class Ui;
class WaveTableModel;

// Waves > "Wave Table": the waves of the recording, sortable by any column; a click shows
// the wave in the active pane, "Copy" puts the selected rows (all when none is selected) on
// the clipboard as CSV, "Save as CSV ..." writes the table as `summary` does.
class WaveTableWindow : public QWidget {
  Q_OBJECT

 public:
  WaveTableWindow(const AnalysisState& state, Ui& ui, QWidget* parent);
  void SetTable(WaveTable table);
  const WaveTable& Table() const;
  QTableView* View() const { return view_; }
  // The selected rows (all when none is) as CSV text with its header.
  QString SelectedCsv() const;
  void CopySelection() const;
  void SaveCsv();

 signals:
  void waveChosen(int wave);
  void plotsAsked();

 private:
  const AnalysisState& state_;
  Ui& ui_;
  WaveTableModel* model_ = nullptr;
  QSortFilterProxyModel* proxy_ = nullptr;
  QTableView* view_ = nullptr;
};

// The pictures of the report's first two pages, drawn by the same code: pattern timeline,
// frequency and speed over time, histograms of speed and frequency, and the rose of
// directions.
class WavePlotsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit WavePlotsWindow(QWidget* parent);
  void SetTable(const WaveTable& table);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  WaveTable table_;
};

// A channel's power spectrum and its dominant frequency over the recording.
class SpectrumWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SpectrumWindow(QWidget* parent);
  void SetChannel(int channel, const std::vector<double>& samples);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int channel_ = 0;
  Spectrum::Result spectrum_;
  std::vector<Spectrum::Moment> moments_;
};

}  // namespace velmora
