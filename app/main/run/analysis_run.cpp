#include "app/main/run/analysis_run.h"

#include "app/main/run/run_checks.h"
#include "app/main/user_prompts.h"
#include "app/model/program_data.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>

AnalysisRun::AnalysisRun(const tarnel::model::TProgramData& project, QWidget* parent)
    : project_(project), parent_(parent) {}

QString AnalysisRun::supportAddress() { return QStringLiteral("support@brivok.com"); }

AnalysisRun::Outcome AnalysisRun::execute() {
  if (const auto problem = checkBeforeRun(project_)) {
    prompts().warning(parent_, *problem);
    return Outcome::Refused;
  }
  return Outcome::NotLoaded;
}
