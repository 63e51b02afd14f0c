#include "ui/TMainF.h"

#include <filesystem>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "commands/DisplaySwitches.h"
#include "commands/PaneCaptions.h"
#include "commands/RecordingCommands.h"
#include "input/AcquisitionHeaderCheck.h"
#include "commands/ViewCommands.h"
#include "core/AnalysisState.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawingHooks.h"
#include "maps/MapStatistics.h"
#include "maps/WaveFormDrawing.h"
#include "maps/SpikeStatistics.h"
#include "maps/VelocityCalculation.h"
#include "ui/MarkStatisticsWindow.h"
#include "ui/StatisticsWindow.h"
#include "ui/AnalyseElgWindow.h"
#include "ui/ReferenceTableWindow.h"
#include "ui/WindowSet.h"
#include "core/Errors.h"
#include "input/E00Reader.h"
#include "input/MatrixChooser.h"
#include "input/RecentFiles.h"
#include "marks/AnalysisDisplay.h"
#include "maps/FrequencyMap.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkFile.h"
#include "marks/MarkSaving.h"
#include "marks/MarkSettingsFile.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"
#include "ui/DataPadWindow.h"
#include "ui/DataPadWiring.h"
#include "ui/FloatingPanels.h"
#include "ui/LoadMessagePanel.h"
#include "history/MarkEditNames.h"
#include "ui/MainMenu.h"
#include "ui/MarkUndoWiring.h"
#include "ui/MenuWiring.h"
#include "ui/MiniWindows.h"
#include "ui/PaneInput.h"
#include "ui/PaneMaps.h"
#include "ui/PanePainter.h"
#include "ui/PaneRouter.h"
#include "ui/PaneWaves.h"
#include "ui/PaneAnimation.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"
#include "ui/QtUi.h"
#include "ui/StatusPanel.h"
#include "ui/TImportF.h"
#include "ui/TitleBar.h"
#include "ui/WhichElectrodePanel.h"
#include "ui/WindowPlacement.h"

namespace velmora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QColor ToQColor(Colour colour) { return QColor::fromRgb(QRgb(0xFF000000u | colour)); }

}  // namespace

TMainF::TMainF(Ui* uiOverride, QWidget* parent)
    : QMainWindow(parent), state_(std::make_unique<AnalysisState>()), root_(DataRoot::FromEnvironment()) {
  setObjectName("TMainF");
  setWindowTitle(kCaption);
  BuildLayout();
  qtUi_ = std::make_unique<QtUi>(this, messagePanel_, memo_);
  ui_ = uiOverride != nullptr ? uiOverride : qtUi_.get();
  reader_ = std::make_unique<E00Reader>(*state_, *ui_, root_);
  view_ = std::make_unique<ViewCommands>(*state_, *ui_);
  recordings_ = std::make_unique<RecordingCommands>(*state_, *ui_, *reader_);
  input_ = std::make_unique<PaneInput>(*this, *state_, *ui_);
  maps_ = std::make_unique<PaneMaps>(*state_, *paneA_, *paneB_, MapHooks());
  waves_ = std::make_unique<PaneWaves>(*state_, *paneA_, *paneB_, *ui_, mainPanel_, MapHooks());
  animation_ = std::make_unique<PaneAnimation>(*this);
  drawingA_ = std::make_unique<ElectrogramDrawing>(*state_, paneCanvas_);
  drawingB_ = std::make_unique<ElectrogramDrawing>(*state_, paneCanvas_);
  analysis_ = std::make_unique<AnalysisDisplay>(*state_, paneCanvas_, *ui_, *drawingA_);
  waveForms_ = std::make_unique<WaveFormDrawing>(*state_, paneCanvas_);
  menu_ = new MainMenu(menuBar(), this);
  MenuWiring::Wire(*this);
  JournalEveryMenuCommand();
  qApp->installEventFilter(this);
  PrepareDataRoot();
  FormCreate();
  CreateOtherWindows();
}

