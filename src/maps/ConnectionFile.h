#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ConnectionRecord.h"

namespace velmora {

struct AnalysisState;
class Ui;

// What a connection file holds: the path it was written as, the signal length and record count
// of its header, and the records it gives the table (deleted ones left out, at most 2999).
struct ConnectionFileContents {
  std::string ownPath;
  int32_t sigLength = 0;
  int32_t count = 0;
  std::vector<ConnectionRecord> records;
};

// The connection file: a text file beside the recording, one value per line, then one line per
// record. Written through a temporary file; a file that cannot be read as one is refused whole.
class ConnectionFile {
 public:
  // The recording's name with "C" for the first letter of its extension (REC.E00 -> REC.C00,
  // rec.e00 -> rec.c00). A name that would be the recording's own or its mark file's, or a
  // recording without an extension, gets ".C00" appended instead. Empty without a recording.
  static std::string FileNameFor(const std::string& recording, const std::string& markFile);

  // Drops all but the last of each group of records that join the same two marks.
  static void DropDuplicates(AnalysisState& state);
  // The file's text for `path`, as the table now is.
  static std::string Serialize(const AnalysisState& state, const std::string& path);
  // Throws ConversionError naming the file, the line and the problem.
  static ConnectionFileContents Parse(const std::string& path, const std::string& text);
  // Replaces the table with what a file holds and logs what was read.
  static void ApplyConnections(AnalysisState& state, Ui& ui, const ConnectionFileContents& contents);

  // Names the file after the recording, drops duplicates, writes it and clears
  // ConnectionsChanged. Throws IoError.
  static void SaveConnections(AnalysisState& state);
  // "File > Import > Connections": asks for a file and replaces the table with it. A bad file is
  // reported and leaves the table as it was. Returns whether a table was read.
  static bool ReadConnections(AnalysisState& state, Ui& ui);
};

}  // namespace velmora
