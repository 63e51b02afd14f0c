#include "ui/TPrefF.h"

#include <fmt/format.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "commands/PreferenceForm.h"
#include "commands/PreferenceTable.h"
#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "ui/WorkbenchSettings.h"

namespace velmora {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QLineEdit* NewEdit(const char* control, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(control);
  return edit;
}

QCheckBox* NewCheckBox(const char* control, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(control);
  return box;
}

// A caption with its edit beside it, and a unit after it when there is one.
void AddEditRow(QVBoxLayout* layout, QWidget* page, const char* caption, const char* control,
                const char* unit = nullptr) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(caption, page));
  row->addWidget(NewEdit(control, page));
  if (unit) row->addWidget(new QLabel(unit, page));
  row->addStretch();
  layout->addLayout(row);
}

QWidget* MarkingGrid(QWidget* page) {
  auto* grid = new QGridLayout;
  const char* columns[] = {"Minimal Differentiated level", "Search Width (msec)", "Diff Dist (samples)"};
  const char* rows[] = {"Slow Waves:", "Spikes:", "Type 3:"};
  const char* edits[] = {"MinDiffValEdit", "WidthEdit", "DiffDistEdit"};
  for (int c = 0; c < 3; ++c) grid->addWidget(new QLabel(columns[c], page), 0, c + 1);
  for (int r = 0; r < 3; ++r) {
    grid->addWidget(new QLabel(rows[r], page), r + 1, 0);
    for (int c = 0; c < 3; ++c) {
      const std::string control = fmt::format("{}{}", edits[c], r + 1);
      grid->addWidget(NewEdit(control.c_str(), page), r + 1, c + 1);
    }
  }
  auto* holder = new QWidget(page);
  holder->setLayout(grid);
  return holder;
}

QWidget* MarkingPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(MarkingGrid(page));
  auto* criteria = new QGroupBox("Search Criteria", page);
  criteria->setObjectName("SearchCriteria1");
  auto* items = new QVBoxLayout(criteria);
  const char* captions[] = {"Search time of the minival value", "Search time of first value below minimal level"};
  for (int item = 0; item < 2; ++item) {
    auto* button = new QRadioButton(captions[item], criteria);
    button->setObjectName(QString("SearchCriteria1Item%1").arg(item));
    items->addWidget(button);
  }
  layout->addWidget(criteria);
  layout->addWidget(NewCheckBox("DoubleMarks1", "Avoid marking twice?", page));
  AddEditRow(layout, page, "Avoidance width:", "DoubleWidth1", "(msec)");
  layout->addStretch();
  return page;
}

QWidget* ElectrogramsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(NewCheckBox("PlotOnlyPoints1", "Plot only points?", page));
  layout->addWidget(NewCheckBox("SmoothElectrograms1", "Smooth Electrograms?", page));
  layout->addWidget(NewCheckBox("IntervalRange1", "Expected Interval Range", page));
  auto* bounds = new QHBoxLayout;
  QLineEdit* lower = NewEdit("MinIntervalRange1", page);
  lower->setToolTip("shortest expected interval (msec)");
  QLineEdit* upper = NewEdit("maxIntervalRange1", page);
  upper->setToolTip("longest expected interval (msec)");
  bounds->addWidget(lower);
  bounds->addWidget(upper);
  bounds->addStretch();
  layout->addLayout(bounds);
  layout->addStretch();
  return page;
}

QWidget* MapPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* digits = new QGroupBox("Digit Display:", page);
  auto* legend = new QVBoxLayout(digits);
  for (const char* line : {"0 = xxxxxx msec", "1 = x.xxx sec", "2 = x.xx sec", "3 = x.x sec", "4 = x sec"})
    legend->addWidget(new QLabel(line, digits));
  AddEditRow(legend, digits, "current Digit Display:", "EditDigitType");
  layout->addWidget(digits);
  auto* expand = new QGroupBox("Expand:", page);
  auto* expandRows = new QVBoxLayout(expand);
  AddEditRow(expandRows, expand, "Nr of Neighbours required ", "NrNeighbours1");
  AddEditRow(expandRows, expand, "Nr of Expand Cycles: ", "NrExpCyclesEdit");
  layout->addWidget(expand);
  layout->addStretch();
  return page;
}

// The methods in the order of their numbers in VelocityMethod.
void AddVelocityMethodRows(QVBoxLayout* layout, QWidget* page) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Velocity method:", page));
  auto* methods = new QComboBox(page);
  methods->setObjectName("VelocityMethodChoice");
  methods->addItems({"squares", "smoothed", "fit"});
  row->addWidget(methods);
  row->addStretch();
  layout->addLayout(row);
  AddEditRow(layout, page, "Fit radius:", "VelocityFitRadiusEdit", "(electrodes)");
  layout->addWidget(NewCheckBox("VelocityFitQuadraticCheckBox", "Fit curved fronts?", page));
}

