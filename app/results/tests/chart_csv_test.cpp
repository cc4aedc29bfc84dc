// The comma-separated export of a chart: header naming each column, numbers with ".", fields
// quoted where they must be, and files written whole into the chosen folder.
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

#include "app/results/chart_csv.h"
#include "app/results/graph_plot.h"

class ChartCsvTest : public QObject {
  Q_OBJECT

  static void deflection(TGraphPlot& plot) {
    plot.Caption = "Deflection vs Depth";
    plot.CurveName = "Load #";
    plot.XCaption = "Deflection";
    plot.XUnits = "L";
    plot.YCaption = "Depth (ft)";
    plot.SetLineCount(2);
    plot.SetPointCount(3);
    for (int j = 0; j < 3; ++j) {
      plot.Point(0, j) = {0.25 * j, 1.5 * j};
      plot.Point(1, j) = {-1e-6 * j, 1.5 * j};
    }
  }

 private slots:
  void text() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));  // a comma locale changes nothing
    TGraphPlot plot;
    deflection(plot);
    plot.Line(1).Name = "Stage 2, \"long\"";
    plot.Point(0, 2).X = std::numeric_limits<double>::quiet_NaN();
    const QString csv = ChartCsvText(plot);
    QLocale::setDefault(before);
    QCOMPARE(csv.split("\r\n"),
             (QStringList{"Load #1: Deflection (in),Load #1: Depth (ft),"
                          "\"Stage 2, \"\"long\"\": Deflection (in)\",\"Stage 2, \"\"long\"\": Depth (ft)\"",
                          "0,0,0,0", "0.25,1.5,-1E-6,1.5", ",3,-2E-6,3", ""}));
  }

  void files() {
    QTemporaryDir dir;
    TGraphPlot def, mom;
    deflection(def);
    deflection(mom);
    QCOMPARE(WriteChartCsvFiles({{"deflection", &def}, {"moment", &mom}}, dir.path()), QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"deflection.csv", "moment.csv"}));
    QFile f(dir.filePath("moment.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), ChartCsvText(mom));

    const QString missing = dir.filePath("nowhere");
    QCOMPARE(WriteChartCsvFiles({{"deflection", &def}}, missing),
             "The folder " + QDir::toNativeSeparators(missing) + " does not exist.");
    TGraphPlot empty;
    empty.Caption = "Shear vs Depth";
    QCOMPARE(WriteChartCsvFiles({{"shear", &empty}}, dir.path()),
             QStringLiteral("The chart \"Shear vs Depth\" has no data to export."));
  }
};

QTEST_MAIN(ChartCsvTest)
#include "chart_csv_test.moc"
