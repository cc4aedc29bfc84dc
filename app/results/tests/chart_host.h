// A main window with an MDI area in which the chart tests open their windows, with the
// prompts service answered by the test.
#pragma once

#include <QMainWindow>
#include <QMdiArea>

#include "app/main/tests/scripted_prompts.h"

struct ChartHost {
  QMainWindow window;
  QMdiArea* area = new QMdiArea;
  ScriptedPrompts answers;
  explicit ChartHost(QSize size = QSize(1200, 800)) {
    window.setCentralWidget(area);
    window.resize(size);
    window.show();
    setPrompts(&answers);
  }
  ~ChartHost() { setPrompts(nullptr); }
};
