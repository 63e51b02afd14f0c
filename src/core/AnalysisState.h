#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/AcquisitionDetails.h"
#include "core/HugePageAllocator.h"
#include "core/ConnectionRecord.h"
#include "core/FileStamp.h"
#include "core/Limits.h"
#include "core/MapCell.h"
#include "core/MarkRecord.h"
#include "core/MarkSettings.h"

namespace velmora {

struct ElectrodeQualityTable;

// The one analysis state every window and command works on. Variables keep the names the
// rest of the program (and its users' vocabulary) use; start values come from SetDefaults.
// The signal store is allocated again for each recording loaded, with its rows; the other
// large blocks are allocated once in the constructor.
struct AnalysisState {
  AnalysisState();

  // Sentinels, held in variables so comparisons read like the rest of the program.
  int32_t NoValue = kNoValue;
  int32_t AltNoValue = kAltNoValue;

  // Signal store: row r holds sample r + 1 of all channels, column c holds channel c + 1.
  // Samples are 16-bit values held as int32.
  //
  // SignalVersion moves whenever the samples may have changed, so whoever keeps figures worked
  // out from them (the panes' window sums) knows when to work them out again:
  // - The non-const Signal() counts as a write and moves the version itself, so code that
  //   sets samples one by one cannot forget it. It moves when the reference is handed out:
  //   write through the reference right away, never after a redraw.
  // - Code that writes `Signals` directly (a fill, rows through a pointer) calls
  //   SignalsChanged() once it is done.
  // - Reads go through a const state: a read through the non-const Signal() counts as a
  //   change too, which costs the keepers a recount.
  std::vector<int32_t, HugePageAllocator<int32_t>> Signals;
  uint64_t SignalVersion = 0;
  void SignalsChanged() { ++SignalVersion; }
  int32_t& Signal(int row, int column) {
    SignalsChanged();
    return Signals[size_t(row) * kChannels + column];
  }
  int32_t Signal(int row, int column) const { return Signals[size_t(row) * kChannels + column]; }
  // Rows the store holds: those of the recording loaded (SignalStore sizes it per load).
  int SignalRows() const { return int(Signals.size() / kChannels); }
  // Rows written by the loads so far: the rows beyond the current recording that an earlier
  // one filled are cleared on the next load, so nothing reads another recording's samples.
  int SignalRowsTouched{};
  // How many samples the store's values look ahead of the recorded signal: the moving mean a
  // load or a smoothing put in averages samples after the one it stands for. 0 for a raw store.
  double SignalLookAhead = 0;

  // Recording descriptors.
  std::string ElgFileName, ElgFileExt, MarkFileName, MatrixFileName, DefaultMatrixFileName;
  std::string ImportFileName, FileInfo;
  int32_t InputFileKind{};
  bool FileLoaded{};
  // Whether the samples were smoothed as the recording was read (the switch may change later).
  bool SmoothedOnLoad{};
  int32_t NrOfFramesinFile{};
  int32_t SigLength{};
  int32_t SamplingF{};
  bool SamplingFChanged{};
  int32_t NrChannelsInFile{}, BytesPerSample{}, FrameSize{}, HeaderFrames{};
  int32_t HeaderRecords16{}, HeaderWord90{}, HeaderWord104{};
  std::array<std::string, kRecentFiles> RecentFileKinds, RecentFileNames;
  // The signals, offsets and annotations of an EDF, BDF or GDF recording (empty otherwise).
  AcquisitionDetails Acquisition;

  // Electrode grid.
  int32_t NrElectrodes{}, NrCols{}, NrRows{};
  double ElectrodeDistance{};
  std::array<int32_t, kChannels> ElectrodeX{}, ElectrodeY{};
  std::vector<int32_t> GridElectrode;  // [column - 1][row - 1], column outer, 100 x 100
  int32_t& GridCell(int col, int row) { return GridElectrode[size_t(col - 1) * kMaxGridRows + (row - 1)]; }
  int32_t GridCell(int col, int row) const { return GridElectrode[size_t(col - 1) * kMaxGridRows + (row - 1)]; }
  std::array<int32_t, kChannels> ChannelValid{};

  // Trace layout.
  uint8_t TraceOrder{};  // 0 sequential, 1 horizontal, 2 vertical, 3 free, 6 opposite
  int32_t Bipolar{}, FirstChannel{}, FirstCol{}, FirstRow{};
  std::array<int32_t, kChannels> FreeOrderList{};
  int32_t FreeOrderCount{};
  int32_t NrTraces{};

