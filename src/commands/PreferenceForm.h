#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "commands/PreferenceTable.h"
#include "core/AnalysisState.h"

namespace velmora {

// The preferences as the window holds them: each edit's text and each switch as "1" or "0",
// keyed by variable name. A name left out keeps the state's value.
using PreferenceTexts = std::map<std::string, std::string, std::less<>>;

// A field the computations cannot take. `reason` reads after the field's name, for example
// "must be a whole number from 1 to 2147483647 (not "0")".
struct PreferenceProblem {
  const PreferenceVariable* field = nullptr;
  std::string reason;
};

// Moves the preferences between the state and the window's fields. Storing is all or
// nothing: every field is checked before the first one is stored, so a bad field never
// leaves the state half changed.
class PreferenceForm {
 public:
  static PreferenceTexts Load(const AnalysisState& s);
  // The preferences every run starts from unless the user saved defaults of their own.
  static const PreferenceTexts& Described();
  // The first field, in storing order, that cannot be stored.
  static std::optional<PreferenceProblem> Check(const AnalysisState& s, const PreferenceTexts& texts);
  // Stores every field in order, or nothing and the problem.
  static std::optional<PreferenceProblem> Store(AnalysisState& s, const PreferenceTexts& texts);
};

}  // namespace velmora
