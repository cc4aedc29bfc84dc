// tarnel-run over many files as a user calls it: the same outputs as one call per file,
// the same summary with one worker or two, a bad file among good ones, and the summary rows
// of a short- and long-term run checked against its plot file.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "tools/testing/tool_process.h"
#include <cmath>

namespace {

using Outcome = ToolOutcome;

Outcome run(const QStringList& args) { return runTool(QStringLiteral(TARNEL_RUN), args); }

QByteArray read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A report without its date and time line, which differs from run to run.
QByteArray withoutTime(QByteArray report) {
  static const QRegularExpression time(QStringLiteral("Date: .*Time: [^\\n]*"));
  return QString::fromLatin1(report).replace(time, QStringLiteral("Date/Time")).toLatin1();
}

QStringList copyExamples(const QString& dir) {
  QStringList files;
  const QDir examples(QStringLiteral(TARNEL_EXAMPLES_DIR));
  for (const QString& name : examples.entryList({QStringLiteral("*.tn5d")}, QDir::Files)) {
    QFile::copy(examples.filePath(name), QDir(dir).filePath(name));
    files << QDir(dir).filePath(name);
  }
  return files;
}

QString base(const QString& data) { return data.left(data.size() - 5); }

}  // namespace

class BatchTest : public QObject {
  Q_OBJECT
private slots:
  // One process runs many different files in a row with the engine library kept loaded
  // (one process with --jobs 1, two workers with --jobs 2): each gives what a process of
  // its own gives.
  void manyFilesInOneCallEqualOneCallEach_data() {
    QTest::addColumn<QString>("jobs");
    QTest::newRow("one process") << QStringLiteral("1");
    QTest::newRow("two workers") << QStringLiteral("2");
  }
  void manyFilesInOneCallEqualOneCallEach() {
    QFETCH(QString, jobs);
    QTemporaryDir one, many;
    const QStringList single = copyExamples(one.path());
    const QStringList batch = copyExamples(many.path());
    QVERIFY(single.size() >= 8);
    for (const QString& f : single) QCOMPARE(run({f}).code, 0);
    const Outcome o = run({QStringLiteral("--jobs"), jobs, many.path()});
    QVERIFY2(o.code == 0, qPrintable(o.err));
    QCOMPARE(o.out.count(QLatin1Char('\n')), batch.size());
    for (int i = 0; i < single.size(); ++i) {
      QCOMPARE(read(base(batch[i]) + ".tn5p"), read(base(single[i]) + ".tn5p"));
      QCOMPARE(read(base(batch[i]) + ".tn5r"), read(base(single[i]) + ".tn5r"));
      // The report names its folder; apart from that and the time it is the same.
      QByteArray a = withoutTime(read(base(batch[i]) + ".tn5o")), b = withoutTime(read(base(single[i]) + ".tn5o"));
      a.replace(many.path().toLatin1(), "FOLDER");
      b.replace(one.path().toLatin1(), "FOLDER");
      QCOMPARE(a, b);
    }
  }

