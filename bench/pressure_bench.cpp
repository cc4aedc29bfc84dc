// Earth-pressure table of a long English wall (one row per inch) loaded by many
// surcharges: the surcharge pressure acts in 200 steps over the wall length, so the
// table's cost must not grow with rows x surcharges.
#include "engine/pressure/pressure_case.h"
#include "engine/pressure/pressure_table.h"
#include "engine/pressure/soil_profile.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarnel::engine;
using namespace tarnel::engine::pressure;

void BM_PressureTableManySurcharges(benchmark::State& state) {
  const int nSurcharges = static_cast<int>(state.range(0));
  PressureCase pc;
  pc.units = 1;
  pc.H = 240.0;
  pc.wallLength = 20000.0;  // 20000 table rows
  pc.dwb = pc.dwe = 1.0e6;
  pc.gammaW = 0.036;
  for (int i = 0; i < nSurcharges; ++i) pc.surcharges.push_back({1 + i % 3, 100.0 + i, 12.0 + 6.0 * i, 24.0});
  SoilLayerRecord sand;
  sand.kind = 4;
  sand.bottom = pc.wallLength;
  sand.top = {0.07, 0.0, 32.0, 0.0, 150.0, 0.0};
  sand.base = sand.top;
  SoilProfile profile = subdivideLayers({sand}, pc.H, pc.dwb, 1.0);
  computeOverburden(profile, 0.0, pc.dwb, pc.gammaW);
  for (auto& l : profile.layers) l.ka = l.sqrtKa = 0.3;
  for (auto _ : state) benchmark::DoNotOptimize(buildPressureRows(profile, pc, 1));
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(pc.wallLength));  // rows
}
BENCHMARK(BM_PressureTableManySurcharges)->Arg(1)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
