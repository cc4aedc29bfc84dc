// Runs a command-line tool of the project as a user does, for the tools' own tests: its
// exit code (-1 when it crashed or did not end in time) and what it printed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolOutcome {
  int code = -1;
  QString out, err;
};

inline ToolOutcome runTool(const QString& program, const QStringList& args, int timeoutMs = 120000) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(timeoutMs);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
}
