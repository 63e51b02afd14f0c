#include "marks/MarkSettingsFile.h"

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/SignalUnits.h"
#include "core/Ui.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/AutomaticMarking.h"

namespace velmora {

namespace {

constexpr size_t kMaxFileSize = 64 * 1024;
constexpr size_t kMaxKeyLength = 40, kMaxValueLength = 300, kMaxEntries = 100;
constexpr const char* kMarkingSection = "[marking]";
constexpr const char* kAmplitudesSection = "[amplitudes]";

std::string NameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }
std::string YesNo(bool on) { return on ? "yes" : "no"; }

// What was done to the samples as the recording was read, whatever the switch says now.
std::string Smoothing(const AnalysisState& s) {
  if (!s.SmoothedOnLoad) return "none on loading";
  return fmt::format("moving mean of {} samples", kSmoothingWidth);
}

void AddRecording(MarkSettings::Entries& entries, const AnalysisState& s) {
  entries.emplace_back("recording", NameOnly(s.ElgFileName));
  entries.emplace_back("matrix", NameOnly(s.MatrixFileName));
  entries.emplace_back("sampling_frequency_hz", std::to_string(s.SamplingF));
  entries.emplace_back("smoothing", Smoothing(s));
  // An EDF, BDF or GDF recording's samples went through the filter chain of the time.
  if (!s.Acquisition.Empty()) entries.emplace_back("filters", s.Acquisition.filters);
}

void AddSearches(MarkSettings::Entries& entries, const AnalysisState& s) {
  const struct {
    const char* kind;
    int32_t distance, level, width;
  } kinds[] = {{"sw", s.DiffDistSW, s.MinDiffValSW, s.SearchWidthSW},
               {"spike", s.DiffDistSpike, s.MinDiffValSpike, s.SearchWidthSpike},
               {"type3", s.DiffDistType3, s.MinDiffValType3, s.SearchWidthType3}};
  for (const auto& kind : kinds) {
    entries.emplace_back(fmt::format("diff_distance_{}", kind.kind), std::to_string(kind.distance));
    entries.emplace_back(fmt::format("min_diff_value_{}", kind.kind), std::to_string(kind.level));
    entries.emplace_back(fmt::format("search_width_{}", kind.kind), std::to_string(kind.width));
  }
  entries.emplace_back("search_below_level", YesNo(s.SearchBelowLevel));
  entries.emplace_back("avoid_double_marks", YesNo(s.AvoidDoubleMarks));
  entries.emplace_back("avoidance_width", std::to_string(s.AvoidanceWidth));
}

bool IsKeyCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }
bool IsPrintable(unsigned char c) { return c >= 0x20 && c != 0x7F; }

// One "key: value" line; the problem with it, or empty when it is good.
std::string CheckEntry(const std::string& line, std::string& key, std::string& value) {
  const size_t colon = line.find(": ");
  if (colon == std::string::npos) return "expected \"key: value\"";
  key = line.substr(0, colon);
  value = line.substr(colon + 2);
  if (key.empty() || key.size() > kMaxKeyLength || !std::all_of(key.begin(), key.end(), IsKeyCharacter))
    return fmt::format("\"{}\" is not a setting name (a to z, 0 to 9 and _, at most {})", EchoedText::Token(key),
                       kMaxKeyLength);
  if (value.size() > kMaxValueLength) return fmt::format("the value is longer than {} characters", kMaxValueLength);
  if (!std::all_of(value.begin(), value.end(), [](char c) { return IsPrintable((unsigned char)c); }))
    return "the value holds a control character";
  return {};
}

struct LineParser {
  const std::string& path;
  MarkSettings settings;
  MarkSettings::Entries* section = nullptr;
  bool seenMarking = false, seenAmplitudes = false;

  [[noreturn]] void Refuse(int lineNumber, const std::string& problem) const {
    throw IoError(path, fmt::format("line {}: {}", lineNumber, problem));
  }
  void OpenSection(int lineNumber, bool& seen, MarkSettings::Entries& entries, const std::string& line) {
    if (seen) Refuse(lineNumber, line + " comes twice");
    seen = true;
    section = &entries;
  }
  void Take(int lineNumber, const std::string& line) {
    if (line.empty()) return;
    if (line == kMarkingSection) return OpenSection(lineNumber, seenMarking, settings.marking, line);
    if (line == kAmplitudesSection) return OpenSection(lineNumber, seenAmplitudes, settings.amplitudes, line);
    if (section == nullptr) Refuse(lineNumber, "a setting before [marking] or [amplitudes]");
    std::string key, value;
    const std::string problem = CheckEntry(line, key, value);
    if (!problem.empty()) Refuse(lineNumber, problem);
    const bool again = std::any_of(section->begin(), section->end(), [&](const auto& e) { return e.first == key; });
    if (again) Refuse(lineNumber, "\"" + key + "\" comes twice in its section");
    if (settings.marking.size() + settings.amplitudes.size() >= kMaxEntries)
      Refuse(lineNumber, fmt::format("more than {} settings", kMaxEntries));
    section->emplace_back(key, value);
  }
};

}  // namespace

