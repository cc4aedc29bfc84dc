#include "app/runner/engine_runner.h"
#include "app/runner/run_summary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using tarnel::runner::EngineRunner;
using tarnel::runner::RunResult;
using tarnel::runner::summarizeRun;

namespace {

// A 120 in cantilever fixed at its tip with 1000 lb at the top: the top deflects
// P L^3 / (3 EI) = 0.576 in; the moment P x grows to 108000 lb-in one increment above
// the tip (the tip station itself carries half the stiffness and shows half its moment).
const char* const kCantilever =
    "Runner cantilever\r\n1 1\t1\t0\t0\t0 0 1 0 0\r\n10 12\t100\t1E-5\t0\t12\r\n3\t10\t0\t0\r\n"
    "0\t10\t1\t1E9\r\n1\r\n1\t0\t0\t1000\t0\t0\r\n0\r\n0\r\n";

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

class EngineRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void outputsGoBesideTheDataFile() {
    const RunResult r = EngineRunner::pathsFor("/data/walls/north.v2.tn5d");
    QCOMPARE(r.dataPath, QString("/data/walls/north.v2.tn5d"));
    QCOMPARE(r.reportPath, QString("/data/walls/north.v2.tn5o"));
    QCOMPARE(r.plotPath, QString("/data/walls/north.v2.tn5p"));
    QCOMPARE(r.notesPath, QString("/data/walls/north.v2.tn5r"));
  }

  void runsADataFileAndCleansUp() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString data = dir.filePath("cantilever.tn5d");
    write(data, kCantilever);
    const QString before = QDir::currentPath();
    QTemporaryDir workParent;
    EngineRunner runner(TARNEL_ENGINE_DIR);
    runner.setWorkParent(workParent.path());

