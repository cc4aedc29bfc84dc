// Files changed behind the program's back, driven through the main window's commands: a
// recent file that went away, a Save that cannot replace the file (read-only, locked, a
// full disk), stage files deleted or replaced between stage switches, the report and the
// plot file deleted or replaced after a run, and the data file replaced while it is open.
#include <QtTest>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/input_dialogs.h"
#include "app/main/main_form.h"
#include "app/model/program_data.h"
#include "app/model/stage_files.h"
#include "app/model/testing_file_locks.h"
#include "app/results/plot_form.h"
#include "app/results/result_charts.h"
#include "test_support.h"

#include <unistd.h>

using Answer = UserPrompts::Answer;
using tarnel::model::StageFileName;

namespace {

QAction* action(TMainForm& f, const char* name) {
  auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
  if (!a) qFatal("no action %s", name);
  return a;
}

void openMenu(TMainForm& f, const QString& title) {
  for (QMenu* m : f.findChildren<QMenu*>())
    if (m->title() == title) emit m->aboutToShow();
}

// Types a new title in the Title dialog, as a person does; Save stores it.
void editTitle(TMainForm& f, const QString& title) {
  action(f, "DataTitle")->trigger();
  auto* d = static_cast<tarnel::dialogs::ProjectTitleDialog*>(f.dialogHub()->dialog("Project Title"));
  QVERIFY(d);
  d->text()->selectAll();
  QTest::keyClicks(d->text(), title);
}

void writeText(const QString& path, const QByteArray& text) {
  QFile out(path);
  QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
  out.write(text);
}

QByteArray bytes(const QString& path) {
  QFile in(path);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

int chartWindows(TMainForm& f) {
  int n = 0;
  for (QMdiSubWindow* w : f.mdiArea()->subWindowList()) n += qobject_cast<TPlotForm*>(w->widget()) ? 1 : 0;
  return n;
}

}  // namespace

class ChangedFilesTest : public QObject {
  Q_OBJECT
private slots:
  void recentFileThatCannotBeReadLeavesTheProject_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("no read permission") << "unreadable";
  }
  void recentFileThatCannotBeReadLeavesTheProject() {
    QFETCH(QString, damage);
    if (damage == "unreadable" && ::geteuid() == 0)
      QSKIP("root reads a file without read permission; the folder row is the unreadable file for root");
    TestEnvironment env;
    const QString first = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    const QString second = env.copyIn(exampleFile("cantilever-sand-water.tn5d"));
    TMainForm f;
    f.openFile(first);
    f.openFile(second);
    editTitle(f, "edited");
    f.dialogHub()->commitDialogs();
    QCOMPARE(f.recentFiles().files(), (QStringList{second, first}));
    if (damage == "deleted") {
      QVERIFY(QFile::remove(first));
    } else if (damage == "folder") {
      QVERIFY(QFile::remove(first));
      QVERIFY(QDir().mkdir(first));
    } else {
      QVERIFY(QFile::setPermissions(first, QFileDevice::WriteOwner));
    }
    env.prompts.messages.clear();
    openMenu(f, "&File");
    action(f, "FileRecent2")->trigger();
    QCOMPARE(env.prompts.messages, QStringList{damage == "deleted" ? "File not found:\n" + first
                                                                   : "Cannot open file " + first});
    QVERIFY(env.prompts.questions.isEmpty());  // nothing is replaced, so nothing is asked
    QCOMPARE(QString::fromStdString(f.project()->FileName), second);
    QCOMPARE(f.project()->Title, std::string("edited"));
    QVERIFY(f.project()->IsModified());
    QCOMPARE(f.windowTitle(), QStringLiteral("TARNEL 2015.5.22 - Cantilever-sand-water.tn5d"));
  }

  void saveThatCannotReplaceTheFileKeepsIt_data() {
    QTest::addColumn<QString>("cause");
    QTest::newRow("file read-only") << "read-only";
    QTest::newRow("file locked") << "file";
    QTest::newRow("folder locked") << "folder";
    QTest::newRow("full disk") << "full";
  }
  void saveThatCannotReplaceTheFileKeepsIt() {
    QFETCH(QString, cause);
    TestEnvironment env;
    const QString folder = env.scratch() + "/project";
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + "/wall.tn5d";
    QVERIFY(QFile::copy(exampleFile("cantilever-user-load.tn5d"), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const QByteArray before = bytes(path);
    TMainForm f;
    f.openFile(path);
    editTitle(f, "edited");
    env.prompts.messages.clear();
    {
      std::unique_ptr<tarnel::model::WriteLock> lock;
      std::unique_ptr<tarnel::model::FileSizeLimit> full;
      if (cause == "read-only") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
      } else if (cause == "full") {
        full = std::make_unique<tarnel::model::FileSizeLimit>(100);
        QVERIFY(full->ok());
      } else {
        lock = std::make_unique<tarnel::model::WriteLock>((cause == "file" ? path : folder).toStdString());
        if (!lock->locked()) QSKIP("this user can lock no file or folder here");
      }
      action(f, "FileSave")->trigger();
      // Closing asks the save question; Yes fails the same way and the window stays open.
      env.prompts.answers << Answer::Yes;
      QVERIFY(!f.close());
    }
    QCOMPARE(env.prompts.messages.size(), 2);
    const QString message = env.prompts.messages.first();
    const QString start = "Unable to write file " + path + ": ";
    QVERIFY2(message.startsWith(start) && message.size() > start.size(), qPrintable(message));
    if (cause == "read-only") QCOMPARE(message, start + "the file is read-only");
    if (cause == "full") QCOMPARE(message, start + "File too large");
    QCOMPARE(bytes(path), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"wall.tn5d"});
    QVERIFY(f.project()->IsModified());

    // With the cause gone, the same Save writes the edit.
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    action(f, "FileSave")->trigger();
    QVERIFY(bytes(path).startsWith("edited"));
    QVERIFY(!f.project()->IsModified());
  }

