// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/recovery.h"
#include "model/rocket_record.h"
#include "sim/recovery_figures.h"
#include "sim/sim_constants.h"
#include "sim/simulation.h"

namespace komet {

// The recovery dialog's state as plain data: the texts of its fields
// (UTF-8). Both devices keep their fields while the other kind is chosen,
// so switching back and forth loses nothing.
struct RecoveryForm {
  enum class Kind { None, Parachute, Streamer };

  Kind kind = Kind::None;
  std::string diameter;  // mm
  std::string chuteCw;
  std::string length;  // mm
  std::string width;   // mm
  std::string streamerCw;
  bool atApogee = false;
  std::string delay;          // s after burnout
  std::string inflationTime;  // s
  std::string descentRate;    // m/s, the chute-size helper's target
};

// Which field a refusal is about, so the dialog can put the cursor there.
enum class RecoveryField { None, Diameter, ChuteCw, Length, Width, StreamerCw, Delay, InflationTime };

// What the dialog knows of the rocket besides its stored recovery.
struct RecoveryContext {
  std::vector<int> delays;                    // the main motor's published delays, s, ascending
  std::optional<double> recommended;          // s from burnout to apogee of the last flight without recovery
  double landingMass = 0.0;                   // kg, the top stage after burnout
  double rocketDragArea = 0.0;                // m², the top stage's cw × area
  double airDensity = 0.0;                    // kg/m³ at the ground
  double gravity = 0.0;                       // m/s²
  std::optional<RecoveryFigures> lastFlight;  // what the recovery did in the last run
};

// The context of the document's rocket. The landing mass is the last run's
// (its end mass) when a flight is computed, else stage 1 with its motors'
// casings; the air is that of the current settings.
// The recommended delay is that of `freeAscent`, the flight without
// recovery (none: the flight is its own).
RecoveryContext MakeRecoveryContext(const RocketRecord& rocket, const Simulation& simulation,
                                    const SimConstants& constants, const Simulation* freeAscent = nullptr);

// The fields for a stored recovery; without one, parachute and streamer
// fields hold starting values and the delay is the published one nearest
// to the flight's apogee.
RecoveryForm ShowRecovery(const std::optional<Recovery>& recovery, const RecoveryContext& context,
                          char decimalSeparator);

// The form's recovery (nothing for "keine"), or the German refusal of the
// first field that is no number or lies outside its range.
struct RecoveryTake {
  std::optional<Recovery> recovery;
  std::string problem;  // empty: taken
  RecoveryField field = RecoveryField::None;
};
RecoveryTake TakeRecovery(const RecoveryForm& form, char decimalSeparator);

// The chute-size helper: the canopy diameter (whole mm) that brings the
// landing mass down at the form's target descent rate with the form's
// parachute cw, and a line saying so. `diameterMm` is empty when nothing
// sensible can be offered (the line says why).
struct ChuteSuggestion {
  std::optional<double> diameterMm;
  std::string text;
};
ChuteSuggestion SuggestChute(const RecoveryForm& form, const RecoveryContext& context, char decimalSeparator);

// The streamer cw by the OpenRocket rule for the form's length, as the
// field shows it; empty when the length is unreadable.
std::string StreamerCwText(const RecoveryForm& form, char decimalSeparator);

// One line on what the recovery did in the last run.
std::string LastFlightText(const RecoveryFigures& figures, char decimalSeparator);

}  // namespace komet
