// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/document.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/file_io.h"
#include "model/rocket_file.h"
#include "support/document_fixture.h"
#include "support/file_bytes.h"
#include "support/motor_fixtures.h"
#include "support/shape_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

using testing::BoxMotor;
using testing::FakeViews;
using testing::ScriptedPrompts;

class DocumentTest : public testing::DocumentFixture {
 protected:
  DocumentTest() : DocumentFixture({BoxMotor("C6", 6, 1.8), BoxMotor("D12", 12, 1.6)}) {}
  // Types a single-stage rocket into the stage dialog and confirms it.
  void EnterRocket(const std::string& name) {
    doc.form().RakName = name;
    doc.form().stmgr[0] = "30";
    doc.form().durch[0] = "25";
    doc.form().ecwwert = "0,6";
    doc.form().motore[0] = 0;  // C6
    doc.form().anzmot[0] = "1";
    doc.Change(prompts, views);
  }
  std::filesystem::path SavedRocket(const std::string& name, const std::string& file) {
    EnterRocket(name);
    prompts.saveChoices.push_back(dir.path() / file);
    EXPECT_TRUE(doc.SaveAs(prompts));
    return dir.path() / file;
  }
};

TEST_F(DocumentTest, ChangeWithOkTransfersRunsAndMarksChanged) {
  EnterRocket("Saturn");
  EXPECT_EQ(doc.caption(), "KOMET - Saturn");
  EXPECT_TRUE(doc.changed());
  EXPECT_TRUE(doc.simulation().results().resultsValid);
  EXPECT_GT(doc.simulation().results().maxHeight, 10.0);
}

TEST_F(DocumentTest, TakingTheGuidesMotorTransfersAsAnOkWould) {
  EnterRocket("Saturn");
  prompts.saveChoices.push_back(dir.path() / "s.kmw");
  ASSERT_TRUE(doc.SaveAs(prompts));
  const double c6Apogee = doc.simulation().results().maxHeight;
  doc.form().RakName = "getippt, dann Abbruch";  // a dialog's pending entry stays out
  EXPECT_FALSE(doc.TakeMainMotor(7, prompts));   // no such record
  EXPECT_FALSE(doc.changed());
  EXPECT_TRUE(doc.TakeMainMotor(1, prompts));  // D12
  EXPECT_EQ(doc.rocket().stages[0].motors[0].name.view(), "D12");
  EXPECT_EQ(doc.rocket().stages[0].counts[0], 1);
  EXPECT_EQ(doc.rocket().name.view(), "Saturn");
  EXPECT_TRUE(doc.changed());
  EXPECT_GT(doc.simulation().results().maxHeight, c6Apogee);
}

TEST_F(DocumentTest, ChangeWithAbortTransfersNothing) {
  views.stageDialog = [] { return false; };
  doc.form().RakName = "Nicht übernommen";
  doc.Change(prompts, views);
  EXPECT_EQ(doc.rocket().name.view(), "KeinName");
  EXPECT_EQ(doc.caption(), "Komet");
  EXPECT_FALSE(doc.changed());
}

TEST_F(DocumentTest, CaptionIsCutTo58Characters) {
  EnterRocket(std::string(50, 'x'));
  EXPECT_EQ(doc.caption().size(), 58u);
}

