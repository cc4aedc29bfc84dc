// The plot-file reader: how sections, curves and stations become chart lines, how English
// results are scaled, and what a damaged file leaves behind.
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <sstream>
#include <vector>

#include "app/model/program_data.h"
#include "app/results/result_charts.h"
#include "app/runner/engine_runner.h"

using tarnel::model::TProgramData;

namespace {

// One result section of a plot file, written as the engine lays it out.
struct Section {
  std::vector<std::array<double, 4>> pressure;  // depth, total, from soils, from surcharge
  int units = 2;
  std::vector<std::pair<double, std::vector<std::pair<double, double>>>> curves;
  int kind = 1;  // the section count the engine writes
  std::vector<std::array<double, 5>> rows;  // depth, deflection, moment, shear, reaction
};

std::string PlotText(const std::vector<Section>& sections) {
  std::ostringstream out;
  out.precision(17);
  for (const Section& s : sections) {
    out << ' ' << s.pressure.size() << '\n';
    for (const auto& r : s.pressure) out << "  " << r[0] << "  " << r[1] << "  " << r[2] << "  " << r[3] << '\n';
    out << ' ' << s.units << ' ' << s.curves.size() << '\n';
    for (const auto& [depth, pts] : s.curves) {
      out << ' ' << depth << ' ' << pts.size() << '\n';
      for (const auto& [y, p] : pts) out << ' ' << y << ' ' << p << '\n';
    }
    out << ' ' << s.kind << ' ' << s.rows.size() << ' ' << s.units << '\n';
    for (const auto& r : s.rows)
      out << ' ' << r[0] << ' ' << r[1] << ' ' << r[2] << ' ' << r[3] << ' ' << r[4] << '\n';
  }
  return out.str();
}

// A wall of `stations` rows 0.5 m apart with results that grow with the station number.
Section WallSection(int stations, double scale = 1.0, int kind = 1) {
  Section s;
  s.kind = kind;
  for (int j = 0; j < 3; ++j) s.pressure.push_back({j * 1.0, 10.0 * j * scale, 8.0 * j, 2.0 * j});
  for (int j = 0; j < stations; ++j)
    s.rows.push_back({0.5 * j, -0.01 * j * scale, 3.0 * j * scale, -2.0 * j * scale, 0.1 * j});
  return s;
}

std::vector<std::pair<double, double>> Curve(int points, double pu) {
  std::vector<std::pair<double, double>> c;
  for (int j = 0; j < points; ++j) c.push_back({0.001 * j, pu * j / (points - 1.0)});
  return c;
}

TProgramData SIProject() {
  TProgramData p;
  p.SetUnits(2);
  return p;
}

}  // namespace

class PlotReaderTest : public QObject {
  Q_OBJECT
private slots:
  void oneSectionUsesDefaultNames() {
    ResultCharts charts;
    const TProgramData project = SIProject();
    QVERIFY(charts.LoadPlotText(PlotText({WallSection(12)}), project));
    QVERIFY(charts.PlotsLoaded);
    for (ChartId id : {ChartId::Def, ChartId::Mom, ChartId::Shear, ChartId::Soil, ChartId::LD}) {
      QCOMPARE(charts.Chart(id).LineCount(), 1);
    }
    QCOMPARE(charts.pltDef().DisplayName(0), QStringLiteral("Load #1"));
    QCOMPARE(charts.pltDMS().DisplayName(0), QStringLiteral("Curve #1"));
    QCOMPARE(charts.pltDef().PointCount(), 12);
    QCOMPARE(charts.pltDef().Point(0, 11).X, -0.11);
    QCOMPARE(charts.pltDef().Point(0, 11).Y, 5.5);
    QCOMPARE(charts.pltDMS().Point(0, 4, LineList::Panel2).X, 12.0);
    QCOMPARE(charts.pltDMS().Point(0, 4, LineList::Panel3).X, -8.0);
    QVERIFY(charts.pltDMS().ShowThree);
    // The combined chart keeps its three parts of the first section under their own names.
    QCOMPARE(charts.PltCombine().LineCount(), 3);
    QCOMPARE(charts.PltCombine().DisplayName(1), QStringLiteral("from Soils "));
    QCOMPARE(charts.PltCombine().Point(2, 2).X, 4.0);
    QCOMPARE(charts.pltDef().YTitle(), QStringLiteral("Depth (m)"));
    QCOMPARE(charts.pltDef().XTitle(), QStringLiteral("Deflection (m)"));
    QCOMPARE(charts.pltMom().XTitle(), QStringLiteral("Bending Moment (m-kN)"));
    QCOMPARE(charts.pltDMS().XTitle(3), QStringLiteral("Shear (kN)"));
  }

