#pragma once

#include <functional>
#include <string>

#include "core/Canvas.h"

namespace velmora::cli {

// Writes a drawing to a PNG, PDF or SVG file as the workbench's "Save picture ..." does, so a
// picture matches the window pixel for pixel. Works without a display: unless told
// otherwise, Qt runs on its offscreen platform.
class PictureWriter {
 public:
  enum class Format { Png, Pdf, Svg };
  using Drawing = std::function<void(Canvas&)>;

  // `width` x `height` pixels at 96 dots per inch, white before `draw` runs. Throws IoError
  // when the file cannot be written.
  static void Write(const std::string& path, Format format, int width, int height, const Drawing& draw);
  // Runs `body` with the GUI application that fonts and painting need.
  static void WithGuiApplication(const std::function<void()>& body);
};

}  // namespace velmora::cli
