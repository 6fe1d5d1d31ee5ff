// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace komet {

// komet-sim's motor commands, args[0] being the command:
//   import FILES-OR-FOLDERS... -o FILE.kdb [--append]   (also "import-eng")
//   motors [--db FILE] [--csv FILE|-] [--json FILE|-]
// `database` is the database komet-sim would fly with. Returns the exit
// status (0 done, 1 an import with refused entries, 2 bad input), or nothing
// when args[0] is no motor command.
std::optional<int> RunMotorCommand(const std::vector<std::string>& args,
                                   const std::filesystem::path& database, std::ostream& out,
                                   std::ostream& err);

}  // namespace komet
