// TDlgSideView "Side View": the wall and soil profile of the project as a child window of
// the main window, with a Print button (one landscape page) and Save Picture (.bmp, .png).
// It reads the project through a callback on every use, so it never holds on to a project
// that New or Open replaced; the wall and the world box are rebuilt on each activation.
// While the mouse is over the drawing the caption reads "  Depth: " and the depth.
#pragma once

#include <QWidget>
#include <functional>

#include "app/results/profile_model.h"

class QPrinter;
class QPushButton;

namespace tarnel::model {
class TProgramData;
}

using ProjectAccess = std::function<const tarnel::model::TProgramData*()>;

class TDlgSideView : public QWidget {
  Q_OBJECT
 public:
  explicit TDlgSideView(ProjectAccess project, QWidget* parent = nullptr);

  // Activation: the wall outline and world box from the project, then a repaint.
  void refresh();

  const ProfileModel& model() const { return model_; }
  QWidget* canvas() const { return canvas_; }
  // The drawing of the canvas as it is painted now.
  ProfileDrawing drawing() const;

  // Print (Button1) on a printer already set up; false when it could not be printed.
  bool printTo(QPrinter& printer);
  // Saves the canvas as a picture (.bmp or .png by the extension); false with a message.
  bool savePictureTo(const QString& path, QString* error);

 public slots:
  void Button1Click();     // Print
  void SavePictureClick();

 private:
  friend class ProfileCanvas;
  void showDepthAt(const QPointF& pixel);

  ProjectAccess project_;
  ProfileModel model_;
  QWidget* canvas_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* save_ = nullptr;
};
