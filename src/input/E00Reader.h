#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/E00Header.h"
#include "marks/MarkFile.h"

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// What opening a recording may write besides reading it.
struct RecordingOpenOptions {
  bool updateRecentFiles = true;      // put the recording first in the recent-files list
  bool createMissingMarkFile = true;  // create an empty mark file beside it when there is none
};

// Reads E00 recordings: the header, every frame into the frame buffer, the matrix in use,
// the mark file beside the recording; then copies the frames into the signal store, raw or
// as a 20-sample moving mean. A recording that cannot be read in full is not loaded at all:
// the state keeps the recording that was loaded before.
class E00Reader {
 public:
  E00Reader(AnalysisState& state, Ui& ui, const DataRoot& root);

  // Reads `path` and binds it as the loaded recording. Throws IoError (with nothing of the
  // state changed) when the recording or its mark file is unreadable.
  void OpenNewElgFile(const std::string& path, const RecordingOpenOptions& options = {});
  // Copies the frames of the recording opened last into the signal store.
  void LoadAllElectrograms();
  // Both, as the open commands run them.
  void Open(const std::string& path, const RecordingOpenOptions& options = {});

  // "REC.E00" gives "REC.M00", "rec.e05" gives "rec.m05": the first letter of the extension
  // becomes M. Throws IoError when that would name the recording itself.
  static std::string MarkFileNameFor(const std::string& recording);
  static std::string ExtensionOf(const std::string& path);

  // Rows of the store the recording opened last fills.
  int RowsToFill() const { return rowsToFill_; }

 private:
  void ReadFrames(const std::string& path, const E00Header& header);
  void LoadMatrixForRecording();
  void Commit(const std::string& path, const E00Header& header, const std::string& markFile,
              const std::optional<MarkFileContents>& marks, const RecordingOpenOptions& options);
  void BindMarks(const std::optional<MarkFileContents>& marks, const RecordingOpenOptions& options);
  void UpdateRecentFiles(const std::string& path);
  void TellAboutCuts(const std::string& path, const E00Header& header);
  void CopyChannelGroup(int firstColumn, int columns);
  void SmoothChannelGroup(int firstColumn, int columns);
  void ClearRowsBeyond(int rows);

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
  std::vector<int16_t> frameBuf_;  // frame k holds the C samples of one instant at k x C
  int channels_ = 0;
  int rowsToFill_ = 0;
  int64_t framesRead_ = 0;
};

}  // namespace velmora
