// The 3D model apart from drawing: the wall dimensions and extent rules, where each element
// sits and its colours and alphas, the deformed wall with its mitred joints, the camera's
// zoom, pan and rotation rules and the stepping of the deformed-shape factor.
#include <QtTest>
#include <cmath>
#include <numbers>

#include "app/model/program_data.h"
#include "app/results/tests/si_wall.h"
#include "app/results/block_model.h"
#include "app/results/factor_step.h"
#include "app/results/graph_plot.h"
#include "app/results/view_state.h"

using namespace tarnel::view3d;
using tarnel::view3d::testing::SIWall;
using tarnel::model::TProgramData;

namespace {

std::vector<const Block*> BlocksOf(const BlockModel& m, Element e) {
  std::vector<const Block*> out;
  for (const Block& b : m.blocks)
    if (b.element == e) out.push_back(&b);
  return out;
}

template <typename T>
int CountOf(const std::vector<T>& items, Element e) {
  return static_cast<int>(std::count_if(items.begin(), items.end(), [e](const T& x) { return x.element == e; }));
}

float MinOf(const Block& b, int axis) {
  float v = b.corners[0][axis];
  for (const auto& c : b.corners) v = std::min(v, c[axis]);
  return v;
}
float MaxOf(const Block& b, int axis) {
  float v = b.corners[0][axis];
  for (const auto& c : b.corners) v = std::max(v, c[axis]);
  return v;
}

// A deflection chart with one line: deflection growing linearly to `tip` at depth `length`.
void FillDeflection(TGraphPlot& chart, int stations, double length, double tip) {
  chart.SetLineCount(1);
  chart.SetPointCount(stations);
  for (int j = 0; j < stations; ++j) {
    chart.Point(0, j).Y = length * j / (stations - 1);
    chart.Point(0, j).X = tip * j / (stations - 1);
  }
}

}  // namespace

class BlockModelTest : public QObject {
  Q_OBJECT
 private slots:
  void zeroWidthsFollowTheWallLength();
  void extentWithoutSurchargesIsTwelveAndAHalfWallWidths();
  void farSurchargeWidensTheExtent();
  void englishLengthsAreFeet();
  void initialScaleFitsTheWindow();
  void soilBlocksByLayerWithColoursAndAlphas();
  void slopedBackfillTiltsTheFirstBlock();
  void waterPlanesAndMarks();
  void twentyPanelsWithPiles();
  void switchesAndOptionsDecideWhatIsBuilt();
  void tiebackRodsAndAnchors();
  void loadsAndSymbols();
  void uniformLoadAndSurcharges();
  void arrowGlyphShape();
  void smallGlyphsHaveFewerSegmentsWithinAQuarterPixel();
  void deformedWallFollowsTheDeflection();
  void deformedWallNeedsALineOfTwoPoints();
  void zoomInThenOutRestoresTheZoom();
  void zeroSizeZoomWindowChangesNothing();
  void zoomWindowCentresAndEnlarges();
  void restartView();
  void panAndRotateDrags();
  void dragFramesKeepTheShapeWithinTheirPixels_data();
  void dragFramesKeepTheShapeWithinTheirPixels();
  void factorStepping_data();
  void factorStepping();
};

void BlockModelTest::zeroWidthsFollowTheWallLength() {
  const TProgramData p = SIWall(0, 0);
  const ModelExtent x = ComputeExtent(p);
  QCOMPARE(x.wallLength, 10.0);
  QCOMPARE(x.wallWidth, 1.0);       // 0.1 L
  QCOMPARE(x.pileWidth, 1.0);
  QCOMPARE(x.wallThickness, 0.1);   // 0.01 L
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  const auto wall = BlocksOf(m, Element::Wall);
  QCOMPARE(wall.size(), std::size_t(20));  // one pile as wide as each panel
  for (const Block* b : wall) {
    QCOMPARE(MaxOf(*b, 1) - MinOf(*b, 1), 1.0f);
    QVERIFY(std::abs(MaxOf(*b, 0) - MinOf(*b, 0) - 0.1f) < 1e-6f);
    QCOMPARE(MinOf(*b, 2), -10.0f);
    QCOMPARE(MaxOf(*b, 2), 0.0f);
  }
  // Soldier piles: the thickness is a quarter of the pile width.
  const ModelExtent s = ComputeExtent(SIWall(2.4, 0.8));
  QCOMPARE(s.wallThickness, 0.2);
}

void BlockModelTest::extentWithoutSurchargesIsTwelveAndAHalfWallWidths() {
  TProgramData p = SIWall(1.2, 1.2);
  p.ApplySurcharge = true;
  p.SurchargeTable().SetRowCount(0);
  const ModelExtent x = ComputeExtent(p);
  QCOMPARE(x.halfWidth, 12.5 * 1.2);
  QCOMPARE(x.halfAlong, 10 * 1.2);
  QCOMPARE(x.depthExtent, 12.0);  // the deepest layer is below the tip
}

