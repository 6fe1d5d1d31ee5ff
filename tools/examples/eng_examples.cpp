// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/eng_examples.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/win1252.h"
#include "model/recovery.h"
#include "model/rocket_file.h"
#include "motors/catalogue.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"

namespace komet {
namespace {

constexpr std::size_t kMaxNotes = 8000;  // what the notes window lets one type
constexpr int kMaxCount = 20;            // the range of a count field

std::vector<std::filesystem::path> FilesWithExtension(const std::filesystem::path& dir,
                                                      std::string_view ext) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file() && entry.path().extension() == ext) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadFilePrefix(path, kMaxEngFileBytes);
  return std::string(bytes.begin(), bytes.end());
}

// Reads a description line by line into the record, the way the stage
// dialog's fields would hold it: numbers as typed, in grams and millimetres,
// converted by the dialog's own rule.
class RocketDescription {
 public:
  RocketDescription(std::span<const MotorRecord> motors, std::string_view fileName)
      : motors_(motors), fileName_(fileName) {
    InitRakete(rocket_);
  }

  void line(std::string_view text, int number);
  RocketRecord finish();

 private:
  void section(std::string_view title);
  void rocketKey(std::string_view key, std::string_view value);
  void stageKey(std::string_view key, std::string_view value);
  void addMotor(std::string_view value);
  void recoveryKey(std::string_view value);
  double number(std::string_view value) const;
  const MotorRecord& findMotor(std::string_view name) const;
  [[noreturn]] void fail(const std::string& message) const;

  std::span<const MotorRecord> motors_;
  std::string fileName_;
  RocketRecord rocket_;
  std::vector<std::string> notes_;
  std::optional<Recovery> recovery_;
  int stage_ = -1;  // index of the stage being described; -1 before the first section
  std::array<std::size_t, kStageCount> slots_{};
  int lineNumber_ = 0;
};

void RocketDescription::line(std::string_view text, int number) {
  lineNumber_ = number;
  text = TrimLine(text);
  if (text.empty() || text.front() == '#') return;
  if (text.front() == '[' && text.back() == ']') return section(TrimLine(text.substr(1, text.size() - 2)));
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) fail("\"Schlüssel = Wert\" erwartet");
  const std::string_view key = TrimLine(text.substr(0, eq));
  const std::string_view value = TrimLine(text.substr(eq + 1));
  if (stage_ < 0)
    rocketKey(key, value);
  else
    stageKey(key, value);
}

void RocketDescription::section(std::string_view title) {
  constexpr std::string_view kTitles[] = {"Hauptstufe", "Stufe 2", "Stufe 3"};
  const auto it = std::find(std::begin(kTitles), std::end(kTitles), title);
  if (it == std::end(kTitles)) fail(Concat({"unbekannter Abschnitt \"", title, "\""}));
  const int stage = static_cast<int>(it - std::begin(kTitles));
  if (stage != stage_ + 1) fail("Stufen in der Reihenfolge Hauptstufe, Stufe 2, Stufe 3 beschreiben");
  stage_ = stage;
}

void RocketDescription::rocketKey(std::string_view key, std::string_view value) {
  if (key == "name") {
    const std::string name = Utf8ToCp1252(value);
    if (name.size() > ShortString<50>::kCapacity) fail("Name länger als 50 Zeichen");
    rocket_.name.assign(name);
  } else if (key == "cw") {
    rocket_.cw = number(value);
  } else if (key == "notiz") {
    notes_.emplace_back(value);
  } else if (key == "fallschirm_mm") {
    // "fallschirm_mm = 300 0.8 5": diameter, cw, and the delay after burnout
    // or "gipfel" for electronics at apogee.
    recoveryKey(value);
  } else {
    fail(Concat({"unbekannter Schlüssel \"", key, "\""}));
  }
}

void RocketDescription::stageKey(std::string_view key, std::string_view value) {
  StageRecord& stage = rocket_.stages[stage_];
  if (key == "motor")
    addMotor(value);
  else if (key == "masse_g")
    stage.mass = number(value) / 1000;
  else if (key == "durchmesser_mm")
    stage.diameter = number(value) / 1000;
  else if (key == "flaechen_mm2")
    stage.otherArea = number(value) / 1000000;
  else if (key == "verzoegerung_s" && stage_ > 0)
    stage.ignitionDelay = number(value);
  else
    fail(Concat({"unbekannter Schlüssel \"", key, "\""}));
}

