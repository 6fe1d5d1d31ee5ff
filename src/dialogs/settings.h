// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "dialogs/db_name_store.h"
#include "dialogs/options_record.h"
#include "sim/flight_safety.h"
#include "sim/sim_constants.h"

namespace komet {

// The texts of the settings dialog's fields (UTF-8).
struct SettingsForm {
  std::string Ldichte;      // air density
  std::string Lstart;       // rail length, m
  std::string rstart;       // rail friction, N
  std::string lerd;         // gravity, m/s²
  std::string LBer;         // calculation period, s
  std::string MotorenPfad;  // motor database path, read-only
};

// The constants and the motor database path with the settings dialog's
// handlers. A run takes the constants from what the record holds, never
// from the fields.
class Settings final : public SimConstants {
 public:
  // `currentDir` is the default database folder of a new options file.
  Settings(std::filesystem::path optionsFile, std::string currentDirUtf8, DbNameStore& store,
           char decimalSeparator = '.');

  OptionsRecord record;
  std::string motorDbName;  // UTF-8, any length
  SettingsForm form;

  // Creation: options file, stored database path, fields.
  void FormCreate();
  // "Laden": the file and the stored path again, then the fields.
  void LoadOptions();
  // Shows the record's values in the fields; also the "Abbruch" handler.
  void BitBtn1Click();
  // OK: takes the fields into the record (period outside 3..50 s -> 50).
  void BitBtn2Click();
  // "Sichern": takes the fields, writes the file and the stored path.
  // Throws KometError when either cannot be written; the values stay in effect.
  void SaveOptions();
  // "Motordatenbank auswählen" with a chosen .kdb file. The caller rereads
  // the motor lists. Nothing is stored until "Sichern".
  void ChooseDatabase(const std::filesystem::path& kdb);

  void setDecimalSeparator(char sep) { decimalSeparator_ = sep; }
  const std::filesystem::path& optionsFile() const { return optionsFile_; }

  ConstantValues Values() const override { return ConstantsFrom(record); }
  LaunchSite Site() const override { return site; }

  // The launch site's air and wind: kept in the program's settings by the
  // window layer, never in the options file.
  LaunchSite site;
  // The field the safety rules judge by, kept beside the launch site; the
  // flight never reads it.
  LaunchField field;
  std::filesystem::path GetDBName() const;

 private:
  std::filesystem::path optionsFile_;
  std::string currentDir_;
  DbNameStore& store_;
  char decimalSeparator_;
};

// Result of importing motor files into the personal motor database.
struct MotorDatabaseImport {
  std::filesystem::path database;     // the .kdb written; empty when nothing was imported
  std::vector<std::string> problems;  // every diagnostic, as the user reads it
  std::size_t motorCount = 0;
  std::string summary;           // see ImportSummary
  std::filesystem::path backup;  // where an older personal database was kept; empty if none
};

// Where imports go unless the user keeps a database elsewhere.
inline constexpr std::string_view kPersonalDatabaseName = "meine_motoren.kdb";

// Imports .eng and .rse files and folders of them and adds them to
// `personal`, which starts as a copy of `current` (the database in use, the
// catalogue when none is chosen) unless it is the one in use, so that no
// motor listed before is lost. An older personal database that is not the
// one in use is kept beside it as "….kdb.bak". Nothing is written when no
// motor could be read. Throws KometError when the database cannot be written
// (then nothing has changed).
MotorDatabaseImport ImportMotorDatabase(std::span<const std::filesystem::path> inputs,
                                        const std::filesystem::path& current,
                                        const std::filesystem::path& personal);

}  // namespace komet
