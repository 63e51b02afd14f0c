#include "cli/WaveResults.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/VelocityMethodOption.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkFile.h"
#include "marks/RecordingFiles.h"
#include "output/ResultsCsv.h"

namespace velmora::cli {

namespace {

constexpr int kLargestNumber = 2'000'000'000;

// Pane A over the whole signal, showing the kind the waves are built from.
void ShowWholeSignalInPaneA(AnalysisState& s, int type) {
  s.BeginA = 0;
  s.WindowA = s.SigLength;
  s.CurBegin = 0;
  s.CurWindow = s.SigLength;
  s.MarkType[0] = type;
  s.ActivePane = 1;
}


}  // namespace

void WaveResultsOptions::Add(CLI::App* cmd, WaveResultsOptions& o) {
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  CLI::Option* marks = cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00");
  CLI::Option* automark =
      cmd->add_flag("--automark", o.automark, "mark the slow waves automatically instead of reading marks");
  marks->excludes(automark);
  cmd->add_option("--type", o.type, "mark kind: 1 slow waves (default), 2 spikes, 3 type 3")->type_name("1|2|3");
  cmd->add_option("--min-sites", o.minSites, "leave out waves with fewer sites (default MinWaveSites, 4)")
      ->type_name("N");
  cmd->add_option("--normal-direction", o.normalDirection,
                  "the array's normal direction in degrees, counter-clockwise, 90 up (default NormalDirection, 0)")
      ->type_name("DEG");
  cmd->add_option("--difference", o.difference, "largest time difference between neighbouring sites of a wave")
      ->type_name("MS");
  VelocityMethodOption::AddOption(cmd, o.velocityMethod);
  PreferenceSettings::AddOption(cmd, o.settings);
}

WaveResults::WaveResults(const WaveResultsOptions& o) : recording_(o.recording) {
  if (o.marks.empty() && !o.automark) throw UsageError("either --marks or --automark is required");
  if (o.writeMarks && !o.automark) throw UsageError("--write-marks goes with --automark");
  const int type = ParseOptionalInt("--type", o.type, 1, 3).value_or(kSlowWave);
  const std::optional<int> minSites = ParseOptionalInt("--min-sites", o.minSites, 1, kChannels);
  const std::optional<int> difference = ParseOptionalInt("--difference", o.difference, 1, kLargestNumber);
  PreferenceTexts texts = PreferenceSettings::Parse(o.settings);
  VelocityMethodOption::Apply(o.velocityMethod, texts);
  if (!o.normalDirection.empty())
    texts["NormalDirection"] = std::to_string(ParseInt("--normal-direction", o.normalDirection, 0, 359));
  session_.UsePreferences(texts);
  if (o.automark) {
    session_.Open(o.recording, o.matrix, true, o.writeMarks);
    if (!o.writeMarks) State().MarkCount = 0;  // the marks beside the recording take no part
  } else {
    session_.OpenWithMarks(o.recording, o.matrix, o.marks);
  }
  if (o.writeMarks) session_.HoldMarkFile();
  AnalysisState& s = State();
  ShowWholeSignalInPaneA(s, type);
  if (difference) s.WaveDifference[size_t(type - 1)] = *difference;
  if (o.automark) AutomaticMarking(s, session_.UiOut()).MarkAllSlowWaves();
  if (type == kSlowWave) {
    AmplitudeCalculation::CalcAmplitudes(s);
    s.AmplitudesValid = true;
  }
  search_->CalculateWaves(s);
  minSites_ = minSites.value_or(s.MinWaveSites);
  table_ = WaveTable::Build(s, *search_, {minSites_, double(s.NormalDirection)});
}

StudyRow WaveResults::Study() {
  return StudyRow::Of(recording_, State(), table_);
}

void WaveResults::SaveMarks(const std::string& path) {
  RecordingFiles::Write(State(), path, MarkFile::Serialize(State()));
}


void WriteFailedStudyRow(const std::string& path, const std::string& recording, const std::string& error) {
  try {
    WriteTarget::RefuseSpecial(path);
    WriteFileAtomically(path, ResultsCsv::StudyText(
                                  {StudyRow::Failed(recording, error)}));
  } catch (const std::exception& failure) {
    std::cerr << "error: " << failure.what() << '\n';
  }
}


}  // namespace velmora::cli
