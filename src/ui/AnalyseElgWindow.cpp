#include "ui/AnalyseElgWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "core/AnalysisState.h"
#include "marks/ElectrogramAnalysis.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"
#include "ui/WindowButtons.h"

namespace velmora {

AnalyseElgWindow::AnalyseElgWindow(QWidget* shell, AnalysisState& state, Ui& ui)
    : QObject(shell), shell_(shell), state_(state), analysis_(std::make_unique<ElectrogramAnalysis>(state, ui)) {
  BuildLayout();
}

AnalyseElgWindow::~AnalyseElgWindow() = default;

void AnalyseElgWindow::BuildLayout() {
  paint_ = new PaneWidget(shell_);
  paint_->setObjectName("AlyPaint");
  paint_->setFixedSize(kPaintWidth, kPaintHeight);
  connect(paint_, &PaneWidget::RedrawNeeded, this, &AnalyseElgWindow::DisplayPanel);
  connect(paint_, &PaneWidget::PointerMoved, this, &AnalyseElgWindow::AlyPaintMouseMove);

  auto* fields = new QGridLayout;
  typeLabel_ = new QLabel("Slow Waves:", shell_);
  fields->addWidget(typeLabel_, 0, 0);
  int column = 1;
  for (auto [edit, caption] : {std::pair{&editMinDiff_, "Minimal Differentiated level"},
                               std::pair{&editSearchWidth_, "Search Width (msec)"},
                               std::pair{&editDiffDist_, "Diff Dist (samples)"}}) {
    fields->addWidget(new QLabel(caption, shell_), 0, column);
    *edit = new QLineEdit(shell_);
    fields->addWidget(*edit, 1, column++);
  }
  auto* readOuts = new QHBoxLayout;
  for (QLabel*& label : readOuts_) readOuts->addWidget(label = new QLabel(shell_));

  auto* buttons = new QHBoxLayout;
  connect(AddButton(shell_, buttons, "Down", "down"), &QPushButton::clicked, this, [this] { UpDown1Click(false); });
  connect(AddButton(shell_, buttons, "Up", "up"), &QPushButton::clicked, this, [this] { UpDown1Click(true); });
  connect(AddButton(shell_, buttons, "Update1", "Update"), &QPushButton::clicked, this, &AnalyseElgWindow::Update1Click);
  connect(AddButton(shell_, buttons, "Quit1", "Quit"), &QPushButton::clicked, this, &AnalyseElgWindow::Quit1Click);

  auto* layout = new QVBoxLayout(shell_);
  layout->addWidget(paint_);
  layout->addLayout(fields);
  layout->addLayout(readOuts);
  layout->addLayout(buttons);
}

void AnalyseElgWindow::AnalyseElg1Click() {
  shell_->show();
  shell_->raise();
  analysis_->Initialise(kPaintWidth);
  DisplayPanel();
}

void AnalyseElgWindow::DisplayPanel() {
  const std::string type = analysis_->TypeLabel();
  if (!type.empty()) typeLabel_->setText(QString::fromStdString(type));
  editMinDiff_->setText(QString::number(state_.MinDiffValSW));
  editSearchWidth_->setText(QString::number(state_.SearchWidthSW));
  editDiffDist_->setText(QString::number(state_.DiffDistSW));
  if (paint_->BackBuffer().size() != paint_->size()) return;  // drawn once the buffer is there
  {
    QPainter painter(&paint_->BackBuffer());
    QtCanvas canvas(painter);
    analysis_->DisplayPanel(canvas, kPaintWidth, kPaintHeight);
  }
  paint_->update();
}

void AnalyseElgWindow::UpDown1Click(bool up) {
  if (up ? analysis_->StepUp() : analysis_->StepDown()) DisplayPanel();
}

void AnalyseElgWindow::Update1Click() {
  if (analysis_->Update(editMinDiff_->text().toStdString(), editSearchWidth_->text().toStdString(),
                        editDiffDist_->text().toStdString()))
    DisplayPanel();
}

void AnalyseElgWindow::Quit1Click() {
  shell_->hide();
  emit closed();
}

void AnalyseElgWindow::AlyPaintMouseMove(int x, int) {
  const auto texts = analysis_->ReadOuts(x);
  for (int n = 0; n < 4; ++n) readOuts_[n]->setText(QString::fromStdString(texts[size_t(n)]));
}

}  // namespace velmora
