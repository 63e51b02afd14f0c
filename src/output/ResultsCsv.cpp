#include "output/ResultsCsv.h"

#include <cmath>
#include <optional>

#include <fmt/format.h>

#include "core/Errors.h"
#include "results/WaveTable.h"

namespace velmora {

namespace {

std::string Fixed(const std::optional<double>& v, int decimals) {
  return v && std::isfinite(*v) ? fmt::format("{:.{}f}", *v, decimals) : std::string();
}

template <typename T>
std::string Whole(const std::optional<T>& v) {
  return v ? fmt::format("{}", *v) : std::string();
}

std::string Origin(const std::vector<int>& electrodes) {
  std::string text;
  for (const int e : electrodes) text += (text.empty() ? "" : "+") + std::to_string(e);
  return text;
}

std::string Direction(const std::optional<double>& v) { return v ? DirectionText(*v, 1) : std::string(); }

}  // namespace

std::string DirectionText(double degrees, int decimals) {
  std::string text = fmt::format("{:.{}f}", degrees, decimals);
  const double shown = std::stod(text);
  if (shown >= 360 || shown < 0) text = fmt::format("{:.{}f}", std::fmod(std::fmod(shown, 360) + 360, 360), decimals);
  return text;
}

std::string ResultsCsv::TextField(const std::string& text) {
  std::string clean;
  bool quote = false;
  for (const char c : text) {
    const bool control = (unsigned char)(c) < 0x20 || c == 0x7F;
    clean += control ? ' ' : c;
    quote = quote || c == ',' || c == '"' || control;
    if (c == '"') clean += '"';
  }
  return quote ? '"' + clean + '"' : clean;
}

std::string ResultsCsv::WaveTableText(const WaveTable& table) {
  std::string text = std::string(kWaveHeader) + '\n';
  for (const WaveRow& r : table.Rows()) {
    fmt::format_to(std::back_inserter(text), "{},{},{},{:.2f},{},{},{},{},{},{},{},{},{}\n", r.wave, r.startMs, r.sites,
                   r.areaMm2, Origin(r.origin), r.durationMs, Fixed(r.speedMmS, 3), Fixed(r.speedSdMmS, 3),
                   Direction(r.directionDeg), Fixed(r.amplitudeUv, 1), Fixed(r.intervalS, 3),
                   Fixed(r.frequencyCpm, 3), PropagationPattern::Name(r.pattern));
  }
  return text;
}

std::string ResultsCsv::WaveMarksText(const WaveTable& table) {
  std::string text = std::string(kMarkHeader) + '\n';
  for (const WaveMarkRow& m : table.Marks()) {
    fmt::format_to(std::back_inserter(text), "{},{},{},{},{},{},{},{}\n", m.wave, m.electrode, m.col, m.row, m.timeMs,
                   Fixed(m.speedMmS, 3), Direction(m.directionDeg), Fixed(m.amplitudeUv, 1));
  }
  return text;
}

std::string ResultsCsv::StudyText(const std::vector<StudyRow>& rows) {
  std::string text = std::string(kStudyHeader) + '\n';
  for (const StudyRow& r : rows) {
    fmt::format_to(std::back_inserter(text), "{},{},{},{},{},{},{},{},{},{}", TextField(r.file), Fixed(r.durationS, 3),
                   Whole(r.electrodes), Whole(r.deadElectrodes), Whole(r.waves), Fixed(r.frequencyMeanCpm, 3),
                   Fixed(r.frequencySdCpm, 3), Fixed(r.speedMeanMmS, 3), Fixed(r.speedSdMmS, 3),
                   Direction(r.directionMeanDeg));
    for (const int count : r.patternCounts) text += r.error.empty() ? fmt::format(",{}", count) : ",";
    text += ',' + TextField(r.error) + '\n';
  }
  return text;
}

std::vector<std::string> ResultsCsv::StudyLines(const std::string& path, const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  bool header = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header) {
      if (line != kStudyHeader) throw IoError(path, "line 1 is not the header of a study table");
      header = false;
    } else if (!line.empty()) {
      lines.push_back(line);
    }
    start = end + 1;
  }
  if (header) throw IoError(path, "the file is empty, not a study table");
  return lines;
}

}  // namespace velmora
