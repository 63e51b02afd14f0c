#include "output/DataPadCommands.h"

#include <filesystem>
#include <functional>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "output/DataPadExports.h"
#include "output/ElectrodeIntervals.h"
#include "output/ExportRefused.h"
#include "output/MarksTextImport.h"
#include "marks/RecordingFiles.h"

namespace velmora {

namespace {

std::string RecordingFolder(const AnalysisState& s) {
  return std::filesystem::path(s.ElgFileName).parent_path().string();
}

// Builds the bytes, asks for the file and writes it. The bytes come first so that a refusal
// is said before the user picks a name.
std::optional<std::string> SaveThroughDialog(const AnalysisState& s, Ui& ui, const std::string& title,
                                             const std::string& suggested,
                                             const std::function<std::string()>& bytes) {
  try {
    const std::string text = bytes();
    const auto answer = ui.SaveFileDialog({title, {}, 1, suggested});
    if (!answer || answer->path.empty()) return std::nullopt;
    DataPadCommands::WriteExport(s, answer->path, text);
    return answer->path;
  } catch (const ExportRefused& refusal) {
    ui.Beep();
    ui.Error(refusal.what());
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
  return std::nullopt;
}

std::optional<std::string> SaveBesideRecording(const AnalysisState& s, Ui& ui, const char* fileName,
                                               std::string (*bytes)(const AnalysisState&)) {
  const std::string path = DataPadExports::BesideRecording(s, fileName);
  try {
    DataPadCommands::WriteExport(s, path, bytes(s));
    return path;
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
  return std::nullopt;
}

}  // namespace

void DataPadCommands::WriteExport(const AnalysisState& s, const std::string& path, const std::string& bytes) {
  RecordingFiles::Write(s, path, bytes);
}

std::optional<std::string> DataPadCommands::SaveElectrogramsToText(const AnalysisState& s, Ui& ui) {
  return SaveBesideRecording(s, ui, DataPadExports::kElectrogramFileName, &DataPadExports::ElectrogramText);
}

std::optional<std::string> DataPadCommands::SaveMarksToText(const AnalysisState& s, Ui& ui) {
  return SaveThroughDialog(s, ui, "Marks to .txt", RecordingFolder(s), [&s] { return DataPadExports::MarksText(s); });
}

std::optional<std::string> DataPadCommands::SaveMarksToAnimationFile(const AnalysisState& s, Ui& ui) {
  return SaveThroughDialog(s, ui, "Marks to Animation", RecordingFolder(s),
                           [&s] { return DataPadExports::AnimationText(s); });
}

std::optional<std::string> DataPadCommands::SaveSingleEleMarks(const AnalysisState& s, Ui& ui) {
  return SaveThroughDialog(s, ui, "Single Electrogram Marks", RecordingFolder(s),
                           [&s] { return DataPadExports::SingleElectrogramText(s); });
}

std::optional<std::string> DataPadCommands::SaveDataInMatrixFormat(const AnalysisState& s, Ui& ui) {
  return SaveThroughDialog(s, ui, "Data in Matrix Text File", s.ElgFileName,
                           [&s] { return DataPadExports::MatrixText(s); });
}

std::optional<std::string> DataPadCommands::SaveAllMarksinThisEle(const AnalysisState& s, Ui& ui, int electrode) {
  return SaveThroughDialog(s, ui, "All Marks in One Electrogram", RecordingFolder(s),
                           [&s, electrode] { return ElectrodeIntervals::Text(s, electrode); });
}

std::optional<std::string> DataPadCommands::SaveBrenholtTolvar(const AnalysisState& s, Ui& ui) {
  return SaveBesideRecording(s, ui, DataPadExports::kTolvarFileName, &DataPadExports::TolvarText);
}

bool DataPadCommands::ReadMarksFromTextFile(AnalysisState& s, Ui& ui) {
  const auto answer = ui.OpenFileDialog({"Marks from .txt file", {}, 1, RecordingFolder(s)});
  if (!answer || answer->path.empty()) return false;
  try {
    const MarksTextImport::Contents contents = MarksTextImport::Read(answer->path);
    const std::string difference = MarksTextImport::Apply(s, answer->path, contents);
    if (!difference.empty()) ui.Message(difference);
    return true;
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
  return false;
}

}  // namespace velmora
