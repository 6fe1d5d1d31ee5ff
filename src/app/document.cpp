#include "app/document.h"

#include <algorithm>
#include <system_error>

#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "model/rocket_file.h"

namespace komet {
namespace {

constexpr std::size_t kCaptionLength = 58;

std::string Quoted(const std::filesystem::path& p) {
  return "\"" + p.string() + "\"";
}

}  // namespace

Document::Document(const SimConstants& constants, PathSource database, char decimalSeparator)
    : constants_(constants), database_(std::move(database)), decimalSeparator_(decimalSeparator) {
  InitRakete(rocket);
}

void Document::RunSimulation() {
  simulation.RunSimulation(rocket, constants_);
}

bool Document::TransferAndRun(Prompts& prompts) {
  try {
    rocket = HoleDaten(form, rocket, database_());
  } catch (const KometError& e) {
    prompts.ShowError(e.what());
    return false;
  }
  caption = std::string(Utf8Prefix(Concat({"KOMET - ", Cp1252ToUtf8(rocket.name.view())}), kCaptionLength));
  RunSimulation();
  return true;
}

void Document::MakeEmpty(DocumentViews& views) {
  InitRakete(rocket);
  simulation.InvalidateResults();
  fileName.clear();
  views.RocketReset();
}

void Document::UpdateNotesCaption() {
  notesCaption = NotesText(rocket).empty() ? "" : "Notiz";
}

void Document::SetNotizen(const std::string& notes) {
  SetNotesText(rocket, notes);
  UpdateNotesCaption();
  form.changed = true;
}

bool Document::MaybeSave(const std::string& question, Prompts& prompts, DocumentViews& views) {
  if (!form.changed) return true;
  switch (prompts.AskSave(question)) {
    case SaveAnswer::Ok:
      // Going on after a failed or cancelled save would lose the rocket.
      return Save(prompts, views);
    case SaveAnswer::No:
      return true;
    case SaveAnswer::Cancel:
      return false;
  }
  return false;
}

void Document::New(Prompts& prompts, DocumentViews& views) {
  if (!MaybeSave("Raketendaten geändert, sichern?", prompts, views)) return;
  MakeEmpty(views);
  // The previous rocket's notes must not be saved with the new one.
  views.SetNotes("");
  UpdateNotesCaption();
  const bool ok = views.ShowStageDialog();
  TransferAndRun(prompts);
  // A rocket entered and confirmed is work the user would not want to lose.
  form.changed = ok;
}

void Document::Open(Prompts& prompts, DocumentViews& views) {
  if (!MaybeSave("Raketendaten geändert, sichern?", prompts, views)) return;
  const auto path = prompts.ChooseOpenFile();
  if (!path) return;
  LoadRocketFile(*path, prompts, views);
}

bool Document::LoadRocketFile(const std::filesystem::path& path, Prompts& prompts, DocumentViews& views) {
  RocketRecord empty = rocket;
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
  rocket = content.record;
  simulation.InvalidateResults();
  fileName = path;
  views.RocketReset();
  SetForm(form, rocket, decimalSeparator_);
  views.SetNotes(NotesText(rocket));
  UpdateNotesCaption();
  // The file is self-contained: when a motor cannot be refreshed from the
  // database, the flight of the stored copies is still the right picture.
  if (!TransferAndRun(prompts)) RunSimulation();
  form.changed = false;
  return true;
}

void Document::LoadFromCommandLine(const std::vector<std::string>& args, Prompts& prompts,
                                   DocumentViews& views) {
  const std::string name = GetArgument(args);
  if (name.empty()) return;
  if (!LoadRocketFile(name, prompts, views)) MakeEmpty(views);
}

bool Document::Save(Prompts& prompts, DocumentViews& views) {
  if (fileName.empty()) return SaveAs(prompts, views);
  return WriteTo(fileName, prompts, views);
}

bool Document::SaveAs(Prompts& prompts, DocumentViews& views) {
  fileName.clear();
  const auto path = prompts.ChooseSaveFile();
  if (!path) return false;
  std::error_code ec;
  if (std::filesystem::exists(*path, ec) && !prompts.AskOverwrite(*path)) return false;
  fileName = *path;
  return WriteTo(fileName, prompts, views);
}

bool Document::WriteTo(const std::filesystem::path& path, Prompts& prompts, DocumentViews& views) {
  SetNotesText(rocket, views.GetNotes());
  try {
    SaveRocketFile(path, rocket);
  } catch (const KometError& e) {
    prompts.ShowError("Die Datei " + Quoted(path) + " konnte nicht gespeichert werden: " + e.what());
    return false;
  }
  form.changed = false;
  return true;
}

bool Document::MayClose(Prompts& prompts, DocumentViews& views) {
  return MaybeSave("Raketendaten geändert, vor dem Verlassen sichern?", prompts, views);
}

void Document::Change(Prompts& prompts, DocumentViews& views) {
  if (!views.ShowStageDialog()) return;
  form.changed = true;
  TransferAndRun(prompts);
}

bool Document::TakeMainMotor(std::int32_t recordNo, Prompts& prompts) {
  const auto entry = std::find_if(form.motorList.begin(), form.motorList.end(),
                                  [&](const MotorListEntry& e) { return e.recordNo == recordNo; });
  if (entry == form.motorList.end()) return false;
  // Pending entries of an aborted dialog are not what the user chose here.
  SetForm(form, rocket, decimalSeparator_);
  form.motore[0] = entry->itemIndex;
  if (form.anzmot[0] == "0") form.anzmot[0] = "1";
  form.changed = true;
  return TransferAndRun(prompts);
}

void Document::ChangeWithReload(Prompts& prompts, DocumentViews& views) {
  SetForm(form, rocket, decimalSeparator_);
  Change(prompts, views);
}

void Document::ReloadMotorDatabase() {
  GetNames(form, database_(), rocket);
}

std::string GetArgument(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& a : args) joined += a + ' ';
  const auto b = joined.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return joined.substr(b, joined.find_last_not_of(' ') - b + 1);
}

}  // namespace komet
