// What the 3D view sends to OpenGL, checked without a context: faces wound outward so back
// faces can be culled, faces inside touching opaque solids and repeated edges left out (and
// nothing that can show), and each batch drawn under the state its transparency needs.
#include <QtTest>
#include <cmath>

#include "app/model/program_data.h"
#include "app/results/tests/si_wall.h"
#include "app/results/block_model.h"
#include "app/results/block_renderer.h"
#include "app/results/draw_lists.h"

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
  for (int n : {8, 24, 40}) {
    for (const auto& t : ArrowGlyph(n).triangles) {
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
  QCOMPARE(segments({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, true)}), std::size_t(20));
  // In another colour the shared edges are drawn again (the later colour shows).
  QCOMPARE(segments({Box(0, 1, 0, 1, 0, 1, 1), Box(1, 2, 0, 1, 0, 1, 1, false, {1, 0.5f, 0})}), std::size_t(24));
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
  // Two glyphs of sizes 1 and 4 (cone base radii 3/8 and 3/2 model units).
  BlockModel m;
  m.arrows = {Arrow{Element::Surcharge, QVector3D(0, 0, 0), QVector3D(0, 0, -1), 1, 1},
              Arrow{Element::Surcharge, QVector3D(5, 0, 0), QVector3D(0, 0, -1), 4, 2}};
  auto glyphTriangles = [&](double pixelsPerUnit) {
    return Primitives(BuildDrawLists(m, pixelsPerUnit), DrawBatch::Mode::Triangles, true);
  };
  QCOMPARE(glyphTriangles(0), std::size_t(2 * 200));        // size on screen unknown: 40 segments each
  QCOMPARE(glyphTriangles(1000), std::size_t(2 * 200));     // 375 and 1500 px
  QCOMPARE(glyphTriangles(8), std::size_t(5 * 8 + 5 * 16));  // 3 and 12 px
  // Outlines: two rings and four lines on each part.
  QCOMPARE(Primitives(BuildDrawLists(m, 8), DrawBatch::Mode::Lines, false), std::size_t(2 * 8 + 8 + 2 * 16 + 8));
  // Zooming compiles the list again only where the scale crosses a power of two.
  struct Case {
    double pixelsPerUnit, compiledFor;
  } cases[] = {{3, 4}, {4, 4}, {4.01, 8}, {0.3, 0.5}, {0, 0}, {-2, 0}};
  for (const Case& c : cases) QCOMPARE(BlockRenderer::GlyphDetailScale(c.pixelsPerUnit), c.compiledFor);
}

QTEST_APPLESS_MAIN(DrawListsTest)
#include "draw_lists_test.moc"
