// TDlgBlock, the "3-D View" window: the project's wall, soil, water, loads and supports as a
// 3D model that the mouse pans, zooms and rotates, and after a run the deflected wall.
//
// The window keeps the view state (camera, display switches, deformed-shape settings) and
// the model built from them; TglWindow, its picture area, draws the model through
// BlockRenderer into an offscreen OpenGL frame buffer and forwards the mouse. The project
// and the deflection chart are reached through callbacks at each rebuild, so a project
// that New or Open replaced is never read.
// Where no OpenGL context can be made the window shows a message instead of the picture;
// the commands keep working on the view state.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/results/block_model.h"
#include "app/results/view_state.h"

class QLabel;
class TDlgDeformedShape;
class TGraphPlot;
class TglWindow;
namespace tarnel::model {
class TProgramData;
}

class TDlgBlock : public QWidget {
  Q_OBJECT
 public:
  using ProjectAccess = std::function<const tarnel::model::TProgramData*()>;
  using DeflectionAccess = std::function<const TGraphPlot*()>;

  TDlgBlock(ProjectAccess project, DeflectionAccess deflection, QWidget* parent = nullptr);
  ~TDlgBlock() override;

  // ---- state
  const tarnel::view3d::ViewState& view() const { return view_; }
  const tarnel::view3d::DisplaySwitches& switches() const { return switches_; }
  const tarnel::view3d::DeformedSettings& deformed() const { return deformed_; }
  const tarnel::view3d::BlockModel& model() const { return model_; }
  double initialScale() const { return s0_; }
  bool hasOpenGL() const { return gl_ != nullptr; }
  // The deflection chart holds a line of more than one point (Deformed Shape enabled).
  bool canShowDeformed() const;

  // ---- commands (each repaints; switch and settings changes rebuild the model)
  void setSwitch(tarnel::view3d::Switch s, bool on);
  void setDeformed(const tarnel::view3d::DeformedSettings& d);
  void setTool(tarnel::view3d::MouseTool tool);
  void zoomIn();
  void zoomOut();
  void restartView();
  // Release of a zoom window (window pixels); false when it has no width or height.
  bool zoomWindow(const QRect& rectangle);
  // Builds the model again from the project and the chart as they are now.
  void rebuild();

  // The deformed-shape dialog, made on first use and brought to the front afterwards.
  TDlgDeformedShape* showDeformedShape();
  TDlgDeformedShape* deformedShapeDialog() const;

  // What the window asks of the MDI area (Cascade sizes the windows by it).
  QSize sizeHint() const override;
  // Size of the picture area (the picture or the message).
  QSize pictureSize() const;
  // How often the picture area has compiled the model into its display list: on a switch or
  // settings change, and on a zoom that makes the arrow glyphs need other detail; never on a
  // turn or a pan (0 without OpenGL).
  int listCompilations() const;
  // Device pixels of the last frame OpenGL drew: the picture area's own, or fewer while a
  // drag turns, pans or zooms (empty before the first frame and without OpenGL).
  QSize lastFrameSize() const;
  // How many frames OpenGL has drawn for the picture area (repaints that keep the picture,
  // such as the zoom window's, draw none).
  int framesDrawn() const;

 signals:
  void toolChanged();
  // The picture area has painted the view (a new frame or the one kept) to the window.
  void frameShown();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  friend class TglWindow;
  void ensureModel();
  void changed();      // model rebuilt: the picture area recompiles and repaints
  void viewChanged();  // only the camera moved: the picture area draws a new frame
  void mousePress(QMouseEvent* e);
  void mouseMove(QMouseEvent* e);
  void mouseRelease(QMouseEvent* e);
  void cancelDrag();

  ProjectAccess project_;
  DeflectionAccess deflection_;
  tarnel::view3d::ViewState view_;
  tarnel::view3d::DisplaySwitches switches_;
  tarnel::view3d::DeformedSettings deformed_;
  tarnel::view3d::BlockModel model_;
  double s0_ = 1;
  bool built_ = false;
  bool dragging_ = false;
  bool dragMoved_ = false;  // a turn, pan or zoom has moved since the press
  tarnel::view3d::Drag drag_;
  QRect rubberBand_;  // zoom window being dragged (empty when none)
  TglWindow* gl_ = nullptr;
  QLabel* message_ = nullptr;
  QPointer<TDlgDeformedShape> dialog_;
};

// True when this display can show a GL window with the 1.x functions the view uses.
bool OpenGLAvailable();
