// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

namespace komet {

inline constexpr std::string_view kOptionsFileName = "KOMET.OPT";

// Where the options file lives: beside the program only for a portable copy
// (IsPortableFolder), else in `userConfigDir`, which SaveOptions creates
// when it writes.
std::filesystem::path ChooseOptionsFile(const std::filesystem::path& programDir,
                                        const std::filesystem::path& userConfigDir);

// A portable copy: the folder already holds a KOMET.OPT, belongs to the
// user running the program, is none of the system's folders and has no
// installed data beside it (../share/komet). An installed program, even
// one run by root, is never one.
bool IsPortableFolder(const std::filesystem::path& programDir);

// Whether a folder lies where the system installs programs and their data
// (/usr, /opt, /bin, /etc, ...), judged on its path alone.
bool IsSystemFolder(const std::filesystem::path& folder);

}  // namespace komet
