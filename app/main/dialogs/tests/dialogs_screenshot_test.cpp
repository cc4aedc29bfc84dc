// Pictures of every input dialog as the program shows them (sub-windows of the main window),
// saved as PNG files beside the test program for review, with a check that no label, check
// box or button is narrower than its text or sticks out of its dialog.
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/tests/test_support.h"
#include "app/main/main_form.h"
#include "app/model/program_data.h"

class DialogsScreenshotTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestEnvironment> env;  // private settings store and scripted prompts

  void check(QWidget* dialog, const QString& file) {
    QVERIFY(dialog);
    QWidget* frame = qobject_cast<QMdiSubWindow*>(dialog->parentWidget());
    if (!frame) frame = dialog;
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const QString dir = QCoreApplication::applicationDirPath() + "/dialog-screenshots";
    QDir().mkpath(dir);
    QVERIFY(frame->grab().save(dir + "/" + file + ".png"));
    const QRect inside = dialog->rect();
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
      if (!text) continue;
      if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap()) continue;
      const QRect r(w->mapTo(dialog, QPoint(0, 0)), w->size());
      QVERIFY2(inside.contains(r), qPrintable(file + ": outside: " + w->property("text").toString()));
      QVERIFY2(w->width() >= w->sizeHint().width() - 1,
               qPrintable(file + ": clipped: " + w->property("text").toString()));
    }
  }

 private slots:
  void initTestCase() {
    env = std::make_unique<TestEnvironment>();
    QDir::setCurrent(env->scratch());
  }
  void cleanupTestCase() { env.reset(); }

  void everyDialog_data() {
    QTest::addColumn<int>("units");
    QTest::newRow("english") << 1;
    QTest::newRow("si") << 2;
  }
  void everyDialog() {
    QFETCH(int, units);
    TMainForm w;
    w.resize(1280, 900);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.project()->SetUnits(units);
    w.project()->ApplyConcLoads = true;
    DialogHub* hub = w.dialogHub();
    const QString suffix = units == 1 ? "-english" : "-si";
    struct Entry {
      const char* caption;
      void (DialogHub::*show)();
      const char* file;
    };
    const Entry entries[] = {
        {"Project Title", &DialogHub::showProjectTitle, "project-title"},
        {"Wall Properties", &DialogHub::showWallProperties, "wall-properties"},
        {"Wall Configuration", &DialogHub::showWallConfiguration, "wall-configuration"},
        {"Additional Surcharge", &DialogHub::showAdditionalSurcharge, "additional-surcharge"},
        {"Concentrated Loads", &DialogHub::showConcentratedLoads, "concentrated-loads"},
        {"Lateral & Rotational Springs", &DialogHub::showSprings, "springs"},
        {"Tieback (Ground Anchor)", &DialogHub::showTieback, "tieback"},
        {"Control Options", &DialogHub::showControlOptions, "control-options"},
        {"Staged Construction Options", &DialogHub::showStagesNonModal, "stages"},
    };
    for (const Entry& e : entries) {
      (hub->*e.show)();
      check(hub->dialog(e.caption), e.file + suffix);
    }
    hub->showAbout();
    QCoreApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "AboutBox" && top->isVisible()) {
        check(top, "about" + suffix);
        top->close();
      }
    hub->closeAll();
    w.project()->ClearModified();
  }
};

QTEST_MAIN(DialogsScreenshotTest)
#include "dialogs_screenshot_test.moc"
