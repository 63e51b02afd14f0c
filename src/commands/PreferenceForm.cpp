#include "commands/PreferenceForm.h"

#include <fmt/format.h>

#include "core/EchoedText.h"

#include <memory>

#include "commands/ValuePrompt.h"

namespace velmora {

namespace {

using Values = std::map<std::string_view, int32_t>;

// The animation's end time is unset until one is given: its field is then empty, not the
// sentinel, and an empty field unsets it.
bool BlankMeansUnset(const PreferenceVariable& v) { return v.name == "AnimEnd"; }

std::string Shown(const AnalysisState& s, const PreferenceVariable& v) {
  const int32_t value = v.Get(s);
  return BlankMeansUnset(v) && value == kNoValue ? std::string() : std::to_string(value);
}

std::string TextOf(const AnalysisState& s, const PreferenceTexts& texts, const PreferenceVariable& v) {
  const auto found = texts.find(v.name);
  return found != texts.end() ? found->second : Shown(s, v);
}

std::string RangeReason(const PreferenceVariable& v, int32_t minimum, const std::string& text) {
  if (v.IsSwitch()) return fmt::format("must be 0 or 1 (not \"{}\")", EchoedText::Token(text));
  return fmt::format("must be a whole number from {} to {} (not \"{}\")", minimum, v.maximum,
                     EchoedText::Token(text));
}

// The avoidance width is read only while marking twice is avoided: otherwise it keeps its value
// whatever the field holds.
bool IsRead(const PreferenceVariable& v, const Values& earlier) {
  if (v.name != "AvoidanceWidth") return true;
  const auto avoid = earlier.find("AvoidDoubleMarks");
  return avoid != earlier.end() && avoid->second != 0;
}

// Interval bounds the wrong way round would leave no interval in range.
int32_t LowestAllowed(const PreferenceVariable& v, const Values& earlier) {
  if (v.name != "MaxIntervalRange") return v.minimum;
  const auto lower = earlier.find("MinIntervalRange");
  return lower == earlier.end() ? v.minimum : std::max(v.minimum, lower->second);
}

// Reads every field in storing order into `values`; the first field that cannot be stored
// ends the reading.
std::optional<PreferenceProblem> ReadAll(const AnalysisState& s, const PreferenceTexts& texts, Values& values) {
  for (const PreferenceVariable& v : PreferenceTable::Variables()) {
    if (!IsRead(v, values)) continue;
    const std::string text = TextOf(s, texts, v);
    const bool unset = BlankMeansUnset(v) && text.find_first_not_of(" \t") == std::string::npos;
    const std::optional<int32_t> value = unset ? std::optional<int32_t>(kNoValue) : ValuePrompt::ParseInteger(text);
    const int32_t minimum = LowestAllowed(v, values);
    if (!value) {
      if (v.IsSwitch()) return PreferenceProblem{&v, RangeReason(v, minimum, text)};
      return PreferenceProblem{&v, fmt::format("must be a whole number (not \"{}\")", EchoedText::Token(text))};
    }
    if (!unset && (*value < minimum || *value > v.maximum)) return PreferenceProblem{&v, RangeReason(v, minimum, text)};
    values[v.name] = *value;
  }
  return std::nullopt;
}

}  // namespace

PreferenceTexts PreferenceForm::Load(const AnalysisState& s) {
  PreferenceTexts texts;
  for (const PreferenceVariable& v : PreferenceTable::Variables()) texts[std::string(v.name)] = Shown(s, v);
  return texts;
}

const PreferenceTexts& PreferenceForm::Described() {
  // A state of its own, so what the running one was changed to cannot leak in.
  static const PreferenceTexts described = [] {
    const auto fresh = std::make_unique<AnalysisState>();
    return Load(*fresh);
  }();
  return described;
}

std::optional<PreferenceProblem> PreferenceForm::Check(const AnalysisState& s, const PreferenceTexts& texts) {
  Values values;
  return ReadAll(s, texts, values);
}

std::optional<PreferenceProblem> PreferenceForm::Store(AnalysisState& s, const PreferenceTexts& texts) {
  Values values;
  if (std::optional<PreferenceProblem> problem = ReadAll(s, texts, values)) return problem;
  for (const PreferenceVariable& v : PreferenceTable::Variables()) {
    const auto found = values.find(v.name);
    if (found != values.end()) v.Set(s, found->second);
  }
  return std::nullopt;
}

}  // namespace velmora
