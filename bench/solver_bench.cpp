// One finite-difference solution of a 400-increment wall on springs with a clamped foot
// and a specified head slope, as the iteration performs it once per pass; and one full
// pass with 401 linearised p-y curves (assignment plus solution).
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/iteration.h"
#include "engine/run_state.h"
#include "engine/solver.h"

namespace {

using namespace tarnel::engine;

constexpr int kIncrements = 400;

Stations benchWall() {
  Stations st;
  st.reset();
  st.ninc = kIncrements;
  st.h = 3.0;
  st.h2 = st.h * st.h;
  st.h3 = st.h2 * st.h;
  st.length = kIncrements * st.h;
  for (int j = 0; j <= kIncrements; ++j) {
    const double half = (j == 0 || j == kIncrements) ? 0.5 : 1.0;
    st.EI[Stations::slot(j)] = 2.9e9 * half;
    st.S[Stations::slot(j)] = 200.0 * st.h * half;
    st.P[Stations::slot(j)] = -50.0;
  }
  st.Q[Stations::slot(0)] = 1000.0;
  st.code[Stations::slot(kIncrements - 1)] = 3;
  st.code[Stations::slot(kIncrements)] = 4;
  st.code[Stations::slot(kIncrements + 1)] = 5;
  st.specDeflection = {0.0};
  st.specSlope = {0.0};
  return st;
}

void BM_SolveBeamColumn400(benchmark::State& state) {
  const Stations st = benchWall();
  std::vector<double> w(kStationSlots, 0.0);
  for (auto _ : state) {
    const SolveCounts c = solveBeamColumn(st, st.S, st.Q, w, 1e30, 1e-9);
    benchmark::DoNotOptimize(c);
    benchmark::DoNotOptimize(w.data());
  }
}
BENCHMARK(BM_SolveBeamColumn400);

void BM_IterationPass400(benchmark::State& state) {
  const Stations st = benchWall();
  std::vector<PyCurve> curves;
  for (int j = 0; j <= kIncrements; j += 1) {
    PyCurve c;
    c.station = j;
    c.contd = 1;
    for (int i = -16; i <= 16; ++i) {
      c.y.push_back(0.01 * i);
      c.p.push_back(-100.0 * (i < 0 ? -1 : 1) * (1.0 - 1.0 / (1.0 + (i < 0 ? -i : i))));
    }
    curves.push_back(c);
  }
  std::vector<double> w(kStationSlots, 0.0), s(kStationSlots), q(kStationSlots);
  for (auto _ : state) {
    s = st.S;
    q = st.Q;
    bool off = false;
    addCurveSprings(curves, kIncrements, w, kNoStation, s, q, off);
    const SolveCounts c = solveBeamColumn(st, s, q, w, 1e30, 1e-9);
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(BM_IterationPass400);

}  // namespace
