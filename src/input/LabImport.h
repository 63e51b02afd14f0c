#pragma once

#include <functional>
#include <string>
#include <vector>

#include "input/E00Reader.h"
#include "input/LabTextReader.h"

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// What a panel of the import window shows once it is set up.
struct ImportPanel {
  int kind = 0;  // LabImport::kNashville, kAuckland or kManchester; 0 for none
  std::string layoutLabel, fileNameLabel, maxSamplesLabel;
  std::string warning1, warning2;         // hidden while empty
  std::vector<std::string> headerValues;  // Auckland: the values of header lines 1 to 7
  std::string channelsEdit, rateEdit;     // Nashville, Manchester: what the set-up puts in the edits
};

// The import window's work without the window: setting its panels up, taking the values the
// user confirms, and reading the laboratory text recordings into the state.
//
// The recording loaded before stays as it was, time base and all, until a read succeeds:
// the channel count, rate and matrix a panel or an Auckland header gives are held here and
// applied together with the samples. So "Cancel" and every refusal change nothing of it.
//
// Headless use (what the window does when the user confirms):
//   LabImport import(state, ui, root, options);
//   import.Import(LabImport::kNashville, path, {"48", "900", "30", "NewE48.txt"});
// Auckland takes its values from the header; the panel values are not used.
class LabImport {
 public:
  static constexpr int kNashville = 4;
  static constexpr int kAuckland = 5;
  static constexpr int kManchester = 6;
  // Laboratory recordings lie in one grid row of 16 columns until a matrix file is loaded.
  static constexpr int kGridCols = 16;

  // The texts of a Nashville or Manchester panel's four edits.
  struct PanelValues {
    std::string channels, samples, rate, matrixName;
  };

  LabImport(AnalysisState& state, Ui& ui, const DataRoot& root, const RecordingOpenOptions& options = {})
      : state_(state), ui_(ui), root_(root), options_(options) {}

  // The edits' texts before any set-up (the set-up then fills in channels and rate).
  static PanelValues PanelDefaults(int kind);
  // The texts the warning labels get when a file has more samples than the store takes.
  static std::string TooManySamplesWarning();
  static std::string TruncationWarning(int maxSamples);

  // Remembers the file chosen for `kind` (4 to 6) as the file of that layout.
  void LoadImportFile(int kind, const std::string& path);
  // The panel of the kind chosen last, set up. Throws IoError for an unreadable Auckland header.
  ImportPanel ShowImportPanel();
  ImportPanel SetupNashvillePanel();
  ImportPanel SetupManchesterPanel();
  // Reads the header of the Auckland file, writes its values to the memo, and holds the
  // recording's size, rate and matrix for the read. Throws IoError naming file and line.
  ImportPanel ReadAucklandHeader();

  // "Ok" of the Nashville or Manchester panel. Refuses (false, the field named in an error)
  // a value that is no integer, channels outside 1..256, fewer than 0 samples, a rate below
  // 1 Hz or no matrix name; more samples than the store takes fill the panel's warnings and
  // are cut. 0 samples (the panel's own start value) or none read the whole file, up to what
  // the store takes, and a file of fewer rows is then no shortfall to tell of.
  bool TakePanelValues(const PanelValues& values, ImportPanel& panel);

  // Read the samples of the layout's file and make them the loaded recording. False when
  // the user kept the old recording or the file was refused (reported, nothing changed).
  bool ReadAucklandData();
  bool ReadManchesterData();
  bool ReadNashvilleData();
  // The read of the kind chosen last.
  bool ReadData();

  // All of the above for one file, as the window does it when the user confirms `values`.
  bool Import(int kind, const std::string& path, const PanelValues& values);

  // What the loading panel names as the matrix of the recording read next.
  const std::string& PendingMatrixFileName() const { return matrixFileName_; }

  // Called once the user has answered for the changed marks of the loaded recording (saved
  // or not) and before anything is read: the window lets the marks' journal go there.
  void SetMarksSettled(std::function<void()> marksSettled) { marksSettled_ = std::move(marksSettled); }

 private:
  ImportPanel PanelOf(int kind, const std::string& layout, const std::string& path) const;
  ImportPanel SetupEditPanel(int kind, const std::string& layout, const std::string& path, int channels,
                             int samplingRate);
  // The most rows a read may take: the import's limit or what memory holds, the lower.
  int RowLimit() const;
  void ApplyTruncation(ImportPanel& panel);
  bool ReadSamples(LabTextReader::Layout layout, const std::string& path, int headerLines);
  void Commit(const std::string& path, const TextSamples& samples);
  void ApplyRate(int rows);

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
  RecordingOpenOptions options_;
  int channels_ = 0;
  int samplingRate_ = 0;
  std::string matrixFileName_;
  std::function<void()> marksSettled_;
  bool countAsked_ = true;
};

}  // namespace velmora
