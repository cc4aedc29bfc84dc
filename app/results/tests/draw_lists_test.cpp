// What the 3D view sends to OpenGL, checked without a context: faces wound outward so back
// faces can be culled, faces inside touching opaque solids and repeated edges left out (and
// nothing that can show), and each batch drawn under the state its transparency needs.
#include <QtTest>
#include <cmath>
#include <map>

#include "app/model/program_data.h"
#include "app/results/tests/si_wall.h"
#include "app/results/block_model.h"
#include "app/results/block_renderer.h"
#include "app/results/draw_lists.h"
#include "app/results/graph_plot.h"

using namespace tarnel::view3d;
using tarnel::view3d::testing::SIWall;
using tarnel::model::TProgramData;

namespace {

// An axis-aligned box; `mirror` numbers its corners the other way round, as a block built
// from the excavation side could.
Block Box(float x0, float x1, float y0, float y1, float z0, float z1, float alpha, bool mirror = false,
          Rgb edge = {0.9f, 0.9f, 0}) {
  Block b{Element::Wall, {}, {0.75f, 0.75f, 0.75f}, edge, alpha, 1, true, false};
  const std::array<QVector3D, 4> low{QVector3D(x0, y0, z0), QVector3D(x1, y0, z0), QVector3D(x1, y1, z0),
                                     QVector3D(x0, y1, z0)};
  for (int k = 0; k < 4; ++k) {
    const QVector3D c = mirror ? low[3 - k] : low[k];
    b.corners[k] = c;
    b.corners[k + 4] = QVector3D(c.x(), c.y(), z1);
  }
  return b;
}

QVector3D Normal(const QVector3D& a, const QVector3D& b, const QVector3D& c) {
  return QVector3D::crossProduct(b - a, c - a);
}

QVector3D At(const DrawVertex& v) { return QVector3D(v.x, v.y, v.z); }

int VerticesPer(DrawBatch::Mode m) { return m == DrawBatch::Mode::Quads ? 4 : m == DrawBatch::Mode::Triangles ? 3 : 2; }

std::size_t Primitives(const std::vector<DrawBatch>& batches, DrawBatch::Mode mode, bool blend) {
  std::size_t n = 0;
  for (const DrawBatch& b : batches)
    if (b.mode == mode && b.blend == blend) n += b.vertices.size() / VerticesPer(mode);
  return n;
}

// The drawn lines as segments, in drawing order, with their colours.
struct Drawn {
  QVector3D a, b;
  Rgb colour;
};
std::vector<Drawn> Lines(const std::vector<DrawBatch>& batches) {
  std::vector<Drawn> out;
  for (const DrawBatch& b : batches) {
    if (b.mode != DrawBatch::Mode::Lines) continue;
    for (std::size_t k = 0; k + 1 < b.vertices.size(); k += 2)
      out.push_back({At(b.vertices[k]), At(b.vertices[k + 1]), {b.vertices[k].r, b.vertices[k].g, b.vertices[k].b}});
  }
  return out;
}

bool OnSegment(const QVector3D& p, const QVector3D& a, const QVector3D& b) {
  const QVector3D d = b - a;
  const float t = QVector3D::dotProduct(p - a, d) / d.lengthSquared();
  const float tol = 1e-5f * (1 + d.length());
  return t >= -1e-5f && t <= 1 + 1e-5f && (a + d * t - p).length() <= tol;
}

// The twelve edges of a block, as the block model numbers its corners.
std::vector<std::array<QVector3D, 2>> EdgesOf(const Block& b) {
  static constexpr int kEdge[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                       {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
  std::vector<std::array<QVector3D, 2>> out;
  for (const auto& e : kEdge) out.push_back({b.corners[e[0]], b.corners[e[1]]});
  return out;
}

}  // namespace

class DrawListsTest : public QObject {
  Q_OBJECT
 private slots:
  void facesAreWoundOutward_data();
  void facesAreWoundOutward();
  void modelSolidsAreWoundOutward();
  void glyphTrianglesAreWoundOutward();
  void facesInsideTouchingOpaqueSolidsAreLeftOut();
  void theStraightWallKeepsItsWholeFaces();
  void sharedEdgesAreSentOnce();
  void edgesInsideTouchingOpaqueSolidsAreLeftOut();
  void theDeformedWallKeepsEveryEdgeThatCanShow();
  void whereColoursOverlapTheLaterStillShows();
  void aJoinedLineCannotBendAway();
  void batchesInOrderWithTheirState();
  void glyphsGetTheSegmentsTheirSizeOnScreenNeeds();
};

void DrawListsTest::facesAreWoundOutward_data() {
  QTest::addColumn<bool>("mirror");
  QTest::addColumn<bool>("upsideDown");
  QTest::newRow("as built") << false << false;
  QTest::newRow("mirrored") << true << false;
  QTest::newRow("low face on top") << false << true;
  QTest::newRow("mirrored, low face on top") << true << true;
}

void DrawListsTest::facesAreWoundOutward() {
  QFETCH(bool, mirror);
  QFETCH(bool, upsideDown);
  const Block b = upsideDown ? Box(0, 2, 0, 3, 4, 1, 1, mirror) : Box(0, 2, 0, 3, 1, 4, 1, mirror);
  const QVector3D centre(1, 1.5f, 2.5f);
  int outward = 0;
  for (const auto& f : OutwardFaces(b)) {
    const QVector3D mid = (b.corners[f[0]] + b.corners[f[1]] + b.corners[f[2]] + b.corners[f[3]]) / 4;
    // Both triangles of the quad face out.
    outward += QVector3D::dotProduct(Normal(b.corners[f[0]], b.corners[f[1]], b.corners[f[2]]), mid - centre) > 0 &&
               QVector3D::dotProduct(Normal(b.corners[f[0]], b.corners[f[2]], b.corners[f[3]]), mid - centre) > 0;
  }
  QCOMPARE(outward, 6);
}

void DrawListsTest::modelSolidsAreWoundOutward() {
  TProgramData p = SIWall(1, 0.6);
  p.UniformSurcharge = 10;
  const BlockModel m = BuildBlockModel(p, {}, {}, nullptr);
  QVERIFY(m.blocks.size() > 40);
  for (const DrawBatch& batch : BuildDrawLists(m)) {
    if (!batch.cullBackFaces) continue;
    // Each culled face must face away from the solid it bounds: find the block whose centre
    // is on the inner side of the face's plane and that owns all its corners.
    for (std::size_t k = 0; k + 2 < batch.vertices.size(); k += VerticesPer(batch.mode)) {
      const QVector3D a = At(batch.vertices[k]), b = At(batch.vertices[k + 1]), c = At(batch.vertices[k + 2]);
      const QVector3D n = Normal(a, b, c);
      bool owned = false, outward = false;
      for (const Block& blk : m.blocks) {
        auto corner = [&](const QVector3D& v) {
          return std::any_of(blk.corners.begin(), blk.corners.end(), [&](const QVector3D& w) { return w == v; });
        };
        if (!corner(a) || !corner(b) || !corner(c)) continue;
        owned = true;
        outward = outward || QVector3D::dotProduct(n, (a + b + c) / 3 - blk.Centre()) > 0;
      }
      if (!owned) continue;  // glyph and mark triangles have a test of their own
      QVERIFY2(outward, qPrintable(QStringLiteral("face at (%1, %2, %3) turned inward").arg(a.x()).arg(a.y()).arg(a.z())));
    }
  }
}

void DrawListsTest::glyphTrianglesAreWoundOutward() {
  // The glyph is a cylinder (z 0 .. 3/4) under a cone (z 3/4 .. 1): each triangle faces away
  // from the centre of the solid it belongs to.
  const QVector3D cylinder(0, 0, 0.375f), cone(0, 0, 0.8125f);
  int inward = 0;
  for (auto [shaftSegments, coneSegments] : {std::pair(8, 8), std::pair(8, 24), std::pair(24, 40), std::pair(40, 40)}) {
    for (const auto& t : ArrowGlyph(shaftSegments, coneSegments).triangles) {
      const bool ofCone = std::all_of(t.begin(), t.end(), [](const QVector3D& v) { return v.z() > 0.7499f; });
      const QVector3D mid = (t[0] + t[1] + t[2]) / 3;
      inward += QVector3D::dotProduct(Normal(t[0], t[1], t[2]), mid - (ofCone ? cone : cylinder)) <= 0;
    }
  }
  QCOMPARE(inward, 0);
}

void DrawListsTest::facesInsideTouchingOpaqueSolidsAreLeftOut() {
  auto quads = [](std::vector<Block> blocks, bool blend) {
    BlockModel m;
    m.blocks = std::move(blocks);
    return Primitives(BuildDrawLists(m), DrawBatch::Mode::Quads, blend);
  };
  // Two opaque boxes side by side, however their corners are numbered: the face they share
  // is inside their union.
  QCOMPARE(quads({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, true)}, false), std::size_t(10));
  // See-through boxes show the face between them.
  QCOMPARE(quads({Box(0, 1, 0, 1, 0, 1, 0.5f), Box(1, 2, 0, 1, 0, 1, 0.5f)}, true), std::size_t(12));
  // The same box twice is not a pair of touching solids: both keep all their faces.
  QCOMPARE(quads({Box(0, 1, 0, 1, 0, 1, 1), Box(0, 1, 0, 1, 0, 1, 1)}, false), std::size_t(12));
  // Boxes that only meet along part of a face keep it.
  QCOMPARE(quads({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 2, 0, 1, 1)}, false), std::size_t(12));
}