void RocketDescription::addMotor(std::string_view value) {
  std::size_t& slot = slots_[stage_];
  if (slot == kSlotCount) fail("höchstens drei Motoren je Stufe");
  const std::size_t blank = value.find_first_of(" \t");
  const std::string_view countText = value.substr(0, blank);
  int count = 0;
  const auto [end, ec] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
  if (ec != std::errc() || end != countText.data() + countText.size() || count < 1 || count > kMaxCount)
    fail("\"motor = ANZAHL NAME\" mit einer Anzahl von 1 bis 20 erwartet");
  const MotorRecord& motor = findMotor(TrimLine(value.substr(countText.size())));
  StageRecord& stage = rocket_.stages[stage_];
  if (slot > 0 && stage.motors[slot - 1].name == motor.name)
    fail("gleicher Motor in zwei benachbarten Plätzen; die Anzahlen zusammenfassen");
  stage.motors[slot] = motor;
  stage.counts[slot] = count;
  ++slot;
}

void RocketDescription::recoveryKey(std::string_view value) {
  std::istringstream words{std::string(value)};
  std::string diameter, cw, opening;
  if (!(words >> diameter >> cw >> opening))
    fail("\"fallschirm_mm = DURCHMESSER CW VERZÖGERUNG|gipfel\" erwartet");
  Recovery r;
  r.diameterMm = number(diameter);
  r.cw = number(cw);
  if (opening == "gipfel")
    r.deployment = Recovery::Deployment::Apogee;
  else
    r.delay = number(opening);
  if (const std::string problem = RecoveryProblem(r); !problem.empty()) fail(problem);
  recovery_ = r;
}

double RocketDescription::number(std::string_view value) const {
  double parsed = 0.0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
  if (value.empty() || ec != std::errc() || end != value.data() + value.size())
    fail(Concat({"\"", value, "\" ist keine gültige Zahl"}));
  return ParseNumber(value);  // the value a dialog field holding this text gives
}

const MotorRecord& RocketDescription::findMotor(std::string_view name) const {
  const std::string wanted = Utf8ToCp1252(name);
  const auto matches = [&](const MotorRecord& m) { return m.name.view() == wanted; };
  const auto it = std::find_if(motors_.begin(), motors_.end(), matches);
  if (it == motors_.end()) fail(Concat({"Motor \"", name, "\" nicht in der Datenbank"}));
  if (std::count_if(motors_.begin(), motors_.end(), matches) > 1)
    fail(Concat({"Motor \"", name, "\" mehrfach in der Datenbank"}));
  return *it;
}

RocketRecord RocketDescription::finish() {
  if (slots_[0] == 0) fail("die Hauptstufe braucht einen Motor");
  for (std::size_t s = 0; s < kStageCount; ++s) {
    if (static_cast<int>(s) <= stage_ && slots_[s] == 0) fail("jede beschriebene Stufe braucht einen Motor");
    rocket_.stages[s].absent = static_cast<int>(s) > stage_ ? 1 : 0;
  }
  std::string notes;
  for (std::size_t k = 0; k < notes_.size(); ++k) notes += (k > 0 ? "\r\n" : "") + notes_[k];
  notes = Utf8ToCp1252(notes);
  if (notes.size() > kMaxNotes) fail("Notizen länger als 8000 Zeichen");
  SetNotesText(rocket_, notes);
  if (recovery_) WriteRecovery(rocket_, recovery_);
  return rocket_;
}

void RocketDescription::fail(const std::string& message) const {
  throw KometError(KometError::Kind::Format,
                   fileName_ + ", Zeile " + std::to_string(lineNumber_) + ": " + message);
}

}  // namespace

RocketRecord BuildExampleRocket(std::string_view description, std::span<const MotorRecord> motors,
                                std::string_view fileName) {
  RocketDescription reader(motors, fileName);
  std::istringstream lines{std::string(description)};
  int number = 0;
  for (std::string text; std::getline(lines, text);) reader.line(text, ++number);
  return reader.finish();
}

Examples BuildExamples(const std::filesystem::path& sourceDir) {
  Examples examples;
  examples.motors = BuildCatalogue(sourceDir);
  for (const std::filesystem::path& txt : FilesWithExtension(sourceDir / kExampleRocketDir, ".txt")) {
    RocketRecord rocket = BuildExampleRocket(ReadText(txt), examples.motors, txt.filename().string());
    std::filesystem::path kmw = txt;
    examples.rockets.push_back({kmw.replace_extension(".kmw"), rocket});
  }
  return examples;
}

void WriteExamples(const Examples& examples) {
  for (const ExampleRocket& r : examples.rockets) SaveRocketFile(r.file, r.rocket);
}

}  // namespace komet
