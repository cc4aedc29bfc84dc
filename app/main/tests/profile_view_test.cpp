// The Side View from the main window: View Wall Geometry and the View Soil Profile button
// open one window once a run has written the plot file, and the window follows the project
// through New and Open.
#include <QtTest>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/main/main_form.h"
#include "app/model/program_data.h"
#include "app/results/side_view.h"
#include "test_support.h"

namespace {

QAction* action(TMainForm& f, const char* name) {
  auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
  if (!a) qFatal("no action %s", name);
  return a;
}

QList<TDlgSideView*> sideViews(TMainForm& f) {
  QList<TDlgSideView*> views;
  for (QMdiSubWindow* w : f.mdiArea()->subWindowList())
    if (auto* v = qobject_cast<TDlgSideView*>(w->widget())) views << v;
  return views;
}

}  // namespace

class ProfileViewTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOnceThePlotFileExists() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-sand-water.tn5d"));
    TMainForm f;
    f.openFile(path);
    QAction* menu = action(f, "ViewGeometry");
    QAction* button = action(f, "SpeedSoilProfile");
    QVERIFY(!menu->isEnabled());
    QVERIFY(!button->isEnabled());

    action(f, "CompRun")->trigger();
    QVERIFY(QFileInfo::exists(env.scratch() + "/cantilever-sand-water.tn5p"));
    QVERIFY(menu->isEnabled());
    QVERIFY(button->isEnabled());
    QCOMPARE(menu->text(), QStringLiteral("&View Wall Geometry"));
    QCOMPARE(button->toolTip(), QStringLiteral("View Soil Profile"));

    // Both commands show the same single window.
    menu->trigger();
    button->trigger();
    menu->trigger();
    QCOMPARE(sideViews(f).size(), 1);
    TDlgSideView* view = sideViews(f).first();
    QCOMPARE(f.mdiArea()->activeSubWindow()->widget(), view);
    QCOMPARE(view->windowTitle(), QStringLiteral("Side View"));
    // 48 increments of 0.25 m: the box reaches 1.1 x 12 m x 1.05 down.
    QVERIFY(std::abs(view->model().WorldBox().ymax - 13.86) < 1e-9);
    QVERIFY(!view->drawing().Items(ProfilePart::LayerBoundary).empty());

    // Open replaces the project: its children close, and the view opens on the new one.
    const QString other = env.copyIn(exampleFile("weak-rock-socket.tn5d"));
    f.openFile(other);
    QTRY_COMPARE(sideViews(f).size(), 0);
    QVERIFY(!menu->isEnabled());  // not run yet
    action(f, "CompRun")->trigger();
    menu->trigger();
    QCOMPARE(sideViews(f).size(), 1);
    QVERIFY(std::abs(sideViews(f).first()->model().WorldBox().ymax - 1.1 * 44 * 0.25 * 1.05) < 1e-9);

    // New: the view is gone and the command off again.
    f.newProject();
    QTRY_COMPARE(sideViews(f).size(), 0);
    QVERIFY(!menu->isEnabled());
  }
};

QTEST_MAIN(ProfileViewTest)
#include "profile_view_test.moc"
