#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/RecordingSession.h"
#include "cli/SampleImpairmentOptions.h"
#include "cli/SampleTruthOptions.h"
#include "input/SampleRecording.h"
#include "input/TextSampleRecording.h"

namespace velmora::cli {

namespace {

struct SampleOptions {
  std::string folder, grid, front, format = "e00";
  SampleSettings settings;
};

// "16x15" gives 16 columns and 15 rows.
void ParseGrid(const std::string& text, SampleSettings& settings) {
  if (text.empty()) return;
  const size_t x = text.find_first_of("xX");
  size_t colsEnd = 0, rowsEnd = 0;
  try {
    if (x == std::string::npos) throw std::invalid_argument(text);
    settings.cols = std::stoi(text.substr(0, x), &colsEnd);
    settings.rows = std::stoi(text.substr(x + 1), &rowsEnd);
  } catch (const std::logic_error&) {
    colsEnd = 0;
  }
  if (colsEnd == 0 || colsEnd != x || rowsEnd != text.size() - x - 1)
    throw UsageError(fmt::format("--grid takes COLSxROWS, for example 16x15 (not \"{}\")", text));
}

// The settings come from the options alone, so a setting out of range is a usage error.
void CheckSettings(const std::optional<TextSampleRecording::Layout>& layout, const SampleSettings& settings) {
  try {
    if (layout)
      TextSampleRecording::Check(*layout, settings);
    else
      SampleRecording::Check(settings);
  } catch (const std::invalid_argument& error) {
    throw UsageError(error.what());
  }
}

// A text layout has fewer electrode channels than the E00 grid's default fills.
SampleFiles WriteSample(SampleOptions& options) {
  const auto layout = TextSampleRecording::LayoutNamed(options.format);
  if (layout && options.grid.empty()) {
    const SampleSettings grid = TextSampleRecording::DefaultSettings(*layout);
    options.settings.cols = grid.cols;
    options.settings.rows = grid.rows;
  }
  ParseGrid(options.grid, options.settings);
  CheckSettings(layout, options.settings);
  if (layout) return TextSampleRecording::Write(*layout, options.settings, options.folder);
  return SampleRecording::Write(options.settings, options.folder);
}

}  // namespace

void AddSampleCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SampleOptions>();
  SampleSettings& s = options->settings;
  CLI::App* cmd = app.add_subcommand("sample", "Write a generated recording (sample.E00) and its matrix file");
  cmd->add_option("folder", options->folder, "folder for sample.E00 and sample-matrix.txt (created when missing)")
      ->required();
  cmd->add_option("--seed", s.seed, "random seed; the same seed gives the same files")->capture_default_str();
  cmd->add_option("--seconds", s.seconds, "length of the recording in seconds")->capture_default_str();
  cmd->add_option("--grid", options->grid, "electrode grid as COLSxROWS, at most 240 cells")->default_str("16x15");
  cmd->add_option("--speed", s.speedMmPerS, "propagation speed of the slow waves in mm/s")->capture_default_str();
  cmd->add_option("--direction", s.directionDeg,
                  "propagation direction in degrees counter-clockwise, as the map's arrows: 0 towards increasing "
                  "columns, 90 up the screen (towards row 1)")
      ->capture_default_str();
  cmd->add_option("--format", options->format,
                  "e00, or a text layout: ni, auckland, manchester or nashville (DIR/sample-LAYOUT.txt; "
                  "the grid defaults to 8x6, 8x4 for nashville)")
      ->check(CLI::IsMember({"e00", "ni", "auckland", "manchester", "nashville"}))
      ->capture_default_str();
  SampleTruthOptions::Add(cmd, options->front, s);
  SampleImpairmentOptions::Add(cmd, s.impairments);
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      SampleTruthOptions::ParseFront(options->front, options->settings);
      const SampleFiles files = WriteSample(*options);
      std::cout << files.recording << '\n' << files.matrix << '\n';
      if (!files.truth.empty()) std::cout << files.truth << '\n';
    });
  });
}

}  // namespace velmora::cli
