// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/flight_launch.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "common/komet_error.h"

namespace komet {
namespace {

// The pad is read from the samples ending this long before the rise (the
// first tenths of the climb are no pad), over at least kPadSpan, at most the
// last kPadLookBack (older samples may have drifted with the weather).
constexpr double kPadGuard = 0.25;
constexpr double kPadSpan = 0.5;
constexpr double kPadLookBack = 10.0;
// A recording that ends this long with the height still is on the ground.
constexpr double kLandingSpan = 2.0;

double Median3(double a, double b, double c) {
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

double Median(std::vector<double> v) {
  const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), middle, v.end());
  return *middle;
}

// How far `share` of the values lie from `centre`; three quarters is small
// for a pad's noise and large for a pressure dip.
double Spread(std::vector<double> v, double centre, double share = 0.75) {
  for (double& x : v) x = std::fabs(x - centre);
  const auto at = v.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(v.size() - 1) * share);
  std::nth_element(v.begin(), at, v.end());
  return *at;
}

std::vector<double> Heights(const FlightLog& log, std::size_t from, std::size_t to) {
  return {log.height.begin() + static_cast<std::ptrdiff_t>(from),
          log.height.begin() + static_cast<std::ptrdiff_t>(to)};
}

void Smooth(FlightLog& log) {
  const std::size_t n = log.size();
  log.smoothed.resize(n);
  for (std::size_t i = 1; i + 1 < n; ++i)
    log.smoothed[i] = Median3(log.height[i - 1], log.height[i], log.height[i + 1]);
  // The ends have no median of their own; a last wild reading is no apogee.
  log.smoothed[0] = log.smoothed[1];
  log.smoothed[n - 1] = log.smoothed[n - 2];
}

// The first sample from which the median stays above `level` for
// kLaunchHold (or, at least three samples, to the recording's end): a dip
// or spike of the pressure sensor does not last that long. n when none.
std::size_t FirstSustained(const FlightLog& log, double level) {
  const std::size_t n = log.size();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && log.smoothed[i] <= level) ++i;
    std::size_t end = i;
    while (end < n && log.smoothed[end] > level) ++end;
    if (i < n && (end == n ? end - i >= 3 || log.time[n - 1] - log.time[i] >= kLaunchHold
                           : log.time[end] > log.time[i] + kLaunchHold))
      return i;
    i = end;
  }
  return n;
}

// The samples before the rise (on the recording's own clock): their level,
// whether they lie still, and whether they last long enough to be the pad.
struct BeforeRise {
  double level = 0.0, noise = 0.0;  // noise: how far 90 % of them lie from the level
  bool still = false, longEnough = false;
};

std::optional<BeforeRise> SamplesBeforeRise(const FlightLog& log) {
  const std::size_t rise = FirstSustained(log, log.smoothed[0] + kLaunchRise);
  if (rise == log.size()) return std::nullopt;
  const double last = log.time[rise] - kPadGuard;
  std::size_t from = 0, to = 0;
  while (from < rise && log.time[from] < last - kPadLookBack) ++from;
  for (to = from; to < rise && log.time[to] <= last;) ++to;
  if (to < from + 3) return std::nullopt;
  const std::vector<double> before = Heights(log, from, to);
  BeforeRise b{Median(before), 0.0, false, last - log.time[from] >= kPadSpan};
  b.noise = Spread(before, b.level, 0.9);
  // A pressure dip at ignition is no pad, however long it lasts.
  b.still = Spread(before, b.level) < kLaunchRise;
  return b;
}