Ui& TMainF::UiFor(QWidget* window) {
  if (ui_ != qtUi_.get()) return *ui_;
  std::unique_ptr<QtUi>& made = windowUis_[window];
  if (!made) made = qtUi_->ForWindow(window);
  return *made;
}

// The other windows come after the main window, in their fixed order; two of them carry the
// statistics this window computes.
void TMainF::CreateOtherWindows() {
  windows_ = std::make_unique<WindowSet>(this);
  mapStats_ = std::make_unique<MapStatistics>(MapStatistics::Units::Shown);
  spikeStats_ = std::make_unique<SpikeStatistics>();
  statistics_ = new StatisticsWindow(windows_->Find("TEleF"));
  markStats_ = new MarkStatisticsWindow(windows_->Find("TNewMarkForm"));
  mini_ = new MiniWindows(*this, *windows_);
  references_ = new ReferenceTableWindow(windows_->Find("TRefForm"), *state_, *ui_);
  connect(references_, &ReferenceTableWindow::closed, this, &TMainF::UpdateDisplay);
  analyseElg_ = new AnalyseElgWindow(windows_->Find("TAlyElgForm"), *state_, *ui_);
  connect(analyseElg_, &AnalyseElgWindow::closed, this, &TMainF::UpdateDisplay);
  importF_ = new TImportF(windows_->Find("TImportF"), *this);
  recordings_->SetImportPanelOpener([this](int kind, const std::string& path) { importF_->LoadImportFile(kind, path); });
  connect(statistics_, &StatisticsWindow::okClicked, this, &TMainF::UpdateDisplay);
  connect(statistics_, &StatisticsWindow::saveClicked, this, [this] {
    try {
      spikeStats_->SaveSpikeStats(*state_, *ui_);
    } catch (const IoError& error) {
      ui_->Error(error.what());
    }
  });
  connect(markStats_, &MarkStatisticsWindow::okClicked, this, [this] {
    state_->ShowMarkStatistics = false;
    UpdateDisplay();
  });
  dataPad_ = new DataPadWindow(windows_->Find("TDataPadForm"));
  whichElectrode_ = new WhichElectrodePanel(this);
  std::vector<QWidget*> shells;
  for (int i = 0; i < windows_->Count(); ++i) shells.push_back(windows_->At(i));
  placement_ = new WindowPlacement(mainPanel_, TitleBar::kHeight, menuBar(), root_, shells);
  DataPadWiring::WireWindows(*this);
  MarkUndoWiring::WireWindows(*this);
}

void TMainF::ShowMapStatistics1Click() {
  state_->ShowMapStatistics = true;
  statistics_->Show();
  std::vector<std::string> lines;
  mapStats_->CalcMapStats(*state_, lines);
  statistics_->SetLines(lines);
  UpdateDisplay();
}

void TMainF::SpikeStats1Click() {
  PrepareElectrogramLayout(1);
  std::vector<std::string> lines;
  spikeStats_->CalcSpikeStats(*state_, lines);
  statistics_->AppendLines(lines);
  statistics_->Show();
}

void TMainF::showmarkstatistics1Click() {
  state_->ShowMarkStatistics = !state_->ShowMarkStatistics;
  markStats_->Fill(MarkStore::CountMarks(*state_));
  if (state_->ShowMarkStatistics) markStats_->Show();
}

TMainF::~TMainF() {
  qApp->removeEventFilter(this);
}

