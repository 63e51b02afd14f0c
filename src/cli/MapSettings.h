#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>

#include "cli/ReferenceMarkOption.h"

namespace velmora {
struct AnalysisState;
class Ui;
}  // namespace velmora

namespace velmora::cli {

// The options that say which map to compute, shared by the verbs that compute one. They are
// kept as typed and checked by CheckMapSettings, so a bad value names its option.
struct MapSettingTexts {
  std::string kind = "time";
  std::string begin, window, type, reference, cycles, neighbours, digits;
  std::string limitIntervals, velocityStep, maxVelocity, referenceMark;
  bool expand = false;
};

struct MapSettings {
  uint8_t kind = 0;
  std::optional<int> begin, window, type, reference, cycles, neighbours, digits;
  std::optional<int> limitIntervals, velocityStep, maxVelocity;
  std::optional<ReferenceEntry> referenceMark;
  bool expand = false;
  int width = 1000, height = 1000;
};

// Every option but --kind, which each verb adds with its own default.
void AddMapSettingOptions(CLI::App* cmd, MapSettingTexts& texts);
// Throws UsageError for a value the map cannot take.
MapSettings CheckMapSettings(const MapSettingTexts& texts);
// Puts the map as the first pane would show it into the state, takes the reference mark the
// options name and fills the map grid as a map pane's redraw does before it draws.
void ComputeMap(AnalysisState& state, Ui& ui, const MapSettings& settings);

}  // namespace velmora::cli
