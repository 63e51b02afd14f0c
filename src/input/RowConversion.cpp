#include "input/RowConversion.h"

#include "core/Limits.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {

namespace {

void ClearTail(int width, int32_t* row) {
  for (int c = width; c < kChannels; ++c) row[c] = 0;
}

#if defined(__SSE2__)
// Sign-extends eight 16-bit samples into two vectors of four 32-bit ones.
inline void Widen(__m128i samples, __m128i& low, __m128i& high) {
  low = _mm_srai_epi32(_mm_unpacklo_epi16(samples, samples), 16);
  high = _mm_srai_epi32(_mm_unpackhi_epi16(samples, samples), 16);
}

inline __m128i Smoothed(__m128i sums) {
  const __m128 magic = _mm_set1_ps(0x1.8p23f);
  const __m128 mean = _mm_mul_ps(_mm_cvtepi32_ps(sums), _mm_set1_ps(0.05f));
  return _mm_cvttps_epi32(_mm_sub_ps(_mm_add_ps(mean, magic), magic));
}

// Eight columns at a time; rows of the store are 16-byte aligned (1 KiB each).
int CopyEights(const int16_t* frame, int width, int32_t* row) {
  int c = 0;
  for (; c + 8 <= width; c += 8) {
    __m128i low, high;
    Widen(_mm_loadu_si128(reinterpret_cast<const __m128i*>(frame + c)), low, high);
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c), low);
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c + 4), high);
  }
  return c;
}

int SmoothEights(int32_t* sums, const int16_t* entering, const int16_t* leaving, int width, int32_t* row) {
  int c = 0;
  for (; c + 8 <= width; c += 8) {
    __m128i* sum = reinterpret_cast<__m128i*>(sums + c);
    const __m128i sumLow = _mm_loadu_si128(sum);
    const __m128i sumHigh = _mm_loadu_si128(sum + 1);
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c), Smoothed(sumLow));
    _mm_stream_si128(reinterpret_cast<__m128i*>(row + c + 4), Smoothed(sumHigh));
    __m128i inLow, inHigh, outLow, outHigh;
    Widen(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entering + c)), inLow, inHigh);
    Widen(_mm_loadu_si128(reinterpret_cast<const __m128i*>(leaving + c)), outLow, outHigh);
    _mm_storeu_si128(sum, _mm_add_epi32(sumLow, _mm_sub_epi32(inLow, outLow)));
    _mm_storeu_si128(sum + 1, _mm_add_epi32(sumHigh, _mm_sub_epi32(inHigh, outHigh)));
  }
  return c;
}
#else
int CopyEights(const int16_t*, int, int32_t*) { return 0; }
int SmoothEights(int32_t*, const int16_t*, const int16_t*, int, int32_t*) { return 0; }
#endif

}  // namespace

void RowConversion::CopyRow(const int16_t* frame, int width, int32_t* row) {
  for (int c = CopyEights(frame, width, row); c < width; ++c) row[c] = frame[c];
  ClearTail(width, row);
}

void RowConversion::SmoothRow(int32_t* sums, const int16_t* entering, const int16_t* leaving, int width,
                              int32_t* row) {
  for (int c = SmoothEights(sums, entering, leaving, width, row); c < width; ++c) {
    row[c] = SmoothedValue(sums[c]);
    sums[c] += entering[c] - leaving[c];
  }
  ClearTail(width, row);
}

void RowConversion::Finish() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

}  // namespace velmora
