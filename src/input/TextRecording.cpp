#include "input/TextRecording.h"

#include <algorithm>
#include <filesystem>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/SignalStore.h"
#include "core/Ui.h"
#include "input/MatrixChooser.h"
#include "marks/MarkFile.h"

namespace velmora {

std::string TextRecording::MarkFileNameFor(const std::string& recording) {
  std::filesystem::path markFile(recording);
  markFile.replace_extension(".Mxt");
  if (markFile.string() == recording)
    throw IoError(recording, "the recording's mark file would be the recording itself (its extension is .Mxt)");
  return markFile.string();
}

void TextRecording::Commit(const std::string& path, const TextSamples& samples, int gridCols,
                           const RecordingOpenOptions& options) {
  const std::string markFile = MarkFileNameFor(path);
  RemoveStaleTemporaries(markFile);
  const bool markFileExists = FileExists(markFile);
  // A broken mark file refuses the recording before anything of the loaded one changes.
  if (markFileExists) MarkFile::Parse(markFile, ReadWholeFile(markFile));
  SignalStore::CheckFits(state_, path, samples.rows, int64_t(samples.values.size() * sizeof(int32_t)));
  AnalysisState& s = state_;
  StoreSamples(samples);
  s.SigLength = samples.rows;
  ResetPanes();
  SetOneRowLayout(samples.channels, gridCols);
  s.FileLoaded = true;
  s.ElgFileName = path;
  s.ElgFileExt = std::filesystem::path(path).extension().string();
  s.MarkFileName = markFile;
  BindMarkFile(markFileExists, options);
}

// Every sample of the store is written, the columns beyond the file's channels with zeros, so
// no earlier recording's samples remain when the store of the same size is kept.
void TextRecording::StoreSamples(const TextSamples& samples) {
  AnalysisState& s = state_;
  SignalStore::ResizeForOverwrite(s, samples.rows);
  for (int r = 0; r < samples.rows; ++r) {
    int32_t* row = &s.Signals[size_t(r) * kChannels];
    const int32_t* values = samples.values.data() + size_t(r) * size_t(samples.channels);
    std::copy(values, values + samples.channels, row);
    std::fill(row + samples.channels, row + kChannels, 0);
  }
  s.SignalRowsTouched = samples.rows;
  s.SignalsChanged();
}

void TextRecording::ResetPanes() {
  AnalysisState& s = state_;
  s.ClickArmed = false;
  s.PaneKindA = 1;
  s.ElgModeA = 0;
  s.FirstChannel = 1;
  s.TraceOrder = 0;
  s.WindowAll = s.WindowA = s.SigLength;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
  s.MapKindA = s.MapKindB = 0;
  s.ShapeDragging = false;
  s.PointerReady = true;
}

// Channel n sits in column n of a single grid row; channels beyond the recording have no place.
void TextRecording::SetOneRowLayout(int channels, int gridCols) {
  AnalysisState& s = state_;
  s.NrElectrodes = channels;
  s.NrCols = gridCols;
  s.NrRows = 1;
  s.ElectrodeDistance = 1.0;
  s.TileStacked = true;
  s.NrTraces = channels;
  s.ElectrodeX.fill(-1);
  s.ElectrodeY.fill(-1);
  std::fill(s.GridElectrode.begin(), s.GridElectrode.end(), -1);
  for (int n = 1; n <= channels; ++n) {
    s.ElectrodeX[size_t(n - 1)] = n;
    s.ElectrodeY[size_t(n - 1)] = 1;
    if (n <= gridCols && n <= kMaxGridCols) s.GridCell(n, 1) = n;
  }
}

void TextRecording::BindMarkFile(bool markFileExists, const RecordingOpenOptions& options) {
  AnalysisState& s = state_;
  s.MarksChanged = false;
  try {
    if (markFileExists) {
      MatrixChooser chooser(s, ui_, root_);
      ReadMarkFile(s, ui_, &chooser);
      return;
    }
    ApplyMarkFile(s, MarkFileContents{std::vector<uint8_t>(MarkFile::kHeaderSize, 0), "", {}, 0});
    if (options.createMissingMarkFile) CreateMarkFile(s, ui_);
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

}  // namespace velmora