void DrawListsTest::theStraightWallKeepsItsWholeFaces() {
  // Nothing that can show is left out: the faces kept on the two sides of the straight wall
  // add up to 20 panels by the wall length, on each side.
  DisplaySwitches wallOnly;
  wallOnly.on.fill(false);
  wallOnly[Switch::Wall] = true;
  const BlockModel m = BuildBlockModel(SIWall(1, 0.6), wallOnly, {}, nullptr);
  const double expected = 2 * 20 * m.extent.wallWidth * m.extent.wallLength;
  double across = 0;
  for (const DrawBatch& b : BuildDrawLists(m)) {
    if (b.mode != DrawBatch::Mode::Quads) continue;
    for (std::size_t k = 0; k + 3 < b.vertices.size(); k += 4) {
      const QVector3D n = QVector3D::crossProduct(At(b.vertices[k + 2]) - At(b.vertices[k]),
                                                  At(b.vertices[k + 3]) - At(b.vertices[k + 1])) / 2;
      across += std::abs(n.x());
    }
  }
  QVERIFY2(std::abs(across - expected) < 1e-4 * expected, qPrintable(QString::number(across)));
}

void DrawListsTest::sharedEdgesAreSentOnce() {
  auto segments = [](std::vector<Block> blocks) {
    BlockModel m;
    m.blocks = std::move(blocks);
    return Primitives(BuildDrawLists(m), DrawBatch::Mode::Lines, false);
  };
  QCOMPARE(segments({Box(0, 1, 0, 1, 0, 1, 1)}), std::size_t(12));
  // Side by side: the shared face's four edges once, and the four edges that run on from
  // one box into the other joined into one line each.
  QCOMPARE(segments({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, true)}), std::size_t(16));
  // In another colour the shared edges are drawn again (the later colour shows).
  QCOMPARE(segments({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, false, {1, 0.5f, 0})}), std::size_t(24));
}

