// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace komet {

// The program's folder for settings: $XDG_CONFIG_HOME/Komet, else
// ~/.config/Komet. A relative or empty variable is ignored, as the XDG base
// directory rules ask. Only named, not created.
std::filesystem::path UserConfigFolder();

// The file beside the options file that keeps every other setting:
// komet.conf in UserConfigFolder().
std::filesystem::path UserSettingsFile();

// The program's folder for the user's own data (the personal motor
// database): $XDG_DATA_HOME/Komet, else ~/.local/share/Komet. Not created.
std::filesystem::path UserDataFolder();

// Creates `folder` with every missing parent, each new one with mode 0700
// (folders that exist keep their rights), and returns it. Throws KometError
// with the German reason when it cannot be made.
std::filesystem::path MakeUserFolder(const std::filesystem::path& folder);

}  // namespace komet
