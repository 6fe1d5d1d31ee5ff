// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/read_out.h"

#include "common/format.h"

namespace komet {

std::optional<ReadOutTexts> ReadOut(int x, const PlotState& st, const FlightView& flight, char sep) {
  const long long dx = static_cast<long long>(x) - st.plotOriginX;
  if (dx <= 0) return std::nullopt;
  ReadOutTexts out;
  double t = static_cast<double>(dx);
  if (st.scaleX != 0.0) {
    t = st.startTime + dx / st.scaleX;
    if (flight.results.resultsValid) {
      const FlightSample& s = ClampedSampleBefore(flight, t);
      out.height = Format(sep, "%.1f", s.height);
      out.velocity = Format(sep, "%.1f", s.velocity);
      out.velocityKmh = Format(sep, "%.1f", s.velocity * kKmhPerMps);
      out.accel = Format(sep, "%.1f", s.accel);
    }
  }
  out.time = Format(sep, "%.1f", t);
  return out;
}

}  // namespace komet
