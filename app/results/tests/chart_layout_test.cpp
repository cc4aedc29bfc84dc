// The chart's geometry without a window: ranges and their steps, ticks, layout, mapping,
// markers, the legend box of prints, the soil-layer strip and the zoom rules.
#include <QtTest>

#include <cmath>

#include "app/results/chart_layout.h"
#include "app/results/graph_plot.h"
#include "sample_charts.h"

namespace {

std::vector<TLine> LineThrough(std::initializer_list<TFloatPoint> pts) {
  TLine line;
  line.Points = pts;
  return {line};
}

PanelMapping Mapping(const AxisRange& r, bool xOnTop = true) {
  return PanelMapping{PlotRect{100, 50, 700, 550}, r, xOnTop};
}

}  // namespace

class ChartLayoutTest : public QObject {
  Q_OBJECT
private slots:
  void rangeStep_data() {
    QTest::addColumn<double>("range");
    QTest::addColumn<double>("step");
    QTest::newRow("7") << 7.0 << 1.0;
    QTest::newRow("25: first digit 2") << 25.0 << 1.0;
    QTest::newRow("50") << 50.0 << 10.0;
    QTest::newRow("30: first digit 3") << 30.0 << 10.0;
    QTest::newRow("299") << 299.0 << 10.0;
    QTest::newRow("0.02") << 0.02 << 0.001;
    QTest::newRow("1") << 1.0 << 0.1;
    QTest::newRow("1000: exact power of ten") << 1000.0 << 100.0;
    QTest::newRow("0.3") << 0.3 << 0.1;
    QTest::newRow("0 gives no step") << 0.0 << 0.0;
    QTest::newRow("infinite gives no step") << double(INFINITY) << 0.0;
  }
  void rangeStep() {
    QFETCH(double, range);
    QFETCH(double, step);
    QVERIFY(std::abs(RangeStep(range) - step) <= 1e-12 * std::max(1.0, step));
  }

  void rangeOfLines_data() {
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<double>("expectLo");
    QTest::addColumn<double>("expectHi");
    QTest::newRow("5..7 includes 0") << 5.0 << 7.0 << 0.0 << 7.0;
    QTest::newRow("range 25 on whole units") << 0.0 << 24.3 << 0.0 << 25.0;
    QTest::newRow("range 50 on tens") << 0.0 << 43.0 << 0.0 << 50.0;
    QTest::newRow("negative side: range 3.2, step 1") << -3.2 << -1.0 << -4.0 << 0.0;
    QTest::newRow("both sides") << -0.37 << 1.22 << -0.4 << 1.3;
    QTest::newRow("all zero widened") << 0.0 << 0.0 << -0.01 << 0.01;
  }
  void rangeOfLines() {
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(double, expectLo);
    QFETCH(double, expectHi);
    const auto r = RangeOfLines(LineThrough({{lo, lo}, {hi, hi}}));
    QVERIFY(r);
    QVERIFY2(std::abs(r->XMin - expectLo) < 1e-9 && std::abs(r->XMax - expectHi) < 1e-9,
             qPrintable(QStringLiteral("%1 .. %2").arg(r->XMin).arg(r->XMax)));
    QCOMPARE(r->YMin, r->XMin);
    QCOMPARE(r->YMax, r->XMax);
  }

  void rangeWithoutUsableStep() {
    QVERIFY(!RangeOfLines(LineThrough({{0, 0}, {NAN, 1}})));
    QVERIFY(!RangeOfLines(LineThrough({{0, 0}, {1, INFINITY}})));
    TGraphPlot plot;
    plot.SetLineCount(1);
    plot.SetPointCount(2);
    plot.Point(0, 1) = {NAN, 3};
    QVERIFY(!ChartRanges(plot));
  }

