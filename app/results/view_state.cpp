#include "app/results/view_state.h"

#include <algorithm>
#include <cmath>

#include "app/results/block_model.h"

namespace tarnel::view3d {

namespace {

// A screen-space vector turned into model space through the transposed model-view matrix.
// For a rotation scaled by s the result is s times the model-space vector.
QVector3D ToModel(const QMatrix4x4& mv, QVector3D screen) {
  return QVector3D(mv(0, 0) * screen.x() + mv(1, 0) * screen.y() + mv(2, 0) * screen.z(),
                   mv(0, 1) * screen.x() + mv(1, 1) * screen.y() + mv(2, 1) * screen.z(),
                   mv(0, 2) * screen.x() + mv(1, 2) * screen.y() + mv(2, 2) * screen.z());
}

QPointF Larger(QPointF d) { return std::abs(d.x()) >= std::abs(d.y()) ? QPointF(d.x(), 0) : QPointF(0, d.y()); }

}  // namespace

void ViewState::Restart() {
  angles = QVector3D();
  zoom = 1;
  pan = QVector3D();
}

QMatrix4x4 Projection(QSize window, double depthPixels) {
  QMatrix4x4 m;
  const float w = static_cast<float>(std::max(1, window.width())) / 2;
  const float h = static_cast<float>(std::max(1, window.height())) / 2;
  const float d = static_cast<float>(std::max(1.0, depthPixels));
  m.ortho(-w, w, -h, h, -d, d);
  return m;
}

QSize DragFrameSize(QSize devicePixels) {
  const QSize full = devicePixels.expandedTo(QSize(1, 1));
  const double pixels = double(full.width()) * full.height();
  if (pixels <= kDragFramePixels) return full;
  const double k = std::sqrt(kDragFramePixels / pixels);
  return QSize(std::max(1, int(std::lround(full.width() * k))), std::max(1, int(std::lround(full.height() * k))));
}

QMatrix4x4 ModelView(const ViewState& v, double s0, const ModelExtent& extent) {
  QMatrix4x4 m;
  m.rotate(-90, 1, 0, 0);
  m.rotate(v.angles.x(), 1, 0, 0);
  m.rotate(v.angles.y(), 0, 1, 0);
  m.rotate(v.angles.z(), 0, 0, 1);
  const float s = static_cast<float>(s0 * v.zoom);
  m.scale(s);
  m.translate(0, 0, static_cast<float>(extent.depthExtent / 2));
  m.translate(v.pan);
  return m;
}

ViewState Dragged(const Drag& drag, QPoint now, bool shift, QSize window, double s0) {
  ViewState v = drag.atPress;
  const double w = std::max(1, window.width()), h = std::max(1, window.height());
  const QPoint delta = now - drag.press;
  switch (v.tool) {
    case MouseTool::Pan: {
      QPointF d(delta.x(), -delta.y());  // right and up
      if (shift) d = Larger(d);
      const double s = s0 * v.zoom;
      v.pan += ToModel(drag.modelView, QVector3D(d.x(), d.y(), 0)) / static_cast<float>(s * s);
      break;
    }
    case MouseTool::Zoom:
      v.zoom = drag.atPress.zoom * (1 - delta.y() / h);
      if (v.zoom < 1e-6) v.zoom = 1e-6;
      break;
    case MouseTool::Rotate: {
      // Dragging down tips the top toward the viewer (about the screen's X), dragging right
      // turns the front to the right (about the screen's Y).
      QPointF a(delta.y() * 90 / h, delta.x() * 90 / w);
      if (shift) a = Larger(a);
      const double length = std::hypot(a.x(), a.y());
      if (length == 0) break;
      const QVector3D axis = ToModel(drag.modelView, QVector3D(a.x(), a.y(), 0)).normalized();
      v.angles += axis * static_cast<float>(length);
      break;
    }
    case MouseTool::ZoomWindow:
      break;
  }
  return v;
}

bool ZoomWindow(ViewState& v, const QRect& r, QSize window, double s0, const ModelExtent& extent) {
  const QRectF n = QRectF(r).normalized();
  if (n.width() <= 0 || n.height() <= 0) return false;
  const QPointF centre = n.center();
  const QPointF offset(centre.x() - window.width() / 2.0, -(centre.y() - window.height() / 2.0));
  const double s = s0 * v.zoom;
  v.pan -= ToModel(ModelView(v, s0, extent), QVector3D(offset.x(), offset.y(), 0)) / static_cast<float>(s * s);
  v.zoom *= std::min(double(window.height()) / n.height(), double(window.width()) / n.width());
  return true;
}

}  // namespace tarnel::view3d
