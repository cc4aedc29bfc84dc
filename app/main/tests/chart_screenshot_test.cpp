// Pictures of the result charts as a user sees them after a run: every bundled example
// analysed in the program, each of its charts opened from the Graphics menu in the main
// window, and the three-panel chart once more with the soil strip and the wall. Taken under
// a real X server (xvfb-run in test.sh) and written to screenshots/charts/ in the build
// folder, with checks that every chart window draws something in its lines' colours.
#include <QtTest>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/main/main_form.h"
#include "app/results/plot_form.h"
#include "app/results/result_charts.h"
#include "test_support.h"

namespace {

QString shotPath(const QString& name) {
  const QString dir = QStringLiteral(TARNEL_SCREENSHOT_DIR "/charts");
  QDir().mkpath(dir);
  return QDir(dir).filePath(name + ".png");
}

// Pixels of the chart's first line colour (black is every chart's first line).
int inkPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      if (qGray(image.pixel(x, y)) < 60) ++n;
  return n;
}

}  // namespace

class ChartScreenshotTest : public QObject {
  Q_OBJECT
private slots:
  void chartsOfEveryExample_data() {
    QTest::addColumn<QString>("example");
    for (const QString& name :
         QDir(QStringLiteral(TARNEL_EXAMPLES_DIR)).entryList({QStringLiteral("*.tn5d")}, QDir::Files))
      QTest::newRow(qPrintable(name)) << name;
  }
  void chartsOfEveryExample() {
    QFETCH(QString, example);
    TestEnvironment env;
    TMainForm f;
    f.resize(1400, 900);
    f.show();
    f.openFile(env.copyIn(exampleFile(example)));
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.findChild<QAction*>(QStringLiteral("CompRun"))->trigger();
    QVERIFY(f.resultCharts().PlotsLoaded);
    const QString stem = QFileInfo(example).completeBaseName();
    int shown = 0;
    for (const ChartNames& c : ChartTable()) {
      QAction* command = f.findChild<QAction*>(QLatin1String(c.command));
      QVERIFY(command);
      if (!command->isEnabled() || !f.resultCharts().Chart(c.id).HasData()) continue;
      command->trigger();
      QMdiSubWindow* sub = f.mdiArea()->activeSubWindow();
      QVERIFY(sub);
      auto* form = qobject_cast<TPlotForm*>(sub->widget());
      QVERIFY2(form, c.component);
      QTest::qWait(20);
      const QImage shot = f.grab().toImage();
      QVERIFY2(shot.save(shotPath(stem + QLatin1Char('-') + QLatin1String(c.word))), c.component);
      QVERIFY2(inkPixels(form->canvas()->grab().toImage()) > 500, c.component);
      ++shown;
      if (c.id == ChartId::DMS && f.resultCharts().pltDMS().LineCount(LineList::Layers) > 0) {
        form->PlotSoilLayerClick();
        if (!f.resultCharts().pltDMS().ShowWall) form->ShowWallGeometryClick();
        QTest::qWait(20);
        QVERIFY(f.grab().toImage().save(shotPath(stem + QStringLiteral("-dms-soil-wall"))));
      }
      sub->close();
    }
    QVERIFY2(shown >= 5, qPrintable(example));
  }
};

QTEST_MAIN(ChartScreenshotTest)
#include "chart_screenshot_test.moc"
