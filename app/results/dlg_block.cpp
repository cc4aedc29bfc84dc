#include "app/results/dlg_block.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "app/model/program_data.h"
#include "app/results/block_renderer.h"
#include "app/results/deformed_shape_dialog.h"
#include "app/results/picture_3d.h"

using namespace tarnel::view3d;

// The OpenGL surface of the view: compiles the owner's model into a display list when it
// changed and replays it at each paint, text and the zoom window painted over it.
class TglWindow : public QOpenGLWidget {
 public:
  explicit TglWindow(TDlgBlock* owner) : QOpenGLWidget(owner), owner_(owner) {
    setObjectName(QStringLiteral("TglWindow"));
    setMouseTracking(false);
    QSurfaceFormat f = format();
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    // No multisampling: with a software renderer it costs about two thirds of a frame, and
    // rotating has to stay smooth.
    f.setSamples(0);
    setFormat(f);
  }
  ~TglWindow() override { release(); }

  void modelChanged() {
    renderer_.ModelChanged();
    update();
  }
  void viewChanged() { update(); }
  int compilations() const { return renderer_.Compilations(); }
  void overlayChanged() { overlay_->update(); }

 protected:
  void initializeGL() override {
    gl_ = BlockRenderer::Functions(context());
    renderer_.ModelChanged();
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { release(); }, Qt::DirectConnection);
  }
  void paintGL() override {
    if (!gl_) return;
    clip_ = renderer_.Paint(gl_, owner_->model_, owner_->view_, size(), owner_->s0_, devicePixelRatioF());
    overlay_->update();
  }
  void resizeEvent(QResizeEvent* e) override {
    QOpenGLWidget::resizeEvent(e);
    overlay_->resize(size());
  }
  void mousePressEvent(QMouseEvent* e) override { owner_->mousePress(e); }
  void mouseMoveEvent(QMouseEvent* e) override { owner_->mouseMove(e); }
  void mouseReleaseEvent(QMouseEvent* e) override { owner_->mouseRelease(e); }

 private:
  void release() {
    if (!gl_ || !context()) return;
    makeCurrent();
    renderer_.Release(gl_);
    doneCurrent();
    gl_ = nullptr;
  }
  // The text and the zoom window, painted by the raster engine on a see-through child over
  // the GL picture: a QPainter on the GL surface itself lost its output to the next frame's
  // clear under Mesa.
  class Overlay : public QWidget {
   public:
    explicit Overlay(TglWindow* gl) : QWidget(gl), gl_(gl) {
      setAttribute(Qt::WA_TransparentForMouseEvents);
      setAttribute(Qt::WA_NoSystemBackground);
    }

   protected:
    void paintEvent(QPaintEvent*) override {
      TDlgBlock* o = gl_->owner_;
      QPainter painter(this);
      BlockRenderer::PaintLabels(painter, o->model_, gl_->clip_, size(), AxisLength(o->s0_, o->view_.zoom));
      if (!o->rubberBand_.isNull()) {
        painter.setPen(QPen(QColor(0, 160, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(o->rubberBand_.normalized());
      }
    }

   private:
    TglWindow* gl_;
  };

  TDlgBlock* owner_;
  Overlay* overlay_ = new Overlay(this);
  QMatrix4x4 clip_;
  QOpenGLFunctions_1_1* gl_ = nullptr;
  BlockRenderer renderer_;
};

bool OpenGLAvailable() {
  static const bool available = [] {
    // The window-less platforms may still make a context (through the X display when there
    // is one), but cannot show a GL widget in a window: Qt's offscreen backing store
    // crashes composing it. The picture functions draw offscreen there instead.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
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
  if (OpenGLAvailable()) {
    gl_ = new TglWindow(this);
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

QSize TDlgBlock::pictureSize() const {
  const QWidget* w = gl_ ? static_cast<const QWidget*>(gl_) : message_;
  return w && w->width() > 1 ? w->size() : size();
}

int TDlgBlock::listCompilations() const { return gl_ ? gl_->compilations() : 0; }

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
  viewChanged();
}

void TDlgBlock::mouseRelease(QMouseEvent* e) {
  if (!dragging_ || e->button() != Qt::LeftButton) return;
  dragging_ = false;
  // Also when the tool changed during the drag: the rectangle must not stay on the picture.
  rubberBand_ = QRect();
  if (view_.tool == MouseTool::ZoomWindow) {
    const QPoint now = e->position().toPoint();
    zoomWindow(QRect(drag_.press, QSize(now.x() - drag_.press.x(), now.y() - drag_.press.y())));
  }
  viewChanged();
}
