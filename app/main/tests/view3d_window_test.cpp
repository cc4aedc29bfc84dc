// The 3-D View in the main window: "3D View" and its tool button are always on, opening the
// view shows the Show 3DView menu and the 3D tool buttons, closing it hides them again, and
// New (which replaces the project) closes the view.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QtTest>

#include "app/main/main_form.h"
#include "app/model/program_data.h"
#include "app/results/dlg_block.h"
#include "test_support.h"

namespace {
QAction* action(TMainForm& f, const char* name) { return f.findChild<QAction*>(QString::fromLatin1(name)); }
}  // namespace

class View3DWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void openAndClose();
  void cascadeKeepsTheWindowsWhole();
};

void View3DWindowTest::openAndClose() {
  TestEnvironment env;
  TMainForm f;
  f.show();
  f.openFile(env.copyIn(exampleFile(QStringLiteral("soldier-pile-stiff-clay-tieback.tn5d"))));
  QAction* view3d = action(f, "View3D");
  QAction* speed = action(f, "Speed3D");
  QVERIFY(view3d && speed);
  QVERIFY(view3d->isEnabled());
  QVERIFY(speed->isEnabled());
  QAction* show3d = nullptr;
  for (QAction* a : f.menuBar()->actions())
    if (a->text() == QStringLiteral("Show 3DView")) show3d = a;
  QVERIFY(show3d);
  QVERIFY(!show3d->isVisible());
  QVERIFY(!action(f, "SpeedButton23")->isVisible());

  speed->trigger();
  auto* view = f.findChild<TDlgBlock*>();
  QVERIFY(view);
  QVERIFY(show3d->isVisible());
  QVERIFY(action(f, "SpeedButton23")->isVisible());
  QVERIFY(action(f, "Wall1")->isChecked());
  // No run yet: Deformed Shape stays off.
  QVERIFY(!action(f, "DeformedShape1")->isEnabled());
  QVERIFY(!action(f, "SpeedButton27")->isEnabled());
  // The model is the opened project's: 40 ft of wall.
  QCOMPARE(view->model().extent.wallLength, 40.0);

  f.mdiArea()->closeAllSubWindows();
  QTRY_VERIFY(!f.findChild<TDlgBlock*>());
  QVERIFY(!show3d->isVisible());
  QVERIFY(!action(f, "SpeedButton23")->isVisible());

  // New closes the view with the other child windows.
  view3d->trigger();
  QVERIFY(f.findChild<TDlgBlock*>());
  env.prompts.answers << UserPrompts::Answer::No;
  QVERIFY(f.newProject());
  QTRY_VERIFY(!f.findChild<TDlgBlock*>());
  QVERIFY(!show3d->isVisible());
}

// A chart opened maximized, then the 3-D View and Cascade: each window keeps a size to work
// in, not just its title bar.
void View3DWindowTest::cascadeKeepsTheWindowsWhole() {
  TestEnvironment env;
  TMainForm f;
  f.resize(1400, 950);
  f.show();
  f.openFile(env.copyIn(exampleFile(QStringLiteral("cantilever-user-load.tn5d"))));
  action(f, "CompRun")->trigger();
  action(f, "CompDef")->trigger();
  QCOMPARE(f.mdiArea()->subWindowList().size(), 1);
  action(f, "Speed3D")->trigger();
  QVERIFY(f.findChild<TDlgBlock*>());
  action(f, "WindowCascade")->trigger();
  const QList<QMdiSubWindow*> windows = f.mdiArea()->subWindowList();
  QCOMPARE(windows.size(), 2);
  for (QMdiSubWindow* w : windows) {
    QVERIFY2(!w->isMaximized() && w->width() >= 600 && w->height() >= 450,
             qPrintable(w->windowTitle() + QStringLiteral(": %1 x %2").arg(w->width()).arg(w->height())));
  }
}

QTEST_MAIN(View3DWindowTest)
#include "view3d_window_test.moc"
