#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/AnalysisState.h"

namespace velmora {

// How a preference is shown: an edit holds a decimal integer, a check box a switch, the
// search-criterion radio group a switch too (item 1 when true), a choice list the number of
// the item chosen (0 = first).
enum class PreferenceControl { Edit, CheckBox, RadioGroup, Choice };

// One variable the preferences window edits. `label` names the field in messages the way the
// user finds it in the window; `minimum` .. `maximum` is what the computations that use the
// value can take (switches 0 .. 1).
struct PreferenceVariable {
  std::string_view name;
  std::string_view control;
  std::string_view page;
  std::string_view label;
  PreferenceControl kind;
  int32_t minimum, maximum;
  int32_t AnalysisState::*number;
  bool AnalysisState::*flag;

  bool IsSwitch() const { return flag != nullptr; }
  int32_t Get(const AnalysisState& s) const { return IsSwitch() ? int32_t(s.*flag) : s.*number; }
  void Set(AnalysisState& s, int32_t value) const {
    if (IsSwitch())
      s.*flag = value != 0;
    else
      s.*number = value;
  }
};

// The one list of preference variables, shared by the preferences window and the command
// line, in the order "OK" stores them.
class PreferenceTable {
 public:
  static const std::vector<PreferenceVariable>& Variables();
  // Nothing for a name that is not a preference.
  static const PreferenceVariable* Find(std::string_view name);
  static std::vector<std::string_view> Pages();
};

}  // namespace velmora
