#include "ui/TImportF.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "ui/TMainF.h"
#include "ui/WindowButtons.h"

namespace velmora {

namespace {

constexpr int kMargin = 8;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* AddLabel(QWidget* frame, const char* name, const QString& text) {
  auto* label = new QLabel(text, frame);
  if (name != nullptr) label->setObjectName(name);
  return label;
}

QLabel* BoldLabel(QWidget* frame, const char* name, const QString& text) {
  QLabel* label = AddLabel(frame, name, text);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QLabel* WarningLabel(QWidget* frame, const char* name) {
  QLabel* label = BoldLabel(frame, name, "");
  label->setStyleSheet("color: red");
  label->hide();
  return label;
}

// The rows every panel has: which layout, which file, how many samples fit.
int AddTitleRows(TImportF::Panel& panel, QGridLayout* grid, const char* layoutName, const char* fileName) {
  grid->addWidget(AddLabel(panel.frame, nullptr, "Import Function: "), 0, 0);
  panel.layout = AddLabel(panel.frame, layoutName, "");
  grid->addWidget(panel.layout, 0, 1);
  panel.fileName = BoldLabel(panel.frame, fileName, "(FileName)");
  grid->addWidget(panel.fileName, 1, 0, 1, 2);
  panel.maxSamples = AddLabel(panel.frame, nullptr, "Maximum number of samples = ");
  grid->addWidget(panel.maxSamples, 2, 0, 1, 2);
  return 3;
}

// The warnings, the question and the two buttons below a panel's own rows.
void AddClosingRows(TImportF::Panel& panel, QGridLayout* grid, int row, const char* prefix) {
  const QString name(prefix);
  panel.warning1 = WarningLabel(panel.frame, nullptr);
  panel.warning1->setObjectName(name + "WarningLabel1");
  panel.warning2 = WarningLabel(panel.frame, nullptr);
  panel.warning2->setObjectName(name + "WarningLabel2");
  grid->addWidget(panel.warning1, row++, 0, 1, 2);
  grid->addWidget(panel.warning2, row++, 0, 1, 2);
  grid->addWidget(AddLabel(panel.frame, nullptr, "Do you want to proceed (load the file) ?"), row++, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  panel.ok = AddButton(panel.frame, buttons, qPrintable(name + "OkButton"), "Ok");
  panel.cancel = AddButton(panel.frame, buttons, qPrintable(name + "CancelButton"), "Cancel");
  grid->addLayout(buttons, row, 0, 1, 2);
}

QLineEdit* AddEdit(TImportF::Panel& panel, QGridLayout* grid, int row, const char* caption, const QString& name,
                   const QString& text) {
  grid->addWidget(AddLabel(panel.frame, nullptr, caption), row, 0);
  auto* edit = new QLineEdit(text, panel.frame);
  edit->setObjectName(name);
  grid->addWidget(edit, row, 1);
  return edit;
}

void BuildEditPanel(TImportF::Panel& panel, QWidget* shell, int kind) {
  const bool nashville = kind == LabImport::kNashville;
  const QString prefix = nashville ? "NashEdit" : "Edit";
  panel.frame = new QFrame(shell);
  panel.frame->setObjectName(nashville ? "NashvilleInfoPanel" : "ManchesterInfoPanel");
  auto* grid = new QGridLayout(panel.frame);
  int row = AddTitleRows(panel, grid, nashville ? "NashvilleLabel" : "ManchesterLabel",
                         nashville ? "NashFileNameLabel" : "ManFileNameLabel");
  const LabImport::PanelValues defaults = LabImport::PanelDefaults(kind);
  panel.channels = AddEdit(panel, grid, row++, "Nr Channels: ", prefix + "NrChannels", Q(defaults.channels));
  panel.samples = AddEdit(panel, grid, row++, "Nr Samples: ", prefix + "NrSamples", Q(defaults.samples));
  panel.samples->setToolTip("0 reads the whole file");
  panel.rate = AddEdit(panel, grid, row++, "Sampling rate: ", prefix + "SamplingRate", Q(defaults.rate));
  panel.matrixName = AddEdit(panel, grid, row++, "Matrix file name: ", prefix + "MatrixName", Q(defaults.matrixName));
  if (nashville) {
    grid->addWidget(AddLabel(panel.frame, nullptr,
                             "(don't forget to convert the original files, through Excel, into tab delimited text files)"),
                    row++, 0, 1, 2);
  }
  AddClosingRows(panel, grid, row, nashville ? "Nash" : "Man");
}

void BuildAucklandPanel(TImportF::Panel& panel, QWidget* shell) {
  panel.frame = new QFrame(shell);
  panel.frame->setObjectName("AucklandInfoPanel");
  auto* grid = new QGridLayout(panel.frame);
  int row = AddTitleRows(panel, grid, "AucklandLabel", "AuckFileNameLabel");
  const char* captions[] = {"1. Nr Header Lines: ", "2. Nr Channels: ", "3. Nr Samples: ", "4. Sampling rate: ",
                            "5. Calibration: ",     "6. Matrix File name: ", "7. Comments:"};
  const char* names[] = {"NrLinesLabel",      "NrChannelsLabel",     "NrSamplesLabel", "SamplingRateLabel",
                         "CalibrationLabel", "MatrixFileNameLabel", "CommentsLabel"};
  for (int line = 0; line < 7; ++line) {
    grid->addWidget(AddLabel(panel.frame, nullptr, captions[line]), row, 0);
    panel.header[line] = AddLabel(panel.frame, names[line], "");
    grid->addWidget(panel.header[line], row++, 1);
  }
  for (const char* empty : {"8. (empty)", "9. (empty)", "10. (empty)"})
    grid->addWidget(AddLabel(panel.frame, nullptr, empty), row++, 0, 1, 2);
  AddClosingRows(panel, grid, row, "");
}

}  // namespace

TImportF::TImportF(QWidget* shell, TMainF& main)
    : QObject(shell),
      shell_(shell),
      main_(main),
      ui_(main.UiFor(shell)),
      import_(std::make_unique<LabImport>(main.State(), ui_, main.Root())) {
  import_->SetMarksSettled([&main] { main.Recordings().MarksSettled(); });
  BuildPanels();
}

TImportF::~TImportF() = default;

void TImportF::BuildPanels() {
  BuildEditPanel(nashville_, shell_, LabImport::kNashville);
  BuildAucklandPanel(auckland_, shell_);
  BuildEditPanel(manchester_, shell_, LabImport::kManchester);
  for (Panel* panel : {&nashville_, &auckland_, &manchester_}) panel->frame->hide();
  connect(nashville_.ok, &QPushButton::clicked, this, &TImportF::NashvilleOkClick);
  connect(manchester_.ok, &QPushButton::clicked, this, &TImportF::ManchesterOkClick);
  connect(auckland_.ok, &QPushButton::clicked, this, &TImportF::AucklandOkClick);
  connect(nashville_.cancel, &QPushButton::clicked, this, &TImportF::NashvilleCancelClick);
  connect(manchester_.cancel, &QPushButton::clicked, this, &TImportF::ManchesterCancelClick);
  connect(auckland_.cancel, &QPushButton::clicked, this, &TImportF::AucklandCancelClick);
}

TImportF::Panel& TImportF::WidgetsOf(int kind) {
  if (kind == LabImport::kAuckland) return auckland_;
  return kind == LabImport::kManchester ? manchester_ : nashville_;
}

void TImportF::LoadImportFile(int kind, const std::string& path) {
  import_->LoadImportFile(kind, path);
  ShowImportPanel();
}

void TImportF::ShowImportPanel() {
  for (Panel* panel : {&nashville_, &auckland_, &manchester_}) panel->frame->hide();
  ReadEleTextFile1Click();
  const QString maxSamples = QString("Maximum number of samples = %1").arg(main_.State().MaxSamples);
  for (Panel* panel : {&nashville_, &auckland_, &manchester_}) panel->maxSamples->setText(maxSamples);
  try {
    ShowPanel(import_->ShowImportPanel());
  } catch (const IoError& error) {
    shell_->hide();
    ui_.Beep();
    ui_.Error(error.what());
  }
}

void TImportF::ReadEleTextFile1Click() {
  shell_->show();
  shell_->raise();
  shell_->activateWindow();
}

void TImportF::ShowPanel(const ImportPanel& panel) {
  shown_ = panel;
  if (panel.kind == 0) return;
  Panel& widgets = WidgetsOf(panel.kind);
  widgets.layout->setText(Q(panel.layoutLabel));
  widgets.fileName->setText(Q(panel.fileNameLabel));
  widgets.maxSamples->setText(Q(panel.maxSamplesLabel));
  for (size_t line = 0; line < panel.headerValues.size() && line < 7; ++line)
    widgets.header[line]->setText(Q(panel.headerValues[line]));
  if (widgets.channels != nullptr) {
    widgets.channels->setText(Q(panel.channelsEdit));
    widgets.rate->setText(Q(panel.rateEdit));
  }
  ShowWarnings(widgets, panel);
  widgets.frame->adjustSize();
  widgets.frame->move(panel.kind == LabImport::kNashville ? QPoint(kMargin, 40) : QPoint(100, kMargin));
  widgets.frame->show();
  shell_->resize(widgets.frame->geometry().right() + kMargin, widgets.frame->geometry().bottom() + kMargin);
}

// A file without too many samples hides the warnings an earlier one left.
void TImportF::ShowWarnings(const Panel& widgets, const ImportPanel& panel) {
  widgets.warning1->setText(Q(panel.warning1));
  widgets.warning2->setText(Q(panel.warning2));
  widgets.warning1->setVisible(!panel.warning1.empty());
  widgets.warning2->setVisible(!panel.warning2.empty());
}

void TImportF::NashvilleOkClick() { TakeValuesAndRead(nashville_); }
void TImportF::ManchesterOkClick() { TakeValuesAndRead(manchester_); }

// A refused value keeps the window open with what the user typed.
void TImportF::TakeValuesAndRead(const Panel& widgets) {
  const LabImport::PanelValues values{widgets.channels->text().toStdString(), widgets.samples->text().toStdString(),
                                      widgets.rate->text().toStdString(), widgets.matrixName->text().toStdString()};
  if (!import_->TakePanelValues(values, shown_)) return;
  ShowWarnings(widgets, shown_);
  Read();
}

void TImportF::AucklandOkClick() { Read(); }

void TImportF::Read() {
  shell_->hide();
  main_.UpdateDisplayA();
  if (!import_->ReadData()) {
    main_.UpdateDisplayA();
    return;
  }
  main_.Recordings().RecordingRead();
  main_.RecordingLoaded();
}

void TImportF::NashvilleCancelClick() { Cancel(); }
void TImportF::ManchesterCancelClick() { Cancel(); }
void TImportF::AucklandCancelClick() { Cancel(); }

void TImportF::Cancel() {
  shell_->hide();
  main_.UpdateDisplayA();
}

}  // namespace velmora
