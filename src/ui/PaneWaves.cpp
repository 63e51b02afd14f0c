#include "ui/PaneWaves.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "ui/PanePainter.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

PaneWaves::PaneWaves(AnalysisState& state, PanePanel& paneA, PanePanel& paneB, Ui& ui, QWidget* panelParent,
                     MapDrawingHooks hooks)
    : state_(state), paneA_(paneA), paneB_(paneB), ui_(ui), hooks_(std::move(hooks)),
      waves_(std::make_unique<WaveMap>()) {
  panel_ = new QFrame(panelParent);
  panel_->setObjectName("MessagePanelWaves");
  panel_->setFrameShape(QFrame::Panel);
  panel_->setFrameShadow(QFrame::Raised);
  panel_->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(panel_);
  layout->addWidget(new QLabel("Calculating Wave maps .....", panel_));
  waveNr_ = new QLabel(panel_);
  waveNr_->setObjectName("LabelWaveNr");
  layout->addWidget(waveNr_);
  auto* cancel = new QPushButton("Cancel", panel_);
  cancel->setObjectName("CancelWavesButton");
  QObject::connect(cancel, &QPushButton::clicked, panel_, [this] { cancelRequested_ = true; });
  layout->addWidget(cancel);
  panel_->setGeometry(60, 60, 240, 100);
  panel_->hide();
}

PaneWaves::~PaneWaves() = default;

PanePanel& PaneWaves::Panel(int pane) const { return pane == 2 ? paneB_ : paneA_; }

WaveProgress PaneWaves::Progress() {
  WaveProgress progress;
  progress.Begin = [this] {
    cancelRequested_ = false;
    panel_->show();
    panel_->raise();
  };
  progress.Wave = [this](int wave) {
    waveNr_->setText(QString::number(wave));
    ui_.ProcessEvents();
  };
  progress.End = [this] { panel_->hide(); };
  progress.CancelAsked = [this] { return cancelRequested_; };
  return progress;
}

// A mark added while the panel lets commands run makes the waves stale again; they are
// calculated again before anything is painted.
void PaneWaves::CalculateWaves() {
  calculating_ = true;
  while (waves_->CalculateWavesIfStale(state_, ui_, Progress())) {
  }
  calculating_ = false;
}

const WaveMap& PaneWaves::CalculatedWaves() {
  if (!calculating_) CalculateWaves();
  return *waves_;
}

bool PaneWaves::Draw(int pane) {
  if (calculating_) return false;
  AnalysisState& s = state_;
  s.CurMapKind = pane == 2 ? s.MapKindB : s.MapKindA;
  CalculateWaves();
  const int32_t firstChannel = s.FirstChannel;
  PaneWidget* paint = Panel(pane).Paint();
  {
    PanePainter painter(*paint);
    waves_->MapWave(s, painter.Surface(), painter.Width(), painter.Height(), ui_, Progress(), hooks_);
  }
  paint->update();
  return s.FirstChannel != firstChannel;
}

void PaneWaves::DrawComposite() {
  if (calculating_) return;
  AnalysisState& s = state_;
  const bool paneB = s.ActivePane == 2 && s.TwoPanes && s.PaneKindB == 2;
  s.FocusA = !paneB;
  s.FocusB = paneB;
  s.CurMapKind = paneB ? s.MapKindB : s.MapKindA;
  PaneWidget* paint = Panel(paneB ? 2 : 1).Paint();
  {
    PanePainter painter(*paint);
    waves_->CompositeWaveMap(s, painter.Surface(), painter.Width(), painter.Height(), ui_);
  }
  paint->update();
}

}  // namespace velmora
