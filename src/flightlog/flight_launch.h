// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "common/komet_error.h"
#include "flightlog/flight_log.h"

namespace komet {

// The one message for a file that is no recording: "flug.csv, Zeile 12: ...".
[[noreturn]] inline void Fail(const std::string& file, std::size_t line, const std::string& what) {
  throw KometError(KometError::Kind::Format, file + ", Zeile " + std::to_string(line) + ": " + what);
}

// From the samples read (times on the recording's clock, heights in its own
// reference, at least three): the median, the pad level, launch, rise and
// apogee; then times from launch and heights above the pad. Throws
// KometError naming `file` when the height never stays 3 m above the pad.
void FindLaunch(FlightLog& log, const std::string& file);

}  // namespace komet
