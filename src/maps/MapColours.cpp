#include "maps/MapColours.h"

#include <array>

#include "core/AnalysisState.h"
#include "marks/ElectrodeQuality.h"

namespace velmora {

namespace {

constexpr Colour kOutsidePalette = 0x808080;

// Black, then red through yellow and greens to blues, pink and a dark purple.
constexpr std::array<Colour, MapColours::kBandCount> kPalette = {
    0x000000, 0xFF0000, 0xFF8844, 0xFFFF00, 0x88FF88, 0x00DF00, 0x00AA00,
    0x88FFFF, 0x8888FF, 0x0077DE, 0xFF3B1E, 0xFF84C1, 0x3F0048,
};

}  // namespace

int32_t MapColours::BandStep(const AnalysisState& state) {
  return state.IsochroneStep < 1 ? 1 : state.IsochroneStep;
}

int64_t MapColours::BandBase(const AnalysisState& state) {
  const int64_t step = BandStep(state);
  return state.CurMapKind == 0 ? (int64_t(state.MapMinTime) / step) * step : 0;
}

int MapColours::ColourIndex(const AnalysisState& state, int32_t value) {
  return ColourIndexFrom(state, value, BandBase(state));
}

int MapColours::ColourIndexFrom(const AnalysisState& state, int64_t value, int64_t base) {
  const int64_t step = BandStep(state);
  int64_t w = value - base;
  // One colour cycle; a value exactly one cycle above the base keeps the band after the last
  // (pink), anything further starts the cycle again.
  const int64_t cycle = int64_t(state.IsochroneParam) * step;
  if (cycle > 0 && w > cycle) w %= cycle;
  return int(w / step + 1);
}

int MapColours::QualityBand(int32_t verdict) {
  switch (ElectrodeQualityTable::Verdict(verdict)) {
    case ElectrodeQualityTable::Verdict::Good: return 5;
    case ElectrodeQualityTable::Verdict::Weak: return 3;
    case ElectrodeQualityTable::Verdict::Dead: return 1;
  }
  return 1;
}

Colour MapColours::MapColour(int band) {
  if (band < 0 || band >= kBandCount) return kOutsidePalette;
  return kPalette[size_t(band)];
}

}  // namespace velmora
