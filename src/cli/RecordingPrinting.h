#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora {
struct AnalysisState;
}

namespace velmora::cli {

// The `name: value` lines of `info`: the recording's geometry and its bindings.
void PrintInfo(AnalysisState& state);
// The lines of an EDF, BDF or GDF recording besides: format, rate, filters, every signal
// with its use and offset, and the annotations. Nothing for other recordings.
void PrintAcquisition(const AnalysisState& state);

// "A:B" as rows A up to but not including B, within the `rowCount` rows of the recording;
// all of them for an empty text. Throws UsageError.
std::pair<int, int> ParseRows(const std::string& text, int rowCount);

// Store rows, one line each: the row, then the values of `channels` (from 1), TAB-separated.
void PrintRows(const AnalysisState& state, const std::vector<int>& channels, std::pair<int, int> rows);

}  // namespace velmora::cli
