#include "output/PlotFrame.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

namespace velmora {

namespace {

constexpr int kTitlePoints = 9, kTickPoints = 7;
constexpr double kMarginLeft = 34, kMarginBottom = 26, kMarginTop = 18, kMarginRight = 8, kTickLength = 3;
constexpr int kTicks = 5;

}  // namespace

int PlotArea::Points(double points) const { return int(std::lround(points * unit)); }

PlotFrame::PlotFrame(Canvas& canvas, const PlotArea& area, const std::string& title, Axis x, Axis y)
    : canvas_(canvas), area_(area), x_(std::move(x)), y_(std::move(y)) {
  if (!(x_.high > x_.low)) x_.high = x_.low + 1;
  if (!(y_.high > y_.low)) y_.high = y_.low + 1;
  left_ = area.left + area.Points(kMarginLeft);
  right_ = std::max(left_ + 1, area.left + area.width - area.Points(kMarginRight));
  top_ = area.top + area.Points(kMarginTop);
  bottom_ = std::max(top_ + 1, area.top + area.height - area.Points(kMarginBottom));
  Title(canvas, area, title);
  DrawAxes();
}

int PlotFrame::X(double v) const {
  return left_ + int(std::lround((v - x_.low) / (x_.high - x_.low) * (right_ - left_)));
}

int PlotFrame::Y(double v) const {
  return bottom_ - int(std::lround((v - y_.low) / (y_.high - y_.low) * (bottom_ - top_)));
}

double PlotFrame::NiceStep(double range, int parts) {
  if (!(range > 0) || parts < 1) return 1;
  const double raw = range / parts, power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0})
    if (raw <= m * power * (1 + 1e-9)) return m * power;
  return 10 * power;
}

double PlotFrame::NiceHigh(double low, double high, int parts) {
  const double step = NiceStep(high - low, parts);
  return low + std::ceil((high - low) / step - 1e-9) * step;
}

std::string PlotFrame::Number(double value, double step) {
  const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
  return fmt::format("{:.{}f}", std::fabs(value) < step * 1e-6 ? 0.0 : value, decimals);
}

void PlotFrame::Title(Canvas& canvas, const PlotArea& area, const std::string& title) {
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas.SetFont(colours::kBlack, FontStyle{true, false, kTitlePoints});
  canvas.TextOut(area.left + (area.width - canvas.TextWidth(title)) / 2, area.top, title);
}

void PlotFrame::DrawAxes() {
  canvas_.SetPen(colours::kBlack, std::max(1, area_.Points(0.5)));
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas_.Rectangle(left_, top_, right_ + 1, bottom_ + 1);
  canvas_.SetFont(colours::kBlack, FontStyle{false, false, kTickPoints});
  const int tick = area_.Points(kTickLength);
  const double xs = NiceStep(x_.high - x_.low, kTicks), ys = NiceStep(y_.high - y_.low, kTicks);
  for (double v = std::ceil(x_.low / xs - 1e-9) * xs; v <= x_.high + xs * 1e-9; v += xs) {
    const std::string text = Number(v, xs);
    canvas_.Line(X(v), bottom_, X(v), bottom_ + tick);
    canvas_.TextOut(X(v) - canvas_.TextWidth(text) / 2, bottom_ + tick, text);
  }
  for (double v = std::ceil(y_.low / ys - 1e-9) * ys; y_.numbered && v <= y_.high + ys * 1e-9; v += ys) {
    const std::string text = Number(v, ys);
    canvas_.Line(left_ - tick, Y(v), left_, Y(v));
    canvas_.TextOut(left_ - tick - canvas_.TextWidth(text) - 1, Y(v) - canvas_.TextHeight(text) / 2, text);
  }
  const int labelTop = bottom_ + tick + canvas_.TextHeight("0");
  canvas_.TextOut((left_ + right_ - canvas_.TextWidth(x_.label)) / 2, labelTop, x_.label);
  // Above the highest tick's number, which reaches half a line over the box.
  canvas_.TextOut(area_.left, top_ - canvas_.TextHeight(y_.label) * 3 / 2 - 1, y_.label);
}

}  // namespace velmora
