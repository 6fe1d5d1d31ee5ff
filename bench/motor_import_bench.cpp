// SPDX-License-Identifier: GPL-3.0-or-later
// Importing every published motor file that the catalogue is made from
// (../shared/motors beside the source tree, when it is there) onto the
// catalogue, and building the bundled catalogue from its text.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "motors/catalogue.h"
#include "motors/motor_import.h"

namespace {

void BM_ImportPublishedMotorFiles(benchmark::State& state) {
  const std::filesystem::path shared = std::filesystem::path(KOMET_SOURCE_DIR) / ".." / "shared" / "motors";
  if (!std::filesystem::is_directory(shared)) {
    state.SkipWithError("../shared/motors fehlt");
    return;
  }
  const std::vector<std::filesystem::path> inputs{shared};
  const std::vector<komet::MotorRecord> catalogue = komet::BuildCatalogue(KOMET_SOURCE_DIR);
  std::size_t motors = 0, refused = 0;
  for (auto _ : state) {
    // Onto the catalogue, as the desktop imports.
    const komet::MotorImport imported = komet::ImportMotorPaths(inputs);
    const komet::MergedDatabase merged = komet::MergeMotors(catalogue, imported.motors);
    motors = merged.motors.size();
    refused = imported.refused;
    benchmark::DoNotOptimize(merged.motors.data());
  }
  state.counters["motors"] = static_cast<double>(motors);
  state.counters["refused"] = static_cast<double>(refused);
}
BENCHMARK(BM_ImportPublishedMotorFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildCatalogueFromText(benchmark::State& state) {
  std::size_t motors = 0;
  for (auto _ : state) {
    const std::vector<komet::MotorRecord> catalogue = komet::BuildCatalogue(KOMET_SOURCE_DIR);
    motors = catalogue.size();
    benchmark::DoNotOptimize(catalogue.data());
  }
  state.counters["motors"] = static_cast<double>(motors);
}
BENCHMARK(BM_BuildCatalogueFromText)->Unit(benchmark::kMillisecond);

}  // namespace
