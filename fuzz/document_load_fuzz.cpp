// SPDX-License-Identifier: GPL-3.0-or-later
// A rocket file opened the way the desktop program opens it: the document's
// load path with its prompts, the stage form's round trip through texts, the
// motor database's fresh copies, and the simulation.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/document.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "fuzz_support.h"
#include "model/rocket_file.h"
#include "motors/motor_database.h"
#include "sim/sim_constants.h"
#include "support/fake_prompts.h"

namespace komet::fuzz {
namespace {

// The bundled example database, whose motors the example rockets name, and
// a few more: a name equal to one of them but for case, one that differs
// only in case from another extra, and a deleted record.
std::vector<MotorRecord> SmallDatabase() {
  std::vector<MotorRecord> motors;
  try {
    const auto bytes =
        ReadFilePrefix(std::filesystem::path(KOMET_SOURCE_DIR) / "catalogue/motoren.kdb", 1 << 20);
    for (std::size_t at = 0; at + MotorRecord::kSize <= bytes.size(); at += MotorRecord::kSize)
      motors.push_back(DecodeMotorRecord(std::span(bytes).subspan(at, MotorRecord::kSize)));
  } catch (const KometError&) {
    // Without the examples the extras alone make the database.
  }
  const struct {
    const char* name;
    double thrust, burn;
  } kExtras[] = {{"c6", 5, 1.7}, {"D12", 12, 1.6}, {"d12", 11, 1.5}, {"A8", 3, 0.5}};
  for (const auto& m : kExtras) {
    MotorRecord& r = motors.emplace_back();
    r.name.assign(m.name);
    r.propellantMass = 0.01, r.totalMass = 0.02, r.burnTime = m.burn, r.maxThrust = m.thrust;
    r.curveTime[1] = 0.01, r.curveThrust[1] = m.thrust;
    r.curveTime[2] = m.burn, r.curveThrust[2] = m.thrust;
    r.delays = {3, 5, 7, 0};
  }
  motors.back().deletedMark = 1;
  return motors;
}

struct Rig {
  ScratchFile file{"rakete.kmw"};
  std::filesystem::path database = file.dir() / "motoren.kdb";
  std::filesystem::path saved = file.dir() / "gesichert.kmw";
  FixedConstants constants;
  std::optional<Document> doc;

  Rig() {
    WriteMotorDatabase(database, SmallDatabase());
    Require(Fresh().form().motorList.size() >= 3, "database not listed");
  }
  // Every load starts from a new document, so an input replays alone.
  Document& Fresh() {
    doc.emplace(constants, [this] { return database; }, ',');
    doc->ReloadMotorDatabase();
    return *doc;
  }
};

// Every message says something.
void RequireMessages(const testing::ScriptedPrompts& prompts) {
  for (const auto* list : {&prompts.errors, &prompts.warnings})
    for (const std::string& m : *list) Require(!m.empty(), "empty message");
}

bool SameBytes(const RocketRecord& a, const RocketRecord& b) {
  std::vector<std::uint8_t> x(RocketRecord::kSize), y(RocketRecord::kSize);
  EncodeRocketRecord(a, x);
  EncodeRocketRecord(b, y);
  return x == y;
}

// What a loaded document holds: a named, unchanged rocket through the stage
// form, its notes in the notes window, no motors above an empty stage, a
// sane flight.
void RequireLoaded(const Document& doc, const testing::ScriptedPrompts& prompts,
                   const testing::FakeViews& views, const std::filesystem::path& path, std::size_t size) {
  Require(doc.fileName() == path && !doc.changed(), "loaded document not named and unchanged");
  Require(prompts.errors.empty(), "a loaded rocket did not go through the stage form");
  Require((prompts.warnings.size() == 1) == (size < RocketRecord::kSize), "short file warning");
  Require(doc.caption().rfind("KOMET - ", 0) == 0, "caption");
  Require(views.notes == NotesText(doc.rocket()), "notes window and record disagree");
  // A stage without its first motor holds none, and neither do the stages after it.
  bool absent = false;
  for (const StageRecord& stage : doc.rocket().stages) {
    absent = absent || stage.counts[0] == 0;
    if (absent) Require(stage.counts == std::array<std::int32_t, 3>{}, "motors in an absent stage");
  }
  RequireSaneFlight(doc.simulation());
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  // Destroyed at exit, which removes the scratch directory.
  static fuzz::Rig rigAtExit;
  fuzz::Rig* const rig = &rigAtExit;
  Document& doc = rig->Fresh();
  testing::ScriptedPrompts prompts;
  testing::FakeViews views;
  const auto& path = rig->file.Write(std::span(data, size));
  const bool loaded = doc.LoadRocketFile(path, prompts, views);
  // The file's bytes replace the empty rocket's: a file shorter than the
  // magic is a rocket file as far as it goes.
  const std::string magicBytes = "\x0c" + std::string(RocketRecord::kMagic);
  const std::size_t compared = std::min(size, magicBytes.size());
  const bool magic = std::equal(data, data + compared, magicBytes.begin(),
                                [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
  fuzz::Require(loaded == magic, "a rocket file was refused, or a foreign file taken");
  fuzz::RequireMessages(prompts);
  if (!loaded) {
    fuzz::Require(prompts.errors.size() == 1, "a refused file without its one message");
    return 0;
  }
  fuzz::RequireLoaded(doc, prompts, views, path, size);

  // Saved, the document is a whole rocket file that reads back byte for byte.
  SaveRocketFile(rig->saved, doc.rocket());
  const RocketFileContent back = ReadRocketFile(rig->saved, RocketRecord{});
  fuzz::Require(back.complete() && back.isRocket(), "saved file not a whole rocket file");
  fuzz::Require(fuzz::SameBytes(back.record, doc.rocket()), "saved file reads back different");

  // The plot's double-click: the record through the stage form once more.
  doc.ChangeWithReload(prompts, views);
  fuzz::RequireMessages(prompts);
  fuzz::Require(prompts.errors.empty() && doc.changed(), "second transfer failed");
  fuzz::RequireSaneFlight(doc.simulation());
  return 0;
}