void BlockModelTest::farSurchargeWidensTheExtent() {
  TProgramData p = SIWall();
  p.ApplySurcharge = true;
  auto& s = p.SurchargeTable();
  s.SetRowCount(2);
  s.SetInteger(0, 0, 1);
  s.SetReal(1, 0, 50);
  s.SetReal(2, 0, 9000);  // a point load 9 m away
  s.SetInteger(0, 1, 3);
  s.SetReal(1, 1, 15);
  s.SetReal(2, 1, 20000);  // a strip centred 20 m away, 4 m wide: reach 22 m
  s.SetReal(3, 1, 4000);
  QCOMPARE(ComputeExtent(p).halfWidth, 0.9 * 22);
  // The same rows count for nothing once the surcharge option is off.
  p.ApplySurcharge = false;
  QCOMPARE(ComputeExtent(p).halfWidth, 12.5);
}

void BlockModelTest::englishLengthsAreFeet() {
  TProgramData p;  // English
  p.Increments = 60;
  p.IncrementLength = 8;  // inches: L = 40 ft
  p.FreeHeight = 300;
  p.WidthActive = 96;
  p.WidthPY = 14.5;
  const ModelExtent x = ComputeExtent(p);
  QCOMPARE(x.wallLength, 40.0);
  QCOMPARE(x.wallWidth, 8.0);
  QCOMPARE(x.pileWidth, 14.5 / 12);
  QCOMPARE(x.excavation, 25.0);
  QCOMPARE(x.halfWidth, 100.0);
}

void BlockModelTest::initialScaleFitsTheWindow() {
  const ModelExtent x = ComputeExtent(SIWall());  // d = 12.5, depth 12
  QCOMPARE(InitialScale(x, 1050, 1000), std::min(1000.0 / 25, 950.0 / 12));
  QCOMPARE(InitialScale(x, 1600, 290), 240.0 / 12);
  // A window smaller than the margins still gets a usable scale.
  QVERIFY(InitialScale(x, 20, 20) > 0);
}

void BlockModelTest::soilBlocksByLayerWithColoursAndAlphas() {
  const BlockModel m = BuildBlockModel(SIWall(), {}, {}, nullptr);
  const auto soil = BlocksOf(m, Element::Soil);
  QCOMPARE(soil.size(), std::size_t(4));  // both layers on both sides
  const ModelExtent& x = m.extent;
  // Backfill side of layer 1: from the surface to 6 m, d across, the model width along.
  const Block& b0 = *soil[0];
  QCOMPARE(MinOf(b0, 0), -12.5f);
  QVERIFY(MaxOf(b0, 0) < 0);
  QCOMPARE(MaxOf(b0, 2), 0.0f);
  QCOMPARE(MinOf(b0, 2), -6.0f);
  QCOMPARE(MinOf(b0, 1), float(-x.halfAlong));
  QCOMPARE(MaxOf(b0, 1), float(x.halfAlong));
  // Excavation side of layer 1 begins at the excavation level.
  const Block& e0 = *soil[1];
  QVERIFY(MinOf(e0, 0) > 0);
  QCOMPARE(MaxOf(e0, 2), -4.0f);
  QCOMPARE(MinOf(e0, 2), -6.0f);
  // Layer 2 from 6 to 12 m on both sides, in the second layer colour.
  QCOMPARE(MaxOf(*soil[2], 2), -6.0f);
  QCOMPARE(MinOf(*soil[3], 2), -12.0f);
  QCOMPARE(soil[0]->faceColour, (Rgb{0.8f, 0.55f, 0.0f}));
  QCOMPARE(soil[2]->faceColour, (Rgb{0.55f, 0.4f, 0.2f}));
  for (const Block* b : soil) {
    QCOMPARE(b->faceAlpha, 0.5f);
    QCOMPARE(b->edgeAlpha, 1.0f);
    QCOMPARE(b->edgeColour, b->faceColour);
  }
  // The colour table repeats every ten layers; 3 and 7 share a colour.
  QCOMPARE(LayerColour(4), (Rgb{0.0f, 0.5f, 0.5f}));
  QCOMPARE(LayerColour(7), LayerColour(3));
  QCOMPARE(LayerColour(13), LayerColour(3));
  QCOMPARE(LayerColour(9), (Rgb{0.65f, 0.4f, 0.2f}));
  QCOMPARE(LayerColour(6), (Rgb{0.8f, 0.0f, 0.8f}));
}

