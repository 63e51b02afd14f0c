#include "input/LabTextReader.h"

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Ui.h"
#include "input/NITextReader.h"
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

void ShowProgress(Ui& ui, int row, const std::string& path) {
  if (row % LabTextReader::kRowsPerProgressStep != 0) return;
  ui.SetProgressText(fmt::format("reading line nr = {}", row));
  ui.StepProgress();
  ui.ProcessEvents();
  if (ui.CancelRequested()) throw Cancelled("reading " + path);
}

}  // namespace

TextSamples LabTextReader::Parse(const std::string& path, std::string_view text, const Request& request, Ui& ui) {
  TextLines lines(path, text);
  lines.RefuseBinary();
  lines.SkipHeader(request.headerLines);
  lines.FinishLine();
  TextSamples samples;
  samples.channels = request.channels;
  samples.values.resize(size_t(std::min<int64_t>(request.rows, TextSamples::MostRowsIn(text, request.channels))) *
                       size_t(request.channels));
  const bool stream = request.layout == Layout::Auckland;
  int r = 0;
  const int64_t room = int64_t(samples.values.size()) / request.channels;
  while (r < request.rows && r < room) {
    int32_t* row = samples.values.data() + size_t(r) * size_t(request.channels);
    const bool read = stream ? ReadStreamRow(lines, request, r + 1, row) : ReadLineRow(lines, request, row);
    if (!read) break;
    ++r;
    ShowProgress(ui, r, path);
  }
  if (r == 0) lines.Fail(fmt::format("no sample rows follow the {} header lines", request.headerLines));
  samples.rows = r;
  samples.values.resize(size_t(r) * size_t(request.channels));
  return samples;
}

}  // namespace velmora