void TMainF::BuildLayout() {
  auto* central = new QWidget(this);
  central->setObjectName("CentralArea");
  mainPanel_ = new QWidget(central);
  mainPanel_->setObjectName("MainPanel");
  mainPanel_->installEventFilter(this);
  paneA_ = new PanePanel("A", mainPanel_);
  paneB_ = new PanePanel("B", mainPanel_);
  connect(paneA_->Paint(), &PaneWidget::RedrawNeeded, this, &TMainF::UpdateDisplayA);
  connect(paneB_->Paint(), &PaneWidget::RedrawNeeded, this, [this] {
    if (state_->TwoPanes) UpdateDisplayB();
  });
  connect(paneA_->Paint(), &PaneWidget::PointerMoved, this, &TMainF::PaintAMouseMove);
  connect(paneB_->Paint(), &PaneWidget::PointerMoved, this, &TMainF::PaintBMouseMove);
  connect(paneA_->Paint(), &PaneWidget::Clicked, this, &TMainF::PaintAClick);
  connect(paneB_->Paint(), &PaneWidget::Clicked, this, &TMainF::PaintBClick);
  connect(paneA_->Paint(), &PaneWidget::DoubleClicked, this, [this](int x, int y) { input_->PaneDoubleClick(1, x, y); });
  connect(paneB_->Paint(), &PaneWidget::DoubleClicked, this, [this](int x, int y) { input_->PaneDoubleClick(2, x, y); });
  status_ = new StatusPanel(central);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(mainPanel_, 1);
  layout->addWidget(status_);
  setCentralWidget(central);
  BuildFloatingPanels();
}

void TMainF::BuildFloatingPanels() {
  memo_ = new QPlainTextEdit(mainPanel_);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setGeometry(20, 40, 480, 240);
  memo_->hide();
  messagePanel_ = new LoadMessagePanel(mainPanel_);
  panels_ = new FloatingPanels(mainPanel_);
}

// Without its folders the workbench still runs: recordings open, only the matrix files and
// the recent-files list are missing, and reading the list says so next.
void TMainF::PrepareDataRoot() {
  try {
    root_.EnsureExists();
  } catch (const IoError& error) {
    ui_->Error(error.what());
  }
}

// The state's constructor has given every variable its start value; what remains of the
// start is to put the panes in their start state and to read the recent-files list.
void TMainF::FormCreate() {
  ShowPanesAtStart();
  // The matrix chosen last, in this run or an earlier one, is the one the next recording uses.
  state_->DefaultMatrixFileName = MatrixChooser::RememberedNewMatrix(root_);
  if (RecentFiles::Read(*state_, root_.RecentFilesPath(), *ui_)) UpdateChecks();
  UpdateStatusBar();
  UpdateHints();
}

void TMainF::ShowPanesAtStart() {
  paneB_->setEnabled(false);
  paneB_->hide();
  menu_->Menu("DisplayB1")->menuAction()->setEnabled(false);
  menu_->Action("SamplingFrequency1")->setText(Q(ViewCommands::SamplingFrequencyCaption(state_->SamplingF)));
  menu_->Action("PanelTileMenu")->setText("Tile on");
  SetPanels();
  SetTitleBars();
}

bool TMainF::OpenRecording(const std::string& path) {
  const bool acquisition = AcquisitionHeaderCheck::Handles(path);
  if (!(acquisition ? recordings_->OpenAcquisition(path) : recordings_->OpenE00(path))) return false;
  RecordingLoaded();
  return true;
}

// The controls that show what the loaded recording set: its rate in the General menu, the
// trace order in pane A's box and the memo; then the panes show it.
void TMainF::RecordingLoaded() {
  menu_->Action("SamplingFrequency1")->setText(Q(ViewCommands::SamplingFrequencyCaption(state_->SamplingF)));
  if (state_->Bipolar == 0) paneA_->Bar()->ShowTraceOrder(state_->TraceOrder);  // "Bipolar" stays chosen
  memo_->setVisible(state_->MemoVisible);
  UpdateDisplay();
}

void TMainF::Apply(Redraw redraw) {
  MarkUndoWiring::CommandEnded(*this, MarkHistory::kUnnamedEdit);
  switch (redraw) {
    case Redraw::None: return;
    case Redraw::PaneA: UpdateDisplayA(); return;
    case Redraw::PaneB: if (state_->TwoPanes) UpdateDisplayB(); return;
    case Redraw::All: UpdateDisplay(); return;
  }
}

