// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/document.h"

#include <algorithm>
#include <system_error>

#include "common/file_io.h"
#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "model/rocket_file.h"
#include "sim/flight_analysis.h"
#include "sim/rocket_stability.h"

namespace komet {
namespace {

constexpr std::size_t kCaptionLength = 58;

std::string Quoted(const std::filesystem::path& p) {
  return "\"" + p.string() + "\"";
}

}  // namespace

Document::Document(const SimConstants& constants, PathSource database, char decimalSeparator)
    : constants_(constants), database_(std::move(database)), decimalSeparator_(decimalSeparator) {
  InitRakete(rocket_);
}

void Document::RunSimulation() {
  simulation_.RunSimulation(rocket_, constants_);
  ascentFlown_ = &FreeAscentOf(simulation_, ascent_) == &ascent_;
  StoreWorkingValues(rocket_, simulation_.results());
}

void StoreWorkingValues(RocketRecord& rocket, const FlightResults& results) {
  for (std::size_t i = 0; i < kStageCount; ++i) {
    StageRecord& stage = rocket.stages[i];
    const StageRun& run = results.stages[i];
    stage.absent = run.absent ? 1 : 0;
    stage.reserved8 = 0.0;
    stage.runPropellantMass = run.propellantMass;
    stage.runCasingMass = run.casingMass;
    stage.runIgnitionTime = run.ignitionTime;
    stage.runSeparationTime = run.separationTime;
  }
  rocket.runMass = results.endMass;
  rocket.runArea = results.endArea;
  rocket.runPoweredEnd = results.poweredEnd;
}

bool Document::TransferAndRun(Prompts& prompts) {
  try {
    rocket_ = HoleDaten(form_, rocket_, database_());
  } catch (const KometError& e) {
    prompts.ShowError(e.what());
    return false;
  }
  caption_ = std::string(Utf8Prefix(Concat({"KOMET - ", Cp1252ToUtf8(rocket_.name.view())}), kCaptionLength));
  RunSimulation();
  return true;
}

void Document::MakeEmpty(DocumentViews& views) {
  InitRakete(rocket_);
  // The empty rocket has no parachute of the last one; bytes of another
  // program stay, as InitRakete leaves them.
  if (ReadRecovery(rocket_)) WriteRecovery(rocket_, std::nullopt);
  shape_.reset();
  simulation_.InvalidateResults();
  ascent_.InvalidateResults();
  fileName_.clear();
  views.RocketReset();
}

void Document::UpdateNotesCaption() {
  notesCaption_ = NotesText(rocket_).empty() ? "" : "Notiz";
}

void Document::TakeStoredRocket(const RocketRecord& record) {
  rocket_ = record;
  RunSimulation();
}

bool Document::SetRecovery(const std::optional<Recovery>& recovery) {
  const std::optional<Recovery> stored = recovery ? std::optional(StoredRecovery(*recovery)) : std::nullopt;
  if (stored == ReadRecovery(rocket_)) return false;
  WriteRecovery(rocket_, stored);
  markChanged();
  RunSimulation();
  return true;
}

void Document::SetShape(const std::optional<RocketShape>& shape) {
  if (shape == shape_) return;
  shape_ = shape;
  markChanged();
}

std::optional<StabilityFigures> Document::stability() const {
  if (!shape_ || !simulation_.results().resultsValid) return std::nullopt;
  return FlightStability(*shape_, simulation_);
}

// A shape file that cannot be read costs the rocket its shape, not the rocket.
void Document::LoadShape(const std::filesystem::path& rocketPath, Prompts& prompts) {
  shape_.reset();
  const std::filesystem::path file = ShapeFileFor(rocketPath.string());
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;
  try {
    const std::vector<std::uint8_t> bytes = ReadFilePrefix(file, kMaxShapeFileBytes + 1);
    if (bytes.size() > kMaxShapeFileBytes)
      throw KometError(KometError::Kind::Format, "zu groß für eine Formdatei");
    shape_ = ParseShapeText(std::string(bytes.begin(), bytes.end()));
  } catch (const KometError& e) {
    prompts.ShowWarning("Die Formdatei " + Quoted(file) + " ließ sich nicht lesen (" + e.what() +
                        "); die Rakete hat bis zum nächsten Sichern keine Form.");
  }
}

void Document::SetNotizen(const std::string& notes) {
  SetNotesText(rocket_, notes);
  UpdateNotesCaption();
  markChanged();
}

// Notes typed and not applied are work too: saving takes them along.
bool Document::MaybeSave(const std::string& question, Prompts& prompts, DocumentViews* views) {
  const bool notesPending = views && views->NotesPending();
  if (!changed_ && !notesPending) return true;
  switch (prompts.AskSave(question)) {
    case SaveAnswer::Ok:
      if (notesPending) views->ApplyPendingNotes();
      // Going on after a failed or cancelled save would lose the rocket.
      return Save(prompts);
    case SaveAnswer::No:
      return true;
    case SaveAnswer::Cancel:
      return false;
  }
  return false;
}

void Document::New(Prompts& prompts, DocumentViews& views) {
  if (!MaybeSave("Raketendaten geändert, sichern?", prompts, &views)) return;
  MakeEmpty(views);
  // The previous rocket's notes must not be saved with the new one.
  views.SetNotes("");
  UpdateNotesCaption();
  const bool ok = views.ShowStageDialog();
  TransferAndRun(prompts);
  // A rocket entered and confirmed is work the user would not want to lose.
  if (ok)
    markChanged();
  else
    markSaved();
}

void Document::Open(Prompts& prompts, DocumentViews& views) {
  if (!MaybeSave("Raketendaten geändert, sichern?", prompts, &views)) return;
  const auto path = prompts.ChooseOpenFile();
  if (!path) return;
  LoadRocketFile(*path, prompts, views);
}

bool Document::LoadRocketFile(const std::filesystem::path& path, Prompts& prompts, DocumentViews& views) {
  RocketRecord empty = rocket_;
  InitRakete(empty);
  RocketFileContent content;
  try {
    content = ReadRocketFile(path, empty);
  } catch (const KometError& e) {
    prompts.ShowError("Die Datei " + Quoted(path) + " konnte nicht geladen werden: " + e.what());
    return false;
  }
  if (!content.isRocket()) {
    prompts.ShowError("Die Datei " + Quoted(path) + " ist keine Komet-Raketendatei.");
    return false;
  }
  if (!content.complete())
    prompts.ShowWarning("Die Datei " + Quoted(path) +
                        " ist unvollständig; die fehlenden Angaben sind die einer leeren Rakete.");
  rocket_ = content.record;
  simulation_.InvalidateResults();
  ascent_.InvalidateResults();
  fileName_ = path;
  LoadShape(path, prompts);
  views.RocketReset();
  SetForm(form_, rocket_, decimalSeparator_);
  views.SetNotes(NotesText(rocket_));
  UpdateNotesCaption();
  // The file is self-contained: when a motor cannot be refreshed from the
  // database, the flight of the stored copies is still the right picture.
  if (!TransferAndRun(prompts)) RunSimulation();
  markSaved();
  return true;
}

void Document::LoadFromCommandLine(const std::vector<std::string>& args, Prompts& prompts,
                                   DocumentViews& views) {
  const std::string name = GetArgument(args);
  if (name.empty()) return;
  if (!LoadRocketFile(name, prompts, views)) MakeEmpty(views);
}

bool Document::Save(Prompts& prompts) {
  if (fileName_.empty()) return SaveAs(prompts);
  return WriteTo(fileName_, prompts);
}

// The rocket's name, made fit for a file name, in the rocket file's folder.
std::filesystem::path Document::SaveSuggestion() const {
  std::string name = Cp1252ToUtf8(rocket_.name.view());
  std::replace(name.begin(), name.end(), '/', '_');
  const auto first = name.find_first_not_of(' ');
  name = first == std::string::npos ? "Rakete" : name.substr(first, name.find_last_not_of(' ') - first + 1);
  if (name.front() == '.') name.insert(0, "Rakete");
  std::filesystem::path file = name + ".kmw";
  return fileName_.empty() ? file : fileName_.parent_path() / file;
}

bool Document::SaveAs(Prompts& prompts) {
  const std::filesystem::path suggestion = SaveSuggestion();
  fileName_.clear();
  const auto path = prompts.ChooseSaveFile(suggestion);
  if (!path) return false;
  std::error_code ec;
  if (std::filesystem::exists(*path, ec) && !prompts.AskOverwrite(*path)) return false;
  fileName_ = *path;
  return WriteTo(fileName_, prompts);
}

// The rocket and its shape are written beside their files first and
// replace them only when both are there, so that a full disk leaves the
// pair as it was. The shape goes first: a rocket saved without the shape it
// was given would lose it silently at the next open. A rocket without a
// shape leaves no older shape file beside it that would give it one.
bool Document::WriteTo(const std::filesystem::path& path, Prompts& prompts) {
  const std::filesystem::path shapeFile = ShapeFileFor(path.string());
  auto failed = [&](const std::filesystem::path& file, const KometError& e) {
    prompts.ShowError((file == shapeFile ? "Die Formdatei " : "Die Datei ") + Quoted(file) +
                      " konnte nicht gespeichert werden: " + e.what());
    return false;
  };
  std::optional<StagedFile> shape;
  try {
    if (shape_) {
      const std::string text = ShapeText(*shape_);
      shape.emplace(shapeFile, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
  } catch (const KometError& e) {
    return failed(shapeFile, e);
  }
  std::optional<StagedFile> record;
  try {
    std::vector<std::uint8_t> bytes(RocketRecord::kSize);
    EncodeRocketRecord(rocket_, bytes);
    record.emplace(path, bytes);
  } catch (const KometError& e) {
    return failed(path, e);
  }
  try {
    if (shape)
      shape->Commit();
    else if (std::error_code ec;
             std::filesystem::is_regular_file(shapeFile, ec) && !std::filesystem::remove(shapeFile, ec) && ec)
      throw KometError::FromErrno(ec.value());
  } catch (const KometError& e) {
    return failed(shapeFile, e);
  }
  try {
    record->Commit();
  } catch (const KometError& e) {
    return failed(path, e);
  }
  markSaved();
  return true;
}

bool Document::MayClose(Prompts& prompts, DocumentViews* views) {
  return MaybeSave("Raketendaten geändert, vor dem Verlassen sichern?", prompts, views);
}

void Document::Change(Prompts& prompts, DocumentViews& views) {
  if (!views.ShowStageDialog()) return;
  markChanged();
  TransferAndRun(prompts);
}

bool Document::TakeMainMotor(std::int32_t recordNo, Prompts& prompts) {
  const auto entry = std::find_if(form_.motorList.begin(), form_.motorList.end(),
                                  [&](const MotorListEntry& e) { return e.recordNo == recordNo; });
  if (entry == form_.motorList.end()) return false;
  // Pending entries of an aborted dialog are not what the user chose here.
  SetForm(form_, rocket_, decimalSeparator_);
  form_.motore[0] = entry->itemIndex;
  if (form_.anzmot[0] == "0") form_.anzmot[0] = "1";
  markChanged();
  return TransferAndRun(prompts);
}

bool Document::TakeCw(double cw, Prompts& prompts) {
  SetForm(form_, rocket_, decimalSeparator_);
  form_.ecwwert = Format(decimalSeparator_, "%.3f", cw);
  markChanged();
  return TransferAndRun(prompts);
}

void Document::ChangeWithReload(Prompts& prompts, DocumentViews& views) {
  SetForm(form_, rocket_, decimalSeparator_);
  Change(prompts, views);
}

void Document::ReloadMotorDatabase() {
  GetNames(form_, database_(), rocket_);
}

std::string GetArgument(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& a : args) joined += a + ' ';
  const auto b = joined.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return joined.substr(b, joined.find_last_not_of(' ') - b + 1);
}

}  // namespace komet
