#pragma once

#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// The menu items that flip one display switch and rename themselves after the action that
// undoes it ("hide Grid" while the grid is shown).
class DisplaySwitches {
 public:
  struct Entry {
    std::string item;
    bool AnalysisState::*flag;
    std::string onCaption;     // shown while the switch is on
    std::string offCaption;    // shown while it is off
    std::string startCaption;  // what the item reads when the program starts
  };

  static const std::vector<Entry>& All();
  static const Entry* Find(const std::string& item);
  // Flips the switch and returns the item's new caption.
  static std::string Flip(AnalysisState& state, const Entry& entry);
};

}  // namespace velmora
