// The 3-D View: building the model of the largest example (the one with the most pieces,
// with its deformed wall after a run) and drawing one frame of it at 1600 x 1000 through
// the offscreen OpenGL renderer, the view turning a little each frame as while rotating:
// as the view opens, and with the deformed shape shown.
// The window draws without multisampling, as the frame here does. The frame needs a display with OpenGL (run under xvfb-run for Mesa's software renderer).
#include <benchmark/benchmark.h>

#include "app/results/block_model.h"
#include "app/results/draw_lists.h"
#include "app/results/picture_3d.h"
#include "bench/largest_example.h"

using namespace tarnel::view3d;

namespace {

using tarnel::bench::Largest;
using tarnel::bench::TheLargest;

void BM_Build3DModel(benchmark::State& state) {
  Largest& l = TheLargest();
  for (auto _ : state) {
    BlockModel m = BuildBlockModel(l.project, {}, {true, true, 10}, &l.charts.pltDef());
    benchmark::DoNotOptimize(m.blocks.data());
  }
  state.SetLabel(l.name.toStdString() + ", " + std::to_string(l.pieces) + " pieces");
}
BENCHMARK(BM_Build3DModel)->Unit(benchmark::kMillisecond);

// What a switch change costs besides the model: flattening it into the draw batches.
void BM_BuildDrawLists(benchmark::State& state) {
  Largest& l = TheLargest();
  const BlockModel m = BuildBlockModel(l.project, {}, {true, true, 10}, &l.charts.pltDef());
  std::size_t vertices = 0;
  for (auto _ : state) {
    const std::vector<DrawBatch> batches = BuildDrawLists(m);
    vertices = 0;
    for (const DrawBatch& b : batches) vertices += b.vertices.size();
    benchmark::DoNotOptimize(vertices);
  }
  state.SetLabel(l.name.toStdString() + ", " + std::to_string(vertices) + " vertices");
}
BENCHMARK(BM_BuildDrawLists)->Unit(benchmark::kMillisecond);

// One frame as the view turns, `deformed` with the wall bent by the deflection x10 (820 wall
// blocks instead of 20, each with its edges).
void Frame(benchmark::State& state, bool deformed) {
  Largest& l = TheLargest();
  OffscreenRenderer r(QSize(1600, 1000), 0);  // as the window draws
  if (!r.error().isEmpty()) {
    state.SkipWithError(r.error().toStdString().c_str());
    return;
  }
  const BlockModel model = BuildBlockModel(
      l.project, {}, deformed ? DeformedSettings{true, true, 10} : DeformedSettings{}, &l.charts.pltDef());
  r.setModel(model);
  const double s0 = InitialScale(model.extent, 1600, 1000);
  ViewState view;
  view.angles = QVector3D(20, 0, 30);
  for (auto _ : state) {
    view.angles += QVector3D(0.5f, 0, 1);
    benchmark::DoNotOptimize(r.frame(view, s0));
  }
  state.SetLabel(l.name.toStdString() + (deformed ? ", deformed x10" : ", as opened"));
}

// The view as it opens (the deformed shape is off until asked for).
void BM_Frame1600x1000(benchmark::State& state) { Frame(state, false); }
BENCHMARK(BM_Frame1600x1000)->Unit(benchmark::kMillisecond);

void BM_Frame1600x1000Deformed(benchmark::State& state) { Frame(state, true); }
BENCHMARK(BM_Frame1600x1000Deformed)->Unit(benchmark::kMillisecond);

}  // namespace
