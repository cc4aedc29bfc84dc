#include "app/results/block_renderer.h"

#include <QColor>
#include <QFont>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QQuaternion>
#include <cmath>

namespace tarnel::view3d {

namespace {

constexpr std::array<std::array<int, 4>, 6> kFaces{{{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1}, {1, 5, 6, 2},
                                                     {2, 6, 7, 3}, {3, 7, 4, 0}}};
constexpr std::array<std::array<int, 2>, 12> kEdges{
    {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};

// Without lighting every face of a block would have one flat colour; a fixed light shades
// the faces by their direction so the blocks read as solids.
float Shade(const QVector3D& a, const QVector3D& b, const QVector3D& c) {
  static const QVector3D light = QVector3D(0.35f, -0.55f, 0.75f).normalized();
  const QVector3D n = QVector3D::crossProduct(b - a, c - a);
  if (n.isNull()) return 1;
  return 0.72f + 0.28f * std::abs(QVector3D::dotProduct(n.normalized(), light));
}

void Vertex(QOpenGLFunctions_1_1* gl, const QVector3D& v) { gl->glVertex3f(v.x(), v.y(), v.z()); }
void Colour(QOpenGLFunctions_1_1* gl, Rgb c, float alpha, float shade = 1) {
  gl->glColor4f(c.r * shade, c.g * shade, c.b * shade, alpha);
}

// Glyph vertex placed at an arrow: glyph tip (0,0,1) on the arrow's tip, +Z along its
// direction, scaled by its size.
struct Placement {
  QQuaternion turn;
  QVector3D tip;
  float size;
  QVector3D operator()(const QVector3D& g) const { return tip + turn.rotatedVector(g - QVector3D(0, 0, 1)) * size; }
};
Placement Place(const Arrow& a) {
  const QVector3D z(0, 0, 1);
  QQuaternion q = QQuaternion::rotationTo(z, a.direction.normalized());
  if (QVector3D::dotProduct(a.direction.normalized(), z) < -0.9999f) q = QQuaternion::fromAxisAndAngle(1, 0, 0, 180);
  return Placement{q, a.tip, a.size};
}

void Faces(QOpenGLFunctions_1_1* gl, const BlockModel& m, bool transparent) {
  gl->glBegin(GL_QUADS);
  for (const Block& b : m.blocks) {
    if (!b.filled || (b.faceAlpha < 0.999f) != transparent) continue;
    for (const auto& f : kFaces) {
      if (b.flat && f != kFaces[1]) continue;
      Colour(gl, b.faceColour, b.faceAlpha, Shade(b.corners[f[0]], b.corners[f[1]], b.corners[f[2]]));
      for (int k : f) Vertex(gl, b.corners[k]);
    }
  }
  gl->glEnd();
  gl->glBegin(GL_TRIANGLES);
  for (const Pyramid& p : m.pyramids) {
    if ((p.faceAlpha < 0.999f) != transparent) continue;
    for (int k = 0; k < 4; ++k) {
      const QVector3D& a = p.base[k];
      const QVector3D& b = p.base[(k + 1) % 4];
      Colour(gl, p.colour, p.faceAlpha, Shade(p.apex, a, b));
      Vertex(gl, p.apex);
      Vertex(gl, a);
      Vertex(gl, b);
    }
    Colour(gl, p.colour, p.faceAlpha);
    for (int k : {0, 1, 2, 0, 2, 3}) Vertex(gl, p.base[k]);
  }
  if (transparent) {
    const GlyphMesh& glyph = ArrowGlyph();
    for (const Arrow& a : m.arrows) {
      const Placement at = Place(a);
      for (const auto& t : glyph.triangles) {
        const QVector3D v0 = at(t[0]), v1 = at(t[1]), v2 = at(t[2]);
        Colour(gl, GlyphColour(a.colourIndex), kGlyphFillAlpha, Shade(v0, v1, v2));
        Vertex(gl, v0);
        Vertex(gl, v1);
        Vertex(gl, v2);
      }
    }
  }
  gl->glEnd();
}

void Edges(QOpenGLFunctions_1_1* gl, const BlockModel& m) {
  gl->glBegin(GL_LINES);
  for (const Block& b : m.blocks) {
    Colour(gl, b.edgeColour, b.edgeAlpha);
    for (const auto& e : kEdges) {
      if (b.flat && e[0] < 4) continue;
      Vertex(gl, b.corners[e[0]]);
      Vertex(gl, b.corners[e[1]]);
    }
  }
  for (const Pyramid& p : m.pyramids) {
    Colour(gl, p.colour, 1);
    for (int k = 0; k < 4; ++k) {
      Vertex(gl, p.apex);
      Vertex(gl, p.base[k]);
      Vertex(gl, p.base[k]);
      Vertex(gl, p.base[(k + 1) % 4]);
    }
  }
  const GlyphMesh& glyph = ArrowGlyph();
  for (const Arrow& a : m.arrows) {
    const Placement at = Place(a);
    Colour(gl, GlyphColour(a.colourIndex), 1);
    for (const auto& s : glyph.outline) {
      Vertex(gl, at(s[0]));
      Vertex(gl, at(s[1]));
    }
  }
  gl->glEnd();
  for (const Polyline& l : m.lines) {
    gl->glBegin(l.closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    Colour(gl, l.colour, 1);
    for (const QVector3D& v : l.points) Vertex(gl, v);
    gl->glEnd();
  }
}

double ModelRadius(const ModelExtent& x) {
  return std::sqrt(x.halfWidth * x.halfWidth + x.halfAlong * x.halfAlong + x.depthExtent * x.depthExtent) * 2;
}

}  // namespace

double AxisLength(double s0, double zoom) { return kAxisPixels / (s0 * zoom); }

QOpenGLFunctions_1_1* BlockRenderer::Functions(QOpenGLContext* context) {
  if (!context || context->isOpenGLES()) return nullptr;
  auto* f = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context);
  if (f && !f->initializeOpenGLFunctions()) return nullptr;
  return f;
}

void BlockRenderer::Compile(QOpenGLFunctions_1_1* gl, const BlockModel& m) {
  if (list_ == 0) list_ = gl->glGenLists(1);
  gl->glNewList(list_, GL_COMPILE);
  // Solid faces first (pushed back a little so the edges on them stay visible), then the
  // opaque edges and lines, then the see-through faces without writing depth, so the wall
  // shows through the soil and the water whatever order they come in.
  gl->glEnable(GL_POLYGON_OFFSET_FILL);
  gl->glPolygonOffset(1, 1);
  gl->glDepthMask(GL_TRUE);
  Faces(gl, m, false);
  Edges(gl, m);
  gl->glDepthMask(GL_FALSE);
  Faces(gl, m, true);
  gl->glDepthMask(GL_TRUE);
  gl->glDisable(GL_POLYGON_OFFSET_FILL);
  gl->glEndList();
}

QMatrix4x4 BlockRenderer::Paint(QOpenGLFunctions_1_1* gl, const BlockModel& m, const ViewState& view, QSize window,
                                double s0) {
  const QMatrix4x4 projection = Projection(window, ModelRadius(m.extent) * s0 * view.zoom + 1000);
  const QMatrix4x4 modelView = ModelView(view, s0, m.extent);
  gl->glClearColor(1, 1, 1, 1);
  gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  gl->glMatrixMode(GL_PROJECTION);
  gl->glLoadMatrixf(projection.constData());
  gl->glMatrixMode(GL_MODELVIEW);
  gl->glLoadMatrixf(modelView.constData());
  gl->glShadeModel(GL_SMOOTH);
  gl->glEnable(GL_DEPTH_TEST);
  gl->glDepthFunc(GL_LEQUAL);
  gl->glEnable(GL_BLEND);
  gl->glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl->glLineWidth(1);
  if (list_) gl->glCallList(list_);

  // Axes last, opaque and over everything.
  gl->glDisable(GL_BLEND);
  gl->glDisable(GL_DEPTH_TEST);
  gl->glLineWidth(2);
  const float length = static_cast<float>(AxisLength(s0, view.zoom));
  gl->glBegin(GL_LINES);
  for (const Axis& a : m.axes) {
    Colour(gl, a.colour, 1);
    Vertex(gl, QVector3D());
    Vertex(gl, a.direction * length);
  }
  gl->glEnd();
  gl->glLineWidth(1);
  gl->glDisable(GL_DEPTH_TEST);
  return projection * modelView;
}

void BlockRenderer::Release(QOpenGLFunctions_1_1* gl) {
  if (list_ && gl) gl->glDeleteLists(list_, 1);
  list_ = 0;
}

void BlockRenderer::PaintLabels(QPainter& painter, const BlockModel& m, const QMatrix4x4& clip, QSize window,
                                double axisLength) {
  auto place = [&](const QVector3D& p) {
    const QVector3D ndc = clip.map(p);
    return QPointF((ndc.x() + 1) / 2 * window.width(), (1 - ndc.y()) / 2 * window.height());
  };
  auto colour = [](Rgb c) { return QColor::fromRgbF(c.r, c.g, c.b); };
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setPointSizeF(10);
  font.setBold(true);
  painter.setFont(font);
  for (const Axis& a : m.axes) {
    painter.setPen(colour(a.colour));
    painter.drawText(place(a.direction * static_cast<float>(axisLength * 1.12)) + QPointF(-4, 5), a.letter);
  }
  font.setBold(false);
  painter.setFont(font);
  for (const Label& l : m.labels) {
    painter.setPen(colour(l.colour));
    painter.drawText(place(l.at) + QPointF(3, 4), l.text);
  }
  painter.restore();
}

}  // namespace tarnel::view3d
