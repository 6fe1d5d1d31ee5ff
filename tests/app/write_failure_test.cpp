// SPDX-License-Identifier: GPL-3.0-or-later
// A disk that fills up while Komet writes: every writer reports why, and the
// file it was to replace keeps its bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <sstream>

#include "app/cli_output.h"
#include "app/sim_cli.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "dialogs/options_record.h"
#include "model/rocket_file.h"
#include "motors/motor_database.h"
#include "support/cli_rocket.h"
#include "support/file_bytes.h"
#include "support/motor_fixtures.h"
#include "support/temp_dir.h"

namespace komet {
namespace {

class WriteFailureTest : public ::testing::Test, protected testing::CliRocketFiles {
 protected:
  void TearDown() override { SetWriteFault({}); }

  // komet-sim's message on standard error, "" when it wrote everything.
  std::string Sim(const std::vector<std::string>& args, std::ostream& out) {
    std::ostringstream err;
    const int status = RunKometSim(args, SimCliEnvironment{}, out, err);
    EXPECT_EQ(status == 0, err.str().empty()) << err.str();
    return status == 2 ? err.str() : "";
  }

  // The arguments flying this rocket, and more.
  std::vector<std::string> Fly(std::vector<std::string> args) const {
    args.insert(args.begin(), {rocket.string(), "--db", db.string()});
    return args;
  }
};

// The error message of a writer, "" when it wrote its file.
std::string Message(const std::function<void()>& write) {
  try {
    write();
  } catch (const KometError& e) {
    return e.what();
  }
  return "";
}

TEST_F(WriteFailureTest, EveryWriterKeepsTheOlderFileOnAFullDisk) {
  std::ostringstream out;
  OptionsRecord options;
  InitOptions(options, "/home/komet");
  // The command line names the file; the desktop's callers put the name
  // before the core writers' reason.
  const struct {
    const char* name;
    bool named;
    std::function<std::string(const std::filesystem::path&)> write;
  } writers[] = {
      {"rakete.kmw", false,
       [](const auto& p) {
         return Message(
             [&] { SaveRocketFile(p, testing::SingleStageRocket("R", testing::BoxMotor("A8", 8, 0.5))); });
       }},
      {"motoren.kdb", false,
       [](const auto& p) {
         return Message([&] { WriteMotorDatabase(p, {{testing::BoxMotor("B4", 4, 1.0)}}); });
       }},
      {"komet.opt", false, [&](const auto& p) { return Message([&] { SaveOptions(p, options); }); }},
      {"flug.csv", true,
       [&](const auto& p) {
         return Sim(Fly({"--csv", p.string()}), out);
       }},
      {"flug.json", true,
       [&](const auto& p) {
         return Sim(Fly({"--json", p.string()}), out);
       }},
  };
  for (const auto& [name, named, write] : writers) {
    testing::TempDir folder;
    const std::filesystem::path file = folder.path() / name;
    ASSERT_EQ(write(file), "") << name;
    const std::vector<std::uint8_t> before = testing::ReadBytes(file);
    for (const WriteFault& fault : {WriteFault{1, 0, ENOSPC}, WriteFault{1, 100, ENOSPC}}) {
      SetWriteFault(fault);
      const std::string message = write(file);
      SetWriteFault({});
      EXPECT_EQ(message.find(file.string()) != std::string::npos, named) << name << ": " << message;
      EXPECT_NE(message.find("kein Platz"), std::string::npos) << name << ": " << message;
      EXPECT_EQ(testing::ReadBytes(file), before) << name;
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << name;
    }
  }
}

// Standard output is a file too: what does not arrive is an error with its
// reason, and exit status 2; a reader who went away gets no message.
TEST_F(WriteFailureTest, StandardOutputIsChecked) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--csv", "-"}, {"--json", "-"}, {"--summary-line"}, {}}) {
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    std::string message;
    {
      FdOutputBuffer buffer(full);
      std::ostream out(&buffer);
      message = Sim(Fly(args), out);
    }
    ::close(full);
    EXPECT_NE(message.find("Standardausgabe: E/A-Fehler 28"), std::string::npos) << message;
  }

  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ::close(pipeEnds[0]);
  const auto oldAction = std::signal(SIGPIPE, SIG_IGN);
  std::ostringstream err;
  int status = 0;
  {
    FdOutputBuffer buffer(pipeEnds[1]);
    std::ostream out(&buffer);
    status = RunKometSim({rocket.string(), "--db", db.string(), "--csv", "-"}, SimCliEnvironment{}, out, err);
  }
  std::signal(SIGPIPE, oldAction);
  ::close(pipeEnds[1]);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace komet
