#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/SampleRecording.h"

namespace velmora {

// Writes the generated sample recording in the text layouts that laboratories export, so that
// each text import can be tried on a recording whose slow waves are known. The signals are the
// E00 sample's: channel c of a text file carries channel c of the E00 sample with the same
// settings, rounded to whole units (microvolts for the layouts in volts), one line per
// millisecond. The electrodes are channels 17 up, placed row by row on the settings' grid as
// in the E00 sample; the matrix file beside the recording describes that grid.
//
// - NI: 3 header lines; each data line a date field of 11 characters, a time field of 12
//   and the 64 channels in volts.
// - Manchester: the NI line layout with the channel count of the panel (64).
// - Nashville: 3 header lines, then the 48 channels of a row tab-delimited, in units.
// - Auckland: the 10-line self-describing header (header lines, channels, samples, rate,
//   calibration, the matrix file's path, a comment, three spare numbers), then every row's
//   64 values in hundredths of a unit as one stream, 10 numbers to a line, so that rows
//   break across lines.
class TextSampleRecording {
 public:
  enum class Layout { NI, Auckland, Manchester, Nashville };

  // "ni", "auckland", "manchester", "nashville"; nothing for another name.
  static std::optional<Layout> LayoutNamed(const std::string& name);
  static std::string Name(Layout layout);
  // Channels on each line of the layout (what its reader or panel takes by default).
  static int Channels(Layout layout);
  // The settings' defaults with a grid that fits the layout's electrode channels.
  static SampleSettings DefaultSettings(Layout layout);
  // As SampleRecording::Check, and the grid must fit channels 17 .. Channels(layout).
  static void Check(Layout layout, const SampleSettings& settings);

  // The value the reader stores for every data row of channel `channel` (element r - 1 for
  // row r), whatever the layout: each layout writes it in its own unit and scale.
  static std::vector<int32_t> ChannelSamples(const SampleSettings& settings, int channel);
  // The text of the recording; `matrixPath` goes into the Auckland header.
  static std::string RecordingText(Layout layout, const SampleSettings& settings, const std::string& matrixPath);

  // Writes `folder`/sample-<name>.txt, `folder`/sample-<name>-matrix.txt and the truth file
  // `folder`/sample-<name>-truth.txt (the E00 sample's, whose times these lines share). Throws as
  // SampleRecording::Write does.
  static SampleFiles Write(Layout layout, const SampleSettings& settings, const std::string& folder);
};

}  // namespace velmora
