// The result charts in the main window: what a run and an opened file make available in
// the Graphics menu and on the tool bar, the windows the commands open, and what a damaged
// or vanished plot file does.
#include <QtTest>

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/main/main_form.h"
#include "app/results/plot_form.h"
#include "app/results/result_charts.h"
#include "test_support.h"

namespace {

QAction* action(TMainForm& f, const char* name) {
  auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
  if (!a) qFatal("no action %s", name);
  return a;
}

const QStringList kChartCommands = {"Comppy", "CompDef", "CompMom", "CompShear", "CompSoil",
                                    "DefMomShear", "CompLD", "CompCombine", "ExportExcel"};
const QStringList kChartButtons = {"SpeedButton13", "SpeedButton8", "SpeedButton11", "SpeedButton10",
                                   "SpeedButton12", "SpeedButton19", "SpeedButton9"};

QList<TPlotForm*> chartWindows(TMainForm& f) {
  QList<TPlotForm*> out;
  for (QMdiSubWindow* w : f.mdiArea()->subWindowList())
    if (auto* form = qobject_cast<TPlotForm*>(w->widget())) out << form;
  return out;
}

const QString kRunError = QStringLiteral("An error occured in running the main program.");

}  // namespace

class ResultChartsTest : public QObject {
  Q_OBJECT
private slots:
  void runMakesTheChartsAvailable() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-sand-water.tn5d"));
    TMainForm f;
    f.openFile(path);
    for (const QString& name : kChartCommands + kChartButtons)
      QVERIFY2(!action(f, qPrintable(name))->isEnabled(), qPrintable(name));
    action(f, "CompRun")->trigger();
    QVERIFY(f.resultCharts().PlotsLoaded);
    for (const QString& name : kChartCommands + kChartButtons)
      QVERIFY2(action(f, qPrintable(name))->isEnabled(), qPrintable(name));

    // Each command opens its own chart, once.
    action(f, "CompMom")->trigger();
    action(f, "SpeedButton19")->trigger();
    action(f, "CompMom")->trigger();
    const QList<TPlotForm*> windows = chartWindows(f);
    QCOMPARE(windows.size(), 2);
    QCOMPARE(&windows[0]->plot(), &f.resultCharts().pltMom());
    QCOMPARE(&windows[1]->plot(), &f.resultCharts().pltDMS());
    QCOMPARE(windows[0]->windowTitle(), QStringLiteral("PlotForm"));

    // A new run closes the windows; the next command shows the new data.
    action(f, "CompRun")->trigger();
    QVERIFY(chartWindows(f).isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.resultCharts().pltMom().HasWindow);
    action(f, "SpeedButton11")->trigger();
    QCOMPARE(chartWindows(f).size(), 1);
  }

  void openedFileShowsItsLastResultsAndDamageIsSilent() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("short-long-term.tn5d"));
    {
      TMainForm f;
      f.openFile(path);
      action(f, "CompRun")->trigger();
    }
    const QString plot = PlotFileFor(path);
    QVERIFY(QFileInfo::exists(plot));

    TMainForm f;
    env.prompts.messages.clear();
    f.openFile(path);
    QCOMPARE(env.prompts.messages.size(), 1);  // only the data file's own message
    QVERIFY(f.resultCharts().PlotsLoaded);
    QCOMPARE(f.resultCharts().pltDef().DisplayName(1), QStringLiteral("Long-Term"));
    QVERIFY(action(f, "CompDef")->isEnabled());

    // A plot file cut short: opening says nothing and offers no chart ...
    QFile file(plot);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() / 2));
    file.close();
    env.prompts.messages.clear();
    f.openFile(path);
    QCOMPARE(env.prompts.messages.size(), 1);
    QVERIFY(!f.resultCharts().PlotsLoaded);
    for (const QString& name : kChartCommands + kChartButtons)
      QVERIFY2(!action(f, qPrintable(name))->isEnabled(), qPrintable(name));
    // ... while the reading after a run tells the user.
    env.prompts.messages.clear();
    QVERIFY(!f.LoadPlotFile(plot, true));
    QCOMPARE(env.prompts.messages, QStringList{kRunError});
  }

  void plotFileThatVanishesTurnsTheCommandsOff() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-sand-water.tn5d"));
    TMainForm f;
    f.openFile(path);
    action(f, "CompRun")->trigger();
    QVERIFY(action(f, "CompDef")->isEnabled());
    QVERIFY(QFile::remove(PlotFileFor(path)));
    // The Graphics menu checks the file each time it opens.
    QMenu* graphics = nullptr;
    for (QMenu* m : f.findChildren<QMenu*>())
      if (m->title() == QLatin1String("&Graphics")) graphics = m;
    QVERIFY(graphics);
    QMetaObject::invokeMethod(graphics, "aboutToShow");
    for (const QString& name : kChartCommands + kChartButtons)
      QVERIFY2(!action(f, qPrintable(name))->isEnabled(), qPrintable(name));
  }

  void newProjectOffersNoResultsOfTheOldOne() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-sand-water.tn5d"));
    TMainForm f;
    f.openFile(path);
    action(f, "CompRun")->trigger();
    env.prompts.answers << UserPrompts::Answer::No;  // the save question, if asked
    QVERIFY(f.newProject());
    QVERIFY(!f.resultCharts().PlotsLoaded);
    QVERIFY(!action(f, "CompDef")->isEnabled());
  }
};

QTEST_MAIN(ResultChartsTest)
#include "result_charts_test.moc"
