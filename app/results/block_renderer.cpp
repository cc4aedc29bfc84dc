#include "app/results/block_renderer.h"

#include <QColor>
#include <QFont>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <cmath>

#include "app/results/draw_lists.h"

namespace tarnel::view3d {

namespace {

void Vertex(QOpenGLFunctions_1_1* gl, const QVector3D& v) { gl->glVertex3f(v.x(), v.y(), v.z()); }
void Colour(QOpenGLFunctions_1_1* gl, Rgb c, float alpha) { gl->glColor4f(c.r, c.g, c.b, alpha); }

void Draw(QOpenGLFunctions_1_1* gl, const DrawBatch& batch) {
  batch.cullBackFaces ? gl->glEnable(GL_CULL_FACE) : gl->glDisable(GL_CULL_FACE);
  batch.blend ? gl->glEnable(GL_BLEND) : gl->glDisable(GL_BLEND);
  gl->glDepthMask(batch.writeDepth ? GL_TRUE : GL_FALSE);
  const GLenum mode = batch.mode == DrawBatch::Mode::Quads       ? GL_QUADS
                      : batch.mode == DrawBatch::Mode::Triangles ? GL_TRIANGLES
                                                                 : GL_LINES;
  // Faces are pushed back a little so the edges on them stay visible.
  mode == GL_LINES ? gl->glDisable(GL_POLYGON_OFFSET_FILL) : gl->glEnable(GL_POLYGON_OFFSET_FILL);
  const DrawVertex* v = batch.vertices.data();
  gl->glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), &v->x);
  gl->glColorPointer(4, GL_FLOAT, sizeof(DrawVertex), &v->r);
  gl->glDrawArrays(mode, 0, static_cast<GLsizei>(batch.vertices.size()));
}

double ModelRadius(const ModelExtent& x) {
  return std::sqrt(x.halfWidth * x.halfWidth + x.halfAlong * x.halfAlong + x.depthExtent * x.depthExtent) * 2;
}

}  // namespace

double BlockRenderer::GlyphDetailScale(double pixelsPerUnit) {
  if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return 0;
  return std::exp2(std::ceil(std::log2(pixelsPerUnit)));
}

double AxisLength(double s0, double zoom) { return kAxisPixels / (s0 * zoom); }

QOpenGLFunctions_1_1* BlockRenderer::Functions(QOpenGLContext* context) {
  if (!context || context->isOpenGLES()) return nullptr;
  auto* f = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context);
  if (f && !f->initializeOpenGLFunctions()) return nullptr;
  return f;
}

void BlockRenderer::Compile(QOpenGLFunctions_1_1* gl, const BlockModel& m) {
  ++compilations_;
  const std::vector<DrawBatch> batches = BuildDrawLists(m, glyphScale_);
  if (list_ == 0) list_ = gl->glGenLists(1);
  // The arrays are copied into the list as it is compiled.
  gl->glEnableClientState(GL_VERTEX_ARRAY);
  gl->glEnableClientState(GL_COLOR_ARRAY);
  gl->glNewList(list_, GL_COMPILE);
  gl->glPolygonOffset(1, 1);
  for (const DrawBatch& b : batches) Draw(gl, b);
  gl->glDepthMask(GL_TRUE);
  gl->glDisable(GL_CULL_FACE);
  gl->glDisable(GL_POLYGON_OFFSET_FILL);
  gl->glEndList();
  gl->glDisableClientState(GL_COLOR_ARRAY);
  gl->glDisableClientState(GL_VERTEX_ARRAY);
}

QMatrix4x4 BlockRenderer::Paint(QOpenGLFunctions_1_1* gl, const BlockModel& m, const ViewState& view, QSize window,
                                double s0, double devicePixels) {
  const double glyphScale = GlyphDetailScale(s0 * view.zoom * devicePixels);
  if (stale_ || list_ == 0 || glyphScale != glyphScale_) {
    glyphScale_ = glyphScale;
    Compile(gl, m);
    stale_ = false;
  }
  const QMatrix4x4 projection = Projection(window, ModelRadius(m.extent) * s0 * view.zoom + 1000);
  const QMatrix4x4 modelView = ModelView(view, s0, m.extent);
  gl->glClearColor(1, 1, 1, 1);
  gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  gl->glMatrixMode(GL_PROJECTION);
  gl->glLoadMatrixf(projection.constData());
  gl->glMatrixMode(GL_MODELVIEW);
  gl->glLoadMatrixf(modelView.constData());
  // Every face and line has one colour, so flat shading draws the same picture as smooth
  // shading without interpolating colours per pixel.
  gl->glShadeModel(GL_FLAT);
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
