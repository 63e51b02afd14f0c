#pragma once

#include <cstdint>

namespace velmora {

// The inner loops of loading a recording: a frame of 16-bit samples into a row of the signal
// store, raw or as the rounded 20-sample mean. Rows are written past the cache (they are
// not read again during the load), which halves the memory traffic of a load.
class RowConversion {
 public:
  // row[c] = frame[c] for c < width, 0 for the remaining columns up to 256.
  static void CopyRow(const int16_t* frame, int width, int32_t* row);
  // row[c] = the rounded mean of sums[c] / 20, then sums[c] += entering[c] - leaving[c];
  // 0 for the columns from `width` to 256.
  static void SmoothRow(int32_t* sums, const int16_t* entering, const int16_t* leaving, int width, int32_t* row);
  // Makes the rows written past the cache visible to later reads.
  static void Finish();
};

// The 20-sample mean rounded halves to even, without a branch or a division. A sum of 20
// 16-bit samples is exact in a float; multiplying by the float nearest 0.05 misses the true
// mean by less than half a float step, so halves stay halves and no other mean comes near a
// half (means are multiples of 0.05); adding and taking away 1.5 x 2^23 then rounds to the
// nearest integer, ties to even. The tests check every possible sum. This needs strict IEEE
// float arithmetic: never build it with -ffast-math.
inline int32_t SmoothedValue(int32_t sum) {
  const float mean = float(sum) * 0.05f;
  return int32_t((mean + 0x1.8p23f) - 0x1.8p23f);
}

}  // namespace velmora
