#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Looks at the fixed header of an EDF, BDF or GDF file before the format library is handed
// it: the kind by its first bytes, every number where the header holds a number, the count
// of signals and a header that fits the file. The library forgives much of this silently
// (text where a number belongs reads as 0), so these are said here, naming the field.
class AcquisitionHeaderCheck {
 public:
  enum class Kind { Edf, Bdf, Gdf };
  static constexpr int kMostSignals = 4096;

  struct Facts {
    Kind kind = Kind::Edf;
    bool plus = false, discontinuous = false;  // EDF+/BDF+, and their D variant
    int signalCount = 0;
    int64_t headerBytes = 0;
    int64_t recordsInHeader = 0;
  };

  // "rec.edf", "REC.BDF", "a.gdf": the files this reader takes.
  static bool Handles(const std::string& path);
  // Bytes of the file's start the check needs to see (at most the whole header).
  static int64_t BytesNeeded(std::string_view start);
  // Throws IoError naming `path` and the problem. `start` holds the first bytes of the file
  // (at least BytesNeeded of them, or the whole file when shorter).
  static Facts Check(const std::string& path, std::string_view start, int64_t fileSize);

 private:
  static Facts CheckEdf(const std::string& path, std::string_view start, int64_t fileSize, Kind kind);
  static Facts CheckGdf(const std::string& path, std::string_view start, int64_t fileSize);
};

}  // namespace velmora