void TMainF::UpdateDisplay() {
  MarkUndoWiring::CommandEnded(*this, MarkHistory::kUnnamedEdit);
  UpdateStatusBar();
  UpdateHints();
  UpdateChecks();
  UpdateDisplayA();
  if (state_->TwoPanes) UpdateDisplayB();
  if (mini_ != nullptr) mini_->DisplayUpdated();
}

void TMainF::UpdateDisplayA() {
  AnalysisState& s = *state_;
  const int32_t pointerPane = s.ActivePane;
  s.FocusA = true;
  s.FocusB = false;
  s.ActivePane = 1;
  SetTitleBars();
  UpdateChecks();
  if (s.PaneKindA == 1) {
    DrawElectrogramPane(1);
    if (mini_ != nullptr) mini_->PaneADrawn();
  } else if (s.PaneKindA == 0) {
    maps_->Draw(1);
  } else if (s.PaneKindA == PaneAnimation::kPaneKind) {
    animation_->Draw(1);
  } else {
    waves_->Draw(1);
    maps_->ForgetHeldMap();
  }
  DisplayCaptionA();
  ReturnToPointerPane(pointerPane);
}

void TMainF::UpdateDisplayB() {
  AnalysisState& s = *state_;
  const int32_t pointerPane = s.ActivePane;
  s.FocusA = false;
  s.FocusB = true;
  s.ActivePane = 2;
  SetTitleBars();
  UpdateChecks();
  bool movedTraces = false;
  if (s.PaneKindB == 1) {
    DrawElectrogramPane(2);
  } else if (s.PaneKindB == 0) {
    maps_->Draw(2);
  } else if (s.PaneKindB == PaneAnimation::kPaneKind) {
    animation_->Draw(2);
  } else {
    movedTraces = waves_->Draw(2);
    maps_->ForgetHeldMap();
  }
  DisplayCaptionB();
  ReturnToPointerPane(pointerPane);
  // The wave moved the first trace: pane A, drawn before, follows it.
  if (movedTraces && s.PaneKindA == 1) UpdateDisplayA();
}

// Drawing a pane makes it the active one for as long as it is drawn (the map reads that
// pane's mark type) and reads the pointer against its layout. Afterwards the pane under the
// pointer is the active one again, with its own layout and read-outs, so that keys and menu
// commands act at the time and trace under the pointer, not at those of the pane drawn last.
void TMainF::ReturnToPointerPane(int32_t pointerPane) {
  AnalysisState& s = *state_;
  const bool drawnLast = s.ActivePane == pointerPane;
  s.ActivePane = pointerPane;
  const int kind = pointerPane == 2 ? s.PaneKindB : s.PaneKindA;
  if (drawnLast || kind != 1 || !s.FileLoaded || (pointerPane == 2 && !s.TwoPanes)) return;
  PrepareElectrogramLayout(pointerPane);
  PaneCaptions::UpdateElectrogramPointer(s);
}

// Both panes are laid out on pane A's size, so tiled panes show traces alike.
void TMainF::PrepareElectrogramLayout(int pane) {
  AnalysisState& s = *state_;
  s.PaneWidth = paneA_->width();
  s.PaneHeight = paneA_->height();
  // A picture of another size keeps the margins the panel adds around the paint area.
  const PaneWidget* paint = (pane == 2 ? paneB_ : paneA_)->Paint();
  if (paint->CurrentPicture() != nullptr) {
    s.PaneWidth += paint->DrawSize().width() - paneA_->Paint()->width();
    s.PaneHeight += paint->DrawSize().height() - paneA_->Paint()->height();
  }
  s.CurBegin = pane == 2 ? s.BeginB : s.BeginA;
  s.CurWindow = pane == 2 ? s.WindowB : s.WindowA;
  if (pane == 1 && s.ElgModeA == 1) s.NrTraces = 5;
  TraceLayout::LayoutTraces(s);
}

