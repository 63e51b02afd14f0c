#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/FileStamp.h"
#include "core/MarkRecord.h"

namespace velmora {

struct AnalysisState;
class MatrixChooser;
class Ui;

// A mark file as read from disk: the 4096-byte header block and the records after it.
struct MarkFileContents {
  std::vector<uint8_t> header;  // always 4096 bytes
  std::string fileInfo;
  std::vector<MarkRecord> records;
  size_t ignoredTrailingBytes = 0;  // a last record cut short
  FileStamp stamp;                  // the file as it was read
};

// The mark file beside a recording: a 4096-byte header block and 16-byte records, little-endian.
class MarkFile {
 public:
  static constexpr size_t kHeaderSize = 4096;
  static constexpr size_t kRecordSize = 16;

  // Checks and decodes a whole file. Throws IoError for a file cut inside its header, a
  // header size of 0, not a multiple of 16 or beyond the file, and more records than the
  // store holds. A last record cut short is left out and counted in ignoredTrailingBytes.
  static MarkFileContents Parse(const std::string& path, const std::string& bytes);
  // Reads and parses the file at `path`. One larger than the most records the store holds
  // is refused before it is read.
  static MarkFileContents Read(const std::string& path);
  // The largest file the store can take: its header and kMaxMarks records.
  static int64_t MostBytes();
  // The file as the store would be saved now.
  static std::string Serialize(AnalysisState& state);
  static MarkRecord DecodeRecord(const uint8_t* bytes);
  static void EncodeRecord(const MarkRecord& mark, uint8_t* bytes);
};

// The mark store's file operations. All writes go through a temporary file and a rename.
void CreateMarkFile(AnalysisState& state, Ui& ui);
// Saves the store to its mark file, with the settings file beside it. Refused (IoError) while
// another live session holds the mark file, and when the file changed on disk since it was
// read here unless the user, asked through `ui`, says to replace it. Once the marks are
// written, a settings file that cannot be written is only warned about.
void WriteMarkFile(AnalysisState& state, Ui& ui);
// Puts parsed contents into the store (replacing it), empties the undo list and clears the
// amplitude records, which belonged to the marks replaced.
void ApplyMarkFile(AnalysisState& state, const MarkFileContents& contents);
// Reads MarkFileName into the store, then loads the matrix in use (offering one beside the
// recording, or asking for another, through `chooser` when it is missing and a chooser is
// given; with no matrix named the recording keeps its own layout). Throws IoError on a bad
// file, leaving the store as it was.
void ReadMarkFile(AnalysisState& state, Ui& ui, MatrixChooser* chooser);
// Tells the user that a last record cut short was left out.
void ReportIgnoredBytes(const std::string& path, const MarkFileContents& contents, Ui& ui);

}  // namespace velmora
