// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace komet {

// The program's version, shown by the about box and printed in footers.
inline constexpr std::string_view kVersionNumber = "1.09";

// Who holds the rights, and the licence, for the about box and --version.
inline constexpr std::string_view kCopyright = "Copyright © 2026 Komet-Projekt";
inline constexpr std::string_view kLicence =
    "Lizenz GPLv3+: GNU General Public License, Version 3 oder neuer\n"
    "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
    "Komet ist freie Software: Sie dürfen es ändern und weitergeben.\n"
    "Es gibt KEINE GARANTIE, soweit das Gesetz es zulässt.";

}  // namespace komet