QWidget* VelocitiesPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  AddEditRow(layout, page, "Calc to next electrode:", "EditIncVel");
  layout->addWidget(NewCheckBox("MaxCondVelCheckBox1", "Set Max Conduction Velocity?", page));
  AddEditRow(layout, page, "Maximum Conduction Velocity allowed (cm/sec):", "MaxCondVelEdit");
  AddEditRow(layout, page, "Arrow size for plotting:", "EditArrowSize");
  AddVelocityMethodRows(layout, page);
  AddEditRow(layout, page, "Normal direction of the waves:", "NormalDirectionEdit",
             "(degrees, counter-clockwise, 90 up)");
  layout->addStretch();
  return page;
}

QWidget* AnimationPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  AddEditRow(layout, page, "SW duration:", "SWDurationEdit");
  AddEditRow(layout, page, "Step Time:", "StepTimeEdit");
  AddEditRow(layout, page, "BegTime:", "begSimEdit");
  AddEditRow(layout, page, "EndTime:", "EndSimEdit");
  page->findChild<QLineEdit*>("EndSimEdit")->setPlaceholderText("end of the recording");
  layout->addStretch();
  return page;
}

QWidget* IntervalsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(NewCheckBox("CheckLimitIntervals", "limit intervals?", page));
  AddEditRow(layout, page, "Maximal Interval Value", "EditMaxIntervalVal");
  layout->addStretch();
  return page;
}

// The conditioning of EDF, BDF and GDF recordings, run forward and backward over the store.
QWidget* FiltersPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new QLabel("For EDF, BDF and GDF recordings; run forward and backward, so no time moves.", page));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Mains notch:", page));
  auto* mains = new QComboBox(page);
  mains->setObjectName("FilterMainsChoice");
  mains->addItems({"off", "50 Hz", "60 Hz"});
  row->addWidget(mains);
  row->addStretch();
  layout->addLayout(row);
  AddEditRow(layout, page, "Notches (the mains and its harmonics):", "FilterMainsHarmonicsEdit");
  AddEditRow(layout, page, "Baseline removal (high-pass), cut-off:", "FilterBaselineEdit", "s (0 off)");
  AddEditRow(layout, page, "Low-pass:", "FilterLowPassEdit", "Hz (0 off)");
  AddEditRow(layout, page, "Savitzky-Golay smoothing, window:", "FilterSmoothingEdit", "ms (0 off)");
  AddEditRow(layout, page, "Savitzky-Golay order:", "FilterSmoothingOrderEdit");
  layout->addStretch();
  return page;
}

// The detection method, in the order of its numbers in DetectionMethod, and the robust
// detector's settings.
QWidget* DetectionPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Detection method:", page));
  auto* methods = new QComboBox(page);
  methods->setObjectName("DetectionMethodChoice");
  methods->addItems({"described", "robust"});
  row->addWidget(methods);
  row->addStretch();
  layout->addLayout(row);
  auto* robust = new QGroupBox("Robust detection:", page);
  auto* rows = new QGridLayout(robust);
  const char* fields[][3] = {{"Fall width:", "RobustFallWidthEdit", "(msec)"},
                             {"Threshold:", "RobustThresholdEdit", "(noise deviations)"},
                             {"Refractory period:", "RobustRefractoryEdit", "(msec)"},
                             {"Noise window:", "RobustNoiseWindowEdit", "(msec)"},
                             {"Dead below quality:", "DeadQualityEdit", ""}};
  for (int r = 0; r < 5; ++r) {
    rows->addWidget(new QLabel(fields[r][0], robust), r, 0);
    rows->addWidget(NewEdit(fields[r][1], robust), r, 1);
    rows->addWidget(new QLabel(fields[r][2], robust), r, 2);
  }
  rows->setColumnStretch(3, 1);
  layout->addWidget(robust);
  layout->addStretch();
  return page;
}

QWidget* WavesPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  AddEditRow(layout, page, "Smallest wave shown:", "MinSitesPerWaveEdit", "(sites)");
  layout->addStretch();
  return page;
}

// What a control holds, as PreferenceForm reads it: an edit's text, a switch as "1" or "0".
std::string ControlText(const QWidget& window, const PreferenceVariable& v) {
  const QString control = Q(v.control);
  bool on = false;
  if (v.kind == PreferenceControl::Edit)
    return window.findChild<QLineEdit*>(control)->text().toStdString();
  if (v.kind == PreferenceControl::Choice) return std::to_string(window.findChild<QComboBox*>(control)->currentIndex());
  if (v.kind == PreferenceControl::CheckBox)
    on = window.findChild<QCheckBox*>(control)->isChecked();
  else
    on = window.findChild<QRadioButton*>(control + "Item1")->isChecked();
  return std::to_string(int(on));
}

}  // namespace