  // Panes.
  uint8_t PaneKindA{}, PaneKindB{};  // 0 map, 1 electrograms, 2 wave map
  uint8_t MapKindA{}, MapKindB{};
  uint8_t ElgModeA{};
  int32_t BeginA{}, BeginB{}, WindowA{}, WindowB{};
  std::array<int32_t, 2> MarkType{};  // entry 0 pane A, entry 1 pane B
  int32_t WaveNrA{}, WaveNrB{};
  int32_t BeginAll{}, WindowAll{}, CurBegin{}, CurWindow{};
  int32_t MapBegin{}, MapWindow{};
  uint8_t CurMapKind{};
  bool FocusA{}, FocusB{};
  int32_t ActivePane{};
  bool TwoPanes{}, TileStacked{};
  double Amplification{};
  double SampleWidth{};
  int32_t TraceLeft{}, TraceTop{}, TraceHeight{};
  int32_t MapLeft{}, MapTop{}, CellWidth{}, CellHeight{};
  int32_t PointerX{}, PointerY{}, PointerTime{}, PointerTrace{}, PointerChannel{};
  int32_t PointerCol{}, PointerRow{}, PointerCellChannel{};
  int32_t ReferenceTime{};
  int32_t ReferenceElectrode{};  // electrode of the reference chosen in the reference table
  int32_t WhichEle{};  // electrode whose marks and rates were exported last

  // Display switches.
  bool ShowGrid{}, ShowMapColor{}, ShowMapDigit{};
  bool ShowElgMarks{}, ShowElgTimes{}, ShowElgIntervals{}, ShowSpikeIntervals{};
  bool ShowBackgroundColor{}, ShowAmplitudes{}, ShowElgConnections{};
  bool ShowSWsSpikes{}, AverageOffset{}, PlotOnlyDots{}, PlotVelocities{};
  bool PlotIsochrones{}, ShowMiniGrid{}, ShowMiniMap{}, MemoVisible{};
  bool ShowStatistics{}, ShowMapStatistics{}, ShowMarkStatistics{}, AnalyseOn{};
  bool ShowTraceBaselines{}, ShowTimeGrid{}, MapSkipZeros{}, PrintOnlyMarks{};
  bool PrintCaptionDetail{}, SmoothElectrograms{}, ExpandMap{};
  bool ShowMapLegend{};  // the colour bands and unit beside a map

  // Automatic marking.
  int32_t DiffDistSW{}, DiffDistSpike{}, DiffDistType3{};
  int32_t SearchWidthSW{}, SearchWidthSpike{}, SearchWidthType3{};
  int32_t MinDiffValSW{}, MinDiffValSpike{}, MinDiffValType3{};
  bool SearchBelowLevel{}, AvoidDoubleMarks{};
  int32_t AvoidanceWidth{};
  // Which automatic marking runs (0 the threshold crossing above, 1 the robust detector), and
  // the robust detector's settings (RobustDetector): the width of the fall it looks for (ms),
  // how many noise deviations a fall must stand out by, the refractory period and the noise
  // window (ms), and the quality below which an electrode counts as dead.
  int32_t DetectionMethod{};
  int32_t RobustFallWidth{}, RobustThreshold{}, RobustRefractory{}, RobustNoiseWindow{}, DeadQuality{};
  // The electrode quality last measured (ElectrodeQuality keeps it for the samples and settings
  // it was measured on).
  std::shared_ptr<const ElectrodeQualityTable> QualityCache;

  // Analysis parameters.
  int32_t DigitType{}, ExportDigitType{};
  int32_t IsochroneStep{}, IsochroneParam{};
  std::array<int32_t, 3> WaveDifference{};
  int32_t PrintSeriesNr{}, MinWaveSites{};
  // The direction a healthy wave travels across the array, in degrees as the arrows count
  // them: the propagation patterns are judged against it.
  int32_t NormalDirection{};
  // Waves of fewer sites are neither listed nor shown (1: every wave).
  int32_t MinSitesPerWave{};
  bool UseIntervalRange{};
  int32_t MinIntervalRange{}, MaxIntervalRange{};
  int32_t NrExpandCycles{}, NrNeighbours{};
  int32_t MaxCondVel{};
  bool LimitCondVel{};
  int32_t AnimStep{}, SWDuration{}, AnimBegin{}, AnimEnd{};
  bool WaveGrid{}, WaveMarkAlign{}, WavePlotElgNr{}, WaveGridLabel{};
  int32_t WaveSignalLength{}, WaveStart{};
  int32_t ArrowSize{}, NISampleCount{}, NIChannels{};
  int32_t IncVel{};
  // How velocities are estimated (0 grid squares, 1 smoothed squares, 2 local fit), and the
  // fit's neighbourhood radius in electrode spacings and whether it fits a curved surface.
  int32_t VelocityMethod{}, VelocityFitRadius{};
  bool VelocityFitQuadratic{};
  bool LimitIntervals{};
  int32_t MaxIntervalValue{};
  int32_t NrWaves{};
  bool AutoPositioning{}, PlotLocalTimes{};
  int32_t StepIncrement{};
  int32_t MaxSamples{};

