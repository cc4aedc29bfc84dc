#include "app/results/dlg_block.h"

#include <QLabel>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/model/program_data.h"
#include "app/results/block_renderer.h"
#include "app/results/deformed_shape_dialog.h"
#include "app/results/picture_3d.h"

using namespace tarnel::view3d;

// The picture area of the view. OpenGL draws the model into an offscreen frame buffer, and
// the widget paints that picture with the text and the zoom window over it: a GL widget
// composed into the window costs a software renderer more than a frame's time by itself,
// and a native GL child window would cover the MDI windows laid over it. The picture is
// kept between paints, so the zoom window and other repaints draw nothing again; a turn, a
// pan or a zoom draws a new frame, smaller while the mouse drags (see DragFrameSize).
class TglWindow : public QWidget {
 public:
  explicit TglWindow(TDlgBlock* owner) : QWidget(owner), owner_(owner), renderer_(QSize(1, 1), 0) {
    setObjectName(QStringLiteral("TglWindow"));
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
  }

  bool ready() const { return renderer_.error().isEmpty(); }
  void modelChanged() {
    modelStale_ = true;
    frameStale_ = true;
    update();
  }
  void viewChanged() {
    frameStale_ = true;
    update();
  }
  void overlayChanged() { update(); }
  int compilations() const { return renderer_.compilations(); }
  int framesDrawn() const { return frames_; }
  QSize lastFrameSize() const { return frame_.size(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const double dpr = devicePixelRatioF();
    const QSize full(std::max(1, int(std::lround(width() * dpr))), std::max(1, int(std::lround(height() * dpr))));
    QSize want = owner_->dragMoved_ ? DragFrameSize(full) : full;
    // A window larger than the buffers OpenGL can make shows a stretched picture.
    if (const int side = renderer_.maxSide(); side > 0 && (want.width() > side || want.height() > side))
      want = want.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (frameStale_ || frame_.size() != want) draw(want, dpr);
    if (frame_.isNull()) {
      painter.fillRect(rect(), Qt::white);
      painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, renderer_.error());
    } else {
      // A stretched frame is smoothed so its edges do not turn into steps (about a
      // millisecond at 1600 x 1000); a frame of the window's own size is copied as it is.
      painter.setRenderHint(QPainter::SmoothPixmapTransform, frame_.size() != full);
      painter.drawImage(QRectF(rect()), frame_);
      BlockRenderer::PaintLabels(painter, owner_->model_, clip_, size(), AxisLength(owner_->s0_, owner_->view_.zoom));
    }
    if (!owner_->rubberBand_.isNull()) {
      painter.setPen(QPen(QColor(0, 160, 0), 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(owner_->rubberBand_.normalized());
    }
    // Queued, so it arrives once the window has put the painted picture on the screen.
    QMetaObject::invokeMethod(owner_, &TDlgBlock::frameShown, Qt::QueuedConnection);
  }
  // A release that went elsewhere (a window that popped up, another application taking
  // the mouse) must not leave the drag, and its coarse frames, running.
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowDeactivate || e->type() == QEvent::Hide) owner_->cancelDrag();
    return QWidget::event(e);
  }
  void mousePressEvent(QMouseEvent* e) override { owner_->mousePress(e); }
  void mouseMoveEvent(QMouseEvent* e) override { owner_->mouseMove(e); }
  void mouseReleaseEvent(QMouseEvent* e) override { owner_->mouseRelease(e); }

 private:
  void draw(QSize pixels, double dpr) {
    frame_ = QImage();
    // A buffer that could not be made is tried again at the next paint (at another size).
    if (!renderer_.resize(pixels)) return;
    if (modelStale_) {
      renderer_.setModel(owner_->model_);
      modelStale_ = false;
    }
    clip_ = renderer_.frame(owner_->view_, owner_->s0_, size(), dpr);
    frame_ = renderer_.frameImage();
    ++frames_;
    frameStale_ = false;
  }

  TDlgBlock* owner_;
  OffscreenRenderer renderer_;
  QImage frame_;
  QMatrix4x4 clip_;
  bool modelStale_ = true;
  bool frameStale_ = true;
  int frames_ = 0;
};

bool OpenGLAvailable() {
  static const bool available = [] {
    QOpenGLContext context;
    QSurfaceFormat f = QSurfaceFormat::defaultFormat();
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    context.setFormat(f);
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    const bool ok = BlockRenderer::Functions(&context) != nullptr;
    context.doneCurrent();
    return ok;
  }();
  return available;
}