TPrefF::TPrefF(AnalysisState& state, std::function<Ui&()> ui, QWidget* parent)
    : QDialog(parent), state_(state), ui_(std::move(ui)), pages_(new QTabWidget(this)) {
  setObjectName("TPrefF");
  setWindowTitle("Preference Settings for Velmora2");
  // Every page's name stays in sight: the window widens to the tabs rather than scrolling them.
  pages_->setUsesScrollButtons(false);
  pages_->addTab(MarkingPage(), "Automatic Markings");
  pages_->addTab(ElectrogramsPage(), "Electrograms");
  pages_->addTab(MapPage(), "Map");
  pages_->addTab(VelocitiesPage(), "Velocities");
  pages_->addTab(AnimationPage(), "Animation");
  pages_->addTab(IntervalsPage(), "Intervals");
  pages_->addTab(DetectionPage(), "Marking");
  pages_->addTab(WavesPage(), "Waves");
  pages_->addTab(FiltersPage(), "Filters");
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKbutton");
  ok->setAutoDefault(false);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelButton");
  cancel->setAutoDefault(false);
  saveDefaults_ = new QPushButton("Save as my defaults", this);
  saveDefaults_->setObjectName("SaveDefaultsButton");
  saveDefaults_->setAutoDefault(false);
  restoreDefaults_ = new QPushButton("Restore described defaults", this);
  restoreDefaults_->setObjectName("RestoreDefaultsButton");
  restoreDefaults_->setAutoDefault(false);
  SetDefaultsRoot(nullptr);
  connect(saveDefaults_, &QPushButton::clicked, this, &TPrefF::SaveDefaultsClick);
  connect(restoreDefaults_, &QPushButton::clicked, this, &TPrefF::RestoreDefaultsClick);
  connect(ok, &QPushButton::clicked, this, &TPrefF::OKbuttonClick);
  connect(cancel, &QPushButton::clicked, this, &TPrefF::CancelButtonClick);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(saveDefaults_);
  buttons->addWidget(restoreDefaults_);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
  hide();
}

void TPrefF::ShowAndFill() {
  show();
  raise();
  activateWindow();
  LoadControls(PreferenceForm::Load(state_));
  emit shown();
}

void TPrefF::LoadControls(const PreferenceTexts& texts) {
  for (const PreferenceVariable& v : PreferenceTable::Variables()) {
    const QString control = Q(v.control);
    const bool on = texts.at(std::string(v.name)) == "1";
    if (v.kind == PreferenceControl::Edit)
      findChild<QLineEdit*>(control)->setText(QString::fromStdString(texts.at(std::string(v.name))));
    else if (v.kind == PreferenceControl::Choice)
      findChild<QComboBox*>(control)->setCurrentIndex(std::stoi(texts.at(std::string(v.name))));
    else if (v.kind == PreferenceControl::CheckBox)
      findChild<QCheckBox*>(control)->setChecked(on);
    else
      findChild<QRadioButton*>(control + (on ? "Item1" : "Item0"))->setChecked(true);
  }
}

// Reads every field and checks it; a wrong one is said and focused. Only `store` puts the
// values into the session.
bool TPrefF::TakeControls(PreferenceTexts& texts, bool store) {
  for (const PreferenceVariable& v : PreferenceTable::Variables()) texts[std::string(v.name)] = ControlText(*this, v);
  const std::optional<PreferenceProblem> problem =
      store ? PreferenceForm::Store(state_, texts) : PreferenceForm::Check(state_, texts);
  if (problem) {
    FocusField(Q(problem->field->control), Q(problem->field->page));
    const PreferenceVariable& field = *problem->field;
    ui_().Error(fmt::format("\"{}\" on the page \"{}\" {}.", field.label, field.page, problem->reason));
    return false;
  }
  return true;
}

void TPrefF::OKbuttonClick() {
  PreferenceTexts texts;
  if (!TakeControls(texts, true)) return;
  hide();
  emit closed();
}

void TPrefF::SetDefaultsRoot(const DataRoot* root) {
  defaultsRoot_ = root;
  saveDefaults_->setVisible(root != nullptr);
  restoreDefaults_->setVisible(root != nullptr);
}

void TPrefF::SaveDefaultsClick() {
  PreferenceTexts texts;
  if (defaultsRoot_ == nullptr || !TakeControls(texts, false)) return;
  WorkbenchSettings(*defaultsRoot_).SaveDefaults(texts);
}

void TPrefF::RestoreDefaultsClick() {
  if (defaultsRoot_ == nullptr) return;
  WorkbenchSettings(*defaultsRoot_).ForgetDefaults();
  LoadControls(PreferenceForm::Described());
}

void TPrefF::FocusField(const QString& control, const QString& page) {
  for (int i = 0; i < pages_->count(); ++i) {
    if (pages_->tabText(i) == page) pages_->setCurrentIndex(i);
  }
  if (auto* field = findChild<QWidget*>(control)) field->setFocus();
}

void TPrefF::CancelButtonClick() {
  hide();
  emit closed();
}

void TPrefF::reject() { CancelButtonClick(); }

}  // namespace velmora
