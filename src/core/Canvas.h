#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Colours are 0xRRGGBB.
using Colour = uint32_t;

namespace colours {
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kRed = 0xFF0000;
inline constexpr Colour kGreen = 0x008000;
inline constexpr Colour kLime = 0x00FF00;
inline constexpr Colour kBlue = 0x0000FF;
inline constexpr Colour kFuchsia = 0xFF00FF;
inline constexpr Colour kYellow = 0xFFFF00;
inline constexpr Colour kGray = 0x808080;
inline constexpr Colour kSilver = 0xC0C0C0;
}  // namespace colours

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

enum class PenMode { Copy, NotXor };
enum class BrushStyle { Solid, Clear };

struct FontStyle {
  bool bold = false;
  bool italic = false;
  int size = 8;  // points
  bool operator==(const FontStyle&) const = default;
};

// The drawing surface every pane, printer page and picture export draws on.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPen(Colour colour, int width = 1, PenMode mode = PenMode::Copy) = 0;
  virtual void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) = 0;
  virtual void SetFont(Colour colour, FontStyle style) = 0;

  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
};

}  // namespace velmora
