#include "support/RecordedPolyline.h"

#include <sstream>

namespace velmora::testing {

std::vector<Point> PolylinePoints(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  size_t n = 0;
  in >> word >> n;
  std::vector<Point> points(n);
  for (Point& p : points) in >> p.x >> p.y;
  return points;
}

}  // namespace velmora::testing
