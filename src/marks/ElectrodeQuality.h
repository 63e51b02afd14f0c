#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "marks/RobustDetector.h"

namespace velmora {

struct AnalysisState;

// How well each electrode records slow waves, as the robust detector sees it: the quality is
// the median strength of the electrode's activations (how many noise deviations their falls
// stand out by), 0 when it has none. Below DeadQuality the electrode is judged dead; below twice
// that, weak.
struct ElectrodeQualityTable {
  enum class Verdict { Good, Weak, Dead };
  struct Record {
    int32_t channel = 0;
    double quality = 0;
    double noiseUv = 0;       // the median noise deviation of the fall transform, in uV
    int32_t activations = 0;  // over the whole signal
    Verdict verdict = Verdict::Dead;
  };

  // What the table was measured on.
  uint64_t signalVersion = 0;
  int32_t samplingF = 0;
  RobustDetector::Settings settings;
  std::vector<Record> electrodes;  // channels 17..256 in order
};

class ElectrodeQuality {
 public:
  using Table = ElectrodeQualityTable;
  using Verdict = Table::Verdict;

  // The table for the state's samples and robust settings, measured again only when either
  // changed (kept in the state). Nothing when `cancelled` answered true.
  static std::shared_ptr<const Table> Measure(AnalysisState& state, const std::function<bool()>& cancelled = {});
  // Keeps what a robust run found as the state's table.
  static void Keep(AnalysisState& state, const RobustDetector::Settings& settings,
                   const std::vector<RobustDetector::Electrode>& found);
  static Verdict VerdictOf(double quality, int32_t deadQuality);
  static const char* VerdictName(Verdict verdict);  // "good", "weak", "dead"
  // Channels judged dead, ascending; only those on the electrode grid when `onGridOnly`.
  static std::vector<int32_t> DeadChannels(const AnalysisState& state, const Table& table, bool onGridOnly);
};

}  // namespace velmora
