#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "motors/motor_database.h"
#include "motors/motor_record.h"

namespace komet {

// One row of the motor chooser: what the table shows of a listed motor, and
// its record for the curve. Texts UTF-8; a figure the data do not give is 0.
struct MotorRow {
  std::string name;
  std::string maker;
  std::string impulseClass;  // "C", "1/2A"; empty without an impulse
  int classRank = -1;        // ImpulseClassRank of impulseClass
  double diameterMm = 0.0;
  double lengthMm = 0.0;
  double totalImpulse = 0.0;   // N·s: the published value, else the curve's
  double averageThrust = 0.0;  // N: the curve's impulse over the burn time
  double peakThrust = 0.0;     // N
  double burnTime = 0.0;       // s
  double liftOffMassG = 0.0;   // the loaded motor, g
  std::vector<int> delays;     // published delays, s, ascending
  std::string searchKey;       // name and designation with a-z folded to A-Z
  MotorRecord record{};
};

// The figures of one record; `name` is the list's name (Windows-1252).
MotorRow MakeMotorRow(const MotorRecord& motor, std::string_view name);

// One row per entry of `list`, in list order, from one read of the database.
// An entry whose record cannot be read or no longer carries its name keeps
// only its name; never throws.
std::vector<MotorRow> ReadMotorRows(const std::filesystem::path& database, const MotorList& list);

// The chooser's filters. Defaults accept every motor.
struct MotorFilter {
  std::string text;        // contained in the name or designation, a-z = A-Z
  int classFrom = 0;       // ImpulseClassRank, inclusive
  int classTo = kAnyRank;  // inclusive
  std::string maker;       // exactly this maker; empty = every maker
  double diameterMm = 0;   // exactly this diameter; 0 = every diameter
  double fitsInMm = 0;     // diameter at most this; 0 = no limit

  static constexpr int kAnyRank = 1000;
};

// Whether the filter lets the row through. A motor without a known class
// passes only an open class range; one without a known diameter passes the
// fit test (nothing says it does not fit) but no exact diameter.
bool MotorFilterAccepts(const MotorFilter& filter, const MotorRow& row);

// `text` with a-z mapped to A-Z, as the search compares names.
std::string FoldSearchText(std::string_view text);

// The makers of the rows, each once, in name order (a-z = A-Z).
std::vector<std::string> MotorMakers(const std::vector<MotorRow>& rows);
// The classes of the rows, each once, smallest first.
std::vector<std::string> MotorClasses(const std::vector<MotorRow>& rows);
// The known diameters of the rows, each once, smallest first.
std::vector<double> MotorDiameters(const std::vector<MotorRow>& rows);

// "3, 5, 7" (no delays: empty).
std::string DelaysText(const std::vector<int>& delays);

}  // namespace komet
