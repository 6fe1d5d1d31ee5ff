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

// A database after an import. Several files of one motor (same maker and
// designation) give one entry: the first whose data pass the check, else the
// first. An imported motor that the database has (same maker and
// designation; for records without details, the same name) takes that
// entry's place, number and name; the others are appended, named so that
// motors of one common name are told apart (NameMotors).
struct MergedDatabase {
  std::vector<MotorRecord> motors;
  std::size_t added = 0;
  std::vector<std::string> replaced;  // names, Windows-1252, in import order
  std::vector<std::string> twins;     // "C6 [Estes]: C6_a.eng genommen, C6_b.eng nicht (...)", UTF-8
};
MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported);

// "12 Motoren importiert (10 neu, 2 ersetzt), 1 abgelehnt".
std::string ImportSummary(const MergedDatabase& merged, const MotorImport& import);

}  // namespace komet
