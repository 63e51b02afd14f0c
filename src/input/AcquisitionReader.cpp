#include "input/AcquisitionReader.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <filesystem>
#include <new>
#include <thread>

#include <fmt/format.h>

#include "conditioning/FilterRun.h"
#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/AcquisitionFile.h"
#include "input/AcquisitionSamples.h"
#include "input/MatrixChooser.h"
#include "input/MatrixFile.h"
#include "input/RecentFiles.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

namespace {

constexpr int kProgressSteps = 100;
// Beside the store a load holds a block of records, the offsets' samples and their copies.
constexpr int64_t kBytesBesideStore = int64_t(64) << 20;

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Closes the descriptor a load reads through, however the load ends.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string AcquisitionReader::MarkFileNameFor(const std::string& recording) { return recording + ".velmora-marks"; }

AcquisitionReader::Prepared AcquisitionReader::Prepare(const std::string& path) const {
  Prepared p;
  p.path = path;
  ReadableFile file(path, "the recording");
  p.fileSize = file.Size();
  std::string start(size_t(std::min<int64_t>(p.fileSize, 256)), '\0');
  file.ReadBlock(start.data(), start.size());
  const int64_t needed = std::min(AcquisitionHeaderCheck::BytesNeeded(start), p.fileSize);
  if (needed > int64_t(start.size())) {
    start.resize(size_t(needed));
    file.ReadBlock(start.data(), start.size());
  }
  p.facts = AcquisitionHeaderCheck::Check(path, start, p.fileSize);
  p.layout = AcquisitionFile::Describe(path, p.facts);
  p.plan = AcquisitionPlan::Make(path, p.facts, p.layout, p.fileSize);
  return p;
}

void AcquisitionReader::Open(const std::string& path, const RecordingOpenOptions& options) {
  const Prepared p = Prepare(path);
  SignalStore::CheckFits(state_, path, p.plan.rows, kBytesBesideStore);
  const std::string markFile = MarkFileNameFor(path);
  RemoveStaleTemporaries(markFile);
  std::optional<MarkFileContents> marks;
  if (AnythingAt(markFile)) marks = MarkFile::Read(markFile);
  // From here on nothing can fail that would leave a half-loaded recording but the reading.
  LoadMatrixForRecording();
  Commit(p, markFile, marks);
  LoadSamples(p);
  TellWarnings(p);
  WriteBesideFiles(!marks, options);
}

void AcquisitionReader::Reload() {
  const Prepared p = Prepare(state_.ElgFileName);
  SignalStore::CheckFits(state_, p.path, p.plan.rows, kBytesBesideStore);
  state_.SamplingF = p.plan.rateHz;
  state_.SamplingFChanged = p.plan.rateHz != 1000;
  state_.SigLength = int32_t(RoundHalfEven(double(p.plan.rows) * 1000.0 / p.plan.rateHz));
  // The file may have changed since it was opened: what it holds now is described.
  state_.Acquisition.fileSignals = p.plan.fileSignals;
  state_.Acquisition.annotations = p.layout.events;
  state_.Acquisition.records = p.plan.records;
  LoadSamples(p);
}

// The matrix chosen last places the channels; without one the user may pick one, and
// cancelling keeps the grid in use.
void AcquisitionReader::LoadMatrixForRecording() {
  AnalysisState& s = state_;
  const std::string inUse = s.MatrixFileName;
  s.MatrixFileName = s.DefaultMatrixFileName;
  MatrixChooser chooser(s, ui_, root_);
  if (FileExists(s.MatrixFileName)) {
    try {
      LoadNewMatrix(s);
      return;
    } catch (const IoError& error) {
      ui_.Beep();
      ui_.Error(error.what());
    }
  } else {
    ui_.Beep();
    ui_.Message(s.MatrixFileName + " is not found!");
  }
  if (!chooser.ChangeNewMatrixfile()) s.MatrixFileName = inUse;
}

void AcquisitionReader::Commit(const Prepared& p, const std::string& markFile,
                               const std::optional<MarkFileContents>& marks) {
  AnalysisState& s = state_;
  s.ElgFileName = p.path;
  s.ElgFileExt = std::filesystem::path(p.path).extension().string();
  s.InputFileKind = kKind;
  s.FileLoaded = true;
  s.NrChannelsInFile = int32_t(p.layout.fileSignals.size());
  s.BytesPerSample = AcquisitionFile::BytesOfType(p.layout.fileSignals[size_t(p.plan.electrodes.front())].typeCode);
  s.FrameSize = s.NrChannelsInFile * s.BytesPerSample;
  s.HeaderFrames = 0;
  s.HeaderRecords16 = int32_t(std::min<int64_t>(p.layout.headerBytes / 16, INT32_MAX));
  s.HeaderWord90 = s.HeaderWord104 = 0;
  s.NrOfFramesinFile = int32_t(p.plan.rows);
  s.SamplingF = p.plan.rateHz;
  s.SamplingFChanged = p.plan.rateHz != 1000;
  s.SigLength = int32_t(RoundHalfEven(double(p.plan.rows) * 1000.0 / p.plan.rateHz));
  s.Acquisition = {};
  s.Acquisition.format = p.layout.format;
  s.Acquisition.rateHz = p.plan.rateHz;
  s.Acquisition.records = p.plan.records;
  s.Acquisition.recordSeconds = p.layout.recordSeconds;
  s.Acquisition.fileSignals = p.plan.fileSignals;
  s.Acquisition.annotations = p.layout.events;
  s.MarkFileName = markFile;
  if (marks) {
    ApplyMarkFile(s, *marks);
    MarkSettingsFile::Read(s, ui_);
    ReportIgnoredBytes(s.MarkFileName, *marks, ui_);
  } else {
    ApplyMarkFile(s, MarkFileContents{std::vector<uint8_t>(MarkFile::kHeaderSize, 0), "", {}, 0});
  }
  s.MarkFileStamp = marks ? marks->stamp : FileStamp{};
  s.SmoothedOnLoad = false;
  s.MarksChanged = false;
}

void AcquisitionReader::LoadSamples(const Prepared& p) {
  AnalysisState& s = state_;
  ui_.ShowProgress({FileNameOnly(p.path), FileNameOnly(s.MatrixFileName), kProgressSteps});
  ui_.SetProgressText("Reading electrograms ...");
  try {
    SignalStore::Resize(s, int(p.plan.rows));
    ReadableFile file(p.path, "the recording");
    const Descriptor descriptor{file.Release()};
    const AcquisitionSamples samples(descriptor.fd, p.path, p.layout, p.plan);
    const std::vector<int32_t> offsets = samples.Medians();
    const std::vector<AcquisitionSamples::Clipping> clipping = FillStore(samples, offsets, p.plan.records);
    for (size_t e = 0; e < p.plan.electrodes.size(); ++e) {
      AcquisitionSignal& signal = s.Acquisition.fileSignals[size_t(p.plan.electrodes[e])];
      signal.offsetUv = offsets[e];
      signal.clippedSamples = clipping[e].samples;
      signal.mostClippedUv = clipping[e].most;
    }
    s.SignalRowsTouched = int(p.plan.rows);
    s.SignalsChanged();
    FilterRun(s, ui_).Run();
  } catch (const IoError&) {
    ui_.HideProgress();
    Unload();
    throw;
  } catch (const std::bad_alloc&) {
    ui_.HideProgress();
    Unload();
    throw IoError(p.path, fmt::format("the store of {} samples per channel could not be had: memory ran short",
                                      p.plan.rows));
  } catch (const Cancelled&) {
    ui_.HideProgress();
    throw;
  }
  ui_.HideProgress();
}

// Two threads read a half of the records each; the first shows the progress and takes the
// cancel, which stops the second too.
std::vector<AcquisitionSamples::Clipping> AcquisitionReader::FillStore(const AcquisitionSamples& samples,
                                                                       const std::vector<int32_t>& offsets,
                                                                       int64_t records) {
  int32_t* store = state_.Signals.data();
  const int64_t half = records >= 2 * samples.RecordsPerBlock() ? records / 2 : records;
  std::atomic<bool> stop{false};
  std::exception_ptr secondFailed;
  std::vector<AcquisitionSamples::Clipping> secondClipping;
  std::thread second;
  if (half < records) {
    second = std::thread([&] {
      try {
        secondClipping = samples.Fill(store, offsets, half, records, [&](int64_t) { return !stop.load(); });
      } catch (...) {
        secondFailed = std::current_exception();
      }
    });
  }
  int shown = 0;
  bool cancelled = false;
  std::vector<AcquisitionSamples::Clipping> clipping;
  try {
    clipping = samples.Fill(store, offsets, 0, half, [&](int64_t done) {
      for (const int step = int(done * kProgressSteps / std::max<int64_t>(half, 1)); shown < step; ++shown)
        ui_.StepProgress();
      ui_.ProcessEvents();
      cancelled = ui_.CancelRequested();
      return !cancelled;
    });
  } catch (...) {
    stop = true;
    if (second.joinable()) second.join();
    throw;
  }
  stop = cancelled;
  if (second.joinable()) second.join();
  if (cancelled) throw Cancelled("loading " + state_.ElgFileName);
  if (secondFailed) std::rethrow_exception(secondFailed);
  for (size_t e = 0; e < secondClipping.size(); ++e) {
    clipping[e].samples += secondClipping[e].samples;
    clipping[e].most = std::max(clipping[e].most, secondClipping[e].most);
  }
  return clipping;
}

void AcquisitionReader::TellWarnings(const Prepared& p) {
  std::vector<std::string> lines = p.plan.warnings;
  for (const AcquisitionSignal& signal : state_.Acquisition.fileSignals)
    if (signal.clippedSamples > 0)
      lines.push_back(fmt::format("signal {} ({}): {} samples lay beyond what the store holds and were clipped, by up "
                                  "to {} uV",
                                  signal.number, signal.label, signal.clippedSamples, signal.mostClippedUv));
  if (lines.empty()) return;
  std::string text = p.path + ":";
  for (const std::string& line : lines) {
    text += "\n" + line;
    ui_.Log(line);
  }
  ui_.Message(text);
}

void AcquisitionReader::WriteBesideFiles(bool markFileMissing, const RecordingOpenOptions& options) {
  if (markFileMissing && options.createMissingMarkFile) {
    try {
      CreateMarkFile(state_, ui_);
    } catch (const IoError& error) {
      ui_.Error(error.what());
    }
  }
  if (!options.updateRecentFiles) return;
  RecentFiles::Push(state_, std::to_string(kKind), state_.ElgFileName);
  try {
    RecentFiles::Write(state_, root_.RecentFilesPath());
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

void AcquisitionReader::Unload() { SignalStore::Unload(state_); }

}  // namespace velmora
