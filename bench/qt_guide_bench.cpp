// SPDX-License-Identifier: GPL-3.0-or-later
// The Motorberater's answer to a changed filter, as the user waits for it:
// a motor filter flies the fitting motors of the bundled catalogue again
// for the example rocket (on the machine's threads) and refills the table;
// a flight limit only refills it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTableView>

#include "app/qt/t_motorberater.h"
#include "model/rocket_file.h"
#include "qt_bench_support.h"

namespace {

using namespace komet;

const std::filesystem::path kSource = KOMET_SOURCE_DIR;

std::unique_ptr<TMotorberater> OpenGuide() {
  bench::EnsureApplication<QApplication>("qt_guide_bench");
  RocketRecord empty;
  InitRakete(empty);
  const RocketRecord rocket = ReadRocketFile(kSource / "examples/rockets/einstufig_c6.kmw", empty).record;
  auto guide = std::make_unique<TMotorberater>(',');
  guide->setRestartDelay(0);
  guide->setProgressDelay(60000);
  guide->Start(rocket, std::nullopt, FixedConstants{}, kSource / "catalogue/motoren.kdb");
  while (guide->busy()) QApplication::processEvents();
  return guide;
}

// The classes between any and D to E, at the stage's diameter: every motor
// that fits, flown and listed.
void BM_GuideMotorFilterChange(benchmark::State& state) {
  const auto guide = OpenGuide();
  auto* from = guide->findChild<QComboBox*>("KlasseVon");
  bool all = false;
  for (auto _ : state) {
    all = !all;
    from->setCurrentText(all ? QString() : QStringLiteral("D"));
    while (guide->busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    benchmark::DoNotOptimize(guide->table()->model()->rowCount());
  }
  state.counters["rows"] = static_cast<double>(guide->table()->model()->rowCount());
}
BENCHMARK(BM_GuideMotorFilterChange)->Apply(bench::RepeatedInMilliseconds<5>)->UseRealTime();

void BM_GuideFlightLimitChange(benchmark::State& state) {
  const auto guide = OpenGuide();
  auto* green = guide->findChild<QCheckBox*>("NurGruen");
  for (auto _ : state) {
    green->toggle();
    benchmark::DoNotOptimize(guide->table()->model()->rowCount());
  }
}
BENCHMARK(BM_GuideFlightLimitChange)->Apply(bench::RepeatedInMilliseconds<5>)->UseRealTime();

}  // namespace
