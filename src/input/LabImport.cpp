#include "input/LabImport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include <fmt/format.h>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/ReadableFile.h"
#include "core/DataRoot.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/AucklandHeader.h"
#include "input/TextLines.h"
#include "marks/MarkSaving.h"

namespace velmora {

namespace {

constexpr int kLabHeaderLines = 3;

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// A panel field's integer, or nothing after an error that names the field.
std::optional<int> FieldInteger(Ui& ui, const char* field, const std::string& text) {
  const std::optional<int32_t> value = ValuePrompt::ParseInteger(text);
  if (!value) {
    ui.Beep();
    ui.Error(fmt::format("{}: '{}' is not a valid integer value", field, EchoedText::Token(text)));
  }
  return value;
}

// A header written on the acquisition machine names the matrix in its fixed folders; those
// folders are the data root's here.
std::string MatrixPathOnThisMachine(const std::string& written, const DataRoot& root) {
  std::string path = written;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  for (const auto& [folder, local] : {std::pair{std::string("c:/mynewmatrix/"), root.NewMatrixFolder()},
                                      std::pair{std::string("c:/mymatrix/"), root.MatrixFolder()}}) {
    if (lower.rfind(folder, 0) == 0) return local + "/" + path.substr(folder.size());
  }
  return written;
}

bool Refuse(Ui& ui, const std::string& problem) {
  ui.Beep();
  ui.Error(problem);
  return false;
}

}  // namespace

LabImport::PanelValues LabImport::PanelDefaults(int kind) {
  return {"0", "0", "0", kind == kManchester ? "NewOstrand64.txt" : "NewE48.txt"};
}

std::string LabImport::TooManySamplesWarning() { return "WARNING *** There are too many samples in this file ***"; }

std::string LabImport::TruncationWarning(int maxSamples) {
  return fmt::format("*** The file will be truncated to {} samples ***", maxSamples);
}

void LabImport::LoadImportFile(int kind, const std::string& path) {
  AnalysisState& s = state_;
  s.ImportKind = kind;
  if (kind == kNashville) s.NashvilleFileName = path;
  if (kind == kAuckland) s.AucklandFileName = path;
  if (kind == kManchester) s.ManchesterFileName = path;
}

ImportPanel LabImport::ShowImportPanel() {
  switch (state_.ImportKind) {
    case kNashville: return SetupNashvillePanel();
    case kAuckland: return ReadAucklandHeader();
    case kManchester: return SetupManchesterPanel();
    default: return {};
  }
}

ImportPanel LabImport::PanelOf(int kind, const std::string& layout, const std::string& path) const {
  ImportPanel panel;
  panel.kind = kind;
  panel.layoutLabel = layout;
  panel.fileNameLabel = FileNameOnly(path);
  panel.maxSamplesLabel = fmt::format("Maximum number of samples = {}", state_.MaxSamples);
  return panel;
}

ImportPanel LabImport::SetupNashvillePanel() {
  return SetupEditPanel(kNashville, "Nashville Text File format", state_.NashvilleFileName, 48, 30);
}

ImportPanel LabImport::SetupManchesterPanel() {
  return SetupEditPanel(kManchester, "Manchester Text File format", state_.ManchesterFileName, 64, 1000);
}

// The set-up offers the layout's usual channel count and rate in the edits.
ImportPanel LabImport::SetupEditPanel(int kind, const std::string& layout, const std::string& path, int channels,
                                      int samplingRate) {
  ImportPanel panel = PanelOf(kind, layout, path);
  channels_ = channels;
  samplingRate_ = samplingRate;
  panel.channelsEdit = std::to_string(channels);
  panel.rateEdit = std::to_string(samplingRate);
  return panel;
}

ImportPanel LabImport::ReadAucklandHeader() {
  AnalysisState& s = state_;
  const std::string& path = s.AucklandFileName;
  const AucklandHeader header =
      AucklandHeader::Read(path, ReadableFile(path).ReadLines(AucklandHeader::kDescribedLines, TextLines::kMostLineBytes));
  ImportPanel panel = PanelOf(kAuckland, "Auckland Text File format", path);
  panel.headerValues = {std::to_string(header.headerLines), std::to_string(header.channels),
                        std::to_string(header.samples),     fmt::format("{}", header.samplingRateAsWritten),
                        fmt::format("{}", header.calibration), header.matrixFileName,
                        header.comments};
  const char* memoNames[] = {"NrHeaderlines=", "NrChannels=", "NrSamples=", "SamplingRate=",
                             "AucklandCalibration=", "MatrixFileName=", "Comments="};
  for (size_t line = 0; line < panel.headerValues.size(); ++line) ui_.Log(memoNames[line] + panel.headerValues[line]);
  s.AucklandHeaderLines = header.headerLines;
  s.AucklandCalibration = header.calibration;
  s.AucklandComments = header.comments;
  s.ImportNrSamples = header.samples;
  channels_ = header.channels;
  samplingRate_ = header.samplingRate;
  matrixFileName_ = MatrixPathOnThisMachine(header.matrixFileName, root_);
  ApplyTruncation(panel);
  return panel;
}

// More samples than the import allows or memory holds: the panel warns, and only the first
// rows are read.
int LabImport::RowLimit() const { return int(std::min<int64_t>(state_.MaxSamples, SignalStore::LargestRows(state_))); }

void LabImport::ApplyTruncation(ImportPanel& panel) {
  AnalysisState& s = state_;
  const int limit = RowLimit();
  if (s.ImportNrSamples <= limit) return;
  ui_.Beep();
  panel.warning1 = TooManySamplesWarning();
  panel.warning2 = TruncationWarning(limit);
  s.ImportNrSamples = limit;
}

bool LabImport::TakePanelValues(const PanelValues& values, ImportPanel& panel) {
  const auto channels = FieldInteger(ui_, "Nr Channels", values.channels);
  if (!channels) return false;
  // The panel starts at 0 samples: 0, or nothing at all, reads the whole file.
  const bool wholeFile = ValuePrompt::ParseInteger(values.samples).value_or(-1) == 0 ||
                         values.samples.find_first_not_of(" \t") == std::string::npos;
  const auto samples = wholeFile ? std::optional<int>(0) : FieldInteger(ui_, "Nr Samples", values.samples);
  if (!samples) return false;
  const auto rate = FieldInteger(ui_, "Sampling rate", values.rate);
  if (!rate) return false;
  if (*channels < 1 || *channels > kChannels)
    return Refuse(ui_, fmt::format("Nr Channels: {} channels cannot be read; give 1 to {}", *channels, kChannels));
  if (*samples < 0)
    return Refuse(ui_, fmt::format("Nr Samples: {} samples cannot be read; give 1 or more, or 0 for the whole file",
                                   *samples));
  if (*rate < 1) return Refuse(ui_, fmt::format("Sampling rate: a rate of {} Hz cannot be used; give 1 Hz or more", *rate));
  if (values.matrixName.empty()) return Refuse(ui_, "Matrix file name: give the name of a matrix file");
  channels_ = *channels;
  samplingRate_ = *rate;
  countAsked_ = !wholeFile;
  state_.ImportNrSamples = wholeFile ? int32_t(RowLimit()) : *samples;
  matrixFileName_ = root_.NewMatrixFolder() + "/" + values.matrixName;
  ApplyTruncation(panel);
  return true;
}

bool LabImport::ReadAucklandData() {
  return ReadSamples(LabTextReader::Layout::Auckland, state_.AucklandFileName, state_.AucklandHeaderLines);
}

bool LabImport::ReadManchesterData() {
  return ReadSamples(LabTextReader::Layout::Manchester, state_.ManchesterFileName, kLabHeaderLines);
}

bool LabImport::ReadNashvilleData() {
  return ReadSamples(LabTextReader::Layout::Nashville, state_.NashvilleFileName, kLabHeaderLines);
}

bool LabImport::ReadData() {
  switch (state_.ImportKind) {
    case kNashville: return ReadNashvilleData();
    case kAuckland: return ReadAucklandData();
    case kManchester: return ReadManchesterData();
    default: return false;
  }
}

bool LabImport::Import(int kind, const std::string& path, const PanelValues& values) {
  LoadImportFile(kind, path);
  try {
    ImportPanel panel = ShowImportPanel();
    if (kind != kAuckland && !TakePanelValues(values, panel)) return false;
  } catch (const IoError& error) {
    return Refuse(ui_, error.what());
  }
  return ReadData();
}

bool LabImport::ReadSamples(LabTextReader::Layout layout, const std::string& path, int headerLines) {
  AnalysisState& s = state_;
  if (channels_ < 1 || samplingRate_ < 1 || s.ImportNrSamples < 1)
    return Refuse(ui_, path + ": the import panel has not been confirmed; nothing was read");
  if (!MarkSaving::SaveAlert(s, ui_)) return false;
  if (marksSettled_) marksSettled_();
  const LabTextReader::Request request{layout, channels_, s.ImportNrSamples, headerLines};
  try {
    // A layout of a row per line is read only as far as the rows asked for; the Auckland
    // stream, whose line ends mean nothing, is read whole.
    ReadableFile::Bytes whole;
    std::string lines;
    std::string_view text;
    if (layout == LabTextReader::Layout::Auckland) {
      whole = ReadableFile(path).ReadAllBytes();
      text = whole.View();
    } else {
      lines = ReadableFile(path).ReadLines(int64_t(headerLines) + request.rows, TextLines::kMostLineBytes);
      text = lines;
    }
    ui_.ShowProgress({FileNameOnly(path), FileNameOnly(matrixFileName_),
                      request.rows / LabTextReader::kRowsPerProgressStep});
    TextSamples samples;
    try {
      samples = LabTextReader::Parse(path, text, request, ui_);
    } catch (...) {
      ui_.HideProgress();
      throw;
    }
    ui_.HideProgress();
    Commit(path, samples);
  } catch (const IoError& error) {
    return Refuse(ui_, error.what());
  } catch (const Cancelled&) {
    return false;  // nothing was committed: the recording before stays
  }
  return true;
}

// The matrix named for the recording is the one its mark file loads; a refused mark file
// leaves the matrix of the recording before.
void LabImport::Commit(const std::string& path, const TextSamples& samples) {
  AnalysisState& s = state_;
  const std::string matrixBefore = s.MatrixFileName;
  s.MatrixFileName = matrixFileName_;
  try {
    TextRecording(s, ui_, root_).Commit(path, samples, kGridCols, options_);
  } catch (const IoError&) {
    s.MatrixFileName = matrixBefore;
    throw;
  }
  s.InputFileKind = s.ImportKind;
  ApplyRate(samples.rows);
  if (countAsked_ && samples.rows < s.ImportNrSamples)
    ui_.Message(fmt::format("{}: the file holds only {} of the {} sample rows; the signal is {} ms long", path,
                            samples.rows, s.ImportNrSamples, s.SigLength));
}

// The signal length counts the rows actually read, in milliseconds at the recording's rate.
void LabImport::ApplyRate(int rows) {
  AnalysisState& s = state_;
  s.SamplingF = samplingRate_;
  s.SamplingFChanged = samplingRate_ != 1000;
  s.SigLength = int32_t(RoundHalfEven(double(rows) * 1000.0 / samplingRate_));
  s.WindowA = s.WindowB = s.WindowAll = s.SigLength;
}

}  // namespace velmora
