// tarnel-plot as a user runs it: every bundled example analysed, then all its charts drawn;
// the pictures follow the size options and show lines; damaged input is refused clearly.
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "tools/testing/tool_process.h"

#include "app/runner/engine_runner.h"

namespace {

using Outcome = ToolOutcome;

Outcome plot(const QStringList& args) { return runTool(QStringLiteral(TARNEL_PLOT), args, 60000); }

// Share of pixels that are neither white nor near-white: the chart's ink.
double inkShare(const QImage& image) {
  qint64 ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 200) ++ink;
  return double(ink) / (double(image.width()) * image.height());
}

bool hasColour(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
  return false;
}

}  // namespace

class TarnelPlotTest : public QObject {
  Q_OBJECT
private slots:
  void allChartsOfEveryExample() {
    QTemporaryDir dir;
    const QDir examples(QStringLiteral(TARNEL_EXAMPLES_DIR));
    const tarnel::runner::EngineRunner runner(QStringLiteral(TARNEL_ENGINE_DIR));
    const QStringList files = examples.entryList({QStringLiteral("*.tn5d")}, QDir::Files);
    QVERIFY(files.size() >= 8);
    for (const QString& name : files) {
      const QString data = dir.filePath(name);
      QVERIFY(QFile::copy(examples.filePath(name), data));
      QVERIFY2(runner.run(data).ok, qPrintable(name));
      const QString pictures = dir.filePath(QFileInfo(name).completeBaseName());
      const Outcome o = plot({QFileInfo(data).path() + QLatin1Char('/') + QFileInfo(name).completeBaseName() +
                                  QStringLiteral(".tn5p"),
                              QStringLiteral("--all"), pictures, QStringLiteral("--width"), QStringLiteral("5"),
                              QStringLiteral("--height"), QStringLiteral("3.5"), QStringLiteral("--ppi"),
                              QStringLiteral("100"), QStringLiteral("--layers")});
      QVERIFY2(o.code == 0, qPrintable(name + QLatin1String(": ") + o.err));
      const QStringList written = QDir(pictures).entryList({QStringLiteral("*.png")}, QDir::Files);
      // Deflection, moment, shear, reaction and the three panels come from every run.
      QVERIFY2(written.size() >= 5, qPrintable(name));
      QCOMPARE(o.out.trimmed().split(QLatin1Char('\n')).size(), written.size());
      for (const QString& png : written) {
        const QImage image(QDir(pictures).filePath(png));
        QCOMPARE(image.size(), QSize(500, 350));
        const double ink = inkShare(image);
        QVERIFY2(ink > 0.01 && ink < 0.5, qPrintable(png + QStringLiteral(" ink %1").arg(ink)));
      }
    }
    // The combined chart's three lines keep their colours (black, blue, red).
    const QImage combined(dir.filePath(QStringLiteral("triangular-surcharges/triangular-surcharges-combined.png")));
    QVERIFY(!combined.isNull());
    QVERIFY(hasColour(combined, qRgb(0, 0, 0xFF)));
    QVERIFY(hasColour(combined, qRgb(0xFF, 0, 0)));
  }

