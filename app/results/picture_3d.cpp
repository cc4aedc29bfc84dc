#include "app/results/picture_3d.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_1_1>
#include <QPainter>
#include <QSurfaceFormat>
#include <algorithm>
#include <memory>

#include "app/results/block_renderer.h"

namespace tarnel::view3d {

QString NoOpenGLMessage() {
  return QStringLiteral("OpenGL is not available on this display, so the 3-D View cannot be drawn.");
}

struct OffscreenRenderer::Impl {
  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  std::unique_ptr<QOpenGLFramebufferObject> spare;
  QOpenGLFunctions_1_1* gl = nullptr;
  BlockRenderer renderer;
  BlockModel model;
  QSize size;
  int samples = 0;
  int maxSide = 0;
};

OffscreenRenderer::OffscreenRenderer(QSize pixels, int samples) : d_(std::make_unique<Impl>()) {
  d_->size = pixels.expandedTo(QSize(1, 1));
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  d_->surface.setFormat(format);
  d_->surface.create();
  d_->context.setFormat(format);
  if (!d_->surface.isValid() || !d_->context.create() || !d_->context.makeCurrent(&d_->surface)) {
    error_ = NoOpenGLMessage();
    return;
  }
  d_->gl = BlockRenderer::Functions(&d_->context);
  if (!d_->gl) {
    error_ = NoOpenGLMessage();
    return;
  }
  d_->samples = samples;
  resize(d_->size);
}

QSize OffscreenRenderer::size() const { return d_->size; }

int OffscreenRenderer::compilations() const { return d_->renderer.Compilations(); }

bool OffscreenRenderer::current() {
  if (d_->gl && QOpenGLContext::currentContext() == &d_->context && d_->context.surface() == &d_->surface)
    return true;
  if (d_->gl && d_->context.makeCurrent(&d_->surface)) return true;
  if (d_->gl) error_ = NoOpenGLMessage();
  return false;
}

int OffscreenRenderer::maxSide() {
  if (d_->maxSide == 0 && current()) {
    GLint side = 0;
    d_->gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    d_->maxSide = std::max(1, int(side));
  }
  return d_->maxSide;
}

bool OffscreenRenderer::resize(QSize pixels) {
  pixels = pixels.expandedTo(QSize(1, 1));
  if (!current()) return false;
  if (d_->fbo && pixels == d_->size) return true;
  // A drag switches between two sizes: the buffer of the other one is kept, not made again.
  if (d_->spare && d_->spare->size() == pixels) {
    std::swap(d_->fbo, d_->spare);
  } else {
    if (d_->fbo) d_->spare = std::move(d_->fbo);
    QOpenGLFramebufferObjectFormat fboFormat;
    fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
    fboFormat.setSamples(d_->samples);
    d_->fbo = std::make_unique<QOpenGLFramebufferObject>(pixels, fboFormat);
    if (!d_->fbo->isValid() && d_->samples > 0) {
      fboFormat.setSamples(0);
      d_->fbo = std::make_unique<QOpenGLFramebufferObject>(pixels, fboFormat);
    }
  }
  d_->size = pixels;
  if (!d_->fbo->isValid() || !d_->fbo->bind()) {
    error_ = QStringLiteral("The 3D picture could not be drawn: no frame buffer of %1 x %2 pixels.")
                 .arg(pixels.width())
                 .arg(pixels.height());
    d_->fbo.reset();
    return false;
  }
  error_.clear();
  d_->gl->glViewport(0, 0, pixels.width(), pixels.height());
  return true;
}

OffscreenRenderer::~OffscreenRenderer() {
  if (d_->gl && d_->context.makeCurrent(&d_->surface)) {
    d_->renderer.Release(d_->gl);
    d_->fbo.reset();
    d_->spare.reset();
    d_->context.doneCurrent();
  }
}

void OffscreenRenderer::setModel(const BlockModel& model) {
  if (!d_->gl) return;
  d_->model = model;
  d_->renderer.ModelChanged();
}

QMatrix4x4 OffscreenRenderer::frame(const ViewState& view, double s0) {
  const QMatrix4x4 clip = frame(view, s0, d_->size, 1);
  if (d_->fbo) d_->gl->glFinish();
  return clip;
}

QMatrix4x4 OffscreenRenderer::frame(const ViewState& view, double s0, QSize window, double devicePixels) {
  if (!d_->fbo || !current()) return {};
  // The projection spans the window; the viewport squeezes it into the buffer.
  return d_->renderer.Paint(d_->gl, d_->model, view, window.expandedTo(QSize(1, 1)), s0, devicePixels);
}

// Blending leaves the buffer's alpha below one where faces are see-through, and reading
// it as a premultiplied picture would brighten those colours: the picture is opaque, as the
// frame buffer's colours are what OpenGL blended.
void OffscreenRenderer::makeOpaque() {
  QOpenGLFunctions_1_1* gl = d_->gl;
  gl->glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
  gl->glClearColor(0, 0, 0, 1);
  gl->glClear(GL_COLOR_BUFFER_BIT);
  gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

QImage OffscreenRenderer::frameImage() {
  if (!d_->fbo || !current()) return {};
  makeOpaque();
  // A multisampled buffer has to be resolved first, which Qt's read-back does.
  if (d_->fbo->format().samples() > 0) return d_->fbo->toImage().convertToFormat(QImage::Format_RGB32);
  QImage image(d_->size, QImage::Format_RGB32);
  if (image.isNull()) return {};
  // BGRA with the reversed packed type gives 0xAARRGGBB words, the layout of Format_RGB32
  // on either byte order: nothing is converted on the way.
  constexpr GLenum kBgra = 0x80E1;
  constexpr GLenum kUnsignedInt8888Rev = 0x8367;
  d_->gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
  d_->gl->glReadPixels(0, 0, d_->size.width(), d_->size.height(), kBgra, kUnsignedInt8888Rev, image.bits());
  // OpenGL counts rows from the bottom.
  return std::move(image).mirrored(false, true);
}

QImage OffscreenRenderer::picture(const QMatrix4x4& clip, const ViewState& view, double s0) {
  QImage image = frameImage();
  if (image.isNull()) return {};
  QPainter painter(&image);
  BlockRenderer::PaintLabels(painter, d_->model, clip, d_->size, AxisLength(s0, view.zoom));
  return image;
}

QImage Render3DPicture(const tarnel::model::TProgramData& project, const TGraphPlot* deflection,
                       const Picture3DOptions& o, QString* error) {
  OffscreenRenderer r(o.pixels);
  if (!r.error().isEmpty()) {
    if (error) *error = r.error();
    return {};
  }
  const BlockModel model = BuildBlockModel(project, o.switches, o.deformed, deflection);
  ViewState view;
  view.angles = o.angles;
  view.zoom = o.zoom;
  const QSize size = o.pixels.expandedTo(QSize(1, 1));
  const double s0 = InitialScale(model.extent, size.width(), size.height());
  r.setModel(model);
  return r.picture(r.frame(view, s0), view, s0);
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
