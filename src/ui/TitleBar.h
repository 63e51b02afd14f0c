#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QToolButton;

namespace velmora {

// The coloured strip over a display pane: the pane caption centred in white, the pane-kind
// radio buttons and the trace order box on the left, the time, amplification and wave
// buttons on the right. Pane A's bar ("TitleBarA") also carries the tiling button; pane B's
// ("TitleBarB") sits its left-hand controls further left to fill the gap.
//
// The bar only reports clicks; what a click does to the analysis state is the main window's
// business, and the main window tells the bar which buttons the pane kind calls for.
class TitleBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 25;
  static constexpr int kCaptionPixels = 15;
  static constexpr int kButtonPixels = 13;
  static constexpr int kMapPane = 0;
  static constexpr int kElectrogramPane = 1;
  static constexpr int kWaveMapPane = 2;

  TitleBar(const QString& letter, QWidget* parent);

  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }
  void SetColour(const QColor& colour);
  QColor Colour() const { return colour_; }

  // Places the right-hand buttons from the bar's right edge leftwards and shows the buttons
  // that make sense for a pane of this kind.
  void Arrange(int paneKind);
  // Puts the Map/Ele/Wav group's down button to the pane kind without emitting anything.
  void SetKindButton(int paneKind);
  int KindButton() const;

  QComboBox* OrderBox() const { return orderBox_; }
  // Selects an order item without emitting orderChosen.
  void SetOrderItem(int item);
  // Shows the item of the trace order `traceOrder` (0 sequential, 1 horizontal, 2 vertical,
  // 3 free, 6 opposite), as a load that sets the order leaves it.
  void ShowTraceOrder(int traceOrder);

  // Any button of the bar by object name, or nullptr.
  QAbstractButton* Button(const QString& objectName) const;
  // Where the caption is drawn: centred on the bar, or in the free stretch between the left
  // and right controls when a centred caption would run under them.
  QRect CaptionRect() const;
  // The caption as drawn: whole, or cut short with an ellipsis when the free stretch is
  // narrower than the text.
  QString ShownCaption() const;

 signals:
  void tileClicked();
  void kindClicked(int paneKind);
  void beginClicked();
  void windowClicked();
  void amplifyClicked();
  void attenuateClicked();
  void nextClicked();
  void previousClicked();
  void waveUpClicked();
  void waveDownClicked();
  void orderChosen(int item);
  void pictureClicked();
  void copyPictureClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* AddButton(const QString& name, const QString& caption, int left, int width);
  void BuildLeftControls(const QString& suffix, bool paneA);
  void BuildRightButtons(const QString& suffix);
  void ConnectButtons();
  void BuildPictureControls(const QString& suffix, int left);
  void PlaceRightButtons();
  QList<QWidget*> LeftControls() const;
  QList<QWidget*> RightButtons() const;
  QFont CaptionFont() const;
  int CaptionWidth() const;
  int FreeLeft() const;
  int FreeRight() const;

  QString caption_;
  QColor colour_ = Qt::red;
  QButtonGroup* kindGroup_ = nullptr;
  QComboBox* orderBox_ = nullptr;
  QToolButton* tile_ = nullptr;
  QToolButton* decWave_ = nullptr;
  QToolButton* incWave_ = nullptr;
  QToolButton* window_ = nullptr;
  QToolButton* begin_ = nullptr;
  QToolButton* incAmplf_ = nullptr;
  QToolButton* decAmplf_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* prev_ = nullptr;
  QToolButton* picture_ = nullptr;
};

}  // namespace velmora
