// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_database.h"
#include "motors/motor_facts.h"
#include "motors/motor_record.h"
#include "motors/motor_search.h"
#include "sim/motor_fit.h"

namespace komet {

// One row of the motor chooser: what it shows of a listed motor, what the
// search finds it by, and its record for the curve.
struct MotorRow {
  MotorFacts facts;
  MotorSearchKey key;
  MotorRecord record{};
};

// The row of one record; `name` is the list's name (Windows-1252).
MotorRow MakeMotorRow(const MotorRecord& motor, std::string_view name);

// One row per entry of `list`, in list order, from one read of the database.
// An entry whose record cannot be read or no longer carries its name keeps
// only its name; never throws.
std::vector<MotorRow> ReadMotorRows(const std::filesystem::path& database, const MotorList& list);

// The chooser's filters. Defaults accept every motor.
struct MotorFilter {
  MotorQuery query;        // the search text as rocketeers type it
  int classFrom = 0;       // ImpulseClassRank, inclusive
  int classTo = kAnyRank;  // inclusive
  std::string maker;       // exactly this maker; empty = every maker
  double diameterMm = 0;   // exactly this diameter; 0 = every diameter
  MountLimit fits;         // goes into this mount (FitOf); open by default

  static constexpr int kAnyRank = 1000;

  void SetText(std::string_view text) { query = MotorQuery(text); }
};

// Whether the filter lets the row through. A motor without a known class
// passes only an open class range; one without a known size passes the fit
// test (nothing says it does not fit), one without a known diameter no exact
// diameter.
bool MotorFilterAccepts(const MotorFilter& filter, const MotorRow& row);

// The makers of the rows, each once, in name order (a-z = A-Z).
std::vector<std::string> MotorMakers(const std::vector<MotorRow>& rows);
// The classes of the rows, each once, smallest first.
std::vector<std::string> MotorClasses(const std::vector<MotorRow>& rows);
// The known diameters of the rows, each once, smallest first.
std::vector<double> MotorDiameters(const std::vector<MotorRow>& rows);

// "3, 5, 7" (no delays: empty).
std::string DelaysText(const std::vector<int>& delays);

}  // namespace komet
