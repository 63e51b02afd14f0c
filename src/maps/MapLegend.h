#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;
class Canvas;

// The key to a map's colours: the range of values of each colour band the map uses, with the
// unit of its values, in the room the pane leaves beside or below the grid. The cells never
// move or shrink for it: a pane without room gets no legend.
class MapLegend {
 public:
  // Values low..high (as the cells are coloured: reals rounded) take the colour of `band`.
  struct Entry {
    int64_t low = 0, high = 0;
    int band = 0;
    bool operator==(const Entry&) const = default;
  };

  // Draws the legend of the map last computed, when it is switched on, the cells are coloured,
  // the map kind has bands worth a key (an electrode map's channel numbers have none) and the
  // pane has room for it.
  static void DrawLegend(const AnalysisState& state, Canvas& canvas);

  // The bands of the map's values, lowest first, the first starting at the lowest value and
  // the last ending at the highest; empty when the map has no values or uses more than
  // `limit` bands.
  static std::vector<Entry> Entries(const AnalysisState& state, size_t limit);
  static std::string EntryText(const Entry& entry, const std::string& unit);
  // The quality map's key: its three verdicts with the qualities each covers.
  static void QualityEntries(const AnalysisState& state, std::vector<Entry>& entries, std::vector<std::string>& texts);
};

}  // namespace velmora
