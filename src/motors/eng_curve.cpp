// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/eng_curve.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <queue>
#include <tuple>

#include "common/format.h"

namespace komet {
namespace {

// Removing a point changes the trapezoid impulse by exactly the area of the
// triangle it spans with its neighbours.
double TriangleArea(const CurvePoint& a, const CurvePoint& b, const CurvePoint& c) {
  return 0.5 *
         std::abs((b.time - a.time) * (c.thrust - a.thrust) - (c.time - a.time) * (b.thrust - a.thrust));
}

// A doubly linked list over the points, with a heap of removal costs whose
// stale entries are recognised by their version.
class Thinner {
 public:
  explicit Thinner(std::span<const CurvePoint> points) : p_(points), alive_(points.size(), true) {
    const std::size_t n = points.size();
    prev_.resize(n);
    next_.resize(n);
    version_.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
      prev_[i] = i - 1;  // wraps for i = 0; never used there
      next_[i] = i + 1;
    }
    peak_ = PeakIndex(points);
    for (std::size_t i = 1; i + 1 < n; ++i) push(i);
  }

  std::vector<CurvePoint> run(std::size_t maxPoints) {
    std::size_t count = p_.size();
    while (count > maxPoints && !heap_.empty()) {
      const auto [cost, i, version] = heap_.top();
      heap_.pop();
      if (!alive_[i] || version != version_[i]) continue;
      remove(i);
      --count;
    }
    std::vector<CurvePoint> out;
    out.reserve(count);
    for (std::size_t i = 0; i < p_.size(); ++i)
      if (alive_[i]) out.push_back(p_[i]);
    return out;
  }

 private:
  using Entry = std::tuple<double, std::size_t, std::uint32_t>;

  bool removable(std::size_t i) const { return i != 0 && i + 1 != p_.size() && i != peak_; }

  void push(std::size_t i) {
    if (!removable(i)) return;
    heap_.emplace(TriangleArea(p_[prev_[i]], p_[i], p_[next_[i]]), i, ++version_[i]);
  }

  void remove(std::size_t i) {
    alive_[i] = false;
    next_[prev_[i]] = next_[i];
    prev_[next_[i]] = prev_[i];
    push(prev_[i]);
    push(next_[i]);
  }

  std::span<const CurvePoint> p_;
  std::vector<bool> alive_;
  std::vector<std::size_t> prev_, next_;
  std::vector<std::uint32_t> version_;
  std::size_t peak_ = 0;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap_;
};

}  // namespace

double CurveImpulse(std::span<const CurvePoint> points) {
  double impulse = 0.0;
  for (std::size_t k = 1; k < points.size(); ++k)
    impulse += 0.5 * (points[k].time - points[k - 1].time) * (points[k].thrust + points[k - 1].thrust);
  return impulse;
}

std::size_t PeakIndex(std::span<const CurvePoint> points) {
  std::size_t peak = 0;
  for (std::size_t k = 1; k < points.size(); ++k)
    if (points[k].thrust > points[peak].thrust) peak = k;
  return peak;
}

std::vector<CurvePoint> ThinCurve(std::span<const CurvePoint> points, std::size_t maxPoints) {
  if (points.size() <= maxPoints) return {points.begin(), points.end()};
  return Thinner(points).run(maxPoints);
}

const char* AddCurvePoint(std::vector<CurvePoint>& points, CurvePoint point) {
  if (point.thrust < 0) return "Schub negativ";
  if (point == points.back()) return nullptr;
  if (point.time == 0.0 && points.back().time == 0.0) {
    points.back() = point;
    return nullptr;
  }
  if (!(point.time >= points.back().time)) return kTimeGoesBack;
  points.push_back(point);
  return nullptr;
}

FinishedCurve FinishCurve(std::vector<CurvePoint> points) {
  constexpr double kTailStep = 0.001;
  constexpr std::size_t kMaxPoints = 101;  // a record's curve
  FinishedCurve out;
  if (!points.empty() && points.back().thrust > 0.0) points.push_back({points.back().time + kTailStep, 0.0});
  out.impulse = CurveImpulse(points);
  if (points.size() > kMaxPoints) {
    points = ThinCurve(points, kMaxPoints);
    const double deviation =
        out.impulse > 0 ? 100.0 * (CurveImpulse(points) - out.impulse) / out.impulse : 0.0;
    out.thinnedNote = Format(',', "Schubkurve auf %d Punkte ausgedünnt (Impulsabweichung %.2f %%)",
                             static_cast<int>(points.size()), deviation);
  }
  out.points = std::move(points);
  return out;
}

}  // namespace komet
