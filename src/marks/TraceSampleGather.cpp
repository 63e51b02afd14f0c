#include "marks/TraceSampleGather.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/Limits.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora {

namespace {

using Source = TraceSampleGather::Source;

constexpr int kTileRows = 16;
// Rows lie 1 KiB apart (5 KiB between the rows a long window takes), too far for the
// processor to guess: the rows of the tile this many tiles ahead are asked for early.
constexpr int kTilesAhead = 2;
constexpr int kColumnsPerLine = 16;  // 64-byte lines
constexpr int kFour = 4;

// A source's values of `rows` rows `stride` apart.
void GatherOne(const int32_t* rows, size_t stride, int count, const Source& source, int32_t* out) {
  if (source.neighbour < 0) {
    for (int r = 0; r < count; ++r) out[r] = rows[size_t(r) * stride + size_t(source.column)];
    return;
  }
  for (int r = 0; r < count; ++r) {
    const int32_t* row = rows + size_t(r) * stride;
    out[r] = row[source.column] - row[source.neighbour];
  }
}

// Sources i .. i + 3 read four neighbouring columns, all raw or all less their right-hand
// neighbour.
bool FourNeighbouring(const std::vector<Source>& sources, size_t i) {
  if (i + kFour > sources.size()) return false;
  const bool bipolar = sources[i].neighbour >= 0;
  for (int k = 0; k < kFour; ++k) {
    const Source& source = sources[i + size_t(k)];
    if (source.column != sources[i].column + k || (source.neighbour >= 0) != bipolar) return false;
    if (bipolar && source.neighbour != source.column + 1) return false;
  }
  return true;
}

#if defined(__x86_64__)

__m128i LoadFour(const int32_t* row, const Source& first) {
  const __m128i values = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + first.column));
  if (first.neighbour < 0) return values;
  return _mm_sub_epi32(values, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + first.neighbour)));
}

// Four sources on neighbouring columns: four rows of four columns are loaded and turned
// round, so each source gets four values with one store.
void GatherFour(const int32_t* rows, size_t stride, int count, const Source* sources, int32_t* out, size_t outStride) {
  int r = 0;
  for (; r + kFour <= count; r += kFour) {
    const int32_t* row = rows + size_t(r) * stride;
    const __m128i a = LoadFour(row, sources[0]), b = LoadFour(row + stride, sources[0]);
    const __m128i c = LoadFour(row + 2 * stride, sources[0]), d = LoadFour(row + 3 * stride, sources[0]);
    const __m128i abLow = _mm_unpacklo_epi32(a, b), cdLow = _mm_unpacklo_epi32(c, d);
    const __m128i abHigh = _mm_unpackhi_epi32(a, b), cdHigh = _mm_unpackhi_epi32(c, d);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + r), _mm_unpacklo_epi64(abLow, cdLow));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + outStride + size_t(r)), _mm_unpackhi_epi64(abLow, cdLow));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * outStride + size_t(r)), _mm_unpacklo_epi64(abHigh, cdHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * outStride + size_t(r)), _mm_unpackhi_epi64(abHigh, cdHigh));
  }
  const int32_t* tailRows = rows + size_t(r) * stride;
  for (int k = 0; k < kFour; ++k) GatherOne(tailRows, stride, count - r, sources[k], out + size_t(k) * outStride + r);
}

#else

void GatherFour(const int32_t* rows, size_t stride, int count, const Source* sources, int32_t* out, size_t outStride) {
  for (int k = 0; k < kFour; ++k) GatherOne(rows, stride, count, sources[k], out + size_t(k) * outStride);
}

#endif

// The first column of every 64-byte line of a row the sources read.
std::vector<int> LinesRead(const std::vector<Source>& sources) {
  std::array<bool, kChannels / kColumnsPerLine> read{};
  for (const Source& source : sources) {
    read[size_t(source.column / kColumnsPerLine)] = true;
    if (source.neighbour >= 0) read[size_t(source.neighbour / kColumnsPerLine)] = true;
  }
  std::vector<int> lines;
  for (size_t line = 0; line < read.size(); ++line)
    if (read[line]) lines.push_back(int(line) * kColumnsPerLine);
  return lines;
}

void PrefetchTile(const int32_t* first, size_t stride, int tile, int count, const std::vector<int>& lines) {
  for (int j = tile; j < std::min(tile + kTileRows, count); ++j)
    for (int line : lines) __builtin_prefetch(first + size_t(j) * stride + size_t(line));
}

// Per source, whether it starts four neighbouring ones handed out together.
std::vector<bool> FourStarts(const std::vector<Source>& sources) {
  std::vector<bool> starts(sources.size(), false);
  for (size_t i = 0; i < sources.size(); i += starts[i] ? kFour : 1) starts[i] = FourNeighbouring(sources, i);
  return starts;
}

// Every source's values of one tile of rows; source i's go to out + i x outStride.
void GatherTile(const int32_t* rows, size_t stride, int count, const std::vector<Source>& sources,
                const std::vector<bool>& fourStarts, int32_t* out, size_t outStride) {
  for (size_t i = 0; i < sources.size();) {
    if (fourStarts[i]) {
      GatherFour(rows, stride, count, &sources[i], out + i * outStride, outStride);
      i += kFour;
    } else {
      GatherOne(rows, stride, count, sources[i], out + i * outStride);
      ++i;
    }
  }
}

}  // namespace

void TraceSampleGather::Gather(const int32_t* store, int firstRow, int step, int count,
                               const std::vector<Source>& sources, int32_t* out) {
  if (sources.empty() || count <= 0) return;
  const std::vector<bool> fourStarts = FourStarts(sources);
  const std::vector<int> lines = LinesRead(sources);
  const size_t stride = size_t(step) * kChannels;
  const int32_t* first = store + size_t(firstRow) * kChannels;
  for (int tile = 0; tile < count; tile += kTileRows) {
    PrefetchTile(first, stride, tile + kTilesAhead * kTileRows, count, lines);
    GatherTile(first + size_t(tile) * stride, stride, std::min(kTileRows, count - tile), sources, fourStarts,
               out + tile, size_t(count));
  }
}

}  // namespace velmora
