#include "input/AcquisitionPlan.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Limits.h"
#include "input/AcquisitionFile.h"

namespace velmora {

namespace {

using Use = AcquisitionSignal::Use;
constexpr double kMostRateHz = 1e6;

std::string Named(const AcquisitionSignal& signal) { return fmt::format("{} ({})", signal.number, signal.label); }

std::string NamedList(const std::vector<AcquisitionSignal>& signals, Use use) {
  std::string list;
  for (const AcquisitionSignal& signal : signals)
    if (signal.use == use) list += (list.empty() ? "" : ", ") + Named(signal);
  return list;
}

bool IsStatus(const std::string& label) {
  std::string lower = label;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower == "status";
}

// Each signal's place in a data record, as the library found it. Its samples must lie in the
// record, on whole bytes, and the records must hold exactly what the signals take.
std::vector<int64_t> ByteOffsets(const std::string& path, const AcquisitionLayout& layout) {
  std::vector<int64_t> offsets;
  int64_t taken = 0;
  for (size_t s = 0; s < layout.fileSignals.size(); ++s) {
    const SignalLayout& signal = layout.fileSignals[s];
    const int bytes = AcquisitionFile::BytesOfType(signal.typeCode);
    if (bytes == 0)
      throw IoError(path, fmt::format("signal {} ({}) keeps its samples in the library's type {}, which the "
                                      "workbench does not read",
                                      s + 1, signal.label, signal.typeCode));
    if (signal.samplesPerRecord < 0 || signal.samplesPerRecord > (INT64_MAX / 16) / bytes)
      throw IoError(path, fmt::format("signal {} ({}) has {} samples per data record", s + 1, signal.label,
                                      signal.samplesPerRecord));
    const int64_t span = signal.samplesPerRecord * bytes;
    if (signal.recordByte < 0 || signal.recordBit != 8 * signal.recordByte ||
        signal.recordByte > layout.recordBytes - span)
      throw IoError(path, fmt::format("signal {} ({}) does not lie within a data record of {} bytes (at byte {})",
                                      s + 1, signal.label, layout.recordBytes, signal.recordByte));
    offsets.push_back(signal.recordByte);
    taken += span;
    if (taken > INT64_MAX / 16) throw IoError(path, "the data records are larger than any file");
  }
  if (taken != layout.recordBytes || taken <= 0)
    throw IoError(path, fmt::format("a data record has {} bytes, but its signals take {}", layout.recordBytes, taken));
  return offsets;
}

void Classify(AcquisitionPlan& plan, const AcquisitionLayout& layout) {
  for (size_t s = 0; s < layout.fileSignals.size(); ++s) {
    const SignalLayout& from = layout.fileSignals[s];
    AcquisitionSignal signal;
    signal.number = int(s) + 1;
    signal.label = from.label;
    signal.unit = from.unit;
    signal.rateHz = double(from.samplesPerRecord) / layout.recordSeconds;
    const double micro = from.scale * from.unitToMicrovolts;
    if (from.annotations)
      signal.use = Use::Annotations;
    else if (IsStatus(from.label))
      signal.use = Use::Status;
    else if (!from.voltage || !(from.unitToMicrovolts > 0))
      signal.use = Use::NotVoltage;
    else if (!(from.digitalMax > from.digitalMin) || !std::isfinite(micro) || !std::isfinite(from.shift) ||
             micro == 0)
      signal.use = Use::NoScale;
    plan.fileSignals.push_back(signal);
  }
}

// The rate most voltage signals share is the recording's; the others are left out.
void ChooseRate(AcquisitionPlan& plan, const AcquisitionLayout& layout) {
  std::map<int64_t, int> counts;
  int64_t chosen = 0;
  for (size_t s = 0; s < plan.fileSignals.size(); ++s) {
    if (plan.fileSignals[s].use != Use::Electrode) continue;
    const int64_t spr = layout.fileSignals[s].samplesPerRecord;
    if (++counts[spr] > counts[chosen] || chosen == 0) chosen = spr;
  }
  for (size_t s = 0; s < plan.fileSignals.size(); ++s) {
    AcquisitionSignal& signal = plan.fileSignals[s];
    if (signal.use != Use::Electrode) continue;
    if (layout.fileSignals[s].samplesPerRecord != chosen)
      signal.use = Use::OtherRate;
    else if (signal.number > kChannels)
      signal.use = Use::BeyondChannels;
    else
      plan.electrodes.push_back(int(s));
  }
  plan.samplesPerRecord = chosen;
}

void CountRecords(AcquisitionPlan& plan, const std::string& path, const AcquisitionHeaderCheck::Facts& facts,
                  const AcquisitionLayout& layout, int64_t fileSize) {
  const int64_t data = std::max<int64_t>(fileSize - layout.headerBytes, 0);
  const int64_t whole = data / layout.recordBytes, rest = data % layout.recordBytes;
  const int64_t told = facts.recordsInHeader;
  const bool gdf = facts.kind == AcquisitionHeaderCheck::Kind::Gdf;
  plan.records = told < 0 ? whole : std::min(told, whole);
  if (told < 0) {
    plan.warnings.push_back(fmt::format("the header gives the number of data records as -1 (the recording was still "
                                        "running); the {} whole records the file holds are read",
                                        whole));
  } else if (told > whole) {
    plan.warnings.push_back(fmt::format("the header gives {} data records but the file holds {} whole ones (it is cut "
                                        "short); those {} are read",
                                        told, whole, whole));
  } else if (!gdf && (told < whole || rest > 0)) {
    plan.warnings.push_back(fmt::format("the {} bytes after the last of its {} data records are left out",
                                        data - told * layout.recordBytes, told));
  }
  if (plan.records == 0) throw IoError(path, "the file holds no whole data record");
}

void CheckRate(AcquisitionPlan& plan, const std::string& path, const AcquisitionLayout& layout) {
  const double rate = double(plan.samplesPerRecord) / layout.recordSeconds;
  if (!(rate >= 1 && rate <= kMostRateHz) || std::fabs(rate - std::round(rate)) > 1e-6 * rate)
    throw IoError(path, fmt::format("the electrode signals are sampled at {} Hz; the workbench takes whole rates "
                                    "from 1 to {} Hz",
                                    rate, kMostRateHz));
  plan.rateHz = int(std::lround(rate));
}

void WarnAboutLeftOut(AcquisitionPlan& plan, const AcquisitionHeaderCheck::Facts& facts) {
  if (const std::string list = NamedList(plan.fileSignals, Use::OtherRate); !list.empty())
    plan.warnings.push_back(fmt::format("signals {} are sampled at other rates than the {} Hz of the electrodes and "
                                        "are left out",
                                        list, plan.rateHz));
  if (const std::string list = NamedList(plan.fileSignals, Use::NoScale); !list.empty())
    plan.warnings.push_back(fmt::format("signals {} have a digital range of no width (or no scale to physical "
                                        "values) and are left out",
                                        list));
  if (const std::string list = NamedList(plan.fileSignals, Use::BeyondChannels); !list.empty())
    plan.warnings.push_back(fmt::format("signals {} are left out: the workbench has {} channels", list, kChannels));
  if (facts.discontinuous)
    plan.warnings.push_back("the recording has gaps between its data records (EDF+D/BDF+D); they are shown one "
                            "after the other");
}

}  // namespace

AcquisitionPlan AcquisitionPlan::Make(const std::string& path, const AcquisitionHeaderCheck::Facts& facts,
                                      const AcquisitionLayout& layout, int64_t fileSize) {
  AcquisitionPlan plan;
  if (layout.fileSignals.empty()) throw IoError(path, "the file holds no signals");
  if (!(layout.recordSeconds > 0) || !std::isfinite(layout.recordSeconds))
    throw IoError(path, "the header gives the data records no duration");
  plan.byteOffsets = ByteOffsets(path, layout);
  Classify(plan, layout);
  ChooseRate(plan, layout);
  if (plan.electrodes.empty())
    throw IoError(path, "the file has no electrode signals (signals in volts at one rate among the first 256)");
  CheckRate(plan, path, layout);
  CountRecords(plan, path, facts, layout, fileSize);
  const int64_t samples = plan.records * plan.samplesPerRecord;
  if (samples < 2 || samples - 1 > INT32_MAX - kSmoothingWidth)
    throw IoError(path, fmt::format("the file holds {} samples per electrode; the workbench shows 2 to {}", samples,
                                    int64_t(INT32_MAX) - kSmoothingWidth + 1));
  plan.rows = samples - 1;
  WarnAboutLeftOut(plan, facts);
  return plan;
}

}  // namespace velmora
