// Construction stages: the stage dialog, stage files created, rewritten and deleted by the
// dialog's OK, switching and copying stages, Save and Save As joining the stage files,
// opening a staged data file, and a staged project built through the dialogs and run by the
// analysis engine.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/input_dialogs.h"
#include "app/main/dialogs/stage_dialog.h"
#include "app/main/tests/test_support.h"
#include "app/main/stages/stage_manager.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"
#include "app/model/stage_files.h"
#include "app/runner/engine_runner.h"

using tarnel::model::TProgramData;
using namespace tarnel::dialogs;

namespace {

QStringList fileLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromLatin1(f.readAll()).split(QRegularExpression("\r?\n"));
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  return lines;
}

QStringList words(const QString& line) { return line.split(QRegularExpression("[ \\t]+"), Qt::SkipEmptyParts); }

// C8 is the eighth value of the control record (line 2 of a block).
int stageCountOf(const QStringList& block) { return words(block.value(1)).value(7).toInt(); }

// Sections of a staged data file: each starts at line 1 or at a stage heading.
QList<QStringList> sections(const QStringList& lines) {
  QList<QStringList> out;
  for (const QString& l : lines) {
    if (out.isEmpty() || l.contains(" Stage No :")) out.append(QStringList());
    out.last().append(l);
  }
  return out;
}

// Rewrites a staged data file in the 2013 layout: the control record without the tieback
// count C10 and the wall record without W6 (the project has no tiebacks).
bool writeOlderLayout(const QString& from, const QString& to) {
  QStringList old;
  for (const QStringList& sec : sections(fileLines(from))) {
    QStringList s = sec;
    QStringList c = words(s[1]);
    c.removeLast();
    s[1] = c.join(' ');
    QStringList w = words(s[2]);
    w.removeLast();
    s[2] = w.join(' ');
    old << s;
  }
  QFile f(to);
  if (!f.open(QIODevice::WriteOnly)) return false;
  f.write(old.join("\r\n").toLatin1() + "\r\n");
  return true;
}

struct ResultsBlock {
  int kind = 0;
  int rows = 0;
  double maxAbsDeflection = 0;
};

// Walks the plot-data file block by block: earth pressure (n, then n rows of 4), p-y curves
// (units, N, then per curve two numbers and 2 x count points), results (kind, m, units,
// then m rows of 5).
QList<ResultsBlock> resultsBlocks(const QString& plotFile) {
  QFile f(plotFile);
  QList<ResultsBlock> out;
  if (!f.open(QIODevice::ReadOnly)) return out;
  const QStringList tok = QString::fromLatin1(f.readAll()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
  qsizetype i = 0;
  auto next = [&]() -> double { return i < tok.size() ? tok[i++].toDouble() : std::nan(""); };
  while (i < tok.size()) {
    const int n = int(next());
    i += 4 * qsizetype(n);
    next();  // units code
    const int curves = int(next());
    for (int c = 0; c < curves && i < tok.size(); ++c) {
      next();
      const int points = int(next());
      i += 2 * qsizetype(points);
    }
    ResultsBlock b;
    b.kind = int(next());
    b.rows = int(next());
    next();
    for (int r = 0; r < b.rows && i < tok.size(); ++r) {
      next();
      b.maxAbsDeflection = std::max(b.maxAbsDeflection, std::abs(next()));
      next();
      next();
      next();
    }
    out.append(b);
  }
  return out;
}

}  // namespace

