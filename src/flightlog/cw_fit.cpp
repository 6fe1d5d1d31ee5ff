// SPDX-License-Identifier: GPL-3.0-or-later
#include "flightlog/cw_fit.h"

#include <cmath>
#include <memory>

#include "common/format.h"
#include "common/komet_error.h"

namespace komet {
namespace {

// One trial: the rocket's plan with another cw, a full run.
class Trials {
 public:
  Trials(const RocketRecord& rocket, const SimConstants& constants, const FlightLog& log)
      : plan_(MakeFlightPlan(rocket, constants)), log_(log), sim_(std::make_unique<Simulation>()) {}

  const Simulation& Fly(double cw) {
    FlightPlan trial = plan_;
    trial.cw = cw;
    sim_->Run(trial);
    ++runs_;
    return *sim_;
  }
  double Apogee(double cw) { return Fly(cw).results().maxHeight; }

  // Root mean square of measured minus simulated height over the ascent, m.
  double AscentRms(double cw) {
    const Simulation& sim = Fly(cw);
    const double launch = SimulatedLaunchTime(sim, log_);
    double sum = 0.0;
    std::size_t n = 0;
    for (std::size_t i = log_.launchIndex; i <= log_.apogeeIndex; ++i, ++n) {
      const double d = log_.height[i] - SimulatedHeightAt(sim, launch + log_.time[i]);
      sum += d * d;
    }
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(n, 1)));
  }
  const Simulation& last() const { return *sim_; }
  int runs() const { return runs_; }

 private:
  FlightPlan plan_;
  const FlightLog& log_;
  std::unique_ptr<Simulation> sim_;  // the sample table is large
  int runs_ = 0;
};

[[noreturn]] void Refuse(const FlightLog& log, double low, double high, char sep) {
  throw KometError(
      KometError::Kind::Format,
      Format(sep,
             "%s: Kein cw zwischen %.2f und %.1f passt. Gemessen: Gipfel %.1f m; die Simulation "
             "erreicht mit cw %.2f %.1f m, mit cw %.1f %.1f m. Ist die Aufzeichnung von einer anderen "
             "Rakete, oder flog ein anderer Motor? Ein anderer Motor oder ein Bergungssystem, das vor "
             "dem Gipfel auslöst, machen den Abgleich ungültig.",
             log.fileName, kFitCwMin, kFitCwMax, log.apogee, kFitCwMin, low, kFitCwMax, high));
}

// The simulated apogee falls as cw grows: bisection to the tolerance.
double BisectApogee(Trials& trials, const FlightLog& log, char sep) {
  double lo = kFitCwMin, hi = kFitCwMax;
  const double atLo = trials.Apogee(lo), atHi = trials.Apogee(hi);
  if (!(log.apogee <= atLo && log.apogee >= atHi)) Refuse(log, atLo, atHi, sep);
  while (hi - lo > kFitCwTolerance) {
    const double mid = 0.5 * (lo + hi);
    (trials.Apogee(mid) > log.apogee ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

// Golden-section search for the least squares over the ascent.
double GoldenAscent(Trials& trials) {
  const double g = (std::sqrt(5.0) - 1.0) / 2.0;
  double a = kFitCwMin, b = kFitCwMax;
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = trials.AscentRms(c), fd = trials.AscentRms(d);
  while (b - a > kFitCwTolerance) {
    if (fc < fd) {
      b = d, d = c, fd = fc;
      c = b - g * (b - a);
      fc = trials.AscentRms(c);
    } else {
      a = c, c = d, fc = fd;
      d = a + g * (b - a);
      fd = trials.AscentRms(d);
    }
  }
  return 0.5 * (a + b);
}

}  // namespace

double SimulatedRiseTime(const Simulation& simulation) {
  const auto samples = simulation.samples();
  const std::size_t last = simulation.lastSample();
  std::size_t rise = 2;
  while (rise <= last && samples[rise].height < kLaunchRise) ++rise;
  if (rise > last) return 0.0;
  const FlightSample &a = samples[rise - 1], &b = samples[rise];
  return a.time + (b.time - a.time) * (kLaunchRise - a.height) / (b.height - a.height);
}

double SimulatedLaunchTime(const Simulation& simulation, const FlightLog& log) {
  return SimulatedRiseTime(simulation) - log.riseTime;
}

double SimulatedHeightAt(const Simulation& simulation, double t) {
  const auto samples = simulation.samples();
  const std::size_t last = simulation.lastSample();
  if (last < 1) return 0.0;
  // Sample n holds the time (n - 1) x 5 ms.
  const double pos = t / kTimeStep + 1.0;
  if (!(pos > 1.0)) return samples[1].height;
  if (pos >= static_cast<double>(last)) return samples[last].height;
  const auto n = static_cast<std::size_t>(pos);
  const double f = pos - static_cast<double>(n);
  return samples[n].height + f * (samples[n + 1].height - samples[n].height);
}

FlightComparison CompareFlight(const Simulation& simulation, const FlightLog& log) {
  const FlightResults& r = simulation.results();
  return {log.apogee, log.apogeeTime, r.maxHeight, r.maxHeightTime - SimulatedLaunchTime(simulation, log)};
}

std::string ComparisonText(const FlightComparison& c, const std::string& fileName, char sep) {
  return Format(sep, "Messflug %s: Gipfel %.1f m nach %.2f s; berechnet %.1f m nach %.2f s (%+.1f %%)",
                fileName, c.measuredApogee, c.measuredApogeeTime, c.predictedApogee, c.predictedApogeeTime,
                c.apogeeDifferencePercent());
}

CwFit FitCw(const RocketRecord& rocket, const SimConstants& constants, const FlightLog& log, char sep) {
  Trials trials(rocket, constants, log);
  CwFit fit;
  fit.rocketCw = rocket.cw;
  fit.comparison = CompareFlight(trials.Fly(rocket.cw), log);
  fit.cwApogee = BisectApogee(trials, log, sep);
  fit.apogeeAtCwApogee = trials.Apogee(fit.cwApogee);
  fit.cwAscent = GoldenAscent(trials);
  fit.rmsAscent = trials.AscentRms(fit.cwAscent);
  fit.apogeeAtCwAscent = trials.last().results().maxHeight;
  fit.runs = trials.runs();
  return fit;
}

}  // namespace komet
