// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace komet {

// What `komet-sim --help` prints below the synopsis: the flight's options,
// the commands, examples with the sample rockets in `examplesDir` (none when
// empty) and the exit status.
std::string FlightHelp(const std::filesystem::path& examplesDir);

// `komet-sim COMMAND --help`: the command's usage and options; nothing for a
// name that is no command.
std::optional<std::string_view> CommandHelp(std::string_view command);

// `--version`: the program's name and version, the copyright and the licence.
std::string VersionText(std::string_view program = "komet-sim");

// What `komet --help` or `komet --version` prints; nothing for any other
// command line, whose words name a rocket file.
std::optional<std::string> DesktopInfo(const std::vector<std::string>& args);

}  // namespace komet
