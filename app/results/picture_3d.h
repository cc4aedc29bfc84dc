// The 3D view drawn to a picture without a window: an offscreen OpenGL surface and frame
// buffer, the same model and drawing code as the 3-D View, the labels painted over the
// result. For reports, scripted checks and the command-line tool.
#pragma once

#include <QImage>
#include <QMatrix4x4>
#include <memory>
#include <QSize>
#include <QString>
#include <QVector3D>

#include "app/results/block_model.h"
#include "app/results/view_state.h"

class TGraphPlot;
namespace tarnel::model {
class TProgramData;
}

namespace tarnel::view3d {

struct Picture3DOptions {
  QSize pixels{1600, 1000};
  QVector3D angles;  // view rotations about X, Y, Z in degrees
  double zoom = 1;
  DisplaySwitches switches;
  DeformedSettings deformed;
};

// An offscreen OpenGL context with a frame buffer, drawing a model through BlockRenderer:
// what the picture functions and the 3-D View window use, and what the benchmark times
// frame by frame.
class OffscreenRenderer {
 public:
  // `samples`: multisampling of the frame buffer (pictures use 4 for smooth lines; a
  // software renderer fills a frame about three times faster without).
  explicit OffscreenRenderer(QSize pixels, int samples = 4);
  ~OffscreenRenderer();
  OffscreenRenderer(const OffscreenRenderer&) = delete;
  OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

  // Empty when ready; else why not (NoOpenGLMessage() when there is no context).
  const QString& error() const { return error_; }
  // The model the next frames draw (compiled into the display list at the first).
  void setModel(const BlockModel& model);
  // Draws one frame and waits for it; returns the clip matrix for the labels.
  QMatrix4x4 frame(const ViewState& view, double s0);
  // The view as a `window` of that many pixels would show it, drawn to fill the whole frame
  // buffer (smaller than the window for a coarser, quicker frame); the arrow glyphs get the
  // detail of `devicePixels` device pixels per window pixel. Returns the window's clip matrix.
  QMatrix4x4 frame(const ViewState& view, double s0, QSize window, double devicePixels);
  // Frame buffer size; a new size makes a new buffer (false, with error set, when it cannot).
  QSize size() const;
  bool resize(QSize pixels);
  // The last frame, top row first and opaque (read straight from a buffer made without
  // multisampling, the quick way the window needs).
  QImage frameImage();
  // How often the model has been compiled into the display list.
  int compilations() const;
  // The longest side a frame buffer may have here (0 without OpenGL).
  int maxSide();
  // The frame buffer's picture with the labels painted over it.
  QImage picture(const QMatrix4x4& clip, const ViewState& view, double s0);

 private:
  bool current();  // the context made current; false (error set) when it cannot be
  void makeOpaque();
  struct Impl;
  std::unique_ptr<Impl> d_;
  QString error_;
};

// The picture, or a null image with `error` set when no OpenGL context can be made.
QImage Render3DPicture(const tarnel::model::TProgramData& project, const TGraphPlot* deflection,
                       const Picture3DOptions& options, QString* error = nullptr);

// Renders and writes the picture (format from the file's extension); false with `error`
// set when OpenGL is missing or the file cannot be written.
bool Write3DPicture(const tarnel::model::TProgramData& project, const TGraphPlot* deflection,
                    const Picture3DOptions& options, const QString& path, QString* error = nullptr);

// The message for a display without OpenGL.
QString NoOpenGLMessage();

}  // namespace tarnel::view3d
