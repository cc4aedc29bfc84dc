// The 3D view drawn to a picture without a window: an offscreen OpenGL surface and frame
// buffer, the same model and drawing code as the 3-D View, the labels painted over the
// result. For reports, scripted checks and the command-line tool.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector3D>

#include "app/results/block_model.h"

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
