#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/RecordingSession.h"
#include "results/StudyRow.h"
#include "results/WaveTable.h"
#include "waves/WaveSearch.h"

namespace velmora::cli {

// The options every verb that reports a recording's waves takes.
struct WaveResultsOptions {
  std::string recording, matrix, marks, type, minSites, normalDirection, velocityMethod, difference;
  bool automark = false;
  std::string method;  // of the automatic marking, with automark
  // The marks go into the recording's own mark file at the end; the automatic marks are then
  // added to those it holds, as `automark --write` adds them.
  bool writeMarks = false;
  std::vector<std::string> settings;

  // `marksOrAutomark`: --marks or --automark, one of them required.
  static void Add(CLI::App* cmd, WaveResultsOptions& options);
};

// A recording analysed as the wave table shows it: opened smoothed, its marks read (or made
// by the automatic slow-wave marking in place of those beside it), amplitudes computed for
// slow waves, waves grouped in pane A's mark kind, and the table built.
class WaveResults {
 public:
  // Throws UsageError for options it cannot take, IoError for files it cannot read.
  explicit WaveResults(const WaveResultsOptions& options);

  AnalysisState& State() { return session_.State(); }
  const WaveSearch& Search() const { return *search_; }
  const WaveTable& Table() const { return table_; }
  StudyRow Study();
  // The smallest wave the table holds: MinSitesPerWave, or --min-sites over it.
  int MinSites() { return State().MinSitesPerWave; }
  // The marks in a mark file of their own at `path` (never the recording). Throws IoError.
  void SaveMarks(const std::string& path);
  // The marks into the recording's own mark file (held since the start, see writeMarks).
  void WriteOwnMarkFile() { session_.SaveMarks(); }

 private:
  RecordingSession session_;
  std::unique_ptr<WaveSearch> search_ = std::make_unique<WaveSearch>();
  WaveTable table_;
  std::string recording_;
};

// Writes the study row of a recording that failed; a failure to write it is only said.
void WriteFailedStudyRow(const std::string& path, const std::string& recording, const std::string& error);


}  // namespace velmora::cli
