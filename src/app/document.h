// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "dialogs/stage_form.h"
#include "model/recovery.h"
#include "model/rocket_record.h"
#include "model/rocket_shape.h"
#include "sim/simulation.h"
#include "sim/stability.h"

namespace komet {

// The one rocket document and its commands: the record, the computed
// flight, the stage dialog's state, the file name, the captions and whether
// there is unsaved work. Every question and message goes through Prompts,
// every window through DocumentViews, so the flows run without a screen.
class Document {
 public:
  using PathSource = std::function<std::filesystem::path()>;

  // `constants` and `database` are read at every run and transfer.
  Document(const SimConstants& constants, PathSource database, char decimalSeparator = '.');

  const RocketRecord& rocket() const { return rocket_; }
  const Simulation& simulation() const { return simulation_; }
  // The same plan flown without recovery, which the delay advice reads
  // (AnalyseFlight): the flight itself when the rocket has none.
  const Simulation& freeAscent() const { return ascentFlown_ ? ascent_ : simulation_; }
  // The rocket's shape from the file beside it; none without one.
  const std::optional<RocketShape>& shape() const { return shape_; }
  // The balance of the last flight; none without a shape or a flight.
  std::optional<StabilityFigures> stability() const;
  // The stage dialog edits these fields; the record takes them at a transfer.
  StageForm& form() { return form_; }
  const StageForm& form() const { return form_; }
  const std::filesystem::path& fileName() const { return fileName_; }  // empty: unnamed
  const std::string& caption() const { return caption_; }              // window caption, UTF-8
  const std::string& notesCaption() const { return notesCaption_; }    // "Notiz" while there are notes

  // Unsaved work: the close, new and open commands ask before dropping it.
  // Only a written or freshly loaded file counts as saved.
  bool changed() const { return changed_; }
  void markChanged() { changed_ = true; }

  void setDecimalSeparator(char sep) { decimalSeparator_ = sep; }

  // The commands of the main window.
  void New(Prompts& prompts, DocumentViews& views);
  void Open(Prompts& prompts, DocumentViews& views);
  // The rocket as it stands, notes included; true when written.
  bool Save(Prompts& prompts);
  bool SaveAs(Prompts& prompts);
  // Asks before an exit drops unsaved work; `views`, when given, adds notes
  // typed and not applied to that work.
  bool MayClose(Prompts& prompts, DocumentViews* views = nullptr);
  void Change(Prompts& prompts, DocumentViews& views);            // "Ändern"
  void ChangeWithReload(Prompts& prompts, DocumentViews& views);  // plot double-click
  // The rocket file named on the command line, at the first activation.
  void LoadFromCommandLine(const std::vector<std::string>& args, Prompts& prompts, DocumentViews& views);
  // The database was reread (settings, reload command): refill the lists.
  void ReloadMotorDatabase();

  // Loads a rocket file; on failure reports it and keeps the current rocket.
  bool LoadRocketFile(const std::filesystem::path& path, Prompts& prompts, DocumentViews& views);
  // The motor guide's "Übernehmen": stage 1's first slot takes database
  // record `recordNo` (count 1 where it was 0), everything else as the
  // rocket has it, and the stage dialog's transfer runs as after its OK.
  // False, with nothing changed, for a record not in the motor lists; a
  // failed transfer is reported as after the OK.
  bool TakeMainMotor(std::int32_t recordNo, Prompts& prompts);
  // The fitted drag coefficient's "Übernehmen": the rocket's cw becomes
  // `cw` (to 0.001) through the stage dialog's transfer, everything else as
  // the rocket has it. A failed transfer is reported as after the OK.
  bool TakeCw(double cw, Prompts& prompts);

  // The recovery dialog's OK: the rocket's recovery becomes `recovery`
  // (nothing: none), the rocket counts as changed and flies again. False,
  // with nothing touched, when the rocket already holds it as stored, so
  // that a block the program cannot read stays as it was.
  bool SetRecovery(const std::optional<Recovery>& recovery);
  // The shape dialog's OK: the rocket's shape, saved beside the rocket with
  // it; the rocket counts as changed when it differs.
  void SetShape(const std::optional<RocketShape>& shape);

  // The notes window applied its text (Windows-1252); it is saved with the
  // rocket.
  void SetNotizen(const std::string& notes);
  // A record as stored, without the motors' refresh from the database (the
  // command line's raw mode); file name and captions stay as they are.
  void TakeStoredRocket(const RocketRecord& record);
  // Takes the stage dialog's values into the record and runs the simulation;
  // reports a failure and leaves everything as it was.
  bool TransferAndRun(Prompts& prompts);
  // Flies the rocket and keeps what its stages came to in its working
  // values, which the file stores.
  void RunSimulation();

 private:
  void markSaved() { changed_ = false; }
  std::filesystem::path SaveSuggestion() const;
  bool MaybeSave(const std::string& question, Prompts& prompts, DocumentViews* views);
  bool WriteTo(const std::filesystem::path& path, Prompts& prompts);
  void LoadShape(const std::filesystem::path& rocketPath, Prompts& prompts);
  void MakeEmpty(DocumentViews& views);
  void UpdateNotesCaption();

  RocketRecord rocket_;
  Simulation simulation_;
  Simulation ascent_;  // the free ascent, flown only for a rocket with recovery
  bool ascentFlown_ = false;
  StageForm form_;
  std::optional<RocketShape> shape_;
  std::filesystem::path fileName_;
  std::string caption_ = "Komet";
  std::string notesCaption_;
  bool changed_ = false;
  const SimConstants& constants_;
  PathSource database_;
  char decimalSeparator_;
};

// The rocket file keeps the working values of the last run: each stage's
// absence, masses, ignition and separation, the end mass, the other areas
// still attached and the powered end, as the run left them.
void StoreWorkingValues(RocketRecord& rocket, const FlightResults& results);

// The parameters joined by blanks and trimmed: a path with blanks works
// without quotes. Empty when there are none.
std::string GetArgument(const std::vector<std::string>& args);

}  // namespace komet
