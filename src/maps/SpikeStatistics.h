#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;
class Ui;

// Interval statistics of the marks on each displayed electrogram trace, shown in the
// statistics memo and saved as a tab-separated text file.
class SpikeStatistics {
 public:
  static constexpr int kMaxTimes = 1000;  // mark times per trace that take part
  static constexpr const char* kHeader =
      " Ele:    Nr:     Avg:      StDev:       Min:      Max:      Range:  ";

  // Channel is NoValue for a channel without a result.
  struct Record {
    double Channel = -12345, Count = 0, Mean = 0, StDev = 0, Min = 0, Max = 0, Range = 0;
  };

  // Appends the header and one line per trace of the electrogram pane to `memo`.
  void CalcSpikeStats(const AnalysisState& state, std::vector<std::string>& memo);
  // Asks for a file and writes the records that hold a result; cancelling does nothing.
  // Throws IoError when the file cannot be written.
  void SaveSpikeStats(const AnalysisState& state, Ui& ui) const;
  // The text SaveSpikeStats writes.
  std::string SpikeStatsText(const AnalysisState& state) const;

  const Record& ForChannel(int channel) const { return records_[size_t(channel - 1)]; }

 private:
  // The sorted mark times of `channel` in the electrogram window, at most kMaxTimes.
  static std::vector<int32_t> WindowTimes(const AnalysisState& state, int32_t channel);
  static Record Measure(int32_t channel, const std::vector<int32_t>& times);
  static std::string MemoLine(int32_t channel, const Record& record, bool hasIntervals);

  std::array<Record, 256> records_{};
};

}  // namespace velmora
