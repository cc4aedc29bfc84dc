// tarnel-study as a user calls it: two values of two names give four data files that the
// model reads back with the values set, and four summary rows carrying the values; a name
// it does not know is refused before anything is written.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "tools/testing/tool_process.h"

#include "app/model/program_data.h"

namespace {

using Outcome = ToolOutcome;

Outcome run(const QStringList& args) { return runTool(QStringLiteral(TARNEL_STUDY), args); }

QString example() { return QStringLiteral(TARNEL_EXAMPLES_DIR "/cantilever-sand-water.tn5d"); }

}  // namespace

class StudyTest : public QObject {
  Q_OBJECT
private slots:
  void twoValuesOfTwoNamesGiveFourFilesAndRows() {
    QTemporaryDir dir;
    const QString out = dir.filePath("runs"), summary = dir.filePath("study.csv");
    const Outcome o = run({example(), "--vary", "increments=44,48", "--vary", "PileSect[1].flexural-stiffness-ei=1E5:1.2E5:2E4",
                           "--out", out, "--summary", summary, "--jobs", "2"});
    QCOMPARE(o.code, 0);
    const QStringList files = QDir(out).entryList({"*.tn5d"}, QDir::Files);
    QCOMPARE(files.size(), 4);
    for (const int n : {44, 48})
      for (const double ei : {1e5, 1.2e5}) {
        const QString name = QStringLiteral("cantilever-sand-water-increments=%1-PileSect[1].flexural-stiffness-ei=%2.tn5d")
                                 .arg(n).arg(QString::number(ei, 'g', 12));
        QVERIFY2(files.contains(name), qPrintable(name));
        tarnel::model::TProgramData p;
        const auto read = p.CreateFromFile(QDir(out).filePath(name).toStdString(), 0);
        QVERIFY2(read.ok, read.message.c_str());
        QCOMPARE(p.Increments, n);
        QCOMPARE(p.PileSect().Real(3, 0), ei);
        // The stiffness row that described the whole wall still ends at its tip.
        QCOMPARE(p.PileSect().Integer(1, p.PileSect().RowCount() - 1), n);
        QVERIFY(o.out.contains(QDir::toNativeSeparators(QDir(out).filePath(name))));
      }

    QFile f(summary);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);  // header and one row per file
    QVERIFY(lines[0].contains("increments"));
    QVERIFY(lines[0].contains("PileSect[1].flexural-stiffness-ei"));
    const QStringList header = lines[0].split(',');
    const qsizetype status = header.indexOf("status"), n = header.indexOf("increments"),
                    ei = header.indexOf("PileSect[1].flexural-stiffness-ei");
    QCOMPARE(n, header.size() - 2);
    QCOMPARE(ei, header.size() - 1);
    QStringList seen;
    for (int i = 1; i < lines.size(); ++i) {
      const QStringList cells = lines[i].split(',');
      QCOMPARE(cells.size(), header.size());
      QCOMPARE(cells[status], QStringLiteral("closed"));
      QVERIFY(cells[0].contains("increments=" + cells[n] + "-PileSect[1].flexural-stiffness-ei=" + cells[ei]));
      seen << cells[n] + "/" + cells[ei];
    }
    seen.sort();
    QCOMPARE(seen, QStringList({"44/100000", "44/120000", "48/100000", "48/120000"}));
  }

  void badNamesAndValuesWriteNothing_data() {
    QTest::addColumn<QString>("vary");
    QTest::newRow("unknown name") << "embedment=10,20";
    QTest::newRow("unknown table") << "Wall[1].2=3";
    QTest::newRow("unknown column") << "PileSect[1].colour=3";
    QTest::newRow("not a number") << "wa=1.5,x";
    QTest::newRow("endless range") << "wa=1:2:-1";
    QTest::newRow("fractional increments") << "increments=40.5";
    QTest::newRow("row beyond the table") << "PileSect[9].4=1E9";
    QTest::newRow("node beyond the wall") << "PileSect[1].2=80";
  }
  void badNamesAndValuesWriteNothing() {
    QFETCH(QString, vary);
    QTemporaryDir dir;
    const QString out = dir.filePath("runs");
    const Outcome o = run({example(), "--vary", "increments=40,48", "--vary", vary, "--out", out});
    QCOMPARE(o.code, 1);
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(o.err.startsWith("tarnel-study: "));
    if (QString(QTest::currentDataTag()) == "unknown name") QVERIFY(o.err.contains("valid names: increments"));
  }
};

QTEST_GUILESS_MAIN(StudyTest)
#include "study_test.moc"
