// The main window: a repaint after a curve switch, and building the window
// up to the first painted flight of a bundled rocket.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <memory>

#include "app/qt/t_main.h"
#include "plot/qt/plot_widget.h"

namespace {

using namespace komet;

const std::string kExamples = KOMET_SOURCE_DIR "/examples";
const char* const kRockets[] = {"einstufig_c6.kmw", "zweistufig.kmw", "dreistufig.kmw", "buendel.kmw"};

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "qt_main_bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
  }();
}

// The program's windows with a rocket from the command line, shown until
// its flight has been painted once.
struct Program {
  explicit Program(const std::string& rocket, QSize size = {})
      : settings((dir.filePath("KOMET.OPT")).toStdString(), dir.path().toStdString(), store, ','),
        window(settings, {kExamples + "/../catalogue/motoren.kdb", {kExamples + "/rockets/" + rocket}, ','}) {
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
  state.counters["samples"] = static_cast<double>(program.window.document().simulation.lastSample());
}
BENCHMARK(BM_RepaintAfterCurveSwitch)
    ->Args({0, 640, 483})
    ->Args({2, 640, 483})
    ->Args({2, 1280, 960})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_WindowToFirstPaintedFlight(benchmark::State& state) {
  EnsureApplication();
  for (auto _ : state) {
    Program program(kRockets[0]);
    benchmark::DoNotOptimize(program.window.windowTitle());
  }
}
BENCHMARK(BM_WindowToFirstPaintedFlight)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