void BlockModelTest::slopedBackfillTiltsTheFirstBlock() {
  TProgramData p = SIWall();
  p.BackfillSlope = 20;
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  const Block& b0 = *BlocksOf(m, Element::Soil)[0];
  // The top rises away from the wall by tan(20 deg) per metre.
  const float expected = static_cast<float>(12.5 * std::tan(20 * M_PI / 180));
  QVERIFY(std::abs(MaxOf(b0, 2) - expected) < 1e-4f);
  QCOMPARE(MinOf(b0, 2), -6.0f);
  // The second block is not tilted.
  QCOMPARE(MaxOf(*BlocksOf(m, Element::Soil)[2], 2), -6.0f);
}

void BlockModelTest::waterPlanesAndMarks() {
  const BlockModel m = BuildBlockModel(SIWall(), {}, {}, nullptr);
  const auto water = BlocksOf(m, Element::Water);
  QCOMPARE(water.size(), std::size_t(2));
  QCOMPARE(MaxOf(*water[0], 2), -2.0f);
  QCOMPARE(MinOf(*water[0], 2), -2.0f);
  QVERIFY(water[0]->flat);
  QVERIFY(MaxOf(*water[0], 0) < 0);  // backfill side
  QCOMPARE(MaxOf(*water[1], 2), -5.0f);
  QVERIFY(MinOf(*water[1], 0) > 0);  // excavation side
  for (const Block* b : water) {
    QCOMPARE(b->faceAlpha, 0.75f);
    QCOMPARE(b->edgeAlpha, 1.0f);
    QVERIFY(b->faceColour.b > 0.9f && b->faceColour.r < 0.1f);
  }
  QCOMPARE(CountOf(m.pyramids, Element::Water), 50);
  QCOMPARE(m.pyramids[0].faceAlpha, 0.5f);
  QCOMPARE(m.pyramids[25].faceAlpha, 0.75f);
  QCOMPARE(m.pyramids[0].apex.z(), -2.0f);  // standing on its point on the plane
  QVERIFY(m.pyramids[0].base[0].z() > -2.0f);
}

void BlockModelTest::twentyPanelsWithPiles() {
  const BlockModel m = BuildBlockModel(SIWall(2.4, 0.8), {}, {}, nullptr);
  const auto wall = BlocksOf(m, Element::Wall);
  QCOMPARE(wall.size(), std::size_t(60));  // slab, pile, slab per panel
  int piles = 0;
  for (const Block* b : wall) {
    QCOMPARE(b->edgeColour, (Rgb{0.9f, 0.9f, 0.0f}));
    QVERIFY(b->filled);
    if (b->faceColour == Rgb{0.25f, 0.25f, 0.25f}) {
      ++piles;
      QVERIFY(std::abs(MaxOf(*b, 1) - MinOf(*b, 1) - 0.8f) < 1e-5f);
    } else {
      QCOMPARE(b->faceColour, (Rgb{0.75f, 0.75f, 0.75f}));
    }
  }
  QCOMPARE(piles, 20);
  // Ten panels each side of the centre line: the wall spans +-10 wall widths along.
  float lo = 0, hi = 0;
  for (const Block* b : wall) {
    lo = std::min(lo, MinOf(*b, 1));
    hi = std::max(hi, MaxOf(*b, 1));
  }
  QVERIFY(std::abs(lo + 24) < 1e-4f && std::abs(hi - 24) < 1e-4f);
}

void BlockModelTest::switchesAndOptionsDecideWhatIsBuilt() {
  TProgramData p = SIWall();
  DisplaySwitches off;
  off[Switch::SoilLayers] = false;
  off[Switch::WaterLevel] = false;
  BlockModel m = BuildBlockModel(p, off, {}, nullptr);
  QVERIFY(BlocksOf(m, Element::Soil).empty());
  QVERIFY(BlocksOf(m, Element::Water).empty());
  QVERIFY(!BlocksOf(m, Element::Wall).empty());
  QCOMPARE(m.axes.size(), std::size_t(3));  // always there
  // Without generated p-y curves there are no soil layers or water planes to show.
  p.GeneratePY = false;
  m = BuildBlockModel(p, {}, {}, nullptr);
  QVERIFY(BlocksOf(m, Element::Soil).empty());
  QVERIFY(BlocksOf(m, Element::Water).empty());
  // Springs need their option as well as their switch.
  p.SoilStrength().SetRowCount(1);
  p.SoilStrength().SetInteger(1, 0, 2);
  p.SoilStrength().SetInteger(2, 0, 4);
  QVERIFY(BlocksOf(BuildBlockModel(p, {}, {}, nullptr), Element::LateralSpring).empty());
  p.ApplySprings = true;
  m = BuildBlockModel(p, {}, {}, nullptr);
  const auto springs = BlocksOf(m, Element::LateralSpring);
  QCOMPARE(springs.size(), std::size_t(3 * 20));  // nodes 2..4 at every pile
  QCOMPARE(springs[0]->faceColour, (Rgb{0.5f, 0.5f, 0.5f}));
  QCOMPARE(springs[0]->edgeColour, (Rgb{1.0f, 0.5f, 0.0f}));
  QVERIFY(std::abs(MaxOf(*springs[0], 0) - MinOf(*springs[0], 0) - 0.125f) < 1e-6f);  // half an increment
  QVERIFY(std::abs(springs[0]->Centre().z() + 0.5f) < 1e-6f);                         // node 2
  DisplaySwitches noSprings;
  noSprings[Switch::LateralSprings] = false;
  QVERIFY(BlocksOf(BuildBlockModel(p, noSprings, {}, nullptr), Element::LateralSpring).empty());
  // An interpolated row reaches the next row's end node.
  p.SoilStrength().SetRowCount(2);
  p.SoilStrength().SetInteger(0, 0, 2);
  p.SoilStrength().SetInteger(1, 1, 8);
  p.SoilStrength().SetInteger(2, 1, 10);
  m = BuildBlockModel(p, {}, {}, nullptr);
  QCOMPARE(BlocksOf(m, Element::LateralSpring).size(), std::size_t((9 + 3) * 20));
}

