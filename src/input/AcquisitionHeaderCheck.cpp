#include "input/AcquisitionHeaderCheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include <fmt/format.h>

#include "core/Errors.h"

namespace velmora {

namespace {

constexpr int64_t kFixedHeader = 256, kSignalHeader = 256;
constexpr std::string_view kEdfMagic("0       ", 8), kBdfMagic("\xFF" "BIOSEMI", 8);

// Where each field of the signal headers starts, in units of the signal count, and its width.
struct SignalField {
  const char* name;
  int64_t start, width;
};
constexpr SignalField kPhysicalMin{"physical minimum", 104, 8}, kPhysicalMax{"physical maximum", 112, 8},
    kDigitalMin{"digital minimum", 120, 8}, kDigitalMax{"digital maximum", 128, 8},
    kSamplesPerRecord{"samples per data record", 216, 8};

std::string Trimmed(std::string_view field) {
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(field.substr(first, field.find_last_not_of(' ') - first + 1));
}

// Text fit for a message: the field as it stands, unprintable bytes as dots.
std::string Shown(std::string_view field) {
  std::string shown(field);
  for (char& c : shown)
    if (!std::isprint(static_cast<unsigned char>(c))) c = '.';
  return "\"" + Trimmed(shown) + "\"";
}

std::optional<double> RealIn(std::string_view field) {
  const std::string text = Trimmed(field);
  if (text.empty() || text.find_first_not_of("+-0123456789.eE") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int64_t> IntegerIn(std::string_view field) {
  const std::string text = Trimmed(field);
  const size_t digits = text.empty() || text[0] != '-' ? 0 : 1;
  if (text.size() == digits || text.size() > 18 || text.find_first_not_of("0123456789", digits) != std::string::npos)
    return std::nullopt;
  return std::strtoll(text.c_str(), nullptr, 10);
}

template <typename T>
T Little(std::string_view bytes, size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

std::string HeaderProblem(std::string_view name, std::string_view field, const char* wanted) {
  return fmt::format("the header field \"{}\" holds {}, not {}", name, Shown(field), wanted);
}

}  // namespace

bool AcquisitionHeaderCheck::Handles(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension == ".edf" || extension == ".bdf" || extension == ".gdf";
}

int64_t AcquisitionHeaderCheck::BytesNeeded(std::string_view start) {
  if (start.size() < size_t(kFixedHeader)) return kFixedHeader;
  if (start.substr(0, 3) == "GDF") return kFixedHeader;
  const std::optional<int64_t> signals = IntegerIn(start.substr(252, 4));
  if (!signals || *signals < 0 || *signals > kMostSignals) return kFixedHeader;
  return kFixedHeader + *signals * kSignalHeader;
}

AcquisitionHeaderCheck::Facts AcquisitionHeaderCheck::Check(const std::string& path, std::string_view start,
                                                            int64_t fileSize) {
  if (fileSize == 0) throw IoError(path, "the file is empty");
  if (start.substr(0, 8) == kEdfMagic) return CheckEdf(path, start, fileSize, Kind::Edf);
  if (start.substr(0, 8) == kBdfMagic) return CheckEdf(path, start, fileSize, Kind::Bdf);
  if (start.size() >= 6 && start.substr(0, 4) == "GDF " && (start[4] == '1' || start[4] == '2') && start[5] == '.')
    return CheckGdf(path, start, fileSize);
  throw IoError(path, "the file is not an EDF, BDF or GDF recording (its first bytes are not those of any of them)");
}

AcquisitionHeaderCheck::Facts AcquisitionHeaderCheck::CheckEdf(const std::string& path, std::string_view start,
                                                               int64_t fileSize, Kind kind) {
  if (fileSize < kFixedHeader || start.size() < size_t(kFixedHeader))
    throw IoError(path, fmt::format("the header is cut short: the file has {} bytes, the fixed header alone {}",
                                    fileSize, kFixedHeader));
  Facts facts;
  facts.kind = kind;
  const std::string reserved = Trimmed(start.substr(192, 44));
  facts.plus = reserved.rfind("EDF+", 0) == 0 || reserved.rfind("BDF+", 0) == 0;
  facts.discontinuous = facts.plus && reserved.size() > 4 && reserved[4] == 'D';
  const std::optional<int64_t> signals = IntegerIn(start.substr(252, 4));
  if (!signals || *signals < 0) throw IoError(path, HeaderProblem("number of signals", start.substr(252, 4), "a count"));
  if (*signals == 0) throw IoError(path, "the file holds no signals");
  if (*signals > kMostSignals)
    throw IoError(path, fmt::format("the file has {} signals; at most {} are read", *signals, kMostSignals));
  facts.signalCount = int(*signals);
  const std::optional<int64_t> headerBytes = IntegerIn(start.substr(184, 8));
  if (!headerBytes) throw IoError(path, HeaderProblem("number of bytes in header", start.substr(184, 8), "a count"));
  facts.headerBytes = kFixedHeader + kSignalHeader * facts.signalCount;
  if (*headerBytes != facts.headerBytes)
    throw IoError(path, fmt::format("the header says it has {} bytes; its {} signals make it {}", *headerBytes,
                                    facts.signalCount, facts.headerBytes));
  if (fileSize < facts.headerBytes || int64_t(start.size()) < facts.headerBytes)
    throw IoError(path, fmt::format("the header is cut short: it has {} bytes, the file {}", facts.headerBytes,
                                    fileSize));
  const std::optional<int64_t> records = IntegerIn(start.substr(236, 8));
  if (!records || *records < -1)
    throw IoError(path, HeaderProblem("number of data records", start.substr(236, 8), "a count (or -1)"));
  facts.recordsInHeader = *records;
  const std::optional<double> duration = RealIn(start.substr(244, 8));
  if (!duration) throw IoError(path, HeaderProblem("duration of a data record", start.substr(244, 8), "a number"));
  if (*duration <= 0)
    throw IoError(path, fmt::format("a data record lasts {} s: the signals have no time axis", *duration));
  for (int s = 0; s < facts.signalCount; ++s) {
    for (const SignalField& field : {kPhysicalMin, kPhysicalMax, kDigitalMin, kDigitalMax, kSamplesPerRecord}) {
      const std::string_view text = start.substr(size_t(kFixedHeader + field.start * facts.signalCount + s * field.width),
                                                 size_t(field.width));
      const bool whole = &field == &kDigitalMin || &field == &kDigitalMax || &field == &kSamplesPerRecord;
      const bool number = whole ? IntegerIn(text).has_value() : RealIn(text).has_value();
      const std::string label = Trimmed(start.substr(size_t(kFixedHeader + s * 16), 16));
      if (!number)
        throw IoError(path, fmt::format("the field \"{}\" of signal {} ({}) holds {}, not a number", field.name, s + 1,
                                        label, Shown(text)));
      if (&field == &kSamplesPerRecord && *IntegerIn(text) < 1)
        throw IoError(path, fmt::format("signal {} ({}) has {} samples per data record", s + 1, label,
                                        *IntegerIn(text)));
    }
  }
  return facts;
}

AcquisitionHeaderCheck::Facts AcquisitionHeaderCheck::CheckGdf(const std::string& path, std::string_view start,
                                                               int64_t fileSize) {
  if (fileSize < kFixedHeader || start.size() < size_t(kFixedHeader))
    throw IoError(path, fmt::format("the header is cut short: the file has {} bytes, the fixed header alone {}",
                                    fileSize, kFixedHeader));
  Facts facts;
  facts.kind = Kind::Gdf;
  const bool second = start[4] == '2';
  const int64_t signals = second ? Little<uint16_t>(start, 252) : Little<uint32_t>(start, 252);
  if (signals == 0) throw IoError(path, "the file holds no signals");
  if (signals > kMostSignals)
    throw IoError(path, fmt::format("the file has {} signals; at most {} are read", signals, kMostSignals));
  facts.signalCount = int(signals);
  facts.headerBytes = second ? int64_t(Little<uint16_t>(start, 184)) * 256 : Little<int64_t>(start, 184);
  if (facts.headerBytes < kFixedHeader + kSignalHeader * signals)
    throw IoError(path, fmt::format("the header says it has {} bytes; its {} signals need {}", facts.headerBytes,
                                    signals, kFixedHeader + kSignalHeader * signals));
  if (facts.headerBytes > fileSize)
    throw IoError(path, fmt::format("the header is cut short: it has {} bytes, the file {}", facts.headerBytes,
                                    fileSize));
  facts.recordsInHeader = Little<int64_t>(start, 236);
  if (facts.recordsInHeader < -1)
    throw IoError(path, fmt::format("the header gives {} data records", facts.recordsInHeader));
  return facts;
}

}  // namespace velmora