  void stageFileDeletedOrReplacedBetweenSwitches_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("deleted") << "deleted" << "The stage file %1 was not found: Stage 2 starts from the data of Stage 1.";
    QTest::newRow("damaged") << "damaged" << "Stage file %1:\nThis file either invalid or incomplete.";
    QTest::newRow("a folder in its place") << "folder" << "Cannot open file %1";
  }
  void stageFileDeletedOrReplacedBetweenSwitches() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    TestEnvironment env;
    TMainForm f;
    f.openFile(env.copyIn(exampleFile("staged.tn4d")));
    const QString path = env.scratch() + "/staged.tn5d";
    env.prompts.savePaths << path;
    action(f, "FileSaveAs")->trigger();
    QVERIFY(QFileInfo::exists(path));
    const QByteArray saved = bytes(path);
    const QString stage2 = QString::fromStdString(StageFileName(path.toStdString(), 2));
    QVERIFY(QFile::remove(stage2));
    if (damage == "damaged") writeText(stage2, "Staged wall\r\n1 0 1\r\n");
    if (damage == "folder") QVERIFY(QDir().mkdir(stage2));
    env.prompts.messages.clear();
    action(f, "Stage2")->trigger();
    QCOMPARE(env.prompts.messages.value(0), message.arg(stage2));
    QCOMPARE(f.project()->CurrentStage, 2);
    QCOMPARE(f.project()->StageCount, 2);
    // The tables do not hold stage 2 as saved: Save asks for a name and the file stays.
    // A folder in the stage file's place cannot take the stage: Save says so.
    const int dialogs = env.prompts.dialogTitles.size();
    action(f, "FileSave")->trigger();
    if (damage == "folder") {
      QVERIFY2(env.prompts.messages.last().startsWith("Unable to write file " + stage2 + ": "),
               qPrintable(env.prompts.messages.last()));
    } else {
      QCOMPARE(env.prompts.dialogTitles.size(), dialogs + 1);
    }
    QCOMPARE(bytes(path), saved);
  }

  void stageFileOfAnotherProjectKeepsTheStages() {
    TestEnvironment env;
    TMainForm f;
    f.openFile(env.copyIn(exampleFile("staged.tn4d")));
    const QString path = env.scratch() + "/staged.tn5d";
    env.prompts.savePaths << path;
    action(f, "FileSaveAs")->trigger();
    const QString stage2 = QString::fromStdString(StageFileName(path.toStdString(), 2));
    QVERIFY(QFile::remove(stage2));
    QVERIFY(QFile::copy(exampleFile("cantilever-user-load.tn5d"), stage2));
    action(f, "Stage2")->trigger();
    QCOMPARE(f.project()->StageCount, 2);
    QVERIFY(action(f, "Stage1")->isEnabled());
    action(f, "Stage1")->trigger();
    QCOMPARE(f.project()->FreeHeight, 60.0);
    f.project()->SetModified();
    action(f, "FileSave")->trigger();
    QVERIFY(bytes(path).contains(" Stage No : 2"));
  }

  void stageSwitchOnAFullDiskStaysOnTheStage() {
    TestEnvironment env;
    TMainForm f;
    f.openFile(env.copyIn(exampleFile("staged.tn4d")));
    const QString stage1 = QString::fromStdString(StageFileName(f.project()->FileName, 1));
    const QByteArray before = bytes(stage1);
    f.project()->FreeHeight = 72;
    env.prompts.messages.clear();
    {
      tarnel::model::FileSizeLimit full(10);
      QVERIFY(full.ok());
      action(f, "Stage2")->trigger();
    }
    QCOMPARE(env.prompts.messages, QStringList{"Unable to write file " + stage1 + ": File too large"});
    QCOMPARE(f.project()->CurrentStage, 1);
    QCOMPARE(f.project()->FreeHeight, 72.0);
    QCOMPARE(bytes(stage1), before);
  }

  void reportGoneAfterARunIsSaid_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("a folder in its place") << "folder";
  }
  void reportGoneAfterARunIsSaid() {
    QFETCH(QString, damage);
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    action(f, "CompRun")->trigger();
    const QString report = env.scratch() + "/cantilever-user-load.tn5o";
    QVERIFY(action(f, "SpeedViewOutput")->isEnabled());
    QVERIFY(QFile::remove(report));
    if (damage == "folder") QVERIFY(QDir().mkdir(report));
    env.prompts.messages.clear();
    action(f, "SpeedViewOutput")->trigger();  // the tool bar, without a menu opened first
    QCOMPARE(env.prompts.messages,
             QStringList{damage == "deleted" ? "File not found:\n" + report : "Cannot open file " + report});
    QVERIFY(env.prompts.openedUrls.isEmpty());
    QVERIFY(!action(f, "EditOutput")->isEnabled());
  }

  void plotFileGoneOrChangedAfterARun_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("cut short") << "cut";
    QTest::newRow("another run's") << "other";
  }
  void plotFileGoneOrChangedAfterARun() {
    QFETCH(QString, damage);
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    action(f, "CompRun")->trigger();
    const QString plot = PlotFileFor(path);
    QVERIFY(action(f, "SpeedButton8")->isEnabled());
    action(f, "SpeedButton11")->trigger();  // a chart open from the run's reading
    QCOMPARE(chartWindows(f), 1);
    const QByteArray whole = bytes(plot);
    QVERIFY(QFile::remove(plot));
    if (damage == "folder") QVERIFY(QDir().mkdir(plot));
    if (damage == "cut") writeText(plot, whole.left(whole.size() / 2));
    const QString other = QStringLiteral(TARNEL_EXAMPLES_DIR "/../fuzz/seeds/plot_file/anchored-wall-tieback-ei.tn5p");
    if (damage == "other") QVERIFY(QFile::copy(other, plot));
    env.prompts.messages.clear();
    action(f, "SpeedButton8")->trigger();
    if (damage == "other") {
      // Read again: the charts show the file as it is now, not the results before it.
      QVERIFY(env.prompts.messages.isEmpty());
      ResultCharts direct;
      QVERIFY(direct.LoadPlotFile(other, *f.project()));
      QCOMPARE(f.resultCharts().pltDef().LineCount(), direct.pltDef().LineCount());
      QCOMPARE(f.resultCharts().pltDef().PointCount(), direct.pltDef().PointCount());
      QCOMPARE(chartWindows(f), 1);  // the moment chart of the old reading closed
      return;
    }
    QCOMPARE(env.prompts.messages.size(), 1);
    const QString message = env.prompts.messages.first();
    if (damage == "deleted") QCOMPARE(message, "File not found:\n" + plot);
    if (damage == "folder") QCOMPARE(message, "Cannot open file " + plot);
    if (damage == "cut")
      QVERIFY2(message.startsWith("The plot file " + QDir::toNativeSeparators(plot) + " has changed since it was read"),
               qPrintable(message));
    QCOMPARE(chartWindows(f), damage == "cut" ? 0 : 1);
    for (const char* name : {"SpeedButton8", "CompDef", "ExportExcel", "ViewGeometry"})
      QVERIFY2(!action(f, name)->isEnabled(), name);
  }

  void savedUnderANameWithOlderResultsOffersNone() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    action(f, "CompRun")->trigger();
    QVERIFY(action(f, "CompDef")->isEnabled());
    // Another wall's results lie under the new name: they are not this project's.
    const QString target = env.scratch() + "/other.tn5d";
    QVERIFY(QFile::copy(QStringLiteral(TARNEL_EXAMPLES_DIR "/../fuzz/seeds/plot_file/anchored-wall-tieback-ei.tn5p"),
                        PlotFileFor(target)));
    env.prompts.savePaths << target;
    action(f, "FileSaveAs")->trigger();
    openMenu(f, "&Graphics");
    for (const char* name : {"CompDef", "SpeedButton8", "ExportExcel", "ViewGeometry"})
      QVERIFY2(!action(f, name)->isEnabled(), name);
  }

  void dataFileReplacedWhileOpenKeepsTheEdits() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    editTitle(f, "edited");
    const QByteArray theirs = bytes(exampleFile("cantilever-sand-water.tn5d"));
    writeText(path, theirs);
    const QString question = QStringLiteral("Cantilever-user-load.tn5d has been changed by another program since it "
                                            "was opened or saved. Overwrite it with the project?");
    // No: the Save As dialog (cancelled here); their file and the edits both stay.
    env.prompts.answers << Answer::No;
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.questions, QStringList{question});
    QCOMPARE(env.prompts.dialogTitles.size(), 1);
    QCOMPARE(bytes(path), theirs);
    QCOMPARE(f.project()->Title, std::string("edited"));
    QVERIFY(f.project()->IsModified());
    // The run saves first, and asks the same.
    env.prompts.answers << Answer::No;
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.questions.size(), 2);
    QVERIFY(!QFileInfo::exists(PlotFileFor(path)));
    // Yes overwrites; the next Save asks nothing.
    env.prompts.answers << Answer::Yes;
    action(f, "FileSave")->trigger();
    QVERIFY(bytes(path).startsWith("edited"));
    QVERIFY(!f.project()->IsModified());
    f.project()->SetModified();
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.questions.size(), 3);
  }
};

QTEST_MAIN(ChangedFilesTest)
#include "changed_files_test.moc"