  void vectorPicturesAndTitles() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("wall.tn5d"));
    QVERIFY(QFile::copy(QStringLiteral(TARNEL_EXAMPLES_DIR "/cantilever-sand-water.tn5d"), data));
    QVERIFY(tarnel::runner::EngineRunner(QStringLiteral(TARNEL_ENGINE_DIR)).run(data).ok);
    const QString plotFile = dir.filePath(QStringLiteral("wall.tn5p"));
    for (const char* ext : {"svg", "pdf", "bmp"}) {
      const QString out = dir.filePath(QStringLiteral("dms.") + QLatin1String(ext));
      const Outcome o = plot({plotFile, QStringLiteral("--chart"), QStringLiteral("dms"), QStringLiteral("--out"), out,
                              QStringLiteral("--title"), QStringLiteral("Section A-A")});
      QVERIFY2(o.code == 0, qPrintable(o.err));
      QVERIFY(QFileInfo(out).size() > 1000);
    }
    QFile svg(dir.filePath(QStringLiteral("dms.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    QVERIFY(text.contains("Section A-A"));
    QVERIFY(text.contains("Depth (m)"));
    QVERIFY(QFile(dir.filePath(QStringLiteral("dms.pdf"))).open(QIODevice::ReadOnly));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("dms.bmp"))).size(), QSize(432, 288));
  }

  void badInputIsRefusedWithAReason_data() {
    QTest::addColumn<QString>("plotText");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    const QString good = QStringLiteral(" 0\n 2 0\n 1 3 2\n 0 0 0 0 0\n 1 -0.01 2 3 0\n 2 -0.02 4 6 0\n");
    QTest::newRow("word for a number") << QStringLiteral(" 0\n 2 0\n 1 3 2\n 0 0 0 x 0\n")
                                       << QStringList{"--chart", "moment", "--out", "m.png"} << 2
                                       << "Error on Line 4 Item 4";
    QTest::newRow("cut short") << QStringLiteral(" 0\n 2 0\n 1 3 2\n 0 0 0 0 0\n")
                               << QStringList{"--chart", "moment", "--out", "m.png"} << 2
                               << "ends at line 4";
    QTest::newRow("no such file") << QString() << QStringList{"--chart", "moment", "--out", "m.png"} << 2
                                  << "no such plot file";
    QTest::newRow("chart without data") << good << QStringList{"--chart", "py", "--out", "p.png"} << 3
                                        << "holds no data";
    QTest::newRow("unknown chart") << good << QStringList{"--chart", "torque", "--out", "t.png"} << 1
                                   << "no chart is called \"torque\"";
    QTest::newRow("unknown picture type") << good << QStringList{"--chart", "moment", "--out", "m.gif"} << 1
                                          << ".png, .bmp, .svg or .pdf";
    QTest::newRow("bad size") << good << QStringList{"--chart", "moment", "--out", "m.png", "--width", "wide"}
                              << 1 << "--width takes a number";
    QTest::newRow("fractional ppi") << good << QStringList{"--chart", "moment", "--out", "m.png", "--ppi", "72.5"}
                                    << 1 << "--ppi takes a whole number";
  }
  void badInputIsRefusedWithAReason() {
    QFETCH(QString, plotText);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString plotFile = dir.filePath(QStringLiteral("wall.tn5p"));
    if (!plotText.isNull()) {
      QFile f(plotFile);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(plotText.toLatin1());
    }
    for (QString& a : args)
      if (a.endsWith(QLatin1String(".png")) || a.endsWith(QLatin1String(".gif"))) a = dir.filePath(a);
    const Outcome o = plot(QStringList{plotFile} + args);
    QCOMPARE(o.code, code);
    QVERIFY2(o.err.contains(says), qPrintable(o.err));
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral("*.png")}).isEmpty());
  }

  void profileViewOfEveryExample() {
    QTemporaryDir dir;
    const QDir examples(QStringLiteral(TARNEL_EXAMPLES_DIR));
    for (const QString& name : examples.entryList({QStringLiteral("*.tn5d")}, QDir::Files)) {
      const QString out = dir.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".png"));
      const Outcome o = plot({examples.filePath(name), QStringLiteral("--view"), QStringLiteral("profile"),
                              QStringLiteral("--out"), out, QStringLiteral("--width"), QStringLiteral("8"),
                              QStringLiteral("--height"), QStringLiteral("6"), QStringLiteral("--ppi"),
                              QStringLiteral("100")});
      QVERIFY2(o.code == 0, qPrintable(name + QLatin1String(": ") + o.err));
      const QImage image(out);
      QCOMPARE(image.size(), QSize(800, 600));
      const double ink = inkShare(image);
      QVERIFY2(ink > 0.005 && ink < 0.2, qPrintable(name + QStringLiteral(" ink %1").arg(ink)));
    }
    for (const char* type : {"svg", "pdf", "bmp"}) {
      const QString out = dir.filePath(QStringLiteral("wall.") + QLatin1String(type));
      QCOMPARE(plot({examples.filePath(QStringLiteral("weak-rock-socket.tn5d")), QStringLiteral("--view"),
                     QStringLiteral("profile"), QStringLiteral("--out"), out})
                   .code,
               0);
      QVERIFY(QFileInfo(out).size() > 100);
    }
  }

  void profileViewRefusesBadInput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    QTest::newRow("unknown view") << QStringList{"--view", "plan", "--out", "p.png"} << 1 << "no view is called";
    QTest::newRow("no picture") << QStringList{"--view", "profile"} << 1 << "--view goes with --out";
    QTest::newRow("picture type") << QStringList{"--view", "profile", "--out", "p.gif"} << 2 << "Unknown picture type";
    QTest::newRow("no data file") << QStringList{"missing.tn5d", "--view", "profile", "--out", "p.png"} << 2
                                  << "no such data file";
    QTest::newRow("damaged") << QStringList{"bad.tn5d", "--view", "profile", "--out", "p.png"} << 2 << "Error on Line";
  }
  void profileViewRefusesBadInput() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, says);
    QTemporaryDir dir;
    QFile bad(dir.filePath(QStringLiteral("bad.tn5d")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("Damaged wall\n1 0 1 0 x\n");
    bad.close();
    QString data = QStringLiteral(TARNEL_EXAMPLES_DIR) + QStringLiteral("/weak-rock-socket.tn5d");
    if (args.first().endsWith(QLatin1String(".tn5d"))) data = dir.filePath(args.takeFirst());
    for (QString& a : args)
      if (a.contains(QLatin1Char('.'))) a = dir.filePath(a);
    const Outcome o = plot(QStringList{data} + args);
    QCOMPARE(o.code, code);
    QVERIFY2(o.err.contains(says), qPrintable(o.err));
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral("p.*")}).isEmpty());
  }

  void usageLine() {
    const Outcome o = plot({});
    QCOMPARE(o.code, 1);
    QVERIFY(o.err.contains(QLatin1String("usage: tarnel-plot")));
    QCOMPARE(plot({QStringLiteral("--help")}).code, 0);
  }
};

QTEST_GUILESS_MAIN(TarnelPlotTest)
#include "tarnel_plot_test.moc"