  void twoSectionsAreNamedByTheKindOfAnalysis_data() {
    QTest::addColumn<bool>("longTerm");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("short and long term") << true << "Short-Term" << "Long-Term";
    QTest::newRow("two stages") << false << "Stage: 1" << "Stage: 2";
  }
  void twoSectionsAreNamedByTheKindOfAnalysis() {
    QFETCH(bool, longTerm);
    QFETCH(QString, first);
    QFETCH(QString, second);
    ResultCharts charts;
    TProgramData project = SIProject();
    project.LongTerm = longTerm;
    QVERIFY(charts.LoadPlotText(PlotText({WallSection(8, 1, 2), WallSection(8, 2, 2)}), project));
    for (ChartId id : {ChartId::Def, ChartId::Mom, ChartId::Shear, ChartId::Soil, ChartId::DMS}) {
      QCOMPARE(charts.Chart(id).LineCount(), 2);
      QCOMPARE(charts.Chart(id).DisplayName(0), first);
      QCOMPARE(charts.Chart(id).DisplayName(1), second);
    }
    QCOMPARE(charts.pltLD().LineCount(), 2);
    QCOMPARE(charts.pltLD().Point(1, 2).X, 40.0);
    QCOMPARE(charts.PltCombine().Point(0, 2).X, 20.0);  // the combined chart shows section 1
    QCOMPARE(charts.pltMom().Point(1, 7).X, 42.0);
  }

  void pyCurvesAreEvenedOut() {
    ResultCharts charts;
    Section s = WallSection(5);
    s.curves = {{1.25, Curve(20, 100)}, {2.5, Curve(15, 60)}};
    QVERIFY(charts.LoadPlotText(PlotText({s}), SIProject()));
    TGraphPlot& py = charts.pltPY();
    QCOMPARE(py.LineCount(), 2);
    QCOMPARE(py.PointCount(), 20);
    QCOMPARE(py.DisplayName(0), QStringLiteral("Depth 1.25"));
    for (int j = 14; j < 20; ++j) QCOMPARE(py.Point(1, j), py.Point(1, 14));
    QCOMPARE(py.Point(1, 14).Y, 60.0);
    QCOMPARE(py.Point(0, 19).Y, 100.0);
  }

  void shorterSecondSectionRepeatsItsLastStation() {
    ResultCharts charts;
    QVERIFY(charts.LoadPlotText(PlotText({WallSection(10, 1, 2), WallSection(6, 2, 2)}), SIProject()));
    for (ChartId id : {ChartId::Def, ChartId::Mom, ChartId::Shear, ChartId::Soil}) {
      const TGraphPlot& plot = charts.Chart(id);
      QCOMPARE(plot.PointCount(), 10);
      for (int j = 6; j < 10; ++j) QCOMPARE(plot.Point(1, j), plot.Point(1, 5));
      QCOMPARE(plot.Point(0, 9).Y, 4.5);  // the first line keeps its stations
    }
    QCOMPARE(charts.pltDMS().Point(1, 9, LineList::Panel3), charts.pltDMS().Point(1, 5, LineList::Panel3));
  }