void DrawListsTest::edgesInsideTouchingOpaqueSolidsAreLeftOut() {
  // Four boxes round the edge x = 1, z = 1 (as two wall panels meet at a joint): that edge is
  // inside them. Three boxes (an L) leave it on a re-entrant corner, where it shows.
  const std::vector<Block> four{Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, true), Box(0, 1, 0, 1, 1, 2, 1),
                                Box(1, 2, 0, 1, 1, 2, 1, true)};
  const QVector3D middle(1, 0.5f, 1);
  auto drawnThrough = [&](const std::vector<Block>& blocks, const QVector3D& p) {
    BlockModel m;
    m.blocks = blocks;
    const std::vector<Drawn> lines = Lines(BuildDrawLists(m));
    return std::count_if(lines.begin(), lines.end(), [&](const Drawn& l) { return OnSegment(p, l.a, l.b); });
  };
  QCOMPARE(drawnThrough(four, middle), 0);
  QCOMPARE(drawnThrough({four[0], four[1], four[2]}, middle), 1);
  // See-through boxes hide nothing.
  std::vector<Block> clear = four;
  for (Block& b : clear) b.faceAlpha = 0.5f;
  QCOMPARE(drawnThrough(clear, middle), 1);
  // The edges on the outside of the four are all still there.
  for (const QVector3D& p : {QVector3D(0.5f, 0, 1), QVector3D(1, 0, 0.5f), QVector3D(0, 0.5f, 1), QVector3D(1, 0.5f, 2), QVector3D(0.5f, 1, 2)})
    QCOMPARE(drawnThrough(four, p), 1);
}

