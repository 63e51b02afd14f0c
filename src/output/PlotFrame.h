#pragma once

#include <string>

#include "core/Canvas.h"

namespace velmora {

// Where a plot goes: a rectangle in device units, and how many device units a point (1/72
// inch) takes there, so that type, pens and margins keep their size on screen and paper.
struct PlotArea {
  int left = 0, top = 0, width = 0, height = 0;
  double unit = 1;
  int Points(double points) const;
};

// A plot's frame: its title, the box of its data and the numbered ticks of both axes.
class PlotFrame {
 public:
  struct Axis {
    double low = 0, high = 1;
    std::string label;
    bool numbered = true;  // ticks with their numbers
  };

  PlotFrame(Canvas& canvas, const PlotArea& area, const std::string& title, Axis x, Axis y);

  // Device positions of data values.
  int X(double value) const;
  int Y(double value) const;
  int Left() const { return left_; }
  int Right() const { return right_; }
  int Top() const { return top_; }
  int Bottom() const { return bottom_; }

  // A step of 1, 2 or 5 times a power of ten that cuts `range` into about `parts`.
  static double NiceStep(double range, int parts);
  // `high` raised to a whole number of nice steps over `low`, so the axis ends on a tick.
  static double NiceHigh(double low, double high, int parts);
  static void Title(Canvas& canvas, const PlotArea& area, const std::string& title);
  static std::string Number(double value, double step);

 private:
  void DrawAxes();

  Canvas& canvas_;
  const PlotArea area_;
  Axis x_, y_;
  int left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
};

}  // namespace velmora