void MarkSettingsFile::CaptureMarking(AnalysisState& s, std::string_view run) {
  MarkSettings::Entries entries;
  entries.emplace_back("run", std::string(run));
  AddRecording(entries, s);
  entries.emplace_back("mark_kind", std::to_string(s.MarkType[0]));
  entries.emplace_back("marked_from_ms", std::to_string(s.CurBegin));
  entries.emplace_back("marked_window_ms", std::to_string(s.CurWindow));
  if (s.DetectionMethod == AutomaticMarking::kRobustMethod) {
    entries.emplace_back("method", "robust");
    entries.emplace_back("fall_width_ms", std::to_string(s.RobustFallWidth));
    entries.emplace_back("threshold_noise_deviations", std::to_string(s.RobustThreshold));
    entries.emplace_back("refractory_ms", std::to_string(s.RobustRefractory));
    entries.emplace_back("noise_window_ms", std::to_string(s.RobustNoiseWindow));
    entries.emplace_back("dead_below_quality", std::to_string(s.DeadQuality));
  } else {
    entries.emplace_back("method", "described");
    entries.emplace_back("threshold_deviations", std::to_string(AutomaticMarking::kThresholdDeviations));
    entries.emplace_back("hold_off_samples", std::to_string(AutomaticMarking::kHoldOffSamples));
    // The threshold's statistics are the whole signal's, whatever the window marked.
    entries.emplace_back("statistics_begin_ms", "0");
    entries.emplace_back("statistics_window_ms", std::to_string(s.SigLength));
  }
  AddSearches(entries, s);
  s.MarkingSettings.marking = std::move(entries);
}

void MarkSettingsFile::CaptureAmplitudes(AnalysisState& s) {
  MarkSettings::Entries entries;
  AddRecording(entries, s);
  entries.emplace_back("half_window_ms", std::to_string(AmplitudeCalculation::kHalfWindowMs));
  entries.emplace_back("slope_span_samples", std::to_string(AmplitudeCalculation::kSteepSpan));
  entries.emplace_back("units_per_mv", fmt::format("{}", UnitsPerMv(s)));
  s.MarkingSettings.amplitudes = std::move(entries);
}

std::string MarkSettingsFile::Text(const MarkSettings& settings) {
  std::string text = std::string(kFirstLine) + "\n";
  const auto section = [&text](const char* title, const MarkSettings::Entries& entries) {
    if (entries.empty()) return;
    text += std::string(title) + "\n";
    for (const auto& [key, value] : entries) text += key + ": " + value + "\n";
  };
  section(kMarkingSection, settings.marking);
  section(kAmplitudesSection, settings.amplitudes);
  return text;
}

MarkSettings MarkSettingsFile::Parse(const std::string& path, const std::string& text) {
  if (text.size() > kMaxFileSize) throw IoError(path, fmt::format("larger than {} bytes", kMaxFileSize));
  LineParser parser{path, {}};
  size_t begin = 0;
  for (int lineNumber = 1; begin < text.size(); ++lineNumber) {
    const size_t end = std::min(text.find('\n', begin), text.size());
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    begin = end + 1;
    if (lineNumber == 1 && line != kFirstLine)
      parser.Refuse(1, fmt::format("expected \"{}\"", kFirstLine));
    if (lineNumber > 1) parser.Take(lineNumber, line);
  }
  if (text.empty()) parser.Refuse(1, fmt::format("expected \"{}\", the file is empty", kFirstLine));
  return parser.settings;
}

std::vector<std::string> MarkSettingsFile::Lines(const MarkSettings& settings) {
  std::vector<std::string> lines;
  for (const auto& [key, value] : settings.marking) lines.push_back("marking." + key + ": " + value);
  for (const auto& [key, value] : settings.amplitudes) lines.push_back("amplitudes." + key + ": " + value);
  return lines;
}

MarkSettings MarkSettingsFile::ReadFile(const std::string& path) {
  return Parse(path, ReadWholeFile(path, int64_t(kMaxFileSize), "a settings file"));
}

void MarkSettingsFile::Write(const AnalysisState& s) {
  if (s.MarkingSettings.Empty() || s.MarkFileName.empty()) return;
  WriteFileAtomically(PathFor(s.MarkFileName), Text(s.MarkingSettings));
}

void MarkSettingsFile::Read(AnalysisState& s, Ui& ui) {
  s.MarkingSettings = {};
  const std::string path = PathFor(s.MarkFileName);
  // A folder, a pipe or a link that leads nowhere in its place is said, not passed over.
  if (s.MarkFileName.empty() || !AnythingAt(path)) return;
  try {
    s.MarkingSettings = ReadFile(path);
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
}

}  // namespace velmora
