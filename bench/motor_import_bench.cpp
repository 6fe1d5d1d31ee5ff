// Importing every published motor file that the catalogue is made from
// (../shared/motors beside the source tree, when it is there).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "motors/motor_import.h"

namespace {

void BM_ImportPublishedMotorFiles(benchmark::State& state) {
  const std::filesystem::path shared = std::filesystem::path(KOMET_SOURCE_DIR) / ".." / "shared" / "motors";
  if (!std::filesystem::is_directory(shared)) {
    state.SkipWithError("../shared/motors fehlt");
    return;
  }
  const std::vector<std::filesystem::path> inputs{shared};
  std::size_t motors = 0, refused = 0;
  for (auto _ : state) {
    const komet::MotorImport imported = komet::ImportMotorPaths(inputs);
    motors = imported.motors.size();
    refused = imported.refused;
    benchmark::DoNotOptimize(imported.motors.data());
  }
  state.counters["motors"] = static_cast<double>(motors);
  state.counters["refused"] = static_cast<double>(refused);
}
BENCHMARK(BM_ImportPublishedMotorFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
