#include "core/AnalysisState.h"

#include <algorithm>

#include "core/SignalStore.h"

namespace velmora {

AnalysisState::AnalysisState()
    : Signals(size_t(kStartSignalRows) * kChannels, 0),
      GridElectrode(size_t(kMaxGridCols) * kMaxGridRows, -1),
      Marks(kStartMarkSlots),
      MarkHeader(4096, 0),
      MarkAmplitudes(kStartMarkSlots),
      MapGrid(size_t(kMaxGridCols) * kMaxGridRows),
      VelocityGrid(size_t(kMaxGridCols) * kMaxGridRows) {
  ElectrodeX.fill(-1);
  ElectrodeY.fill(-1);
  SetDefaults(*this);
}

namespace {

void SetPaneDefaults(AnalysisState& s) {
  s.FocusA = true;
  s.FocusB = false;
  s.TwoPanes = false;
  s.PaneKindA = 1;
  s.PaneKindB = 1;
  s.MapKindA = 0;
  s.MapKindB = 0;
  s.NrTraces = 24;
  s.MapLeft = 10;
  s.MapTop = 10;
  s.TileStacked = true;
  s.CurBegin = 0;
  s.BeginAll = 0;
  s.WindowAll = 4000;
  s.BeginA = 0;
  s.WindowA = 4000;
  s.BeginB = 0;
  s.WindowB = 4000;
  s.CurWindow = 4000;
  s.TraceOrder = 1;
  s.FirstChannel = 17;
  s.FirstCol = 1;
  s.FirstRow = 1;
  s.ActivePane = 1;
}

void SetMarkingDefaults(AnalysisState& s) {
  s.SmoothElectrograms = true;
  s.Amplification = 0.01;
  s.ReferenceTime = 0;
  s.ReferenceElectrode = 0;
  s.AssistedMarking = false;
  s.PlotVelocities = false;
  s.SearchBelowLevel = true;
  s.ShapeDragging = false;
  s.ShowAmplitudes = false;
  s.DiffDistSW = 100;
  s.DiffDistSpike = 10;
  s.DiffDistType3 = 50;
  s.SearchWidthSW = 300;
  s.SearchWidthSpike = 100;
  s.SearchWidthType3 = 300;
  s.MinDiffValSW = -100;
  s.MinDiffValSpike = -200;
  s.MinDiffValType3 = -1;
  s.MarkType = {1, 1};
  s.DigitType = 0;
  s.ExportDigitType = 2;
  s.MarkOrigin = kByHand;
  s.NoValue = kNoValue;
  s.AltNoValue = kAltNoValue;
}

void SetMapAndWaveDefaults(AnalysisState& s) {
  s.ShowMapDigit = true;
  s.ShowMapColor = true;
  s.ShowGrid = true;
  s.ShowMapLegend = true;
  s.IsochroneStep = 500;
  s.IsochroneParam = 10;
  s.PlotIsochrones = false;
  s.WaveDifference = {500, 150, 500};
  s.PrintSeriesNr = 1;
  s.WaveNrA = 1;
  s.WaveNrB = 1;
  s.ShowStatistics = false;
  s.MinWaveSites = 4;
  s.NormalDirection = 0;
  s.MinSitesPerWave = 1;
  s.RectangleFixed = false;
  s.FileLoaded = false;
  s.ShowMiniGrid = false;
  s.ShowElgMarks = true;
  s.ShowElgTimes = true;
  s.ShowElgIntervals = false;
  s.ShowSpikeIntervals = false;
  s.AverageOffset = true;
  s.FreeOrderCount = 0;
  s.FreeOrderList.fill(kNoValue);
}

void SetSwitchDefaults(AnalysisState& s) {
  s.ShowTraceBaselines = true;
  s.ShowTimeGrid = true;
  s.MapSkipZeros = false;
  s.PointerReady = false;
  s.PlotOnlyDots = false;
  s.AnalyseOn = false;
  s.AvoidDoubleMarks = true;
  s.AvoidanceWidth = 5;
  s.DetectionMethod = 0;
  s.RobustFallWidth = 20;
  s.RobustThreshold = 6;
  s.RobustRefractory = 1000;
  s.RobustNoiseWindow = 20000;
  s.DeadQuality = 8;
  s.PrintCaptionDetail = false;
  s.MarksChanged = false;
  s.WavesStale = true;
  s.ShowMarkStatistics = false;
  s.ShowMapStatistics = false;
  s.AmplitudesValid = false;
  s.MemoVisible = false;
  s.UseIntervalRange = true;
  s.MinIntervalRange = 2000;
  s.MaxIntervalRange = 6000;
  s.ShowMiniMap = false;
  s.ExpandMap = false;
  s.NrExpandCycles = 10;
  s.NrNeighbours = 3;
}

void SetParameterDefaults(AnalysisState& s) {
  s.UndoCount = 0;
  s.MaxCondVel = 20;
  s.LimitCondVel = false;
  s.AnimStep = 100;
  s.SWDuration = 2000;
  s.AnimBegin = 0;
  s.AnimEnd = kNoValue;
  s.WaveGrid = true;
  s.WaveSignalLength = 1000;
  s.WaveMarkAlign = false;
  s.WavePlotElgNr = false;
  s.WaveGridLabel = true;
  s.WaveStart = 1;
  s.Bipolar = 0;
  s.ArrowSize = 5000;
  s.NISampleCount = 15000;
  s.NIChannels = 16;
  s.PrintOnlyMarks = false;
  s.ConnectionsChanged = false;
  s.ShowElgConnections = true;
  s.ConnectMaxDiff = 3000;
  s.ConnectionCount = 0;
  // Channels 1-16 carry no electrode.
  s.ChannelValid.fill(kNoValue);
  std::fill(s.ChannelValid.begin() + (kFirstElectrode - 1), s.ChannelValid.end(), 1);
  s.IncVel = 1;
  s.VelocityMethod = 0;
  s.VelocityFitRadius = 2;
  s.VelocityFitQuadratic = true;
  s.LimitIntervals = false;
  s.MaxIntervalValue = 6000;
  s.ShowBackgroundColor = true;
  s.NrWaves = 0;
  s.AutoPositioning = false;
  s.PlotLocalTimes = false;
  s.StepIncrement = 100;
  s.FilterMains = 0;
  s.FilterMainsHarmonics = 3;
  s.FilterBaselineSeconds = 0;
  s.FilterLowPassHz = 0;
  s.FilterSmoothingMs = 0;
  s.FilterSmoothingOrder = 3;
  s.ShowSWsSpikes = false;
  s.SamplingF = 1000;
  s.SamplingFChanged = false;
  s.MaxSamples = int32_t(SignalStore::LargestRows(s));
}

}  // namespace

void SetDefaults(AnalysisState& state) {
  SetPaneDefaults(state);
  SetMarkingDefaults(state);
  SetMapAndWaveDefaults(state);
  SetSwitchDefaults(state);
  SetParameterDefaults(state);
}

}  // namespace velmora
