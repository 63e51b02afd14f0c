#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/AcquisitionHeaderCheck.h"
#include "input/AcquisitionLayout.h"
#include "input/AcquisitionPlan.h"
#include "input/AcquisitionSamples.h"
#include "input/E00Reader.h"
#include "marks/MarkFile.h"

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// Opens EDF, EDF+, BDF, BDF+ and GDF recordings. The format library reads the header, the
// scaling and the annotations (AcquisitionFile); the electrode signals become channels in
// file order, at the file's own rate, in whole microvolts less each channel's median (the
// offset of a DC-coupled amplifier); the filter chain of the preferences then runs over
// them. As with E00 files, everything that can be wrong is found before the state changes.
class AcquisitionReader {
 public:
  // The open dialog's filter of these recordings, which is also their kind in the state and
  // in the recent-files list.
  static constexpr int kKind = kAcquisitionFileKind;

  AcquisitionReader(AnalysisState& state, Ui& ui, const DataRoot& root) : state_(state), ui_(ui), root_(root) {}

  // "rec.bdf" gives "rec.bdf.velmora-marks": the whole name of the recording and an ending
  // no other recording's marks (nor any recording) are named with.
  static std::string MarkFileNameFor(const std::string& recording);

  // Checks `path`, binds it, reads its samples and runs the filter chain; then creates a
  // missing mark file and updates the recent-files list as `options` ask. Throws IoError
  // (nothing of the state changed) or Cancelled from the progress panel; a failure while the
  // samples are read unloads the half-read recording.
  void Open(const std::string& path, const RecordingOpenOptions& options = {});
  // Reads the samples of the recording loaded again and runs the filter chain as it is set
  // now (after the preferences changed it); the marks stay. Throws IoError or Cancelled,
  // leaving the recording unloaded on an error.
  void Reload();

 private:
  struct Prepared {
    std::string path;
    AcquisitionHeaderCheck::Facts facts;
    AcquisitionLayout layout;
    AcquisitionPlan plan;
    int64_t fileSize = 0;
  };
  Prepared Prepare(const std::string& path) const;
  void LoadMatrixForRecording();
  void Commit(const Prepared& p, const std::string& markFile, const std::optional<MarkFileContents>& marks);
  void LoadSamples(const Prepared& p);
  std::vector<AcquisitionSamples::Clipping> FillStore(const AcquisitionSamples& samples,
                                                      const std::vector<int32_t>& offsets, int64_t records);
  void TellWarnings(const Prepared& p);
  void WriteBesideFiles(bool markFileMissing, const RecordingOpenOptions& options);
  void Unload();

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
};

}  // namespace velmora
