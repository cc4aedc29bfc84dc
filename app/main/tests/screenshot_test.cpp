// Pictures of the program as a user sees it (main window with open table editors), taken
// under a real X server (xvfb-run in test.sh) and written to screenshots/ in the build
// folder, together with checks that nothing a user must read is cut off: every header
// caption line fits its column, every button shows its whole text.
#include <QtTest>

#include <QAbstractButton>
#include <QHeaderView>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>

#include "app/main/main_form.h"
#include "app/main/tables/table_chart_form.h"
#include "app/main/tables/table_form.h"
#include "app/main/tables/table_model.h"
#include "app/model/program_data.h"
#include "test_support.h"

namespace {

QString shotPath(const QString& name) {
  QDir().mkpath(QStringLiteral(TARNEL_SCREENSHOT_DIR));
  return QDir(QStringLiteral(TARNEL_SCREENSHOT_DIR)).filePath(name + ".png");
}

// Shows the main window at the size the pictures are taken at, with a copy of a bundled
// example open.
bool showExample(TMainForm& f, const TestEnvironment& env, const QString& example) {
  f.resize(1400, 900);
  f.show();
  f.openFile(env.copyIn(exampleFile(example)));
  return QTest::qWaitForWindowExposed(&f);
}

// Every caption line of the header fits its column.
void checkHeaderFits(TTableForm* form) {
  QHeaderView* header = form->grid()->horizontalHeader();
  const QFontMetrics fm(header->font());
  for (int c = 0; c < form->model()->columnCount(); ++c) {
    const QString caption = form->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    const QStringList lines = caption.split('\n');
    for (const QString& line : lines)
      QVERIFY2(fm.horizontalAdvance(line) + 8 <= header->sectionSize(c),
               qPrintable(QStringLiteral("%1: \"%2\" is cut off").arg(form->windowTitle(), line)));
    QVERIFY2(header->height() >= lines.size() * fm.height(),
             qPrintable(form->windowTitle() + ": header too low"));
  }
}

void checkButtonsFit(QWidget* w) {
  for (QPushButton* b : w->findChildren<QPushButton*>()) {
    if (!b->isVisible()) continue;
    const QFontMetrics fm(b->font());
    QString text = b->text();
    text.remove('&');
    QVERIFY2(fm.horizontalAdvance(text) <= b->width(), qPrintable(text + " is cut off"));
  }
}

}  // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT
private slots:
  void mainWindowWithTableEditors() {
    TestEnvironment env;
    TMainForm f;
    QVERIFY(showExample(f, env, "anchored-wall-tieback-ei.tn5d"));

    TTableForm* stiffness = f.showTableEditor("PileSect");
    TTableForm* soils = f.showTableEditor("NewSoil");
    QVERIFY(stiffness && soils);
    soils->openSubTable(soils->model()->index(0, 2));
    TTableForm* params = f.tableEditor("NewSoil/2/0");
    QVERIFY(params);
    // Arrange the editors the way a user would.
    stiffness->parentWidget()->move(10, 10);
    soils->parentWidget()->move(860, 10);
    params->parentWidget()->move(10, 400);
    QTest::qWait(200);
    for (TTableForm* form : {stiffness, soils, params}) {
      checkHeaderFits(form);
      checkButtonsFit(form);
    }
    QVERIFY(f.grab().save(shotPath("main-window-editors")));
    QVERIFY(stiffness->window()->grab().save(shotPath("main-window-full")));
    QVERIFY(soils->grab().save(shotPath("soil-layers-editor")));
  }

  void curveEditorWithChart() {
    TestEnvironment env;
    TMainForm f;
    QVERIFY(showExample(f, env, "cantilever-user-load.tn5d"));
    TTableForm* sets = f.showEditor(
        "PYCurves2", [&f] { return f.project() ? &f.project()->PYCurves2() : nullptr; }, true);
    QVERIFY(sets);
    sets->openSubTable(sets->model()->index(1, 1));
    auto* curve = qobject_cast<TTableChartForm*>(f.tableEditor("PYCurves2/1/1"));
    QVERIFY(curve);
    QTest::qWait(300);
    checkHeaderFits(sets);
    checkHeaderFits(curve);
    checkButtonsFit(curve);
    QVERIFY(sets->window()->grab().save(shotPath("curve-sets-editor")));
    QVERIFY(curve->window()->grab().save(shotPath("curve-editor")));
  }

  void menus() {
    TestEnvironment env;
    TMainForm f;
    QVERIFY(showExample(f, env, "short-long-term.tn5d"));
    for (QAction* a : f.menuBar()->actions()) {
      QMenu* m = a->menu();
      if (!m || !a->isVisible()) continue;
      emit m->aboutToShow();
      m->popup(f.mapToGlobal(QPoint(20, 40)));
      QTest::qWait(150);
      QString name = a->text();
      name.remove('&');
      QVERIFY(m->grab().save(shotPath("menu-" + name.toLower())));
      m->hide();
    }
  }

  void dialogsOverTheMainWindow() {
    TestEnvironment env;
    TMainForm f;
    QVERIFY(showExample(f, env, "triangular-surcharges.tn5d"));
    f.findChild<QAction*>("DataWallProperties")->trigger();
    f.findChild<QAction*>("DataWallConfiguration")->trigger();
    f.showTableEditor("SoilStrength");
    f.showTableEditor("DistLoad");
    QTest::qWait(300);
    QVERIFY(f.grab().save(shotPath("main-window-dialogs")));
  }
};

int main(int argc, char** argv) {
  // Without an X server the pictures are taken offscreen.
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ScreenshotTest t;
  return QTest::qExec(&t, argc, argv);
}
#include "screenshot_test.moc"
