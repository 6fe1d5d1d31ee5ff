#include "dialogs/settings.h"

#include "common/format.h"
#include "common/numbers.h"
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

MotorDatabaseImport ImportMotorDatabase(std::span<const std::filesystem::path> inputs,
                                        const std::filesystem::path& folder) {
  const MotorImport imported = ImportMotorPaths(inputs);
  MotorDatabaseImport result;
  for (const ImportDiagnostic& d : imported.problems) result.problems.push_back(d.text());
  result.motorCount = imported.motors.size();
  const MergedDatabase merged = MergeMotors({}, imported.motors);
  result.summary = ImportSummary(merged, imported);
  if (imported.motors.empty()) return result;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::filesystem::path name = inputs.size() == 1 ? inputs[0].lexically_normal().filename() : "";
  result.database = folder / (name.empty() ? std::filesystem::path("import") : name).stem().concat(".kdb");
  WriteMotorDatabase(result.database, merged.motors);
  return result;
}

}  // namespace komet
