// tarnel-export run as a user runs it: on plot files the engine made from the bundled
// examples (each workbook read back and compared with the charts the program's reader
// builds from the same file), and on the wrong inputs a script may hand it.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/model/program_data.h"
#include "app/results/export_selection.h"
#include "app/results/result_charts.h"
#include "app/results/tests/workbook_reader.h"
#include "app/runner/engine_runner.h"

namespace {

struct Run {
  int code = -1;
  QString out, err;
};

Run tool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(TARNEL_EXPORT_TOOL), args);
  Run r;
  if (!p.waitForFinished(60000)) return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
  r.err = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

// One section: earth pressure and four wall stations, no p-y curves.
constexpr const char* kNoCurves =
    " 3\n 0 0 0 0\n 1 10 8 2\n 2 20 16 4\n 2 0\n 1 4 2\n"
    " 0 -0.01 0 0 0\n 0.5 -0.008 3 -2 0.1\n 1 -0.005 6 -4 0.2\n 1.5 -0.002 9 -6 0.3\n";

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

class ExportToolTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir;
  QStringList plots;  // the examples' plot files, beside their data files

 private slots:
  void initTestCase() {
    const QDir examples(QStringLiteral(TARNEL_EXAMPLES_DIR));
    const tarnel::runner::EngineRunner runner(QStringLiteral(TARNEL_ENGINE_DIR));
    for (const QString& name : examples.entryList({QStringLiteral("*.tn5d")}, QDir::Files)) {
      const QString data = dir.filePath(name);
      QVERIFY(QFile::copy(examples.filePath(name), data));
      const auto run = runner.run(data);
      QVERIFY2(run.ok, qPrintable(name + ": " + run.error));
      plots << run.plotPath;
    }
    QVERIFY(plots.size() >= 8);
  }

  void everyExampleExportsItsCharts() {
    for (const QString& plot : plots) {
      const QString out = QFileInfo(plot).dir().filePath(QFileInfo(plot).completeBaseName() + ".xlsx");
      const Run r = tool({plot, out});
      QVERIFY2(r.code == 0, qPrintable(plot + ": " + r.err));

      tarnel::model::TProgramData project;
      const QString data = QFileInfo(plot).dir().filePath(QFileInfo(plot).completeBaseName() + ".tn5d");
      QVERIFY(project.CreateFromFile(data.toStdString(), 1).ok);
      ResultCharts charts;
      QVERIFY(charts.LoadPlotFile(plot, project));
      std::vector<ChartId> expected;
      for (ChartId id : ExportableCharts())
        if (ExportChoosable(charts, id, true)) expected.push_back(id);

      WorkbookReader wb(out);
      QVERIFY2(wb.ok(), qPrintable(out));
      QStringList sheets{"Legend"};
      for (std::size_t n = 1; n <= expected.size(); ++n) sheets << DataSheetName(int(n)) << ChartSheetName(int(n));
      QCOMPARE(wb.sheetNames(), sheets);
      for (std::size_t i = 0; i < expected.size(); ++i) {
        const TGraphPlot& chart = charts.Chart(expected[i]);
        const int n = int(i) + 1;
        QCOMPARE(wb.sheet("Legend")->cells.value("C" + QString::number(n + 2)), chart.Caption);
        const SheetContents* page = wb.sheet(DataSheetName(n));
        QCOMPARE(page->cells.value("B2"), chart.XTitle());
        QCOMPARE(page->cells.value("B3"), chart.YTitle());
        QCOMPARE(page->cells.value("A4"), chart.DisplayName(0));
        const int last = chart.PointCount() - 1;
        QCOMPARE(page->cells.value("A" + QString::number(6 + last)).toDouble(),
                 GeneralNumber(chart.Point(0, last).X, 15).toDouble());
        const QByteArray xml = wb.sheet(ChartSheetName(n))->chartXml;
        QCOMPARE(int(xml.count("<c:ser>")), std::min(chart.LineCount(), kMaxSeriesPerChart));
        QVERIFY(xml.contains(QStringLiteral("<c:f>%1!$A$6:$A$%2</c:f>").arg(DataSheetName(n)).arg(6 + last).toUtf8()));
        QCOMPARE(xml.contains("<c:orientation val=\"maxMin\"/>"), chart.XOnTop);
      }
      if (project.LongTerm) QCOMPARE(wb.sheet("Page_2")->cells.value("C4"), QStringLiteral("Long-Term"));
    }
  }

  void chosenChartsInTheGivenOrder() {
    const QString out = dir.filePath("chosen.xlsx");
    const Run r = tool({plots.first(), out, "--charts", "moment,deflection,moment"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), out + ": moment, deflection");
    WorkbookReader wb(out);
    QCOMPARE(wb.sheetNames(), (QStringList{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
    QCOMPARE(wb.sheet("Legend")->cells.value("C3"), QStringLiteral("Moment vs Depth"));
    QCOMPARE(wb.sheet("Legend")->cells.value("C4"), QStringLiteral("Deflection vs Depth"));
  }

  void csvFiles() {
    QTemporaryDir out;
    const Run r = tool({plots.first(), "--csv", out.path(), "--charts", "shear,pressure"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), (QStringList{"pressure.csv", "shear.csv"}));
  }

  void refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString noCurves = dir.filePath("no-curves.tn5p");
    const QString cut = dir.filePath("cut.tn5p");
    const QString out = dir.filePath("refused.xlsx");
    QTest::newRow("no arguments") << QStringList{} << 1 << "usage: tarnel-export FILE.tn5p OUT.xlsx";
    QTest::newRow("no output") << QStringList{noCurves} << 1 << "usage:";
    QTest::newRow("unknown chart") << QStringList{noCurves, out, "--charts", "deflection,torque"} << 1
                                   << "no chart is called \"torque\"";
    QTest::newRow("three-panel chart") << QStringList{noCurves, out, "--charts", "dms"} << 1 << "is not exported";
    QTest::newRow("unknown option") << QStringList{noCurves, out, "--colour"} << 1 << "unknown option --colour";
    QTest::newRow("missing plot file") << QStringList{dir.filePath("none.tn5p"), out} << 2 << "no such plot file";
    QTest::newRow("plot file cut short") << QStringList{cut, out} << 2 << "The plot file ends at line 7.";
    QTest::newRow("not a number") << QStringList{dir.filePath("bad.tn5p"), out} << 2 << "Error on Line 3 Item 2";
    QTest::newRow("chart without data") << QStringList{noCurves, out, "--charts", "py"} << 3
                                        << "the chart \"py\" has no data";
    QTest::newRow("unwritable output") << QStringList{noCurves, dir.filePath("no/such/dir/out.xlsx")} << 2
                                       << "could not be written";
    QTest::newRow("missing csv folder") << QStringList{noCurves, "--csv", dir.filePath("nowhere")} << 2
                                        << "does not exist";
  }
  void refusals() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    writeFile(dir.filePath("no-curves.tn5p"), kNoCurves);
    writeFile(dir.filePath("cut.tn5p"), QByteArray(kNoCurves).left(60));  // ends in the middle of a row
    writeFile(dir.filePath("bad.tn5p"), QByteArray(kNoCurves).replace(" 1 10 8 2", " 1 1O 8 2"));
    const Run r = tool(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.filePath("refused.xlsx")));
  }

  void withoutDataFileTheDefaultsServe() {
    const QString plot = dir.filePath("no-curves.tn5p");
    writeFile(plot, kNoCurves);
    const QString out = dir.filePath("defaults.xlsx");
    const Run r = tool({plot, out});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.contains("no data file beside"));
    // Every chart of the file but the missing p-y curves; the units come from the file (SI).
    WorkbookReader wb(out);
    QCOMPARE(wb.sheetNames().size(), 1 + 2 * 6);
    QCOMPARE(wb.sheet("Page_1")->cells.value("B3"), QStringLiteral("Depth (m)"));
  }
};

QTEST_GUILESS_MAIN(ExportToolTest)
#include "export_tool_test.moc"
