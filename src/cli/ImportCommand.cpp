#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/RecordingPrinting.h"
#include "cli/RecordingSession.h"
#include "input/LabImport.h"
#include "input/NISmoothing.h"
#include "input/NITextReader.h"

namespace velmora::cli {

namespace {

// The values the prompts or the import panel are answered with; an unset value takes what
// the workbench offers there.
struct ImportAnswers {
  std::optional<int> samples, signalLength, channels, rate;
  std::optional<std::string> matrixName;
};

struct ImportOptions {
  std::string layout, file, rows;
  std::map<std::string, std::string> answerTexts;  // by option name, as typed
  std::vector<int> channelsShown;
  bool smooth = false;
};

using ImportRead = void (*)(RecordingSession& session, const std::string& file, const ImportAnswers& answers);

// One text layout: the options that answer its prompts or panel, and how it is read.
struct TextImport {
  const char* layout;
  std::vector<std::string> answerOptions;
  ImportRead read;
};

// As the open command after both prompts are confirmed. Headless, it neither creates a
// missing mark file nor touches the recent-files list.
void ReadNI(RecordingSession& session, const std::string& file, const ImportAnswers& answers) {
  AnalysisState& s = session.State();
  s.NISampleCount = answers.samples.value_or(NITextReader::kSamplesOffered);
  NITextReader(s, session.UiOut(), session.Reader().Root())
      .Read(file, answers.signalLength.value_or(NITextReader::kSignalLengthOffered), RecordingOpenOptions{false, false});
}

// As the import window after "Ok". Without --samples the panel's own 0 is taken: the whole
// file, up to what the store takes.
void ReadLaboratory(int kind, RecordingSession& session, const std::string& file, const ImportAnswers& answers) {
  AnalysisState& s = session.State();
  LabImport import(s, session.UiOut(), session.Reader().Root(), RecordingOpenOptions{false, false});
  LabImport::PanelValues values = LabImport::PanelDefaults(kind);
  const bool nashville = kind == LabImport::kNashville;
  values.channels = std::to_string(answers.channels.value_or(nashville ? 48 : 64));
  values.rate = std::to_string(answers.rate.value_or(nashville ? 30 : 1000));
  values.samples = answers.samples ? std::to_string(*answers.samples) : "0";  // 0: the whole file
  if (answers.matrixName) values.matrixName = *answers.matrixName;
  if (!import.Import(kind, file, values)) throw std::runtime_error(file + ": the recording was not read");
}

void ReadNashville(RecordingSession& session, const std::string& file, const ImportAnswers& answers) {
  ReadLaboratory(LabImport::kNashville, session, file, answers);
}
void ReadManchester(RecordingSession& session, const std::string& file, const ImportAnswers& answers) {
  ReadLaboratory(LabImport::kManchester, session, file, answers);
}
void ReadAuckland(RecordingSession& session, const std::string& file, const ImportAnswers& answers) {
  ReadLaboratory(LabImport::kAuckland, session, file, answers);
}

const std::vector<TextImport>& TextImports() {
  static const std::vector<TextImport> imports = {
      {"ni", {"--samples", "--signal-length"}, ReadNI},
      {"auckland", {}, ReadAuckland},
      {"manchester", {"--samples", "--channels", "--rate", "--matrix-name"}, ReadManchester},
      {"nashville", {"--samples", "--channels", "--rate", "--matrix-name"}, ReadNashville},
  };
  return imports;
}

std::vector<std::string> LayoutNames() {
  std::vector<std::string> names;
  for (const TextImport& entry : TextImports()) names.emplace_back(entry.layout);
  return names;
}

const TextImport& ImportFor(const std::string& layout) {
  for (const TextImport& entry : TextImports())
    if (layout == entry.layout) return entry;
  throw UsageError(fmt::format("no text layout is called \"{}\"", layout));
}

// The smallest and largest answer each option takes: a rate of 0 would divide the signal
// length by zero, and no recording has more than the store's channels.
struct AnswerRange {
  int minimum, maximum;
};
const std::map<std::string, AnswerRange>& AnswerRanges() {
  static const std::map<std::string, AnswerRange> ranges = {{"--samples", {1, INT_MAX}},
                                                            {"--signal-length", {1, INT_MAX}},
                                                            {"--channels", {1, kChannels}},
                                                            {"--rate", {1, INT_MAX}}};
  return ranges;
}

ImportAnswers ParseAnswers(const ImportOptions& options, const TextImport& entry) {
  ImportAnswers answers;
  for (const auto& [option, text] : options.answerTexts) {
    if (text.empty()) continue;
    const auto& taken = entry.answerOptions;
    if (std::find(taken.begin(), taken.end(), option) == taken.end())
      throw UsageError(fmt::format("{} does not answer anything when reading {} files", option, entry.layout));
    if (option == "--matrix-name") {
      answers.matrixName = text;
      continue;
    }
    const AnswerRange range = AnswerRanges().at(option);
    const int value = ParseInt(option, text, range.minimum, range.maximum);
    if (option == "--samples") answers.samples = value;
    if (option == "--signal-length") answers.signalLength = value;
    if (option == "--channels") answers.channels = value;
    if (option == "--rate") answers.rate = value;
  }
  return answers;
}

// The file's channels unless others are asked for.
std::vector<int> ChannelsToShow(const ImportOptions& options, const AnalysisState& s) {
  if (!options.channelsShown.empty()) return options.channelsShown;
  std::vector<int> channels(size_t(std::clamp(int(s.NrTraces), 1, kChannels)));
  std::iota(channels.begin(), channels.end(), 1);
  return channels;
}

void RunImport(const ImportOptions& options) {
  const TextImport& entry = ImportFor(options.layout);
  const ImportAnswers answers = ParseAnswers(options, entry);
  ParseRows(options.rows, INT_MAX);  // an ill-formed range is refused before the read
  RecordingSession session;
  entry.read(session, options.file, answers);
  AnalysisState& s = session.State();
  if (options.smooth) NISmoothing::Smooth(s, session.UiOut());
  const auto rows = ParseRows(options.rows, s.SignalRowsTouched);
  PrintInfo(s);
  if (!options.rows.empty()) PrintRows(s, ChannelsToShow(options, s), rows);
}

}  // namespace

void AddImportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* cmd = app.add_subcommand(
      "import", "Read a text recording as the workbench does once its prompts or panel are confirmed");
  cmd->add_option("layout", options->layout, "the file's text layout")
      ->required()
      ->check(CLI::IsMember(LayoutNames()));
  cmd->add_option("file", options->file, "text recording")->required();
  const std::vector<std::pair<std::string, std::string>> answers = {
      {"--samples", "nr of samples (NI prompt: 1000 unless told; panels: the whole file)"},
      {"--signal-length", "signal length in lines (NI prompt; 30000 unless told)"},
      {"--channels", "channels per row (panel: Nashville 48, Manchester 64)"},
      {"--rate", "sampling rate in Hz (panel: Nashville 30, Manchester 1000)"},
      {"--matrix-name", "matrix file name (panel)"}};
  for (const auto& [name, help] : answers) cmd->add_option(name, options->answerTexts[name], help);
  cmd->add_flag("--smooth", options->smooth, "smooth the channels after the read (20-sample mean)");
  CLI::Option* rows = cmd->add_option("--rows", options->rows, "print store rows A:B, from A up to but not including B");
  cmd->add_option("--channels-shown", options->channelsShown, "channels to print with --rows (default the file's)")
      ->delimiter(',')
      ->check(CLI::Range(1, kChannels))
      ->needs(rows);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunImport(*options); }); });
}

}  // namespace velmora::cli
