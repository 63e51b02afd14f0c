#pragma once

#include <cstdint>

namespace velmora {

// Fixed capacities of the workbench. The large blocks are sized once from these and never grow.
inline constexpr int kChannels = 256;            // channels 1..256
inline constexpr int kFirstElectrode = 17;       // channels 17..256 are electrodes
inline constexpr int kSignalRows = 65535;        // samples per channel in the signal store
inline constexpr int kSmoothingWidth = 20;       // samples in the moving mean
// The frames of a recording the store can use: one per row plus the frames a 20-sample
// mean of the last row looks ahead to. Later frames are not read.
inline constexpr int kFrameBufferFrames = kSignalRows + kSmoothingWidth;
inline constexpr int kMaxGridCols = 100;
inline constexpr int kMaxGridRows = 100;
inline constexpr int kMaxMarks = 32767;
inline constexpr int kUndoCapacity = 100;
inline constexpr int kRecentFiles = 10;
inline constexpr int kMaxImportSamples = 65500;

inline constexpr int32_t kNoValue = -12345;
inline constexpr int32_t kAltNoValue = -54321;

}  // namespace velmora
