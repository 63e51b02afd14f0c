#include "output/MacExport.h"

#include <algorithm>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "marks/RecordingFiles.h"
#include "core/TraceChannel.h"
#include "core/Ui.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "output/DrawingObjectList.h"
#include "output/ExportNames.h"
#include "output/ExportRefused.h"

namespace velmora {

namespace {

// Drawing programs get a picture whose larger side is this many units, inside a margin.
constexpr double kMacExtent = 490;
constexpr int kMacMargin = 10;
// With a changed sampling frequency no more samples than this are copied per trace.
constexpr int kMaxConvertedSamples = 20000;

enum ObjectType { kDigits = 1, kTrace = 2, kTraceMarks = 4, kArrows = 5, kFrame = 6, kElectrodeTrace = 8 };

// Rows outside the store (a window reaching past its end) read as 0 rather than out of bounds.
int32_t StoreSample(const AnalysisState& s, int64_t row, int channel) {
  if (row < 0 || row >= s.SignalRows() || channel < 1 || channel > kChannels) return 0;
  return s.Signal(int(row), channel - 1);
}

bool OnMapGrid(const AnalysisState& s, int channel) {
  const int32_t x = s.ElectrodeX[size_t(channel - 1)], y = s.ElectrodeY[size_t(channel - 1)];
  return x != -1 && y != -1 && x >= 1 && x <= kMaxGridCols && y >= 1 && y <= kMaxGridRows;
}

void AddFrame(DrawingObjectList& objects, int width, int height) {
  const int left = kMacMargin, top = kMacMargin, right = width + kMacMargin, bottom = height + kMacMargin;
  objects.BeginObject(kFrame);
  objects.AddLine({left, top, right, top});
  objects.AddLine({right, top, right, bottom});
  objects.AddLine({right, bottom, left, bottom});
  objects.AddLine({left, bottom, left, top});
}

// Arrows are screen pixels as drawn and go out unscaled; digits are placed on the scaled map.
void AddCellLines(const AnalysisState& s, DrawingObjectList& objects, int channel, double scale) {
  const int col = s.ElectrodeX[size_t(channel - 1)], row = s.ElectrodeY[size_t(channel - 1)];
  const int32_t v = s.Cell(col, row).Value;
  if (v == s.NoValue || v == s.AltNoValue) return;
  const Point centre = MapDrawing::CellCentre(s, col, row);
  const int64_t x = RoundHalfEven(centre.x * scale) + kMacMargin;
  const int64_t y = RoundHalfEven(centre.y * scale) + kMacMargin;
  if (s.PlotVelocities) {
    const VelocityCell& a = s.Square(col, row);
    if (a.StartX != 0)
      objects.AddLine({a.StartX, a.StartY, a.EndX, a.EndY, a.Head1X, a.Head1Y, a.Head2X, a.Head2Y});
  } else if (s.DigitType == 0) {
    objects.AddLine({x, y, v});
  }
  if (s.DigitType == 3) objects.AddLine({x, y, RoundHalfEven(v / 100.0)});
}

struct SampleRange {
  int first = 0, last = 0;
};

SampleRange CopiedSamples(AnalysisState& s) {
  SampleRange range;
  if (s.SamplingFChanged) {
    range.first = int(RoundHalfEven(double(s.CurBegin) * s.SamplingF / 1000));
    range.last = int(RoundHalfEven(double(int64_t(s.CurBegin) + s.CurWindow) * s.SamplingF / 1000));
    range.last = std::min(range.last, kMaxConvertedSamples);
    s.ImportNrSamples = kMaxConvertedSamples;
  } else {
    range.first = s.CurBegin;
    range.last = int(std::min<int64_t>(int64_t(s.CurBegin) + s.CurWindow, s.SigLength));
  }
  s.TraceFirstSample = range.first;
  s.TraceLastSample = range.last;
  return range;
}

// The store holds a row of all channels together, so the traces are filled side by side,
// row by row, rather than one channel at a time across the whole store. A trace without a
// channel is a flat line, so the file keeps one trace object per trace.
void FillTraces(const AnalysisState& s, DrawingObjectList& objects, const std::vector<int32_t>& channels,
                const std::vector<int>& traceObjects, SampleRange range) {
  for (int64_t sample = int64_t(range.first) + 1; sample <= range.last; ++sample) {
    for (size_t i = 0; i < channels.size(); ++i) {
      const int32_t channel = channels[i];
      const int32_t value = channel >= 1 && channel <= kChannels ? StoreSample(s, sample - 1, channel) : 0;
      objects.AddLineTo(traceObjects[i], {RoundHalfEven(-double(value) * s.Amplification * 20)});
    }
  }
}

void AddTraceMarks(const AnalysisState& s, DrawingObjectList& objects, int32_t channel) {
  const int64_t from = s.CurBegin, to = int64_t(s.CurBegin) + s.CurWindow;
  bool begun = false;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind == s.NoValue || mark.Electrode != channel || mark.Time < from || mark.Time > to) continue;
    if (!begun) objects.BeginObject(kTraceMarks);
    begun = true;
    objects.AddLine({mark.Time - from + 1, 50, -50, int64_t(mark.Time) - s.ReferenceTime});
  }
}

