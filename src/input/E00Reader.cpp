#include "input/E00Reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/MatrixChooser.h"
#include "input/MatrixFile.h"
#include "input/RecentFiles.h"
#include "input/RowConversion.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

namespace {

// The load shows its progress once per channel, in 16 blocks of rows of 16 channel steps.
constexpr int kProgressBlocks = 16;
constexpr int kChannelsPerBlock = kChannels / kProgressBlocks;


std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

E00Reader::E00Reader(AnalysisState& state, Ui& ui, const DataRoot& root) : state_(state), ui_(ui), root_(root) {}

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
  OpenNewElgFile(path);
  LoadAllElectrograms();
  WriteBesideFiles(options);
}

void E00Reader::OpenNewElgFile(const std::string& path) {
  const E00Header header = E00Header::Read(path);
  const int64_t rows = std::max<int64_t>(header.framesInFile - kSmoothingWidth, 0);
  if (rows > INT32_MAX - kSmoothingWidth)
    throw IoError(path, fmt::format("the recording holds {} frames; at most {} can be loaded", header.framesInFile,
                                    INT32_MAX));
  SignalStore::CheckFits(state_, path, rows);
  const std::string markFile = MarkFileNameFor(path);
  RemoveStaleTemporaries(markFile);
  std::optional<MarkFileContents> marks;
  if (AnythingAt(markFile)) marks = MarkFile::Read(markFile);
  // From here on nothing can fail that would leave a half-loaded recording.
  LoadMatrixForRecording(path);
  // The first whole frame after the header records is skipped; frame 0 is the one after it.
  path_ = path;
  channels_ = header.channels;
  framesOffset_ = int64_t(header.headerFrames + 1) * header.frameSize;
  readableFrames_ = header.framesInFile - 1;
  rowsToFill_ = int(rows);
  Commit(path, header, markFile, marks);
  TellAboutCutFrame(path, header);
}

void E00Reader::LoadMatrixForRecording(const std::string& path) {
  AnalysisState& s = state_;
  const std::string inUse = s.MatrixFileName;
  s.MatrixFileName = s.DefaultMatrixFileName;
  MatrixChooser chooser(s, ui_, root_);
  std::optional<std::string> problem;
  if (FileExists(s.MatrixFileName)) {
    try {
      LoadNewMatrix(s);
      return;
    } catch (const IoError& error) {
      ui_.Error(error.what());  // said here; the offer that follows beeps
    }
  } else {
    problem = s.MatrixFileName.empty() ? MatrixChooser::kNoMatrixChosen : s.MatrixFileName + " is not found! (newE00)";
  }
  // Without a usable matrix one beside the recording is offered, or the user may pick one;
  // cancelling keeps the matrix in use, grid and name alike, so the mark file names the grid
  // the recording is shown on.
  if (!chooser.FindMatrixFor(path, problem)) s.MatrixFileName = inUse;
}

void E00Reader::Commit(const std::string& path, const E00Header& h, const std::string& markFile,
                       const std::optional<MarkFileContents>& marks) {
  AnalysisState& s = state_;
  s.ElgFileName = path;
  s.ElgFileExt = ExtensionOf(path);
  s.InputFileKind = 2;
  s.FileLoaded = true;
  // An E00 recording holds one frame per millisecond, whatever rate a text import set before.
  s.SamplingF = kE00SamplingF;
  s.SamplingFChanged = false;
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
  BindMarks(marks);
}

void E00Reader::BindMarks(const std::optional<MarkFileContents>& marks) {
  AnalysisState& s = state_;
  if (marks) {
    ApplyMarkFile(s, *marks);
    MarkSettingsFile::Read(s, ui_);
    ReportIgnoredBytes(s.MarkFileName, *marks, ui_);
    ui_.Log("reading.1." + s.MatrixFileName);
    ui_.Log("reading.2." + s.MatrixFileName);
  } else {
    ApplyMarkFile(s, MarkFileContents{std::vector<uint8_t>(MarkFile::kHeaderSize, 0), "", {}, 0});
  }
  markFileMissing_ = !marks;
  s.MarkFileStamp = marks ? marks->stamp : FileStamp{};
  s.MarksChanged = false;
}

void E00Reader::WriteBesideFiles(const RecordingOpenOptions& options) {
  if (markFileMissing_ && options.createMissingMarkFile) {
    try {
      CreateMarkFile(state_, ui_);
    } catch (const IoError& error) {
      ui_.Error(error.what());
    }
  }
  if (options.updateRecentFiles) UpdateRecentFiles(state_.ElgFileName);
}

