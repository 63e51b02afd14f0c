#include "input/AcquisitionSampleRecording.h"

#include <GDF/Writer.h>
#include <edflib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fmt/format.h>

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "input/SampleFront.h"

namespace velmora {

namespace {

constexpr double kSignalRoomUv = 15000;  // the sample's baselines, waves and noise stay within this
constexpr int kRecordDuration = 1000;    // 10 ms in EDFlib's units of 10 us
constexpr long long kAnnotationUnitsPerMs = 10;  // EDFlib's annotation times count 100 us
constexpr double kGdfDigital = 2147483647.0;
constexpr uint16_t kMicrovoltCode = 4275;  // volts (4256) with the prefix micro

uint64_t Mixed(uint64_t z) {
  z += 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::string Temporary(const std::string& path, const char* what) {
  return fmt::format("{}{}{}-{}", path, kTemporaryMark, what, ::getpid());
}

void Require(bool ok, const std::string& path, const std::string& what) {
  if (!ok) throw IoError(path, "EDFlib cannot " + what);
}

// Every signal in microvolts over the range the offsets need, at 1000 Hz in 10 ms records.
int OpenForWriting(const std::string& path, bool bdf, double rangeUv) {
  const int handle = edfopen_file_writeonly(path.c_str(), bdf ? EDFLIB_FILETYPE_BDFPLUS : EDFLIB_FILETYPE_EDFPLUS,
                                            kChannels);
  Require(handle >= 0, path, fmt::format("open the file for writing (error {})", handle));
  const int digital = bdf ? 8388607 : 32767;
  bool ok = edf_set_datarecord_duration(handle, kRecordDuration) == 0;
  for (int s = 0; s < kChannels; ++s) {
    ok = ok && edf_set_samplefrequency(handle, s, AcquisitionSampleRecording::kRecordSamples) == 0;
    ok = ok && edf_set_physical_maximum(handle, s, rangeUv) == 0 && edf_set_physical_minimum(handle, s, -rangeUv) == 0;
    ok = ok && edf_set_digital_maximum(handle, s, digital) == 0 && edf_set_digital_minimum(handle, s, -digital) == 0;
    ok = ok && edf_set_physical_dimension(handle, s, "uV") == 0;
    ok = ok && edf_set_label(handle, s, fmt::format("Ch{}", s + 1).c_str()) == 0;
  }
  if (!ok) edfclose_file(handle);
  Require(ok, path, "set up the signals");
  return handle;
}

// The signals with their offsets, channel by channel: sample k is the signal at k ms.
std::vector<std::vector<double>> Signals(const SampleSettings& settings, double offsetMv, int64_t samples) {
  std::vector<std::vector<double>> signals;
  for (int channel = 1; channel <= kChannels; ++channel) {
    std::vector<double> signal = SampleRecording::ChannelSignal(settings, channel);
    signal.resize(size_t(samples));
    const double offset = AcquisitionSampleRecording::OffsetUv(settings, offsetMv, channel);
    for (double& value : signal) value = value / SampleImpairments::kUnitsPerMicrovolt + offset;
    signals.push_back(std::move(signal));
  }
  return signals;
}

// Each wave and the time of its first activation.
std::map<int, int32_t> WaveStarts(const SampleSettings& settings) {
  std::map<int, int32_t> starts;
  for (const Activation& a : SampleRecording::ActivationTimes(settings)) {
    const auto [at, added] = starts.emplace(a.wave, a.timeMs);
    if (!added) at->second = std::min(at->second, a.timeMs);
  }
  return starts;
}

void WriteAnnotations(int handle, const SampleSettings& settings, const std::string& path) {
  for (const auto& [wave, ms] : WaveStarts(settings))
    Require(edfwrite_annotation_utf8(handle, ms * kAnnotationUnitsPerMs, -1,
                                     fmt::format("slow wave {}", wave + 1).c_str()) == 0,
            path, "write an annotation");
}

void WriteEdf(const std::string& path, bool bdf, const SampleSettings& settings, double offsetMv) {
  // Whole 10 ms records covering every E00 row and the sample before the first.
  const int64_t samples = SampleRecording::FramesAfterHeader(settings) / AcquisitionSampleRecording::kRecordSamples *
                          AcquisitionSampleRecording::kRecordSamples;
  const std::vector<std::vector<double>> signals = Signals(settings, offsetMv, samples);
  const int handle = OpenForWriting(path, bdf, AcquisitionSampleRecording::RangeUv(offsetMv));
  std::vector<double> record(AcquisitionSampleRecording::kRecordSamples);
  bool ok = true;
  for (int64_t first = 0; ok && first < samples; first += AcquisitionSampleRecording::kRecordSamples)
    for (int s = 0; ok && s < kChannels; ++s) {
      std::copy_n(signals[size_t(s)].begin() + first, record.size(), record.begin());
      ok = edfwrite_physical_samples(handle, record.data()) == 0;
    }
  if (ok) WriteAnnotations(handle, settings, path);
  Require(edfclose_file(handle) == 0 && ok, path, "write the samples");
}

// GDF comes from libGDF, a GDF library of its own: 32-bit samples in 10 ms records, and the
// annotations as events of user type 1 (this libGDF writes no header 3, so the texts given
// to the events do not reach the file: a reader sees them as "event type 1").
void WriteGdf(const std::string& path, const SampleSettings& settings, double offsetMv) {
  const int64_t samples = SampleRecording::FramesAfterHeader(settings) / AcquisitionSampleRecording::kRecordSamples *
                          AcquisitionSampleRecording::kRecordSamples;
  const std::vector<std::vector<double>> signals = Signals(settings, offsetMv, samples);
  const double range = AcquisitionSampleRecording::RangeUv(offsetMv);
  try {
    gdf::Writer writer;
    writer.getHeaderAccess().setRecordDuration(AcquisitionSampleRecording::kRecordSamples, 1000);
    for (int s = 0; s < kChannels; ++s) {
      writer.createSignal(size_t(s));
      gdf::SignalHeader& header = writer.getSignalHeader(size_t(s));
      header.set_label(fmt::format("Ch{}", s + 1));
      header.set_physical_dimension("uV");
      header.set_physical_dimension_code(kMicrovoltCode);
      header.set_datatype(gdf::INT32);
      header.set_samplerate(1000);
      header.set_physmin(-range);
      header.set_physmax(range);
      header.set_digmin(-kGdfDigital);
      header.set_digmax(kGdfDigital);
    }
    // The events' texts go into the header, which is written when the file opens.
    gdf::EventDescriptor& descriptions = writer.getHeaderAccess().getTagHeader().getEventDescriptor();
    const std::map<int, int32_t> starts = WaveStarts(settings);
    for (const auto& [wave, ms] : starts) descriptions.addUserSpecificDesc(fmt::format("slow wave {}", wave + 1));
    writer.setEventMode(1);
    writer.open(path, gdf::writer_ev_memory | gdf::writer_overwrite);
    for (int s = 0; s < kChannels; ++s) writer.blitSamplesPhys(size_t(s), signals[size_t(s)]);
    for (const auto& [wave, ms] : starts) {
      gdf::Mode1Event event;
      writer.makeFreeTextEvent(ms / 1000.0, fmt::format("slow wave {}", wave + 1), descriptions, event);
      writer.addEvent(event);
    }
    writer.close();
  } catch (const std::exception& error) {
    throw IoError(path, std::string("libGDF cannot write the file: ") + error.what());
  }
}

}  // namespace

bool AcquisitionSampleRecording::FormatNamed(const std::string& name, Format& format) {
  if (name == "edf") format = Format::Edf;
  else if (name == "bdf") format = Format::Bdf;
  else if (name == "gdf") format = Format::Gdf;
  else return false;
  return true;
}

std::string AcquisitionSampleRecording::Extension(Format format) {
  return format == Format::Edf ? ".edf" : format == Format::Bdf ? ".bdf" : ".gdf";
}

double AcquisitionSampleRecording::OffsetUv(const SampleSettings& settings, double offsetMv, int channel) {
  const uint64_t bits = Mixed((uint64_t(settings.seed) << 32) ^ (uint64_t(channel) << 8) ^ 5);
  const double unit = double(bits >> 11) * 0x1.0p-53;  // [0, 1)
  return std::round((2 * unit - 1) * offsetMv * 1000.0);
}

double AcquisitionSampleRecording::RangeUv(double offsetMv) { return offsetMv * 1000.0 + kSignalRoomUv; }

void AcquisitionSampleRecording::Check(const SampleSettings& settings, double offsetMv) {
  SampleRecording::Check(settings);
  if (!(offsetMv >= 0 && offsetMv <= kMostOffsetMv))
    throw std::invalid_argument(fmt::format("an offset of {} mV is outside 0..{} mV", offsetMv, kMostOffsetMv));
}

SampleFiles AcquisitionSampleRecording::Write(Format format, const SampleSettings& settings, double offsetMv,
                                              const std::string& folder) {
  Check(settings, offsetMv);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw IoError(folder, "the folder cannot be created: " + error.message());
  const std::filesystem::path dir(folder);
  SampleFiles files{(dir / ("sample" + Extension(format))).string(), (dir / "sample-matrix.txt").string(),
                    (dir / "sample-truth.txt").string()};
  const std::string written = Temporary(files.recording, "part");
  try {
    if (format == Format::Gdf)
      WriteGdf(written, settings, offsetMv);
    else
      WriteEdf(written, format == Format::Bdf, settings, offsetMv);
    std::filesystem::rename(written, files.recording);
  } catch (...) {
    std::filesystem::remove(written, error);
    throw;
  }
  WriteFileAtomically(files.matrix, SampleRecording::MatrixText(settings));
  WriteFileAtomically(files.truth, SampleFront::TruthText(settings, SampleRecording::ActivationTimes(settings),
                                                           SampleRecording::DeadChannels(settings)));
  return files;
}

}  // namespace velmora
