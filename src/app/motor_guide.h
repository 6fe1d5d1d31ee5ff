// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/flight_export.h"
#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "motors/motor_database.h"
#include "sim/flight_safety.h"
#include "sim/remedies.h"
#include "sim/sim_constants.h"
#include "sim/simulation.h"

namespace komet {

// Which motors the guide flies and which of its rows it shows. Classes are
// impulse classes ("C", "1/2A"); empty ends are open. Diameter and length
// are the mount's limits (FitOf); 0 takes every motor. A motor without
// details has no known size or maker and is taken unless a maker is asked
// for. The flight limits (apogee,
// speed, mark, delay) only hide rows: changing them needs no new flights.
struct GuideFilter {
  std::string classFrom, classTo;
  std::string maker;               // compared without regard to case
  double maxDiameterMm = 0.0;      // the mount's; 0: any
  double maxLengthMm = 0.0;        // the mount's with the overhang; 0: any
  double minApogee = 0.0;          // m; 0: open
  double maxApogee = 0.0;          // m; 0: open
  double maxVelocity = 0.0;        // m/s; 0: any
  bool onlyGreen = false;          // keep the rows no rule fired for
  bool matchingDelayOnly = false;  // keep rows whose best delay lies in its tolerance band
};

// "C..E", "D", "..E", "C.." into the filter's class range. Throws KometError
// for a text that names no class.
void ParseClassRange(std::string_view text, GuideFilter& filter);

// The filter's diameter and length for a stage's motor mount: the motor's
// diameter up to the mount's, its length up to the mount's plus the overhang.
void FitMount(const MotorMount& mount, GuideFilter& filter);
// The filter's start for the rocket: the main stage's mount (StageMountOf),
// the limits that neither the shape nor the motor tells left as they are.
void FitStageMount(const RocketRecord& rocket, const std::optional<RocketShape>& shape, GuideFilter& filter);

// Whether a motor of the database is a candidate (before flying).
bool GuideAccepts(const GuideFilter& filter, const MotorRecord& motor);

// One candidate's flight with the rocket's other values unchanged.
struct GuideRow {
  enum class Mark { Green, Amber, Red };
  std::string motor;  // the database name, UTF-8
  std::string maker;  // UTF-8; empty without details
  std::int32_t recordNo = -1;
  bool noFlight = false;
  double apogee = 0.0, apogeeTime = 0.0;              // m, s
  double maxVelocity = 0.0;                           // m/s
  std::optional<double> railExitVelocity;             // m/s; none: never leaves the rail
  double thrustToWeight = 0.0;                        // peak thrust over lift-off weight
  double recommendedDelay = 0.0;                      // s
  std::optional<int> bestDelay;                       // the published delay closest to it
  std::optional<double> ejectionVelocity;             // m/s at that ejection
  std::optional<double> landingSpeed;                 // m/s; none without recovery
  std::optional<double> drift;                        // m at the site's wind; none without recovery
  std::optional<bool> onField;                        // drift within the field; none: no recovery, not judged
  std::optional<FlightFigures::Stability> stability;  // none without a shape
  std::vector<FlightWarning> findings;                // the safety rules that fired, in their order
  std::vector<Remedy> remedies;                       // what would clear a finding, where one exists
  Mark mark = Mark::Green;                            // red or amber after the worst finding

  // Best delay minus the recommended one, s; nothing without a best delay.
  std::optional<double> delayDifference() const;
  bool delayFits() const;  // the difference lies within the best delay's tolerance band
};

// The guide: stage 1's first motor slot flown with each candidate in turn
// (same count), each a full run of the simulation, on worker threads that
// each own their simulation table. With the rocket's recovery each
// candidate first flies without it, which its recommended and best delay
// read, then to landing; a device opened by the ejection charge opens at
// the candidate's own best delay.
class MotorGuide {
 public:
  // Reads the constants once (the runs happen on other threads).
  MotorGuide(const RocketRecord& rocket, const SimConstants& constants, std::vector<MotorRecord> candidates,
             std::vector<std::int32_t> recordNos, char decimalSeparator, const SafetyInputs& safety = {},
             std::optional<RocketShape> shape = std::nullopt);

  // Flies every candidate; returns early when `cancel` becomes true (the
  // rows flown so far are kept). Never throws for a damaged motor: its row
  // says "kein Flug".
  void Run(unsigned threads, const std::atomic<bool>& cancel);

  std::size_t size() const { return candidates_.size(); }
  std::size_t done() const { return done_.load(); }  // safe from another thread
  bool complete() const { return done() == size(); }

  // The flown rows that the filter's flight limits show, in the guide's
  // order (GuideBefore); call after Run.
  std::vector<GuideRow> Rows(const GuideFilter& filter = {}) const;

 private:
  GuideRow Fly(std::size_t index, Simulation& simulation) const;

  RocketRecord rocket_;
  FixedConstants constants_;
  std::vector<MotorRecord> candidates_;
  std::vector<std::int32_t> recordNos_;
  char sep_;
  std::optional<RocketShape> shape_;  // judged through safety_.shape
  SafetyInputs safety_;
  std::vector<std::optional<GuideRow>> rows_;
  std::atomic<std::size_t> done_{0};
};

// Whether a flown row passes the filter's flight limits.
bool GuideShows(const GuideFilter& filter, const GuideRow& row);

// The guide's order: green before amber before red, then landing on the
// field before landing off it (a landing not judged, without recovery, is
// not held against a motor), then how well the best delay fits (within half
// its tolerance band, within the band, outside it, no delay), then the
// higher apogee.
bool GuideBefore(const GuideRow& a, const GuideRow& b);

// What the guide judged by, German: "Feld: Radius 150 m, keine Höhengrenze ·
// Wind 5 m/s · Motorhalterung: Ø 18 mm, 70 mm", without recovery followed
// by "Landung nicht beurteilt (keine Bergung)". The mount is the filter's
// diameter and length ("beliebig" where open).
std::string GuideFieldLine(const LaunchField& field, double wind, const GuideFilter& filter, bool recovery,
                           char decimalSeparator);

// "green", "amber", "red"; and as the German table says it: "grün", "gelb", "rot".
std::string_view MarkKey(GuideRow::Mark mark);
std::string_view MarkText(GuideRow::Mark mark);

// Whether the rocket has a motor slot for the guide to replace.
bool GuideCanRun(const RocketRecord& rocket);

// The candidates of a database: every offered record that the filter takes;
// none from a file that cannot be read.
void GuideCandidates(const std::filesystem::path& database, const GuideFilter& filter,
                     std::vector<MotorRecord>& motors, std::vector<std::int32_t>& recordNos);

// The table as JSON (an array of rows, SI units, non-finite numbers null;
// each row's mark, the keys of its rules and its remedies) and as the spreadsheet CSV of
// the evaluation.
std::string GuideJson(std::span<const GuideRow> rows);
std::string GuideCsv(std::span<const GuideRow> rows, CsvDialect dialect);

}  // namespace komet