  void ticksOfThe600PixelExample() {
    const AxisTicks t = ComputeTicks(0, 50, 600, 14);  // 600 / 84 = 7 intervals
    QCOMPARE(t.major, 5.0);
    QCOMPARE(t.minor, 1.0);
    QCOMPARE(int(t.ticks.size()), 51);
    QStringList labels;
    for (const auto& tick : t.ticks)
      if (tick.major) labels << tick.label;
    QCOMPARE(labels.join(' '), QStringLiteral("0 5 10 15 20 25 30 35 40 45 50"));
  }

  void ticks_data() {
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("major");
    QTest::addColumn<QString>("labels");
    // raw step 0.8 / 4 = 0.2: g 0.1, k 2 -> 2g
    QTest::newRow("deflection") << -0.2 << 0.6 << 400 << 0.2 << "-0.2 0 0.2 0.4 0.6";
    // raw step 350 / 3 = 116.7: g 100, k 1 -> g
    QTest::newRow("moment") << -350.0 << 0.0 << 300 << 100.0 << "-300 -200 -100 0";
    // raw step 30 / 3 = 10: g 10, k 1
    QTest::newRow("depth") << 0.0 << 30.0 << 300 << 10.0 << "0 10 20 30";
    // raw step 0.0009: g 1e-4, k 9 -> 10g
    QTest::newRow("k 9 gives ten g") << 0.0 << 0.0045 << 500 << 0.001 << "0 0.001 0.002 0.003 0.004";
    // raw step 1000 / 5 = 200: g 100, k 2 -> 2g
    QTest::newRow("thousands") << 0.0 << 1000.0 << 500 << 200.0 << "0 200 400 600 800 1000";
  }
  void ticks() {
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, pixels);
    QFETCH(double, major);
    QFETCH(QString, labels);
    const AxisTicks t = ComputeTicks(lo, hi, pixels, 16);
    QVERIFY(std::abs(t.major - major) < 1e-12);
    QStringList got;
    for (const auto& tick : t.ticks) {
      QVERIFY(tick.value >= lo - 1e-9 && tick.value <= hi + 1e-9);
      if (tick.major) got << tick.label;
    }
    QCOMPARE(got.join(' '), labels);
  }

  void noTicksOnATinyAxis() {
    QVERIFY(ComputeTicks(0, 10, 80, 14).ticks.empty());  // 80 / 84 = 0 intervals
  }

  void markerKindAndColourOfLines11And17() {
    QCOMPARE(TGraphPlot::MarkerKind(11), 2);
    QCOMPARE(TGraphPlot::LineColour(11), QColor(0x00, 0xFF, 0x00));  // lime
    QCOMPARE(TGraphPlot::LineColour(17), TGraphPlot::LineColour(0));
    QCOMPARE(TGraphPlot::LineColour(0), QColor(Qt::black));
    QCOMPARE(TGraphPlot::MarkerKind(17), 8);
  }

  void markerOutlines() {
    const double dpi = 96, r = dpi / 32;
    const QPolygonF tri = MarkerPolygon(1, {0, 0}, dpi, dpi);
    QCOMPARE(tri.size(), 3);
    QVERIFY(std::abs(tri[0].x()) < 1e-9 && std::abs(tri[0].y() - r) < 1e-9);  // points down
    QVERIFY(tri[1].y() < 0 && tri[2].y() < 0);
    const QPolygonF square = MarkerPolygon(2, {10, 10}, dpi, dpi);
    QCOMPARE(square.size(), 4);
    QVERIFY(std::abs(square[0].x() - (10 + r * std::sqrt(0.5))) < 1e-9);
    QVERIFY(std::abs(square[0].y() - (10 - r * std::sqrt(0.5))) < 1e-9);
    for (int k = 3; k <= 10; ++k) {
      const QPolygonF poly = MarkerPolygon(k, {0, 0}, dpi, 2 * dpi);
      QCOMPARE(poly.size(), k);
      QVERIFY(std::abs(poly[0].x()) < 1e-9 && std::abs(poly[0].y() + 2 * r) < 1e-9);  // corner up
      for (const QPointF& c : poly)  // on the ellipse of half-axes dpiX/32, dpiY/32
        QVERIFY(std::abs(std::pow(c.x() / r, 2) + std::pow(c.y() / (2 * r), 2) - 1) < 1e-9);
    }
    QVERIFY(HasMarker(0, 3) && HasMarker(6, 3) && !HasMarker(4, 3) && !HasMarker(0, 0));
  }

  void penWidth() {
    QCOMPARE(LinePenWidth(96, 1), 1);
    QCOMPARE(LinePenWidth(300, 1), 2);
    QCOMPARE(LinePenWidth(600, 1), 3);
    QCOMPARE(LinePenWidth(600, 4), 12);
  }

  void threePanelLinesStopAtSecondToLast() {
    QCOMPARE(DrawnPointCount(61, 2, true), 60);
    QCOMPARE(DrawnPointCount(61, 1, true), 61);
    QCOMPARE(DrawnPointCount(61, 2, false), 61);
  }

  void screenLayout() {
    TGraphPlot plot;
    const LayoutTarget t{QRect(0, 0, 800, 600), 96, 96, 16, ChartDevice::Screen};
    ChartLayout L = ComputeLayout(plot, t);
    QCOMPARE(L.plot, (PlotRect{46, 46, 768, 568}));  // 2h+dpi/8+h/8; width-dpi/4-h/2
    plot.XOnTop = false;
    QCOMPARE(ComputeLayout(plot, t).plot, (PlotRect{46, 32, 768, 554}));
    plot.XOnTop = true;
    plot.GraphTitle = QStringLiteral("Wall A");
    QCOMPARE(ComputeLayout(plot, t).plot.top, 46 + 18);
    plot.TitleOnTop = false;
    QCOMPARE(ComputeLayout(plot, t).plot.bottom, 568 - 16);
  }

  void stripAndThreePanels() {
    TGraphPlot plot;
    sample::MakeDms(plot);
    plot.ShowLayers = true;
    const LayoutTarget t{QRect(0, 0, 1000, 600), 96, 96, 16, ChartDevice::Screen};
    const ChartLayout L = ComputeLayout(plot, t);
    QCOMPARE(L.panelCount, 3);
    // right edge 968 less the strip's inch
    QCOMPARE(L.plot.right, 872);
    QVERIFY(L.strip);
    QCOMPARE(L.strip->left, 872 + 19);
    QCOMPARE(L.strip->right, 968);
    const double w = (872 - 46 - 64 - 48) / 3.0, gap = 32 + 24;
    QCOMPARE(L.panels[0].left, 46);
    QCOMPARE(L.panels[0].right, int(std::lround(46 + w)));
    QCOMPARE(L.panels[1].left, int(std::lround(46 + w + gap)));
    QCOMPARE(L.panels[2].right, 872);
    // A saved picture gives the strip half an inch.
    LayoutTarget pic = t;
    pic.device = ChartDevice::Picture;
    QCOMPARE(ComputeLayout(plot, pic).plot.right, 968 - 48);
  }

  void printLayoutReachesTheFrame() {
    TGraphPlot plot;
    plot.GraphTitle = QStringLiteral("Section B-B");
    const QRect frame(600, 600, 4200, 6000);  // 600-dpi page less one-inch margins
    const LayoutTarget t{frame, 600, 600, 100, ChartDevice::Printer};
    ChartLayout L = ComputeLayout(plot, t);
    QCOMPARE(L.plot.right, 4800);
    QCOMPARE(L.plot.bottom, 6600);
    QCOMPARE(L.plot.top, 600 + 200 + 75 + 13 + 150);  // 2h+dpi/8+h/8 + dpi/4 for the title
    plot.XOnTop = false;
    plot.TitleOnTop = false;
    L = ComputeLayout(plot, t);
    QCOMPARE(L.plot.top, 600);
    QCOMPARE(L.plot.bottom, int(std::lround(6600 - 200 - 75 - 12.5 - 300)));
  }

  void tooSmallToDraw() {
    TGraphPlot plot;
    QVERIFY(ComputeLayout(plot, {QRect(0, 0, 90, 600), 96, 96, 16, ChartDevice::Screen}).TooSmall());
    QVERIFY(!ComputeLayout(plot, {QRect(0, 0, 200, 200), 96, 96, 16, ChartDevice::Screen}).TooSmall());
  }

  void mapping() {
    const AxisRange r{0, 6, 0, 30};
    const PanelMapping down = Mapping(r, true), up = Mapping(r, false);
    QCOMPARE(down.ToPixel(0, 0), QPoint(100, 50));
    QCOMPARE(down.ToPixel(6, 30), QPoint(700, 550));
    QCOMPARE(down.ToPixel(3, 15), QPoint(400, 300));
    QCOMPARE(up.ToPixel(0, 0), QPoint(100, 550));
    QCOMPARE(up.ToPixel(6, 30), QPoint(700, 50));
    const QPointF w = down.ToWorld(QPointF(250, 175));
    QVERIFY(std::abs(w.x() - 1.5) < 1e-12 && std::abs(w.y() - 7.5) < 1e-12);
    QCOMPARE(up.ToWorld(QPointF(250, 175)).y(), 22.5);
    QCOMPARE(down.ToWorldClamped(QPointF(-50, 900)), QPointF(0, 30));
  }

  void panelUnderTheMouse() {
    ChartLayout L;
    L.panelCount = 3;
    L.panels = {PlotRect{10, 0, 100, 10}, PlotRect{150, 0, 240, 10}, PlotRect{290, 0, 380, 10}};
    QCOMPARE(PanelAt(L, 50), 0);
    QCOMPARE(PanelAt(L, 120), 0);
    QCOMPARE(PanelAt(L, 140), 1);
    QCOMPARE(PanelAt(L, 500), 2);
  }

  void bandOfAFiftiethZoomsOnlyToATwentieth() {
    const AxisRange full{0, 50, 0, 30};
    const PanelMapping m = Mapping(full);
    // 12 pixels of 600 are 1/50 of the X range; the band is tall enough in Y.
    const auto z = ZoomToBand(m, full, QPointF(394, 100), QPointF(406, 400));
    QVERIFY(z);
    QVERIFY(std::abs(z->Width() - 50.0 / 20) < 1e-9);
    QVERIFY(std::abs((z->XMin + z->XMax) / 2 - 25) < 1e-9);  // centred on the band
    QVERIFY(std::abs(z->YMin - 3) < 1e-9 && std::abs(z->YMax - 21) < 1e-9);
    // Near the edge the twentieth is shifted inside the full range.
    const auto edge = ZoomToBand(m, full, QPointF(100, 100), QPointF(106, 400));
    QVERIFY(edge);
    QCOMPARE(edge->XMin, 0.0);
    QVERIFY(std::abs(edge->XMax - 2.5) < 1e-9);
  }

  void bandRules() {
    const AxisRange full{0, 6, 0, 30};
    const PanelMapping m = Mapping(full);
    QVERIFY(!ZoomToBand(m, full, QPointF(300, 100), QPointF(300, 400)));  // no width
    QVERIFY(!ZoomToBand(m, full, QPointF(300, 100), QPointF(500, 100)));  // no height
    // Corners ordered, the end clamped to the plot.
    const auto z = ZoomToBand(m, full, QPointF(400, 300), QPointF(900, 0));
    QVERIFY(z);
    QCOMPARE(*z, (AxisRange{3, 6, 0, 15}));
  }

  void rightClickAtFullRangeChangesNothing() {
    const AxisRange full{-0.4, 1.3, 0, 30};
    const PanelMapping m = Mapping(full);
    QCOMPARE(ZoomOut(m, full, QPointF(130, 500)), full);
  }

  void rightClickDoublesAroundThePoint() {
    const AxisRange full{0, 40, 0, 40};
    const PanelMapping m = Mapping(AxisRange{10, 20, 10, 20});
    // Clicked at world (12.5, 12.5): doubled to 20 wide around it, shifted inside.
    const AxisRange r = ZoomOut(m, full, QPointF(250, 175));
    QCOMPARE(r, (AxisRange{2.5, 22.5, 2.5, 22.5}));
    const AxisRange edge = ZoomOut(Mapping(AxisRange{0, 5, 30, 40}), full, QPointF(100, 550));
    QCOMPARE(edge, (AxisRange{0, 10, 20, 40}));
  }

  void legendBoxOfPrints() {
    ChartLayout L;
    L.frame = QRect(0, 0, 800, 600);
    L.plot = PlotRect{46, 46, 768, 568};
    L.dpiX = L.dpiY = 96;
    const std::vector<LegendEntry> entries = {{0, 0, 80}, {2, 1, 120}};
    const LegendBox def = ComputeLegendBox(L, entries, 20, std::nullopt);
    QCOMPARE(def.box.width(), 120 + 18);  // widest name + 3/16 inch
    QCOMPARE(def.rows.size(), std::size_t(2));
    QCOMPARE(def.box.right(), 768 - 6 - 1);  // bottom-right corner of the plot
    QCOMPARE(def.rows[1].line, 2);
    QCOMPARE(def.rows[1].rect.top(), def.rows[0].rect.top() + 20);
    const LegendBox rel = ComputeLegendBox(L, entries, 20, QPointF(0.5, 0.25));
    QCOMPARE(rel.box.topLeft(), QPoint(400, 150));
    const LegendBox kept = ComputeLegendBox(L, entries, 20, QPointF(0.95, 0.99));
    QVERIFY(L.frame.contains(kept.box));
    QVERIFY(ComputeLegendBox(L, {}, 20, std::nullopt).rows.empty());
  }

  void stripWithoutWall() {
    TGraphPlot plot;
    sample::MakeDms(plot);
    const PlotRect strip{800, 50, 877, 350};  // 300 pixels for 0..30 ft
    const PanelMapping m{strip, AxisRange{0, 1, 0, 30}, true};
    const StripGeometry g = ComputeStrip(plot, strip, m);
    QVERIFY(!g.wall);
    QCOMPARE(g.bands.size(), std::size_t(5));  // the two PILE lines are left out
    QCOMPARE(g.bands[0].rect, QRect(QPoint(800, 50), QPoint(877, 110)));
    QCOMPARE(g.bands[0].code, 1);
    QCOMPARE(g.bands[1].rect.top(), 110);
    QCOMPARE(g.bands[3].code, 10);
    QCOMPARE(g.bands[4].rect.bottom(), 350);  // 34 ft clipped to the plot
  }

  void stripWithWall() {
    TGraphPlot plot;
    sample::MakeDms(plot);
    plot.ShowWall = true;
    const PlotRect strip{800, 50, 900, 350};
    const PanelMapping m{strip, AxisRange{0, 1, 0, 30}, true};
    const StripGeometry g = ComputeStrip(plot, strip, m);
    QVERIFY(g.wall);
    QCOMPARE(*g.wall, QRect(QPoint(840, 50), QPoint(860, 350)));  // middle fifth down to the tip
    // Clay (0..6) and sand (6..11) lie above the excavation (12): backfill side only.
    QCOMPARE(g.bands[0].rect, QRect(QPoint(800, 50), QPoint(840, 110)));
    QCOMPARE(g.bands[1].rect, QRect(QPoint(800, 110), QPoint(840, 160)));
    // Silt (11..17) crosses it: full height behind the wall, from 12 ft in front of it.
    QCOMPARE(g.bands[2].rect, QRect(QPoint(800, 160), QPoint(840, 220)));
    QCOMPARE(g.bands[3].rect, QRect(QPoint(860, 170), QPoint(900, 220)));
    QVERIFY(!g.bands[3].labelled);
    // Weak rock (17..23) lies wholly below: across the strip.
    QCOMPARE(g.bands[4].rect, QRect(QPoint(800, 220), QPoint(900, 280)));
    QCOMPARE(g.bands.size(), std::size_t(6));
  }
};

QTEST_GUILESS_MAIN(ChartLayoutTest)
#include "chart_layout_test.moc"