void TMainF::DrawElectrogramPane(int pane) {
  PaneWidget* paint = (pane == 2 ? paneB_ : paneA_)->Paint();
  PrepareElectrogramLayout(pane);
  {
    PanePainter painter(*paint);
    paneCanvas_.SetTarget(&painter.Surface());
    if (pane == 1 && state_->ElgModeA == 1) {
      analysis_->DrawAnalysisTraces();
    } else if (pane == 1 && state_->ElgModeA == 2) {
      waveForms_->DrawWaveForms();
    } else {
      (pane == 2 ? drawingB_ : drawingA_)->DrawElectrograms();
    }
    paneCanvas_.SetTarget(nullptr);
  }
  if (animation_) animation_->DrawCursorOn(pane);
  paint->update();
}

// A map's statistics go to the statistics window, made after this one; no map is drawn before.
MapDrawingHooks TMainF::MapHooks() {
  MapDrawingHooks hooks;
  hooks.FillMapGrid = [](AnalysisState& s) { FillMapGrid(s); };
  hooks.ExpandMapGrid = [](AnalysisState& s) { ExpandMapGrid(s); };
  hooks.CalcVelocities = [](AnalysisState& s) { VelocityCalculation::CalcVelocities(s); };
  hooks.CalcMapStats = [this](AnalysisState& s) {
    std::vector<std::string> lines;
    mapStats_->CalcMapStats(s, lines);
    statistics_->SetLines(lines);
  };
  return hooks;
}

void TMainF::DisplayCaptionA() { UpdatePaneCaption(1); }
void TMainF::DisplayCaptionB() { UpdatePaneCaption(2); }

void TMainF::UpdatePaneCaption(int pane) {
  AnalysisState& s = *state_;
  PanePanel* panel = pane == 2 ? paneB_ : paneA_;
  const int markType = s.MarkType[pane == 2 ? 1 : 0];
  panel->SetTitleColour(ToQColor(PaneCaptions::TitleBarColour(markType)));
  const int kind = pane == 2 ? s.PaneKindB : s.PaneKindA;
  const int32_t begin = pane == 2 ? s.BeginB : s.BeginA;
  const int32_t window = pane == 2 ? s.WindowB : s.WindowA;
  if (kind == 1) {
    if (!s.FileLoaded) return;  // times mean nothing before a recording is loaded
    PrepareElectrogramLayout(pane);
    PaneCaptions::UpdateElectrogramPointer(s);
    panel->SetCaption(Q(PaneCaptions::ElectrogramCaption(s, begin, window)));
  } else if (kind == 0) {
    maps_->HoldMapOf(pane);
    PaneCaptions::UpdateMapPointer(s);
    const int mapKind = pane == 2 ? s.MapKindB : s.MapKindA;
    const int32_t value = maps_->CellValueUnderPointer(mapKind);
    panel->SetCaption(Q(PaneCaptions::MapCaption(s, markType, mapKind, begin, window, value)));
  } else if (kind == PaneAnimation::kPaneKind) {
    panel->SetCaption(Q(animation_->Caption()));
  } else {
    PaneCaptions::UpdateMapPointer(s);
    panel->SetCaption(Q(PaneCaptions::WaveMapCaption(s, markType, pane == 2 ? s.WaveNrB : s.WaveNrA)));
  }
}

void TMainF::UpdateStatusBar() {
  const PaneCaptions::StatusTexts texts = PaneCaptions::StatusBar(*state_);
  StatusPanel::SetFitting(status_->FileNameLabel(), Q(texts.fileName));
  StatusPanel::SetFitting(status_->MatrixLabel(), Q(texts.matrixName));
  status_->RefTime1()->setText(Q(texts.referenceTime));
  status_->SigLengthLabel()->setText(Q(texts.sigLength));
  status_->AmplitudeLabel()->setText(Q(texts.amplification));
}

