// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/document.h"
#include "sim/sim_constants.h"
#include "support/fake_prompts.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet::testing {

// A document whose motor database, in a fresh directory, holds `motors`;
// the user's side is a script.
class DocumentFixture : public ::testing::Test {
 protected:
  explicit DocumentFixture(std::vector<MotorRecord> motors)
      : motors_(std::move(motors)), doc(constants, [this] { return db; }) {}
  void SetUp() override {
    db = WriteDatabase(dir.path(), motors_);
    doc.ReloadMotorDatabase();
  }

 private:
  std::vector<MotorRecord> motors_;

 protected:
  TempDir dir;
  std::filesystem::path db;
  FixedConstants constants;
  Document doc;
  ScriptedPrompts prompts;
  FakeViews views;
};

}  // namespace komet::testing