  void oneWorkerOrTwoGiveTheSameSummary() {
    QTemporaryDir dir;
    copyExamples(dir.path());
    const QString s1 = dir.filePath(QStringLiteral("one.csv")), s2 = dir.filePath(QStringLiteral("two.csv"));
    const Outcome o1 = run({QStringLiteral("--jobs"), QStringLiteral("1"), QStringLiteral("--summary"), s1, dir.path()});
    const Outcome o2 = run({QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--summary"), s2, dir.path()});
    QCOMPARE(o1.code, 0);
    QCOMPARE(o2.code, 0);
    QVERIFY(read(s1).size() > 500);
    QCOMPARE(read(s1), read(s2));
    // The workers' lines, read where they ran, are the ones this process reads itself.
    QCOMPARE(o2.out, o1.out);
  }

  void badFileAmongGoodOnesIsReportedAndTheOthersRun() {
    QTemporaryDir dir;
    const QStringList good = copyExamples(dir.path());
    const QString bad = dir.filePath(QStringLiteral("broken.tn5d"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("A wall with a broken record\n1 0 1 0 1 2 0 1 0 0\nforty 0.25\n");
    f.close();
    const QString summary = dir.filePath(QStringLiteral("s.json"));
    const Outcome o = run({QStringLiteral("--summary"), summary, dir.path(), dir.filePath(QStringLiteral("missing.tn5d"))});
    QCOMPARE(o.code, 2);  // a named file is missing; the broken one stopped (3) counts less
    QVERIFY2(o.err.contains(QLatin1String("broken.tn5d")), qPrintable(o.err));
    QVERIFY2(o.err.contains(QLatin1String("missing.tn5d: no such data file")), qPrintable(o.err));
    for (const QString& g : good) QVERIFY(QFileInfo(base(g) + ".tn5p").size() > 0);
    const QJsonArray rows = QJsonDocument::fromJson(read(summary)).array();
    bool brokenRow = false;
    for (const QJsonValue& v : rows) {
      const QJsonObject r = v.toObject();
      if (r["file"].toString().endsWith(QLatin1String("broken.tn5d"))) {
        brokenRow = true;
        QCOMPARE(r["status"].toString(), QStringLiteral("input error"));
        QVERIFY(r["detail"].toString().contains(QLatin1String("ERROR")));
      }
    }
    QVERIFY(brokenRow);
    // Without the missing name the exit status says that an analysis stopped.
    QCOMPARE(run({QStringLiteral("--quiet"), dir.path()}).code, 3);
  }

  void shortAndLongTermRowsMatchThePlotFile() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("sl.tn5d"));
    QVERIFY(QFile::copy(QStringLiteral(TARNEL_EXAMPLES_DIR "/short-long-term.tn5d"), data));
    const QString summary = dir.filePath(QStringLiteral("s.json"));
    QCOMPARE(run({QStringLiteral("--summary"), summary, data}).code, 0);
    const QJsonArray rows = QJsonDocument::fromJson(read(summary)).array();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].toObject()["section"].toString(), QStringLiteral("Short-Term"));
    QCOMPARE(rows[1].toObject()["section"].toString(), QStringLiteral("Long-Term"));
    // The plot file's results blocks, read here independently: the largest |moment| of each.
    const QStringList lines = QString::fromLatin1(read(base(data) + ".tn5p")).split(QLatin1Char('\n'));
    QList<double> maxMoment;
    for (int i = 0; i < lines.size(); ++i) {
      const QStringList w = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
      bool a, b, c;
      if (w.size() != 3) continue;
      w[0].toInt(&a), w[1].toInt(&b), w[2].toInt(&c);
      if (!(a && b && c)) continue;
      double m = 0;
      for (int k = 1; k <= w[1].toInt(); ++k) m = std::max(m, std::fabs(lines[i + k].split(QLatin1Char(' '), Qt::SkipEmptyParts)[2].toDouble()));
      maxMoment << m;
      i += w[1].toInt();
    }
    QCOMPARE(maxMoment.size(), 2);
    for (int k = 0; k < 2; ++k) {
      const QJsonObject r = rows[k].toObject();
      QCOMPARE(r["status"].toString(), QStringLiteral("closed"));
      QVERIFY(r["iterations"].toInt() > 0);
      QVERIFY(std::fabs(std::fabs(r["max_moment"].toDouble()) - maxMoment[k]) <= 1e-3 * maxMoment[k]);
      QCOMPARE(r["units"].toObject()["moment"].toString(), QStringLiteral("m-kN"));
    }
  }

  void usageAndOptions() {
    QCOMPARE(run({}).code, 1);
    QCOMPARE(run({QStringLiteral("--jobs"), QStringLiteral("zero"), QStringLiteral("x.tn5d")}).code, 1);
    QCOMPARE(run({QStringLiteral("--summary"), QStringLiteral("s.txt"), QStringLiteral("x.tn5d")}).code, 1);
    QCOMPARE(run({QStringLiteral("--help")}).code, 0);
  }
};

QTEST_GUILESS_MAIN(BatchTest)
#include "batch_test.moc"
