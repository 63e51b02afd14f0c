#pragma once

#include <cstdint>
#include <string>

#include <QObject>
#include <QTimer>

namespace velmora {

class TMainF;

// The pane mode "Animation": the activation played over the electrode grid in pane A or B.
// Space plays and pauses, the arrow keys left and right step, up and down double and halve
// the speed, L switches looping; an electrogram pane beside it shows the time as a cursor
// and scrolls to keep it in view.
class PaneAnimation : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPaneKind = 3;
  static constexpr int kStartSpeed = 10;  // frames per second
  static constexpr int kFastest = 160;

  explicit PaneAnimation(TMainF& window);

  // Makes `pane` an animation pane and shows it.
  void Show(int pane);
  void Draw(int pane);
  std::string Caption() const;
  // After an electrogram pane is drawn: the cursor at the film's time when the other pane
  // plays the animation.
  void DrawCursorOn(int electrogramPane);

  // The keys above when the pane under the pointer plays the animation; true when taken.
  bool KeyDown(int key);

  void TogglePlay();
  void Step(int frames);
  void SetSpeed(int framesPerSecond);
  void SetLoop(bool loop) { loop_ = loop; }

  bool Playing() const { return timer_.isActive(); }
  int Frame() const { return frame_; }
  int Speed() const { return speed_; }
  bool Loop() const { return loop_; }
  // The film's time now, or nothing to show when the preferences give no film.
  int32_t Time() const;
  int FrameCount() const;

 private slots:
  void Tick();

 private:
  bool Animating(int pane) const;
  void FollowWithElectrograms();
  void Redraw();

  TMainF& window_;
  QTimer timer_;
  int frame_ = 0;
  int speed_ = kStartSpeed;
  bool loop_ = true;
};

}  // namespace velmora
