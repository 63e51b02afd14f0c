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

std::vector<std::vector<Point>> RecordedPolylines(const std::vector<std::string>& lines) {
  std::vector<std::vector<Point>> polylines;
  for (const std::string& line : lines)
    if (line.rfind("polyline", 0) == 0) polylines.push_back(PolylinePoints(line));
  return polylines;
}

}  // namespace velmora::testing
