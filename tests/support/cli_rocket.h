// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "model/rocket_file.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet::testing {

// A folder holding a database with one C6 and a single-stage rocket flying
// it: what komet-sim's tests name on the command line.
struct CliRocketFiles {
  static MotorRecord C6() { return BoxMotor("C6", 6, 1.8, 0.0108, 0.0231); }

  TempDir dir;
  std::filesystem::path db = WriteDatabase(dir.path(), {C6()});
  std::filesystem::path rocket = [this] {
    const std::filesystem::path file = dir.path() / "test.kmw";
    SaveRocketFile(file, SingleStageRocket("Testrakete", C6()));
    return file;
  }();
};

}  // namespace komet::testing
