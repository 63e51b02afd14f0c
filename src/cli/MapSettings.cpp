#include "cli/MapSettings.h"

#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/VelocityMethodOption.h"
#include "commands/PreferenceTable.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "marks/AmplitudeCalculation.h"

namespace velmora::cli {

namespace {

constexpr int kLargestNumber = 2'000'000'000;

// An option that sets a preference takes what the preferences window takes for it.
std::optional<int> ParsePreferenceOption(const char* option, const std::string& text, std::string_view preference) {
  const PreferenceVariable* v = PreferenceTable::Find(preference);
  return ParseOptionalInt(option, text, v->minimum, v->maximum);
}

}  // namespace

MapSettings CheckMapSettings(const MapSettingTexts& o) {
  MapSettings m;
  m.kind = ParseMapKind(o.kind);
  m.begin = ParseOptionalInt("--begin", o.begin, 0, kLatestTimeMs);
  m.window = ParseOptionalInt("--window", o.window, 1, kLatestTimeMs);
  m.type = ParseOptionalInt("--type", o.type, 0, 3);
  m.reference = ParseOptionalInt("--reference", o.reference, 0, kLargestNumber);
  m.referenceMark = ParseReferenceMark(o.referenceMark);
  m.cycles = ParsePreferenceOption("--cycles", o.cycles, "NrExpandCycles");
  m.neighbours = ParsePreferenceOption("--neighbours", o.neighbours, "NrNeighbours");
  m.digits = ParsePreferenceOption("--digits", o.digits, "DigitType");
  m.limitIntervals = ParsePreferenceOption("--limit-intervals", o.limitIntervals, "MaxIntervalValue");
  m.velocityStep = ParsePreferenceOption("--velocity-step", o.velocityStep, "IncVel");
  m.maxVelocity = ParsePreferenceOption("--max-velocity", o.maxVelocity, "MaxCondVel");
  PreferenceTexts checked;
  VelocityMethodOption::Apply(o.velocityMethod, checked);  // a name that is no method is refused here
  m.velocityMethod = o.velocityMethod;
  m.expand = o.expand;
  return m;
}

PreferenceTexts MapPreferences(const MapSettings& m, const std::vector<std::string>& pairs) {
  PreferenceTexts texts = PreferenceSettings::Parse(pairs);
  VelocityMethodOption::Apply(m.velocityMethod, texts);
  return texts;
}

void ApplyMapSettings(AnalysisState& s, const MapSettings& m, int pane) {
  s.ActivePane = pane;
  s.CurMapKind = m.kind;
  s.MapBegin = m.begin.value_or(0);
  s.MapWindow = m.window.value_or(s.SigLength);
  if (pane == 2) {
    s.MapKindB = m.kind;
    s.BeginB = s.MapBegin;
    s.WindowB = s.MapWindow;
  }
  if (m.type) s.MarkType[size_t(pane == 2 ? 1 : 0)] = *m.type;
  if (m.reference) s.ReferenceTime = *m.reference;
  s.ExpandMap = m.expand;
  if (m.cycles) s.NrExpandCycles = *m.cycles;
  if (m.neighbours) s.NrNeighbours = *m.neighbours;
  if (m.digits) s.DigitType = *m.digits;
  if (m.limitIntervals) s.LimitIntervals = true, s.MaxIntervalValue = *m.limitIntervals;
  if (m.velocityStep) s.IncVel = *m.velocityStep;
  if (m.maxVelocity) s.LimitCondVel = true, s.MaxCondVel = *m.maxVelocity;
}

void ComputeMap(AnalysisState& s, Ui& ui, const MapSettings& m) {
  ApplyMapSettings(s, m, 1);
  if (m.referenceMark) ApplyReferenceMark(s, ui, *m.referenceMark);
  MapDrawing::CalcCellSize(s, m.width, m.height);
  if (s.CurMapKind == 4 || s.CurMapKind == 5) AmplitudeCalculation::CalcAmplitudes(s);
  MapComputation::FillMapGrid(s);
  if (s.ExpandMap) MapComputation::ExpandMapGrid(s);
}

void AddMapSettingOptions(CLI::App* cmd, MapSettingTexts& o, bool kindRequired) {
  CLI::Option* kind =
      cmd->add_option("--kind", o.kind, "map kind")
          ->type_name("time|count|electrode|interval|amplitude|slope|velocity|quality|frequency");
  if (kindRequired) {
    kind->required();
  } else {
    kind->capture_default_str();
  }
  cmd->add_option("--begin", o.begin, "start of the map window in ms (default 0)")->type_name("B");
  cmd->add_option("--window", o.window, "length of the map window in ms (default the whole signal)")
      ->type_name("W");
  cmd->add_option("--type", o.type, "mark kind mapped: 0 all, 1 slow waves, 2 spikes, 3 type 3")
      ->type_name("0|1|2|3");
  cmd->add_option("--reference", o.reference, "reference time in ms subtracted from the times")->type_name("R");
  cmd->add_option("--reference-mark", o.referenceMark, "reference mark of the marks whose time is subtracted")
      ->type_name("ELECTRODE:TIME")
      ->excludes("--reference");
  cmd->add_flag("--expand", o.expand, "fill empty cells from their neighbours");
  cmd->add_option("--cycles", o.cycles, "expansion cycles")->type_name("N");
  cmd->add_option("--neighbours", o.neighbours, "neighbours an empty cell needs to be filled (1 to 4)")
      ->type_name("N");
  cmd->add_option("--digits", o.digits, "digit format of time values: 1..4 seconds with 3..0 decimals")
      ->type_name("D");
  cmd->add_option("--limit-intervals", o.limitIntervals, "leave out intervals longer than this")->type_name("MS");
  cmd->add_option("--velocity-step", o.velocityStep, "cells across a velocity square")->type_name("D");
  cmd->add_option("--max-velocity", o.maxVelocity, "leave out velocities from this speed up")->type_name("CM_S");
  VelocityMethodOption::AddOption(cmd, o.velocityMethod);
}

}  // namespace velmora::cli
