#include "input/AcquisitionSamples.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Limits.h"
#include "core/WidestVectors.h"
#include "input/AcquisitionFile.h"

namespace velmora {

namespace {

constexpr int64_t kRowsPerBlock = 4096;
// Rows made at a time: each electrode's samples of them are turned into microvolts one after
// the other into a tile of all the columns, which then becomes whole rows of the store.
constexpr int64_t kTileRows = 256;
// Adding and taking away 1.5 x 2^52 rounds a double to the nearest whole number, halves to
// even, as the rest of the workbench rounds; it holds for magnitudes below 2^51.
constexpr double kRounder = 0x1.8p52;
constexpr double kLargestRounded = 0x1p51;
constexpr double kLowest = double(INT32_MIN), kHighest = double(INT32_MAX);

template <typename T>
inline void WidenRun(const uint8_t* from, int64_t count, double* out) {
  for (int64_t j = 0; j < count; ++j) {
    T value;
    std::memcpy(&value, from + j * int64_t(sizeof(T)), sizeof value);
    out[j] = double(value);
  }
}

inline uint32_t Bytes24(const uint8_t* at) { return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16; }

// The numbers of `count` samples of the library's sample type `typeCode`, as doubles.
VELMORA_WIDEST_VECTORS void Widen(int typeCode, const uint8_t* from, int64_t count, double* out) {
  switch (typeCode) {
    case 1: return WidenRun<int8_t>(from, count, out);
    case 2: return WidenRun<uint8_t>(from, count, out);
    case 3: return WidenRun<int16_t>(from, count, out);
    case 4: return WidenRun<uint16_t>(from, count, out);
    case 5: return WidenRun<int32_t>(from, count, out);
    case 6: return WidenRun<uint32_t>(from, count, out);
    case 7: return WidenRun<int64_t>(from, count, out);
    case 8: return WidenRun<uint64_t>(from, count, out);
    case 16: return WidenRun<float>(from, count, out);
    case 17: return WidenRun<double>(from, count, out);
    case 279:
      for (int64_t j = 0; j < count; ++j) out[j] = double(int32_t(Bytes24(from + 3 * j) << 8) >> 8);
      return;
    case 535:
      for (int64_t j = 0; j < count; ++j) out[j] = double(Bytes24(from + 3 * j));
      return;
    default: std::fill(out, out + count, 0.0);
  }
}

// Whole microvolts of a number of the file, rounded; a number that is none (a float sample
// of the file) counts as 0, and one beyond 2^51 as 2^51.
inline double Microvolts(double digital, double gain, double shift) {
  double x = digital * gain + shift;
  x = x == x ? x : 0.0;
  x = x < -kLargestRounded ? -kLargestRounded : x > kLargestRounded ? kLargestRounded : x;
  return (x + kRounder) - kRounder;
}

// Microvolts less `offset`, clipped to what the store holds; returns how many were clipped.
VELMORA_WIDEST_VECTORS int64_t ToStore(const double* digital, int64_t count, double gain, double shift, double offset,
                                       int32_t* out) {
  int64_t clipped = 0;
  for (int64_t j = 0; j < count; ++j) {
    const double v = Microvolts(digital[j], gain, shift) - offset;
    const double kept = v < kLowest ? kLowest : v > kHighest ? kHighest : v;
    clipped += kept != v ? 1 : 0;
    out[j] = int32_t(kept);
  }
  return clipped;
}

// The most microvolts one of the samples lay beyond the store's range.
int64_t MostClipped(const double* digital, int64_t count, double gain, double shift, double offset) {
  double most = 0;
  for (int64_t j = 0; j < count; ++j) {
    const double v = Microvolts(digital[j], gain, shift) - offset;
    most = std::max(most, std::max(v - kHighest, kLowest - v));
  }
  return int64_t(most);
}

// Rows [0, count) of the tile (kChannels columns of kTileRows values) become whole rows of
// the store from `rows` on, written past the caches: the store is not read again soon.
void WriteRows(const int32_t* tile, int64_t count, int32_t* rows) {
  int64_t r = 0;
#if defined(__SSE2__)
  for (; r + 4 <= count; r += 4) {
    int32_t* row = rows + r * kChannels;
    for (int c = 0; c < kChannels; c += 4) {
      const int32_t* column = tile + int64_t(c) * kTileRows + r;
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + kTileRows));
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + 2 * kTileRows));
      const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + 3 * kTileRows));
      const __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
      const __m128i de0 = _mm_unpacklo_epi32(d, e), de1 = _mm_unpackhi_epi32(d, e);
      _mm_stream_si128(reinterpret_cast<__m128i*>(row + c), _mm_unpacklo_epi64(ab0, de0));
      _mm_stream_si128(reinterpret_cast<__m128i*>(row + kChannels + c), _mm_unpackhi_epi64(ab0, de0));
      _mm_stream_si128(reinterpret_cast<__m128i*>(row + 2 * kChannels + c), _mm_unpacklo_epi64(ab1, de1));
      _mm_stream_si128(reinterpret_cast<__m128i*>(row + 3 * kChannels + c), _mm_unpackhi_epi64(ab1, de1));
    }
  }
#endif
  for (; r < count; ++r)
    for (int c = 0; c < kChannels; ++c) rows[r * kChannels + c] = tile[int64_t(c) * kTileRows + r];
}

// Writes past the caches are made visible before the rows are handed on.
void Settle() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

}  // namespace

AcquisitionSamples::AcquisitionSamples(int fd, const std::string& path, const AcquisitionLayout& layout,
                                       const AcquisitionPlan& plan)
    : fd_(fd), path_(path), layout_(layout), plan_(plan) {
  for (const int s : plan.electrodes) {
    const SignalLayout& signal = layout.fileSignals[size_t(s)];
    gain_.push_back(signal.scale * signal.unitToMicrovolts);
    shift_.push_back(signal.shift * signal.unitToMicrovolts);
  }
}

