#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The kind of an EDF, BDF or GDF recording: the open dialog's filter of them, InputFileKind
// and their code in the recent-files list.
inline constexpr int kAcquisitionFileKind = 7;

// What an EDF, BDF or GDF recording held besides the samples in the store: its signals with
// what became of each, the per-channel offsets taken out, and its annotations or events.
// Empty for every other kind of recording.
struct AcquisitionSignal {
  // Why a signal is, or is not, a channel of the store.
  enum class Use { Electrode, Annotations, Status, NotVoltage, OtherRate, NoScale, BeyondChannels };
  int number = 0;  // 1-based in file order; an electrode signal is channel `number`
  std::string label, unit;
  double rateHz = 0;
  Use use = Use::Electrode;
  int32_t offsetUv = 0;         // taken from every sample before it was stored
  int64_t clippedSamples = 0;   // samples beyond what the store holds, clipped to it
  int64_t mostClippedUv = 0;    // the largest amount one of them was clipped by
};

// An EDF+/BDF+ annotation or a GDF event: a time on the recording's own axis and its text.
struct AcquisitionAnnotation {
  int64_t timeMs = 0;
  std::string text;
};

struct AcquisitionDetails {
  std::string format;  // "EDF+", "BDF", "GDF 2.20", ...
  double rateHz = 0;   // of the electrode signals, the rate of the store's rows
  int64_t records = 0;
  double recordSeconds = 0;
  std::vector<AcquisitionSignal> fileSignals;
  std::vector<AcquisitionAnnotation> annotations;
  std::string filters = "none";  // the filter chain the store's samples went through

  bool Empty() const { return format.empty(); }
};

}  // namespace velmora
