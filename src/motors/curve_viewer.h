#pragma once

#include <string>

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

}  // namespace komet