void DrawListsTest::theDeformedWallKeepsEveryEdgeThatCanShow() {
  // The wall bent along a parabola, wall only: every edge of its 800 increment blocks that
  // is not inside the wall is drawn, nothing else is, and the lines across the 20 panels
  // come as one line each.
  TGraphPlot chart;
  chart.SetLineCount(1);
  chart.SetPointCount(41);
  for (int j = 0; j < 41; ++j) chart.Point(0, j) = {0.05 * (j / 40.0) * (j / 40.0), 10.0 * j / 40};
  DisplaySwitches wallOnly;
  wallOnly.on.fill(false);
  wallOnly[Switch::Wall] = true;
  const BlockModel m = BuildBlockModel(SIWall(), wallOnly, {true, false, 20}, &chart);
  QCOMPARE(m.blocks.size(), std::size_t(800));
  // An edge inside the wall is one that four blocks share (two panels, two increments).
  std::vector<std::array<QVector3D, 2>> outside;
  std::vector<std::array<QVector3D, 2>> inside;
  {
    std::vector<std::array<QVector3D, 2>> all;
    for (const Block& b : m.blocks)
      for (const auto& e : EdgesOf(b)) all.push_back(e);
    std::map<std::array<float, 6>, std::pair<std::array<QVector3D, 2>, int>> count;
    for (const auto& e : all) {
      std::array<float, 3> p{e[0].x(), e[0].y(), e[0].z()}, q{e[1].x(), e[1].y(), e[1].z()};
      if (q < p) std::swap(p, q);
      auto& c = count[{p[0], p[1], p[2], q[0], q[1], q[2]}];
      c.first = e;
      ++c.second;
    }
    for (const auto& [k, c] : count) (c.second == 4 ? inside : outside).push_back(c.first);
  }
  QCOMPARE(inside.size(), std::size_t(19 * 39));  // between panels, at the joints below the top and above the tip
  const std::vector<Drawn> lines = Lines(BuildDrawLists(m));
  for (const auto& e : outside) {
    const QVector3D mid = (e[0] + e[1]) / 2;
    QVERIFY2(std::any_of(lines.begin(), lines.end(), [&](const Drawn& l) { return OnSegment(mid, l.a, l.b); }),
             qPrintable(QStringLiteral("edge at (%1, %2, %3) lost").arg(mid.x()).arg(mid.y()).arg(mid.z())));
  }
  for (const auto& e : inside) {
    const QVector3D mid = (e[0] + e[1]) / 2;
    QVERIFY(std::none_of(lines.begin(), lines.end(), [&](const Drawn& l) { return OnSegment(mid, l.a, l.b); }));
  }
  for (const Drawn& l : lines) {
    for (float t : {0.0f, 0.3f, 0.7f, 1.0f}) {
      const QVector3D p = l.a + (l.b - l.a) * t;
      QVERIFY(std::any_of(outside.begin(), outside.end(), [&](const auto& e) { return OnSegment(p, e[0], e[1]); }));
    }
  }
  // Edges along the 21 panel joints on both faces and at both sides (40 increments each),
  // one line across each face at each of the 41 stations, and the thickness edges at the top
  // and the tip (21 each) and down the two sides (39 each).
  QCOMPARE(lines.size(), std::size_t(21 * 2 * 40 + 2 * 41 + 2 * 21 + 2 * 39));
}

void DrawListsTest::whereColoursOverlapTheLaterStillShows() {
  // Where lines of two colours overlap, the later one shows (the depth test lets it win), so
  // joining lines must not move one colour past the other.
  auto lastColourAt = [](const std::vector<Block>& blocks, const QVector3D& p) {
    BlockModel m;
    m.blocks = blocks;
    const std::vector<Drawn> lines = Lines(BuildDrawLists(m));
    Rgb colour{-1, -1, -1};
    for (const Drawn& l : lines)
      if (OnSegment(p, l.a, l.b)) colour = l.colour;
    return colour;
  };
  const Rgb yellow{0.9f, 0.9f, 0}, orange{1, 0.5f, 0};
  // A yellow box outlined again in orange.
  QCOMPARE(lastColourAt({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1), Box(0, 1, 0, 1, 0, 1, 1, false, orange)},
                        QVector3D(0.5f, 0, 0)),
           orange);
  // Yellow, a longer orange box over both, yellow again: the two yellow edges in line are not
  // joined over the orange one between them.
  const std::vector<Block> between{Box(0, 1, 0, 1, 0, 1, 1), Box(0, 2, 0, 1, 0, 1, 1, false, orange),
                                   Box(1, 2, 0, 1, 0, 1, 1)};
  QCOMPARE(lastColourAt(between, QVector3D(0.5f, 0, 0)), orange);
  QCOMPARE(lastColourAt(between, QVector3D(1.5f, 0, 0)), yellow);
}

