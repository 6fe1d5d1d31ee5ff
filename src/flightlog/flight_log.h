// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace komet {

// How an altimeter laid out its recording.
enum class FlightLogShape {
  Columns,            // number columns only
  ColumnsWithHeader,  // a line of column names, then the numbers
  KeyValueBlock,      // "Key: value" lines (perhaps "Data: (Time, Altitude, ...)"), then the numbers
  Telemetry,          // the telemetry altimeters' CSV, "#version,serial,flight,..."
};

enum class HeightUnit { Metre, Foot };

inline constexpr double kMetresPerFoot = 0.3048;
// The rise above the pad that counts as a launch, m.
inline constexpr double kLaunchRise = 3.0;

// A measured flight as read from an altimeter's text file. Times are seconds
// from launch, heights metres above the pad; the recording's own samples
// before launch are kept (negative times).
struct FlightLog {
  std::string fileName;
  FlightLogShape shape = FlightLogShape::Columns;
  char separator = ',';  // ',', ';', '\t' or ' ' (blanks)
  char decimal = '.';
  std::string timeColumn, heightColumn;             // as the file names them; "Spalte N" without names
  std::optional<HeightUnit> fileUnit;               // what the file says; none when it cannot be told
  HeightUnit unit = HeightUnit::Metre;              // what the heights were read in
  std::size_t firstDataLine = 0, lastDataLine = 0;  // 1-based
  double launchTime = 0.0;                          // s, on the recording's own clock
  double padHeight = 0.0;                           // m, in the recording's own reference
  std::vector<double> time;                         // s since launch
  std::vector<double> height;                       // m above the pad
  std::vector<double> smoothed;                     // 3-sample median of height
  std::size_t launchIndex = 0, apogeeIndex = 0;
  double apogee = 0.0;      // m, highest point of the median after launch
  double apogeeTime = 0.0;  // s since launch
  // When the median first reached 3 m above the pad, s since launch
  // (interpolated): the moment a simulated flight is aligned on, as it is
  // seen through the noise far more sharply than the first centimetres.
  double riseTime = 0.0;

  std::size_t size() const { return time.size(); }
  // Whether the height unit was taken from the file rather than assumed.
  bool unitKnown() const { return fileUnit.has_value(); }
};

// Reads a recording. Heights are in the unit the file names, else in
// `unit`, else in metres. Throws KometError with a German message naming the
// file and the line for anything that is not a recording with a launch.
FlightLog ParseFlightLog(std::string_view text, const std::string& fileName,
                         std::optional<HeightUnit> unit = std::nullopt);

// The same from a file (read only, never written); throws KometError when it
// cannot be read or is far larger than any recording.
FlightLog ReadFlightLogFile(const std::filesystem::path& path, std::optional<HeightUnit> unit = std::nullopt);

// The measured velocity, m/s: a central difference over the median heights
// (one-sided at both ends).
std::vector<double> MeasuredVelocity(const FlightLog& log);

// What was found, in German: "Spalten mit Kopfzeile, Semikolon, Dezimalkomma".
std::string ShapeText(const FlightLog& log);
std::string_view UnitText(HeightUnit unit);  // "m" or "ft"

}  // namespace komet