class StagesTest : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<TProgramData> project;
  std::unique_ptr<StageManager> stages;
  std::unique_ptr<DialogHub> hub;
  ScriptedPrompts answers;

  QString path(const QString& name) const { return dir->filePath(name); }

  // A project with a title and a few values, named wall.tn5d in the temporary folder.
  void makeProject() {
    project->Title = "Pier 4 cofferdam";
    project->Increments = 40;
    project->IncrementLength = 6;
    project->FileName = path("wall.tn5d").toStdString();
    project->ClearModified();
  }

  // Opens the stage dialog and confirms `n` stages, the way a user does.
  void setStagesThroughDialog(int n) {
    hub->showStages();
    auto* d = static_cast<StageDialog*>(hub->dialog("Staged Construction Options"));
    QVERIFY(d);
    QVERIFY(d->isModal());
    if (!d->check()->isChecked()) d->check()->click();
    typeAndLeave(d->count(), QString::number(n));
    d->accept();
    QCoreApplication::processEvents();
  }

 private slots:
  void init() {
    dir = std::make_unique<QTemporaryDir>();
    project = std::make_unique<TProgramData>();
    stages = std::make_unique<StageManager>([this] { return project.get(); }, nullptr);
    hub = std::make_unique<DialogHub>(nullptr, [this] { return project.get(); });
    hub->setStageManager(stages.get());
    answers = ScriptedPrompts();
    setPrompts(&answers);
    makeProject();
  }
  void cleanup() {
    hub->closeAll();
    QCoreApplication::processEvents();
    hub.reset();
    setPrompts(nullptr);
  }

  void stageDialogFieldFollowsCheckBoxAndArrows() {
    hub->showStagesNonModal();
    auto* d = static_cast<StageDialog*>(hub->dialog("Staged Construction Options"));
    QVERIFY(!d->isModal());
    QVERIFY(!d->check()->isChecked());
    QVERIFY(!d->count()->isEnabled());
    QCOMPARE(d->count()->number(), 1.0L);
    d->check()->click();
    QCOMPARE(d->count()->number(), 2.0L);
    QVERIFY(d->count()->isEnabled() && d->up()->isEnabled() && d->down()->isEnabled());
    for (int i = 0; i < 5; ++i) d->up()->click();
    QCOMPARE(d->count()->number(), 5.0L);
    for (int i = 0; i < 5; ++i) d->down()->click();
    QCOMPARE(d->count()->number(), 2.0L);
    d->check()->click();
    QCOMPARE(d->count()->number(), 1.0L);
    QVERIFY(!d->up()->isEnabled());
    d->reject();  // Cancel: no change
    QCOMPARE(project->StageCount, 1);
    QVERIFY(!QFile::exists(stages->stageFile(1)));
  }

  void raisingOneToThreeCreatesThreeStageFiles() {
    QSignalSpy changed(stages.get(), &StageManager::stagesChanged);
    setStagesThroughDialog(3);
    QCOMPARE(project->StageCount, 3);
    QCOMPARE(project->CurrentStage, 1);
    QVERIFY(project->IsModified());
    QVERIFY(changed.count() >= 1);
    QCOMPARE(stages->statusText(), QString("Construction Stage Number: 1"));
    for (int k = 1; k <= 3; ++k) {
      const QStringList lines = fileLines(stages->stageFile(k));
      QVERIFY2(!lines.isEmpty(), qPrintable(stages->stageFile(k)));
      QCOMPARE(lines.first(), k == 1 ? QString("Pier 4 cofferdam") : QString(" Stage No : %1").arg(k));
      QCOMPARE(stageCountOf(lines), 3);
      QCOMPARE(lines.last().trimmed(), QString::number(k));
      // Identical data apart from heading and terminator.
      QCOMPARE(lines.mid(1, lines.size() - 2), fileLines(stages->stageFile(1)).mid(1, lines.size() - 2));
    }
    QVERIFY(!QFile::exists(stages->stageFile(4)));
    QCOMPARE(project->Title, std::string("Pier 4 cofferdam"));
  }

  void loweringFourToTwoRewritesTwoAndDeletesTwo() {
    stages->setStageCount(4);
    stages->switchToStage(3);
    QCOMPARE(project->CurrentStage, 3);
    stages->setStageCount(2);
    QCOMPARE(project->CurrentStage, 1);
    for (int k = 1; k <= 2; ++k) QCOMPARE(stageCountOf(fileLines(stages->stageFile(k))), 2);
    QVERIFY(!QFile::exists(stages->stageFile(3)));
    QVERIFY(!QFile::exists(stages->stageFile(4)));
  }

  void backToOneStageDeletesEveryStageFile() {
    stages->setStageCount(3);
    stages->setStageCount(1);
    QCOMPARE(project->StageCount, 1);
    for (int k = 1; k <= 5; ++k) QVERIFY(!QFile::exists(stages->stageFile(k)));
    QCOMPARE(stages->statusText(), QString());
  }

  void switchingKeepsTheModifiedFlagAndTheStagesApart() {
    stages->setStageCount(2);
    project->ClearModified();
    stages->switchToStage(2);
    QCOMPARE(project->CurrentStage, 2);
    QVERIFY(!project->IsModified());
    QCOMPARE(project->Title, std::string(" Stage No : 2"));
    project->FreeHeight = 96;  // deeper excavation in stage 2
    project->SetModified();
    stages->switchToStage(1);
    QVERIFY(project->IsModified());
    QCOMPARE(project->FreeHeight, 0.0);
    QCOMPARE(project->Title, std::string("Pier 4 cofferdam"));
    stages->switchToStage(2);
    QCOMPARE(project->FreeHeight, 96.0);
    QCOMPARE(stages->statusText(), QString("Construction Stage Number: 2"));
    // Switching to the stage on screen does nothing.
    QSignalSpy changed(stages.get(), &StageManager::stagesChanged);
    stages->switchToStage(2);
    QCOMPARE(changed.count(), 0);
  }

  void aStageThatCannotBeWrittenIsNotLeft() {
    project->FileName = path("missing-folder/wall.tn5d").toStdString();
    project->StageCount = 2;
    project->FreeHeight = 72;
    stages->switchToStage(2);
    QCOMPARE(answers.messages.size(), 1);  // the write failure, shown to the user
    QCOMPARE(project->CurrentStage, 1);     // the edits on screen stay where they are
    QCOMPARE(project->FreeHeight, 72.0);
    QVERIFY(!stages->save());
  }

  void copyPreviousStageAsksAndCopies() {
    stages->setStageCount(2);
    project->FreeHeight = 60;
    stages->switchToStage(2);
    project->FreeHeight = 120;
    answers.answers = {UserPrompts::Answer::No};
    QVERIFY(!stages->copyPreviousStage());
    QCOMPARE(answers.questions.value(0), QString("Do you want to copy all information from Stage 1 to Stage 2"));
    QCOMPARE(project->FreeHeight, 120.0);
    answers.answers = {UserPrompts::Answer::Yes};
    QVERIFY(stages->copyPreviousStage());
    QCOMPARE(project->FreeHeight, 60.0);
    QCOMPARE(project->Title, std::string(" Stage No : 2"));
    const QStringList st2 = fileLines(stages->stageFile(2));
    QCOMPARE(st2.first(), QString(" Stage No : 2"));
    QCOMPARE(st2.last().trimmed(), QString("2"));
  }

  void savingJoinsSectionsEndingOneToN() {
    stages->setStageCount(3);
    QVERIFY(stages->save());
    QVERIFY(!project->IsModified());
    const QList<QStringList> secs = sections(fileLines(path("wall.tn5d")));
    QCOMPARE(secs.size(), 3);
    QCOMPARE(secs[0].first(), QString("Pier 4 cofferdam"));
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(secs[k].last().trimmed(), QString::number(k + 1));
      QCOMPARE(stageCountOf(secs[k]), 3);
    }
  }

  void saveAsMovesTheStageFiles() {
    stages->setStageCount(2);
    const QString oldSt1 = stages->stageFile(1);
    QVERIFY(stages->saveAs(path("renamed.tn5d")));
    QCOMPARE(QString::fromStdString(project->FileName), path("renamed.tn5d"));
    QVERIFY(!QFile::exists(oldSt1));
    QVERIFY(QFile::exists(path("renamed.st1")));
    QVERIFY(QFile::exists(path("renamed.st2")));
    QCOMPARE(sections(fileLines(path("renamed.tn5d"))).size(), 2);
  }

  void openingAStagedFileSplitsIt() {
    stages->setStageCount(3);
    project->FreeHeight = 48;
    stages->switchToStage(3);
    project->FreeHeight = 144;
    QVERIFY(stages->save());
    tarnel::model::DeleteStageFiles(project->FileName);
    project = std::make_unique<TProgramData>();
    QVERIFY(project->CreateFromFile(path("wall.tn5d").toStdString(), 1).ok);
    QCOMPARE(project->StageCount, 3);
    QVERIFY(stages->openStaged(1));
    QCOMPARE(project->CurrentStage, 1);
    QCOMPARE(project->FreeHeight, 48.0);
    for (int k = 1; k <= 3; ++k) QVERIFY(QFile::exists(stages->stageFile(k)));
    stages->switchToStage(3);
    QCOMPARE(project->FreeHeight, 144.0);
  }

  void openingAnOlderStagedFileConvertsIt() {
    // A staged file of the 2013 layout: control record without the tieback count, wall
    // record of five values. Built from the current layout by dropping those values.
    stages->setStageCount(2);
    QVERIFY(stages->save());
    QVERIFY(writeOlderLayout(path("wall.tn5d"), path("old.tn4d")));
    project = std::make_unique<TProgramData>();
    QVERIFY(project->CreateFromFile(path("old.tn4d").toStdString(), 2).ok);
    QCOMPARE(project->StageCount, 2);
    QVERIFY(stages->openStaged(2));
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join("\n")));
    for (int k = 1; k <= 2; ++k) {
      const QStringList st = fileLines(stages->stageFile(k));
      QCOMPARE(words(st.value(1)).size(), 10);  // current layout again
      QCOMPARE(st.last().trimmed(), QString::number(k));
    }
    QCOMPARE(project->Increments, 40);
  }

 private:
  // A sheet-pile wall in sand excavated in three stages (6, 10 and 14 ft), built through the
  // dialogs and the table editors' cell entry and saved as wall.tn5d.
  void buildStagedSandWall() {
    hub->showWallProperties();
    QWidget* wp = hub->dialog("Wall Properties");
    typeAndLeave(field(wp, "&Increments"), "60");
    typeAndLeave(field(wp, "Increment Length"), "6");
    typeAndLeave(field(wp, "Maximum Allowable Deflection"), "10");
    QVERIFY(wp->close());
    QCOMPARE(project->Increments, 60);

    // Wall stiffness and one sand layer, entered the way the table editors store cells.
    auto& ei = project->PileSect();
    QVERIFY(!ei.SetText(0, 0, "0"));
    QVERIFY(!ei.SetText(1, 0, "60"));
    QVERIFY(!ei.SetText(2, 0, "1"));
    QVERIFY(!ei.SetText(3, 0, "2.9e10"));
    auto& soil = project->NewSoil();
    QVERIFY(!soil.SetText(0, 0, "4"));
    QVERIFY(!soil.SetText(1, 0, "40"));
    auto& sand = soil.SubTable(2, 0);
    for (int r = 0; r < 2; ++r) {
      QVERIFY(!sand.SetText(0, r, "120"));
      QVERIFY(!sand.SetText(1, r, "32"));
      QVERIFY(!sand.SetText(2, r, "90"));
      QVERIFY(!sand.SetText(3, r, "0"));
    }

    auto configure = [&](const QString& height) {
      hub->showWallConfiguration();
      QWidget* wc = hub->dialog("Wall Configuration");
      typeAndLeave(field(wc, "&Free Height of Wall, H"), height);
      typeAndLeave(field(wc, "&Width for Active"), "24");
      typeAndLeave(field(wc, "Width for Generating"), "24");
      typeAndLeave(field(wc, "&Depth to the Water Table in backfill"), "50");
      typeAndLeave(field(wc, "&Depth to the Water Table in excavation"), "50");
      QVERIFY(wc->close());
      QCoreApplication::processEvents();
    };
    configure("6");
    setStagesThroughDialog(3);
    QCOMPARE(project->StageCount, 3);
    stages->switchToStage(2);
    configure("10");
    stages->switchToStage(3);
    configure("14");
    QCOMPARE(project->FreeHeight, 14 * 12.0);
    QVERIFY(stages->save());
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join("\n")));
  }

  QList<ResultsBlock> analyse(const QString& dataFile) {
    tarnel::runner::EngineRunner runner(QCoreApplication::applicationDirPath());
    const auto run = runner.run(dataFile);
    if (!run.ok) qWarning() << run.error;
    return run.ok ? resultsBlocks(run.plotPath) : QList<ResultsBlock>();
  }

 private slots:
  // One results block of the staged kind per stage; the wall deflects more as the
  // excavation deepens.
  void stagedProjectBuiltThroughDialogsRunsThroughTheEngine() {
    buildStagedSandWall();
    if (QTest::currentTestFailed()) return;
    const QList<ResultsBlock> blocks = analyse(path("wall.tn5d"));
    QCOMPARE(blocks.size(), 3);
    for (const ResultsBlock& b : blocks) {
      QCOMPARE(b.kind, 3);
      QCOMPARE(b.rows, 62);
    }
    QVERIFY(blocks[0].maxAbsDeflection > 0);
    QVERIFY(blocks[1].maxAbsDeflection > blocks[0].maxAbsDeflection);
    QVERIFY(blocks[2].maxAbsDeflection > blocks[1].maxAbsDeflection);
  }

  // The same project in the 2013 layout: opened, split, converted, saved under the current
  // layout and analysed, it gives the same results as the original.
  void olderStagedFileConvertsAndRunsThroughTheEngine() {
    buildStagedSandWall();
    if (QTest::currentTestFailed()) return;
    const QList<ResultsBlock> original = analyse(path("wall.tn5d"));
    QCOMPARE(original.size(), 3);
    QVERIFY(writeOlderLayout(path("wall.tn5d"), path("old.tn4d")));

    project = std::make_unique<TProgramData>();
    QVERIFY(project->CreateFromFile(path("old.tn4d").toStdString(), 2).ok);
    QCOMPARE(project->StageCount, 3);
    QVERIFY(stages->openStaged(2));
    QCOMPARE(project->FreeHeight, 6 * 12.0);
    QVERIFY(stages->saveAs(path("converted.tn5d")));
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join("\n")));
    const QList<ResultsBlock> converted = analyse(path("converted.tn5d"));
    QCOMPARE(converted.size(), 3);
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(converted[k].kind, 3);
      QVERIFY(std::abs(converted[k].maxAbsDeflection - original[k].maxAbsDeflection) <=
              1e-6 * original[k].maxAbsDeflection);
    }
  }
};

QTEST_MAIN(StagesTest)
#include "stages_test.moc"
