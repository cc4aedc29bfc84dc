#include "app/runner/run_summary.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/runner/output_lines.h"

namespace tarnel::runner {

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isInteger(QByteArrayView w) {
  bool ok = false;
  (void)w.toLongLong(&ok);
  return ok;
}

}  // namespace

RunSummary summarizeRun(const QString& reportPath, const QString& plotPath) {
  RunSummary s;
  static const QRegularExpression iterationLine(QStringLiteral("RESULTS -- ITERATION\\s*(\\d+)"));
  const QByteArray reportBytes = readAll(reportPath);
  for (const QByteArrayView raw : linesHolding(reportBytes, {"RESULTS -- ITERATION", "ERROR", "TOO MUCH DATA",
                                                             "***** ", "END OF ANALYSIS"})) {
    const QString line = QString::fromLocal8Bit(raw);
    const auto m = iterationLine.match(line);
    if (m.hasMatch()) s.iterations = m.captured(1).toInt();
    const QString t = line.trimmed();
    if (s.errorLine.isEmpty() && (t.startsWith("ERROR") || t.startsWith("TOO MUCH DATA") || t.startsWith("***** "))) {
      s.errorLine = t;
    }
    if (t == QLatin1String("END OF ANALYSIS")) s.finished = true;
  }

  // A results head is the only line of the plot file with three integers.
  const QByteArray plotBytes = readAll(plotPath);
  std::vector<QByteArrayView> plot;
  forEachLine(plotBytes, [&](QByteArrayView line) { plot.push_back(line); });
  const qint64 lines = static_cast<qint64>(plot.size());
  for (qint64 i = 0; i < lines; ++i) {
    const QList<QByteArrayView> head = blankSeparatedWords(plot[i]);
    if (head.size() != 3 || !isInteger(head[0]) || !isInteger(head[1]) || !isInteger(head[2])) continue;
    // The row count comes from the file: it must fit the lines that follow before the
    // loop below trusts it (a negative or huge count would run back or far past the end).
    const qint64 rows = head[1].toLongLong();
    if (rows < 0 || rows > lines - i - 1) {
      s.plotError = QStringLiteral("plot file unreadable at line %1").arg(i + 1);
      break;
    }
    ++s.problems;
    s.units = head[2].toInt();
    s.maxDeflection = 0;
    s.maxMoment = 0;
    s.hasResults = rows > 0;
    for (qint64 k = 1; k <= rows; ++k) {
      const QList<QByteArrayView> v = blankSeparatedWords(plot[i + k]);
      if (v.size() < 5) break;
      bool ok1 = false, ok2 = false;
      const double y = v[1].toDouble(&ok1);
      const double m = v[2].toDouble(&ok2);
      if (ok1) s.maxDeflection = std::max(s.maxDeflection, std::fabs(y));
      if (ok2) s.maxMoment = std::max(s.maxMoment, std::fabs(m));
    }
    i += rows;
  }
  return s;
}

bool analysisStopped(const RunResult& run, const RunSummary& s) {
  return !run.complete() || !s.finished || !s.plotError.isEmpty() ||
         s.errorLine.startsWith(QLatin1String("ERROR")) || s.errorLine.startsWith(QLatin1String("TOO MUCH DATA"));
}

QString RunSummary::oneLine() const {
  const QLocale c = QLocale::c();
  const QString length = units == 1 ? "IN" : units == 2 ? "M" : "L";
  const QString moment = units == 1 ? "LBS-IN" : units == 2 ? "KN-M" : "F-L";
  QString text;
  if (!hasResults) {
    text = QStringLiteral("no results");
  } else {
    text = QStringLiteral("%1 iterations, maximum deflection %2 %3, maximum moment %4 %5")
               .arg(iterations)
               .arg(c.toString(maxDeflection, 'g', 4), length, c.toString(maxMoment, 'g', 4), moment);
  }
  if (problems > 1) text += QStringLiteral(" (last of %1 problems)").arg(problems);
  if (!errorLine.isEmpty()) text += QStringLiteral("; report: %1").arg(errorLine);
  if (!plotError.isEmpty()) text += QStringLiteral("; ") + plotError;
  if (!finished) text += QStringLiteral("; the analysis did not reach END OF ANALYSIS");
  return text;
}

}  // namespace tarnel::runner
