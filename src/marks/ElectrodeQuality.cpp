#include "marks/ElectrodeQuality.h"

#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "core/SignalUnits.h"
#include "marks/AmplitudeCalculation.h"

namespace velmora {

namespace {

bool Fresh(const AnalysisState& s, const ElectrodeQualityTable& table) {
  return table.signalVersion == s.SignalVersion && table.samplingF == s.SamplingF &&
         table.settings == RobustDetector::SettingsOf(s);
}

}  // namespace

std::shared_ptr<const ElectrodeQualityTable> ElectrodeQuality::Measure(AnalysisState& s,
                                                                      const std::function<bool()>& cancelled) {
  if (s.QualityCache && Fresh(s, *s.QualityCache)) return s.QualityCache;
  const RobustDetector::Settings settings = RobustDetector::SettingsOf(s);
  std::vector<RobustDetector::Electrode> found;
  if (!RobustDetector::Run(s, settings, found, cancelled)) return nullptr;
  Keep(s, settings, found);
  return s.QualityCache;
}

void ElectrodeQuality::Keep(AnalysisState& s, const RobustDetector::Settings& settings,
                            const std::vector<RobustDetector::Electrode>& found) {
  auto table = std::make_shared<Table>();
  table->signalVersion = s.SignalVersion;
  table->samplingF = s.SamplingF;
  table->settings = settings;
  for (size_t c = 0; c < found.size(); ++c) {
    const RobustDetector::Electrode& e = found[c];
    table->electrodes.push_back({int32_t(c) + kFirstElectrode, e.quality,
                                 e.noise / UnitsPerMv(s) * 1000.0,
                                 int32_t(e.activations.size()),
                                 e.dead ? Verdict::Dead : VerdictOf(e.quality, settings.deadQuality)});
  }
  s.QualityCache = std::move(table);
}

ElectrodeQuality::Verdict ElectrodeQuality::VerdictOf(double quality, int32_t deadQuality) {
  if (quality < deadQuality) return Verdict::Dead;
  return quality < 2.0 * deadQuality ? Verdict::Weak : Verdict::Good;
}

const char* ElectrodeQuality::VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Good: return "good";
    case Verdict::Weak: return "weak";
    case Verdict::Dead: return "dead";
  }
  return "dead";
}

std::vector<int32_t> ElectrodeQuality::DeadChannels(const AnalysisState& s, const Table& table, bool onGridOnly) {
  std::vector<int32_t> dead;
  for (const Table::Record& r : table.electrodes) {
    if (r.verdict != Verdict::Dead) continue;
    const bool onGrid = s.ElectrodeX[size_t(r.channel - 1)] >= 1 && s.ElectrodeY[size_t(r.channel - 1)] >= 1;
    if (!onGridOnly || onGrid) dead.push_back(r.channel);
  }
  return dead;
}

}  // namespace velmora
