// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "plot/flight_plot.h"
#include "plot/flight_view.h"

namespace komet {

// One panel of the status bar AStatusBar1, left to right.
struct StatusPanelEntry {
  int width;              // px
  bool lowered;           // lowered frame (the read-out fields); else none
  std::string_view text;  // fixed label text; empty for read-out fields
};

// A read-out field; each follows the label that names it.
inline constexpr StatusPanelEntry kReadOutField{40, true, ""};

inline constexpr std::array<StatusPanelEntry, 12> kStatusPanels{{
    {10, false, "t:"},
    kReadOutField,
    {55, false, "[sec]      h:"},
    kReadOutField,
    {45, false, "[m]     v:"},
    kReadOutField,
    {43, false, "[m/sec]"},
    kReadOutField,
    {63, false, "[km/h]      a:"},
    kReadOutField,
    {50, false, "[m/sec²]"},
    {50, false, ""},
}};

// Panels the read-out writes.
inline constexpr std::size_t kPanelTime = 1;
inline constexpr std::size_t kPanelHeight = 3;
inline constexpr std::size_t kPanelVelocity = 5;
inline constexpr std::size_t kPanelVelocityKmh = 7;
inline constexpr std::size_t kPanelAccel = 9;

// New texts of the read-out panels; a panel without a text keeps its own.
struct ReadOutTexts {
  std::string time;                        // panel 1
  std::optional<std::string> height;       // panel 3
  std::optional<std::string> velocity;     // panel 5
  std::optional<std::string> velocityKmh;  // panel 7
  std::optional<std::string> accel;        // panel 9
};

// The read-out for a pointer at surface x. Nothing (no change) on or left of
// the value axis. Right of it the time, and with results the values of the
// sample SampleBefore(t); right of the computed flight that is its last
// sample, so the panels hold the values where the flight ended.
std::optional<ReadOutTexts> ReadOut(int x, const PlotState& state, const FlightView& flight,
                                    char decimalSeparator);

}  // namespace komet
