#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// Descriptive statistics of the map last computed (and of its velocities), written as text
// lines into the statistics memo. Holds the buffer and the per-slot results of the last run.
class MapStatistics {
 public:
  // Slot 1 integer map values, slot 2 amplitudes or velocities, slot 3 slopes.
  struct StatsRecord {
    int32_t N = 0;
    double Mean = 0, SD = 0, Max = 0, Min = 0;
  };

  // Whether the numbers are followed by their unit ("Avg = 62.00 ms"): the statistics window
  // shows them; the command-line output keeps the bare numbers scripts read.
  enum class Units { Left, Shown };

  explicit MapStatistics(Units units = Units::Left);

  // Clears `memo` and writes the statistics of the current map into it.
  void CalcMapStats(const AnalysisState& state, std::vector<std::string>& memo);

  const StatsRecord& Record(int slot) const { return records_[size_t(slot - 1)]; }
  const std::vector<double>& StatsValues() const { return values_; }

 private:
  void FillHistoBuf(const AnalysisState& state, int slot);
  void FillCondVel(const AnalysisState& state);
  void CalcStats(int slot);
  // The numbers of the values just buffered, when there are any.
  void ShowSection(int slot, const std::string& unit, std::vector<std::string>& memo);
  void DisplayBasicStats(int slot, const std::string& unit, std::vector<std::string>& memo) const;

  // One value per grid cell at most: sized to the whole 100 x 100 electrode grid.
  std::vector<double> values_;
  std::array<StatsRecord, 3> records_{};
  Units units_;
};

}  // namespace velmora
