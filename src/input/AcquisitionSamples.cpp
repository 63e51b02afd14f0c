#include "input/AcquisitionSamples.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Limits.h"

namespace velmora {

namespace {

constexpr int64_t kRowsPerBlock = 1024;
// Adding and taking away 1.5 x 2^52 rounds a double to the nearest whole number, halves to
// even, as the rest of the workbench rounds; it holds for magnitudes below 2^51.
constexpr double kRounder = 0x1.8p52;
constexpr double kLargestRounded = 0x1p51;

inline int64_t RoundedMicrovolts(double digital, double gain, double shift) {
  const double value = digital * gain + shift;
  if (!(std::fabs(value) < kLargestRounded)) return std::isnan(value) ? 0 : value > 0 ? INT64_MAX / 2 : INT64_MIN / 2;
  return int64_t((value + kRounder) - kRounder);
}

// Readers of one sample of each type, as types of their own so that each run inlines its own.
template <typename T>
struct Sample {
  double operator()(const uint8_t* at) const {
    T value;
    std::memcpy(&value, at, sizeof value);
    return double(value);
  }
};
struct Signed24 {
  double operator()(const uint8_t* at) const {
    return double(int32_t((uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16) << 8) >> 8);
  }
};
struct Unsigned24 {
  double operator()(const uint8_t* at) const { return double(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16); }
};

template <typename Read>
void DecodeRun(const uint8_t* from, int bytes, int64_t count, double gain, double shift, int64_t* out, Read read) {
  for (int64_t j = 0; j < count; ++j) out[j] = RoundedMicrovolts(read(from + j * bytes), gain, shift);
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

void AcquisitionSamples::Decode(const uint8_t* record, int e, int64_t* out) const {
  const int s = plan_.electrodes[size_t(e)];
  const SignalLayout& signal = layout_.fileSignals[size_t(s)];
  const uint8_t* from = record + plan_.byteOffsets[size_t(s)];
  const int64_t n = plan_.samplesPerRecord;
  const double g = gain_[size_t(e)], h = shift_[size_t(e)];
  switch (signal.typeCode) {
    case 1: return DecodeRun(from, 1, n, g, h, out, Sample<int8_t>{});
    case 2: return DecodeRun(from, 1, n, g, h, out, Sample<uint8_t>{});
    case 3: return DecodeRun(from, 2, n, g, h, out, Sample<int16_t>{});
    case 4: return DecodeRun(from, 2, n, g, h, out, Sample<uint16_t>{});
    case 5: return DecodeRun(from, 4, n, g, h, out, Sample<int32_t>{});
    case 6: return DecodeRun(from, 4, n, g, h, out, Sample<uint32_t>{});
    case 7: return DecodeRun(from, 8, n, g, h, out, Sample<int64_t>{});
    case 8: return DecodeRun(from, 8, n, g, h, out, Sample<uint64_t>{});
    case 16: return DecodeRun(from, 4, n, g, h, out, Sample<float>{});
    case 17: return DecodeRun(from, 8, n, g, h, out, Sample<double>{});
    case 279: return DecodeRun(from, 3, n, g, h, out, Signed24{});
    case 535: return DecodeRun(from, 3, n, g, h, out, Unsigned24{});
    default: std::fill(out, out + n, 0);
  }
}

std::vector<int32_t> AcquisitionSamples::Medians() const {
  const int64_t spr = plan_.samplesPerRecord;
  const int64_t wanted = std::clamp<int64_t>((kOffsetSamples + spr - 1) / spr, 1, plan_.records);
  const size_t electrodes = plan_.electrodes.size();
  std::vector<std::vector<int64_t>> values(electrodes);
  std::vector<uint8_t> record;
  for (int64_t k = 0; k < wanted; ++k) {
    // Evenly spread, the first and the last record among them.
    const int64_t r = wanted == 1 ? 0 : k * (plan_.records - 1) / (wanted - 1);
    ReadRecords(r, 1, record);
    for (size_t e = 0; e < electrodes; ++e) {
      values[e].resize(size_t((k + 1) * spr));
      Decode(record.data(), int(e), values[e].data() + k * spr);
    }
  }
  std::vector<int32_t> medians;
  for (std::vector<int64_t>& v : values) {
    const auto middle = v.begin() + ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    medians.push_back(int32_t(std::clamp<int64_t>(*middle, INT32_MIN, INT32_MAX)));
  }
  return medians;
}

// Record by record: every electrode's samples are decoded into a tile, one electrode after
// the other, and the tile is then written out row by row, so the store is written in whole
// rows rather than a sample per row and channel.
std::vector<AcquisitionSamples::Clipping> AcquisitionSamples::Fill(int32_t* store, const std::vector<int32_t>& offsets,
                                                                   int64_t first, int64_t end,
                                                                   const std::function<bool(int64_t)>& between) const {
  const int64_t spr = plan_.samplesPerRecord, perBlock = RecordsPerBlock();
  const size_t electrodes = plan_.electrodes.size();
  std::vector<Clipping> clipping(electrodes);
  std::vector<uint8_t> records;
  std::vector<int64_t> values(static_cast<size_t>(spr));
  std::vector<int32_t> tile(electrodes * size_t(spr));
  for (int64_t r0 = first; r0 < end; r0 += perBlock) {
    const int64_t n = std::min(perBlock, end - r0);
    ReadRecords(r0, n, records);
    for (int64_t i = 0; i < n; ++i) {
      for (size_t e = 0; e < electrodes; ++e) {
        Decode(records.data() + i * layout_.recordBytes, int(e), values.data());
        int32_t* into = tile.data() + e * size_t(spr);
        for (int64_t j = 0; j < spr; ++j) {
          int64_t v = values[size_t(j)] - offsets[e];
          if (v > INT32_MAX || v < INT32_MIN) {
            const int64_t kept = std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
            ++clipping[e].samples;
            clipping[e].most = std::max(clipping[e].most, v > kept ? v - kept : kept - v);
            v = kept;
          }
          into[j] = int32_t(v);
        }
      }
      // The file's first sample has no row.
      for (int64_t j = (r0 + i) == 0 ? 1 : 0; j < spr; ++j) {
        int32_t* row = store + ((r0 + i) * spr + j - 1) * kChannels;
        for (size_t e = 0; e < electrodes; ++e) row[plan_.electrodes[e]] = tile[e * size_t(spr) + size_t(j)];
      }
    }
    if (!between(r0 + n)) break;
  }
  return clipping;
}

}  // namespace velmora
