#pragma once

#include <vector>

#include "core/AnalysisState.h"

namespace velmora::testing {

// The wave search exactly as the grid scan does it: every step rescans the grid for the
// earliest front site and every direction looks at every slot. Slow, but it is the
// behaviour the fast search must reproduce, ties included.
class NaiveWaveSearch {
 public:
  explicit NaiveWaveSearch(const AnalysisState& s) : s_(s), slots_(257, std::vector<int>(200, kNoValue)),
      waveTimes_(257, std::vector<int>(200, kNoValue)), front_(257, kNoValue) {}

  int Run() {
    const int type = s_.MarkType[s_.ActivePane == 2 ? 1 : 0];
    e_ = s_.WaveDifference[size_t(type - 1)];
    for (int c = 17; c <= 256; ++c) {
      int used = 0;
      for (int m = 1; m <= s_.MarkCount && used < 199; ++m) {
        const MarkRecord& r = s_.Mark(m);
        if (r.Electrode == c && r.Time != kNoValue && r.Time >= s_.ReferenceTime && r.Kind == type)
          slots_[size_t(c)][size_t(++used)] = r.Time - s_.ReferenceTime;
      }
    }
    int n = 1;
    for (; n <= 199; ++n) {
      if (!FindEarliest(n)) return n - 1;
      while (active_ > 0) {
        for (int d = 0; d < 8; ++d) FindNext(n, kSteps[d][0], kSteps[d][1]);
        UpdateActive();
      }
    }
    return 199;
  }
  int WaveTime(int c, int n) const { return waveTimes_[size_t(c)][size_t(n)]; }

 private:
  static constexpr int kSteps[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  int Elenr(int x, int y) const {
    for (int c = 1; c <= 256; ++c)
      if (s_.ElectrodeX[size_t(c - 1)] == x && s_.ElectrodeY[size_t(c - 1)] == y) return c;
    return kNoValue;
  }
  void ShfTim(int n, int x, int y, int slot) {
    const int c = Elenr(x, y);
    front_[size_t(c)] = waveTimes_[size_t(c)][size_t(n)] = slots_[size_t(c)][size_t(slot)];
    slots_[size_t(c)][size_t(slot)] = kNoValue;
    ++active_;
  }
  bool FindEarliest(int n) {
    int best = 64000, bx = 0, by = 0, bs = 0;
    for (int x = 1; x <= s_.NrCols; ++x)
      for (int y = 1; y <= s_.NrRows; ++y) {
        const int c = Elenr(x, y);
        if (c == kNoValue) continue;
        for (int slot = 1; slot < 200; ++slot) {
          const int t = slots_[size_t(c)][size_t(slot)];
          if (t != kNoValue && t < best) best = t, bx = x, by = y, bs = slot;
        }
      }
    if (bs == 0) return false;
    cx_ = bx, cy_ = by, ct_ = best;
    ShfTim(n, bx, by, bs);
    return true;
  }
  void FindNext(int n, int dx, int dy) {
    const int x = cx_ + dx, y = cy_ + dy;
    if (x < 1 || x > s_.NrCols || y < 1 || y > s_.NrRows) return;
    const int c = Elenr(x, y);
    if (c == kNoValue || waveTimes_[size_t(c)][size_t(n)] != kNoValue) return;
    int bestSlot = 0, bestDistance = 1 << 30;
    for (int slot = 1; slot < 200; ++slot) {
      const int g = slots_[size_t(c)][size_t(slot)];
      if (g == kNoValue || !(std::max(ct_ - e_, 0) < g && g < ct_ + e_)) continue;
      if (std::abs(ct_ - g) < bestDistance) bestDistance = std::abs(ct_ - g), bestSlot = slot;
    }
    if (bestSlot != 0) ShfTim(n, x, y, bestSlot);
  }
  void UpdateActive() {
    front_[size_t(Elenr(cx_, cy_))] = kNoValue;
    --active_;
    int best = 1 << 30;
    for (int x = 1; x <= s_.NrCols; ++x)
      for (int y = 1; y <= s_.NrRows; ++y) {
        const int c = Elenr(x, y);
        if (c != kNoValue && front_[size_t(c)] != kNoValue && front_[size_t(c)] < best)
          best = front_[size_t(c)], cx_ = x, cy_ = y, ct_ = best;
      }
  }

  const AnalysisState& s_;
  std::vector<std::vector<int>> slots_, waveTimes_;
  std::vector<int> front_;
  int active_ = 0, e_ = 0, cx_ = 0, cy_ = 0, ct_ = 0;
};

}  // namespace velmora::testing
