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

// A database after an import: an imported motor whose name equals one already
// there (the motor list's name comparison) takes that entry's place and
// number; the others are appended in their order.
struct MergedDatabase {
  std::vector<MotorRecord> motors;
  std::size_t added = 0;
  std::vector<std::string> replaced;  // names, Windows-1252, in import order
};
MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported);

// "12 Motoren importiert (10 neu, 2 ersetzt), 1 abgelehnt".
std::string ImportSummary(const MergedDatabase& merged, const MotorImport& import);

}  // namespace komet