void BlockModelTest::tiebackRodsAndAnchors() {
  TProgramData p = SIWall(1, 1);
  p.ApplyTiebacks = true;
  auto& t = p.TiebackTable1();
  t.SetRowCount(1);
  t.SetReal(0, 0, 3);      // depth 3 m
  t.SetReal(1, 0, 900);    // 900 mm^2: 30 mm square
  t.SetReal(3, 0, 8);      // unbonded 8 m
  t.SetReal(4, 0, 15);     // 15 degrees down
  t.SetReal(5, 0, 2.5);    // spacing: round(10 / 2.5) = 4 rods each side
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  const auto rods = BlocksOf(m, Element::Tieback);
  QCOMPARE(rods.size(), std::size_t(2 * 8));
  const Block& rod = *rods[0];
  const Block& anchor = *rods[1];
  QCOMPARE(rod.faceColour, (Rgb{0.5f, 0.75f, 0.75f}));
  QCOMPARE(rod.edgeColour, (Rgb{1.0f, 0.5f, 0.0f}));
  // The rod starts at the wall at 3 m, runs 8 m into the backfill at 15 degrees.
  const QVector3D start = (rod.corners[0] + rod.corners[2]) / 2;
  const QVector3D end = (rod.corners[4] + rod.corners[6]) / 2;
  QVERIFY(std::abs(start.z() + 3) < 1e-5f);
  QVERIFY(std::abs(start.x() + 0.05f) < 1e-5f);  // the backfill face of the wall
  QVERIFY(std::abs((end - start).length() - 8) < 1e-4f);
  QVERIFY(std::abs(std::atan2(start.z() - end.z(), start.x() - end.x()) * 180 / M_PI - 15) < 1e-3);
  QVERIFY(std::abs((rod.corners[1] - rod.corners[0]).length() - 0.03f) < 1e-6f);
  // The anchor follows: four times as wide, an eighth as long.
  QVERIFY(std::abs((anchor.corners[1] - anchor.corners[0]).length() - 0.12f) < 1e-6f);
  QVERIFY(std::abs((anchor.corners[4] - anchor.corners[0]).length() - 1.0f) < 1e-5f);
  // Rods half a spacing from the centre line, then a spacing apart.
  std::vector<float> ys;
  for (std::size_t k = 0; k < rods.size(); k += 2) ys.push_back(rods[k]->Centre().y());
  std::sort(ys.begin(), ys.end());
  QVERIFY(std::abs(ys[4] - 1.25f) < 1e-5f && std::abs(ys[5] - 3.75f) < 1e-5f && std::abs(ys[3] + 1.25f) < 1e-5f);
}

