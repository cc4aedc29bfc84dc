// Pictures of charts as Save To Disk and the command-line tool make them: their size, and
// pixels that show the lines in their colours where the layout model puts them.
#include <QtTest>

#include <QPainter>

#include "app/results/chart_painter.h"
#include "app/results/graph_plot.h"
#include "app/results/soil_patterns.h"
#include "sample_charts.h"

namespace {

// Two vertical lines (X = 2 and X = 6 over depths 0..10): easy to find in a picture.
void TwoVerticalLines(TGraphPlot& plot) {
  plot.SetLineCount(2);
  plot.SetPointCount(11);
  for (int j = 0; j <= 10; ++j) {
    plot.Point(0, j) = {2, double(j)};
    plot.Point(1, j) = {6, double(j)};
  }
  plot.Markers = 0;
}

int ColourDistance(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// A pixel within `reach` of p has colour c.
bool ColourNear(const QImage& img, QPoint p, QColor c, int reach = 1) {
  for (int dx = -reach; dx <= reach; ++dx)
    for (int dy = -reach; dy <= reach; ++dy) {
      const QPoint q = p + QPoint(dx, dy);
      if (img.rect().contains(q) && ColourDistance(img.pixelColor(q), c) < 40) return true;
    }
  return false;
}

}  // namespace

class ChartPainterTest : public QObject {
  Q_OBJECT
private slots:
  void pictureSizeFollowsInchesAndPixelsPerInch_data() {
    QTest::addColumn<double>("widthIn");
    QTest::addColumn<double>("heightIn");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<QSize>("size");
    QTest::newRow("6 x 4 in at 72") << 6.0 << 4.0 << 72 << QSize(432, 288);
    QTest::newRow("2 x 2 in at 10") << 2.0 << 2.0 << 10 << QSize(20, 20);
    QTest::newRow("6.5 x 9 in at 150") << 6.5 << 9.0 << 150 << QSize(975, 1350);
  }
  void pictureSizeFollowsInchesAndPixelsPerInch() {
    QFETCH(double, widthIn);
    QFETCH(double, heightIn);
    QFETCH(int, ppi);
    QFETCH(QSize, size);
    TGraphPlot plot;
    sample::MakeDeflection(plot, 2);
    QString error;
    const QImage img = RenderChartImage(plot, widthIn, heightIn, ppi, &error);
    QVERIFY2(!img.isNull(), qPrintable(error));
    QCOMPARE(img.size(), size);
    QCOMPARE(img.dotsPerMeterX(), int(std::lround(ppi / 0.0254)));
  }

  void linesInTheirColoursWhereTheLayoutPutsThem() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    RenderOptions options;
    options.layoutDpi = 96;
    QString error;
    const QImage img = RenderChartImage(plot, 6, 4, 100, &error, options);
    QVERIFY2(!img.isNull(), qPrintable(error));
    const auto view = FullChartView(plot);
    QVERIFY(view);
    QCOMPARE(view->ranges[0], (AxisRange{0, 6, 0, 10}));
    const ChartLayout L = LayoutChart(plot, PictureTarget(img.size(), 96, 96));
    const PanelMapping m{L.panels[0], view->ranges[0], true};
    for (double depth : {1.3, 4.5, 6.2}) {  // above the legend box
      const QPoint black = m.ToPixel(2, depth), blue = m.ToPixel(6, depth);
      QVERIFY(ColourNear(img, black, Qt::black));
      QVERIFY(ColourNear(img, blue, QColor(0, 0, 255)));  // second active line
      // Between the lines nothing but the white ground (off the dotted grid lines).
      const QPoint between = m.ToPixel(3.5, depth);
      QCOMPARE(img.pixelColor(between), QColor(Qt::white));
    }
    // The legend is drawn in, in the plot's bottom-right corner (left of the X = 6 line on
    // the right edge): the second line's name in blue.
    bool blueName = false;
    for (int x = L.plot.right - 200; x < L.plot.right - 4; ++x)
      for (int y = L.plot.bottom - 60; y < L.plot.bottom; ++y)
        blueName = blueName || ColourDistance(img.pixelColor(x, y), QColor(0, 0, 255)) < 60;
    QVERIFY(blueName);
  }

