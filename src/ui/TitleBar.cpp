#include "ui/TitleBar.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int kButtonTop = 2;
constexpr int kButtonHeight = TitleBar::kHeight - 2 * kButtonTop;
constexpr int kTileWidth = 28;
constexpr int kKindWidth = 44;
constexpr int kWaveStepWidth = 28;  // "W+" and "W-" need a little more than one letter
constexpr int kSmallWidth = 24;     // the one-letter buttons
constexpr int kWindowGap = 6;       // between "W" and "W+"
constexpr int kAmplifyGap = 5;      // between "A" and "B"
constexpr int kNextMargin = 5;      // between ">" and the bar's right edge
constexpr int kCaptionMargin = 4;   // keeps the caption off the controls beside it
constexpr int kPictureWidth = 30;
constexpr int kPictureGap = 4;      // between the order box and "Pic"

// Red captions on the red bar would vanish, so the buttons keep a light face of their own;
// the down button of the kind group shows darker.
constexpr const char* kButtonStyle =
    "QToolButton { color: red; background: #ececec; border: 1px solid #9a9a9a; border-radius: 2px; }"
    "QToolButton:hover { background: #fafafa; }"
    "QToolButton:pressed, QToolButton:checked { background: #c4c4c4; }";

const QStringList kOrderItemsA = {"Horizontal", "Vertical", "Sequential", "Free", "Bipolar", "Opposite"};

QFont BoldFont(QFont font, int pixels) {
  font.setBold(true);
  font.setPixelSize(pixels);
  return font;
}

// Puts `widget` so that its right edge lies at `right`, keeping its width.
void PlaceLeftOf(QWidget* widget, int right) {
  widget->move(right - widget->width(), widget->y());
}

}  // namespace

TitleBar::TitleBar(const QString& letter, QWidget* parent) : QWidget(parent) {
  setObjectName("TitleBar" + letter);
  setFixedHeight(kHeight);
  const bool paneA = letter == "A";
  const QString suffix = paneA ? "1" : "2";
  BuildLeftControls(suffix, paneA);
  BuildRightButtons(suffix);
  BuildPictureControls(suffix, orderBox_->geometry().right() + 1 + kPictureGap);
  ConnectButtons();
  Arrange(kElectrogramPane);
}

QToolButton* TitleBar::AddButton(const QString& name, const QString& caption, int left, int width) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);  // keys belong to the main window, not to the bar
  button->setFont(BoldFont(font(), kButtonPixels));
  button->setStyleSheet(kButtonStyle);
  button->setGeometry(left, kButtonTop, width, kButtonHeight);
  return button;
}

void TitleBar::BuildLeftControls(const QString& suffix, bool paneA) {
  if (paneA) tile_ = AddButton("TileSpeedButton1", "T", 5, kTileWidth);
  const int kindLeft[] = {paneA ? 43 : 15, paneA ? 92 : 64, paneA ? 142 : 113};
  const QString kindNames[] = {"SpeedMap", "SpeedEle", "SpeedWav"};
  const QString kindCaptions[] = {"Map", "Ele", "Wav"};
  kindGroup_ = new QButtonGroup(this);
  kindGroup_->setExclusive(true);
  for (int kind = 0; kind < 3; ++kind) {
    QToolButton* button = AddButton(kindNames[kind] + suffix, kindCaptions[kind], kindLeft[kind], kKindWidth);
    button->setCheckable(true);
    kindGroup_->addButton(button, kind);
  }
  kindGroup_->button(kElectrogramPane)->setChecked(true);

  orderBox_ = new QComboBox(this);
  orderBox_->setObjectName("ComboBox" + suffix);
  orderBox_->setFocusPolicy(Qt::NoFocus);
  orderBox_->addItems(paneA ? kOrderItemsA : kOrderItemsA.mid(0, 4));
  orderBox_->setCurrentIndex(0);
  orderBox_->setGeometry(paneA ? 193 : 169, 1, paneA ? 104 : 103, kHeight - 2);
}

