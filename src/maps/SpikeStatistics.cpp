#include "maps/SpikeStatistics.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "marks/RecordingFiles.h"
#include "core/TraceChannel.h"
#include "core/Ui.h"
#include "maps/StatisticsText.h"

namespace velmora {

namespace {

std::string Number(double v) { return GroupedFixed(v, 1, 7); }

std::string Integer(double v) { return std::to_string(RoundHalfEven(v)); }

}  // namespace

std::vector<int32_t> SpikeStatistics::WindowTimes(const AnalysisState& s, int32_t channel) {
  std::vector<int32_t> times;
  const int64_t end = int64_t(s.CurBegin) + s.CurWindow;
  for (int n = 1; n <= s.MarkCount && int(times.size()) < kMaxTimes; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode != channel || m.Kind == kNoValue) continue;
    if (m.Time >= s.CurBegin && m.Time <= end) times.push_back(m.Time);
  }
  std::stable_sort(times.begin(), times.end());
  return times;
}

// With a single interval the deviation has no spread to measure (its divisor, the number
// of intervals less one, is 0): it is given as 0.
SpikeStatistics::Record SpikeStatistics::Measure(int32_t channel, const std::vector<int32_t>& times) {
  Record r;
  r.Channel = channel;
  const size_t intervals = times.size() - 1;
  r.Count = double(intervals);
  double sum = 0;
  r.Min = 1234567;
  r.Max = -1234567;
  for (size_t i = 1; i < times.size(); ++i) {
    const double interval = double(times[i]) - times[i - 1];
    sum += interval;
    r.Min = std::min(r.Min, interval);
    r.Max = std::max(r.Max, interval);
  }
  r.Mean = sum / double(intervals);
  double squares = 0;
  for (size_t i = 1; i < times.size(); ++i) {
    const double d = double(times[i]) - times[i - 1] - r.Mean;
    squares += d * d;
  }
  r.StDev = intervals > 1 ? std::sqrt(squares / double(intervals - 1)) : 0.0;
  r.Range = double(RoundHalfEven(r.Max - r.Min));
  return r;
}

std::string SpikeStatistics::MemoLine(int32_t channel, const Record& r, bool hasIntervals) {
  if (!hasIntervals) return fmt::format("{}{}", channel, std::string(1 + 1 + 2 + 3 + 4 + 4, ' '));
  return fmt::format("{}      {}    {}    {}    {}    {}    {}", channel, Integer(r.Count), Number(r.Mean),
                     Number(r.StDev), Number(r.Min), Number(r.Max), Integer(r.Range));
}

void SpikeStatistics::CalcSpikeStats(const AnalysisState& s, std::vector<std::string>& memo) {
  memo.push_back(kHeader);
  for (Record& r : records_) r = Record{};
  for (int trace = 1; trace <= s.NrTraces; ++trace) {
    const int32_t channel = TraceChannel(s, trace);
    if (channel < 1 || channel > kChannels) continue;
    const std::vector<int32_t> times = WindowTimes(s, channel);
    const bool hasIntervals = times.size() > 1;
    if (hasIntervals) records_[size_t(channel - 1)] = Measure(channel, times);
    memo.push_back(MemoLine(channel, records_[size_t(channel - 1)], hasIntervals));
  }
}

std::string SpikeStatistics::SpikeStatsText(const AnalysisState& s) const {
  std::string text = s.ElgFileName + "\n" + "EleNr\tNr\tAvg\tStDev\tMin\tMax\tRange\n";
  for (const Record& r : records_) {
    if (r.Channel == double(kNoValue)) continue;
    text += fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\n", Integer(r.Channel), Integer(r.Count), Number(r.Mean),
                        Number(r.StDev), Integer(r.Min), Integer(r.Max), Integer(r.Range));
  }
  return text;
}

void SpikeStatistics::SaveSpikeStats(const AnalysisState& s, Ui& ui) const {
  const std::optional<Ui::FileDialogResult> chosen = ui.SaveFileDialog(Ui::FileDialogRequest{});
  if (!chosen || chosen->path.empty()) return;
  RecordingFiles::Write(s, chosen->path, SpikeStatsText(s));
}

}  // namespace velmora