  void hiddenAndInactiveLinesAreNotDrawn() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    plot.Line(0).Shown = false;
    plot.Line(1).Active = false;
    RenderOptions options;
    options.layoutDpi = 96;
    const QImage img = RenderChartImage(plot, 6, 4, 96, nullptr, options);
    const ChartLayout L = LayoutChart(plot, PictureTarget(img.size(), 96, 96));
    const PanelMapping m{L.panels[0], FullChartView(plot)->ranges[0], true};
    QVERIFY(!ColourNear(img, m.ToPixel(6, 5.5), QColor(0, 0, 255), 2));
    // Line 0 hidden: no black at its place (away from grid lines, which are gray dots).
    QVERIFY(!ColourNear(img, m.ToPixel(2, 5.5), Qt::black, 0));
  }

  void coloursCountActiveLinesOnly() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    plot.SetLineCount(3);
    for (int j = 0; j <= 10; ++j) plot.Point(2, j) = {4, double(j)};
    plot.Line(0).Active = false;  // line 1 becomes the first active line: black
    RenderOptions options;
    options.layoutDpi = 96;
    const QImage img = RenderChartImage(plot, 6, 4, 96, nullptr, options);
    const ChartLayout L = LayoutChart(plot, PictureTarget(img.size(), 96, 96));
    const PanelMapping m{L.panels[0], FullChartView(plot)->ranges[0], true};
    QVERIFY(ColourNear(img, m.ToPixel(6, 5.5), Qt::black));
    QVERIFY(ColourNear(img, m.ToPixel(4, 5.5), QColor(0, 0, 255)));
  }

  void threePanelChartWithStrip() {
    TGraphPlot plot;
    sample::MakeDms(plot, true);
    RenderOptions options;
    options.layoutDpi = 96;
    const QImage img = RenderChartImage(plot, 12, 7, 96, nullptr, options);
    QVERIFY(!img.isNull());
    const ChartLayout L = LayoutChart(plot, PictureTarget(img.size(), 96, 96));
    QVERIFY(L.strip);
    // The wall bar is gray in the middle of the strip, above the tip.
    const int xMid = (L.strip->left + L.strip->right) / 2;
    const PanelMapping m{L.panels[0], FullChartView(plot)->ranges[0], true};
    QCOMPARE(img.pixelColor(xMid, m.ToPixel(0, 2).y()), QColor(0x80, 0x80, 0x80));
    // Each panel shows its lines: the Long-Term moment in blue, the Short-Term shear in black.
    const auto ranges = FullChartView(plot)->ranges;
    const double z = 10;
    const PanelMapping m2{L.panels[1], ranges[1], true}, m3{L.panels[2], ranges[2], true};
    QVERIFY(ColourNear(img, m2.ToPixel(sample::Moment(z, 1), z), QColor(0, 0, 255), 2));
    QVERIFY(ColourNear(img, m3.ToPixel(sample::Shear(z, 0), z), Qt::black, 2));
  }

  void noUsableRangeIsAnError() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    plot.Point(0, 3) = {INFINITY, 3};
    QString error;
    QVERIFY(RenderChartImage(plot, 6, 4, 72, &error).isNull());
    QVERIFY(!error.isEmpty());
  }

  // Data read while a window shows the chart are drawn with the window's ranges; a point that
  // is not a number only breaks its line.
  void pointsThatAreNotNumbersBreakTheLine() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    RenderOptions options;
    options.layoutDpi = 96;
    options.view = FullChartView(plot);
    plot.Point(0, 5) = {NAN, 5};
    plot.Point(1, 2) = {INFINITY, 2};
    const QImage img = RenderChartImage(plot, 6, 4, 96, nullptr, options);
    QVERIFY(!img.isNull());
    const ChartLayout L = LayoutChart(plot, PictureTarget(img.size(), 96, 96));
    const PanelMapping m{L.panels[0], options.view->ranges[0], true};
    QVERIFY(ColourNear(img, m.ToPixel(2, 1.5), Qt::black));
    QVERIFY(ColourNear(img, m.ToPixel(2, 7.5), Qt::black));
    QVERIFY(ColourNear(img, m.ToPixel(6, 5.5), QColor(0, 0, 255)));
  }

  void pictureTooLargeForMemory() {
    TGraphPlot plot;
    TwoVerticalLines(plot);
    QString error;
    QVERIFY(RenderChartImage(plot, 200, 200, 2000, &error).isNull());
    QCOMPARE(error, QStringLiteral("There is not enough memory to complete this task."));
  }

  void patternsAreDistinctPictures() {
    const int codes[] = {1, 7, 8, 9, 10, 11, 12};
    QList<QImage> seen;
    for (int code : codes) {
      const QImage screen = SoilPatternImage(code, PatternSize::Screen);
      const QImage print = SoilPatternImage(code, PatternSize::Print);
      QVERIFY(!screen.isNull() && !print.isNull());
      QVERIFY(print.width() > screen.width());
      int dark = 0;
      for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) dark += qGray(screen.pixel(x, y)) < 128;
      // Marks, but mostly white ground, so that a name on the band stays readable.
      QVERIFY2(dark > 4 && dark < screen.width() * screen.height() / 3, qPrintable(QString::number(code)));
      for (const QImage& other : seen) QVERIFY(other != screen);
      seen << screen;
    }
    QCOMPARE(SoilBrush(3, PatternSize::Screen).style(), Qt::CrossPattern);
    QCOMPARE(SoilBrush(2, PatternSize::Screen).style(), Qt::FDiagPattern);
    QCOMPARE(SoilBrush(0, PatternSize::Screen).style(), Qt::NoBrush);
    QCOMPARE(SoilBrush(1, PatternSize::Screen).style(), Qt::TexturePattern);
  }

  void printerLayoutScalesTheText() {
    TGraphPlot plot;
    const PaintTarget screen = ScreenTarget(QRect(0, 0, 800, 600), 96, 96);
    const PaintTarget printer = PrinterTarget(QRect(0, 0, 4800, 3600), 600, 600, 96);
    QVERIFY(std::abs(TextHeight(plot, printer) / TextHeight(plot, screen) - 6.25) < 0.3);
    plot.SizeFont = 20;
    QVERIFY(std::abs(TextHeight(plot, screen) / TextHeight(plot, ScreenTarget(QRect(), 96, 96)) - 1) < 1e-9);
  }
};

QTEST_MAIN(ChartPainterTest)
#include "chart_painter_test.moc"
