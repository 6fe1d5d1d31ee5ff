// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/settings.h"

#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/user_folders.h"
#include "common/win1252.h"
#include "motors/motor_database.h"
#include "motors/motor_import.h"

namespace komet {

Settings::Settings(std::filesystem::path optionsFile, std::string currentDirUtf8, DbNameStore& store,
                   char decimalSeparator)
    : optionsFile_(std::move(optionsFile)),
      currentDir_(std::move(currentDirUtf8)),
      store_(store),
      decimalSeparator_(decimalSeparator) {
  InitOptions(record, Utf8ToCp1252(currentDir_));
}

void Settings::FormCreate() {
  LoadOptions();
}

void Settings::LoadOptions() {
  record = komet::LoadOptions(optionsFile_, Utf8ToCp1252(currentDir_)).record;
  motorDbName = store_.Load();
  BitBtn1Click();
}

void Settings::BitBtn1Click() {
  form.Ldichte = Format(decimalSeparator_, "%.2f", record.airDensity);
  form.Lstart = Format(decimalSeparator_, "%.1f", record.railLength);
  form.rstart = Format(decimalSeparator_, "%.1f", record.railFriction);
  form.lerd = Format(decimalSeparator_, "%.3f", record.gravity);
  form.LBer = Format(decimalSeparator_, "%.0f", record.calcPeriod);
  form.MotorenPfad = motorDbName;
}

void Settings::BitBtn2Click() {
  record.airDensity = ParseNumber(form.Ldichte);
  record.railLength = ParseNumber(form.Lstart);
  record.railFriction = ParseNumber(form.rstart);
  record.gravity = ParseNumber(form.lerd);
  record.calcPeriod = ClampCalcPeriod(ParseNumber(form.LBer));
  record.dbPath.assign(Utf8ToCp1252(form.MotorenPfad));
}

void Settings::SaveOptions() {
  BitBtn2Click();
  komet::SaveOptions(optionsFile_, record);
  store_.Save(motorDbName);
}

void Settings::ChooseDatabase(const std::filesystem::path& kdb) {
  motorDbName = kdb.string();
  form.MotorenPfad = motorDbName;
}

std::filesystem::path Settings::GetDBName() const {
  return TrimDatabasePath(motorDbName);
}

namespace {

// Every record of a database, offered or not, in its order.
std::vector<MotorRecord> AllRecords(const std::filesystem::path& database) {
  std::vector<MotorRecord> records;
  const MotorDatabase db = MotorDatabase::Read(database);
  for (std::int32_t n = 0; const MotorRecord* m = db.record(n); ++n) records.push_back(*m);
  return records;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

MotorDatabaseImport ImportMotorDatabase(std::span<const std::filesystem::path> inputs,
                                        const std::filesystem::path& current,
                                        const std::filesystem::path& personal) {
  const MotorImport imported = ImportMotorPaths(inputs);
  MotorDatabaseImport result;
  for (const ImportDiagnostic& d : imported.problems) result.problems.push_back(d.text());
  result.motorCount = imported.motors.size();
  const bool appending = SameFile(current, personal);
  const MergedDatabase merged = MergeMotors(AllRecords(current), imported.motors);
  for (const std::string& twin : merged.passedOver) result.problems.push_back(twin);
  for (const std::string& own : merged.ownVersions) result.problems.push_back("eigene Fassung: " + own);
  result.summary = ImportSummary(merged, imported);
  if (imported.motors.empty()) return result;
  MakeUserFolder(personal.parent_path());
  std::error_code ec;
  if (!appending && std::filesystem::exists(personal, ec)) {
    result.backup = personal;
    result.backup += ".bak";
    std::filesystem::copy_file(personal, result.backup, std::filesystem::copy_options::overwrite_existing,
                               ec);
    if (ec)
      throw KometError(KometError::Kind::Io,
                       result.backup.string() + ": " + KometError::FromErrno(ec.value()).what(), ec.value());
  }
  WriteMotorDatabase(personal, merged.motors);
  result.database = personal;
  return result;
}

}  // namespace komet
