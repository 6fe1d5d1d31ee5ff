#include "dialogs/settings.h"

#include "common/format.h"
#include "common/numbers.h"
#include "common/win1252.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"

namespace komet {

Settings::Settings(std::filesystem::path optionsFile, std::string currentDirUtf8, DbNameStore& store,
                   char decimalSeparator)
    : optionsFile_(std::move(optionsFile)),
      currentDir_(std::move(currentDirUtf8)),
      store_(store),
      decimalSeparator_(decimalSeparator) {
  InitOptions(record, Utf8ToCp1252(currentDir_));
}

void Settings::FormCreate() { LoadOptions(); }

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

std::filesystem::path Settings::GetDBName() const { return TrimDatabasePath(motorDbName); }

EngDatabaseImport ImportEngDatabase(const std::filesystem::path& eng, const std::filesystem::path& folder) {
  const MotorImport imported = ImportEngFile(eng);
  EngDatabaseImport result;
  for (const ImportDiagnostic& d : imported.problems) result.problems.push_back(d.text());
  result.motorCount = imported.motors.size();
  if (imported.motors.empty()) return result;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  result.database = folder / eng.stem().concat(".kdb");
  WriteMotorDatabase(result.database, imported.motors);
  return result;
}

}  // namespace komet
