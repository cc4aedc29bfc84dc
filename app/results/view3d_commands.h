// The main window's commands of the 3-D View: opening the view, the nine display switches
// and "Deformed Shape" of the "Show 3DView" menu, and the tool-bar buttons of the mouse
// tools (a radio group), Zoom In, Zoom Out, Restart View and Deformed Shape. The menu and
// the buttons are shown only while the view is open. The main window owns one of these and
// calls updateCommands() from its own command refresh.
#pragma once

#include <QObject>
#include <QPointer>
#include <QList>

#include "app/results/dlg_block.h"

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

class View3DCommands : public QObject {
  Q_OBJECT
 public:
  View3DCommands(QMdiArea* mdi, TDlgBlock::ProjectAccess project, TDlgBlock::DeflectionAccess deflection,
                 QObject* parent = nullptr);

  // Fills the "Show 3DView" menu (its menu action is shown while the view is open).
  void addMenuItems(QMenu* menu);
  // Adds the 3D buttons (SpeedButton20..27) to the tool bar.
  void addToolButtons(QToolBar* toolBar);

  bool isOpen() const { return view_ != nullptr; }
  TDlgBlock* view() const { return view_; }
  QAction* switchAction(tarnel::view3d::Switch s) const { return switchActions_.value(static_cast<int>(s)); }
  QAction* deformedMenuAction() const { return deformedMenu_; }
  QAction* deformedButton() const { return deformedButton_; }
  QList<QAction*> toolButtons() const { return buttons_; }

 public slots:
  // Opens the view, or brings it to the front.
  TDlgBlock* open();
  // Check marks, the Deformed Shape enabling and what is shown.
  void updateCommands();
  // The project or the results changed: an open view builds its model again.
  void refresh();

 signals:
  // The view opened or closed: the main window refreshes its commands.
  void openChanged();

 private:
  QMdiArea* mdi_;
  TDlgBlock::ProjectAccess project_;
  TDlgBlock::DeflectionAccess deflection_;
  QPointer<TDlgBlock> view_;
  QPointer<QMenu> menu_;
  QList<QAction*> switchActions_;
  QAction* deformedMenu_ = nullptr;
  QActionGroup* tools_ = nullptr;
  QList<QAction*> toolActions_;  // in MouseTool order
  QList<QAction*> buttons_;      // every 3D tool-bar button
  QAction* deformedButton_ = nullptr;
};
