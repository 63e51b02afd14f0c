#pragma once

#include <cstdint>

namespace velmora {

// Fixed sizes of the workbench. The signal store and the mark store are not among them: they
// are sized to the recording loaded (see AnalysisState and SignalStore).
inline constexpr int kChannels = 256;            // channels 1..256
inline constexpr int kFirstElectrode = 17;       // channels 17..256 are electrodes
// Rows of the store a fresh state holds before any recording is loaded, so that values set
// by hand have room; every load replaces it with a store of the recording's own length.
inline constexpr int kStartSignalRows = 65535;
inline constexpr int kSmoothingWidth = 20;       // samples in the moving mean
inline constexpr int kMaxGridCols = 100;
inline constexpr int kMaxGridRows = 100;
// Mark slots a fresh state holds; the store grows past them as marks are added, up to
// kMaxMarks: far more than a day of 240 electrodes marked every second, and few enough that
// the slot numbers of files and journals stay well inside what they count in.
inline constexpr int kStartMarkSlots = 32767;
inline constexpr int kMaxMarks = 1 << 26;
inline constexpr int kUndoCapacity = 100;
inline constexpr int kRecentFiles = 10;

inline constexpr int32_t kNoValue = -12345;
inline constexpr int32_t kAltNoValue = -54321;

}  // namespace velmora
