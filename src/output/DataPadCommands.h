#pragma once

#include <optional>
#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// The File > Export and File > Import commands of the data pad. The exports ask for a file
// (the two with a fixed name go beside the recording), write it through a temporary file and
// return the path written; nothing when cancelled or refused. Problems are told through `ui`.
class DataPadCommands {
 public:
  static std::optional<std::string> SaveElectrogramsToText(const AnalysisState& state, Ui& ui);
  static std::optional<std::string> SaveMarksToText(const AnalysisState& state, Ui& ui);
  static std::optional<std::string> SaveMarksToAnimationFile(const AnalysisState& state, Ui& ui);
  static std::optional<std::string> SaveSingleEleMarks(const AnalysisState& state, Ui& ui);
  static std::optional<std::string> SaveDataInMatrixFormat(const AnalysisState& state, Ui& ui);
  // Asks for the file only when the electrode can be exported and its marks give rates.
  static std::optional<std::string> SaveAllMarksinThisEle(const AnalysisState& state, Ui& ui, int electrode);
  static std::optional<std::string> SaveBrenholtTolvar(const AnalysisState& state, Ui& ui);

  // "Marks from .txt file": true when marks were added. A bad file adds nothing and is named,
  // with its line, through `ui`; a file naming another matrix or rate is said in a message.
  static bool ReadMarksFromTextFile(AnalysisState& state, Ui& ui);

  // Writes `bytes` to `path` through a temporary file. Refuses (IoError) to replace one of
  // the loaded recording's files, which a slip in the save dialog could otherwise do, or
  // anything that is not a regular file.
  static void WriteExport(const AnalysisState& state, const std::string& path, const std::string& bytes);
};

}  // namespace velmora