void BlockModelTest::loadsAndSymbols() {
  TProgramData p = SIWall();
  p.ApplyConcLoads = true;
  auto& c = p.BoundCond();
  c.SetRowCount(1);
  c.SetInteger(1, 0, 0);
  c.SetInteger(2, 0, 0);
  c.SetReal(3, 0, -40);  // toward the backfill
  c.SetReal(4, 0, 10);
  c.SetReal(5, 0, 100);
  p.ApplyRestraints = true;
  auto& r = p.SoilLayer();
  r.SetRowCount(2);
  r.SetInteger(0, 0, 1);
  r.SetInteger(1, 0, 40);
  r.SetReal(2, 0, 0.005);
  r.SetInteger(0, 1, 2);
  r.SetInteger(1, 1, 40);
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  std::vector<Arrow> loads;
  for (const Arrow& a : m.arrows)
    if (a.element == Element::ConcentratedLoad) loads.push_back(a);
  QCOMPARE(loads.size(), std::size_t(2));
  QCOMPARE(loads[0].colourIndex, 3);  // red, across the wall, pointing by the sign
  QCOMPARE(loads[0].direction, QVector3D(-1, 0, 0));
  QCOMPARE(loads[1].colourIndex, 1);  // blue, along the wall, pressing down
  QCOMPARE(loads[1].direction, QVector3D(0, 0, -1));
  // Beside the wall, where the opaque wall does not hide it: the cone clears the face.
  QVERIFY(-loads[1].tip.x() - kGlyphConeRadius * loads[1].size >= ComputeExtent(p).wallThickness / 2 - 1e-6f);
  QCOMPARE(loads[0].size, 2.0f / 3);
  QCOMPARE(CountOf(m.lines, Element::ConcentratedLoad), 2);  // the moment's arc and head
  // A deflection wedge with its value at node 40 (10 m), a slope clamp.
  QCOMPARE(CountOf(m.pyramids, Element::BoundaryCondition), 1);
  QCOMPARE(m.pyramids.back().colour, (Rgb{1, 0, 0}));
  QCOMPARE(m.pyramids.back().apex.z(), -10.0f);
  QCOMPARE(CountOf(m.labels, Element::BoundaryCondition), 1);
  QCOMPARE(m.labels[0].text, QStringLiteral("0.005"));
  QCOMPARE(CountOf(m.lines, Element::BoundaryCondition), 3);
  // Zero loads draw nothing.
  c.SetReal(3, 0, 0);
  c.SetReal(4, 0, 0);
  c.SetReal(5, 0, 0);
  const BlockModel none = BuildBlockModel(p, {}, {}, nullptr);
  QCOMPARE(CountOf(none.arrows, Element::ConcentratedLoad), 0);
  QCOMPARE(CountOf(none.lines, Element::ConcentratedLoad), 0);
}

void BlockModelTest::uniformLoadAndSurcharges() {
  TProgramData p = SIWall();
  p.UniformSurcharge = 10;
  p.ApplySurcharge = true;
  auto& s = p.SurchargeTable();
  s.SetRowCount(3);
  s.SetInteger(0, 0, 1);
  s.SetReal(1, 0, 50);
  s.SetReal(2, 0, 1500);
  s.SetInteger(0, 1, 2);
  s.SetReal(1, 1, -20);
  s.SetReal(2, 1, 3000);
  s.SetInteger(0, 2, 3);
  s.SetReal(1, 2, 15);
  s.SetReal(2, 2, 2500);
  s.SetReal(3, 2, 1000);
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  const auto slabs = BlocksOf(m, Element::UniformLoad);
  QCOMPARE(slabs.size(), std::size_t(20));
  QCOMPARE(slabs[0]->faceAlpha, 0.25f);
  QCOMPARE(CountOf(m.arrows, Element::UniformLoad), 60);
  std::vector<Arrow> sur;
  for (const Arrow& a : m.arrows)
    if (a.element == Element::Surcharge) sur.push_back(a);
  QCOMPARE(sur.size(), std::size_t(1 + 20 + 60));
  QCOMPARE(sur[0].colourIndex, 3);            // the point load, red, 1.5 m from the wall
  QCOMPARE(sur[0].tip, QVector3D(-1.5f, 0, 0));
  QCOMPARE(sur[0].direction, QVector3D(0, 0, -1));
  QCOMPARE(sur[1].colourIndex, 2);            // the line load, green, pulling up (negative)
  QCOMPARE(sur[1].direction, QVector3D(0, 0, 1));
  QCOMPARE(sur[1].tip.x(), -3.0f);
  QCOMPARE(sur[21].colourIndex, 1);           // the strip, blue, over 2 .. 3 m
  const auto strip = BlocksOf(m, Element::Surcharge);
  QCOMPARE(strip.size(), std::size_t(1));
  QCOMPARE(MinOf(*strip[0], 0), -3.0f);
  QCOMPARE(MaxOf(*strip[0], 0), -2.0f);
  QCOMPARE(strip[0]->faceAlpha, 0.25f);
  QCOMPARE(strip[0]->faceColour, GlyphColour(1));
}

void BlockModelTest::arrowGlyphShape() {
  const GlyphMesh& g = ArrowGlyph();
  float top = 0, rMax = 0, rShaft = 0;
  for (const auto& t : g.triangles) {
    for (const QVector3D& v : t) {
      top = std::max(top, v.z());
      const float r = std::hypot(v.x(), v.y());
      rMax = std::max(rMax, r);
      if (v.z() < 0.7f) rShaft = std::max(rShaft, r);
    }
  }
  QCOMPARE(top, 1.0f);
  QVERIFY(std::abs(rMax - 0.375f) < 1e-6f);
  QVERIFY(std::abs(rShaft - 0.125f) < 1e-6f);
  QCOMPARE(g.triangles.size(), std::size_t(3 * kGlyphSegments + 2 * kGlyphSegments - 4));
  QCOMPARE(GlyphColour(1), (Rgb{0, 0, 1}));
  QCOMPARE(GlyphColour(3), (Rgb{1, 0, 0}));
}

