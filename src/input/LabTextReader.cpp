#include "input/LabTextReader.h"

#include <algorithm>

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Ui.h"
#include "input/NITextReader.h"
#include "input/RowProgress.h"
#include "input/SplitLineRows.h"
#include "input/TextLines.h"

namespace velmora {

namespace {

constexpr double kAucklandScale = 100;
constexpr double kMicrovoltsPerVolt = 1e6;
constexpr double kNashvilleScale = 1;

double ScaleOf(LabTextReader::Layout layout) {
  switch (layout) {
    case LabTextReader::Layout::Auckland: return kAucklandScale;
    case LabTextReader::Layout::Manchester: return kMicrovoltsPerVolt;
    case LabTextReader::Layout::Nashville: break;
  }
  return kNashvilleScale;
}

// One row of a line-per-row layout; false when no lines with anything on them remain.
bool ReadLineRow(TextLines& lines, const LabTextReader::Request& request, int32_t* row) {
  if (!lines.NextDataLine()) return false;
  if (request.layout == LabTextReader::Layout::Manchester) lines.SkipCharacters(NITextReader::kIgnoredCharacters);
  const double scale = ScaleOf(request.layout);
  lines.ReadScaledRow(scale, row, request.channels);
  return true;
}

// One row of the Auckland stream, whose line ends mean nothing; false when the numbers ran
// out exactly at the end of the row before.
bool ReadStreamRow(TextLines& lines, const LabTextReader::Request& request, int rowNumber, int32_t* row) {
  for (int k = 1; k <= request.channels; ++k) {
    if (!lines.SkipToNumber()) {
      if (k == 1) return false;
      lines.Fail(fmt::format("the file ends within sample row {}: it holds {} of its {} numbers", rowNumber, k - 1,
                             request.channels));
    }
    row[k - 1] = lines.ReadScaled(kAucklandScale, k, request.channels);
  }
  return true;
}

// Rows of the Auckland stream until `request.rows`, the room made or the numbers run out.
int ReadStream(TextLines& lines, const LabTextReader::Request& request, TextSamples& samples, RowProgress& progress) {
  samples.values.resize(size_t(std::min<int64_t>(request.rows, TextSamples::MostRowsIn(lines.Text(), request.channels))) *
                        size_t(request.channels));
  const int64_t room = int64_t(samples.values.size()) / request.channels;
  int r = 0;
  while (r < request.rows && r < room) {
    int32_t* row = samples.values.data() + size_t(r) * size_t(request.channels);
    if (!ReadStreamRow(lines, request, r + 1, row)) break;
    ++r;
    progress.Reach(r);
  }
  return r;
}

// Rows of a line-per-row layout until `request.rows` or the last line with anything on it.
int ReadLines(TextLines& lines, const LabTextReader::Request& request, TextSamples& samples, RowProgress& progress) {
  const auto readRow = [&request](TextLines& rowLines, int32_t* row) { return ReadLineRow(rowLines, request, row); };
  return SplitLineRows::Read(lines, request.rows, request.channels, samples.values, readRow, progress);
}

}  // namespace

TextSamples LabTextReader::Parse(const std::string& path, std::string_view text, const Request& request, Ui& ui) {
  TextLines lines(path, text);
  lines.RefuseBinary();
  lines.SkipHeader(request.headerLines);
  lines.FinishLine();
  TextSamples samples;
  samples.channels = request.channels;
  RowProgress progress(ui, path);
  const int rows = request.layout == Layout::Auckland ? ReadStream(lines, request, samples, progress)
                                                      : ReadLines(lines, request, samples, progress);
  if (rows == 0) lines.Fail(fmt::format("no sample rows follow the {} header lines", request.headerLines));
  samples.rows = rows;
  samples.values.resize(size_t(rows) * size_t(request.channels));
  return samples;
}

}  // namespace velmora
