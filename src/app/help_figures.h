// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace komet {

// What the help pages write as {{name}}: the limits of the safety rules and
// the settings, and the folders and files the program uses, each made by
// the code that the program itself uses for it. Numbers in German form,
// paths under the home folder written with "~".
std::vector<std::pair<std::string, std::string>> HelpFigures();

// `html` with every {{name}} of HelpFigures() filled in; others are left.
std::string FillHelpFigures(std::string html);

}  // namespace komet
