#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "core/Canvas.h"

class QPainter;

namespace velmora {

// A drawing made into a PNG, SVG or PDF file through the panes' own Qt canvas, so a picture
// matches the window pixel for pixel. The file is written whole to a temporary file and
// renamed over the target, as every file the workbench writes.
class PictureFile {
 public:
  enum class Format { Png, Svg, Pdf };
  // Paints with a painter already begun on the picture; the size is the picture's, in
  // pixels at 96 dpi. One painter covers the whole picture: vector files end with it.
  using Painting = std::function<void(QPainter& painter, QSize size)>;
  using Drawing = std::function<void(Canvas&)>;

  // The format a file name asks for by its suffix (any case), or nothing.
  static std::optional<Format> FormatOf(const std::string& path);

  // A white image of `size` that `paint` has painted on, at the panes' 96 dpi.
  static QImage Image(QSize size, const Painting& paint);
  // The file's bytes: a white picture of `size` that `paint` has painted on.
  static QByteArray Render(Format format, QSize size, const Painting& paint);
  // Render, then write atomically. Throws IoError when the file cannot be written.
  static void Write(const std::string& path, Format format, QSize size, const Painting& paint);
  // The same for a drawing on a canvas.
  static void Write(const std::string& path, Format format, QSize size, const Drawing& draw);
  // A painting that runs `draw` on a Qt canvas over the painter.
  static Painting OnCanvas(const Drawing& draw);
};

}  // namespace velmora
