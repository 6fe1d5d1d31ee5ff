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

// Where the pad level was taken from.
enum class PadSource {
  BeforeRise,     // the median of the still samples before the rise
  AltimeterZero,  // the recording starts in boost: the altimeter's own zero
  AfterLanding,   // its zero disagreed with the level after landing, which is taken
};

inline constexpr double kMetresPerFoot = 0.3048;
// The rise above the pad that counts as a launch, m.
inline constexpr double kLaunchRise = 3.0;
// How long the height must stay above kLaunchRise to be a launch rather
// than a pressure spike, s.
inline constexpr double kLaunchHold = 1.0;
// The width of the window the measured velocity is a least-squares slope
// over, s.
inline constexpr double kVelocityWindow = 0.25;

// A measured flight as read from an altimeter's text file. Times are seconds
// from launch, heights metres above the pad; the recording's own samples
// before launch are kept (negative times). Rows that repeat a time are one
// sample, the mean of their heights.
struct FlightLog {
  std::string fileName;
  FlightLogShape shape = FlightLogShape::Columns;
  char separator = ',';  // ',', ';', '\t' or ' ' (blanks)
  char decimal = '.';
  std::string timeColumn, heightColumn;             // as the file names them; "Spalte N" without names
  std::optional<HeightUnit> fileUnit;               // what the file says; none when it cannot be told
  std::string unitReason;                           // in German, what said so (or what hints at unitHint)
  std::optional<HeightUnit> unitHint;               // a sign short of proof (temperatures in °F)
  HeightUnit unit = HeightUnit::Metre;              // what the heights were read in
  std::size_t firstDataLine = 0, lastDataLine = 0;  // 1-based
  std::size_t mergedRows = 0;                       // rows that repeated a time
  bool lastLineCut = false;                         // the file ends inside a row, which is left out
  double launchTime = 0.0;                          // s, on the recording's own clock
  double padHeight = 0.0;                           // m, in the recording's own reference
  PadSource padSource = PadSource::BeforeRise;
  std::vector<double> time;      // s since launch
  std::vector<double> height;    // m above the pad
  std::vector<double> smoothed;  // 3-sample median of height (the ends repeat their neighbour)
  std::size_t launchIndex = 0, apogeeIndex = 0;
  double apogee = 0.0;      // m, highest point of the median after launch
  double apogeeTime = 0.0;  // s since launch
  // When the median first reached 3 m above the pad, s since launch
  // (interpolated): the moment a simulated flight is aligned on, as it is
  // seen through the noise far more sharply than the first centimetres.
  double riseTime = 0.0;
  // The apogee the altimeter itself wrote into the header, m above the pad,
  // with its number and unit as written there.
  std::optional<double> reportedApogee;
  double reportedValue = 0.0;
  HeightUnit reportedUnit = HeightUnit::Metre;

  std::size_t size() const { return time.size(); }
  // Whether the height unit was taken from the file rather than assumed.
  bool unitKnown() const { return fileUnit.has_value(); }
};

// Reads a recording. Heights are in the unit the file names, else in
// `unit`, else in the unit the file hints at, else in metres. Throws
// KometError with a German message naming the file and the line for
// anything that is not a recording with a launch.
FlightLog ParseFlightLog(std::string_view text, const std::string& fileName,
                         std::optional<HeightUnit> unit = std::nullopt);

// The same from a file (read only, never written); throws KometError when it
// cannot be read or is far larger than any recording.
FlightLog ReadFlightLogFile(const std::filesystem::path& path, std::optional<HeightUnit> unit = std::nullopt);

// The measured velocity, m/s: at each sample the least-squares slope of the
// median heights within kVelocityWindow around it (at least its two
// neighbours).
std::vector<double> MeasuredVelocity(const FlightLog& log);

// What was found, in German: "Spalten mit Kopfzeile, Semikolon, Dezimalkomma".
std::string ShapeText(const FlightLog& log);
std::string_view UnitText(HeightUnit unit);  // "m" or "ft"
std::string_view PadSourceText(PadSource source);

}  // namespace komet
