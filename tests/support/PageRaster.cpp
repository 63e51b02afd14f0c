#include "support/PageRaster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/TempDir.h"

namespace velmora::testing {

bool PageRaster::ToolInstalled() { return std::system("pdftoppm -v > /dev/null 2>&1") == 0; }

std::optional<PageRaster> PageRaster::Render(const std::string& pdf, int dpi) {
  if (!ToolInstalled()) return std::nullopt;
  const std::string prefix = pdf + "-page";
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -aa no -aaVector no -singlefile '" + pdf +
                              "' '" + prefix + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  const std::string bytes = ReadFile(prefix + ".ppm");
  std::istringstream in(bytes);
  std::string magic;
  int maximum = 0;
  PageRaster page;
  in >> magic >> page.width_ >> page.height_ >> maximum;
  in.get();
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(maximum, 255);
  const size_t size = size_t(page.width_) * size_t(page.height_) * 3;
  const size_t start = size_t(in.tellg());
  EXPECT_EQ(bytes.size(), start + size);
  if (bytes.size() != start + size) return std::nullopt;
  page.rgb_.assign(bytes.begin() + std::ptrdiff_t(start), bytes.end());
  return page;
}

bool PageRaster::Ink(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  const uint8_t* p = Pixel(x, y);
  return p[0] < 128 && p[1] < 128 && p[2] < 128;
}

bool PageRaster::Tinted(int x, int y) const {
  const uint8_t* p = Pixel(x, y);
  const bool white = p[0] == 255 && p[1] == 255 && p[2] == 255;
  const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
  return !white && !black;
}

int PageRaster::InkIn(int left, int top, int right, int bottom) const {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += Ink(x, y) ? 1 : 0;
  return count;
}

}  // namespace velmora::testing