void BlockModelTest::smallGlyphsHaveFewerSegmentsWithinAQuarterPixel() {
  // Distance from the centre to the boundary of a regular n-gon inscribed in a circle of
  // radius r, at angle t (a vertex at t = 0).
  auto boundary = [](int n, double r, double t) {
    const double side = 2 * std::numbers::pi / n;
    const double u = std::fmod(t, side) - side / 2;
    return r * std::cos(side / 2) / std::cos(u);
  };
  struct Case {
    double radius;  // of the cone base, in pixels
    int most;       // segments at most
  };
  for (const Case c : {Case{0.5, 8}, Case{5, 12}, Case{12, 20}, Case{40, 36}, Case{200, 40}}) {
    const int n = GlyphSegmentsOnScreen(c.radius);
    QVERIFY2(n % 4 == 0 && n >= 8 && n <= c.most, qPrintable(QString::number(n)));
    double worst = 0;
    for (int k = 0; k < 36000; ++k) {
      const double t = 2 * std::numbers::pi * k / 36000;
      worst = std::max(worst, std::abs(boundary(n, c.radius, t) - boundary(40, c.radius, t)));
    }
    QVERIFY2(worst <= 0.25, qPrintable(QStringLiteral("%1 px: %2 segments, %3 px off").arg(c.radius).arg(n).arg(worst)));
  }
  QCOMPARE(GlyphSegmentsOnScreen(0), 40);  // size on screen unknown
  QCOMPARE(GlyphSegmentsOnScreen(-3), 40);
  // The shaft and the cone each with its own segments: the shape, and end discs that cover
  // exactly their polygons, facing away from the tip.
  for (auto [shaft, cone] : {std::pair(8, 8), std::pair(12, 20), std::pair(8, 40), std::pair(40, 40)}) {
    const GlyphMesh& g = ArrowGlyph(shaft, cone);
    QCOMPARE(g.triangles.size(), std::size_t(3 * shaft + 2 * cone - 4));
    QCOMPARE(g.outline.size(), std::size_t(shaft + cone + 8));  // a ring and four lines on each part
    float rMax = 0, rShaft = 0;
    double shaftDisc = 0, coneDisc = 0;
    for (const auto& t : g.triangles) {
      for (const QVector3D& v : t) {
        rMax = std::max(rMax, std::hypot(v.x(), v.y()));
        if (v.z() < 0.7f) rShaft = std::max(rShaft, std::hypot(v.x(), v.y()));
      }
      if (t[0].z() != t[1].z() || t[1].z() != t[2].z()) continue;
      const QVector3D n = QVector3D::crossProduct(t[1] - t[0], t[2] - t[0]);
      QVERIFY(n.z() < 0);
      (t[0].z() == 0 ? shaftDisc : coneDisc) += -n.z() / 2;
    }
    QVERIFY(std::abs(rMax - 0.375f) < 1e-6f);
    QVERIFY(std::abs(rShaft - 0.125f) < 1e-6f);
    auto polygon = [](int n, double r) { return n / 2.0 * r * r * std::sin(2 * std::numbers::pi / n); };
    QVERIFY(std::abs(shaftDisc - polygon(shaft, 0.125)) < 1e-6);
    QVERIFY(std::abs(coneDisc - polygon(cone, 0.375)) < 1e-6);
  }
  QCOMPARE(&ArrowGlyph(7), &ArrowGlyph(40));
}

