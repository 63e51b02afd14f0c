#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

namespace velmora {

// A pane's paint area. Everything a pane shows is drawn into its back buffer, an image the
// size of the widget; painting only copies the image to the screen, so exposing the window
// never recomputes a drawing. When the size changes the buffer is replaced by a blank one
// and RedrawNeeded asks the window to draw it again from the state.
class PaneWidget : public QWidget {
  Q_OBJECT

 public:
  // 96 dots per inch: point sizes give the same pixel sizes on every screen and offscreen.
  static constexpr int kDotsPerMeter = 3780;

  explicit PaneWidget(QWidget* parent = nullptr);

  QImage& BackBuffer() { return backBuffer_; }
  const QImage& BackBuffer() const { return backBuffer_; }

  // While a picture of the pane is made, the pane's drawing goes to the picture's painter at
  // the picture's size instead of to the back buffer; `paper` asks for black ink on white.
  struct Picture {
    QPainter* painter = nullptr;
    QSize size;
    bool paper = false;
  };
  void BeginPicture(const Picture& picture) { picture_ = picture; }
  void EndPicture() { picture_ = Picture{}; }
  const Picture* CurrentPicture() const { return picture_.painter != nullptr ? &picture_ : nullptr; }
  // The size the pane's drawing is laid out for: the picture's while one is made.
  QSize DrawSize() const { return picture_.painter != nullptr ? picture_.size : size(); }

 signals:
  void RedrawNeeded();
  // The pointer moved over the pane, or clicked on it, at (x, y) in pane pixels.
  void PointerMoved(int x, int y);
  void Clicked(int x, int y);
  void DoubleClicked(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void AllocateBuffer(const QSize& size);

  QImage backBuffer_;
  Picture picture_;
};

}  // namespace velmora
