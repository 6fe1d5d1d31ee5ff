// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/sim_cli.h"
#include "common/version.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome RunSim(const std::vector<std::string>& args, const SimCliEnvironment& env = {}) {
  std::ostringstream out, err;
  const int status = RunKometSim(args, env, out, err);
  return {status, out.str(), err.str()};
}

// Every command answers --help with its own usage, wherever --help stands,
// and its parser never takes it for an option or a file.
TEST(SimHelpTest, EveryCommandAnswersHelpWithItsUsage) {
  const struct {
    std::vector<std::string> args;
    const char* usage;
  } cases[] = {
      {{"--help"}, "Aufruf: komet-sim RAKETE.kmw"},
      {{"-h"}, "Aufruf: komet-sim RAKETE.kmw"},
      {{"rakete.kmw", "--csv", "-", "--help"}, "Aufruf: komet-sim RAKETE.kmw"},
      {{"import", "--help"}, "Aufruf: komet-sim import "},
      {{"import-eng", "-h"}, "Aufruf: komet-sim import "},
      {{"motors", "--help"}, "Aufruf: komet-sim motors "},
      {{"motors", "--db", "x.kdb", "--help"}, "Aufruf: komet-sim motors "},
      {{"guide", "--help"}, "Aufruf: komet-sim guide "},
      {{"guide", "rakete.kmw", "--class", "C", "-h"}, "Aufruf: komet-sim guide "},
      {{"flight", "flug.csv", "--help"}, "Aufruf: komet-sim flight "},
      {{"fit", "rakete.kmw", "--flight", "flug.csv", "-h"}, "Aufruf: komet-sim fit "},
  };
  for (const auto& c : cases) {
    const Outcome o = RunSim(c.args);
    EXPECT_EQ(o.status, 0) << c.args[0] << ' ' << o.err;
    EXPECT_EQ(o.out.rfind(c.usage, 0), 0u) << c.args[0] << ":\n" << o.out;
    EXPECT_EQ(o.err, "") << c.args[0];
  }
}

TEST(SimHelpTest, TheHelpNamesTheSampleRocketsWhereTheyAre) {
  SimCliEnvironment env;
  env.examplesDir = "/opt/komet/examples/rockets";
  const Outcome o = RunSim({"--help"}, env);
  EXPECT_NE(o.out.find("komet-sim /opt/komet/examples/rockets/einstufig_c6.kmw\n"), std::string::npos)
      << o.out;
  EXPECT_EQ(RunSim({"--help"}).out.find("einstufig_c6.kmw"), std::string::npos);
}

// The list names the rockets the folder holds, in name order, and nothing else.
TEST(SimHelpTest, TheListOfSampleRocketsIsWhatTheFolderHolds) {
  testing::TempDir dir;
  for (const char* name : {"rakete10.kmw", "rakete2.kmw", "rakete1.kmw", "rakete1.txt"}) {
    std::ofstream(dir.path() / name) << "x";
  }
  std::filesystem::create_directory(dir.path() / "ordner.kmw");
  SimCliEnvironment env;
  env.examplesDir = dir.path();
  const Outcome o = RunSim({"--help"}, env);
  EXPECT_NE(o.out.find(":\nrakete1.kmw, rakete2.kmw und rakete10.kmw.\n"), std::string::npos) << o.out;
}

TEST(SimHelpTest, VersionNamesTheLicence) {
  const Outcome o = RunSim({"--version"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("komet-sim " + std::string(kVersionNumber) + "\n", 0), 0u) << o.out;
  EXPECT_NE(o.out.find("GPLv3+"), std::string::npos) << o.out;
}

// Only a lone --help or --version is a question; every other command line
// still names a rocket file, so "./--help" and "--help x" open files.
TEST(SimHelpTest, TheDesktopAnswersOnlyALoneHelpOrVersion) {
  const struct {
    std::vector<std::string> args;
    const char* start;  // nullptr: a rocket file
  } cases[] = {
      {{"--help"}, "Aufruf: komet "},
      {{"--version"}, "komet 1"},
      {{"./--help"}, nullptr},
      {{"--help", "x"}, nullptr},
      {{"-h"}, nullptr},
      {{"Meine", "--version"}, nullptr},
      {{}, nullptr},
  };
  for (const auto& c : cases) {
    const auto info = DesktopInfo(c.args);
    ASSERT_EQ(info.has_value(), c.start != nullptr) << (c.args.empty() ? "" : c.args[0]);
    if (c.start) {
      EXPECT_EQ(info->rfind(c.start, 0), 0u) << *info;
    }
  }
}

}  // namespace
}  // namespace komet
