#pragma once

#include <string>
#include <string_view>

#include "input/TextRecording.h"

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// Reads the text files of the 64-channel acquisition set-up: 3 header lines, then one line
// per sample instant holding an 11-character and a 12-character field (date and time, never
// interpreted) and 64 numbers in volts, stored in microvolts.
class NITextReader {
 public:
  static constexpr int kNIChannels = 64;
  static constexpr int kHeaderLines = 3;
  static constexpr int kIgnoredCharacters = 11 + 12;
  // What the two prompts before a read offer: the number of samples and the signal length.
  static constexpr int kSamplesOffered = 1000;
  static constexpr int kSignalLengthOffered = 30000;

  NITextReader(AnalysisState& state, Ui& ui, const DataRoot& root) : state_(state), ui_(ui), root_(root) {}

  // Reads up to `signalLength` data lines of `path` and makes them the loaded recording.
  // A longer signal length than fits in memory is cut to what does, and a file that ends early gives
  // the lines it holds, both said to the user. Throws IoError (a ConversionError naming the
  // line for a bad line) with the recording loaded before left as it was.
  void Read(const std::string& path, int signalLength, const RecordingOpenOptions& options = {});

  // The samples of `text` (the contents of `path`), at most `signalLength` rows; shows the
  // progress and writes a memo line per row. Throws as Read does.
  static TextSamples Parse(const std::string& path, std::string_view text, int signalLength, Ui& ui);

 private:
  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
};

}  // namespace velmora
