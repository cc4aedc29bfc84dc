// The 3-D View's camera: rotation angles, zoom, pan and the mouse tool, with the projection
// and scene transform they make and what the mouse tools, Zoom In, Zoom Out and Restart
// View do to them. Plain values: the tests drive them without a window or a GL context.
#pragma once

#include <QMatrix4x4>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector3D>

namespace tarnel::view3d {

struct ModelExtent;

enum class MouseTool { Pan = 0, ZoomWindow, Zoom, Rotate };

inline constexpr double kZoomInFactor = 1.4142;
inline constexpr double kZoomOutFactor = 0.70711356243812756;  // 1 / 1.4142

struct ViewState {
  QVector3D angles;  // degrees about X, Y and Z, applied in that order
  double zoom = 1;
  QVector3D pan;     // model units
  MouseTool tool = MouseTool::Rotate;

  void ZoomIn() { zoom *= kZoomInFactor; }
  void ZoomOut() { zoom *= kZoomOutFactor; }
  // Angles 0, zoom 1, pan 0 (the tool stays).
  void Restart();
};

// Orthographic projection over a window in pixels (origin at its centre), deep enough for a
// model of the given radius in pixels.
QMatrix4x4 Projection(QSize window, double depthPixels);

// Scene transform: -90 degrees about X (Z up the screen), the view rotations about X, Y, Z,
// the scale s0 x zoom, the translation centring the depth extent, the pan.
QMatrix4x4 ModelView(const ViewState& view, double s0, const ModelExtent& extent);

// A left-button drag in progress: where it started and the view at that moment.
struct Drag {
  QPoint press;
  ViewState atPress;
  QMatrix4x4 modelView;  // at the press
};

// The view while the mouse is at `now` (window pixels, y down); `shift` keeps only the
// larger of the two drag components. Zoom window is not handled here (see ZoomWindow).
ViewState Dragged(const Drag& drag, QPoint now, bool shift, QSize window, double s0);

// While a drag turns, pans or zooms the view its frames are drawn with at most this many
// pixels and stretched over the window; the release draws the full picture again. A
// software renderer fills a large window too slowly for the picture to follow the mouse.
inline constexpr double kDragFramePixels = 400000;  // 800 x 500
// The frame size (device pixels) a drag draws for a window of `devicePixels`: the window's
// own size where it is no larger than kDragFramePixels, else the same shape scaled down.
QSize DragFrameSize(QSize devicePixels);

// Release of a zoom window: its centre goes to the window centre and the zoom grows by
// min(window height / rectangle height, window width / rectangle width). A rectangle
// without width or height changes nothing and returns false.
bool ZoomWindow(ViewState& view, const QRect& rectangle, QSize window, double s0, const ModelExtent& extent);

}  // namespace tarnel::view3d
