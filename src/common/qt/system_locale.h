// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace komet {

// The system locale's decimal separator where it is one ASCII character,
// else a point.
char LocaleDecimalSeparator();

// The date and time texts of printouts, in the user's short date and long
// time formats; the time without its zone ("14:03:07").
QString PrintDateText();
QString PrintTimeText();

// "date, time" as a report's footer shows it.
std::string PrintDateTime();

}  // namespace komet
