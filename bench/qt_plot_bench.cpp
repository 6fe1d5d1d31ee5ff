// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the screen plot into an image and printing the report to PDF,
// over a 50 s synthetic flight (10,000 samples per curve).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "../tests/plot/synthetic_flight.h"
#include "model/rocket_record.h"
#include "plot/qt/plot_export.h"
#include "print/qt/report_export.h"
#include "qt_bench_support.h"

namespace {

using namespace komet;

void EnsureApplication() {
  bench::EnsureApplication<QGuiApplication>("qt_plot_bench");
}

testing::SyntheticFlight& LongFlight() {
  static testing::SyntheticFlight flight =
      testing::MakeSyntheticFlight({.thrust = 100.0, .burnTime = 3.0, .mass = 1.0, .period = 50.0});
  return flight;
}

void BM_PlotAllCurvesIntoImage(benchmark::State& state) {
  EnsureApplication();
  auto& flight = LongFlight();
  const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
  const QSize size(1280, 800);
  QImage image(size, QImage::Format_RGB32);
  PlotState st;
  for (auto _ : state) {
    QPainter painter(&image);
    benchmark::DoNotOptimize(PaintPlot(painter, size, st, {flight.view(), sw, {3, 5, 7, 0}, ','}));
  }
  state.counters["samples"] = static_cast<double>(flight.lastSample);
}
BENCHMARK(BM_PlotAllCurvesIntoImage)->Apply(bench::RepeatedInMilliseconds<9>);

void BM_ReportToPdf(benchmark::State& state) {
  EnsureApplication();
  auto& flight = LongFlight();
  RocketRecord rocket;
  InitRakete(rocket);
  rocket.stages[0].counts = {1, 0, 0};
  const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
  for (auto _ : state) {
    benchmark::DoNotOptimize(RenderReportPdf(flight.view(), rocket, sw, "09.12.2026 14:03:00"));
  }
}
BENCHMARK(BM_ReportToPdf)->Apply(bench::RepeatedInMilliseconds<9>);

}  // namespace
