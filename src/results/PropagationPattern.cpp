#include "results/PropagationPattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace velmora {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// Union-find over the sites, each group remembering the site it started from.
struct Groups {
  std::vector<size_t> parent, first;
  explicit Groups(size_t n) : parent(n), first(n) {
    std::iota(parent.begin(), parent.end(), size_t(0));
    std::iota(first.begin(), first.end(), size_t(0));
  }
  size_t Find(size_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
};

bool Earlier(const std::vector<PropagationPattern::Site>& sites, size_t a, size_t b) {
  return sites[a].timeMs != sites[b].timeMs ? sites[a].timeMs < sites[b].timeMs : a < b;
}

}  // namespace

const char* PropagationPattern::Name(Pattern pattern) {
  switch (pattern) {
    case Pattern::Normal: return "normal";
    case Pattern::Retrograde: return "retrograde";
    case Pattern::Ectopic: return "ectopic";
    case Pattern::Collision: return "collision";
    case Pattern::Block: return "block";
    case Pattern::Other: return "other";
  }
  return "other";
}

std::optional<Pattern> PropagationPattern::Named(const std::string& name) {
  for (const Pattern p : {Pattern::Normal, Pattern::Retrograde, Pattern::Ectopic, Pattern::Collision,
                          Pattern::Block, Pattern::Other})
    if (name == Name(p)) return p;
  return std::nullopt;
}

std::vector<PropagationPattern::Site> PropagationPattern::Smoothed(const std::vector<Site>& sites, int cols,
                                                                  int rows) {
  TimeGrid grid(cols, rows);
  for (const Site& s : sites)
    if (grid.Inside(s.col, s.row)) grid.Set(s.col, s.row, s.timeMs);
  std::vector<Site> smoothed = sites;
  std::vector<double> around;
  for (Site& s : smoothed) {
    around.clear();
    for (int dc = -1; dc <= 1; ++dc)
      for (int dr = -1; dr <= 1; ++dr)
        if (grid.Has(s.col + dc, s.row + dr)) around.push_back(grid.At(s.col + dc, s.row + dr));
    if (around.empty()) continue;
    std::sort(around.begin(), around.end());
    const size_t n = around.size();
    s.timeMs = n % 2 == 1 ? around[n / 2] : (around[n / 2 - 1] + around[n / 2]) / 2;
  }
  return smoothed;
}

double PropagationPattern::Prominence(const std::vector<Site>& sites) {
  if (sites.empty()) return kLeastProminenceMs;
  const auto [low, high] = std::minmax_element(sites.begin(), sites.end(),
                                               [](const Site& a, const Site& b) { return a.timeMs < b.timeMs; });
  return std::max(kLeastProminenceMs, kProminenceShare * (high->timeMs - low->timeMs));
}

std::vector<size_t> PropagationPattern::Origins(const std::vector<Site>& sites, double prominenceMs) {
  std::vector<size_t> order(sites.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return Earlier(sites, a, b); });
  std::vector<size_t> origins;
  if (order.empty()) return origins;
  Groups groups(sites.size());
  std::vector<bool> added(sites.size(), false);
  for (const size_t i : order) {
    added[i] = true;
    for (size_t j = 0; j < sites.size(); ++j) {
      if (!added[j] || j == i) continue;
      if (std::abs(sites[j].col - sites[i].col) > 1 || std::abs(sites[j].row - sites[i].row) > 1) continue;
      size_t a = groups.Find(i), b = groups.Find(j);
      if (a == b) continue;
      if (Earlier(sites, groups.first[b], groups.first[a])) std::swap(a, b);  // a started first
      const size_t younger = groups.first[b];
      if (sites[i].timeMs - sites[younger].timeMs >= prominenceMs) origins.push_back(younger);
      groups.parent[b] = a;
    }
  }
  origins.insert(origins.begin(), order.front());
  std::sort(origins.begin() + 1, origins.end(), [&](size_t a, size_t b) { return Earlier(sites, a, b); });
  return origins;
}

double PropagationPattern::AngleBetween(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

bool PropagationPattern::Inside(const Wave& w, const Site& site) {
  return site.col - 1 >= kInsideDistance && w.cols - site.col >= kInsideDistance && site.row - 1 >= kInsideDistance &&
         w.rows - site.row >= kInsideDistance;
}

int PropagationPattern::BlockedElectrodes(const Wave& w) {
  if (!w.before || !w.after || w.sites.empty()) return 0;
  int minCol = w.cols, maxCol = 1, minRow = w.rows, maxRow = 1;
  for (const Site& s : w.sites) {
    minCol = std::min(minCol, s.col), maxCol = std::max(maxCol, s.col);
    minRow = std::min(minRow, s.row), maxRow = std::max(maxRow, s.row);
  }
  int blocked = 0;
  for (int col = minCol; col <= maxCol; ++col) {
    for (int row = minRow; row <= maxRow; ++row) {
      if (w.electrodes && !(*w.electrodes)[size_t(col - 1) * size_t(w.rows) + size_t(row - 1)]) continue;
      if (!w.times.Has(col, row) && w.before->Has(col, row) && w.after->Has(col, row)) ++blocked;
    }
  }
  return blocked;
}

// The velocities point away from the origin, and the wave lies on most sides of it.
bool PropagationPattern::SpreadsOutward(const Wave& w, const Site& origin) {
  double cosines = 0;
  int measured = 0;
  for (const VelocityEstimate& e : w.velocities) {
    const double dx = e.x - origin.col, dy = e.y - origin.row;
    const double away = std::hypot(dx, dy), speed = std::hypot(e.velocity.vx, e.velocity.vy);
    if (away < 0.5 || speed == 0) continue;
    cosines += (dx * e.velocity.vx + dy * e.velocity.vy) / (away * speed);
    ++measured;
  }
  if (measured == 0 || cosines / measured < kOutwardCosine) return false;
  std::array<bool, 4> sides{};
  for (const Site& s : w.sites) {
    const int dx = s.col - origin.col, dy = s.row - origin.row;
    if (dx == 0 && dy == 0) continue;
    if (std::abs(dx) >= std::abs(dy)) sides[dx > 0 ? 0 : 2] = true;
    if (std::abs(dy) >= std::abs(dx)) sides[dy > 0 ? 3 : 1] = true;
  }
  return std::count(sides.begin(), sides.end(), true) >= kOutwardSides;
}

Pattern PropagationPattern::Classify(const Wave& w, const std::vector<size_t>& origins) {
  if (w.sites.empty()) return Pattern::Other;
  if (BlockedElectrodes(w) >= kBlockElectrodes) return Pattern::Block;
  if (origins.size() >= 2) return Pattern::Collision;
  const Site& origin = w.sites[origins.front()];
  if (Inside(w, origin)) return SpreadsOutward(w, origin) ? Pattern::Ectopic : Pattern::Other;
  if (!w.directionDeg) return Pattern::Other;
  if (AngleBetween(*w.directionDeg, w.normalDeg) <= kPatternAngle) return Pattern::Normal;
  if (AngleBetween(*w.directionDeg, w.normalDeg + 180) <= kPatternAngle) return Pattern::Retrograde;
  return Pattern::Other;
}

}  // namespace velmora
