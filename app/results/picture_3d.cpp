#include "app/results/picture_3d.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_1_1>
#include <QPainter>
#include <QSurfaceFormat>
#include <memory>

#include "app/results/block_renderer.h"

namespace tarnel::view3d {

QString NoOpenGLMessage() {
  return QStringLiteral("OpenGL is not available on this display, so the 3-D View cannot be drawn.");
}

QImage Render3DPicture(const tarnel::model::TProgramData& project, const TGraphPlot* deflection,
                       const Picture3DOptions& o, QString* error) {
  auto fail = [&](const QString& why) {
    if (error) *error = why;
    return QImage();
  };
  const QSize size = o.pixels.expandedTo(QSize(1, 1));
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  QOffscreenSurface surface;
  surface.setFormat(format);
  surface.create();
  QOpenGLContext context;
  context.setFormat(format);
  if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) return fail(NoOpenGLMessage());
  QOpenGLFunctions_1_1* gl = BlockRenderer::Functions(&context);
  if (!gl) {
    context.doneCurrent();
    return fail(NoOpenGLMessage());
  }
  QOpenGLFramebufferObjectFormat fboFormat;
  fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
  fboFormat.setSamples(4);
  auto fbo = std::make_unique<QOpenGLFramebufferObject>(size, fboFormat);
  if (!fbo->isValid()) {
    fboFormat.setSamples(0);
    fbo = std::make_unique<QOpenGLFramebufferObject>(size, fboFormat);
  }
  if (!fbo->isValid() || !fbo->bind()) {
    context.doneCurrent();
    return fail(QStringLiteral("The 3D picture could not be drawn: no frame buffer of %1 x %2 pixels.")
                    .arg(size.width())
                    .arg(size.height()));
  }
  const BlockModel model = BuildBlockModel(project, o.switches, o.deformed, deflection);
  ViewState view;
  view.angles = o.angles;
  view.zoom = o.zoom;
  const double s0 = InitialScale(model.extent, size.width(), size.height());
  BlockRenderer renderer;
  gl->glViewport(0, 0, size.width(), size.height());
  renderer.Compile(gl, model);
  const QMatrix4x4 clip = renderer.Paint(gl, model, view, size, s0);
  gl->glFinish();
  QImage image = fbo->toImage().convertToFormat(QImage::Format_RGB32);
  renderer.Release(gl);
  fbo->release();
  fbo.reset();
  context.doneCurrent();
  QPainter painter(&image);
  BlockRenderer::PaintLabels(painter, model, clip, size, AxisLength(s0, view.zoom));
  return image;
}

bool Write3DPicture(const tarnel::model::TProgramData& project, const TGraphPlot* deflection,
                    const Picture3DOptions& o, const QString& path, QString* error) {
  const QImage image = Render3DPicture(project, deflection, o, error);
  if (image.isNull()) return false;
  QImageWriter writer(path);
  if (writer.format().isEmpty()) writer.setFormat("png");
  if (!writer.write(image)) {
    if (error) *error = QStringLiteral("The picture could not be written to ") + path + QStringLiteral(": ") +
                        writer.errorString();
    return false;
  }
  return true;
}

}  // namespace tarnel::view3d