void E00Reader::UpdateRecentFiles(const std::string& path) {
  RecentFiles::Push(state_, "1", path);
  try {
    RecentFiles::Write(state_, root_.RecentFilesPath());
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

void E00Reader::TellAboutCutFrame(const std::string& path, const E00Header& h) {
  if (h.trailingBytes > 0)
    ui_.Message(fmt::format("{}: the last frame is cut short; its {} bytes were left out", path, h.trailingBytes));
}

void E00Reader::LoadAllElectrograms() {
  AnalysisState& s = state_;
  const bool smooth = s.SmoothElectrograms;
  ui_.ShowProgress({FileNameOnly(s.ElgFileName), FileNameOnly(s.MatrixFileName), kChannels});
  ui_.SetProgressText(smooth ? "Smoothing electrograms ..." : "Reading electrograms ...");
  try {
    SignalStore::Resize(s, rowsToFill_);
    frames_.Start(path_, framesOffset_, channels_, readableFrames_);
    int32_t sums[kChannels] = {};
    // Row r is the mean of frames r + 1 .. r + 20; the sums slide one frame per row.
    for (int k = 1; smooth && k <= kSmoothingWidth; ++k) {
      const int16_t* frame = frames_.Frame(k);
      for (int c = 0; c < channels_; ++c) sums[c] += frame[c];
    }
    for (int block = 0; block < kProgressBlocks; ++block) {
      ShowProgressBlock(block, smooth);
      const int first = int(int64_t(rowsToFill_) * block / kProgressBlocks);
      const int end = int(int64_t(rowsToFill_) * (block + 1) / kProgressBlocks);
      if (smooth) {
        SmoothRows(first, end, sums);
      } else {
        CopyRows(first, end);
      }
    }
    frames_.Close();
    RowConversion::Finish();
    // Row r holds the mean of frames r + 1 .. r + 20, where raw it holds frame r: sample
    // r + 1 stands for samples r + 2 .. r + 21, centred 10.5 samples after it.
    if (smooth) state_.SignalLookAhead = (kSmoothingWidth + 1) / 2.0;
    state_.SmoothedOnLoad = smooth;
    state_.SignalsChanged();  // rows were written through pointers into the store
  } catch (const IoError&) {
    RowConversion::Finish();
    frames_.Close();
    ui_.HideProgress();
    Unload();
    throw;
  } catch (const std::bad_alloc&) {
    // The memory was there when the file was checked and has gone since.
    ui_.HideProgress();
    Unload();
    throw IoError(path_, fmt::format("the store of {} samples per channel could not be had: memory ran short",
                                     rowsToFill_));
  } catch (const Cancelled&) {
    RowConversion::Finish();
    frames_.Close();
    ui_.HideProgress();
    throw;
  }
  ClearRowsBeyond(state_, rowsToFill_);
  ui_.HideProgress();
}

void E00Reader::ShowProgressBlock(int block, bool smooth) {
  for (int c = block * kChannelsPerBlock + 1; c <= (block + 1) * kChannelsPerBlock; ++c) {
    ui_.SetProgressText(fmt::format("{} electrogram nr = {}", smooth ? "Smoothing" : "Reading", c));
    ui_.StepProgress();
  }
  ui_.ProcessEvents();
  if (ui_.CancelRequested()) throw Cancelled("loading " + path_);
}

void E00Reader::CopyRows(int first, int end) {
  for (int r = first; r < end; ++r) RowConversion::CopyRow(frames_.Frame(r), channels_, &state_.Signal(r, 0));
}

void E00Reader::SmoothRows(int first, int end, int32_t* sums) {
  for (int r = first; r < end; ++r) {
    // Ask for the entering frame first: reading it may move the buffer, never past the leaving one.
    const int16_t* entering = frames_.Frame(r + 1 + kSmoothingWidth);
    const int16_t* leaving = frames_.Frame(r + 1);
    RowConversion::SmoothRow(sums, entering, leaving, channels_, &state_.Signal(r, 0));
  }
}

void E00Reader::Unload() { SignalStore::Unload(state_); }

void E00Reader::ClearRowsBeyond(AnalysisState& state, int rows) {
  if (state.SignalRowsTouched > rows) {
    std::fill(state.Signals.begin() + ptrdiff_t(rows) * kChannels,
              state.Signals.begin() + ptrdiff_t(state.SignalRowsTouched) * kChannels, 0);
    state.SignalsChanged();
  }
  state.SignalRowsTouched = rows;
}

}  // namespace velmora
