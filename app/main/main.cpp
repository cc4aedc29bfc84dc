// Tarnel2015: analysis of flexible retaining walls. Starts the main window on the data file
// named on the command line, or on a new project.
#include "app/main/main_form.h"
#include "app/main/program_settings.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  ProgramSettings::registerKey();
  TMainForm form;
  QApplication::setWindowIcon(form.windowIcon());
  form.resize(1280, 860);
  form.show();
  QStringList args = QApplication::arguments();
  args.removeFirst();
  form.startWith(args);
  return app.exec();
}
