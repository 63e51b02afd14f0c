#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/E00Reader.h"

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// Samples read from a text recording, held apart from the signal store until the whole file
// has been read, so that a broken file leaves the recording loaded before it as it was.
struct TextSamples {
  int channels = 0;
  int rows = 0;
  std::vector<int32_t> values;  // row-major, `channels` values per row

  // No more rows than `text` can hold: each value takes a character and a separator. Room is
  // made for these, not for the rows asked for, which may be any number.
  static int64_t MostRowsIn(std::string_view text, int channels) {
    return int64_t(text.size()) / (2 * int64_t(std::max(channels, 1))) + 1;
  }
};

// Puts a text recording that was read completely into the state: the store, a one-row
// electrode layout, the panes reset to show it whole, and its ".Mxt" mark file bound.
class TextRecording {
 public:
  TextRecording(AnalysisState& state, Ui& ui, const DataRoot& root) : state_(state), ui_(ui), root_(root) {}

  // "run7.txt" gives "run7.Mxt", "run7" gives "run7.Mxt", "a.b/run7.dat2" gives "a.b/run7.Mxt".
  // Throws IoError when that would name the recording itself.
  static std::string MarkFileNameFor(const std::string& recording);

  // Checks the mark file beside `path` (throws IoError, nothing changed, when it is broken),
  // then commits. `gridCols` is the width of the one-row layout (channels beyond it have no
  // cell on the grid).
  void Commit(const std::string& path, const TextSamples& samples, int gridCols,
              const RecordingOpenOptions& options = {});

 private:
  void StoreSamples(const TextSamples& samples);
  void DescribeRecording(int channels);
  void SetOneRowLayout(int channels, int gridCols);
  void ResetPanes();
  void BindMarkFile(bool markFileExists, const RecordingOpenOptions& options);

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
};

}  // namespace velmora
