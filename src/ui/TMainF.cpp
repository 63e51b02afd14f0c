#include "ui/TMainF.h"

#include <filesystem>

#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/Errors.h"
#include "input/E00Reader.h"
#include "input/RecentFiles.h"
#include "marks/MarkSaving.h"
#include "ui/LoadMessagePanel.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/PreviewTraces.h"
#include "ui/QtCanvas.h"
#include "ui/QtUi.h"
#include "ui/StatusPanel.h"

namespace velmora {

namespace {

QString FileNameOf(const std::string& path) {
  return QString::fromStdString(std::filesystem::path(path).filename().string());
}

QString FolderOf(const std::string& path) {
  return QString::fromStdString(std::filesystem::path(path).parent_path().string());
}

// Two decimals with thousands separators, whatever the desktop's locale.
QString AmplificationText(double amplification) {
  return QLocale(QLocale::English, QLocale::UnitedStates).toString(amplification, 'f', 2);
}

// Maps and wave maps are not drawn yet; such a pane stays blank rather than show old traces.
void ClearPane(const AnalysisState&, Canvas& canvas, int width, int height) {
  canvas.SetPen(colours::kWhite);
  canvas.SetBrush(colours::kWhite);
  canvas.Rectangle(0, 0, width, height);
}

QColor TitleColourFor(int markType) {
  if (markType == 2) return Qt::blue;
  if (markType == 3) return Qt::magenta;
  return Qt::red;
}

}  // namespace

TMainF::TMainF(Ui* uiOverride, QWidget* parent)
    : QMainWindow(parent), state_(std::make_unique<AnalysisState>()), root_(DataRoot::FromEnvironment()) {
  setObjectName("TMainF");
  setWindowTitle(kCaption);
  BuildLayout();
  qtUi_ = std::make_unique<QtUi>(this, messagePanel_, memo_);
  ui_ = uiOverride != nullptr ? uiOverride : qtUi_.get();
  reader_ = std::make_unique<E00Reader>(*state_, *ui_, root_);
  BuildMenu();
  PrepareDataRoot();
  FormCreate();
}

TMainF::~TMainF() = default;

void TMainF::BuildLayout() {
  auto* central = new QWidget(this);
  central->setObjectName("CentralArea");
  mainPanel_ = new QWidget(central);
  mainPanel_->setObjectName("MainPanel");
  mainPanel_->installEventFilter(this);
  paneA_ = new PanePanel("A", mainPanel_);
  paneB_ = new PanePanel("B", mainPanel_);
  connect(paneA_->Paint(), &PaneWidget::RedrawNeeded, this, &TMainF::UpdateDisplayA);
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
}

void TMainF::BuildMenu() {
  QMenu* file = menuBar()->addMenu("File");
  file->setObjectName("File1");
  QAction* open = file->addAction("Open File", this, &TMainF::OpenFile1Click);
  open->setObjectName("OpenFile1");
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* save = file->addAction("Save Marks+Connections", this, &TMainF::SaveMarks1Click);
  save->setObjectName("SaveMarks1");
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* quit = file->addAction("Quit", this, &TMainF::Quit1Click);
  quit->setObjectName("Quit1");
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
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
  RecentFiles::Read(*state_, root_.RecentFilesPath(), *ui_);
  UpdateStatusBar();
  UpdateHints();
}

void TMainF::ShowPanesAtStart() {
  paneB_->setEnabled(false);
  paneB_->hide();
  SetPanels();
}

bool TMainF::OpenRecording(const std::string& path) {
  if (!MarkSaving::SaveAlert(*state_, *ui_)) return false;
  try {
    reader_->Open(path);
  } catch (const IoError& error) {
    ui_->Beep();
    ui_->Error(error.what());
    return false;
  }
  ResetPanesForRecording();
  UpdateDisplay();
  return true;
}

// A new recording is shown whole, as electrograms, marking slow waves.
void TMainF::ResetPanesForRecording() {
  AnalysisState& s = *state_;
  s.ClickArmed = false;
  s.WindowAll = s.SigLength;
  s.WindowA = s.SigLength;
  s.PaneKindA = 1;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
  s.MapKindA = 0;
  s.MapKindB = 0;
  s.ShapeDragging = false;
  s.PointerReady = true;
  s.ConnectionCount = 0;
  memo_->setVisible(s.MemoVisible);
}

void TMainF::UpdateDisplay() {
  UpdateStatusBar();
  UpdateHints();
  UpdateDisplayA();
}

void TMainF::UpdateDisplayA() {
  AnalysisState& s = *state_;
  s.FocusA = true;
  s.FocusB = false;
  s.ActivePane = 1;
  if (s.PaneKindA == 1) {
    s.CurBegin = s.BeginA;
    s.CurWindow = s.WindowA;
    DrawPane(paneA_, &DrawPreviewTraces);
  } else {
    DrawPane(paneA_, &ClearPane);
  }
  DisplayCaptionA();
}

void TMainF::DrawPane(PanePanel* pane, PaneDrawing draw) {
  PaneWidget* paint = pane->Paint();
  QImage& buffer = paint->BackBuffer();
  {
    QPainter painter(&buffer);
    QtCanvas canvas(painter);
    draw(*state_, canvas, buffer.width(), buffer.height());
  }
  paint->update();
}

void TMainF::DisplayCaptionA() {
  paneA_->SetTitleColour(TitleColourFor(state_->MarkType[0]));
  paneA_->SetCaption(state_->FileLoaded ? FileNameOf(state_->ElgFileName) : QString());
}

void TMainF::UpdateStatusBar() {
  const AnalysisState& s = *state_;
  const std::string& shown = s.InputFileKind == 3 ? s.ImportFileName : s.ElgFileName;
  status_->FileNameLabel()->setText(FileNameOf(shown));
  status_->MatrixLabel()->setText(FileNameOf(s.MatrixFileName));
  status_->RefTime1()->setText(QString(" Reference: %1 ms").arg(s.ReferenceTime));
  status_->SigLengthLabel()->setText(QString(" Signal: %1 ms").arg(s.SigLength));
  status_->AmplitudeLabel()->setText(" Amplf: " + AmplificationText(s.Amplification));
}

void TMainF::UpdateHints() {
  const AnalysisState& s = *state_;
  status_->FileNameLabel()->setToolTip(QString::fromStdString(s.ElgFileName));
  status_->MatrixLabel()->setToolTip(QString::fromStdString(s.MatrixFileName));
  status_->SigLengthLabel()->setToolTip("Total length of Signal");
}

// Pane A fills the main panel unless two panes are tiled; tiled, the panel is halved
// across (stacked) or down the middle (side by side).
void TMainF::SetPanels() {
  const int width = mainPanel_->width();
  const int height = mainPanel_->height();
  if (!state_->TwoPanes) {
    paneA_->setGeometry(0, 0, width, height);
    return;
  }
  if (state_->TileStacked) {
    paneA_->setGeometry(0, 0, width, height / 2);
    paneB_->setGeometry(0, height / 2, width, height / 2);
  } else {
    paneA_->setGeometry(0, 0, width / 2, height);
    paneB_->setGeometry(width / 2, 0, width / 2, height);
  }
}

void TMainF::OpenFile1Click() {
  Ui::FileDialogRequest request{"Open electrogram file", {"E00 files (*.E0* *.e0*)"}, 1,
                                FolderOf(state_->ElgFileName).toStdString()};
  const auto chosen = ui_->OpenFileDialog(request);
  if (chosen) OpenRecording(chosen->path);
}

void TMainF::SaveMarks1Click() {
  MarkSaving::SaveMarks(*state_, *ui_);
  UpdateDisplay();
}

void TMainF::Quit1Click() { close(); }

void TMainF::closeEvent(QCloseEvent* event) {
  if (MarkSaving::SaveAlert(*state_, *ui_)) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TMainF::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainPanel_ && event->type() == QEvent::Resize) SetPanels();
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace velmora
