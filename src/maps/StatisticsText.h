#pragma once

#include <string>

namespace velmora {

// Numbers as the statistics window writes them: rounded to `significant` digits, then
// fixed-point with `decimals` decimals and a comma between thousands ("1,500.0").
std::string GroupedFixed(double value, int decimals, int significant);

}  // namespace velmora