void TMainF::UpdateHints() {
  const AnalysisState& s = *state_;
  status_->FileNameLabel()->setToolTip(Q(s.ElgFileName));
  status_->MatrixLabel()->setToolTip(Q(s.MatrixFileName));
  status_->SigLengthLabel()->setToolTip("Total length of Signal");
  status_->RefTime1()->setToolTip(QString("Ref electrode =%1").arg(s.ReferenceElectrode));
  for (PanePanel* pane : {paneA_, paneB_}) {
    TitleBar* bar = pane->Bar();
    if (QAbstractButton* tile = bar->Button("TileSpeedButton1"))
      tile->setToolTip(s.TwoPanes ? "Tile one display" : "Tile two displays");
    const QString suffix = pane == paneA_ ? "1" : "2";
    bar->Button("SpeedMap" + suffix)->setToolTip("Display Activation Time Map");
    bar->Button("SpeedEle" + suffix)->setToolTip("Display Electrograms");
    bar->Button("SpeedWav" + suffix)->setToolTip("Display Wave Map");
  }
}

void TMainF::UpdateChecks() {
  const AnalysisState& s = *state_;
  QStringList recent;
  for (const std::string& name : s.RecentFileNames) recent << Q(name);
  menu_->SetRecentFiles(recent);
  const char* mapItemsA[] = {"TimeMap1", "CountMap1", "Matrix1", "IntervalMap1", "Amplitude1", "Slope1"};
  const char* mapItemsB[] = {"TimeMap2", "CountMap2", "Matrix2", "IntervalMap2", "Amplitude2", "Slope2"};
  for (int kind = 0; kind < 6; ++kind) {
    menu_->Action(mapItemsA[kind])->setChecked(s.MapKindA == kind);
    menu_->Action(mapItemsB[kind])->setChecked(s.MapKindB == kind);
  }
  menu_->Action("Quality1")->setChecked(s.MapKindA == kQualityMap);
  menu_->Action("Quality2")->setChecked(s.MapKindB == kQualityMap);
  menu_->Action("Velocities1")->setChecked(false);
  menu_->Action("Frequency1")->setChecked(s.MapKindA == kFrequencyMapKind);
  menu_->Action("Frequency2")->setChecked(s.MapKindB == kFrequencyMapKind);
  const char* typeItemsA[] = {"markTypea1", "MarkTypea2", "MarkTypea3"};
  const char* typeItemsB[] = {"MarkTypeb1", "MarkTypeb2", "MarkTypeb3"};
  const char* typeItems[] = {"SlowWave1", "Spike1", "TypeMark31"};
  for (int type = 1; type <= 3; ++type) {
    menu_->Action(typeItemsA[type - 1])->setChecked(s.MarkType[0] == type);
    menu_->Action(typeItemsB[type - 1])->setChecked(s.MarkType[1] == type);
    menu_->Action(typeItems[type - 1])->setChecked(s.MarkType[0] == type && s.MarkType[1] == type);
  }
  menu_->Action("showstatistics1")->setChecked(s.ShowStatistics);
  menu_->Action("Plotlocaltimes1")->setChecked(s.PlotLocalTimes);
  menu_->Action("automaticpositioning1")->setChecked(s.AutoPositioning);
  menu_->Action("ShowAmplitudes1")->setChecked(s.ShowAmplitudes);
  menu_->Action("Analyse1")->setChecked(s.AnalyseOn);
  menu_->Action("showSWsspikes1")->setChecked(s.ShowSWsSpikes);
  menu_->Action("CheckPlotOnlyDots")->setChecked(s.PlotOnlyDots);
  menu_->Action("rectangle1")->setChecked(s.TileStacked);
  menu_->Action("square1")->setChecked(!s.TileStacked);
  menu_->Action("UndoDeletedMarks1")->setEnabled(s.UndoCount != 0);
}