// Created at width 0: the real places follow from the bar's width in PlaceRightButtons.
void TitleBar::BuildRightButtons(const QString& suffix) {
  decWave_ = AddButton("SpeedDecWave" + suffix, "W-", 0, kWaveStepWidth);
  incWave_ = AddButton("SpeedIncWave" + suffix, "W+", 0, kWaveStepWidth);
  window_ = AddButton("SpeedWin" + suffix, "W", 0, kSmallWidth);
  begin_ = AddButton("SpeedBeg" + suffix, "B", 0, kSmallWidth);
  incAmplf_ = AddButton("SpeedIncAmplf" + suffix, "A", 0, kSmallWidth);
  decAmplf_ = AddButton("SpeedDecAmplf" + suffix, "a", 0, kSmallWidth);
  next_ = AddButton("SpeedNext" + suffix, ">", 0, kSmallWidth);
  prev_ = AddButton("SpeedPrev" + suffix, "<", 0, kSmallWidth);
}

// "Pic" saves the pane as a picture; the bar's context menu also copies it.
void TitleBar::BuildPictureControls(const QString& suffix, int left) {
  picture_ = AddButton("SpeedPicture" + suffix, "Pic", left, kPictureWidth);
  picture_->setToolTip("Save picture ...");
  connect(picture_, &QToolButton::clicked, this, &TitleBar::pictureClicked);
  auto* save = new QAction("Save picture ...", this);
  save->setObjectName("SavePicture" + suffix);
  connect(save, &QAction::triggered, this, &TitleBar::pictureClicked);
  auto* copy = new QAction("Copy picture", this);
  copy->setObjectName("CopyPicture" + suffix);
  connect(copy, &QAction::triggered, this, &TitleBar::copyPictureClicked);
  addAction(save);
  addAction(copy);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TitleBar::ConnectButtons() {
  if (tile_ != nullptr) connect(tile_, &QToolButton::clicked, this, &TitleBar::tileClicked);
  connect(kindGroup_, &QButtonGroup::idClicked, this, &TitleBar::kindClicked);
  connect(begin_, &QToolButton::clicked, this, &TitleBar::beginClicked);
  connect(window_, &QToolButton::clicked, this, &TitleBar::windowClicked);
  connect(incAmplf_, &QToolButton::clicked, this, &TitleBar::amplifyClicked);
  connect(decAmplf_, &QToolButton::clicked, this, &TitleBar::attenuateClicked);
  connect(next_, &QToolButton::clicked, this, &TitleBar::nextClicked);
  connect(prev_, &QToolButton::clicked, this, &TitleBar::previousClicked);
  connect(incWave_, &QToolButton::clicked, this, &TitleBar::waveUpClicked);
  connect(decWave_, &QToolButton::clicked, this, &TitleBar::waveDownClicked);
  // Only the user's choice counts; the window setting the box itself must not loop back.
  connect(orderBox_, &QComboBox::activated, this, &TitleBar::orderChosen);
}

void TitleBar::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void TitleBar::SetColour(const QColor& colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void TitleBar::Arrange(int paneKind) {
  PlaceRightButtons();
  const bool electrograms = paneKind == kElectrogramPane;
  const bool waveMap = paneKind == kWaveMapPane;
  orderBox_->setVisible(electrograms);
  incAmplf_->setVisible(electrograms);
  decAmplf_->setVisible(electrograms);
  incWave_->setVisible(waveMap);
  decWave_->setVisible(waveMap);
  next_->setVisible(!waveMap);
  prev_->setVisible(!waveMap);
  update();  // the free stretch for the caption may have changed
}

// The wave buttons and the next/previous pair share the right end of the bar; a pane only
// ever shows one of the two sets.
void TitleBar::PlaceRightButtons() {
  const int right = width();
  PlaceLeftOf(decWave_, right);
  PlaceLeftOf(incWave_, decWave_->x());
  PlaceLeftOf(window_, incWave_->x() - kWindowGap);
  PlaceLeftOf(begin_, window_->x());
  PlaceLeftOf(incAmplf_, begin_->x() - kAmplifyGap);
  decAmplf_->move(incAmplf_->x() - incAmplf_->width(), decAmplf_->y());
  PlaceLeftOf(next_, right - kNextMargin);
  PlaceLeftOf(prev_, next_->x());
}

void TitleBar::SetKindButton(int paneKind) {
  QAbstractButton* button = kindGroup_->button(paneKind);
  if (button != nullptr) button->setChecked(true);
}

int TitleBar::KindButton() const { return kindGroup_->checkedId(); }

void TitleBar::SetOrderItem(int item) {
  // activated is only sent for user choices, so no signal needs blocking here.
  orderBox_->setCurrentIndex(item);
}

void TitleBar::ShowTraceOrder(int traceOrder) {
  static const QStringList kOrderNames = {"Sequential", "Horizontal", "Vertical", "Free", "", "", "Opposite"};
  if (traceOrder < 0 || traceOrder >= kOrderNames.size()) return;
  const int item = orderBox_->findText(kOrderNames[traceOrder]);
  if (item >= 0) SetOrderItem(item);
}

QAbstractButton* TitleBar::Button(const QString& objectName) const {
  return findChild<QAbstractButton*>(objectName, Qt::FindDirectChildrenOnly);
}

QList<QWidget*> TitleBar::LeftControls() const {
  QList<QWidget*> controls;
  if (tile_ != nullptr) controls << tile_;
  for (QAbstractButton* button : kindGroup_->buttons()) controls << button;
  return controls << orderBox_ << picture_;
}

QList<QWidget*> TitleBar::RightButtons() const {
  return {decWave_, incWave_, window_, begin_, incAmplf_, decAmplf_, next_, prev_};
}

int TitleBar::FreeLeft() const {
  int left = 0;
  for (const QWidget* control : LeftControls())
    if (!control->isHidden()) left = std::max(left, control->geometry().right() + 1);
  return left + kCaptionMargin;
}

int TitleBar::FreeRight() const {
  int right = width();
  for (const QWidget* button : RightButtons())
    if (!button->isHidden()) right = std::min(right, button->x());
  return right - kCaptionMargin;
}

QFont TitleBar::CaptionFont() const { return BoldFont(font(), kCaptionPixels); }

// Rounded up: a rectangle cut to the rounded-down advance makes the text elide needlessly.
int TitleBar::CaptionWidth() const {
  return int(std::ceil(QFontMetricsF(CaptionFont()).horizontalAdvance(caption_)));
}

QRect TitleBar::CaptionRect() const {
  const int textWidth = CaptionWidth();
  const QRect centred((width() - textWidth) / 2, 0, textWidth, kHeight);
  const int freeLeft = FreeLeft();
  const int freeRight = FreeRight();
  if (freeRight <= freeLeft || (centred.left() >= freeLeft && centred.right() < freeRight)) return centred;
  const int shown = std::min(textWidth, freeRight - freeLeft);
  return QRect(freeLeft + (freeRight - freeLeft - shown) / 2, 0, shown, kHeight);
}

QString TitleBar::ShownCaption() const {
  const int room = CaptionRect().width();
  if (room >= CaptionWidth()) return caption_;
  return QFontMetrics(CaptionFont()).elidedText(caption_, Qt::ElideRight, room);
}

void TitleBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), colour_);
  painter.setFont(CaptionFont());
  painter.setPen(Qt::white);
  // Centred on the rectangle's middle, so a text a fraction wider than it is not clipped.
  const QRect where = CaptionRect();
  painter.drawText(where.adjusted(-2, 0, 2, 0), Qt::AlignCenter, ShownCaption());
}

void TitleBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceRightButtons();
}

}  // namespace velmora
