#include "core/SignalStore.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"

namespace velmora {

namespace {

int64_t StoreBytes(const AnalysisState& state) { return int64_t(state.Signals.size()) * int64_t(sizeof(int32_t)); }

int64_t MemAvailableFromProc() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream words(line);
    std::string name;
    int64_t kilobytes = 0;
    if (words >> name >> kilobytes && name == "MemAvailable:") return kilobytes * 1024;
  }
  return -1;
}

}  // namespace

int64_t SignalStore::AvailableBytes() {
  const int64_t fromProc = MemAvailableFromProc();
  if (fromProc >= 0) return fromProc;
  const long pages = ::sysconf(_SC_AVPHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? int64_t(pages) * pageSize : 0;
}

int64_t SignalStore::LargestRows(const AnalysisState& state, int64_t available, int64_t otherBytes) {
  const int64_t usable = available + StoreBytes(state) - kReserveBytes - otherBytes;
  return std::clamp<int64_t>(usable / kBytesPerRow, 0, INT_MAX);
}

void SignalStore::CheckFitsIn(const AnalysisState& state, const std::string& path, int64_t rows, int64_t available,
                              int64_t otherBytes) {
  if (rows <= LargestRows(state, available, otherBytes)) return;
  const int64_t needed = rows * kBytesPerRow + otherBytes + kReserveBytes;
  const int64_t free = available + StoreBytes(state);
  throw IoError(path, fmt::format("the recording's {} samples per channel need {} of memory; {} are available", rows,
                                  SizeText(needed), SizeText(free)));
}

void SignalStore::Resize(AnalysisState& state, int rows) {
  decltype(state.Signals)().swap(state.Signals);
  state.Signals.resize(size_t(std::max(rows, 0)) * kChannels);
  state.SignalRowsTouched = 0;
  state.SignalLookAhead = 0;  // a new recording comes in raw; its loader says when it smoothed it
  state.SignalsChanged();
}

void SignalStore::Unload(AnalysisState& state) {
  Resize(state, 0);
  state.FileLoaded = false;
  state.SigLength = 0;
  state.ElgFileName.clear();
  state.MarkFileName.clear();
  state.MarkCount = 0;
  state.MarksChanged = false;
  state.Acquisition = {};
}

void SignalStore::ResizeForOverwrite(AnalysisState& state, int rows) {
  if (state.Signals.size() != size_t(std::max(rows, 0)) * kChannels) return Resize(state, rows);
  state.SignalRowsTouched = 0;
  state.SignalLookAhead = 0;
  state.SignalsChanged();
}

int64_t SignalStore::ZeroPaddedRows(const AnalysisState& state) {
  return std::max<int64_t>(state.SignalRows(), kStartSignalRows);
}

std::string SignalStore::SizeText(int64_t bytes) {
  constexpr double kMegabyte = 1e6, kGigabyte = 1e9;
  if (bytes >= int64_t(kGigabyte)) return fmt::format("{:.1f} GB", double(bytes) / kGigabyte);
  return fmt::format("{:.0f} MB", double(bytes) / kMegabyte);
}

}  // namespace velmora
