// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/canvas.h"
#include "motors/motor_record.h"

namespace komet {

// The motor curve viewer's paint: the thrust curve of `motor` scaled to a
// W x H surface, with maximum thrust and burn time written beside it.
// Nothing is drawn for recordNo -1, a surface of range 0, or a motor with
// burn time or maximum thrust 0. Returns the window caption: the motor's
// name (UTF-8), in every case.
std::string PaintMotorCurve(Canvas& canvas, int width, int height, const MotorRecord& motor, int recordNo,
                            char decimalSeparator);

// What the published data say beyond the curve, as lines for the viewer:
// "Estes C6-3, Klasse C, 8,82 Ns, Ø 5,5 N mittlerer Schub" and
// "18 x 70 mm, Verzögerungen 3, 5, 7 s"; none when the record has no details.
std::vector<std::string> MotorDetailLines(const MotorRecord& motor, char decimalSeparator);

// Height of the band below the curve that the detail lines take: 0 without
// details.
inline constexpr int kDetailLineHeight = 13;
int MotorDetailBand(const MotorRecord& motor);

// The detail lines in the band that starts at `top`, in the curve's 7-point
// font.
void PaintMotorDetails(Canvas& canvas, int top, const MotorRecord& motor, char decimalSeparator);

}  // namespace komet
