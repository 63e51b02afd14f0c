#include "input/E00Reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "input/MatrixChooser.h"
#include "input/MatrixFile.h"
#include "input/RecentFiles.h"

namespace velmora {

namespace {

constexpr int kGroupColumns = 16;  // channels converted together, one cache line of the store

void ReadExactly(int fd, char* into, size_t bytes, int64_t offset, const std::string& path) {
  while (bytes > 0) {
    const ssize_t n = ::pread(fd, into, bytes, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw IoError(path, n < 0 ? std::string("frames cannot be read: ") + std::strerror(errno)
                                          : std::string("the recording ended while its frames were read"));
    into += n;
    bytes -= size_t(n);
    offset += n;
  }
}

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

E00Reader::E00Reader(AnalysisState& state, Ui& ui, const DataRoot& root)
    : state_(state), ui_(ui), root_(root), frameBuf_(size_t(kFrameBufferFrames) * kChannels, 0) {}

std::string E00Reader::ExtensionOf(const std::string& path) {
  return std::filesystem::path(path).extension().string();
}

std::string E00Reader::MarkFileNameFor(const std::string& recording) {
  const std::string extension = ExtensionOf(recording);
  if (extension.size() < 2) return recording + ".M00";
  std::string markFile = recording;
  char& letter = markFile[recording.size() - extension.size() + 1];
  const bool lower = letter >= 'a' && letter <= 'z';
  letter = lower ? 'm' : 'M';
  if (markFile == recording)
    throw IoError(recording, "the recording's mark file would be the recording itself (its extension starts with M)");
  return markFile;
}

void E00Reader::Open(const std::string& path, const RecordingOpenOptions& options) {
  OpenNewElgFile(path, options);
  LoadAllElectrograms();
}

void E00Reader::OpenNewElgFile(const std::string& path, const RecordingOpenOptions& options) {
  const E00Header header = E00Header::Read(path);
  const std::string markFile = MarkFileNameFor(path);
  ReadFrames(path, header);
  std::optional<MarkFileContents> marks;
  if (FileExists(markFile)) marks = MarkFile::Parse(markFile, ReadWholeFile(markFile));
  // From here on nothing can fail that would leave a half-loaded recording.
  LoadMatrixForRecording();
  Commit(path, header, markFile, marks, options);
  TellAboutCuts(path, header);
}

void E00Reader::ReadFrames(const std::string& path, const E00Header& h) {
  channels_ = h.channels;
  // The first whole frame after the header records is skipped; frame 0 is the one after it.
  const int64_t readable = h.framesInFile - 1;
  framesRead_ = std::min<int64_t>(readable, kFrameBufferFrames);
  rowsToFill_ = int(std::min<int64_t>(h.framesInFile - kSmoothingWidth, kSignalRows));
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw IoError(path, std::string("the recording cannot be opened: ") + std::strerror(errno));
  try {
    const int64_t offset = int64_t(h.headerFrames + 1) * h.frameSize;
    ReadExactly(fd, reinterpret_cast<char*>(frameBuf_.data()), size_t(framesRead_) * size_t(h.frameSize), offset,
                path);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  // The mean of the last row looks one frame past the frames in the file; that frame is 0.
  if (framesRead_ < kFrameBufferFrames)
    std::fill_n(frameBuf_.begin() + framesRead_ * channels_, channels_, int16_t(0));
}

void E00Reader::LoadMatrixForRecording() {
  AnalysisState& s = state_;
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
    ui_.Message(s.MatrixFileName + " is not found! (newE00)");
  }
  // Without a usable matrix the user may pick one; cancelling keeps the grid as it was.
  chooser.ChangeNewMatrixfile();
}

void E00Reader::Commit(const std::string& path, const E00Header& h, const std::string& markFile,
                       const std::optional<MarkFileContents>& marks, const RecordingOpenOptions& options) {
  AnalysisState& s = state_;
  s.ElgFileName = path;
  s.ElgFileExt = ExtensionOf(path);
  s.InputFileKind = 2;
  s.FileLoaded = true;
  s.NrChannelsInFile = h.channels;
  s.BytesPerSample = h.bytesPerSample;
  s.FrameSize = h.frameSize;
  s.HeaderFrames = h.headerFrames;
  s.HeaderRecords16 = h.headerLength / 16;
  s.HeaderWord90 = h.word90;
  s.HeaderWord104 = h.word104;
  s.NrOfFramesinFile = int32_t(std::min<int64_t>(h.framesInFile, INT32_MAX));
  ui_.Log(fmt::format("NrOfFramesinFile={}", s.NrOfFramesinFile));
  // The signal is as long as the rows the load fills, so nothing reads rows it left empty.
  s.SigLength = rowsToFill_;
  s.MarkFileName = markFile;
  BindMarks(marks, options);
  if (options.updateRecentFiles) UpdateRecentFiles(path);
}

void E00Reader::BindMarks(const std::optional<MarkFileContents>& marks, const RecordingOpenOptions& options) {
  AnalysisState& s = state_;
  if (marks) {
    ApplyMarkFile(s, *marks);
    ReportIgnoredBytes(s.MarkFileName, *marks, ui_);
    ui_.Log("reading.1." + s.MatrixFileName);
    ui_.Log("reading.2." + s.MatrixFileName);
  } else {
    ApplyMarkFile(s, MarkFileContents{std::vector<uint8_t>(MarkFile::kHeaderSize, 0), "", {}, 0});
    if (options.createMissingMarkFile) {
      try {
        CreateMarkFile(s, ui_);
      } catch (const IoError& error) {
        ui_.Error(error.what());
      }
    }
  }
  s.MarksChanged = false;
}

void E00Reader::UpdateRecentFiles(const std::string& path) {
  RecentFiles::Push(state_, "1", path);
  try {
    RecentFiles::Write(state_, root_.RecentFilesPath());
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

void E00Reader::TellAboutCuts(const std::string& path, const E00Header& h) {
  if (h.trailingBytes > 0)
    ui_.Message(fmt::format("{}: the last frame is cut short; its {} bytes were left out", path, h.trailingBytes));
  if (h.framesInFile - kSmoothingWidth > kSignalRows)
    ui_.Message(fmt::format("{}: the recording holds {} frames; only the first {} samples fit and were loaded", path,
                            h.framesInFile, kSignalRows));
}

void E00Reader::LoadAllElectrograms() {
  AnalysisState& s = state_;
  const bool smooth = s.SmoothElectrograms;
  ui_.ShowProgress({FileNameOnly(s.ElgFileName), FileNameOnly(s.MatrixFileName), kChannels});
  ui_.SetProgressText(smooth ? "Smoothing electrograms ..." : "Reading electrograms ...");
  for (int first = 0; first < kChannels; first += kGroupColumns) {
    for (int c = first + 1; c <= first + kGroupColumns; ++c) {
      ui_.SetProgressText(fmt::format("{} electrogram nr = {}", smooth ? "Smoothing" : "Reading", c));
      ui_.StepProgress();
    }
    ui_.ProcessEvents();
    const int columns = std::clamp(channels_ - first, 0, kGroupColumns);
    if (smooth) {
      SmoothChannelGroup(first, columns);
    } else {
      CopyChannelGroup(first, columns);
    }
  }
  ClearRowsBeyond(rowsToFill_);
  ui_.HideProgress();
}

void E00Reader::CopyChannelGroup(int first, int columns) {
  const size_t stride = size_t(channels_);
  for (int r = 0; r < rowsToFill_; ++r) {
    const int16_t* frame = frameBuf_.data() + size_t(r) * stride + size_t(first);
    int32_t* row = &state_.Signal(r, first);
    for (int c = 0; c < columns; ++c) row[c] = frame[c];
    for (int c = columns; c < kGroupColumns; ++c) row[c] = 0;  // no such channel in the file
  }
}

void E00Reader::SmoothChannelGroup(int first, int columns) {
  const size_t stride = size_t(channels_);
  int32_t sums[kGroupColumns] = {};
  // Row r is the mean of frames r + 1 .. r + 20; the sums slide one frame per row.
  for (int k = 1; k <= kSmoothingWidth; ++k) {
    const int16_t* frame = frameBuf_.data() + size_t(k) * stride + size_t(first);
    for (int c = 0; c < columns; ++c) sums[c] += frame[c];
  }
  for (int r = 0; r < rowsToFill_; ++r) {
    int32_t* row = &state_.Signal(r, first);
    for (int c = 0; c < columns; ++c) row[c] = RoundedMean(sums[c], kSmoothingWidth);
    for (int c = columns; c < kGroupColumns; ++c) row[c] = 0;
    if (r + 1 == rowsToFill_) break;
    const int16_t* leaving = frameBuf_.data() + size_t(r + 1) * stride + size_t(first);
    const int16_t* entering = frameBuf_.data() + size_t(r + 1 + kSmoothingWidth) * stride + size_t(first);
    for (int c = 0; c < columns; ++c) sums[c] += entering[c] - leaving[c];
  }
}

void E00Reader::ClearRowsBeyond(int rows) {
  if (state_.SignalRowsTouched > rows)
    std::fill(state_.Signals.begin() + ptrdiff_t(rows) * kChannels,
              state_.Signals.begin() + ptrdiff_t(state_.SignalRowsTouched) * kChannels, 0);
  state_.SignalRowsTouched = rows;
}

}  // namespace velmora
