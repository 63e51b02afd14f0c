#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"

namespace velmora::testing {

// The points of a recorded "polyline n x y x y ..." line.
std::vector<Point> PolylinePoints(const std::string& line);

}  // namespace velmora::testing
