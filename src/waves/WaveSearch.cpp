#include "waves/WaveSearch.h"

#include <algorithm>
#include <functional>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

namespace {

constexpr int kDirections[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

int PaneMarkType(const AnalysisState& s) { return s.MarkType[s.ActivePane == 2 ? 1 : 0]; }

}  // namespace

WaveSearch::WaveSearch()
    : markTimes_(size_t(kChannels) * kSlotsPerChannel, kNoValue),
      waveTimes_(size_t(kChannels) * kMaxWaves, kNoValue),
      sorted_(kChannels) {
  for (std::vector<Entry>& entries : sorted_) entries.reserve(kSlotsPerChannel);
  front_.reserve(kChannels);
}

void WaveSearch::CalculateWaves(AnalysisState& state, const WaveStarted& onWave) {
  IniWaveMap(state);
  LoadTim(state);
  state.NrWaves = BuildWaves(kMaxWaves, onWave);
}

int WaveSearch::BuildWaves(int lastWave, const WaveStarted& onWave) {
  lastWave = std::clamp(lastWave, 0, kMaxWaves);
  for (int wave = 1; wave <= lastWave; ++wave) {
    if (onWave) onWave(wave);
    if (!FindEarliest(wave)) return wave - 1;
    FindWave(wave);
  }
  return lastWave;
}

void WaveSearch::IniWaveMap(AnalysisState& state) {
  state.NrWaves = 0;
  wavesDone_ = false;
  front_.clear();
  std::fill(markTimes_.begin(), markTimes_.end(), kNoValue);
  std::fill(waveTimes_.begin(), waveTimes_.end(), kNoValue);
  slotCount_.fill(0);
  earliestEntry_.fill(0);
}

void WaveSearch::LoadTim(const AnalysisState& s) {
  const int type = PaneMarkType(s);
  difference_ = type >= 1 && type <= 3 ? s.WaveDifference[size_t(type - 1)] : 0;
  for (int number = 1; number <= s.MarkCount; ++number) {
    const MarkRecord& mark = s.Mark(number);
    const int channel = mark.Electrode;
    if (channel < kFirstElectrode || channel > kChannels || mark.Kind != type) continue;
    if (mark.Time == kNoValue || mark.Time < s.ReferenceTime) continue;
    int32_t& count = slotCount_[size_t(channel - 1)];
    if (count == kSlotsPerChannel) continue;
    const int32_t relative = TimeBetween(s.ReferenceTime, mark.Time);
    if (relative == kNoValue) continue;
    Slot(channel, count++) = relative;
  }
  SortChannelEntries();
  BuildGrid(s);
}

void WaveSearch::SortChannelEntries() {
  const auto earlier = [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time < b.time : a.slot < b.slot;
  };
  for (int channel = 1; channel <= kChannels; ++channel) {
    std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
    entries.clear();
    for (int slot = 0; slot < slotCount_[size_t(channel - 1)]; ++slot) entries.push_back({Slot(channel, slot), int16_t(slot)});
    // Marks are mostly stored in time order already.
    if (!std::is_sorted(entries.begin(), entries.end(), earlier)) std::sort(entries.begin(), entries.end(), earlier);
  }
}

void WaveSearch::BuildGrid(const AnalysisState& s) {
  cols_ = std::clamp(s.NrCols, 0, kMaxGridCols);
  rows_ = std::clamp(s.NrRows, 0, kMaxGridRows);
  grid_.assign(size_t(cols_) * size_t(rows_), kNoValue);
  for (int channel = kChannels; channel >= 1; --channel) {
    const int column = s.ElectrodeX[size_t(channel - 1)], row = s.ElectrodeY[size_t(channel - 1)];
    if (column >= 1 && column <= cols_ && row >= 1 && row <= rows_) grid_[size_t(ScanPosition(column, row))] = channel;
  }
  startSites_.clear();
  for (int position = 0; position < int(grid_.size()); ++position) {
    const int32_t channel = grid_[size_t(position)];
    if (channel != kNoValue && slotCount_[size_t(channel - 1)] > 0) startSites_.push_back(position);
  }
}

int32_t WaveSearch::Elenr(const AnalysisState& s, int column, int row) {
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (s.ElectrodeX[size_t(channel - 1)] == column && s.ElectrodeY[size_t(channel - 1)] == row) return channel;
  }
  return kNoValue;
}