TEST_F(DocumentTest, SaveQuestionAnswers) {
  const struct {
    const char* what;
    std::vector<SaveAnswer> answers;
    std::optional<std::filesystem::path> saveChoice;
    bool closes, written;
  } cases[] = {
      {"Abbrechen keeps the window", {SaveAnswer::Cancel}, {}, false, false},
      {"Nein closes without saving", {SaveAnswer::No}, {}, true, false},
      {"OK saves and closes", {SaveAnswer::Ok}, std::filesystem::path("neu.kmw"), true, true},
      {"OK with a cancelled file dialog keeps the window", {SaveAnswer::Ok}, {}, false, false},
  };
  for (const auto& c : cases) {
    testing::TempDir out;
    ScriptedPrompts p;
    p.saveAnswers.assign(c.answers.begin(), c.answers.end());
    if (c.saveChoice) p.saveChoices.push_back(out.path() / *c.saveChoice);
    EnterRocket("Frage");
    EXPECT_EQ(doc.MayClose(p), c.closes) << c.what;
    ASSERT_EQ(p.asked.size(), 1u) << c.what;
    EXPECT_EQ(p.asked[0], "Raketendaten geändert, vor dem Verlassen sichern?");
    EXPECT_EQ(std::filesystem::exists(out.path() / "neu.kmw"), c.written) << c.what;
    EXPECT_EQ(doc.changed(), !c.written) << c.what;
  }
}

TEST_F(DocumentTest, FailedSaveInsideTheQuestionAbandonsTheCommand) {
  EnterRocket("Verlust");
  prompts.saveAnswers = {SaveAnswer::Ok};
  prompts.saveChoices.push_back(db / "kann-nicht.kmw");  // a file is no directory
  EXPECT_FALSE(doc.MayClose(prompts));
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_NE(prompts.errors[0].find("konnte nicht gespeichert werden: Datei nicht gefunden"),
            std::string::npos);
  EXPECT_TRUE(doc.changed());
}

// A full disk: the saved file keeps its bytes, the rocket stays changed
// under its caption, and the message names the file and the cause.
TEST_F(DocumentTest, ASaveOnAFullDiskKeepsTheFileAndTheChange) {
  const auto file = SavedRocket("Saturn", "s.kmw");
  const std::string before = testing::ReadText(file);
  EnterRocket("Jupiter");
  SetWriteFault({1, 10, ENOSPC});
  EXPECT_FALSE(doc.Save(prompts));
  SetWriteFault({});
  EXPECT_EQ(testing::ReadText(file), before);
  EXPECT_TRUE(doc.changed());
  EXPECT_EQ(doc.caption(), "KOMET - Jupiter");
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_NE(prompts.errors[0].find(file.string()), std::string::npos) << prompts.errors[0];
  EXPECT_NE(prompts.errors[0].find("kein Platz mehr"), std::string::npos) << prompts.errors[0];
}

// The shape file is written first: a disk that fills up there, or at the
// rocket file after it, leaves both files as they were.
TEST_F(DocumentTest, AFullDiskKeepsTheRocketAndItsShapeFile) {
  const auto file = SavedRocket("Saturn", "s.kmw");
  doc.SetShape(RocketShape{{testing::ClassicModelStage()}});
  ASSERT_TRUE(doc.Save(prompts));
  auto shapeFile = file;
  shapeFile.replace_extension(".kmf");
  const std::string rocketBefore = testing::ReadText(file), shapeBefore = testing::ReadText(shapeFile);
  EnterRocket("Jupiter");
  StageShape longer = testing::ClassicModelStage();
  longer.bodyLength = 0.4;
  doc.SetShape(RocketShape{{longer}});
  for (const int nth : {1, 2}) {
    prompts.errors.clear();
    SetWriteFault({nth, 10, ENOSPC});
    EXPECT_FALSE(doc.Save(prompts)) << nth;
    SetWriteFault({});
    EXPECT_EQ(testing::ReadText(file), rocketBefore) << nth;
    EXPECT_EQ(testing::ReadText(shapeFile), shapeBefore) << nth;
    EXPECT_TRUE(doc.changed());
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find((nth == 1 ? shapeFile : file).string()), std::string::npos)
        << prompts.errors[0];
    EXPECT_NE(prompts.errors[0].find("kein Platz mehr"), std::string::npos) << prompts.errors[0];
  }
}

