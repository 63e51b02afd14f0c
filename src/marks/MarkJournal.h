#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/FileStamp.h"
#include "core/MarkRecord.h"
#include "core/MarkSettings.h"

namespace velmora {

struct AnalysisState;

// What a journal left by a session that never saved holds.
struct PendingJournal {
  std::string path;
  int edits = 0;             // complete batches of changes
  int64_t lastEditMs = 0;    // when the last of them was written, ms since 1970
};

// A log of the mark edits made since the mark file was last read or saved, kept beside it
// (`REC.M00` -> `REC.M00.velmora-journal`) so that a crash or a killed process costs no mark.
//
// The journal does not follow the many ways the store can change: at the end of each command
// it compares the store with what it last wrote down and appends the slots that differ and
// the mark count, closed by an end line. A batch cut short by a crash has no end line and is
// left out on replay. It is synced at every command end and at most every kSyncInterval while
// a command runs. It is an append-only log, not a file replaced as a whole, so it is written
// in place rather than through a temporary file.
//
// It starts with the size and hash of the mark file the edits were made on, so that they are
// never put onto a mark file that someone changed meanwhile, and it carries the settings of
// the runs that made the marks along with them.
class MarkJournal {
 public:
  static constexpr std::chrono::milliseconds kSyncInterval{300};
  static constexpr const char* kSuffix = ".velmora-journal";

  MarkJournal() = default;
  ~MarkJournal();
  MarkJournal(const MarkJournal&) = delete;
  MarkJournal& operator=(const MarkJournal&) = delete;

  static std::string PathFor(const std::string& markFile) { return markFile + kSuffix; }

  // The journal beside `markFile`, when there is one with at least one complete batch.
  // Throws IoError naming the journal, the line and the problem when it cannot be read.
  static std::optional<PendingJournal> Find(const std::string& markFile);
  // Puts the edits of the journal beside the store's mark file into the store (read from
  // that mark file) and marks it changed; returns the number of edits. Nothing of the store
  // changes when the journal cannot be read or was begun on a mark file other than the one
  // there now (IoError).
  static int Replay(AnalysisState& state);
  // Renames the journal beside `markFile` to a name of its own beside it (never deleting
  // it) and returns that name. Throws IoError.
  static std::string SetAside(const std::string& markFile);

  // Starts following the store as it is now, as the state of its mark file. A journal left
  // open for another mark file is closed as it is.
  void Bind(const AnalysisState& state);
  // Appends what changed since the last call (nothing when nothing did). `commandEnd` syncs
  // the journal at once; otherwise it is synced when kSyncInterval has passed since the
  // last sync. Throws IoError when the journal cannot be written.
  void Record(const AnalysisState& state, bool commandEnd);
  // The store and its mark file agree again (saved, or the user chose not to save): the
  // journal is removed and the store followed from here. Does nothing while unbound.
  void Discard(const AnalysisState& state);

  // Follows nothing: the mark file is another live session's, and so is its journal.
  void Unbind();

  bool Bound() const { return !markFile_.empty(); }

 private:
  std::string Changes(const AnalysisState& state);
  void Append(const std::string& text, bool sync);
  void Close();

  std::string markFile_;
  std::vector<MarkRecord> written_;  // the store as the journal has it
  MarkSettings settingsWritten_;
  FileStamp base_;  // the mark file the edits are made on
  int fd_ = -1;
  std::chrono::steady_clock::time_point lastSync_{};
};

}  // namespace velmora