void AddElectrodeTrace(const AnalysisState& s, DrawingObjectList& objects, int32_t channel) {
  objects.BeginObject(kElectrodeTrace);
  objects.AddLine({channel, s.ElectrodeX[size_t(channel - 1)], s.ElectrodeY[size_t(channel - 1)]});
  const int64_t firstRow = s.CurBegin;
  double sum = 0;
  for (int k = 1; k <= s.CurWindow; ++k) sum += StoreSample(s, firstRow + k - 1, channel);
  const double baseline = sum / s.CurWindow;
  const double step = 100.0 / s.CurWindow;
  for (int k = 1; k <= s.CurWindow; ++k) {
    const double x = k * step;
    const int64_t y = -RoundHalfEven((StoreSample(s, firstRow + k - 1, channel) - baseline) * s.Amplification * 20);
    objects.AddLine({RoundHalfEven(x * 100), y * 100});
  }
}

}  // namespace

std::string MacExport::MapText(const AnalysisState& s) {
  if (s.MapRight <= 0 || s.MapBottom <= 0)
    throw ExportRefused("There is no map to copy: show a map in Display A first.");
  const double scale = kMacExtent / (s.MapBottom > s.MapRight ? s.MapBottom : s.MapRight);
  DrawingObjectList objects;
  AddFrame(objects, int(RoundHalfEven(s.MapRight * scale)), int(RoundHalfEven(s.MapBottom * scale)));
  if (s.ShowMapDigit) {
    objects.BeginObject(s.PlotVelocities ? kArrows : kDigits);
    for (int channel = 1; channel <= kChannels; ++channel)
      if (OnMapGrid(s, channel)) AddCellLines(s, objects, channel, scale);
  }
  return objects.Text();
}

std::string MacExport::SignalsText(AnalysisState& s) {
  const SampleRange range = CopiedSamples(s);
  DrawingObjectList objects;
  std::vector<int32_t> channels;
  std::vector<int> traceObjects;
  for (int trace = 1; trace <= s.NrTraces; ++trace) {
    channels.push_back(TraceChannel(s, trace));
    traceObjects.push_back(objects.BeginObject(kTrace));
    AddTraceMarks(s, objects, channels.back());
  }
  FillTraces(s, objects, channels, traceObjects, range);
  return objects.Text();
}

std::string MacExport::EleMapText(AnalysisState& s, int paneWidth, int paneHeight, Ui& ui) {
  if (s.CurWindow <= 0) throw ExportRefused("The electrogram window is empty: there are no samples to copy.");
  MapDrawing::CalcCellSize(s, paneWidth, paneHeight);
  ui.Log(fmt::format(" beginsig = {}", s.CurBegin));
  ui.Log(fmt::format(" windowsig = {}", s.CurWindow));
  DrawingObjectList objects;
  for (int col = 1; col <= MapComputation::UsedCols(s); ++col) {
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row) {
      // A cell without an electrode has no trace to copy.
      const std::optional<int32_t> channel = MapComputation::ChannelAt(s, col, row);
      if (!channel || *channel == s.NoValue || !OnMapGrid(s, *channel)) continue;
      AddElectrodeTrace(s, objects, *channel);
    }
  }
  return objects.Text();
}

void MacExport::CopyMaptoMac(const AnalysisState& state, const std::string& path) {
  RecordingFiles::Write(state, path, MapText(state));
}

void MacExport::CopySignalsToMac(AnalysisState& state, const std::string& path) {
  RecordingFiles::Write(state, path, SignalsText(state));
}

void MacExport::CopyEleMaptoMac(AnalysisState& state, int paneWidth, int paneHeight, Ui& ui,
                                const std::string& path) {
  RecordingFiles::Write(state, path, EleMapText(state, paneWidth, paneHeight, ui));
}

std::optional<std::string> MacExport::SaveCopy(AnalysisState& s, Ui& ui, Item item, int paneWidth, int paneHeight) {
  Ui::FileDialogRequest request;
  // The dialog opens on the suggested file itself, in the recording's folder.
  request.folder = ExportNames::TextBesideRecording(s.ElgFileName);
  const std::optional<Ui::FileDialogResult> chosen = ui.SaveFileDialog(request);
  if (!chosen || chosen->path.empty()) return std::nullopt;
  const std::string& path = chosen->path;
  switch (item) {
    case Item::Map: CopyMaptoMac(s, path); break;
    case Item::Electrograms: CopySignalsToMac(s, path); break;
    case Item::EleMap: CopyEleMaptoMac(s, paneWidth, paneHeight, ui, path); break;
  }
  return path;
}

}  // namespace velmora