// Where the recording ends still and back near where it began, that level.
std::optional<double> LandingLevel(const FlightLog& log) {
  const std::size_t n = log.size();
  std::size_t from = n;
  while (from > 0 && log.time[from - 1] >= log.time[n - 1] - kLandingSpan) --from;
  if (n - from < 3 || log.time[n - 1] - log.time[from] < 0.5 * kLandingSpan) return std::nullopt;
  const std::vector<double> end = Heights(log, from, n);
  const double level = Median(end);
  if (Spread(end, level) >= kLaunchRise) return std::nullopt;
  const auto top = std::max_element(log.smoothed.begin(), log.smoothed.end());
  const double low = *std::min_element(log.smoothed.begin(), top + 1);
  if (level > low + 0.1 * (*top - low)) return std::nullopt;
  return level;
}

// The pad level and where the rise began is looked for from: the still
// samples before the rise where the recording holds enough of them. Else
// it starts in boost, and the altimeter's zero is the pad (its heights are
// above ground) unless the level after landing says otherwise.
struct Pad {
  double level = 0.0;
  PadSource source = PadSource::AltimeterZero;
  std::optional<BeforeRise> before;  // still samples before the rise
};

Pad PadLevel(const FlightLog& log) {
  const std::optional<BeforeRise> before = SamplesBeforeRise(log);
  if (before && before->still && before->longEnough) return {before->level, PadSource::BeforeRise, before};
  Pad pad;
  if (before && before->still) pad.before = before;
  if (const auto landing = LandingLevel(log)) {
    const double top = *std::max_element(log.smoothed.begin(), log.smoothed.end());
    if (std::fabs(*landing) > std::max(5.0 * kLaunchRise, 0.03 * (top - *landing)))
      pad = {*landing, PadSource::AfterLanding, pad.before};
  }
  return pad;
}

// When the median first passes `level` after `from`, interpolated; the
// launch when it never does.
double TimeAtLevel(const FlightLog& log, std::size_t from, double level) {
  std::size_t k = from + 1;
  while (k < log.size() && log.smoothed[k] < level) ++k;
  if (k == log.size()) return log.time[from];
  const double a = log.smoothed[k - 1], b = log.smoothed[k];
  return log.time[k - 1] + (log.time[k] - log.time[k - 1]) * (level - a) / (b - a);
}

}  // namespace

void FindLaunch(FlightLog& log, const std::string& file) {
  const std::size_t n = log.size();
  Smooth(log);
  const Pad pad = PadLevel(log);
  const std::size_t stays = FirstSustained(log, pad.level + kLaunchRise);
  if (stays == n)
    Fail(file, log.lastDataLine, "kein Start: die Höhe steigt nirgends 3 m über den Startplatz");
  // Back to where the rise began: the last point within half the noise of
  // the still samples before it, or where the recording starts in boost, at
  // the pad or the lowest point before the rise, whichever is higher (a dip
  // at ignition is no pad).
  const auto rise = log.smoothed.begin() + static_cast<std::ptrdiff_t>(stays);
  const double foot = pad.before ? pad.before->level + 0.5 * pad.before->noise
                                 : std::max(pad.level, *std::min_element(log.smoothed.begin(), rise + 1));
  std::size_t launch = stays;
  while (launch > 0 && log.smoothed[launch] > foot) --launch;
  log.launchIndex = launch;
  log.launchTime = log.time[launch];
  log.padHeight = pad.level;
  log.padSource = pad.source;
  const double start = log.smoothed[launch];
  const double riseLevel = start < pad.level + kLaunchRise ? pad.level + kLaunchRise : start + kLaunchRise;
  log.riseTime = TimeAtLevel(log, launch, riseLevel) - log.launchTime;
  for (std::size_t i = 0; i < n; ++i) {
    log.time[i] -= log.launchTime;
    log.height[i] -= pad.level;
    log.smoothed[i] -= pad.level;
  }
  log.apogeeIndex = static_cast<std::size_t>(
      std::max_element(log.smoothed.begin() + static_cast<std::ptrdiff_t>(launch), log.smoothed.end()) -
      log.smoothed.begin());
  log.apogee = log.smoothed[log.apogeeIndex];
  log.apogeeTime = log.time[log.apogeeIndex];
}

}  // namespace komet