  void englishResultsAreShownInFeetAndKips() {
    ResultCharts charts;
    TProgramData project;  // English
    Section s;
    s.units = 1;
    s.pressure = {{0, 0, 1e-7, 0}, {240, 36, 30, 6}};
    s.rows = {{0, 0.5, 0, 0, 0}, {240, 0.5, 120000, 6000, 12}};
    QVERIFY(charts.LoadPlotText(PlotText({s}), project));
    QCOMPARE(charts.pltMom().Point(0, 1).X, 120.0);
    QCOMPARE(charts.pltMom().Point(0, 1).Y, 20.0);
    QCOMPARE(charts.pltDef().Point(0, 1).X, 0.5);
    QCOMPARE(charts.pltShear().Point(0, 1).X, 6.0);
    QCOMPARE(charts.pltSoil().Point(0, 1).X, 12.0);  // reactions stay in pounds
    QCOMPARE(charts.pltLD().Point(0, 1).Y, 20.0);
    QCOMPARE(charts.PltCombine().Point(1, 1).Y, 20.0);
    QCOMPARE(charts.pltMom().XTitle(), QStringLiteral("Bending Moment (in-kips)"));
    QCOMPARE(charts.pltShear().XTitle(), QStringLiteral("Shear (kips)"));
    QCOMPARE(charts.pltDef().XTitle(), QStringLiteral("Deflection (in)"));
    QCOMPARE(charts.pltSoil().XTitle(), QStringLiteral("Reaction (lbs)"));
    QCOMPARE(charts.pltLD().XTitle(), QStringLiteral("Distributed load (lbs/in)"));
    QCOMPARE(charts.PltCombine().YTitle(), QStringLiteral("Depth (ft)"));
    QCOMPARE(charts.pltPY().XTitle(), QStringLiteral("y (in)"));
  }

