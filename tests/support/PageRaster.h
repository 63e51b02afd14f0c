#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// A PDF page turned into pixels by pdftoppm (poppler-utils), without smoothing, so that ink
// is black and paper white.
class PageRaster {
 public:
  // The first page of `pdf` at `dpi`; nothing when pdftoppm is not installed. Fails the
  // running test when the page cannot be rendered or read.
  static std::optional<PageRaster> Render(const std::string& pdf, int dpi);
  static bool ToolInstalled();

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Ink(int x, int y) const;
  // Neither white nor black: grey or coloured.
  bool Tinted(int x, int y) const;
  // Inked pixels in the rectangle [left, right) x [top, bottom).
  int InkIn(int left, int top, int right, int bottom) const;

 private:
  const uint8_t* Pixel(int x, int y) const { return &rgb_[(size_t(y) * size_t(width_) + size_t(x)) * 3]; }

  int width_ = 0, height_ = 0;
  std::vector<uint8_t> rgb_;
};

}  // namespace velmora::testing
