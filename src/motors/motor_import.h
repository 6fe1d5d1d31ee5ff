// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "motors/eng_import.h"
#include "motors/motor_record.h"

namespace komet {

// The motor files the import takes: RASP .eng and RockSim .rse.
bool IsMotorFile(const std::filesystem::path& path);

// Reads one motor file, by its extension (.eng, .rse; any other is read as
// .eng unless its text starts like XML). Every problem is a diagnostic: a file
// that cannot be read, a motor database (.kdb) or no motor file at all gives
// one error and no motors. Never throws.
MotorImport ImportMotorFile(const std::filesystem::path& path);

// Every motor file of the inputs: files as given, folders searched with all
// their subfolders for .eng and .rse files (in name order). A folder without
// any, or an input that does not exist, is one error.
MotorImport ImportMotorPaths(std::span<const std::filesystem::path> inputs);

// A database after an import; the database's own entries stay as they were.
// An imported motor is one the database holds when maker (after
// CanonicalMakerName; a code of two makers, such as "A", takes the one that
// has the motor) and designation (after SplitDesignation) agree, or when
// that maker has just one motor of its common name and one of the two
// designations states nothing beyond it; for records without details, when
// the names agree. With the same data (SameMotorData) it is a twin and not
// added; with other data it is added beside as the user's own version,
// named after the entry ("H128W [AeroTech] (eigene Datei)"). Several files
// of one motor in the import give one entry: twins add their delays, of
// files with other data the first whose data pass the check, else the first.
// The others are appended, named so that motors of one common name are told
// apart (NameMotors).
struct MergedDatabase {
  std::vector<MotorRecord> motors;
  std::size_t added = 0;                 // new motors, own versions included
  std::vector<std::string> twins;        // "C6-5 [Estes] (C6_a.eng) = C6 [Estes]", UTF-8
  std::vector<std::string> ownVersions;  // "H128W [AeroTech] (eigene Datei): H128_a.eng", UTF-8
  std::vector<std::string> passedOver;   // "C6 [Estes]: C6_a.eng genommen, C6_b.eng nicht (...)", UTF-8
};
MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported);

// Whether two records are one motor's data within the rounding of motor
// files: masses, total impulse, burn time, peak and the impulse delivered
// along the curve.
bool SameMotorData(const MotorRecord& a, const MotorRecord& b);

// "12 Motoren gelesen: 9 neu, 2 schon vorhanden (gleiche Daten), 1 als eigene
// Fassung neben dem vorhandenen, 1 abgelehnt".
std::string ImportSummary(const MergedDatabase& merged, const MotorImport& import);

}  // namespace komet
