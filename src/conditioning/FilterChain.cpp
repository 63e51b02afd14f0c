#include "conditioning/FilterChain.h"

#include <charconv>
#include <sstream>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"

namespace velmora {

namespace {

constexpr int kMostHarmonics = 20, kMostSeconds = 3600, kMostHz = 100000, kMostMs = 10000, kMostOrder = 6;

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, by);) parts.push_back(part);
  if (!text.empty() && text.back() == by) parts.emplace_back();
  return parts;
}

bool Whole(const std::string& text, int lowest, int highest, int& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end && value >= lowest && value <= highest;
}

}  // namespace

FilterChain FilterChain::FromState(const AnalysisState& s) {
  FilterChain chain;
  chain.mainsHz = s.FilterMains == 1 ? 50 : s.FilterMains == 2 ? 60 : 0;
  chain.mainsHarmonics = s.FilterMainsHarmonics;
  chain.baselineSeconds = s.FilterBaselineSeconds;
  chain.lowPassHz = s.FilterLowPassHz;
  chain.smoothingMs = s.FilterSmoothingMs;
  chain.smoothingOrder = s.FilterSmoothingOrder;
  return chain;
}

void FilterChain::Store(AnalysisState& s) const {
  s.FilterMains = mainsHz == 50 ? 1 : mainsHz == 60 ? 2 : 0;
  s.FilterMainsHarmonics = mainsHarmonics;
  s.FilterBaselineSeconds = baselineSeconds;
  s.FilterLowPassHz = lowPassHz;
  s.FilterSmoothingMs = smoothingMs;
  s.FilterSmoothingOrder = smoothingOrder;
}

std::string FilterChain::Text() const {
  std::vector<std::string> steps;
  if (mainsHz > 0) steps.push_back(fmt::format("notch:{}:{}", mainsHz, mainsHarmonics));
  if (baselineSeconds > 0) steps.push_back(fmt::format("baseline:{}", baselineSeconds));
  if (lowPassHz > 0) steps.push_back(fmt::format("lowpass:{}", lowPassHz));
  if (smoothingMs > 0) steps.push_back(fmt::format("sg:{}:{}", smoothingMs, smoothingOrder));
  return steps.empty() ? "none" : fmt::format("{}", fmt::join(steps, ","));
}

std::string FilterChain::Description() const {
  std::vector<std::string> steps;
  if (mainsHz > 0)
    steps.push_back(fmt::format("mains notch {} Hz{}", mainsHz,
                                mainsHarmonics > 1 ? fmt::format(" and {} harmonics", mainsHarmonics - 1) : ""));
  if (baselineSeconds > 0) steps.push_back(fmt::format("baseline high-pass {} s", baselineSeconds));
  if (lowPassHz > 0) steps.push_back(fmt::format("low-pass {} Hz", lowPassHz));
  if (smoothingMs > 0) steps.push_back(fmt::format("Savitzky-Golay {} ms, order {}", smoothingMs, smoothingOrder));
  return steps.empty() ? "no filters" : fmt::format("{}", fmt::join(steps, ", "));
}

std::optional<std::string> FilterChain::Parse(const std::string& text, FilterChain& chain) {
  FilterChain parsed;
  parsed.mainsHarmonics = chain.mainsHarmonics;
  parsed.smoothingOrder = chain.smoothingOrder;
  if (text == "none") {
    chain = parsed;
    return std::nullopt;
  }
  for (const std::string& step : Split(text, ',')) {
    std::vector<std::string> parts = Split(step, ':');
    if (parts.empty()) parts.emplace_back();
    const std::string& name = parts.front();
    const size_t n = parts.size();
    bool ok = false;
    if (name == "notch" && (n == 2 || n == 3)) {
      ok = (parts[1] == "50" || parts[1] == "60") && Whole(parts[1], 50, 60, parsed.mainsHz) &&
           (n == 2 || Whole(parts[2], 1, kMostHarmonics, parsed.mainsHarmonics));
    } else if (name == "baseline" && n == 2) {
      ok = Whole(parts[1], 1, kMostSeconds, parsed.baselineSeconds);
    } else if (name == "lowpass" && n == 2) {
      ok = Whole(parts[1], 1, kMostHz, parsed.lowPassHz);
    } else if (name == "sg" && (n == 2 || n == 3)) {
      ok = Whole(parts[1], 1, kMostMs, parsed.smoothingMs) &&
           (n == 2 || Whole(parts[2], 0, kMostOrder, parsed.smoothingOrder));
    }
    if (!ok)
      return fmt::format("\"{}\" is not a filter step: notch:50|60[:HARMONICS 1-{}], baseline:SECONDS (1-{}), "
                         "lowpass:HZ (1-{}), sg:MS[:ORDER 0-{}] or none",
                         step, kMostHarmonics, kMostSeconds, kMostHz, kMostOrder);
  }
  chain = parsed;
  return std::nullopt;
}

}  // namespace velmora
