#pragma once

#include <string>
#include <vector>

#include "core/MarkRecord.h"

namespace velmora::testing {

// The bytes of a mark file holding `marks`: a 4096-byte header and 16-byte records, as the
// workbench writes them.
std::string MarkFileBytes(const std::vector<MarkRecord>& marks);

}  // namespace velmora::testing
