// tarnel-pictures: pictures of the real program for the manuals, taken with
// QWidget::grab() on the offscreen platform from a bundled example.
//
//   tarnel-pictures EXAMPLE.tn5d OUTDIR
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

#include "app/help/help_window.h"
#include "app/main/dialogs/dialog_hub.h"
#include "app/main/main_form.h"
#include "app/main/user_prompts.h"

namespace {

// Nobody answers: messages are printed, questions get No, file dialogs are cancelled.
class SilentPrompts : public UserPrompts {
public:
  void information(QWidget*, const QString& t) override { std::printf("message: %s\n", qPrintable(t)); }
  void warning(QWidget*, const QString& t) override { std::printf("warning: %s\n", qPrintable(t)); }
  Answer askYesNoCancel(QWidget*, const QString&) override { return Answer::No; }
  Answer askYesNo(QWidget*, const QString&) override { return Answer::No; }
  FileChoice openFile(QWidget*, const QString&, const QString&, const QStringList&, int) override { return {}; }
  FileChoice saveFile(QWidget*, const QString&, const QString&, const QStringList&, int) override { return {}; }
  bool openUrl(const QUrl&) override { return false; }
  bool startProgram(const QString&, const QStringList&) override { return false; }
};

bool save(QWidget* w, const QString& dir, const QString& name) {
  QApplication::processEvents();
  const QString path = QDir(dir).filePath(name + ".png");
  const bool ok = w->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program's settings of the person building stay untouched.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: tarnel-pictures EXAMPLE.tn5d OUTDIR\n", stderr);
    return 2;
  }
  const QString example = QString::fromLocal8Bit(argv[1]), out = QString::fromLocal8Bit(argv[2]);
  if (!QFileInfo(example).isFile()) {
    std::fprintf(stderr, "tarnel-pictures: %s does not exist\n", argv[1]);
    return 2;
  }
  QDir().mkpath(out);
  QTemporaryDir work;
  const QString copy = QDir(work.path()).filePath(QFileInfo(example).fileName());
  QFile::copy(example, copy);

  SilentPrompts prompts;
  setPrompts(&prompts);
  int failures = 0;
  {
    TMainForm f;
    f.resize(1280, 800);
    f.show();
    f.openFile(copy);
    failures += !save(&f, out, "main-window");
    f.showTableEditor("NewSoil");
    failures += !save(&f, out, "soil-layers");
    f.dialogHub()->showWallProperties();
    failures += !save(&f, out, "wall-properties");
    f.dialogHub()->showWallConfiguration();
    failures += !save(&f, out, "wall-configuration");
    // The pages lie in docs/ of the folder above the pictures folder.
    tarnel::help::HelpWindow help(QFileInfo(QFileInfo(out).absolutePath()).absolutePath());
    help.resize(1100, 700);
    help.show();
    help.showSection("users-manual");
    failures += !save(&help, out, "help-window");
  }
  setPrompts(nullptr);
  return failures ? 1 : 0;
}
