#pragma once

#include <cstdint>
#include <string>

#include "input/SampleRecording.h"

namespace velmora {

// The generated recording of SampleRecording written as EDF+, BDF+ or GDF, so that these
// readers can be checked against the E00 sample sample by sample. The files are written by
// libraries the workbench does not read them with, EDFlib (EDF+, BDF+) and libGDF (GDF), so
// writer and reader cannot share a misreading of the format.
//
// Layout: 256 signals at 1000 Hz in microvolts (the E00 sample's units, 747 to the millivolt,
// written as the microvolts they stand for), signal n carrying E00 channel n, in data records
// of 10 ms (GDF: 32-bit samples), and an annotation "slow wave N" (GDF: an event of type 1)
// at the first activation of every wave. File sample k is the E00 sample's signal at k ms, so
// store row r of both readers holds the signal at r + 1 ms. Each channel gets a DC offset
// drawn from the seed, up to `offsetMv` either way, as a DC-coupled amplifier adds one.
class AcquisitionSampleRecording {
 public:
  enum class Format { Edf, Bdf, Gdf };
  static constexpr int kRecordSamples = 10;
  static constexpr double kMostOffsetMv = 1000;

  // "edf", "bdf", "gdf"; false for any other name.
  static bool FormatNamed(const std::string& name, Format& format);
  static std::string Extension(Format format);
  // The offset given to channel `channel` (1 .. 256), in microvolts.
  static double OffsetUv(const SampleSettings& settings, double offsetMv, int channel);
  // The physical range written: what the signals and offsets need, with room to spare.
  static double RangeUv(double offsetMv);
  // Throws std::invalid_argument naming a setting out of range.
  static void Check(const SampleSettings& settings, double offsetMv);

  // Writes `folder`/sample.edf (.bdf, .gdf), sample-matrix.txt and sample-truth.txt.
  // Throws std::invalid_argument on bad settings and IoError when a file cannot be written.
  static SampleFiles Write(Format format, const SampleSettings& settings, double offsetMv, const std::string& folder);
};

}  // namespace velmora
