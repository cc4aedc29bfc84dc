// Drawing the 3D model with OpenGL 1.x (through Qt's function wrappers): the model compiled
// into a display list, replayed at each paint under the view's projection and scene
// transform, the axes drawn last with blending off, and the text (axis letters, labels)
// painted with QPainter over the GL picture. The 3-D View window and the command-line
// picture both draw through this class.
#pragma once

#include <QMatrix4x4>
#include <QSize>

#include "app/results/block_model.h"
#include "app/results/view_state.h"

class QOpenGLFunctions_1_1;
class QOpenGLContext;
class QPainter;

namespace tarnel::view3d {

class BlockRenderer {
 public:
  // The GL 1.1 functions of a current context, or null when the context has none (a core
  // profile or no OpenGL at all).
  static QOpenGLFunctions_1_1* Functions(QOpenGLContext* context);

  // The model changed: the next Paint compiles it into the display list (made on first
  // use), with its arrow glyphs as detailed as that paint's scale needs.
  void ModelChanged() { stale_ = true; }
  // Clears to white and draws the compiled model and the axes; returns the matrix that maps
  // model points to clip space (for the labels). `devicePixels` is the number of device
  // pixels per window pixel. Call with the context current; `gl` stays in use until
  // Release. The list is compiled again when the zoom makes the glyphs need other detail
  // (rotating and panning never do).
  QMatrix4x4 Paint(QOpenGLFunctions_1_1* gl, const BlockModel& model, const ViewState& view, QSize window,
                   double s0, double devicePixels = 1);
  // The scale (device pixels per model unit) the glyphs are compiled for when drawn at
  // `pixelsPerUnit`: the next power of two, so zooming compiles again only at each doubling
  // or halving.
  static double GlyphDetailScale(double pixelsPerUnit);
  // How often the model has been compiled into the list.
  int Compilations() const { return compilations_; }
  // Frees the display list (context current).
  void Release(QOpenGLFunctions_1_1* gl);

  // Axis letters and model labels at their projected places.
  static void PaintLabels(QPainter& painter, const BlockModel& model, const QMatrix4x4& clip, QSize window,
                          double axisLength);

 private:
  void Compile(QOpenGLFunctions_1_1* gl, const BlockModel& model);

  unsigned list_ = 0;
  bool stale_ = true;
  double glyphScale_ = 0;  // what the list's glyphs are compiled for (0: full detail)
  int compilations_ = 0;
};

// Length of the axes in model units: 80 pixels whatever the zoom.
double AxisLength(double s0, double zoom);

}  // namespace tarnel::view3d