void BlockModelTest::deformedWallFollowsTheDeflection() {
  const TProgramData p = SIWall();
  TGraphPlot chart;
  FillDeflection(chart, 41, 10, 0.05);  // 5 cm at the tip
  DeformedSettings d{true, false, 20};
  const BlockModel m = BuildBlockModel(p, {}, d, &chart);
  const auto wall = BlocksOf(m, Element::Wall);
  QCOMPARE(wall.size(), std::size_t(20 * 40));  // an increment block per panel
  // The last increment of a panel: its centre line at the tip is shifted 20 x 5 cm.
  const Block& last = *wall[39];
  const float tipX = (last.corners[4].x() + last.corners[5].x()) / 2;
  QVERIFY(std::abs(tipX - 1.0f) < 1e-4f);
  // Straight deflection line: the joints are perpendicular to it and the thickness stays.
  const QVector3D across = last.corners[5] - last.corners[4];
  const QVector3D along = last.corners[4] - last.corners[0];
  QVERIFY(std::abs(QVector3D::dotProduct(across.normalized(), along.normalized())) < 1e-4f);
  QVERIFY(std::abs(across.length() - 0.1f) < 1e-5f);
  QVERIFY(BlocksOf(m, Element::UndeformedWall).empty());
  // With the undeformed model: the straight piles as olive outlines.
  d.showUndeformed = true;
  const BlockModel both = BuildBlockModel(p, {}, d, &chart);
  const auto outline = BlocksOf(both, Element::UndeformedWall);
  QCOMPARE(outline.size(), std::size_t(20));
  QVERIFY(!outline[0]->filled);
  QCOMPARE(outline[0]->edgeColour, (Rgb{0.75f, 0.75f, 0.0f}));
  // A kink: the joint at the knee bisects the two increments (mitre).
  TGraphPlot knee;
  knee.SetLineCount(1);
  knee.SetPointCount(3);
  knee.Point(0, 1) = {0, 5};
  knee.Point(0, 2) = {5, 10};  // the lower half leans 45 degrees
  const std::vector<QVector3D> line = DeflectedCentreLine(p, knee, 1);
  QCOMPARE(line.size(), std::size_t(3));
  const BlockModel kinked = BuildBlockModel(p, {}, {true, false, 1}, &knee);
  const auto blocks = BlocksOf(kinked, Element::Wall);
  const Block& upper = *blocks[0];
  const Block& lower = *blocks[1];
  QCOMPARE(upper.corners[4], lower.corners[0]);  // the blocks meet on one joint
  const QVector3D joint = upper.corners[5] - upper.corners[4];
  const QVector3D bisector = QVector3D(0.5f * float(std::sqrt(2.0)), 0, -1 - 0.5f * float(std::sqrt(2.0))).normalized();
  QVERIFY(std::abs(QVector3D::dotProduct(joint.normalized(), bisector)) < 1e-4f);
}

void BlockModelTest::deformedWallNeedsALineOfTwoPoints() {
  const TProgramData p = SIWall();
  TGraphPlot chart;
  QVERIFY(!HasDeflection(&chart));
  QVERIFY(!HasDeflection(nullptr));
  chart.SetLineCount(1);
  chart.SetPointCount(1);
  QVERIFY(!HasDeflection(&chart));
  // Without a usable line the straight wall is drawn, filled.
  const BlockModel m = BuildBlockModel(p, {}, {true, true, 5}, &chart);
  const auto wall = BlocksOf(m, Element::Wall);
  QCOMPARE(wall.size(), std::size_t(20));
  QVERIFY(wall[0]->filled);
  chart.SetPointCount(2);
  QVERIFY(HasDeflection(&chart));
}

void BlockModelTest::zoomInThenOutRestoresTheZoom() {
  ViewState v;
  v.ZoomIn();
  QCOMPARE(v.zoom, 1.4142);
  v.ZoomOut();
  QVERIFY(std::abs(v.zoom - 1) < 1e-12);
}

void BlockModelTest::zeroSizeZoomWindowChangesNothing() {
  const ModelExtent x = ComputeExtent(SIWall());
  ViewState v;
  v.zoom = 2;
  v.pan = QVector3D(1, 2, 3);
  const QSize window(800, 600);
  QVERIFY(!ZoomWindow(v, QRect(QPoint(100, 100), QSize(0, 50)), window, 30, x));
  QVERIFY(!ZoomWindow(v, QRect(QPoint(100, 100), QSize(50, 0)), window, 30, x));
  QCOMPARE(v.zoom, 2.0);
  QCOMPARE(v.pan, QVector3D(1, 2, 3));
}

void BlockModelTest::zoomWindowCentresAndEnlarges() {
  const ModelExtent x = ComputeExtent(SIWall());
  ViewState v;
  const QSize window(800, 600);
  const double s0 = 30;
  // A rectangle 200 x 100 whose centre is 100 px right of and 50 px above the middle.
  const QRect r(QPoint(400, 200), QSize(200, 100));
  const QMatrix4x4 before = Projection(window, 1e4) * ModelView(v, s0, x);
  // The model point under the rectangle's centre before the zoom...
  const QVector3D target = before.inverted().map(QVector3D(100.0f / 400, 0.0f, 0.0f) + QVector3D(0, 50.0f / 300, 0));
  QVERIFY(ZoomWindow(v, r, window, s0, x));
  QCOMPARE(v.zoom, std::min(600.0 / 100, 800.0 / 200));
  // ... is at the window centre after it.
  const QVector3D after = (Projection(window, 1e4) * ModelView(v, s0, x)).map(target);
  QVERIFY(std::abs(after.x()) < 1e-4f && std::abs(after.y()) < 1e-4f);
}

void BlockModelTest::restartView() {
  ViewState v;
  v.angles = QVector3D(10, 20, 30);
  v.zoom = 3;
  v.pan = QVector3D(1, 1, 1);
  v.tool = MouseTool::Pan;
  v.Restart();
  QCOMPARE(v.angles, QVector3D());
  QCOMPARE(v.zoom, 1.0);
  QCOMPARE(v.pan, QVector3D());
  QCOMPARE(v.tool, MouseTool::Pan);
}

