// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "motors/import_result.h"
#include "motors/motor_record.h"

namespace komet::fuzz {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
inline bool IsUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b < 0x80)
      extra = 0;
    else if (b >= 0xC2 && b <= 0xDF)
      extra = 1;
    else if (b >= 0xE0 && b <= 0xEF)
      extra = 2, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4)
      extra = 3, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    else
      return false;
    if (i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if (k == 1 ? (c < lo || c > hi) : (c & 0xC0) != 0x80) return false;
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// Lines as the raw bytes count them: never fewer than the decoded text has.
inline int LineCount(std::string_view text) {
  int lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lines;
  }
  return lines + 1;
}

// What any motor file reader must say: every diagnostic on a line of the
// text, in UTF-8; something imported or something said.
inline void RequireSaneDiagnostics(const MotorImport& in, std::string_view text) {
  const int lines = LineCount(text);
  for (const ImportDiagnostic& d : in.problems) {
    Require(d.line >= 0 && d.line <= lines && !d.message.empty(), "diagnostic line");
    Require(IsUtf8(d.text()), "diagnostic is not UTF-8");
  }
  Require(!in.motors.empty() || !in.problems.empty(), "nothing imported and nothing said");
}

// What any imported motor must be: a curve from 0 that returns to 0 with
// ascending times, its burn time and peak the curve's, masses that fit,
// ascending delays, a record that stores as it is.
inline void RequireSaneMotor(const MotorRecord& m) {
  Require(m.name.view().size() <= 50 && m.deletedMark == 0, "motor name or mark");
  const std::size_t n = CurvePointCount(m);
  Require(n >= 2 && m.curveThrust[n - 1] == 0.0, "curve does not return to 0");
  double peak = 0.0;
  for (std::size_t k = 0; k < MotorRecord::kCurvePoints; ++k) {
    const double t = m.curveTime[k], f = m.curveThrust[k];
    Require(std::isfinite(t) && std::isfinite(f) && t >= 0.0 && f >= 0.0, "curve point");
    if (k >= n) Require(t == 0.0 && f == 0.0, "point after the curve's end");
    if (k > 0 && k < n) Require(t >= m.curveTime[k - 1] && t > 0.0, "times not ascending");
    if (k < n) peak = std::max(peak, f);
  }
  Require(m.burnTime == m.curveTime[n - 1] && m.maxThrust == peak, "burn time or peak thrust");
  Require(m.propellantMass >= 0.0 && m.propellantMass <= m.totalMass && std::isfinite(m.totalMass), "masses");
  for (std::size_t k = 1; k < m.delays.size(); ++k)
    Require(m.delays[k] == 0 || m.delays[k] > m.delays[k - 1], "delays not ascending");
  std::vector<std::uint8_t> bytes(MotorRecord::kSize);
  EncodeMotorRecord(m, bytes);
  Require(DecodeMotorRecord(bytes) == m, "motor does not round-trip");
}

}  // namespace komet::fuzz
