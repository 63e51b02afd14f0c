#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"

namespace velmora::testing {

// The points of a recorded "polyline n x y x y ..." line.
std::vector<Point> PolylinePoints(const std::string& line);
// The points of every polyline among `lines`, in the order drawn.
std::vector<std::vector<Point>> RecordedPolylines(const std::vector<std::string>& lines);

}  // namespace velmora::testing
