// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "dialogs/stage_fit.h"
#include "model/rocket_file.h"
#include "sim/stability.h"
#include "support/shape_fixtures.h"

namespace komet {
namespace {

// A two-stage stack with a transition and both kinds of fins: the most a
// rocket of Komet's asks of one configuration.
RocketShape TwoStages() {
  StageShape top = testing::ClassicModelStage();
  top.nose = NoseCone{NoseShape::Ogive, 0.07};
  top.transition = Transition{0.015, 0.03};
  top.emptyCg = 0.2;
  StageShape booster = testing::BoosterStage(6, 0.03, MotorMount{0.024, 0.07, 0.005});
  booster.fins = FinSet{6, 0.08, 0.04, 0.06, 0.04, 0.003, 0.0};
  return {{top, booster}};
}

// Centre of pressure and of gravity of one configuration, the balance point
// of the booster estimated from its parts.
void BM_CentresOfOneConfiguration(benchmark::State& state) {
  const RocketShape shape = TwoStages();
  const MassPoint motors[] = {{0.024, 0.4}, {0.044, 0.55}};
  for (auto _ : state) {
    const double cp = CentreOfPressure(shape, 1).x;
    const MassPoint masses[] = {{0.03, EmptyStageCg(shape.stages[0])},
                                {0.02, StageTop(shape, 1) + EmptyStageCg(shape.stages[1])},
                                motors[0],
                                motors[1]};
    benchmark::DoNotOptimize(StabilityMargin(shape, CentreOfGravity(masses), cp));
  }
}
BENCHMARK(BM_CentresOfOneConfiguration);

// The whole boost of that stack, every event evaluated.
void BM_StabilityOverBoost(benchmark::State& state) {
  const RocketShape shape = TwoStages();
  StabilityInput in{};
  in[0] = {true, 0.03, {StabilityMotor{1, 0.024, 0.012, 1.6, 0.07}}, 1.7, 0.0};
  in[1] = {true, 0.02, {StabilityMotor{1, 0.044, 0.021, 1.7, 0.07}}, 0.0, 1.7};
  for (auto _ : state) benchmark::DoNotOptimize(StabilityOverBoost(shape, in).minMargin);
}
BENCHMARK(BM_StabilityOverBoost);

// The stage dialog's balance line after a change: the dialog's values into
// a record (the motors read from the bundled catalogue) and the balance over
// the two-stage example's boost.
void BM_StageDialogBalance(benchmark::State& state) {
  const std::string base = KOMET_SOURCE_DIR "/examples/rockets/zweistufig";
  const std::filesystem::path db = KOMET_SOURCE_DIR "/catalogue/motoren.kdb";
  RocketRecord empty;
  InitRakete(empty);
  const RocketRecord rocket = ReadRocketFile(base + ".kmw", empty).record;
  std::ifstream in(base + ".kmf");
  const RocketShape shape =
      ParseShapeText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  StageForm form;
  GetNames(form, db, rocket);
  SetForm(form, rocket, ',');
  for (auto _ : state) benchmark::DoNotOptimize(FormStability(form, rocket, &shape, db));
}
BENCHMARK(BM_StageDialogBalance)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace komet
