// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>
#include <memory>
#include <string>

namespace komet::bench {

// Qt wants an application (widgets a QApplication, fonts and the PDF writer
// a QGuiApplication); the benchmark's main comes from the benchmark library,
// so it is made on first use, offscreen, named after the benchmark.
template <typename Application>
void EnsureApplication(const char* name) {
  static std::string program = name;
  static int argc = 1;
  static char* argv[] = {program.data(), nullptr};
  static std::unique_ptr<Application> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<Application>(argc, argv);
  }();
}

// Milliseconds, the aggregates of `N` repetitions: the windows' timings
// vary with the system's load.
template <int N>
void RepeatedInMilliseconds(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->Repetitions(N)->ReportAggregatesOnly(true);
}

}  // namespace komet::bench
