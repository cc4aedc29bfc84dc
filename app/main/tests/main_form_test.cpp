// The main window driven through its own menu commands: file commands and the save
// question, recent files, option switches, the caption and display-name rules, the text
// editor and help documents, and the checks of Run Analysis.
#include <QtTest>

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMdiSubWindow>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/main_form.h"
#include "app/main/widgets/data_edit.h"
#include "app/main/tables/table_form.h"
#include "app/main/tables/table_model.h"
#include "app/main/program_settings.h"
#include "app/model/program_data.h"
#include "test_support.h"

using tarnel::model::TProgramData;
using Answer = UserPrompts::Answer;

namespace {

QAction* action(TMainForm& f, const char* name) {
  auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
  if (!a) qFatal("no action %s", name);
  return a;
}

// Opens a file the way the open dialog does.
void openThroughDialog(TMainForm& f, TestEnvironment& env, const QString& path) {
  env.prompts.openPaths << path;
  action(f, "FileOpen")->trigger();
}

const QString kSaveQuestion = QStringLiteral("Do you want to save any changes?");

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT
private slots:
  void newProjectSavedAsIsTheNewProjectFile() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    QCOMPARE(f.windowTitle(), QStringLiteral("TARNEL 2015.5.22 - NewWall.tn5d"));
    const QString target = env.scratch() + "/first wall.tn5d";
    env.prompts.savePaths << target;
    // Save of a project still named NewWall.tn5d goes through the save dialog.
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.dialogTitles, QStringList{"Save NewWall.tn5d As"});
    QVERIFY(env.prompts.proposedSaveNames.first().endsWith("/NewWall.tn5d"));

    const QString written = readText(target);
    TProgramData fresh;
    QCOMPARE(written, QString::fromStdString(fresh.ProjectText()));
    QCOMPARE(written.split("\r\n", Qt::SkipEmptyParts).size(), 14);
    QCOMPARE(f.windowTitle(), QStringLiteral("TARNEL 2015.5.22 - First wall.tn5d"));
    QCOMPARE(f.recentFiles().files(), QStringList{target});
    QCOMPARE(ProgramSettings().recentFiles(), QStringList{target});
    QVERIFY(!f.project()->IsModified());
  }

  void failedSaveAsKeepsTheOldName() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.project()->SetModified();
    env.prompts.savePaths << env.scratch() + "/no such folder/wall.tn5d";
    QVERIFY(!f.saveAs());
    QCOMPARE(env.prompts.messages.size(), 1);
    QCOMPARE(QString::fromStdString(f.project()->FileName), QStringLiteral("NewWall.tn5d"));
    QCOMPARE(f.windowTitle(), QStringLiteral("TARNEL 2015.5.22 - NewWall.tn5d"));
    QVERIFY(f.recentFiles().files().isEmpty());
    QVERIFY(f.project()->IsModified());
  }

  void displayNameRule_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    QTest::newRow("tn5d keeps its extension") << "/x/wall.tn5d" << "Wall.tn5d";
    QTest::newRow("tnd is dropped") << "/x/old wall.tnd" << "Old wall";
    QTest::newRow("tn4d keeps its extension") << "/x/a.tn4d" << "A.tn4d";
    QTest::newRow("no folder") << "NewWall.tn5d" << "NewWall.tn5d";
  }
  void displayNameRule() {
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QCOMPARE(TMainForm::displayName(file), shown);
  }

  void switchedOffTableIsEmptyAfterReopening() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("anchored-wall-tieback-ei.tn5d"));
    QVERIFY(!path.isEmpty());
    TMainForm f;
    f.openFile(path);
    QVERIFY(f.project()->ApplyMEI);
    QVERIFY(f.project()->MEICurves2().RowCount() > 0);
    QVERIFY(action(f, "OptMEI")->isChecked());
    QVERIFY(action(f, "DataMEI")->isEnabled());

    action(f, "OptMEI")->trigger();  // off
    QVERIFY(!f.project()->ApplyMEI);
    QVERIFY(!action(f, "DataMEI")->isEnabled());
    action(f, "FileSave")->trigger();
    QVERIFY(env.prompts.dialogTitles.isEmpty());  // a named .tn5d is saved in place

    f.openFile(path);
    QVERIFY(!f.project()->ApplyMEI);
    QVERIFY(!action(f, "OptMEI")->isChecked());
    TProgramData fresh;
    QVERIFY(f.project()->MEICurves2().SameData(fresh.MEICurves2()));
  }

  void openShowsTheReadMessageAndCaption() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    openThroughDialog(f, env, path);
    QCOMPARE(env.prompts.dialogTitles, QStringList{"Open"});
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("Data file: Cantilever-user-load.tn5d, has been read by TARNEL 2015"));
    QCOMPARE(f.windowTitle(), QStringLiteral("TARNEL 2015.5.22 - Cantilever-user-load.tn5d"));
    QCOMPARE(QDir::currentPath(), QFileInfo(path).absolutePath());
    QVERIFY(action(f, "EditInput")->isEnabled());
    QVERIFY(!action(f, "EditOutput")->isEnabled());
  }

  void malformedFileIsNeverOverwrittenByWhatWasRead() {
    TestEnvironment env;
    const QString path = env.scratch() + "/broken.tn5d";
    QString text = readText(exampleFile("cantilever-user-load.tn5d"));
    text.truncate(text.size() / 2);  // the file ends early
    {
      QFile out(path);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write(text.toLatin1());
    }
    TMainForm f;
    f.openFile(path);
    QCOMPARE(env.prompts.messages.size(), 1);
    QCOMPARE(env.prompts.messages.first(), QStringLiteral("This file either invalid or incomplete."));

    // Save asks for a name; cancelling it leaves the user's file as it was.
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.dialogTitles.size(), 1);
    QCOMPARE(readText(path), text);

    // Saved under a new name, the project saves in place again.
    const QString other = env.scratch() + "/mended.tn5d";
    env.prompts.savePaths << other;
    action(f, "FileSave")->trigger();
    QVERIFY(QFileInfo::exists(other));
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.dialogTitles.size(), 2);
    QCOMPARE(readText(path), text);
  }

  void openSaysWhatTheProjectCannotKeepAndTheFirstSaveAsks() {
    // A long-term block with other external p-y curves than the short-term block: the
    // project keeps one set.
    TestEnvironment env;
    QString text = readText(exampleFile("short-long-term.tn5d"));
    const int second = text.indexOf(QStringLiteral("\r\n9\r\n"));
    QVERIFY(second > 0);
    const int at = text.indexOf(QStringLiteral("-0.2\t81"), second);
    QVERIFY(at > 0);
    text.replace(at, 8, QStringLiteral("-0.2\t60"));
    const QString path = env.scratch() + "/two-curve-sets.tn5d";
    {
      QFile out(path);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write(text.toLatin1());
    }
    TMainForm f;
    openThroughDialog(f, env, path);
    QCOMPARE(env.prompts.messages.size(), 2);
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("The long-term block holds different External p-y Curves; the project keeps one set, "
                            "the long-term one. Saving will write it for both analyses."));
    QVERIFY(f.project()->IsModified());

    // The first Save asks; No goes to Save As (cancelled here), and the file stays whole.
    const QString question = QStringLiteral("Two-curve-sets.tn5d holds data the project does not keep (see the "
                                            "message on opening). Overwrite it without that data?");
    env.prompts.answers << Answer::No;
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.questions, QStringList{question});
    QCOMPARE(env.prompts.dialogTitles.size(), 2);  // Open, then Save As
    QCOMPARE(readText(path), text);

    // Yes overwrites it; a later Save asks no more.
    env.prompts.answers << Answer::Yes;
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.questions.size(), 2);
    QVERIFY(readText(path) != text);
    QVERIFY(!f.project()->IsModified());
    f.project()->SetModified();
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.questions.size(), 2);

    // A file the project holds whole opens without the message and saves without the question.
    TestEnvironment whole;
    TMainForm g;
    openThroughDialog(g, whole, whole.copyIn(exampleFile("short-long-term.tn5d")));
    QCOMPARE(whole.prompts.messages.size(), 1);
    QVERIFY(!g.project()->IsModified());
  }

  void saveOfAFileMadeReadOnlyBehindTheProgramsBackSaysSo() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    const QString before = readText(path);
    TMainForm f;
    f.openFile(path);
    f.project()->Title = "edited";
    f.project()->SetModified();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("Unable to write file ") + path + QStringLiteral(": the file is read-only"));
    QCOMPARE(readText(path), before);
    QVERIFY(f.project()->IsModified());
    // Deleted behind its back, the file is written again by the next Save.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::remove(path));
    action(f, "FileSave")->trigger();
    QVERIFY(readText(path).startsWith("edited"));
    QVERIFY(!f.project()->IsModified());
  }

  // Units switched through the Options menu with the dialog open: the field shows the
  // value as a person writes it, and the way back shows what was typed.
  void unitSwitchThroughTheMenuShowsValuesAsTyped() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    action(f, "DataWallProperties")->trigger();
    QWidget* d = f.dialogHub()->dialog("Wall Properties");
    QVERIFY(d);
    typeAndLeave(field(d, "Increment Length"), "6");
    action(f, "UnitsSI")->trigger();
    QCOMPARE(field(d, "Increment Length")->text(), QStringLiteral("0.1524"));
    action(f, "UnitsEnglish")->trigger();
    QCOMPARE(field(d, "Increment Length")->text(), QStringLiteral("6"));
    QCOMPARE(f.project()->IncrementLength, 6.0);
  }

  void saveQuestionOnNew() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    const QString before = readText(path);

    // Cancel: nothing happens.
    f.project()->Title = "changed";
    f.project()->SetModified();
    TProgramData* project = f.project();
    env.prompts.answers << Answer::Cancel;
    action(f, "FileNew")->trigger();
    QCOMPARE(env.prompts.questions, QStringList{kSaveQuestion});
    QCOMPARE(f.project(), project);
    QVERIFY(f.project()->IsModified());

    // No: a new project, the file untouched.
    env.prompts.answers << Answer::No;
    action(f, "FileNew")->trigger();
    QCOMPARE(QString::fromStdString(f.project()->FileName), QStringLiteral("NewWall.tn5d"));
    QCOMPARE(readText(path), before);

    // Yes: saved first.
    f.openFile(path);
    f.project()->Title = "Saved before New";
    f.project()->SetModified();
    env.prompts.answers << Answer::Yes;
    action(f, "FileNew")->trigger();
    QVERIFY(readText(path).startsWith("Saved before New"));
    QCOMPARE(QString::fromStdString(f.project()->Title), QStringLiteral("New Wall"));

    // An unmodified project is not asked about.
    env.prompts.questions.clear();
    action(f, "FileNew")->trigger();
    QVERIFY(env.prompts.questions.isEmpty());
  }

  void saveQuestionOnOpen() {
    TestEnvironment env;
    const QString a = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    const QString b = env.copyIn(exampleFile("anchored-wall-tieback-ei.tn5d"));
    TMainForm f;
    f.openFile(a);
    f.project()->Title = "edited";
    f.project()->SetModified();

    env.prompts.answers << Answer::Cancel;
    openThroughDialog(f, env, b);
    QVERIFY(env.prompts.dialogTitles.isEmpty());  // the open dialog never showed
    QCOMPARE(QString::fromStdString(f.project()->Title), QStringLiteral("edited"));

    env.prompts.openPaths.clear();
    env.prompts.answers << Answer::No;
    openThroughDialog(f, env, b);
    QCOMPARE(QString::fromStdString(f.project()->FileName), b);
    QVERIFY(!readText(a).startsWith("edited"));

    f.project()->Title = "kept";
    f.project()->SetModified();
    env.prompts.answers << Answer::Yes;
    openThroughDialog(f, env, a);
    QVERIFY(readText(b).startsWith("kept"));
    QCOMPARE(QString::fromStdString(f.project()->FileName), a);
  }

  void saveQuestionOnClose() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.show();
    f.project()->SetModified();

    env.prompts.answers << Answer::Cancel;
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());

    // Yes with an unnamed project whose save dialog is cancelled keeps the window open.
    env.prompts.answers << Answer::Yes;
    QVERIFY(!f.close());

    env.prompts.answers << Answer::No;
    QVERIFY(f.close());
    QCOMPARE(env.prompts.questions.size(), 3);
  }

  void recentListAfterOpeningTheSameFileTwice() {
    TestEnvironment env;
    const QString a = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    const QString b = env.copyIn(exampleFile("anchored-wall-tieback-ei.tn5d"));
    const QString c = env.copyIn(exampleFile("triangular-surcharges.tn5d"));
    TMainForm f;
    f.openFile(a);
    f.openFile(b);
    f.openFile(c);
    f.openFile(b);
    f.openFile(b);
    QCOMPARE(f.recentFiles().files(), (QStringList{b, c, a}));
    QCOMPARE(ProgramSettings().recentFiles(), (QStringList{b, c, a}));
    // Menu captions: position, blank, path without the current folder.
    QDir::setCurrent(env.scratch());
    f.updateCommands();
    QCOMPARE(action(f, "FileRecent1")->text(), QStringLiteral("&1 anchored-wall-tieback-ei.tn5d"));
    QVERIFY(action(f, "FileRecent3")->isVisible());
    QVERIFY(!action(f, "FileRecent4")->isVisible());

    // A new window reads the list back; the recent entry opens its file.
    TMainForm g;
    QCOMPARE(g.recentFiles().files(), (QStringList{b, c, a}));
    action(g, "FileRecent3")->trigger();
    QCOMPARE(QString::fromStdString(g.project()->FileName), a);
    QCOMPARE(g.recentFiles().files(), (QStringList{a, b, c}));
  }

  void commandLineRule() {
    TestEnvironment env;
    // A name without extension is looked for with ".tn4d".
    env.copyIn(exampleFile("si2013.tn4d"), "legacy.tn4d");
    TMainForm f;
    f.startWith({env.scratch() + "/legacy"});
    QCOMPARE(QString::fromStdString(f.project()->FileName), env.scratch() + "/legacy.tn4d");
    QCOMPARE(f.project()->Units, 2);
    // Save of a .tn4d project proposes the same name as .tn5d.
    action(f, "FileSave")->trigger();
    QCOMPARE(env.prompts.proposedSaveNames, QStringList{env.scratch() + "/legacy.tn5d"});

    TMainForm g;
    g.startWith({env.scratch() + "/missing"});
    QCOMPARE(QString::fromStdString(g.project()->FileName), QStringLiteral("NewWall.tn5d"));
  }

  void optionCouplingThroughTheMenu() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TProgramData& p = *f.project();
    QVERIFY(action(f, "OptGeneratePY")->isChecked());
    QVERIFY(action(f, "EarthTriangular")->isChecked());
    QVERIFY(!action(f, "DataDistLoad")->isEnabled());
    QVERIFY(action(f, "DataSoilLayers")->isEnabled());

    action(f, "OptGeneratePY")->trigger();  // off
    QCOMPARE(p.EarthPressureChoice, 1);
    QVERIFY(p.ApplyExtPY);
    QVERIFY(action(f, "EarthUser")->isChecked());
    QVERIFY(!action(f, "EarthTriangular")->isEnabled());
    QVERIFY(!action(f, "OptTieback")->isEnabled());
    QVERIFY(!action(f, "OptSurcharge")->isEnabled());
    QVERIFY(action(f, "DataDistLoad")->isEnabled());
    QVERIFY(action(f, "DataExtPY")->isEnabled());

    // Long-term layout: the single items give way to the Short-Term/Long-Term submenus.
    action(f, "OptLongTerm")->trigger();
    QVERIFY(p.LongTerm);
    QVERIFY(!action(f, "DataDistLoad")->isVisible());
    QVERIFY(action(f, "DataDistShortTerm")->parent() != nullptr);
    QVERIFY(!action(f, "OptStaged")->isEnabled());
    QVERIFY(!action(f, "SpeedStageOption")->isEnabled());
    QVERIFY(!action(f, "SpeedSoilLayers")->isEnabled());

    // Turning a switch off closes its table's editor.
    action(f, "OptRestraints")->trigger();
    QVERIFY(f.showTableEditor("SoilLayer"));
    action(f, "OptRestraints")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!f.tableEditor("SoilLayer"));

    // Units are radio items; the tables follow.
    action(f, "UnitsSI")->trigger();
    QCOMPARE(p.Units, 2);
    QVERIFY(action(f, "UnitsSI")->isChecked());
    QVERIFY(!action(f, "UnitsEnglish")->isChecked());
    QCOMPARE(p.PileSect().Units(), 2);
  }

  void unitsThatWouldOverflowAValueAreRefused() {
    TestEnvironment env;
    TMainForm f;
    action(f, "UnitsSI")->trigger();
    TProgramData& p = *f.project();
    p.IncrementLength = 1e307;  // metres: no double holds it in inches
    action(f, "UnitsEnglish")->trigger();
    QCOMPARE(env.prompts.messages,
             QStringList{"A value of the project is too large to be converted to these units. "
                         "The units were not changed."});
    QCOMPARE(p.Units, 2);
    QCOMPARE(p.IncrementLength, 1e307);
    QVERIFY(action(f, "UnitsSI")->isChecked());
    QVERIFY(!action(f, "UnitsEnglish")->isChecked());
    p.IncrementLength = 1;
    action(f, "UnitsEnglish")->trigger();
    QCOMPARE(p.Units, 1);
    QCOMPARE(env.prompts.messages.size(), 1);
  }

  void aTiebackSwitchOnWithoutGenerationCanBeTurnedOff() {
    // The anchored-wall example has tiebacks with external p-y curves (no generation).
    TestEnvironment env;
    TMainForm f;
    f.openFile(env.copyIn(exampleFile("anchored-wall-tieback-ei.tn5d")));
    QVERIFY(!f.project()->GeneratePY);
    QAction* tieback = action(f, "OptTieback");
    QVERIFY(tieback->isChecked());
    QVERIFY(tieback->isEnabled());
    tieback->trigger();
    QVERIFY(!f.project()->ApplyTiebacks);
    QVERIFY(!tieback->isChecked());
    // Off, it needs generation to come back on: the item is off until then.
    QVERIFY(!tieback->isEnabled());
    action(f, "OptGeneratePY")->trigger();
    QVERIFY(tieback->isEnabled());
    tieback->trigger();
    QVERIFY(f.project()->ApplyTiebacks);
  }

  void resultCommandsStayOffUntilResultsExist() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    for (const char* name : {"Comppy", "CompDef", "CompMom", "CompShear", "CompSoil",
                             "DefMomShear", "CompLD", "CompCombine", "ExportExcel",
                             "ViewGeometry", "SpeedButton13", "SpeedButton19"})
      QVERIFY2(!action(f, name)->isEnabled(), name);
    QVERIFY(!action(f, "Stage1")->isVisible() || !action(f, "Stage1")->isEnabled());
  }

  void textEditorAndItsFailure() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    env.prompts.messages.clear();

    // Without a configured editor the desktop opens the file.
    action(f, "EditInput")->trigger();
    QCOMPARE(env.prompts.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

    f.setTextEditor("/usr/bin/my-editor");
    action(f, "EditInput")->trigger();
    QCOMPARE(env.prompts.startedPrograms, QStringList{"/usr/bin/my-editor " + path});

    env.prompts.desktopSucceeds = false;
    action(f, "EditInput")->trigger();
    QCOMPARE(env.prompts.messages, QStringList{"An error occurred in running the Word Processor"});
    QCOMPARE(ProgramSettings().textEditor(), QStringLiteral("/usr/bin/my-editor"));
#ifndef Q_OS_WIN
    // The key SOFTWARE\Brivok\TARNEL\2015.5.22 as an INI file of the user.
    const QString ini = env.settingsFolder() + "/Brivok/TARNEL/2015.5.22.ini";
    QVERIFY2(QFileInfo::exists(ini), qPrintable(ini));
    QVERIFY(readText(ini).contains("Word%20Processor=/usr/bin/my-editor"));
#endif
  }

  void checkForUpdatesOpensTheUpdatePage() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    action(f, "HelpUpdates")->trigger();
    QCOMPARE(env.prompts.openedUrls.size(), 1);
    QVERIFY(env.prompts.openedUrls.first().toString().contains("TARNEL;2015.5.22"));
  }

  // ---- Run Analysis: the checks stop the run with their messages.
  void runStopsOnStiffnessBeyondTheLastNode() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TProgramData& p = *f.project();
    p.Increments = 40;
    p.IncrementLength = 6;
    p.PileSect().SetInteger(0, 0, 0);
    p.PileSect().SetInteger(1, 0, 50);
    env.prompts.savePaths << env.scratch() + "/end node.tn5d";
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("End Node, 50 in row 1 of Wall Stiffness definition\n"
                            "is greater than number of nodes defined, 40.\n"
                            "Please check on Wall Properties Windows and Wall Stiffness Table"));
    QVERIFY(QFileInfo::exists(env.scratch() + "/end node.tn5d"));  // saved before the checks
    QVERIFY(!QFileInfo::exists(env.scratch() + "/end node.tn5o"));
  }

  void runStopsOnBackfillSteeperThanSand() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TProgramData& p = *f.project();
    p.Increments = 40;
    p.IncrementLength = 6;
    p.PileSect().SetInteger(1, 0, 40);
    p.BackfillSlope = 30;
    auto& soils = p.NewSoil();
    soils.SetRowCount(2);
    soils.SetInteger(0, 0, 1);  // clay: never compared with the slope
    soils.SetReal(1, 0, 10);
    soils.SetInteger(0, 1, 4);  // sand, friction angle 28 at its top
    soils.SetReal(1, 1, 40);
    soils.SubTable(2, 1).SetReal(1, 0, 28);
    soils.SubTable(2, 1).SetReal(1, 1, 28);
    env.prompts.savePaths << env.scratch() + "/slope.tn5d";
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("Slope of the Backfill: 30 deg.\n"
                            "is greater than friction angle, 28 deg.,\n"
                            "in layer 2\n"
                            "Please check on Wall Configuration and Soil Layers Windows"));
  }

  void runStopsOnShallowSoilLayering() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TProgramData& p = *f.project();
    p.Increments = 40;
    p.IncrementLength = 12;  // in: the wall is 40 ft deep
    p.PileSect().SetInteger(1, 0, 40);
    p.NewSoil().SetReal(1, p.NewSoil().RowCount() - 1, 30.5);
    env.prompts.savePaths << env.scratch() + "/layers.tn5d";
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.messages.last(),
             QStringLiteral("Depth of Bottom of Soil Layering: 30.5 ft\n"
                            "should extend at least below Depth of Wall: 40 ft\n"
                            "Please check Soil Layer Data and/or Wall Properties Windows"));

    // Without soil layers in use the depth is not compared.
    env.prompts.messages.clear();
    action(f, "OptGeneratePY")->trigger();  // off: choice 1, no generated pressure
    action(f, "CompRun")->trigger();
    for (const QString& m : env.prompts.messages) QVERIFY(!m.startsWith("Depth of Bottom"));
  }

  void fullRunThroughTheEngineLibrary() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    TMainForm f;
    f.openFile(path);
    // A wall-length change made in the table editor, then the run.
    TTableForm* form = f.showTableEditor("PileSect");
    QVERIFY(form);
    const QModelIndex ei = form->model()->index(0, 3);
    form->grid()->setCurrentIndex(ei);
    form->grid()->edit(ei);
    auto* editor = qobject_cast<QLineEdit*>(form->grid()->indexWidget(ei));
    QVERIFY(editor);
    editor->setText("5.3E9*1.5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(f.project()->PileSect().Real(3, 0), 7.95e9);
    env.prompts.messages.clear();
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.messages,
             QStringList{"Computations are completed. Please, check output file for results or "
                         "error messages."});
    const QString base = env.scratch() + "/cantilever-user-load";
    for (const char* ext : {".tn5o", ".tn5p", ".tn5r"})
      QVERIFY2(QFileInfo(base + ext).size() > 0, ext);
    QVERIFY(readText(base + ".tn5o").contains("END OF ANALYSIS"));
    QVERIFY(readText(path).contains("7.95E9") || readText(path).contains("7950000000"));
    // names.dat lives only during the run, never beside the data or the program.
    QVERIFY(!QFileInfo::exists(env.scratch() + "/names.dat"));
    QVERIFY(!QFileInfo::exists(TMainForm::programFolder() + "/names.dat"));
    QVERIFY(!QFileInfo::exists(QDir::currentPath() + "/names.dat"));
    // Child windows close after a run; the report can now be opened.
    QVERIFY(f.mdiArea()->subWindowList().isEmpty());
    QVERIFY(action(f, "EditOutput")->isEnabled());
    QVERIFY(action(f, "EditNotes")->isEnabled());
    QVERIFY(action(f, "SpeedViewOutput")->isEnabled());
    action(f, "SpeedViewOutput")->trigger();
    QCOMPARE(env.prompts.openedUrls.last(), QUrl::fromLocalFile(base + ".tn5o"));
  }

  // An output the engine cannot create (here a folder has the report's name) ends the run
  // with a message naming the file, never with "Computations are completed".
  void runWhoseReportCannotBeWrittenSaysSo() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("cantilever-user-load.tn5d"));
    QVERIFY(QDir(env.scratch()).mkdir("cantilever-user-load.tn5o"));
    TMainForm f;
    f.openFile(path);
    env.prompts.messages.clear();
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.messages.size(), 1);
    const QString message = env.prompts.messages.last();
    QVERIFY2(message.startsWith("The analysis did not complete.\n"), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(env.scratch() + "/cantilever-user-load.tn5o")),
             qPrintable(message));
    QVERIFY(!message.contains("Computations are completed"));
  }

  void droppedFileOpensAfterTheSaveQuestion() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("triangular-surcharges.tn5d"));
    TMainForm f;
    f.startWith({});
    f.project()->SetModified();
    auto drop = [&] {
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile("/elsewhere/second.tn5d")});
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&f, &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&f, &dropEvent);
    };
    env.prompts.answers << Answer::Cancel;
    drop();
    QCOMPARE(QString::fromStdString(f.project()->FileName), QStringLiteral("NewWall.tn5d"));
    env.prompts.answers << Answer::No;
    drop();
    QCOMPARE(QString::fromStdString(f.project()->FileName), path);
    QCOMPARE(env.prompts.questions, (QStringList{kSaveQuestion, kSaveQuestion}));
  }

  void stagedProjectShowsItsStageControls() {
    TestEnvironment env;
    const QString path = env.copyIn(exampleFile("staged.tn4d"));
    QVERIFY(!path.isEmpty());
    TMainForm f;
    f.openFile(path);
    QVERIFY(f.project()->StageCount > 1);
    QCOMPARE(f.findChild<QLabel*>("StatusText")->text(), QStringLiteral("Construction Stage Number: 1"));
    QVERIFY(action(f, "Stage1")->isEnabled());
    QVERIFY(action(f, "Stage1")->isChecked());
    QVERIFY(action(f, "SpeedStage2")->isVisible());
    QVERIFY(!action(f, "CopyPreviousStage")->isEnabled());
    QVERIFY(!action(f, "OptLongTerm")->isEnabled());
    QVERIFY(action(f, "OptStaged")->isChecked());
    for (int k = 1; k <= f.project()->StageCount; ++k)
      QVERIFY(QFileInfo::exists(env.scratch() + QStringLiteral("/staged.st%1").arg(k)));

    action(f, "Stage2")->trigger();
    QCOMPARE(f.project()->CurrentStage, 2);
    QCOMPARE(f.findChild<QLabel*>("StatusText")->text(), QStringLiteral("Construction Stage Number: 2"));
    QVERIFY(action(f, "CopyPreviousStage")->isEnabled());

    TMainForm g;
    g.startWith({});
    QVERIFY(g.findChild<QLabel*>("StatusText")->text().isEmpty());
    QVERIFY(!action(g, "SpeedStage1")->isVisible());
  }

  void windowMenuListsTheOpenWindows() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.showTableEditor("PileSect");
    f.showTableEditor("NewSoil");
    QMenu* windowMenu = nullptr;
    for (QAction* a : f.menuBar()->actions())
      if (a->text() == "&Window") windowMenu = a->menu();
    QVERIFY(windowMenu);
    emit windowMenu->aboutToShow();
    QStringList items;
    for (QAction* a : windowMenu->actions())
      if (!a->isSeparator()) items << a->text();
    QCOMPARE(items, (QStringList{"&Cascade", "&Arrange Icons", "&1 Wall Stiffness", "&2 Soil Layers"}));
    QVERIFY(windowMenu->actions().last()->isChecked());  // the active one is marked
    windowMenu->actions().at(3)->trigger();
    QCOMPARE(f.mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Wall Stiffness"));
  }

  void runIsNotStartedWhenSaveAsIsCancelled() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    action(f, "CompRun")->trigger();
    QCOMPARE(env.prompts.dialogTitles, QStringList{"Save NewWall.tn5d As"});
    QVERIFY(env.prompts.messages.isEmpty());
  }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