void DrawListsTest::aJoinedLineCannotBendAway() {
  // 400 unit pieces along y = 1e-8 x^2: each turns 2e-8 from the one before (well within the
  // tolerance), but the line turns 8e-6 in all. Joined into one chord it would miss the
  // middle of the curve by 4e-4; every point of the curve must stay on the lines drawn.
  BlockModel m;
  Polyline curve{Element::Wall, {}, {0, 0, 1}, false};
  for (int k = 0; k <= 400; ++k) curve.points.push_back(QVector3D(k, 1e-8f * k * k, 0));
  m.lines = {curve};
  const std::vector<Drawn> lines = Lines(BuildDrawLists(m));
  for (const QVector3D& p : curve.points) {
    double nearest = 1e9;
    for (const Drawn& l : lines) {
      const double dx = l.b.x() - l.a.x(), dy = l.b.y() - l.a.y();
      const double t = std::clamp(((p.x() - l.a.x()) * dx + (p.y() - l.a.y()) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      nearest = std::min(nearest, std::hypot(l.a.x() + dx * t - p.x(), l.a.y() + dy * t - p.y()));
    }
    QVERIFY2(nearest < 1e-4, qPrintable(QStringLiteral("(%1, %2) is %3 off").arg(p.x()).arg(p.y()).arg(nearest)));
  }
  QVERIFY(lines.size() < 400);  // it is still joined where it is straight enough
}

void DrawListsTest::batchesInOrderWithTheirState() {
  TProgramData p = SIWall(1, 0.6);
  p.UniformSurcharge = 10;
  const std::vector<DrawBatch> batches = BuildDrawLists(BuildBlockModel(p, {}, {}, nullptr));
  QVERIFY(!batches.empty());
  // Opaque faces, then the lines, then see-through faces.
  int stage = 0;
  bool waterSeen = false;
  for (const DrawBatch& b : batches) {
    const bool lines = b.mode == DrawBatch::Mode::Lines;
    const int s = lines ? 1 : b.blend ? 2 : 0;
    QVERIFY(s >= stage);
    stage = s;
    for (const DrawVertex& v : b.vertices) {
      if (s == 2) QVERIFY(v.a < 1);
      else QCOMPARE(v.a, 1.0f);
    }
    QCOMPARE(b.writeDepth, s != 2);
    if (lines) QVERIFY(!b.cullBackFaces);
    // The water planes are seen from above and from below.
    const bool water = std::any_of(b.vertices.begin(), b.vertices.end(), [](const DrawVertex& v) {
      return v.a == 0.75f && v.b > 0.5f && v.r < 0.5f;
    });
    if (water && b.mode == DrawBatch::Mode::Quads) {
      waterSeen = true;
      QVERIFY(!b.cullBackFaces);
    }
  }
  QCOMPARE(stage, 2);
  QVERIFY(waterSeen);
}

void DrawListsTest::glyphsGetTheSegmentsTheirSizeOnScreenNeeds() {
  // Two glyphs of sizes 1 and 4 (shaft radii 1/8 and 1/2, cone base radii 3/8 and 3/2 model
  // units). A glyph of s shaft and c cone segments has 3s + 2c - 4 triangles.
  BlockModel m;
  m.arrows = {Arrow{Element::Surcharge, QVector3D(0, 0, 0), QVector3D(0, 0, -1), 1, 1},
              Arrow{Element::Surcharge, QVector3D(5, 0, 0), QVector3D(0, 0, -1), 4, 2}};
  auto glyphTriangles = [&](double pixelsPerUnit) {
    return Primitives(BuildDrawLists(m, pixelsPerUnit), DrawBatch::Mode::Triangles, true);
  };
  QCOMPARE(glyphTriangles(0), std::size_t(2 * 196));     // size on screen unknown: 40 segments each
  QCOMPARE(glyphTriangles(1000), std::size_t(2 * 196));  // shafts of 125 and 500 px
  // At 8 px a unit: shaft 1 px and cone 3 px (8 and 8), shaft 4 px and cone 12 px (12 and 16).
  QCOMPARE(glyphTriangles(8), std::size_t((3 * 8 + 2 * 8 - 4) + (3 * 12 + 2 * 16 - 4)));
  // Outlines: a ring and four lines on each part.
  QCOMPARE(Primitives(BuildDrawLists(m, 8), DrawBatch::Mode::Lines, false), std::size_t((8 + 8 + 8) + (12 + 16 + 8)));
  // Zooming compiles the list again only where the scale crosses a power of two.
  struct Case {
    double pixelsPerUnit, compiledFor;
  } cases[] = {{3, 4}, {4, 4}, {4.01, 8}, {0.3, 0.5}, {0, 0}, {-2, 0}};
  for (const Case& c : cases) QCOMPARE(BlockRenderer::GlyphDetailScale(c.pixelsPerUnit), c.compiledFor);
}

QTEST_APPLESS_MAIN(DrawListsTest)
#include "draw_lists_test.moc"
