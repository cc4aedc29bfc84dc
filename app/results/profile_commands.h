// What the main window needs of the profile view: View Wall Geometry and the View Soil
// Profile button open one Side View (created on first use, brought to the front after),
// which is refreshed from the project whenever it becomes the active child window.
//
//   profile_ = new ProfileCommands(mdi_, [this] { return project_.get(); }, this);
//   connect(viewGeometry_, &QAction::triggered, profile_, &ProfileCommands::show);
#pragma once

#include <QObject>
#include <QPointer>

#include "app/results/side_view.h"

class QMdiArea;
class QMdiSubWindow;

class ProfileCommands : public QObject {
  Q_OBJECT
 public:
  ProfileCommands(QMdiArea* mdi, ProjectAccess project, QObject* parent = nullptr);

  // The open view, or nullptr once it was closed.
  TDlgSideView* view() const;

 public slots:
  void show();

 private:
  QMdiArea* mdi_;
  ProjectAccess project_;
  QPointer<QMdiSubWindow> window_;
};
