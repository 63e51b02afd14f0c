#include "input/AcquisitionFile.h"

#include <biosig.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <fmt/format.h>

#include "core/Errors.h"
#include "input/LibraryProcess.h"
#include "input/WholeRecordsView.h"

namespace velmora {

namespace {

constexpr size_t kMostEvents = 1000000, kLongestText = 200;
constexpr uint16_t kVoltCode = 4256, kPrefixBits = 0x1F;

// The description travels from the library's process as length-prefixed fields.
class Packer {
 public:
  void Number(double value) { Raw(&value, sizeof value); }
  void Text(const std::string& text) {
    Number(double(text.size()));
    bytes_ += text;
  }
  std::string Bytes() && { return std::move(bytes_); }

 private:
  void Raw(const void* at, size_t count) { bytes_.append(static_cast<const char*>(at), count); }
  std::string bytes_;
};

class Unpacker {
 public:
  Unpacker(const std::string& path, const std::string& bytes) : path_(path), bytes_(bytes) {}
  double Number() {
    double value = 0;
    Need(sizeof value);
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  int64_t Integer() {
    const double value = Number();
    if (!(std::fabs(value) < 0x1p62)) Broken();
    return int64_t(value);
  }
  int64_t Count(int64_t most) {
    const double value = Number();
    if (!(value >= 0 && value <= double(most))) Broken();
    return int64_t(value);
  }
  std::string Text() {
    const auto size = size_t(Count(int64_t(bytes_.size())));
    Need(size);
    std::string text = bytes_.substr(at_, size);
    at_ += size;
    return text;
  }

 private:
  void Need(size_t count) {
    if (bytes_.size() - at_ < count) Broken();
  }
  [[noreturn]] void Broken() const { throw IoError(path_, "the format library's answer was cut short"); }
  const std::string& path_;
  const std::string& bytes_;
  size_t at_ = 0;
};

struct HeaderCloser {
  void operator()(HDRTYPE* hdr) const {
    sclose(hdr);
    destructHDR(hdr);
  }
};

std::string Printable(const char* text) {
  std::string shown = text ? std::string(text).substr(0, kLongestText) : std::string();
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return shown;
}

std::string FormatName(const HDRTYPE& hdr, const AcquisitionHeaderCheck::Facts& facts) {
  if (facts.kind == AcquisitionHeaderCheck::Kind::Gdf) return fmt::format("GDF {:.2f}", double(hdr.VERSION));
  const char* name = facts.kind == AcquisitionHeaderCheck::Kind::Bdf ? "BDF" : "EDF";
  return facts.plus ? fmt::format("{}+{}", name, facts.discontinuous ? "D" : "C") : name;
}

void PackSignal(Packer& out, const CHANNEL_TYPE& channel) {
  const std::string label = Printable(channel.Label);
  out.Text(label);
  out.Text(Printable(PhysDim3(channel.PhysDimCode)));
  const bool voltage = (channel.PhysDimCode & ~kPrefixBits) == kVoltCode;
  out.Number(voltage ? 1 : 0);
  out.Number(voltage ? PhysDimScale(channel.PhysDimCode) * 1e6 : 0.0);
  out.Number(label == "EDF Annotations" || label == "BDF Annotations" ? 1 : 0);
  for (const double value : {double(channel.SPR), double(channel.GDFTYP), double(channel.bi), double(channel.bi8),
                             channel.Cal, channel.Off, channel.DigMin, channel.DigMax})
    out.Number(value);
}

void PackEvents(Packer& out, HDRTYPE* hdr) {
  const size_t count = std::min<size_t>(hdr->EVENT.N, kMostEvents);
  const double rate = hdr->EVENT.SampleRate > 0 ? hdr->EVENT.SampleRate : hdr->SampleRate;
  out.Number(double(count));
  for (size_t n = 0; n < count; ++n) {
    const double seconds = rate > 0 ? double(hdr->EVENT.POS[n]) / rate : 0.0;
    out.Number(std::isfinite(seconds) ? std::round(seconds * 1000.0) : 0.0);
    // An event of a type the file gives no text for is named by its type.
    const std::string text = Printable(GetEventDescription(hdr, n));
    out.Text(text.empty() ? fmt::format("event type {}", hdr->EVENT.TYP[n]) : text);
  }
}

// Runs in the library's process.
std::string ReadWithLibrary(const std::string& path, const AcquisitionHeaderCheck::Facts& facts) {
  const std::string shown = WholeRecordsView::PathFor(path, facts);
  HDRTYPE* fresh = constructHDR(0, 0);
  if (fresh == nullptr) throw IoError(path, "the format library has no memory for the header");
  fresh->FLAG.UCAL = 0;
  fresh->FLAG.OVERFLOWDETECTION = 0;
  const std::unique_ptr<HDRTYPE, HeaderCloser> hdr(sopen(shown.c_str(), "r", fresh));
  if (!hdr) throw IoError(path, "the format library cannot open the file");
  if (biosig_check_error(hdr.get())) {
    const std::unique_ptr<char, decltype(&std::free)> message(biosig_get_errormsg(hdr.get()), &std::free);
    throw IoError(path, "the format library refuses the file: " + Printable(message.get()));
  }
  const enum FileFormat type = hdr->TYPE;
  if (type != EDF && type != BDF && type != GDF && type != GDF1)
    throw IoError(path, fmt::format("the format library reads it as {}, not as EDF, BDF or GDF",
                                    Printable(GetFileTypeString(type))));
  if (!(hdr->SPR > 0 && hdr->SampleRate > 0 && std::isfinite(hdr->SampleRate)))
    throw IoError(path, "the header gives the data records no duration");
  Packer out;
  out.Text(FormatName(*hdr, facts));
  for (const double value : {double(hdr->HeadLen), double(hdr->AS.bpb), double(hdr->NRec),
                             double(hdr->SPR) / hdr->SampleRate, double(hdr->NS)})
    out.Number(value);
  for (int k = 0; k < hdr->NS; ++k) PackSignal(out, hdr->CHANNEL[k]);
  PackEvents(out, hdr.get());
  return std::move(out).Bytes();
}

AcquisitionLayout Unpack(const std::string& path, const std::string& bytes, const AcquisitionHeaderCheck::Facts& facts) {
  Unpacker in(path, bytes);
  AcquisitionLayout layout;
  layout.format = in.Text();
  layout.discontinuous = facts.discontinuous;
  layout.headerBytes = in.Integer();
  layout.recordBytes = in.Integer();
  layout.recordsInHeader = in.Integer();
  layout.recordSeconds = in.Number();
  layout.fileSignals.resize(size_t(in.Count(AcquisitionHeaderCheck::kMostSignals)));
  for (SignalLayout& signal : layout.fileSignals) {
    signal.label = in.Text();
    signal.unit = in.Text();
    signal.voltage = in.Number() != 0;
    signal.unitToMicrovolts = in.Number();
    signal.annotations = in.Number() != 0;
    signal.samplesPerRecord = in.Integer();
    signal.typeCode = int(in.Count(0xFFFF));
    signal.recordByte = in.Integer();
    signal.recordBit = in.Integer();
    signal.scale = in.Number();
    signal.shift = in.Number();
    signal.digitalMin = in.Number();
    signal.digitalMax = in.Number();
  }
  layout.events.resize(size_t(in.Count(int64_t(kMostEvents))));
  for (AcquisitionAnnotation& event : layout.events) {
    event.timeMs = in.Integer();
    event.text = in.Text();
  }
  return layout;
}

}  // namespace

int& AcquisitionFile::TimeoutMs() {
  static int timeout = 30000;
  return timeout;
}

AcquisitionLayout AcquisitionFile::Describe(const std::string& path, const AcquisitionHeaderCheck::Facts& facts) {
  const std::string bytes = LibraryProcess::Run(path, [&] { return ReadWithLibrary(path, facts); }, TimeoutMs());
  return Unpack(path, bytes, facts);
}

int AcquisitionFile::BytesOfType(int typeCode) {
  switch (typeCode) {
    case 1: case 2: return 1;     // int8, uint8
    case 3: case 4: return 2;     // int16, uint16
    case 279: case 535: return 3; // int24, uint24
    case 5: case 6: case 16: return 4;  // int32, uint32, float32
    case 7: case 8: case 17: return 8;  // int64, uint64, float64
    default: return 0;
  }
}

}  // namespace velmora
