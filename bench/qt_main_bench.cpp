// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a repaint after a curve switch, and building the window
// up to the first painted flight of a bundled rocket.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <memory>

#include "app/qt/t_main.h"
#include "motors/catalogue.h"
#include "motors/motor_database.h"
#include "plot/qt/plot_widget.h"
#include "qt_bench_support.h"

namespace {

using namespace komet;

const std::string kExamples = KOMET_SOURCE_DIR "/examples";
const char* const kRockets[] = {"einstufig_c6.kmw", "zweistufig.kmw", "dreistufig.kmw", "buendel.kmw"};

void EnsureApplication() {
  bench::EnsureApplication<QApplication>("qt_main_bench");
}

// The program's windows with a rocket from the command line, shown until
// its flight has been painted once.
struct Program {
  explicit Program(const std::string& rocket, QSize size = {},
                   const std::string& database = KOMET_SOURCE_DIR "/catalogue/motoren.kdb")
      : settings((dir.filePath("KOMET.OPT")).toStdString(), dir.path().toStdString(), store, ','),
        window(settings, {database, {kExamples + "/rockets/" + rocket}, ','}) {
    bool painted = false;
    QObject::connect(window.plot(), &PlotWidget::flightPainted, [&painted] { painted = true; });
    if (size.isValid()) window.resize(size);
    window.show();
    while (!painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }

  QTemporaryDir dir;
  MemoryDbNameStore store;
  Settings settings;
  TMain window;
};

void BM_RepaintAfterCurveSwitch(benchmark::State& state) {
  EnsureApplication();
  Program program(kRockets[state.range(0)],
                  QSize(static_cast<int>(state.range(1)), static_cast<int>(state.range(2))));
  for (auto _ : state) {
    program.window.SwitchClick(PlotSwitch::AnzS);
    program.window.plot()->repaint();
  }
  state.SetLabel(kRockets[state.range(0)]);
  state.counters["samples"] = static_cast<double>(program.window.document().simulation().lastSample());
}
BENCHMARK(BM_RepaintAfterCurveSwitch)
    ->Args({0, 640, 483})
    ->Args({2, 640, 483})
    ->Args({2, 1280, 960})
    ->Apply(bench::RepeatedInMilliseconds<5>);

// The bundled catalogue, or about 3,000 motors: the catalogue three times.
std::string Database(std::int64_t copies) {
  static QTemporaryDir dir;
  const std::filesystem::path catalogue = KOMET_SOURCE_DIR "/catalogue/motoren.kdb";
  if (copies == 1) return catalogue.string();
  const std::filesystem::path big = dir.filePath("gross.kdb").toStdString();
  if (!std::filesystem::exists(big)) {
    std::vector<MotorRecord> motors = BuildCatalogue(KOMET_SOURCE_DIR);
    const std::size_t n = motors.size();
    for (std::int64_t c = 1; c < copies; ++c) motors.insert(motors.end(), motors.begin(), motors.begin() + n);
    WriteMotorDatabase(big, motors);
  }
  return big.string();
}

void BM_WindowToFirstPaintedFlight(benchmark::State& state) {
  EnsureApplication();
  const std::string database = Database(state.range(0));
  for (auto _ : state) {
    Program program(kRockets[0], {}, database);
    benchmark::DoNotOptimize(program.window.windowTitle());
  }
  state.counters["motors"] = static_cast<double>(ReadMotorList(database).size());
}
BENCHMARK(BM_WindowToFirstPaintedFlight)->Arg(1)->Arg(3)->Apply(bench::RepeatedInMilliseconds<5>);

}  // namespace