  void layerLinesComeFromTheSoilLayersAndTheWall() {
    ResultCharts charts;
    TProgramData project;  // English: wall lengths in inches
    project.Increments = 100;
    project.IncrementLength = 3.6;  // 360 in = 30 ft
    project.FreeHeight = 180;       // 15 ft
    auto& soils = project.NewSoil();
    soils.SetRowCount(3);
    const std::array<std::pair<int, double>, 3> layers = {{{4, 10}, {2, 22}, {7, 40}}};
    for (int j = 0; j < 3; ++j) {
      soils.SetInteger(0, j, layers[j].first);
      soils.SetReal(1, j, layers[j].second);
    }
    Section s = WallSection(4);
    s.units = 1;
    QVERIFY(charts.LoadPlotText(PlotText({s}), project));
    const TGraphPlot& dms = charts.pltDMS();
    QCOMPARE(dms.LineCount(LineList::Layers), 5);
    QCOMPARE(dms.WallLineCount, 3);
    const std::array<QString, 5> names = {" SAND ", " CLAY ", "WEAK ROCK", "PILE", "PILE"};
    const std::array<TFloatPoint, 5> points = {{{7, 10}, {1, 22}, {10, 40}, {0, 30}, {0, 15}}};
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(dms.Line(i, LineList::Layers).Name, names[i]);
      QCOMPARE(dms.Point(i, 0, LineList::Layers), points[i]);
    }
  }

  void damagedFileKeepsWhatWasReadAndTurnsTheChartsOff() {
    ResultCharts charts;
    std::string text = PlotText({WallSection(10)});
    // The file ends after the depth and deflection of the last row.
    const auto lastRow = text.rfind('\n', text.size() - 2) + 1;
    text.resize(text.find(' ', text.find(' ', lastRow + 1) + 1));
    QString error;
    QVERIFY(!charts.LoadPlotText(text, SIProject(), &error));
    QVERIFY(!charts.PlotsLoaded);
    QVERIFY2(error.startsWith(QLatin1String("This file either invalid or incomplete.")), qPrintable(error));
    QVERIFY2(error.contains(QLatin1String("line 16")), qPrintable(error));
    QCOMPARE(charts.pltDef().Point(0, 8).Y, 4.0);  // rows read before the damage stay
    for (const ChartNames& c : ChartTable()) QVERIFY(!charts.CommandEnabled(c.id, true));
  }

  void badTokensAndCountsNameTheLineAndItem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");
    QTest::newRow("word for a number") << " 1\n 0 1.5 x 2\n" << "Error on Line 2 Item 3";
    QTest::newRow("real for a count") << " 1.5\n" << "Error on Line 1 Item 1";
    QTest::newRow("negative count") << " -3\n 2 0\n 1 0 2\n" << "Error on Line 1 Item 1";
    // Counts beyond the file end the reading as a file cut short does, without first
    // making room for all they announce.
    QTest::newRow("count beyond the file") << " 0\n 2 2000000000\n"
                                           << "This file either invalid or incomplete.";
    QTest::newRow("huge section count")
        << " 0\n 2 0\n 2000000000 2 2\n 0 0 0 0 0\n 1 1 1 1 1\n"
        << "This file either invalid or incomplete.";
    QTest::newRow("number out of range") << " 1\n 0 1E400 0 0\n" << "Error on Line 2 Item 2";
  }
  void badTokensAndCountsNameTheLineAndItem() {
    QFETCH(QString, text);
    QFETCH(QString, where);
    ResultCharts charts;
    QString error;
    QVERIFY(!charts.LoadPlotText(text.toStdString(), SIProject(), &error));
    QVERIFY2(error.startsWith(where), qPrintable(error));
  }

  void commandsNeedALineOfMoreThanOnePoint() {
    ResultCharts charts;
    Section s = WallSection(1);  // one station
    s.pressure = {{0, 1, 1, 0}, {1, 2, 2, 0}};
    s.curves = {{1.0, Curve(5, 10)}};
    QVERIFY(charts.LoadPlotText(PlotText({s}), SIProject()));
    QVERIFY(!charts.CommandEnabled(ChartId::Def, true));
    QVERIFY(!charts.CommandEnabled(ChartId::DMS, true));
    QVERIFY(charts.CommandEnabled(ChartId::LD, true));
    QVERIFY(charts.CommandEnabled(ChartId::PY, true));
    QVERIFY(!charts.CommandEnabled(ChartId::PY, false));  // the plot file has gone
    QVERIFY(charts.ExportEnabled(true));
  }

  void missingFileSaysSo() {
    ResultCharts charts;
    QString error;
    QVERIFY(!charts.LoadPlotFile(QStringLiteral("/nonexistent/wall.tn5p"), SIProject(), &error));
    QVERIFY(error.contains(QLatin1String("/nonexistent/wall.tn5p")));
  }

  // Every bundled example, analysed by the engine, gives charts that can all be opened.
  void examplesGiveChartsWithData() {
    const QStringList examples =
        QDir(QStringLiteral(TARNEL_EXAMPLES_DIR)).entryList({QStringLiteral("*.tn5d")}, QDir::Files);
    QVERIFY(examples.size() >= 8);
    QTemporaryDir dir;
    const tarnel::runner::EngineRunner runner(QStringLiteral(TARNEL_ENGINE_DIR));
    for (const QString& name : examples) {
      const QString data = dir.filePath(name);
      QVERIFY(QFile::copy(QDir(QStringLiteral(TARNEL_EXAMPLES_DIR)).filePath(name), data));
      const auto run = runner.run(data);
      QVERIFY2(run.ok, qPrintable(name + QLatin1String(": ") + run.error));
      TProgramData project;
      QVERIFY(project.CreateFromFile(data.toStdString(), 1).ok);
      ResultCharts charts;
      QString error;
      QVERIFY2(charts.LoadPlotFile(run.plotPath, project, &error), qPrintable(name + QLatin1String(": ") + error));
      for (ChartId id : {ChartId::Def, ChartId::Mom, ChartId::Shear, ChartId::Soil, ChartId::DMS})
        QVERIFY2(charts.CommandEnabled(id, true), qPrintable(name));
      const int stations = project.Increments + 2;
      QCOMPARE(charts.pltDef().PointCount(), stations);
      // The deepest row lies one increment below the wall, in feet for English files.
      const double foot = project.Units == 1 ? 12.0 : 1.0;
      QVERIFY(qAbs(charts.pltDef().Point(0, stations - 1).Y -
                   (project.Increments + 1) * project.IncrementLength / foot) < 1e-3);
      if (project.LongTerm) QCOMPARE(charts.pltDef().DisplayName(1), QStringLiteral("Long-Term"));
      if (project.GeneratePY) QVERIFY2(charts.pltPY().LineCount() > 0, qPrintable(name));
      const QString depth = project.Units == 1 ? QStringLiteral("Depth (ft)") : QStringLiteral("Depth (m)");
      QCOMPARE(charts.pltMom().YTitle(), depth);
    }
  }

  void plotFileNameFollowsTheDataFile() {
    QCOMPARE(PlotFileFor(QStringLiteral("/a.b/wall.tn5d")), QStringLiteral("/a.b/wall.tn5p"));
    QCOMPARE(PlotFileFor(QStringLiteral("/a.b/wall")), QStringLiteral("/a.b/wall.tn5p"));
  }
};

QTEST_GUILESS_MAIN(PlotReaderTest)
#include "plot_reader_test.moc"