TEST_F(DocumentTest, NotesTypedButNotAppliedCountAsAChange) {
  const auto file = SavedRocket("Notizen", "n.kmw");
  views.notesPending = true;
  views.applyNotes = [this] { doc.SetNotizen("Erstflug"); };
  prompts.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel, SaveAnswer::Ok};
  doc.New(prompts, views);
  EXPECT_FALSE(doc.MayClose(prompts, &views));
  EXPECT_TRUE(doc.MayClose(prompts, &views));  // OK: applied, then saved
  EXPECT_EQ(prompts.asked.size(), 3u);
  EXPECT_EQ(NotesText(ReadRocketFile(file, doc.rocket()).record), "Erstflug");
}

TEST_F(DocumentTest, UnchangedDocumentClosesWithoutAsking) {
  EXPECT_TRUE(doc.MayClose(prompts));
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(DocumentTest, SaveAsRespectsTheOverwriteAnswer) {
  const auto file = SavedRocket("Erste", "r.kmw");
  const auto before = ReadRocketFile(file, doc.rocket()).record;
  EnterRocket("Zweite");
  prompts.saveChoices.push_back(file);
  prompts.overwriteAnswers.push_back(false);
  EXPECT_FALSE(doc.SaveAs(prompts));
  EXPECT_EQ(prompts.asked.back(), "overwrite " + file.string());
  EXPECT_TRUE(doc.fileName().empty()) << "a refused overwrite leaves the document unnamed";
  EXPECT_EQ(ReadRocketFile(file, doc.rocket()).record.name.view(), "Erste");
  // The next Save asks for a name again, and OK overwrites.
  prompts.saveChoices.push_back(file);
  prompts.overwriteAnswers.push_back(true);
  EXPECT_TRUE(doc.Save(prompts));
  EXPECT_EQ(ReadRocketFile(file, before).record.name.view(), "Zweite");
  EXPECT_EQ(doc.fileName(), file);
}

TEST_F(DocumentTest, CancelledSaveAsLeavesTheDocumentUnnamed) {
  SavedRocket("Benannt", "b.kmw");
  EXPECT_FALSE(doc.SaveAs(prompts));
  EXPECT_TRUE(doc.fileName().empty());
}

TEST_F(DocumentTest, SaveWritesTheAppliedNotes) {
  EnterRocket("Notiert");
  doc.SetNotizen("Startplatz\r\nWiese");
  views.notes = "nur im Fenster";                     // what the window shows is not what was applied
  const auto file = SavedRocket("Notiert", "n.kmw");  // a transfer in between keeps them
  EXPECT_EQ(NotesText(ReadRocketFile(file, doc.rocket()).record), "Startplatz\r\nWiese");
}

// Whether a command leaves unsaved work decides whether closing asks.
TEST_F(DocumentTest, CommandsMarkTheDocumentChangedOrSaved) {
  const auto stageDialog = [this](bool ok) { views.stageDialog = [ok] { return ok; }; };
  const struct {
    const char* what;
    std::function<void()> command;
    bool changed;
  } cases[] = {
      {"stage dialog cancelled", [&] { stageDialog(false), doc.Change(prompts, views); }, false},
      {"stage dialog confirmed", [&] { stageDialog(true), doc.Change(prompts, views); }, true},
      {"plot double-click cancelled", [&] { stageDialog(false), doc.ChangeWithReload(prompts, views); },
       false},
      {"plot double-click confirmed", [&] { stageDialog(true), doc.ChangeWithReload(prompts, views); }, true},
      {"notes applied", [&] { doc.SetNotizen("Wiese"); }, true},
      {"guide's motor taken", [&] { doc.TakeMainMotor(1, prompts); }, true},
      {"guide's motor not in the lists", [&] { doc.TakeMainMotor(7, prompts); }, false},
      {"new rocket cancelled", [&] { stageDialog(false), doc.New(prompts, views); }, false},
      {"new rocket confirmed", [&] { stageDialog(true), doc.New(prompts, views); }, true},
      {"saved after a change", [&] { doc.markChanged(), doc.Save(prompts); }, false},
      {"opened after a change",
       [&] {
         doc.markChanged();
         prompts.saveAnswers = {SaveAnswer::No};
         prompts.openChoices.push_back(doc.fileName());
         doc.Open(prompts, views);
       },
       false},
      {"failed save keeps the change",
       [&] {
         doc.markChanged();
         prompts.saveChoices.push_back(db / "kann-nicht.kmw");
         doc.SaveAs(prompts);
       },
       true},
  };
  for (const auto& c : cases) {
    prompts = ScriptedPrompts{};
    prompts.overwriteAnswers = {true};
    SavedRocket("Ausgang", "a.kmw");
    ASSERT_FALSE(doc.changed()) << c.what;
    c.command();
    EXPECT_EQ(doc.changed(), c.changed) << c.what;
    prompts.asked.clear();
    prompts.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_EQ(doc.MayClose(prompts), !c.changed) << c.what;
    EXPECT_EQ(prompts.asked.size(), c.changed ? 1u : 0u) << c.what;
  }
}

TEST_F(DocumentTest, OpenLoadsSimulatesAndIsUnchanged) {
  const auto file = SavedRocket("Saturn", "s.kmw");
  doc.New(prompts, views);
  views.notes = "x";
  prompts.saveAnswers = {SaveAnswer::No};
  prompts.openChoices.push_back(file);
  doc.Open(prompts, views);
  EXPECT_EQ(doc.caption(), "KOMET - Saturn");
  EXPECT_EQ(doc.fileName(), file);
  EXPECT_FALSE(doc.changed());
  EXPECT_TRUE(doc.simulation().results().resultsValid);
  EXPECT_EQ(doc.form().RakName, "Saturn");
  EXPECT_EQ(views.notes, "");
  EXPECT_TRUE(prompts.errors.empty());
}

// The file keeps the working values as the last run left them: 30 g and
// one C6 (10 g of 20 g propellant) burnt out after 1.8 s, stages 2 and 3
// absent, nothing of the flight left in the record beyond them.
TEST_F(DocumentTest, TheSavedFileHoldsTheLastRunsWorkingValues) {
  const RocketRecord saved = ReadRocketFile(SavedRocket("Saturn", "s.kmw"), RocketRecord{}).record;
  const StageRecord& main = saved.stages[0];
  EXPECT_EQ(main.absent, 0);
  EXPECT_NEAR(main.runPropellantMass, 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(main.runCasingMass, 0.01);
  EXPECT_EQ(main.runIgnitionTime, 0.0);
  EXPECT_DOUBLE_EQ(main.runSeparationTime, 1.8);
  EXPECT_DOUBLE_EQ(saved.runPoweredEnd, 1.8);
  EXPECT_NEAR(saved.runMass, 0.040, 1e-12);
  EXPECT_EQ(saved.runArea, 0.0);
  EXPECT_EQ(saved.stages[1].absent, 1);
  EXPECT_EQ(saved.stages[2].absent, 1);
}

TEST_F(DocumentTest, OpenFailuresKeepTheCurrentRocket) {
  const auto good = SavedRocket("Bleibt", "gut.kmw");
  std::ofstream(dir.path() / "fremd.kmw") << "KOMET W95/NX und mehr";
  const struct {
    std::filesystem::path path;
    const char* message;
  } cases[] = {{dir.path() / "fehlt.kmw", "konnte nicht geladen werden: Datei nicht gefunden"},
               {dir.path() / "fremd.kmw", "ist keine Komet-Raketendatei."}};
  for (const auto& c : cases) {
    ScriptedPrompts p;
    p.openChoices.push_back(c.path);
    views.notes = "meine Notizen";
    doc.Open(p, views);
    ASSERT_EQ(p.errors.size(), 1u) << c.path;
    EXPECT_NE(p.errors[0].find(c.message), std::string::npos) << p.errors[0];
    EXPECT_EQ(doc.rocket().name.view(), "Bleibt");
    EXPECT_EQ(doc.fileName(), good);
    EXPECT_EQ(views.notes, "meine Notizen");
  }
}

TEST_F(DocumentTest, ShortFileLoadsWithAWarning) {
  const auto file = SavedRocket("Kurz", "k.kmw");
  std::filesystem::resize_file(file, 20000);  // notes and the rest are cut off
  prompts.openChoices.push_back(file);
  doc.Open(prompts, views);
  EXPECT_EQ(prompts.warnings.size(), 1u);
  EXPECT_EQ(doc.rocket().name.view(), "Kurz");
  EXPECT_TRUE(doc.simulation().results().resultsValid);
}

TEST_F(DocumentTest, NewStartsEmptyKeepsTheDialogsEntriesAndClearsNotes) {
  EnterRocket("Alt");
  prompts.saveAnswers = {SaveAnswer::No};
  views.notes = "alte Notizen";
  bool sawEmptyRecord = false;
  views.stageDialog = [&] {
    sawEmptyRecord = doc.rocket().name.view() == "KeinName" && doc.fileName().empty();
    return true;
  };
  doc.New(prompts, views);
  EXPECT_TRUE(sawEmptyRecord);
  EXPECT_EQ(doc.form().RakName, "Alt") << "the dialog still holds the previous entries";
  EXPECT_EQ(doc.rocket().name.view(), "Alt");
  EXPECT_EQ(views.notes, "");
  EXPECT_TRUE(doc.changed()) << "a confirmed new rocket must not be lost at exit";
  EXPECT_GE(views.resets, 1);
}

TEST_F(DocumentTest, NewAbortedInTheDialogCountsAsUnchanged) {
  views.stageDialog = [] { return false; };
  doc.New(prompts, views);
  EXPECT_FALSE(doc.changed());
}

TEST_F(DocumentTest, CommandLineLoad) {
  const auto file = SavedRocket("Meine", "Meine Rakete.kmw");
  Document fresh(constants, [this] { return db; });
  fresh.LoadFromCommandLine({(dir.path() / "Meine").string(), "Rakete.kmw"}, prompts, views);
  EXPECT_EQ(fresh.fileName(), file);
  EXPECT_EQ(fresh.caption(), "KOMET - Meine");

  ScriptedPrompts p;
  Document missing(constants, [this] { return db; });
  missing.LoadFromCommandLine({(dir.path() / "fehlt.kmw").string()}, p, views);
  EXPECT_EQ(p.errors.size(), 1u);
  EXPECT_TRUE(missing.fileName().empty());
  EXPECT_EQ(missing.caption(), "Komet");
  EXPECT_FALSE(missing.simulation().results().resultsValid);
}

TEST_F(DocumentTest, NotesApplySetsCaptionAndChanged) {
  doc.SetNotizen("Hallo");
  EXPECT_EQ(doc.notesCaption(), "Notiz");
  EXPECT_TRUE(doc.changed());
  doc.SetNotizen("");
  EXPECT_EQ(doc.notesCaption(), "");
}

TEST(GetArgumentTest, JoinsParametersWithBlanks) {
  EXPECT_EQ(GetArgument({}), "");
  EXPECT_EQ(GetArgument({"C:\\Raketen\\Meine", "Rakete.kmw"}), "C:\\Raketen\\Meine Rakete.kmw");
  EXPECT_EQ(GetArgument({" a ", "", "b  "}), "a   b");
  EXPECT_EQ(GetArgument({std::string(300, 'p')}).size(), 300u) << "never cut to 200";
}

// The recovery dialog's OK: a change is stored, counts as unsaved work and
// flies at once; the same recovery again, or "keine" over a block of
// foreign bytes, touches nothing.
TEST_F(DocumentTest, SetRecoveryStoresOnlyAChangeAndFliesAgain) {
  SavedRocket("Saturn", "s.kmw");
  RocketRecord foreign = doc.rocket();
  foreign.reserved = {'B', 1, 0x55, 1, 9, 9, 9, 9, 9, 9, 9, 9};  // a bad check value
  ASSERT_FALSE(ReadRecovery(foreign));
  doc.TakeStoredRocket(foreign);
  ASSERT_FALSE(doc.changed());

  EXPECT_FALSE(doc.SetRecovery(std::nullopt));
  EXPECT_EQ(doc.rocket().reserved, foreign.reserved);
  EXPECT_FALSE(doc.changed());
  EXPECT_FALSE(doc.simulation().results().deployed);

  Recovery chute;
  chute.diameterMm = 300.2;
  chute.cw = 0.8;
  chute.deployment = Recovery::Deployment::Apogee;
  EXPECT_TRUE(doc.SetRecovery(chute));
  EXPECT_EQ(ReadRecovery(doc.rocket()), StoredRecovery(chute));
  EXPECT_TRUE(doc.changed());
  EXPECT_TRUE(doc.simulation().results().deployed);

  ASSERT_TRUE(doc.Save(prompts));
  chute.diameterMm = 299.9;  // the same whole millimetres
  EXPECT_FALSE(doc.SetRecovery(chute));
  EXPECT_FALSE(doc.changed());

  EXPECT_TRUE(doc.SetRecovery(std::nullopt));
  EXPECT_EQ(doc.rocket().reserved, decltype(foreign.reserved){});
  EXPECT_TRUE(doc.changed());
  EXPECT_FALSE(doc.simulation().results().deployed);

  // A new rocket starts without the last one's recovery.
  doc.SetRecovery(chute);
  prompts.saveAnswers.push_back(SaveAnswer::No);
  doc.New(prompts, views);
  EXPECT_FALSE(ReadRecovery(doc.rocket()));
}

}  // namespace
}  // namespace komet