TDlgBlock::TDlgBlock(ProjectAccess project, DeflectionAccess deflection, QWidget* parent)
    : QWidget(parent), project_(std::move(project)), deflection_(std::move(deflection)) {
  setObjectName(QStringLiteral("DlgBlock"));
  setWindowTitle(QStringLiteral("3-D View"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  if (OpenGLAvailable()) gl_ = new TglWindow(this);
  if (gl_ && !gl_->ready()) {
    delete gl_;
    gl_ = nullptr;
  }
  if (gl_) {
    layout->addWidget(gl_);
  } else {
    message_ = new QLabel(NoOpenGLMessage(), this);
    message_->setObjectName(QStringLiteral("NoOpenGL"));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    layout->addWidget(message_);
  }
  resize(800, 600);
}

TDlgBlock::~TDlgBlock() {
  if (dialog_) dialog_->close();
}

QSize TDlgBlock::sizeHint() const { return QSize(800, 600); }

QSize TDlgBlock::pictureSize() const {
  const QWidget* w = gl_ ? static_cast<const QWidget*>(gl_) : message_;
  return w && w->width() > 1 ? w->size() : size();
}

int TDlgBlock::listCompilations() const { return gl_ ? gl_->compilations() : 0; }

int TDlgBlock::framesDrawn() const { return gl_ ? gl_->framesDrawn() : 0; }

QSize TDlgBlock::lastFrameSize() const { return gl_ ? gl_->lastFrameSize() : QSize(); }

bool TDlgBlock::canShowDeformed() const { return HasDeflection(deflection_ ? deflection_() : nullptr); }

void TDlgBlock::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  ensureModel();
}

void TDlgBlock::ensureModel() {
  if (!built_) rebuild();
}

void TDlgBlock::rebuild() {
  const tarnel::model::TProgramData* p = project_ ? project_() : nullptr;
  if (!p) return;
  const ModelExtent before = model_.extent;
  model_ = BuildBlockModel(*p, switches_, deformed_, deflection_ ? deflection_() : nullptr);
  // The scale is fixed on the first build; a project of other dimensions sets it again.
  const bool sameExtent = built_ && before.halfWidth == model_.extent.halfWidth &&
                          before.depthExtent == model_.extent.depthExtent;
  if (!sameExtent) {
    const QSize s = pictureSize();
    s0_ = InitialScale(model_.extent, s.width(), s.height());
  }
  built_ = true;
  changed();
}

void TDlgBlock::changed() {
  if (gl_) gl_->modelChanged();
}

// A turn, zoom or pan replays the compiled lists: compiling them again at every mouse move
// would cost more than the frame itself.
void TDlgBlock::viewChanged() {
  if (gl_) gl_->viewChanged();
}

void TDlgBlock::setSwitch(Switch s, bool on) {
  switches_[s] = on;
  rebuild();
}

void TDlgBlock::setDeformed(const DeformedSettings& d) {
  deformed_ = d;
  rebuild();
}

void TDlgBlock::setTool(MouseTool tool) {
  view_.tool = tool;
  emit toolChanged();
}

void TDlgBlock::zoomIn() {
  view_.ZoomIn();
  viewChanged();
}

void TDlgBlock::zoomOut() {
  view_.ZoomOut();
  viewChanged();
}

void TDlgBlock::restartView() {
  view_.Restart();
  viewChanged();
}

bool TDlgBlock::zoomWindow(const QRect& rectangle) {
  ensureModel();
  if (!ZoomWindow(view_, rectangle, pictureSize(), s0_, model_.extent)) return false;
  viewChanged();
  return true;
}

TDlgDeformedShape* TDlgBlock::deformedShapeDialog() const { return dialog_.data(); }

TDlgDeformedShape* TDlgBlock::showDeformedShape() {
  if (!dialog_) dialog_ = new TDlgDeformedShape(this);
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
  return dialog_;
}

// Moves count only with the left button down (alone or with Shift or Ctrl).
void TDlgBlock::mousePress(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  ensureModel();
  dragging_ = true;
  dragMoved_ = false;
  drag_.press = e->position().toPoint();
  drag_.atPress = view_;
  drag_.modelView = ModelView(view_, s0_, model_.extent);
  rubberBand_ = QRect();
}

void TDlgBlock::mouseMove(QMouseEvent* e) {
  if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
  const QPoint now = e->position().toPoint();
  if (view_.tool == MouseTool::ZoomWindow) {
    rubberBand_ = QRect(drag_.press, QSize(now.x() - drag_.press.x(), now.y() - drag_.press.y()));
    if (rubberBand_.isNull()) rubberBand_ = QRect(drag_.press, QSize(1, 1));
    // The picture under the rectangle stays as it is.
    if (gl_) gl_->overlayChanged();
    return;
  }
  view_ = Dragged(drag_, now, e->modifiers() & Qt::ShiftModifier, pictureSize(), s0_);
  // From the first move the frames are drawn coarser (until the release).
  dragMoved_ = true;
  viewChanged();
}

void TDlgBlock::cancelDrag() {
  if (!dragging_) return;
  dragging_ = false;
  dragMoved_ = false;
  rubberBand_ = QRect();
  if (gl_) gl_->overlayChanged();
}

void TDlgBlock::mouseRelease(QMouseEvent* e) {
  if (!dragging_ || e->button() != Qt::LeftButton) return;
  // Also when the tool changed during the drag: the rectangle must not stay on the picture.
  // The full picture comes back where the drag drew coarser frames (the picture area sees
  // the size differ); otherwise the one on the screen stands.
  cancelDrag();
  if (view_.tool == MouseTool::ZoomWindow) {
    const QPoint now = e->position().toPoint();
    zoomWindow(QRect(drag_.press, QSize(now.x() - drag_.press.x(), now.y() - drag_.press.y())));
  }
}
