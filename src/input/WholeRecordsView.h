#pragma once

#include <cstdint>
#include <string>

#include "input/AcquisitionHeaderCheck.h"

namespace velmora {

// What the format library is shown of an EDF or BDF file whose header counts more data records
// than the file holds (a recording cut short, or a count that disagrees with the size). Given
// such a file the library reads the annotations of every record the header counts and runs past
// its own buffer on the missing ones. The view is an anonymous in-memory file: the header with
// the count set to the whole records present, and the annotation signals' bytes of those records
// at their places; the samples are left as holes, which costs no memory, because the library only
// describes the file and the workbench decodes the samples itself. Meant for the library's own
// process; the descriptor closes with it.
class WholeRecordsView {
 public:
  // The path to give the library: `path` itself when its count is sound (or for GDF), else the
  // view's. Throws IoError naming `path` when the file cannot be read.
  static std::string PathFor(const std::string& path, const AcquisitionHeaderCheck::Facts& facts);

 private:
  struct Records {
    int64_t bytes = 0, whole = 0;
    std::string header;
  };
  static Records Measure(int fd, const std::string& path, const AcquisitionHeaderCheck::Facts& facts);
  static void CopyAnnotations(int from, int to, const std::string& path, const Records& records,
                              const AcquisitionHeaderCheck::Facts& facts);
};

}  // namespace velmora
