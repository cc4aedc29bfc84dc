// The dialogs inside the running main window: storing when another child window becomes
// active or a menu opens, the Options menu updating an open dialog at once, refreshing
// after a unit change, and the stage commands of the Options and Stage menus.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/input_dialogs.h"
#include "app/main/dialogs/stage_dialog.h"
#include "app/main/main_form.h"
#include "app/main/tests/test_support.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"

using namespace tarnel::dialogs;

namespace {

QAction* action(QWidget& w, const char* name) { return w.findChild<QAction*>(name); }

}  // namespace

class DialogsMainWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestEnvironment> env;
  std::unique_ptr<TMainForm> w;
  QString oldCurrent;

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    // Stage files of the unnamed project go beside it, in the current folder.
    oldCurrent = QDir::currentPath();
    QDir::setCurrent(env->scratch());
    w = std::make_unique<TMainForm>();
    w->resize(1200, 850);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  }
  void cleanup() {
    w->project()->ClearModified();
    w->close();  // closes the child windows while the project still exists
    w.reset();
    QDir::setCurrent(oldCurrent);
    env.reset();
  }

  void activatingAnotherChildStoresTheTypedValue() {
    action(*w, "DataWallProperties")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Properties");
    QVERIFY(d && qobject_cast<QMdiSubWindow*>(d->parentWidget()));
    // The dialog's title bar carries the program's icon.
    QCOMPARE(d->parentWidget()->windowIcon().cacheKey(), w->windowIcon().cacheKey());
    TDataEdit* h = field(d, "Free Height of Wall");
    h->setFocus();
    h->selectAll();
    QTest::keyClicks(h, "25");  // typed, not yet confirmed
    action(*w, "DataWallConfiguration")->trigger();
    QCOMPARE(w->project()->FreeHeight, 300.0);
    QVERIFY(w->project()->IsModified());
    QCOMPARE(field(w->dialogHub()->dialog("Wall Configuration"), "&Free Height of Wall, H")->number(), 25.0L);
  }

  void invalidEntryBringsTheDialogBackAndStoresNothing() {
    action(*w, "DataWallProperties")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Properties");
    TDataEdit* tol = field(d, "Deflection Closure Tolerance");
    tol->setFocus();
    tol->selectAll();
    QTest::keyClicks(tol, "1/(");
    action(*w, "DataWallConfiguration")->trigger();
    QTRY_COMPARE(w->mdiArea()->activeSubWindow(), d->parentWidget());
    QVERIFY(!env->prompts.messages.isEmpty());
    QCOMPARE(w->project()->Tolerance, 0.00001);
    QCOMPARE(tol->text(), QString("1/("));
    QVERIFY(!w->dialogHub()->commitDialogs());
    tol->setText("2E-5");
    QVERIFY(w->dialogHub()->commitDialogs());
    QCOMPARE(w->project()->Tolerance, 2E-5);
  }

  void openingAMenuStoresTheActiveDialog() {
    action(*w, "DataWallProperties")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Properties");
    TDataEdit* inc = field(d, "&Increments");
    inc->setFocus();
    inc->selectAll();
    QTest::keyClicks(inc, "48");
    QVERIFY(w->dialogHub()->commitDialogs());  // what every top menu does first
    QCOMPARE(w->project()->Increments, 48);
  }

  void earthPressureMenuUpdatesOpenWallConfiguration() {
    action(*w, "DataWallConfiguration")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Configuration");
    TDataEdit* beta = field(d, "Slope of the backfill");
    QVERIFY(beta->isEnabled());
    action(*w, "EarthUser")->trigger();
    QCOMPARE(w->project()->EarthPressureChoice, 1);
    QVERIFY(!beta->isEnabled());
    QVERIFY(!field(d, "Uniform Distributed Load")->isEnabled());
    action(*w, "EarthTrapezoidal")->trigger();
    QVERIFY(beta->isEnabled());
  }

  void unitMenuRefreshesOpenDialogs() {
    w->project()->FreeHeight = 240;
    action(*w, "DataWallConfiguration")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Configuration");
    QCOMPARE(field(d, "&Free Height of Wall, H")->labelText(), QString("&Free Height of Wall, H (ft)"));
    action(*w, "UnitsSI")->trigger();
    TDataEdit* h = field(d, "&Free Height of Wall, H");
    QCOMPARE(h->labelText(), QString("&Free Height of Wall, H (m)"));
    QVERIFY(std::abs(double(h->number()) - 6.096) < 1e-9);
    QCOMPARE(field(d, "Uniform Distributed Load")->labelText(),
             QString("Uniform Distributed Load at the top of backfill side  (kN/m^2)"));
  }

  void stageCommandsOfTheMenus() {
    action(*w, "OptStaged")->trigger();
    auto* d = static_cast<StageDialog*>(w->dialogHub()->dialog("Staged Construction Options"));
    QVERIFY(d && d->isModal());
    // The arrows form one up-down control with the field: together no taller than it.
    QVERIFY(d->up()->height() + d->down()->height() <= d->count()->sizeHint().height() + 1);
    d->check()->click();
    d->up()->click();  // 2 -> 3
    d->accept();
    QCOMPARE(w->project()->StageCount, 3);
    QCOMPARE(w->statusBar()->findChild<QLabel*>("StatusText")->text(), QString("Construction Stage Number: 1"));
    QVERIFY(QFile::exists(QDir(env->scratch()).filePath("NewWall.st3")));
    QVERIFY(!action(*w, "OptLongTerm")->isEnabled());
    action(*w, "Stage2")->trigger();
    QCOMPARE(w->project()->CurrentStage, 2);
    QCOMPARE(w->statusBar()->findChild<QLabel*>("StatusText")->text(), QString("Construction Stage Number: 2"));
    QVERIFY(action(*w, "CopyPreviousStage")->isEnabled());
  }

  void openDialogShowsTheStageSwitchedTo() {
    // Each stage has its own wall: an open dialog shows the values of the stage on screen,
    // not those of the stage that was left.
    action(*w, "OptStaged")->trigger();
    auto* stages = static_cast<StageDialog*>(w->dialogHub()->dialog("Staged Construction Options"));
    QVERIFY(stages);
    stages->check()->click();
    stages->accept();
    QCOMPARE(w->project()->StageCount, 2);
    const double stage2Length = w->project()->IncrementLength;

    action(*w, "DataWallProperties")->trigger();
    QWidget* d = w->dialogHub()->dialog("Wall Properties");
    QVERIFY(d);
    TDataEdit* length = field(d, "Increment Length");
    QVERIFY(length);
    length->setFocus();
    length->selectAll();
    QTest::keyClicks(length, "7");
    QTest::keyClick(length, Qt::Key_Return);

    action(*w, "Stage2")->trigger();
    QCOMPARE(w->project()->CurrentStage, 2);
    QCOMPARE(w->project()->IncrementLength, stage2Length);
    QCOMPARE(double(length->number()), stage2Length);

    action(*w, "SpeedStage1")->trigger();
    QCOMPARE(w->project()->IncrementLength, 7.0);
    QCOMPARE(double(length->number()), 7.0);

    // Copying stage 1 into stage 2 (the prompts answer Yes) shows the copied values.
    action(*w, "Stage2")->trigger();
    QCOMPARE(double(length->number()), stage2Length);
    action(*w, "CopyPreviousStage")->trigger();
    QCOMPARE(w->project()->IncrementLength, 7.0);
    QCOMPARE(double(length->number()), 7.0);
  }

  void tableButtonFollowsItsOptionWhileTheDialogIsOpen() {
    // Switching tiebacks or surcharges off closes their table; the open dialog no longer
    // offers it, and offers it again once the option is back on.
    const struct {
      const char* option;
      const char* command;
      const char* dialog;
      const char* button;
    } cases[] = {{"OptTieback", "DataTieback", "Tieback (Ground Anchor)", "&Enter Tieback data"},
                 {"OptSurcharge", "DataSurcharge", "Additional Surcharge", "&Edit Surcharge Loads"}};
    for (const auto& c : cases) {
      QAction* option = action(*w, c.option);
      QVERIFY2(option->isEnabled(), c.option);
      if (!option->isChecked()) option->trigger();
      QVERIFY(option->isChecked());
      action(*w, c.command)->trigger();
      QWidget* d = w->dialogHub()->dialog(c.dialog);
      QVERIFY2(d, c.dialog);
      QPushButton* button = nullptr;
      for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text() == QLatin1String(c.button)) button = b;
      QVERIFY2(button, c.button);
      QVERIFY(button->isEnabled());
      option->trigger();
      QVERIFY(!option->isChecked());
      QVERIFY2(!button->isEnabled(), c.button);
      option->trigger();
      QVERIFY2(button->isEnabled(), c.button);
    }
  }
};

QTEST_MAIN(DialogsMainWindowTest)
#include "dialogs_mainwindow_test.moc"