int64_t AcquisitionSamples::RecordsPerBlock() const {
  return std::max<int64_t>(1, kRowsPerBlock / std::max<int64_t>(plan_.samplesPerRecord, 1));
}

void AcquisitionSamples::ReadRecords(int64_t first, int64_t count, std::vector<uint8_t>& into) const {
  const size_t bytes = size_t(count * layout_.recordBytes);
  into.resize(bytes);
  size_t done = 0;
  const int64_t offset = layout_.headerBytes + first * layout_.recordBytes;
  while (done < bytes) {
    const ssize_t n = ::pread(fd_, into.data() + done, bytes - done, off_t(offset + int64_t(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw IoError(path_, fmt::format("the data records cannot be read: {}", std::strerror(errno)));
    if (n == 0) throw IoError(path_, "the file ended before its data records did (it was cut while being read)");
    done += size_t(n);
  }
}

void AcquisitionSamples::Digital(const uint8_t* records, int64_t firstRecord, size_t e, int64_t g, int64_t count,
                                 double* out) const {
  const auto s = size_t(plan_.electrodes[e]);
  const int typeCode = layout_.fileSignals[s].typeCode;
  const int64_t spr = plan_.samplesPerRecord, bytes = AcquisitionFile::BytesOfType(typeCode);
  while (count > 0) {
    const int64_t record = g / spr, j = g % spr, n = std::min(spr - j, count);
    Widen(typeCode, records + (record - firstRecord) * layout_.recordBytes + plan_.byteOffsets[s] + j * bytes, n, out);
    out += n;
    g += n;
    count -= n;
  }
}

std::vector<int32_t> AcquisitionSamples::Medians() const {
  const int64_t spr = plan_.samplesPerRecord;
  const int64_t wanted = std::clamp<int64_t>((kOffsetSamples + spr - 1) / spr, 1, plan_.records);
  // Of records longer than the samples wanted, every stride-th sample is taken.
  const int64_t stride = std::max<int64_t>(1, wanted * spr / kOffsetSamples);
  const int64_t kept = (spr + stride - 1) / stride;
  const size_t electrodes = plan_.electrodes.size();
  std::vector<std::vector<int32_t>> values(electrodes, std::vector<int32_t>(size_t(wanted * kept)));
  std::vector<uint8_t> record;
  std::vector<double> digital(static_cast<size_t>(kTileRows));
  std::vector<int32_t> microvolts(static_cast<size_t>(kTileRows));
  for (int64_t k = 0; k < wanted; ++k) {
    // Evenly spread, the first and the last record among them.
    const int64_t r = wanted == 1 ? 0 : k * (plan_.records - 1) / (wanted - 1);
    ReadRecords(r, 1, record);
    for (size_t e = 0; e < electrodes; ++e)
      for (int64_t j = 0; j < spr; j += kTileRows) {
        const int64_t n = std::min(kTileRows, spr - j);
        Digital(record.data(), r, e, r * spr + j, n, digital.data());
        ToStore(digital.data(), n, gain_[e], shift_[e], 0, microvolts.data());
        for (int64_t i = (stride - j % stride) % stride; i < n; i += stride)
          values[e][size_t(k * kept + (j + i) / stride)] = microvolts[size_t(i)];
      }
  }
  std::vector<int32_t> medians(electrodes);
  const auto middles = [&](size_t from, size_t to) {
    for (size_t e = from; e < to; ++e) {
      std::vector<int32_t>& v = values[e];
      const auto middle = v.begin() + ptrdiff_t(v.size() / 2);
      std::nth_element(v.begin(), middle, v.end());
      medians[e] = *middle;
    }
  };
  std::thread second(middles, electrodes / 2, electrodes);
  middles(0, electrodes / 2);
  second.join();
  return medians;
}

std::vector<AcquisitionSamples::Clipping> AcquisitionSamples::Fill(int32_t* store, const std::vector<int32_t>& offsets,
                                                                   int64_t first, int64_t end,
                                                                   const std::function<bool(int64_t)>& between) const {
  const int64_t spr = plan_.samplesPerRecord, perBlock = RecordsPerBlock();
  const size_t electrodes = plan_.electrodes.size();
  std::vector<Clipping> clipping(electrodes);
  std::vector<uint8_t> records;
  std::vector<double> digital(static_cast<size_t>(kTileRows));
  std::vector<int32_t> tile(size_t(kChannels * kTileRows), 0);
  for (int64_t r0 = first; r0 < end; r0 += perBlock) {
    const int64_t n = std::min(perBlock, end - r0), last = (r0 + n) * spr;
    ReadRecords(r0, n, records);
    // The file's first sample has no row.
    for (int64_t g = std::max<int64_t>(r0 * spr, 1); g < last; g += kTileRows) {
      const int64_t count = std::min(kTileRows, last - g);
      for (size_t e = 0; e < electrodes; ++e) {
        Digital(records.data(), r0, e, g, count, digital.data());
        const double offset = offsets[e];
        int32_t* column = tile.data() + int64_t(plan_.electrodes[e]) * kTileRows;
        if (const int64_t clipped = ToStore(digital.data(), count, gain_[e], shift_[e], offset, column)) {
          clipping[e].samples += clipped;
          clipping[e].most = std::max(clipping[e].most, MostClipped(digital.data(), count, gain_[e], shift_[e], offset));
        }
      }
      WriteRows(tile.data(), count, store + (g - 1) * kChannels);
    }
    if (!between(r0 + n)) break;
  }
  Settle();
  return clipping;
}

}  // namespace velmora
