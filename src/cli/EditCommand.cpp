#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/ElectrogramPane.h"
#include "cli/OptionParsing.h"
#include "cli/RecordingSession.h"
#include "core/AnalysisState.h"
#include "history/MarkEditNames.h"
#include "history/MarkHistory.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkStore.h"

namespace velmora::cli {

namespace {

struct EditOptions {
  std::string recording, matrix;
  std::vector<std::string> steps;
};

[[noreturn]] void RefuseStep(const std::string& step) {
  throw UsageError(fmt::format("\"{}\" is not a step: automark, mark:E:T:KIND, delete:E:FROM:TO:KIND, "
                               "switch:E:FROM:TO, undo or redo",
                               step));
}

std::vector<int32_t> Numbers(const std::string& step, size_t count) {
  const size_t colon = step.find(':');
  std::vector<std::string> fields;
  if (colon != std::string::npos) {
    std::istringstream in(step.substr(colon + 1));
    for (std::string field; std::getline(in, field, ':');) fields.push_back(field);
  }
  if (colon == std::string::npos || fields.size() != count) RefuseStep(step);
  std::vector<int32_t> numbers;
  for (const std::string& field : fields) numbers.push_back(ParseInt(step, field, -2147483647, 2147483647));
  return numbers;
}

// One command of the workbench, then its undo step; the name of the step.
const char* EditMarks(RecordingSession& session, const std::string& verb, const std::string& step) {
  AnalysisState& s = session.State();
  if (verb == "automark" && step == verb) {
    AutomaticMarking(s, session.UiOut()).MarkAllSlowWaves();
    return MarkEditNames::kAutomaticMarking;
  }
  if (verb == "mark") {
    const std::vector<int32_t> n = Numbers(step, 3);
    s.PointerChannel = n[0];
    s.MarkOrigin = kByHand;
    MarkStore::AddMarkRecord(s, n[1], n[2]);
    return MarkEditNames::kMark;
  }
  if (verb == "delete") {
    const std::vector<int32_t> n = Numbers(step, 4);
    for (const DeletedMark& mark : MarkStore::RemoveMarks(s, session.UiOut(), n[0], n[3], n[1], n[2]))
      MarkStore::StoreUndo(s, mark.time, mark.kind, n[0]);
    return MarkEditNames::kDeleteMark;
  }
  if (verb == "switch") {
    const std::vector<int32_t> n = Numbers(step, 3);
    s.MarksChanged |= MarkStore::SwitchAttribute(s, session.UiOut(), n[0], n[1], n[2]);
    return MarkEditNames::kSwitchMark;
  }
  RefuseStep(step);
}

// False for an undo or redo with nothing to act on.
bool ApplyStep(RecordingSession& session, MarkHistory& history, const std::string& step) {
  const std::string verb = step.substr(0, step.find(':'));
  if (verb == "undo" && step == verb) return history.Undo(session.State());
  if (verb == "redo" && step == verb) return history.Redo(session.State());
  history.Commit(session.State(), EditMarks(session, verb, step));
  return true;
}

// A step with the wrong shape is refused before anything runs.
void CheckStep(const std::string& step) {
  const std::string verb = step.substr(0, step.find(':'));
  if ((verb == "undo" || verb == "redo" || verb == "automark") && step == verb) return;
  if (verb != "mark" && verb != "delete" && verb != "switch") RefuseStep(step);
  Numbers(step, verb == "delete" ? 4 : 3);
}

void RunEdit(const EditOptions& options) {
  for (const std::string& step : options.steps) CheckStep(step);
  RecordingSession session;
  session.Open(options.recording, options.matrix, true, false);
  AnalysisState& s = session.State();
  s.BeginA = s.CurBegin = 0;
  s.WindowA = s.CurWindow = s.SigLength;
  s.MarkType[0] = kSlowWave;
  MarkHistory history;
  history.Reset(s);
  for (const std::string& step : options.steps) {
    const bool done = ApplyStep(session, history, step);
    std::cout << fmt::format("{}{}: {} marks, undo \"{}\", redo \"{}\"\n", step, done ? "" : " (nothing to do)",
                             s.MarkCount, history.UndoName(), history.RedoName());
  }
  std::cout << MarkLines(s, 1);
}

}  // namespace

void AddEditCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<EditOptions>();
  CLI::App* cmd = app.add_subcommand("edit", "Apply mark edits with undo and redo and print the marks left");
  cmd->add_option("recording", options->recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  cmd->add_option("steps", options->steps,
                  "automark, mark:E:T:KIND, delete:E:FROM:TO:KIND, switch:E:FROM:TO, undo, redo")
      ->required();
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunEdit(*options); }); });
}

}  // namespace velmora::cli
