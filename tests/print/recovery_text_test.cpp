// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/recovery_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace komet {
namespace {

// Every row is there in every state, so that the evaluation's block keeps
// its shape; a figure the flight did not reach says so instead of showing a
// number, and the drift says it is an estimate.
TEST(RecoveryText, RowsAndReportLineSayWhatTheFlightReached) {
  const struct {
    const char* what;
    std::function<void(RecoveryFigures&)> change;
    std::vector<std::string> rowsHave, lineHas, lineLacks;
  } cases[] = {
      {"opened and landed",
       [](RecoveryFigures&) {},
       {"Öffnung: nach 6,86 s in 298,0 m", "Öffnungsstoß: 5,5 g", "Sinkgeschwindigkeit: 4,2 m/s",
        "Abdrift: ~357 m bei 5,0 m/s Wind (Schätzung"},
       {"Fallschirm 300 mm", "Öffnung 6,86 s bei 8,9 m/s", "Sinken 4,2 m/s", "~357 m"},
       {}},
      {"landed before it opened",
       [](RecoveryFigures& f) { f.deployed = false; },
       {"Öffnung: keine", "Öffnungsstoß: –", "Flugzeit: 78,66 s"},
       {"öffnet nicht", "78,66 s"},
       {"Sinken", "Abdrift"}},
      {"a streamer at apogee, still in the air at the last step",
       [](RecoveryFigures& f) {
         f.recovery = {.kind = Recovery::Kind::Streamer, .lengthMm = 1200, .widthMm = 40, .cw = 0.0331};
         f.recovery.deployment = Recovery::Deployment::Apogee;
         f.landed = false, f.flightTime = 349.99;
       },
       {"Bergung: Band 1200 × 40 mm, cw 0,033; öffnet im Gipfel", "Sinkgeschwindigkeit: –",
        "Landegeschwindigkeit: –", "Flugzeit: mehr als 349,99 s", "Abdrift: mehr als 357 m"},
       {"Band 1200 × 40 mm", "noch in der Luft"},
       {"Sinken", "~"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecoveryFigures f{.recovery = {.diameterMm = 300.0, .cw = 0.8, .delay = 5.0}, .deployed = true};
    f.deploymentTime = 6.86, f.deploymentHeight = 298.04, f.deploymentSpeed = 8.93, f.openingShock = 5.49;
    f.descentRate = 4.217, f.landed = true, f.landingSpeed = 4.22, f.flightTime = 78.66, f.wind = 5.0;
    f.drift = 356.6;
    c.change(f);
    std::string rows;
    for (const RecoveryRow& r : RecoveryRows(f, ',')) rows += std::string(r.label) + " " + r.value + "\n";
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 7) << rows;
    for (const std::string& part : c.rowsHave)
      EXPECT_NE(rows.find(part), std::string::npos) << part << "\n" << rows;
    const std::string line = RecoveryReportLine(f, ',');
    for (const std::string& part : c.lineHas)
      EXPECT_NE(line.find(part), std::string::npos) << part << "\n" << line;
    for (const std::string& part : c.lineLacks)
      EXPECT_EQ(line.find(part), std::string::npos) << part << "\n" << line;
  }
}

}  // namespace
}  // namespace komet
