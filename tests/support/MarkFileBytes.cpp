#include "support/MarkFileBytes.h"

#include <cstdint>

#include "marks/MarkFile.h"

namespace velmora::testing {

std::string MarkFileBytes(const std::vector<MarkRecord>& marks) {
  std::string bytes(MarkFile::kHeaderSize, '\0');
  bytes[2] = char(MarkFile::kHeaderSize & 0xFF);
  bytes[3] = char(MarkFile::kHeaderSize >> 8);
  for (const MarkRecord& mark : marks) {
    uint8_t record[MarkFile::kRecordSize];
    MarkFile::EncodeRecord(mark, record);
    bytes.append(reinterpret_cast<const char*>(record), sizeof record);
  }
  return bytes;
}

}  // namespace velmora::testing
