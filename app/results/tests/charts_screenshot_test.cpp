// Pictures of the result charts as a user sees them (chart windows in the main window's MDI
// area) and as Save To Disk writes them, taken under a real X server (xvfb-run in test.sh)
// into screenshots/ of the build folder, to be looked at: a single chart, a chart of many
// lines with its legend, the three-panel chart with the soil strip and the wall, and the
// soil patterns.
#include <QtTest>

#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>

#include "chart_host.h"
#include "app/results/chart_painter.h"
#include "app/results/graph_plot.h"
#include "app/results/legend_box.h"
#include "app/results/plot_form.h"
#include "app/results/soil_patterns.h"
#include "sample_charts.h"

namespace {

QString ShotPath(const QString& name) {
  QDir().mkpath(QStringLiteral(TARNEL_SCREENSHOT_DIR));
  return QDir(QStringLiteral(TARNEL_SCREENSHOT_DIR)).filePath(name + ".png");
}

struct Host : ChartHost {
  Host() : ChartHost(QSize(1400, 900)) {}
};

// Shows the chart maximised and writes the main window's picture.
bool Shoot(Host& host, TGraphPlot& plot, const QString& name) {
  TPlotForm* form = ShowPlot(plot, host.area);
  if (!form || !QTest::qWaitForWindowExposed(&host.window)) return false;
  QTest::qWait(50);
  // Everything the user must read sits inside the window.
  if (!form->canvas()->rect().contains(form->legend()->geometry()) && form->legend()->isVisible()) return false;
  return host.window.grab().save(ShotPath(name));
}

}  // namespace

class ChartsScreenshotTest : public QObject {
  Q_OBJECT
private slots:
  void singleChart() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 1);
    QVERIFY(Shoot(host, plot, "chart-deflection"));
  }

  // p-y curves: X axis at the bottom, Y upwards, a graph title below the chart.
  void pyCurvesWithTitleBelow() {
    Host host;
    TGraphPlot plot;
    plot.Caption = QStringLiteral("p-y Curves");
    plot.CurveName = QStringLiteral("Depth ");
    plot.XCaption = QStringLiteral("y");
    plot.XUnits = QStringLiteral("L");
    plot.YCaption = QStringLiteral("p");
    plot.YUnits = QStringLiteral("F/L");
    plot.XOnTop = false;
    plot.GraphTitle = QStringLiteral("Soft clay, excavation side");
    plot.TitleOnTop = false;
    const int curves = 5, points = 20;
    plot.SetLineCount(curves);
    plot.SetPointCount(points);
    for (int k = 0; k < curves; ++k) {
      plot.Line(k).Number = 150 + 30 * k;  // depth in inches: "Depth 150" ...
      const double pu = 180 + 95 * k, y50 = 0.12;
      for (int j = 0; j < points; ++j) {
        const double y = 0.1 * j * j / 4;  // 0 .. 9 in
        // Matlock's soft clay: p = 0.5 pu (y / y50)^(1/3), at most pu
        plot.Point(k, j) = {y, std::min(pu, 0.5 * pu * std::cbrt(y / y50))};
      }
    }
    QVERIFY(Shoot(host, plot, "chart-py"));
  }

  void manyLinesWithLegend() {
    Host host;
    TGraphPlot plot;
    sample::MakeMoment(plot, 12);
    plot.Markers = 5;
    plot.GraphTitle = QStringLiteral("Anchored wall, stages 1 to 12");
    QVERIFY(Shoot(host, plot, "chart-moment-12-stages"));
    TPlotForm* form = FindPlotForm(plot, host.area);
    QVERIFY(form->SavePicture(ShotPath("chart-moment-12-stages-saved"), 6, 9, 96, 4));
  }

  void threePanelsWithSoilStripAndWall() {
    Host host;
    TGraphPlot plot;
    sample::MakeDms(plot, true);
    QVERIFY(Shoot(host, plot, "chart-dms-strip-wall"));
    QString error;
    RenderOptions options;
    options.layoutDpi = 96;
    const QImage picture = RenderChartImage(plot, 12, 7, 96, &error, options);
    QVERIFY2(!picture.isNull(), qPrintable(error));
    QVERIFY(picture.save(ShotPath("chart-dms-strip-wall-saved")));
    plot.ShowWall = false;
    QVERIFY(RenderChartImage(plot, 12, 7, 96, &error, options).save(ShotPath("chart-dms-strip-saved")));
  }

  void soilPatterns() {
    const std::pair<int, const char*> codes[] = {{1, "1 clay"}, {7, "7 sand"}, {8, "8 silt"},
                                                 {9, "9 strong rock"}, {10, "10 weak rock"}, {11, "11"},
                                                 {12, "12"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}};
    const int cell = 130, rows = 2;
    QImage sheet(cell * 12, rows * cell + 20, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setFont(ChartWindowFont(14));
    int col = 0;
    for (auto [code, name] : codes) {
      for (int r = 0; r < rows; ++r) {
        const QRect box(col * cell + 10, r * cell + 10, cell - 20, cell - 30);
        p.setBrushOrigin(box.topLeft());
        p.fillRect(box, SoilBrush(code, r == 0 ? PatternSize::Screen : PatternSize::Print));
        p.setPen(Qt::black);
        p.drawRect(box);
      }
      p.drawText(QRect(col * cell, rows * cell - 10, cell, 24), Qt::AlignCenter, QString::fromLatin1(name));
      ++col;
    }
    p.end();
    QVERIFY(sheet.save(ShotPath("soil-patterns")));
  }
};

QTEST_MAIN(ChartsScreenshotTest)
#include "charts_screenshot_test.moc"