// Pane A fills the main panel unless two panes are tiled; tiled, the panel is halved
// across (stacked) or down the middle (side by side).
void TMainF::SetPanels() {
  const int width = mainPanel_->width();
  const int height = mainPanel_->height();
  if (!state_->TwoPanes) {
    paneA_->setGeometry(0, 0, width, height);
  } else if (state_->TileStacked) {
    paneA_->setGeometry(0, 0, width, height / 2);
    paneB_->setGeometry(0, height / 2, width, height / 2);
  } else {
    paneA_->setGeometry(0, 0, width / 2, height);
    paneB_->setGeometry(width / 2, 0, width / 2, height);
  }
}

void TMainF::SetPanelTile() {
  AnalysisState& s = *state_;
  s.TwoPanes = !s.TwoPanes;
  paneB_->setEnabled(s.TwoPanes);
  paneB_->setVisible(s.TwoPanes);
  menu_->Menu("DisplayB1")->menuAction()->setEnabled(s.TwoPanes);
  SetPanels();
  SetTitleBars();
  menu_->Action("PanelTileMenu")->setText(s.TwoPanes ? "Tile off" : "Tile on");
  UpdateDisplay();
}

void TMainF::SetTileStacked(bool stacked) {
  state_->TileStacked = stacked;
  UpdateChecks();
  SetPanels();
}

void TMainF::SetTitleBars() {
  paneA_->Bar()->Arrange(state_->PaneKindA);
  paneA_->Bar()->SetKindButton(state_->PaneKindA);
  paneB_->Bar()->Arrange(state_->PaneKindB);
  paneB_->Bar()->SetKindButton(state_->PaneKindB);
}

void TMainF::OpenFile1Click() {
  if (recordings_->OpenFile()) RecordingLoaded();
}

void TMainF::ShowPrevFileClick(int item) {
  if (recordings_->OpenRecent(item)) RecordingLoaded();
}

void TMainF::SaveMarks1Click() {
  if (MarkSaving::SaveMarks(*state_, *ui_)) recordings_->MarksSettled();
  UpdateDisplay();
}

void TMainF::Quit1Click() { close(); }

void TMainF::UndoDeletedMarks1Click() {
  if (!MarkStore::UndoDeletedMark(*state_)) {
    menu_->Action("UndoDeletedMarks1")->setEnabled(false);
    return;
  }
  MarkUndoWiring::CommandEnded(*this, MarkEditNames::kRestoreDeletedMark);
  UpdateDisplay();
}

void TMainF::UnhideMarks1Click() {
  MarkStore::UnhideAll(*state_);
  MarkUndoWiring::CommandEnded(*this, MarkEditNames::kUnhideMarks);
  menu_->Action("UnhideMarks1")->setEnabled(false);
  UpdateDisplay();
}

void TMainF::SetPaneKind(int pane, int kind) {
  (pane == 2 ? state_->PaneKindB : state_->PaneKindA) = uint8_t(kind);
  if (pane == 2) {
    if (state_->TwoPanes) UpdateDisplayB();
  } else {
    UpdateDisplayA();
  }
}

void TMainF::SetMapKind(int pane, int kind, bool showMap) {
  (pane == 2 ? state_->MapKindB : state_->MapKindA) = uint8_t(kind);
  if (showMap) state_->PaneKindA = 0;
  UpdateDisplay();
}

void TMainF::SetMarkType(int pane, int type) {
  if (pane != 2) state_->MarkType[0] = type;
  if (pane != 1) state_->MarkType[1] = type;
  if (pane == 1) return UpdateDisplayA();
  if (pane == 2) return Apply(Redraw::PaneB);
  UpdateDisplay();
}

void TMainF::FlipSwitch(const QString& item) {
  const DisplaySwitches::Entry* entry = DisplaySwitches::Find(item.toStdString());
  if (entry == nullptr) return;
  menu_->Action(item)->setText(Q(DisplaySwitches::Flip(*state_, *entry)));
  if (entry->flag == &AnalysisState::MemoVisible) memo_->setVisible(state_->MemoVisible);
  UpdateDisplay();
}

