#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "core/Limits.h"
#include "maps/ActivationFilm.h"

#ifdef VELMORA_CLI_PICTURES
#include "cli/PictureWriter.h"
#include "ui/FilmExport.h"
#endif

namespace velmora::cli {

namespace {

constexpr int kMostFramesPerSecond = 240;

struct AnimateOptions {
  std::string recording, matrix, marks, out;
  std::string begin, end, step, fps = "10", size = "800x800", type = "1";
  std::vector<std::string> settings;
};

// The options as numbers, checked before anything is read.
struct AnimateSettings {
  std::optional<int> begin, end, step;
  int fps = 10, width = 800, height = 800, markKind = 1;
};

bool EndsWithMp4(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension == ".mp4";
}

bool NamesFolder(const std::string& out) {
  return !out.empty() && (out.back() == '/' || std::filesystem::is_directory(out));
}

AnimateSettings CheckOptions(const AnimateOptions& o) {
  AnimateSettings a;
  if (!EndsWithMp4(o.out) && !NamesFolder(o.out))
    throw UsageError(fmt::format("--out takes FILM.mp4 or a folder ending in / (not \"{}\")", o.out));
  a.begin = ParseOptionalInt("--begin", o.begin, 0, kLatestTimeMs);
  a.end = ParseOptionalInt("--end", o.end, 0, kLatestTimeMs);
  a.step = ParseOptionalInt("--step", o.step, 1, kLatestTimeMs);
  if (a.begin && a.end && *a.end < *a.begin)
    throw UsageError(fmt::format("--end ({}) lies before --begin ({})", *a.end, *a.begin));
  a.fps = ParseInt("--fps", o.fps, 1, kMostFramesPerSecond);
  a.markKind = ParseInt("--type", o.type, 0, 3);
  std::tie(a.width, a.height) = ParseSize(o.size, "800x800");
  return a;
}

void ApplySettings(AnalysisState& s, const AnimateSettings& a) {
  if (a.begin) s.AnimBegin = *a.begin;
  if (a.end) s.AnimEnd = *a.end;
  if (a.step) s.AnimStep = *a.step;
}

void RunAnimate(const AnimateOptions& o) {
  const AnimateSettings a = CheckOptions(o);
#ifndef VELMORA_CLI_PICTURES
  (void)a;
  throw std::runtime_error("this velmora-cli was built without Qt and cannot draw films");
#else
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(o.settings));
  session.OpenWithMarks(o.recording, o.matrix, o.marks);
  AnalysisState& s = session.State();
  ApplySettings(s, a);
  std::unique_ptr<ActivationFilm> film;
  try {
    film = std::make_unique<ActivationFilm>(s, a.markKind);
  } catch (const std::invalid_argument& refused) {
    throw UsageError(refused.what());
  }
  if (!NamesFolder(o.out)) session.CheckTarget(o.out);
  const FilmExport::Request request{o.out, a.width, a.height, a.fps};
  FilmExport::Result result;
  PictureWriter::WithGuiApplication([&] { result = FilmExport::Write(s, *film, request, {}); });
  const ActivationFilm::Steps& steps = film->Timing();
  if (steps.EndCut()) std::cerr << "note: " << steps.CutNote() << '\n';
  for (const std::string& note : result.Notes) std::cerr << "note: " << note << '\n';
  std::cout << fmt::format("{} frames, {} to {} ms in steps of {} ms, written to {}\n", result.Frames, steps.Begin,
                           steps.TimeOf(steps.Count - 1), steps.Step, o.out);
#endif
}

}  // namespace

void AddAnimateCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<AnimateOptions>();
  AnimateOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("animate", "Write the activation as an MP4 film or as numbered PNG frames");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file whose marks light the electrodes")->type_name("F.M00")->required();
  cmd->add_option("--begin", o.begin, "time of the first frame in ms (default the BegTime preference, 0)")
      ->type_name("B");
  cmd->add_option("--end", o.end,
                  "time of the last frame in ms, included (default and at most the end of the recording)")
      ->type_name("E");
  cmd->add_option("--step", o.step, "ms between frames (default the Step Time preference, 100)")->type_name("MS");
  cmd->add_option("--fps", o.fps, "frames per second of the film")->type_name("N")->capture_default_str();
  cmd->add_option("--size", o.size, "frame size in pixels (even for a film: an odd side loses a pixel)")->type_name("WxH")->capture_default_str();
  cmd->add_option("--type", o.type, "mark kind shown: 0 all, 1 slow waves, 2 spikes, 3 type 3")
      ->type_name("0|1|2|3")
      ->capture_default_str();
  cmd->add_option("--out", o.out, "FILM.mp4, or a folder (ending in /) for frame00001.png, ...")
      ->type_name("FILE")
      ->required();
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunAnimate(*options); }); });
}

}  // namespace velmora::cli