    const RunResult r = runner.run(data);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.engineResult, 0);
    QCOMPARE(QDir::currentPath(), before);
    QVERIFY(QFile::exists(dir.filePath("cantilever.tn5o")));
    QVERIFY(QFile::exists(dir.filePath("cantilever.tn5p")));
    QVERIFY(QFile::exists(dir.filePath("cantilever.tn5r")));
    QVERIFY(!QFile::exists(dir.filePath("names.dat")));
    QVERIFY(!QFile::exists(QDir(before).filePath("names.dat")) || before == dir.path());
    QCOMPARE(entries(workParent.path()), QStringList());  // the private working folder is gone

    const auto s = summarizeRun(r.reportPath, r.plotPath);
    QVERIFY(s.finished);
    QCOMPARE(s.problems, 1);
    QCOMPARE(s.units, 1);
    QVERIFY(s.iterations >= 1);
    QVERIFY(std::abs(s.maxDeflection - 1000.0 * 120 * 120 * 120 / 3e9) < 0.01 * 0.576);
    QVERIFY(std::abs(s.maxMoment - 108000) < 0.001 * 108000);
    QVERIFY(s.oneLine().contains("maximum deflection"));
  }

  // Generated pressures and p-y curves leave BMWALL.001, SOILDATA and debug.dat in the
  // working folder; they go with it.
  void scratchFilesGoWithTheWorkingFolder() {
    QTemporaryDir dir, workParent;
    const QString data = dir.filePath("generated.tn5d");
    QVERIFY(QFile::copy(TARNEL_SOURCE_DIR "/examples/cantilever-sand-water.tn5d", data));
    EngineRunner runner(TARNEL_ENGINE_DIR);
    runner.setWorkParent(workParent.path());
    const RunResult r = runner.run(data);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(entries(workParent.path()), QStringList());
    QCOMPARE(entries(dir.path()), QStringList({"generated.tn5d", "generated.tn5o", "generated.tn5p", "generated.tn5r"}));
  }

  void missingDataFile() {
    QTemporaryDir dir;
    const RunResult r = EngineRunner(TARNEL_ENGINE_DIR).run(dir.filePath("absent.tn5d"));
    QVERIFY(!r.ok);
    QCOMPARE(r.engineResult, -1);
    QVERIFY2(r.error.contains("does not exist"), qPrintable(r.error));
    QVERIFY(!QFile::exists(dir.filePath("absent.tn5o")));
  }

  void missingLibrary() {
    QTemporaryDir dir, empty;
    const QString data = dir.filePath("cantilever.tn5d");
    write(data, kCantilever);
    QTemporaryDir workParent;
    EngineRunner runner(empty.path());
    runner.setWorkParent(workParent.path());
    const RunResult r = runner.run(data);
    QVERIFY(!r.ok);
    QCOMPARE(r.engineResult, -1);
    QVERIFY2(r.error.contains("Tarnel2015_DLL") && r.error.contains("could not be loaded"), qPrintable(r.error));
    QVERIFY(!QFile::exists(dir.filePath("cantilever.tn5o")));
    QCOMPARE(entries(workParent.path()), QStringList());
  }

  void engineThatRefusesTheVersion() {
    QTemporaryDir dir, workParent;
    const QString data = dir.filePath("cantilever.tn5d");
    write(data, kCantilever);
    EngineRunner runner(REFUSING_ENGINE_DIR);
    runner.setWorkParent(workParent.path());
    const RunResult r = runner.run(data);
    QVERIFY(!r.ok);
    QCOMPARE(r.engineResult, 1);
    QVERIFY2(r.error.contains("interface version 22"), qPrintable(r.error));
    QCOMPARE(entries(workParent.path()), QStringList());
  }

  void engineWithoutEntryPoint() {
    QTemporaryDir dir, workParent;
    const QString data = dir.filePath("cantilever.tn5d");
    write(data, kCantilever);
    EngineRunner runner(ENTRYLESS_ENGINE_DIR);
    runner.setWorkParent(workParent.path());
    const RunResult r = runner.run(data);
    QVERIFY(!r.ok);
    QCOMPARE(r.engineResult, -1);
    QVERIFY2(r.error.contains("_ITARNEL"), qPrintable(r.error));
    QCOMPARE(entries(workParent.path()), QStringList());
  }

  void bundledExampleRuns() {
    QTemporaryDir dir;
    const QString data = dir.filePath("cantilever-user-load.tn5d");
    QVERIFY(QFile::copy(TARNEL_SOURCE_DIR "/examples/cantilever-user-load.tn5d", data));
    const RunResult r = EngineRunner(TARNEL_ENGINE_DIR).run(data);
    QVERIFY2(r.ok, qPrintable(r.error));
    const auto s = summarizeRun(r.reportPath, r.plotPath);
    QVERIFY2(s.finished && s.errorLine.isEmpty(), qPrintable(s.oneLine()));
    QVERIFY(s.hasResults);
    QVERIFY2(r.complete(), qPrintable(r.incomplete));
  }

  // The engine returns 0 whatever happened to its outputs; the runner looks at them.
  void reportThatCannotBeCreated() {
    QTemporaryDir dir;
    const QString data = dir.filePath("wall.tn5d");
    write(data, kCantilever);
    QVERIFY(QDir(dir.path()).mkdir("wall.tn5o"));  // a folder where the report belongs
    const RunResult r = EngineRunner(TARNEL_ENGINE_DIR).run(data);
    QVERIFY(r.ok);
    QVERIFY(!r.complete());
    QVERIFY2(r.incomplete.contains(QDir::toNativeSeparators(dir.filePath("wall.tn5o"))), qPrintable(r.incomplete));
    QVERIFY2(r.incomplete.contains("could not be created"), qPrintable(r.incomplete));
  }

  void plotFileOnAFullDisk() {
    if (!QFileInfo::exists("/dev/full")) QSKIP("no full device on this system");
    QTemporaryDir dir;
    const QString data = dir.filePath("wall.tn5d");
    write(data, kCantilever);
    QVERIFY(QFile::link("/dev/full", dir.filePath("wall.tn5p")));
    const RunResult r = EngineRunner(TARNEL_ENGINE_DIR).run(data);
    QVERIFY(!r.complete());
    QVERIFY2(r.incomplete.contains("wall.tn5p") && r.incomplete.contains("COULD NOT BE WRITTEN COMPLETELY"),
             qPrintable(r.incomplete));
  }

  // A generator that stops ends the run without END OF ANALYSIS: its message is named.
  void analysisThatStopsBeforeItsEnd() {
    QTemporaryDir dir;
    const QString data = dir.filePath("sand.tn5d");
    QFile example(TARNEL_SOURCE_DIR "/examples/cantilever-sand-water.tn5d");
    QVERIFY(example.open(QIODevice::ReadOnly));
    QByteArray text = example.readAll();
    text.replace("4.5\t1\t1\t2\t4.5", "4.5\t1\t0\t2\t4.5");  // no width for the p-y curves
    write(data, text);
    const RunResult r = EngineRunner(TARNEL_ENGINE_DIR).run(data);
    QVERIFY(r.ok && !r.complete());
    QVERIFY2(r.incomplete.contains("stopped before its end") && r.incomplete.contains("sand.tn5o") &&
                 r.incomplete.contains("WP, IS 0"),
             qPrintable(r.incomplete));
  }

  // Many runs through one runner keep the library loaded: every run still starts the engine
  // afresh. Different kinds of analysis in a row, then the first one again, give what the
  // first run gave; and every working folder is gone.
  void keptLibraryStartsEveryRunAfresh() {
    QTemporaryDir dir, workParent;
    EngineRunner runner(TARNEL_ENGINE_DIR);
    runner.setWorkParent(workParent.path());
    runner.setKeepLibraryLoaded(true);
    const QStringList examples = {"cantilever-sand-water", "short-long-term", "anchored-wall-tieback-ei",
                                  "cantilever-sand-water"};
    QList<QByteArray> plots, notes;
    for (int i = 0; i < examples.size(); ++i) {
      const QString data = dir.filePath(QString("run%1.tn5d").arg(i));
      QVERIFY(QFile::copy(TARNEL_SOURCE_DIR "/examples/" + examples[i] + ".tn5d", data));
      const RunResult r = runner.run(data);
      QVERIFY2(r.complete(), qPrintable(r.error + r.incomplete));
      QFile plot(r.plotPath), note(r.notesPath);
      QVERIFY(plot.open(QIODevice::ReadOnly) && note.open(QIODevice::ReadOnly));
      plots << plot.readAll();
      notes << note.readAll();
    }
    QVERIFY(plots[0].size() > 1000);
    QCOMPARE(plots[3], plots[0]);
    QCOMPARE(notes[3], notes[0]);
    QCOMPARE(entries(workParent.path()), QStringList());
  }

  // A runner that keeps the library reports a library it cannot load on every run.
  void keptLibraryThatCannotBeLoaded() {
    QTemporaryDir dir, empty, workParent;
    const QString data = dir.filePath("cantilever.tn5d");
    write(data, kCantilever);
    EngineRunner runner(empty.path());
    runner.setWorkParent(workParent.path());
    runner.setKeepLibraryLoaded(true);
    for (int i = 0; i < 2; ++i) {
      const RunResult r = runner.run(data);
      QVERIFY(!r.ok);
      QVERIFY2(r.error.contains("could not be loaded"), qPrintable(r.error));
    }
    QCOMPARE(entries(workParent.path()), QStringList());
  }

  // What the summary takes from a report: the first error or warning line, the iterations
  // of the last results, and whether the last line ends the analysis; marks anywhere in
  // a line, at the very start of the file or on a last line without an end.
  void reportLinesOfTheSummary_data() {
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QString>("errorLine");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<bool>("finished");
    QTest::newRow("clean") << QByteArray("  RESULTS -- ITERATION  3\r\n x\n     END OF ANALYSIS\n") << QString() << 3
                           << true;
    QTest::newRow("last results count") << QByteArray("RESULTS -- ITERATION 3\nRESULTS -- ITERATION\t12\nEND OF ANALYSIS")
                                        << QString() << 12 << true;
    QTest::newRow("first warning or error") << QByteArray("a\n  ***** WARNING ONE  \n ERROR -- TWO\nEND OF ANALYSIS\n")
                                            << QString("***** WARNING ONE") << -1 << true;
    QTest::newRow("error line") << QByteArray("head\n\n  ERROR -- BAD RECORD 4\r\n") << QString("ERROR -- BAD RECORD 4")
                                << -1 << false;
    QTest::newRow("too much data") << QByteArray("TOO MUCH DATA FOR AVAILABLE STORAGE")
                                   << QString("TOO MUCH DATA FOR AVAILABLE STORAGE") << -1 << false;
    QTest::newRow("end inside a line") << QByteArray("NOT THE END OF ANALYSIS\n") << QString() << -1 << false;
    QTest::newRow("empty") << QByteArray() << QString() << -1 << false;
  }
  void reportLinesOfTheSummary() {
    QFETCH(QByteArray, report);
    QTemporaryDir dir;
    write(dir.filePath("r.tn5o"), report);
    const auto s = summarizeRun(dir.filePath("r.tn5o"), dir.filePath("absent.tn5p"));
    QTEST(s.errorLine, "errorLine");
    QTEST(s.iterations, "iterations");
    QTEST(s.finished, "finished");
    QCOMPARE(s.problems, 0);
  }

  // Counts read from a plot file are checked against the lines that remain.
  void plotFileWithImpossibleCounts() {
    QTemporaryDir dir;
    const QString report = dir.filePath("r.tn5o"), plot = dir.filePath("r.tn5p");
    write(report, "     END OF ANALYSIS\n");
    for (const char* head : {" 1 -5 1", " 1 3 1", " 1 2147483647 1", " 1 99999999999 1"}) {
      write(plot, QByteArray(" 0\n 1 0\n") + head + "\n  0.0000E+00  0.1000E+01  0.0000E+00  0.0000E+00  0.0000E+00\n");
      const auto s = summarizeRun(report, plot);
      QCOMPARE(s.plotError, QString("plot file unreadable at line 3"));
      QVERIFY(s.oneLine().contains("plot file unreadable at line 3"));
    }
    write(plot, " 0\n 1 0\n 1 1 1\n  0.0000E+00  0.1000E+01  0.2000E+01  0.0000E+00  0.0000E+00\n");
    const auto fine = summarizeRun(report, plot);
    QVERIFY(fine.plotError.isEmpty());
    QCOMPARE(fine.maxMoment, 2.0);
  }
};

QTEST_GUILESS_MAIN(EngineRunnerTest)
#include "engine_runner_test.moc"
