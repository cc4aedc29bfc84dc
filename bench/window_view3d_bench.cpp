// The 3-D View window as the user turns it: the window of the largest example with a
// picture area of 1600 x 1000, the rotate tool dragged a few pixels each frame, timed from
// the mouse move until the frame is on the screen (drawn, read back, painted with its text
// into the window and flushed). Unlike the offscreen frame this includes all the window
// does per move.
// Needs a display with OpenGL: run under xvfb-run for Mesa's software renderer.
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <string>

#include "app/results/dlg_block.h"
#include "app/results/view_state.h"
#include "bench/largest_example.h"

namespace {

using tarnel::bench::Largest;
using tarnel::bench::TheLargest;

void Send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), to->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                buttons, Qt::NoModifier);
  QApplication::sendEvent(to, &e);
}

// Waits for the view's next frame on the screen; false when none came in `ms`.
bool NextFrame(TDlgBlock& view, int ms = 1000) {
  QEventLoop loop;
  bool swapped = false;
  const auto c = QObject::connect(&view, &TDlgBlock::frameShown, &loop, [&] {
    swapped = true;
    loop.quit();
  });
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(c);
  return swapped;
}

std::string Pixels(QSize s) { return std::to_string(s.width()) + " x " + std::to_string(s.height()); }

// The view shown at 1600 x 1000 with its first frames drawn (the first compiles the model,
// the deformed wall compiles it again); its picture area, or null with the state skipped.
QWidget* Opened(benchmark::State& state, TDlgBlock& view, bool deformed) {
  view.resize(1600, 1000);
  view.show();
  auto* surface = view.findChild<QWidget*>(QStringLiteral("TglWindow"));
  if (!view.hasOpenGL() || !surface) {
    state.SkipWithError("no OpenGL window on this display");
    return nullptr;
  }
  if (!NextFrame(view, 30000) || (deformed && (view.setDeformed({true, true, 10}), !NextFrame(view, 30000)))) {
    state.SkipWithError("the window drew no first frame");
    return nullptr;
  }
  if (surface->size() != QSize(1600, 1000)) {
    state.SkipWithError("the window could not be given a 1600 x 1000 surface");
    return nullptr;
  }
  return surface;
}

void Turning(benchmark::State& state, bool deformed) {
  Largest& l = TheLargest();
  TDlgBlock view([&] { return &l.project; }, [&]() -> const TGraphPlot* { return &l.charts.pltDef(); });
  QWidget* surface = Opened(state, view, deformed);
  if (!surface) return;
  view.setTool(tarnel::view3d::MouseTool::Rotate);
  // First turn the view to the angles of the offscreen frame, then on a little each frame.
  QPoint at(800, 500);
  Send(surface, QEvent::MouseButtonPress, at, Qt::LeftButton);
  at += QPoint(333, -222);  // about (20, 0, 30) degrees
  Send(surface, QEvent::MouseMove, at, Qt::LeftButton);
  if (!NextFrame(view, 30000)) {
    state.SkipWithError("no frame reached the screen");
    return;
  }
  const int compiledBefore = view.listCompilations();
  const QSize dragFrame = view.lastFrameSize();
  int step = 0;
  for (auto _ : state) {
    at += QPoint((step++ / 50) % 2 ? -2 : 2, 1);
    Send(surface, QEvent::MouseMove, at, Qt::LeftButton);
    if (!NextFrame(view)) {
      state.SkipWithError("no frame reached the screen");
      break;
    }
  }
  Send(surface, QEvent::MouseButtonRelease, at, Qt::NoButton);
  // Turning replays the lists compiled before: compiling them again in the loop would show here.
  state.counters["compilations"] = view.listCompilations() - compiledBefore;
  state.SetLabel(l.name.toStdString() + (deformed ? ", deformed x10" : ", as opened") + ", drawn at " +
                 Pixels(dragFrame) + " while dragged");
}

// The full picture the window draws when the mouse lets go of a turn: each turn draws one
// coarse frame while dragged (not timed), then the release frame is timed.
void BM_WindowReleaseFrame1600x1000(benchmark::State& state) {
  Largest& l = TheLargest();
  TDlgBlock view([&] { return &l.project; }, [&]() -> const TGraphPlot* { return &l.charts.pltDef(); });
  QWidget* surface = Opened(state, view, false);
  if (!surface) return;
  view.setTool(tarnel::view3d::MouseTool::Rotate);
  QPoint at(1133, 278);
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Send(surface, QEvent::MouseButtonPress, at, Qt::LeftButton);
    at += QPoint((step++ / 50) % 2 ? -2 : 2, 1);
    Send(surface, QEvent::MouseMove, at, Qt::LeftButton);
    const bool dragged = NextFrame(view);
    state.ResumeTiming();
    Send(surface, QEvent::MouseButtonRelease, at, Qt::NoButton);
    if (!dragged || !NextFrame(view)) {
      state.SkipWithError("no frame reached the screen");
      break;
    }
  }
  state.SetLabel(l.name.toStdString() + ", drawn at " + Pixels(view.lastFrameSize()));
}
BENCHMARK(BM_WindowReleaseFrame1600x1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowTurning1600x1000(benchmark::State& state) { Turning(state, false); }
BENCHMARK(BM_WindowTurning1600x1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowTurning1600x1000Deformed(benchmark::State& state) { Turning(state, true); }
BENCHMARK(BM_WindowTurning1600x1000Deformed)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
