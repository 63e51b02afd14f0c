#include "input/DecimalBlock.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {

namespace {

struct Masks {
  uint64_t space = 0, digit = 0, point = 0;
};

#if defined(__SSE2__)
Masks MasksOf(const char* at) {
  Masks masks;
  for (int part = 0; part < DecimalBlock::kSize / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    const __m128i fromTab = _mm_sub_epi8(bytes, _mm_set1_epi8('\t'));  // \t \n \v \f \r become 0..4
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, _mm_set1_epi8(4)), fromTab);
    const __m128i space = _mm_or_si128(control, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')));
    const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
    const __m128i point = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'));
    const int shift = 16 * part;
    masks.space |= uint64_t(uint32_t(_mm_movemask_epi8(space))) << shift;
    masks.digit |= uint64_t(uint32_t(_mm_movemask_epi8(digit))) << shift;
    masks.point |= uint64_t(uint32_t(_mm_movemask_epi8(point))) << shift;
  }
  return masks;
}
#else
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Masks MasksOf(const char* at) {
  Masks masks;
  for (int i = 0; i < DecimalBlock::kSize; ++i) {
    masks.space |= uint64_t(IsSpace(at[i])) << i;
    masks.digit |= uint64_t(unsigned(at[i] - '0') < 10u) << i;
    masks.point |= uint64_t(at[i] == '.') << i;
  }
  return masks;
}
#endif

}  // namespace

DecimalBlock::DecimalBlock(const char* at, ptrdiff_t lineLeft, const char* textStart)
    : at_(at), textStart_(textStart) {
  const Masks masks = MasksOf(at);
  const uint64_t beyond = lineLeft >= kSize ? 0 : ~uint64_t(0) << lineLeft;
  space_ = masks.space | beyond;
  digit_ = masks.digit & ~beyond;
  point_ = masks.point & ~beyond;
  // A word starts where a blank is followed by something else, or at the block's start: the
  // block begins at the line's start, after a word, or at a word.
  starts_ = ~space_ & ((space_ << 1) | 1);
}

}  // namespace velmora
