#include "marks/TracePoints.h"

#include <cstddef>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora {

namespace {

void PlaceOneByOne(const int32_t* values, const int* xs, int count, double offset, double amplification, int yc,
                   Point* points) {
  for (int j = 0; j < count; ++j)
    points[j] = {xs[j], yc - TracePoints::PixelRound((values[j] - offset) * amplification)};
}

#if defined(__x86_64__)

static_assert(sizeof(Point) == 2 * sizeof(int) && offsetof(Point, y) == sizeof(int));

// The vector forms follow PixelRound step for step. maxpd/minpd with the bound first hand
// back the value itself when it is not a number, as the comparisons of std::max/std::min do,
// and a value out of an int's reach converts to the same 0x80000000 in both.

// Two doubles a vector: every x86-64 processor has these.
__m128i RoundedBy2(__m128i values, double offset, double amplification) {
  __m128d x = _mm_mul_pd(_mm_sub_pd(_mm_cvtepi32_pd(values), _mm_set1_pd(offset)), _mm_set1_pd(amplification));
  x = _mm_sub_pd(_mm_add_pd(x, _mm_set1_pd(TracePoints::kRoundingMagic)), _mm_set1_pd(TracePoints::kRoundingMagic));
  x = _mm_min_pd(_mm_set1_pd(TracePoints::kFarOff), _mm_max_pd(_mm_set1_pd(-TracePoints::kFarOff), x));
  return _mm_cvttpd_epi32(x);
}

void StorePoints(__m128i xs, __m128i ys, Point* points) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(points), _mm_unpacklo_epi32(xs, ys));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(points + 2), _mm_unpackhi_epi32(xs, ys));
}

void PlaceBy2(const int32_t* values, const int* xs, int count, double offset, double amplification, int yc,
              Point* points) {
  const __m128i centre = _mm_set1_epi32(yc);
  int j = 0;
  for (; j + 4 <= count; j += 4) {
    const __m128i taken = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + j));
    const __m128i low = RoundedBy2(taken, offset, amplification);
    const __m128i high = RoundedBy2(_mm_shuffle_epi32(taken, 0xEE), offset, amplification);
    const __m128i ys = _mm_sub_epi32(centre, _mm_unpacklo_epi64(low, high));
    StorePoints(_mm_loadu_si128(reinterpret_cast<const __m128i*>(xs + j)), ys, points + j);
  }
  PlaceOneByOne(values + j, xs + j, count - j, offset, amplification, yc, points + j);
}

// Four doubles a vector, on processors with AVX2. Without FMA in the target, the product and
// the sum stay two roundings, as in PixelRound.
__attribute__((target("avx2"))) void PlaceBy4(const int32_t* values, const int* xs, int count, double offset,
                                              double amplification, int yc, Point* points) {
  const __m256d shift = _mm256_set1_pd(offset), scale = _mm256_set1_pd(amplification);
  const __m256d magic = _mm256_set1_pd(TracePoints::kRoundingMagic);
  const __m256d low = _mm256_set1_pd(-TracePoints::kFarOff), high = _mm256_set1_pd(TracePoints::kFarOff);
  const __m128i centre = _mm_set1_epi32(yc);
  int j = 0;
  for (; j + 4 <= count; j += 4) {
    __m256d x = _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values + j)));
    x = _mm256_mul_pd(_mm256_sub_pd(x, shift), scale);
    x = _mm256_sub_pd(_mm256_add_pd(x, magic), magic);
    x = _mm256_min_pd(high, _mm256_max_pd(low, x));
    const __m128i ys = _mm_sub_epi32(centre, _mm256_cvttpd_epi32(x));
    StorePoints(_mm_loadu_si128(reinterpret_cast<const __m128i*>(xs + j)), ys, points + j);
  }
  PlaceOneByOne(values + j, xs + j, count - j, offset, amplification, yc, points + j);
}

#endif

}  // namespace

bool TracePoints::Available(Method method) {
#if defined(__x86_64__)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2");
  return method != Method::By4 || hasAvx2;
#else
  return method == Method::OneByOne;
#endif
}

void TracePoints::Place(const int32_t* values, const int* xs, int count, double offset, double amplification, int yc,
                        Point* points) {
  static const Method widest = Available(Method::By4) ? Method::By4
                               : Available(Method::By2) ? Method::By2
                                                        : Method::OneByOne;
  PlaceWith(widest, values, xs, count, offset, amplification, yc, points);
}

void TracePoints::PlaceWith(Method method, const int32_t* values, const int* xs, int count, double offset,
                            double amplification, int yc, Point* points) {
  if (!Available(method)) method = Method::OneByOne;
#if defined(__x86_64__)
  if (method == Method::By4) return PlaceBy4(values, xs, count, offset, amplification, yc, points);
  if (method == Method::By2) return PlaceBy2(values, xs, count, offset, amplification, yc, points);
#endif
  PlaceOneByOne(values, xs, count, offset, amplification, yc, points);
}

}  // namespace velmora