namespace komet {
namespace {

using testing::ScriptedPrompts;

class DocumentShapeTest : public DocumentTest {};

// The shape travels beside the rocket: saved with it, opened with it, gone
// with "Neu"; a rocket saved without one leaves no older one behind, and an
// unreadable one costs the shape, never the rocket.
TEST_F(DocumentShapeTest, ShapeFileTravelsWithTheRocket) {
  EnterRocket("Form");
  const RocketShape shape{{testing::ClassicModelStage()}};
  doc.SetShape(shape);
  EXPECT_TRUE(doc.changed());
  prompts.saveChoices.push_back(dir.path() / "f.kmw");
  ASSERT_TRUE(doc.SaveAs(prompts));
  ASSERT_TRUE(std::filesystem::exists(dir.path() / "f.kmf"));
  ASSERT_TRUE(doc.stability());
  EXPECT_GT(doc.stability()->cp, 0.0);

  doc.New(prompts, views);
  EXPECT_FALSE(doc.shape());
  prompts.saveAnswers = {SaveAnswer::No};
  prompts.openChoices.push_back(dir.path() / "f.kmw");
  doc.Open(prompts, views);
  EXPECT_EQ(doc.shape(), shape);

  doc.SetShape(std::nullopt);
  ASSERT_TRUE(doc.Save(prompts));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "f.kmf"));

  std::ofstream(dir.path() / "f.kmf") << "komet-form 1\nstage 1\nbodyLength lang\n";
  ScriptedPrompts p;
  p.openChoices.push_back(dir.path() / "f.kmw");
  doc.Open(p, views);
  EXPECT_EQ(doc.rocket().name.view(), "Form");
  EXPECT_FALSE(doc.shape());
  ASSERT_EQ(p.warnings.size(), 1u);
  EXPECT_NE(p.warnings[0].find("Zeile 3"), std::string::npos) << p.warnings[0];
}

}  // namespace
}  // namespace komet
