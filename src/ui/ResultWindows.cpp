#include "ui/ResultWindows.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "core/Errors.h"
#include "core/Ui.h"
#include "marks/RecordingFiles.h"
#include "output/ResultPlots.h"
#include "output/ResultsCsv.h"
#include "output/SpectrumPlots.h"
#include "ui/QtCanvas.h"
#include "ui/WaveTableModel.h"

namespace velmora {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr int kPlotCols = 3, kPlotRows = 2;

PlotArea Cell(const QWidget& w, int col, int row, int cols, int rows) {
  const int width = w.width() / cols, height = w.height() / rows;
  const int gap = 6;
  return {col * width + gap, row * height + gap, width - 2 * gap, height - 2 * gap, w.logicalDpiY() / kPointsPerInch};
}

}  // namespace

WaveTableWindow::WaveTableWindow(const AnalysisState& state, Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), ui_(ui) {
  setObjectName("WaveTableWindow");
  setWindowTitle("Wave Table");
  model_ = new WaveTableModel(this);
  proxy_ = new QSortFilterProxyModel(this);
  proxy_->setSourceModel(model_);
  proxy_->setSortRole(WaveTableModel::kSortRole);
  view_ = new QTableView(this);
  view_->setModel(proxy_);
  view_->setSortingEnabled(true);
  view_->sortByColumn(0, Qt::AscendingOrder);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* copy = new QPushButton("Copy", this);
  auto* save = new QPushButton("Save as CSV ...", this);
  auto* plots = new QPushButton("Plots", this);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {copy, save, plots}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  layout->addLayout(buttons);
  connect(copy, &QPushButton::clicked, this, [this] { CopySelection(); });
  connect(save, &QPushButton::clicked, this, [this] { SaveCsv(); });
  connect(plots, &QPushButton::clicked, this, [this] { emit plotsAsked(); });
  connect(view_, &QTableView::clicked, this, [this](const QModelIndex& index) {
    const QModelIndex wave = proxy_->index(index.row(), 0);
    emit waveChosen(proxy_->data(wave, WaveTableModel::kSortRole).toInt());
  });
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  resize(1250, 460);
}

void WaveTableWindow::SetTable(WaveTable table) { model_->SetTable(std::move(table)); }

const WaveTable& WaveTableWindow::Table() const { return model_->Table(); }

QString WaveTableWindow::SelectedCsv() const {
  QList<int> rows;
  for (const QModelIndex& index : view_->selectionModel()->selectedRows()) rows << index.row();
  if (rows.isEmpty())
    for (int row = 0; row < proxy_->rowCount(); ++row) rows << row;
  std::sort(rows.begin(), rows.end());
  QString text = QString(ResultsCsv::kWaveHeader) + '\n';
  for (const int row : rows) {
    QStringList fields;
    for (int col = 0; col < proxy_->columnCount(); ++col) fields << proxy_->data(proxy_->index(row, col)).toString();
    text += fields.join(',') + '\n';
  }
  return text;
}

void WaveTableWindow::CopySelection() const { QApplication::clipboard()->setText(SelectedCsv()); }

void WaveTableWindow::SaveCsv() {
  const auto chosen = ui_.SaveFileDialog({"Save wave table", {"CSV files (*.csv)"}, 1, ""});
  if (!chosen) return;
  try {
    RecordingFiles::Write(state_, chosen->path, ResultsCsv::WaveTableText(Table()));
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

WavePlotsWindow::WavePlotsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("WavePlotsWindow");
  setWindowTitle("Wave Plots");
  resize(1050, 620);
}

void WavePlotsWindow::SetTable(const WaveTable& table) {
  table_ = table;
  update();
}

void WavePlotsWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  QtCanvas canvas(painter);
  int i = 0;
  for (const ResultPlots::Kind kind : ResultPlots::kAll) {
    ResultPlots::Draw(canvas, kind, Cell(*this, i % kPlotCols, i / kPlotCols, kPlotCols, kPlotRows), table_);
    ++i;
  }
}

SpectrumWindow::SpectrumWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("SpectrumWindow");
  setWindowTitle("Spectrum");
  resize(900, 380);
}

void SpectrumWindow::SetChannel(int channel, const std::vector<double>& samples) {
  channel_ = channel;
  spectrum_ = Spectrum::Of(samples, Spectrum::kRateHz);
  moments_ = Spectrum::OverTime(samples, Spectrum::kRateHz);
  setWindowTitle(QString("Spectrum of channel %1").arg(channel));
  update();
}

void SpectrumWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  QtCanvas canvas(painter);
  SpectrumPlots::DrawSpectrum(canvas, Cell(*this, 0, 0, 2, 1), spectrum_, channel_);
  SpectrumPlots::DrawOverTime(canvas, Cell(*this, 1, 0, 2, 1), moments_);
}

}  // namespace velmora
