// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "motors/eng_curve.h"
#include "motors/import_result.h"
#include "motors/motor_record.h"

namespace komet::testing {

// Every problem of an import, one a line, as a failure message shows them.
inline std::string Problems(const MotorImport& result) {
  std::string all;
  for (const ImportDiagnostic& d : result.problems) all += d.text() + "\n";
  return all;
}

// The import without the mass check's warnings: the parser tests' motors
// are shapes, not physics, and the check has tests of its own.
inline MotorImport ShapesOnly(MotorImport result) {
  std::erase_if(result.problems,
                [](const ImportDiagnostic& d) { return d.message.starts_with("Daten fraglich"); });
  return result;
}

// The points of a motor's curve up to its end.
inline std::vector<CurvePoint> Curve(const MotorRecord& m) {
  std::vector<CurvePoint> points;
  for (std::size_t k = 0; k < CurvePointCount(m); ++k) points.push_back({m.curveTime[k], m.curveThrust[k]});
  return points;
}

// A case's name for gtest from its rule: blanks become underscores.
template <typename Case>
std::string RuleName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.rule;
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}

}  // namespace komet::testing