void TMainF::FileInfo1Click() {
  QStringList settings;
  for (const std::string& line : MarkSettingsFile::Lines(state_->MarkingSettings)) settings << Q(line);
  panels_->ShowInfo(Q(state_->FileInfo), settings);
}

void TMainF::ChangeMatrix(bool newFormat) {
  MatrixChooser chooser(*state_, *ui_, root_);
  if (newFormat) {
    chooser.ChangeNewMatrixfile();
  } else {
    chooser.ChangeMatrixfile();
  }
  UpdateDisplay();
}

void TMainF::ShowAnalyse() {
  state_->AnalyseOn = !state_->AnalyseOn;
  state_->PaneKindA = 1;
  state_->ElgModeA = 1;
  UpdateDisplay();
}

void TMainF::ShowElectrograms(int pane) {
  if (pane == 2) {
    state_->PaneKindB = 1;
  } else {
    state_->PaneKindA = 1;
    state_->ElgModeA = 0;
  }
  UpdateDisplay();
}

void TMainF::closeEvent(QCloseEvent* event) {
  if (MarkSaving::SaveAlert(*state_, *ui_)) {
    recordings_->MarksSettled();
    event->accept();
  } else {
    event->ignore();
  }
}

// The window sees every key before the focused control, as long as nobody is typing into
// one of its edits and no dialog or menu is open.
bool TMainF::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainPanel_ && event->type() == QEvent::Resize) {
    SetPanels();
    return QMainWindow::eventFilter(watched, event);
  }
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return QMainWindow::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this || QApplication::activeModalWidget() != nullptr ||
      QApplication::activePopupWidget() != nullptr)
    return QMainWindow::eventFilter(watched, event);
  QWidget* focus = QApplication::focusWidget();
  if (qobject_cast<QLineEdit*>(focus) != nullptr || (qobject_cast<QPlainTextEdit*>(focus) != nullptr && focus != memo_))
    return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::KeyRelease) {
    if (!key->isAutoRepeat()) FormKeyUp();
    return false;
  }
  if (FormKeyDown(key->key(), key->modifiers())) return true;
  const QString text = key->text();
  if (text.size() == 1 && key->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier) == false)
    return FormKeyPress(text.at(0));
  return false;
}

// Every command ends with its mark edits in the journal: keys and clicks here, menu items
// once their handler has run, redraws in Apply and UpdateDisplay.
void TMainF::JournalEveryMenuCommand() {
  for (QMenu* menu : menuBar()->findChildren<QMenu*>())
    connect(menu, &QMenu::triggered, this, [this] { QTimer::singleShot(0, this, [this] { recordings_->RecordMarkEdits(); }); });
}

bool TMainF::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (animation_->KeyDown(key)) return true;
  const bool handled = input_->FormKeyDown(key, modifiers);
  recordings_->RecordMarkEdits();
  return handled;
}
bool TMainF::FormKeyPress(QChar character) {
  const bool handled = input_->FormKeyPress(character);
  recordings_->RecordMarkEdits();
  return handled;
}
void TMainF::FormKeyUp() { input_->FormKeyUp(); }
void TMainF::PaintAMouseMove(int x, int y) { input_->PaintAMouseMove(x, y); }
void TMainF::PaintBMouseMove(int x, int y) { input_->PaintBMouseMove(x, y); }
void TMainF::PaintAClick(int x, int y) {
  input_->PaneClick(1, x, y);
  recordings_->RecordMarkEdits();
}
void TMainF::PaintBClick(int x, int y) {
  input_->PaneClick(2, x, y);
  recordings_->RecordMarkEdits();
}
void TMainF::Zoom(bool narrow) { input_->Zoom(narrow); }
void TMainF::AutomaticSWmarking1Click() { input_->AutomaticSWmarking(); }

}  // namespace velmora
