#pragma once

#include <string>
#include <vector>

namespace velmora {

struct BundledFile {
  std::string name;
  std::string text;
};

// The sample matrix files shipped inside the program (data/matrix at build time).
const std::vector<BundledFile>& BundledMatrixFiles();

}  // namespace velmora