bool WaveSearch::FindEarliest(int wave) {
  int bestPosition = -1, bestSlot = -1;
  int32_t bestTime = kWaveSearchLimit;
  for (const int position : startSites_) {
    const int32_t channel = grid_[size_t(position)];
    const std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
    int32_t& head = earliestEntry_[size_t(channel - 1)];
    while (head < int32_t(entries.size()) && Slot(channel, entries[size_t(head)].slot) == kNoValue) ++head;
    if (head == int32_t(entries.size())) continue;
    const Entry& entry = entries[size_t(head)];
    if (entry.time < bestTime) {
      bestTime = entry.time;
      bestPosition = position;
      bestSlot = entry.slot;
    }
  }
  if (bestPosition < 0) {
    wavesDone_ = true;
    return false;
  }
  current_ = Site{bestPosition / rows_ + 1, bestPosition % rows_ + 1, bestTime};
  ShfTim(wave, current_.column, current_.row, bestSlot);
  return true;
}

void WaveSearch::ShfTim(int wave, int column, int row, int slot) {
  const int32_t channel = ChannelAtPosition(column, row);
  int32_t& time = Slot(channel, slot);
  Times(channel, wave) = time;
  time = kNoValue;
}

void WaveSearch::FindWave(int wave) {
  do {
    for (const auto& step : kDirections) FindNext(wave, step[0], step[1]);
  } while (UpdateActive());
}

bool WaveSearch::FindNext(int wave, int columnStep, int rowStep) {
  const int column = current_.column + columnStep, row = current_.row + rowStep;
  if (column < 1 || column > cols_ || row < 1 || row > rows_) return false;
  const int32_t channel = ChannelAtPosition(column, row);
  if (channel == kNoValue || Times(channel, wave) != kNoValue) return false;
  const int slot = NearestSlot(channel, current_.time);
  if (slot < 0) return false;
  const int32_t time = Slot(channel, slot);
  ShfTim(wave, column, row, slot);
  front_.push_back({time, ScanPosition(column, row)});
  std::push_heap(front_.begin(), front_.end(), std::greater<>());
  return true;
}

int WaveSearch::NearestSlot(int channel, int32_t t) const {
  const std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
  const int64_t low = std::max<int64_t>(int64_t(t) - difference_, 0), high = int64_t(t) + difference_;
  const auto free = [&](const Entry& e) { return markTimes_[size_t(channel - 1) * kSlotsPerChannel + size_t(e.slot)] != kNoValue; };
  const auto above = std::partition_point(entries.begin(), entries.end(), [t](const Entry& e) { return e.time < t; });
  int bestSlot = -1;
  int64_t bestDistance = high - low + 1;
  // Upwards the first free entry is the nearest, and of equal times the lowest slot.
  for (auto it = above; it != entries.end() && it->time < high; ++it) {
    if (it->time > low && free(*it)) {
      bestDistance = int64_t(it->time) - t;
      bestSlot = it->slot;
      break;
    }
  }
  // Downwards equal times come highest slot first, so every entry as near as the best counts.
  for (auto it = std::make_reverse_iterator(above); it != entries.rend() && it->time > low; ++it) {
    const int64_t distance = int64_t(t) - it->time;
    if (distance > bestDistance) break;
    if (!free(*it)) continue;
    if (distance < bestDistance || it->slot < bestSlot) {
      bestDistance = distance;
      bestSlot = it->slot;
    }
  }
  return bestSlot;
}

bool WaveSearch::UpdateActive() {
  if (front_.empty()) return false;
  std::pop_heap(front_.begin(), front_.end(), std::greater<>());
  const FrontKey next = front_.back();
  front_.pop_back();
  current_ = Site{next.second / rows_ + 1, next.second % rows_ + 1, next.first};
  return true;
}

int32_t WaveSearch::WaveTime(int channel, int wave) const {
  if (channel < 1 || channel > kChannels || wave < 1 || wave > kMaxWaves) return kNoValue;
  return waveTimes_[size_t(channel - 1) * kMaxWaves + size_t(wave - 1)];
}

}  // namespace velmora
