#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "cli/ReferenceMarkOption.h"
#include "waves/WaveSearch.h"

namespace velmora::cli {

namespace {

struct WavesOptions {
  std::string recording, matrix, marks, type, difference, reference, referenceMark, minSites;
  std::vector<std::string> settings;
};

constexpr int kLargestNumber = 2'000'000'000;

// The members of one wave by channel: "C:T" with times after the reference.
std::string WaveLine(const WaveSearch& search, int wave) {
  std::string line = fmt::format("wave {}:", wave);
  for (int channel = 1; channel <= kChannels; ++channel) {
    const int32_t time = search.WaveTime(channel, wave);
    if (time != kNoValue) line += fmt::format(" {}:{}", channel, time);
  }
  return line;
}

void RunWaves(const WavesOptions& o) {
  const std::optional<int> type = ParseOptionalInt("--type", o.type, 1, 3);
  const std::optional<int> difference = ParseOptionalInt("--difference", o.difference, 1, kLargestNumber);
  const std::optional<int> minSites = ParseOptionalInt("--min-sites", o.minSites, 1, kChannels - kFirstElectrode + 1);
  const std::optional<int> reference = ParseOptionalInt("--reference", o.reference, 0, kLargestNumber);
  const std::optional<ReferenceEntry> referenceMark = ParseReferenceMark(o.referenceMark);
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(o.settings));
  session.OpenWithMarks(o.recording, o.matrix, o.marks);
  AnalysisState& s = session.State();
  // The waves a wave map in the first pane is built from.
  s.ActivePane = 1;
  if (type) s.MarkType[0] = *type;
  if (difference) s.WaveDifference[size_t(s.MarkType[0] - 1)] = *difference;
  if (minSites) s.MinSitesPerWave = *minSites;
  if (reference) s.ReferenceTime = *reference;
  if (referenceMark) ApplyReferenceMark(s, session.UiOut(), *referenceMark);
  auto search = std::make_unique<WaveSearch>();
  search->CalculateWaves(s);
  std::string text = fmt::format("NrWaves: {}\n", s.NrWaves);
  for (int wave = 1; wave <= s.NrWaves; ++wave) text += WaveLine(*search, wave) + '\n';
  std::cout << text;
}

}  // namespace

void AddWavesCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<WavesOptions>();
  WavesOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("waves", "Group the marks into propagating waves and print their members");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00")->required();
  cmd->add_option("--type", o.type, "mark kind: 1 slow waves (default), 2 spikes, 3 type 3")->type_name("1|2|3");
  cmd->add_option("--min-sites", o.minSites, "list only waves of at least this many sites (MinSitesPerWave, 1)")
      ->type_name("N");
  cmd->add_option("--difference", o.difference, "largest time difference between neighbouring sites of a wave")
      ->type_name("MS");
  cmd->add_option("--reference", o.reference, "reference time in ms subtracted from the times")->type_name("R");
  cmd->add_option("--reference-mark", o.referenceMark, "reference mark of the marks whose time is subtracted")
      ->type_name("ELECTRODE:TIME")
      ->excludes("--reference");
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunWaves(*options); }); });
}

}  // namespace velmora::cli