  // Signal conditioning of EDF, BDF and GDF recordings (page "Filters"; 0 turns a step off):
  // mains notch (0 off, 1 50 Hz, 2 60 Hz) with its harmonics, baseline high-pass (one cycle in
  // this many seconds), low-pass (Hz), Savitzky-Golay window (ms) and order.
  int32_t FilterMains{}, FilterMainsHarmonics{}, FilterBaselineSeconds{}, FilterLowPassHz{};
  int32_t FilterSmoothingMs{}, FilterSmoothingOrder{};

  // Pointer interaction.
  bool AssistedMarking{}, ClickArmed{}, PointerReady{}, ShapeDragging{};
  bool ShapeFree{}, RectangleFixed{};
  int32_t ShapeAnchorX{}, ShapeAnchorY{}, ShapeLeft{}, ShapeTop{}, ShapeRight{}, ShapeBottom{};

  // Mark store.
  std::vector<MarkRecord> Marks;  // slot n (1-based) at index n - 1; grows as marks are added
  int32_t MarkCount{};
  int16_t MarkOrigin{};
  std::array<UndoEntry, kUndoCapacity> UndoList{};
  int32_t UndoCount{};
  bool MarksChanged{}, WavesStale{}, AmplitudesValid{};
  // The mark file's header block as last read (or written); bytes the program does not
  // own are carried through a save unchanged.
  std::vector<uint8_t> MarkHeader;
  // How the marks were made, kept beside the mark file.
  MarkSettings MarkingSettings;
  // The mark file as read or last written here, to tell a change made meanwhile elsewhere.
  FileStamp MarkFileStamp;
  // The marks are shown but not written here: another live session holds the mark file, or
  // the unsaved edits of a session that ended wait beside it.
  bool MarkFileReadOnly{};

  // Connections.
  bool ConnectionsChanged{};
  int32_t ConnectMaxDiff{}, ConnectionCount{};
  std::string ConnectionFileName;
  std::vector<ConnectionRecord> Connections = std::vector<ConnectionRecord>(kConnectionSlots);
  ConnectionRecord& Connection(int number) { return Connections[size_t(number - 1)]; }
  const ConnectionRecord& Connection(int number) const { return Connections[size_t(number - 1)]; }
  // The ends picked by the connection keys 1 and 2.
  int32_t ConnectFirstChannel = kNoValue, ConnectFirstTime = kNoValue;
  int32_t ConnectSecondChannel = kNoValue, ConnectSecondTime = kNoValue;

  // Amplitude, slope and interval per mark number (slot n at index n - 1).
  std::vector<AmplitudeRecord> MarkAmplitudes;
  double SignalMean = 0, SignalStdev = 0;

  // Electrogram layout of the pane drawn last.
  int32_t PaneWidth = 0, PaneHeight = 0, TraceAreaWidth = 0, TraceAreaBottom = 0;
  int32_t TraceFirstSample = 0, TraceLastSample = 0;
  int32_t ImportNrSamples = 0;

  // Laboratory text imports: the layout chosen (4 Nashville, 5 Auckland, 6 Manchester), the
  // file of each layout and what an Auckland header says besides the recording's size.
  int32_t ImportKind = 0;
  std::string NashvilleFileName, AucklandFileName, ManchesterFileName;
  int32_t AucklandHeaderLines = 0;
  double AucklandCalibration = 0;
  std::string AucklandComments;

  // Maps. The grids cover the electrode grid's full 100 x 100, so every layout a matrix file
  // can give maps in full; cell (col, row) is 1-based like the grid.
  std::vector<MapCell> MapGrid;
  std::vector<VelocityCell> VelocityGrid;
  MapCell& Cell(int col, int row) { return MapGrid[size_t(col - 1) * kMaxGridRows + size_t(row - 1)]; }
  const MapCell& Cell(int col, int row) const { return MapGrid[size_t(col - 1) * kMaxGridRows + size_t(row - 1)]; }
  VelocityCell& Square(int col, int row) { return VelocityGrid[size_t(col - 1) * kMaxGridRows + size_t(row - 1)]; }
  const VelocityCell& Square(int col, int row) const {
    return VelocityGrid[size_t(col - 1) * kMaxGridRows + size_t(row - 1)];
  }
  int32_t MapMarkCount = 0, MapMinValue = 0, MapMaxValue = 0, MapMinTime = 0;
  PixelRect MapPaneRect;
  int32_t MapRight = 0, MapBottom = 0;

  MarkRecord& Mark(int number) { return Marks[size_t(number - 1)]; }
  const MarkRecord& Mark(int number) const { return Marks[size_t(number - 1)]; }
};

// Gives every variable its start value, in the order the workbench has always used.
// The signal store is left as it is (zeros in a new state).
void SetDefaults(AnalysisState& state);

}  // namespace velmora
