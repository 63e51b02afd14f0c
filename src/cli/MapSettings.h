#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/ReferenceMarkOption.h"
#include "commands/PreferenceForm.h"

namespace velmora {
struct AnalysisState;
class Ui;
}  // namespace velmora

namespace velmora::cli {

// The options that say which map to compute, declared once for every verb that computes,
// draws, writes or prints a map. They are kept as typed and checked by CheckMapSettings, so
// a bad value names its option.
struct MapSettingTexts {
  std::string kind = "time";
  std::string begin, window, type, reference, cycles, neighbours, digits;
  std::string limitIntervals, velocityStep, maxVelocity, referenceMark, velocityMethod;
  bool expand = false;
};

struct MapSettings {
  uint8_t kind = 0;
  std::optional<int> begin, window, type, reference, cycles, neighbours, digits;
  std::optional<int> limitIntervals, velocityStep, maxVelocity;
  std::optional<ReferenceEntry> referenceMark;
  std::string velocityMethod;
  bool expand = false;
  int width = 1000, height = 1000;
};

// Every map option. `kindRequired`: --kind must be given; else the map is a time map unless
// told otherwise.
void AddMapSettingOptions(CLI::App* cmd, MapSettingTexts& texts, bool kindRequired);
// Throws UsageError for a value the map cannot take.
MapSettings CheckMapSettings(const MapSettingTexts& texts);
// The --set pairs with the velocity method of the options over them, for the session to
// store before the recording is read.
PreferenceTexts MapPreferences(const MapSettings& settings, const std::vector<std::string>& pairs);
// Puts the map of the options into the state as pane `pane` (1 = A, 2 = B) would show it,
// without computing it: its kind, window and mark kind, and the map switches.
void ApplyMapSettings(AnalysisState& state, const MapSettings& settings, int pane);
// Puts the map as the first pane would show it into the state, takes the reference mark the
// options name and fills the map grid as a map pane's redraw does before it draws.
void ComputeMap(AnalysisState& state, Ui& ui, const MapSettings& settings);

}  // namespace velmora::cli