void BlockModelTest::panAndRotateDrags() {
  const ModelExtent x = ComputeExtent(SIWall());
  const QSize window(800, 600);
  const double s0 = 40;
  Drag d;
  d.press = QPoint(100, 100);
  d.atPress.tool = MouseTool::Pan;
  d.atPress.zoom = 2;
  d.modelView = ModelView(d.atPress, s0, x);
  // 80 px to the right at 80 px per metre: the model follows the mouse by 1 m along X.
  ViewState v = Dragged(d, QPoint(180, 100), false, window, s0);
  QVERIFY(std::abs(v.pan.x() - 1) < 1e-5f && std::abs(v.pan.z()) < 1e-5f);
  // 40 px up: 0.5 m up along Z (Z points up the screen).
  v = Dragged(d, QPoint(100, 60), false, window, s0);
  QVERIFY(std::abs(v.pan.z() - 0.5f) < 1e-5f);
  // With Shift only the larger component counts.
  v = Dragged(d, QPoint(180, 90), true, window, s0);
  QVERIFY(std::abs(v.pan.x() - 1) < 1e-5f && std::abs(v.pan.z()) < 1e-6f);
  // Zooming: dragging up a quarter of the height enlarges by a quarter.
  d.atPress.tool = MouseTool::Zoom;
  v = Dragged(d, QPoint(100, 100 - 150), false, window, s0);
  QCOMPARE(v.zoom, 2 * 1.25);
  // Rotating: a horizontal drag across the window turns about the vertical by 90 degrees.
  d.atPress.tool = MouseTool::Rotate;
  d.atPress.zoom = 1;
  d.modelView = ModelView(d.atPress, s0, x);
  v = Dragged(d, QPoint(900, 100), false, window, s0);
  QVERIFY(std::abs(v.angles.z() - 90) < 1e-3f && std::abs(v.angles.x()) < 1e-3f);
  v = Dragged(d, QPoint(100, 400), false, window, s0);
  QVERIFY(std::abs(v.angles.x() - 45) < 1e-3f && std::abs(v.angles.z()) < 1e-3f);
}

void BlockModelTest::dragFramesKeepTheShapeWithinTheirPixels_data() {
  QTest::addColumn<QSize>("window");
  QTest::addColumn<QSize>("frame");
  QTest::newRow("small window: its own size") << QSize(640, 480) << QSize(640, 480);
  QTest::newRow("at the limit") << QSize(800, 500) << QSize(800, 500);
  QTest::newRow("1600 x 1000: half each way") << QSize(1600, 1000) << QSize(800, 500);
  QTest::newRow("wide strip") << QSize(4000, 400) << QSize(2000, 200);
  QTest::newRow("empty") << QSize(0, 0) << QSize(1, 1);
}

void BlockModelTest::dragFramesKeepTheShapeWithinTheirPixels() {
  QFETCH(QSize, window);
  QFETCH(QSize, frame);
  QCOMPARE(DragFrameSize(window), frame);
}

void BlockModelTest::factorStepping_data() {
  QTest::addColumn<double>("factor");
  QTest::addColumn<bool>("up");
  QTest::addColumn<double>("expected");
  QTest::newRow("1 up") << 1.0 << true << 2.0;
  QTest::newRow("9 up") << 9.0 << true << 10.0;
  QTest::newRow("10 up") << 10.0 << true << 20.0;
  QTest::newRow("1 down") << 1.0 << false << 0.9;
  QTest::newRow("0.2 down") << 0.2 << false << 0.1;
  QTest::newRow("0.1 down") << 0.1 << false << 0.09;
  QTest::newRow("0.1 up") << 0.1 << true << 0.2;
  QTest::newRow("2.5 up") << 2.5 << true << 3.0;
  QTest::newRow("2.5 down") << 2.5 << false << 1.0;
  QTest::newRow("0 up") << 0.0 << true << 1.0;
  QTest::newRow("0 down") << 0.0 << false << 1.0;
  QTest::newRow("negative") << -3.0 << true << 1.0;
  QTest::newRow("0.09 up") << 0.09 << true << 0.1;
  QTest::newRow("0.9 up") << 0.9 << true << 1.0;
  QTest::newRow("20 down") << 20.0 << false << 10.0;
  QTest::newRow("300 up") << 300.0 << true << 400.0;
}

void BlockModelTest::factorStepping() {
  QFETCH(double, factor);
  QFETCH(bool, up);
  QFETCH(double, expected);
  QCOMPARE(StepFactor(factor, up), expected);
}

QTEST_GUILESS_MAIN(BlockModelTest)
#include "block_model_test.moc"
