#pragma once

#include <string>

#include "input/AcquisitionHeaderCheck.h"
#include "input/AcquisitionLayout.h"

namespace velmora {

// The one place the format library is called: it reads the header, the signals' scaling and
// the annotations or events of an EDF, BDF or GDF file. It runs in a process of its own
// (LibraryProcess), so no file can take the workbench down with it.
class AcquisitionFile {
 public:
  // How long the library may take over a header before the file is taken as damaged.
  static int& TimeoutMs();

  // Throws IoError naming `path` and the problem.
  static AcquisitionLayout Describe(const std::string& path, const AcquisitionHeaderCheck::Facts& facts);
  // Bytes of one sample of the library's type `typeCode`; 0 for types read bit by bit or
  // not at all.
  static int BytesOfType(int typeCode);
};

}  // namespace velmora
