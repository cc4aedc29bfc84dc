// The bundled example with the most pieces in its 3-D model (with its deformed wall after a
// run), run once through the engine and read back with its plot file.
#pragma once

#include <QDir>
#include <QString>
#include <cstddef>
#include <utility>

#include "app/model/program_data.h"
#include "app/results/block_model.h"
#include "app/results/result_charts.h"
#include "bench/example_run.h"
#include "engine/driver.h"

namespace tarnel::bench {

struct Largest {
  tarnel::model::TProgramData project;
  ResultCharts charts;
  QString name;
  std::size_t pieces = 0;
};

inline std::size_t Pieces(const view3d::BlockModel& m) {
  return m.blocks.size() + m.pyramids.size() + m.arrows.size() * 5 * view3d::kGlyphSegments + m.lines.size();
}

inline Largest& TheLargest() {
  static Largest* largest = [] {
    auto* best = new Largest;
    const QDir examples(QStringLiteral(TARNEL_SOURCE_DIR "/examples"));
    for (const QString& name : examples.entryList({QStringLiteral("*.tn5d")})) {
      auto* c = new Largest;
      {
        ExampleRun run(name.toStdString());
        _ITARNEL(22);
        const QString data = QDir::current().filePath(name);
        c->project.CreateFromFile(data.toStdString(), tarnel::model::kLayoutTn5d);
        c->charts.LoadPlotFile(::PlotFileFor(data), c->project);
      }
      c->pieces = Pieces(view3d::BuildBlockModel(c->project, {}, {true, true, 10}, &c->charts.pltDef()));
      c->name = name;
      if (c->pieces > best->pieces) std::swap(best, c);
      delete c;
    }
    return best;
  }();
  return *largest;
}

}  // namespace tarnel::bench
