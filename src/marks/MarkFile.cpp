#include "marks/MarkFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <new>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "core/Ui.h"
#include "input/MatrixChooser.h"
#include "input/MatrixFile.h"
#include "marks/MarkStore.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

static_assert(std::endian::native == std::endian::little, "the file layouts are read as little-endian");

namespace {

constexpr size_t kMatrixNameOffset = 106;
constexpr size_t kMatrixNameLength = 16;
constexpr size_t kFileInfoOffset = 1898;
constexpr size_t kFileInfoLength = 255;
constexpr size_t kSigLengthOffset = 2164;

template <typename T>
T Get(const uint8_t* bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

template <typename T>
void Put(uint8_t* bytes, size_t offset, T value) {
  std::memcpy(bytes + offset, &value, sizeof value);
}

std::string GetShortString(const std::vector<uint8_t>& block, size_t offset, size_t maxLength) {
  const size_t length = std::min<size_t>(block[offset], maxLength);
  return std::string(reinterpret_cast<const char*>(block.data() + offset + 1), length);
}

void PutShortString(std::vector<uint8_t>& block, size_t offset, size_t maxLength, const std::string& text) {
  const size_t length = std::min(text.size(), maxLength);
  block[offset] = uint8_t(length);
  std::memcpy(block.data() + offset + 1, text.data(), length);
}

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

MarkRecord MarkFile::DecodeRecord(const uint8_t* b) {
  MarkRecord mark;
  mark.Electrode = Get<uint16_t>(b, 0);
  mark.Kind = Get<int16_t>(b, 2);
  mark.Time = Get<int32_t>(b, 4);
  mark.Spare1 = Get<int16_t>(b, 8);
  mark.Spare2 = Get<uint16_t>(b, 10);
  mark.Origin = Get<int16_t>(b, 12);
  mark.Spare3 = Get<uint16_t>(b, 14);
  return mark;
}

void MarkFile::EncodeRecord(const MarkRecord& mark, uint8_t* b) {
  Put<uint16_t>(b, 0, mark.Electrode);
  Put<int16_t>(b, 2, mark.Kind);
  Put<int32_t>(b, 4, mark.Time);
  Put<int16_t>(b, 8, mark.Spare1);
  Put<uint16_t>(b, 10, mark.Spare2);
  Put<int16_t>(b, 12, mark.Origin);
  Put<uint16_t>(b, 14, mark.Spare3);
}

MarkFileContents MarkFile::Parse(const std::string& path, const std::string& bytes) {
  if (bytes.size() < kHeaderSize)
    throw IoError(path, fmt::format("the mark file is cut inside its {}-byte header ({} bytes)", kHeaderSize,
                                    bytes.size()));
  MarkFileContents contents;
  contents.header.assign(bytes.begin(), bytes.begin() + kHeaderSize);
  const int16_t headerSize = Get<int16_t>(contents.header.data(), 2);
  if (headerSize <= 0 || headerSize % int(kRecordSize) != 0)
    throw IoError(path, fmt::format("the mark file gives a header size of {}; it must be a positive multiple of {}",
                                    headerSize, kRecordSize));
  if (size_t(headerSize) > bytes.size())
    throw IoError(path, fmt::format("the mark file gives a header size of {}, beyond its {} bytes", headerSize,
                                    bytes.size()));
  const size_t recordBytes = bytes.size() - size_t(headerSize);
  const size_t count = recordBytes / kRecordSize;
  if (count > size_t(kMaxMarks))
    throw IoError(path, fmt::format("the mark file holds {} marks; at most {} fit in the store", count, kMaxMarks));
  contents.ignoredTrailingBytes = recordBytes % kRecordSize;
  contents.fileInfo = GetShortString(contents.header, kFileInfoOffset, kFileInfoLength);
  contents.records.reserve(count);
  const auto* first = reinterpret_cast<const uint8_t*>(bytes.data()) + headerSize;
  for (size_t n = 0; n < count; ++n) contents.records.push_back(DecodeRecord(first + n * kRecordSize));
  return contents;
}

int64_t MarkFile::MostBytes() { return int64_t(kHeaderSize) + int64_t(kMaxMarks) * int64_t(kRecordSize) + int64_t(kRecordSize) - 1; }

MarkFileContents MarkFile::Read(const std::string& path) {
  ReadableFile file(path);
  file.RefuseLargerThan(MostBytes(), fmt::format("a mark file of at most {} marks", kMaxMarks));
  const std::string bytes = file.ReadAll();
  MarkFileContents contents = Parse(path, bytes);
  contents.stamp = FileStamp::Of(bytes, file.ModifiedNs());
  return contents;
}

std::string MarkFile::Serialize(AnalysisState& s) {
  std::vector<uint8_t>& header = s.MarkHeader;
  header.resize(kHeaderSize, 0);
  header[0] = 0xFF;
  header[1] = 0xFF;
  Put<int16_t>(header.data(), 2, int16_t(kHeaderSize));
  Put<int16_t>(header.data(), 86, int16_t(s.NrChannelsInFile));
  Put<int16_t>(header.data(), 88, int16_t(s.BytesPerSample));
  Put<int16_t>(header.data(), 90, int16_t(s.HeaderWord90));
  Put<int16_t>(header.data(), 104, int16_t(s.HeaderWord104));
  PutShortString(header, kMatrixNameOffset, kMatrixNameLength, FileNameOnly(s.MatrixFileName));
  PutShortString(header, kFileInfoOffset, kFileInfoLength, s.FileInfo);
  Put<int32_t>(header.data(), kSigLengthOffset, s.SigLength);

  std::string bytes(kHeaderSize + size_t(s.MarkCount) * kRecordSize, '\0');
  std::memcpy(bytes.data(), header.data(), kHeaderSize);
  auto* records = reinterpret_cast<uint8_t*>(bytes.data()) + kHeaderSize;
  for (int n = 1; n <= s.MarkCount; ++n) {
    MarkRecord& mark = s.Mark(n);
    mark.SerialNr = int16_t(n);
    EncodeRecord(mark, records + size_t(n - 1) * kRecordSize);
  }
  return bytes;
}

namespace {

// The stamp of what was just written, so that the next save knows the file as it left it.
FileStamp StampOfWritten(const std::string& path, const std::string& bytes) {
  struct stat info {};
  const int64_t modified =
      ::stat(path.c_str(), &info) == 0 ? int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec : 0;
  return FileStamp::Of(bytes, modified);
}

// Two sessions saving one mark file in turn would each drop the marks of the other, and a save
// under waiting edits would have them replayed later onto marks they were not made on.
void RefuseWhileReadOnly(const AnalysisState& s) {
  if (s.MarkFileReadOnly)
    throw IoError(s.MarkFileName, "is open read-only here (another session of the workbench has it open, or the "
                                  "unsaved edits of a session that ended wait beside it); the marks shown here are "
                                  "not written to it");
}

void ConfirmUnchangedOnDisk(const AnalysisState& s, Ui& ui) {
  const FileStamp now = FileStamp::Now(s.MarkFileName);
  // A file removed meanwhile holds nothing a save could lose.
  if (!now.exists || now.SameContent(s.MarkFileStamp)) return;
  const std::string question = fmt::format(
      "{} has been changed on disk since it was read here (by another session or program).\n"
      "Replace it with the marks shown here? Its other marks would be lost.",
      EchoedText::Name(s.MarkFileName));
  if (ui.AskYesNoCancel(question) != Ui::Answer::Yes)
    throw IoError(s.MarkFileName, "was changed on disk since it was read here and has been left as it is");
}

void WriteSettingsBeside(const AnalysisState& s, Ui& ui) {
  try {
    MarkSettingsFile::Write(s);
  } catch (const IoError& error) {
    ui.Error(std::string(error.what()) + "\nThe marks have been saved; only the file of how they were made was not.");
  }
}

}  // namespace

void CreateMarkFile(AnalysisState& s, Ui& ui) {
  // A new recording starts with a clean header; nothing of another recording's file carries over.
  std::fill(s.MarkHeader.begin(), s.MarkHeader.end(), 0);
  const int count = s.MarkCount;
  s.MarkCount = 0;
  const std::string bytes = MarkFile::Serialize(s);
  s.MarkCount = count;
  ui.Log("writing.." + FileNameOnly(s.MatrixFileName));
  WriteFileAtomically(s.MarkFileName, bytes);
  s.MarkFileStamp = StampOfWritten(s.MarkFileName, bytes);
}

void WriteMarkFile(AnalysisState& s, Ui& ui) {
  RefuseWhileReadOnly(s);
  ConfirmUnchangedOnDisk(s, ui);
  const std::string bytes = MarkFile::Serialize(s);
  ui.Log("writing.." + FileNameOnly(s.MatrixFileName));
  WriteFileAtomically(s.MarkFileName, bytes);
  s.MarkFileStamp = StampOfWritten(s.MarkFileName, bytes);
  s.MarksChanged = false;
  WriteSettingsBeside(s, ui);
  ui.Log(fmt::format("NumWritten..{}", s.MarkCount));
  ui.Log("printer=" + s.FileInfo);
  ui.Log("header=" + GetShortString(s.MarkHeader, kFileInfoOffset, kFileInfoLength));
}

void ApplyMarkFile(AnalysisState& s, const MarkFileContents& contents) {
  s.MarkHeader = contents.header;
  s.FileInfo = contents.fileInfo;
  if (!MarkStore::MakeRoom(s, int64_t(contents.records.size()))) throw std::bad_alloc();
  s.MarkCount = int32_t(contents.records.size());
  for (int n = 1; n <= s.MarkCount; ++n) {
    MarkRecord& mark = s.Mark(n);
    mark = contents.records[size_t(n - 1)];
    // The memory-only fields start afresh for every file read.
    mark.SerialNr = int16_t(n);
    mark.Visible = 1;
    mark.Connected = 0;
  }
  s.UndoCount = 0;
  s.WavesStale = true;
  s.MarkingSettings = {};
  // The amplitudes were measured for the marks being replaced; slot n now holds another mark.
  std::fill(s.MarkAmplitudes.begin(), s.MarkAmplitudes.end(), AmplitudeRecord{});
  s.AmplitudesValid = false;
}

void ReadMarkFile(AnalysisState& s, Ui& ui, MatrixChooser* chooser) {
  const MarkFileContents contents = MarkFile::Read(s.MarkFileName);
  ApplyMarkFile(s, contents);
  s.MarkFileStamp = contents.stamp;
  MarkSettingsFile::Read(s, ui);
  ReportIgnoredBytes(s.MarkFileName, contents, ui);
  ui.Log("reading.1." + s.MatrixFileName);
  ui.Log("reading.2." + s.MatrixFileName);
  if (FileExists(s.MatrixFileName)) {
    try {
      LoadNewMatrix(s);
    } catch (const IoError& error) {
      ui.Error(error.what());
    }
  } else if (chooser != nullptr && !s.MatrixFileName.empty()) {
    // A mark file read while no matrix is named keeps the recording's own layout.
    chooser->FindMatrixFor(s.MarkFileName, FileNameOnly(s.MatrixFileName) + " is not found!");
  }
}

void ReportIgnoredBytes(const std::string& path, const MarkFileContents& contents, Ui& ui) {
  if (contents.ignoredTrailingBytes == 0) return;
  ui.Message(fmt::format("{}: the last mark record is cut short; its {} bytes were left out", path,
                         contents.ignoredTrailingBytes));
}

}  // namespace velmora
