#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/E00Header.h"
#include "input/FrameStream.h"
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

// Reads E00 recordings: the header, the matrix in use and the mark file beside the
// recording; then the frames into the signal store, raw or as a 20-sample moving mean.
// Everything that can be wrong with a file is found before the state changes, so a broken
// recording leaves the one loaded before it as it was.
class E00Reader {
 public:
  static constexpr int32_t kE00SamplingF = 1000;

  E00Reader(AnalysisState& state, Ui& ui, const DataRoot& root);

  // Checks `path` and binds it as the loaded recording; writes no file. Throws IoError (with
  // nothing of the state changed) when the recording or its mark file is unreadable.
  void OpenNewElgFile(const std::string& path);
  // Reads the frames of the recording opened last into the signal store. Should the disk
  // fail part way, the half-read recording is unloaded and IoError thrown.
  void LoadAllElectrograms();
  // Both, as the open commands run them; then, and only once the frames are in, creates the
  // missing mark file and puts the recording first in the recent-files list as `options`
  // ask. A recording that fails to load leaves no file behind.
  void Open(const std::string& path, const RecordingOpenOptions& options = {});

  // "REC.E00" gives "REC.M00", "rec.e05" gives "rec.m05": the first letter of the extension
  // becomes M. Throws IoError when that would name the recording itself.
  static std::string MarkFileNameFor(const std::string& recording);
  static std::string ExtensionOf(const std::string& path);

  // Zeroes the store rows from `rows` up to the last row a load wrote, so no recording shows
  // samples an earlier one left there.
  static void ClearRowsBeyond(AnalysisState& state, int rows);

  const DataRoot& Root() const { return root_; }

  // Rows of the store the recording opened last fills.
  int RowsToFill() const { return rowsToFill_; }

 private:
  void LoadMatrixForRecording(const std::string& path);
  void Commit(const std::string& path, const E00Header& header, const std::string& markFile,
              const std::optional<MarkFileContents>& marks);
  void BindMarks(const std::optional<MarkFileContents>& marks);
  void WriteBesideFiles(const RecordingOpenOptions& options);
  void UpdateRecentFiles(const std::string& path);
  void TellAboutCutFrame(const std::string& path, const E00Header& header);
  void ShowProgressBlock(int block, bool smooth);
  void CopyRows(int first, int end);
  void SmoothRows(int first, int end, int32_t* sums);
  void Unload();

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
  FrameStream frames_;
  std::string path_;
  int64_t framesOffset_ = 0;  // byte where frame 0 starts
  int64_t readableFrames_ = 0;
  int channels_ = 0;
  int rowsToFill_ = 0;
  bool markFileMissing_ = false;
};

}  // namespace velmora
