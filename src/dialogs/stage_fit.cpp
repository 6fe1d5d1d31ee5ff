// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/stage_fit.h"

#include "common/format.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "sim/rocket_stability.h"

namespace komet {
namespace {

const MotorListEntry* Entry(const StageForm& form, int item) {
  return item >= 0 && static_cast<std::size_t>(item) < form.motorList.size()
             ? &form.motorList[static_cast<std::size_t>(item)]
             : nullptr;
}

// "E6" rather than "E6 [AeroTech]": the message names the maker nowhere else either.
std::string MotorName(const MotorListEntry& e) {
  if (e.details && !e.details->commonName.empty()) return Cp1252ToUtf8(e.details->commonName);
  const std::string name = Cp1252ToUtf8(e.name);
  return name.substr(0, name.find(" ["));
}

int PresentStages(const RocketRecord& rocket) {
  int n = 0;
  while (n < static_cast<int>(kStageCount) && rocket.stages[static_cast<std::size_t>(n)].counts[0] > 0) ++n;
  return n;
}

}  // namespace

StageMount FormStageMount(const StageForm& form, const RocketShape* shape, std::size_t stage) {
  const std::size_t first = stage * kSlotCount;
  const MotorListEntry* motor = Entry(form, form.motore[first]);
  const bool counts = ParseNumber(form.anzmot[first]) > 0;
  return StageMountOf(shape, static_cast<int>(stage), motor && counts ? motor->details : std::nullopt);
}

std::string MountRefusal(const StageForm& form, const RocketShape* shape, std::size_t stage, int item,
                         char sep) {
  const MotorListEntry* motor = Entry(form, item);
  if (!shape || !motor || !motor->details) return {};
  const StageMount m = FormStageMount(form, shape, stage);
  if (m.source != StageMount::Source::Shape) return {};
  const MountLimit limit = LimitOf(m.mount);
  const MotorDetails& d = *motor->details;
  const std::string refused = MotorName(*motor) + " passt nicht in die Motorhalterung dieser Stufe ";
  switch (FitOf(limit, d.diameterMm, d.lengthMm)) {
    case MountFit::Fits:
      return {};
    case MountFit::TooWide:
      return refused + Format(sep, "(Ø %.1f mm > %.1f mm).", d.diameterMm, limit.diameterMm);
    case MountFit::TooLong:
      return refused + Format(sep, "(Länge %.1f mm > %.1f mm Halterung + %.1f mm Überstand).", d.lengthMm,
                              m.mount.length * 1000.0, m.mount.overhang * 1000.0);
  }
  return {};
}

std::optional<StabilityFigures> FormStability(const StageForm& form, const RocketRecord& current,
                                              const RocketShape* shape,
                                              const std::filesystem::path& database) {
  if (!shape) return std::nullopt;
  RocketRecord rocket;
  try {
    rocket = HoleDaten(form, current, database);
  } catch (const KometError&) {
    return std::nullopt;
  }
  const int stages = PresentStages(rocket);
  if (stages == 0 || static_cast<int>(shape->stages.size()) < stages) return std::nullopt;
  return PlannedStability(*shape, rocket);
}

StabilityNote StabilityNoteOf(const std::optional<StabilityFigures>& f, bool hasShape, char sep) {
  if (!hasShape) return {"Stabilität: keine Form", std::nullopt};
  if (!f) return {"Stabilität: –", std::nullopt};
  StabilityNote note{Format(sep, "Stabilität: %.1f Kaliber (min. %.1f)", f->margin, f->minMargin),
                     std::nullopt};
  if (f->minMargin < RuleOf(SafetyRuleId::Unstable).threshold)
    note.level = SafetyLevel::Red;
  else if (f->minMargin < RuleOf(SafetyRuleId::MarginallyStable).threshold ||
           f->margin > RuleOf(SafetyRuleId::OverStable).threshold)
    note.level = SafetyLevel::Amber;
  return note;
}

}  // namespace komet
