#pragma once

#include <filesystem>
#include <string_view>

namespace komet {

inline constexpr std::string_view kOptionsFileName = "KOMET.OPT";

// Where the options file lives: beside the program when that directory holds
// one or can take one and is no installed program's, else in the user's
// configuration directory.
std::filesystem::path ChooseOptionsFile(const std::filesystem::path& programDir,
                                        const std::filesystem::path& userConfigDir);

}  // namespace komet
