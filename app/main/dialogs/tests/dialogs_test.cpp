// The input dialogs against a project: field limits and their messages, the feet and psf
// display rules of English projects, enabling by the earth-pressure choice, the modified
// flag, refreshing after a unit change, and the coupling of the option switches.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/input_dialogs.h"
#include "app/main/dialogs/option_coupling.h"
#include "app/main/tests/test_support.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"

using tarnel::model::TProgramData;
using namespace tarnel::dialogs;
namespace opt = tarnel::options;

namespace {

// Values written on the first `n` words after the title line of a data file text.
QStringList recordWords(const std::string& text, int line) {
  const QStringList lines = QString::fromStdString(text).split("\r\n");
  return lines.value(line).split(QRegularExpression("[ \\t]+"), Qt::SkipEmptyParts);
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TProgramData> project;
  std::unique_ptr<DialogHub> hub;
  ScriptedPrompts answers;

 private slots:
  void init() {
    project = std::make_unique<TProgramData>();
    project->ClearModified();
    hub = std::make_unique<DialogHub>(nullptr, [this] { return project.get(); });
    answers = ScriptedPrompts();
    setPrompts(&answers);
  }
  void cleanup() {
    hub->closeAll();
    QCoreApplication::processEvents();
    hub.reset();
    setPrompts(nullptr);
  }

  void incrementsAboveLimitShowsMessageAndStores300() {
    hub->showWallProperties();
    QWidget* d = hub->dialog("Wall Properties");
    QVERIFY(d);
    TDataEdit* inc = field(d, "&Increments (nodes)");
    QVERIFY(inc);
    typeAndLeave(inc, "400");
    QCOMPARE(answers.messages.value(0), QString("Entry must be less than or equal to 300"));
    QVERIFY(d->close());
    QCOMPARE(project->Increments, 300);
    QVERIFY(project->IsModified());
  }

  void incrementsShows80BeforeLoading() {
    WallPropertiesDialog d(hub.get());
    QCOMPARE(field(&d, "&Increments")->number(), 80.0L);
  }

  void freeHeightInFeetIsStoredInInches() {
    hub->showWallProperties();
    QWidget* d = hub->dialog("Wall Properties");
    TDataEdit* h = field(d, "Free Height of Wall");
    QCOMPARE(h->labelText(), QString("Free Height of Wall (ft)"));
    typeAndLeave(h, "20");
    QVERIFY(d->close());
    QCOMPARE(project->FreeHeight, 240.0);
    // Wall record: W1 W2 W3 W4 W5 ...; W5 is the free height in inches.
    const QStringList wall = recordWords(project->ProjectText(), 2);
    QCOMPARE(wall.value(4), QString("240"));
    hub->showWallConfiguration();
    QWidget* c = hub->dialog("Wall Configuration");
    QCOMPARE(field(c, "&Free Height of Wall, H")->number(), 20.0L);
  }

  void uniformLoadInPsfIsStoredInPsi() {
    hub->showWallConfiguration();
    QWidget* d = hub->dialog("Wall Configuration");
    TDataEdit* q = field(d, "Uniform Distributed Load");
    QCOMPARE(q->labelText(), QString("Uniform Distributed Load at the top of backfill side  (lbs/ft^2)"));
    typeAndLeave(q, "144");
    QVERIFY(d->close());
    QCOMPARE(project->UniformSurcharge, 1.0);
    const QString text = QString::fromStdString(project->ProjectText());
    // The earth-pressure record carries q after the factor, the switch and the slope.
    QVERIFY2(text.contains(QRegularExpression("(^|\\s)1(\\s|$)")), qPrintable(text));
  }

  void choiceOneDisablesEarthPressureFields() {
    project->EarthPressureChoice = 2;
    hub->showWallConfiguration();
    QWidget* d = hub->dialog("Wall Configuration");
    const QStringList names = {"Uniform Distributed Load", "Slope of the backfill, Beta",
                               "Modification Factor for Active Earth Pressure"};
    for (const QString& n : names) QVERIFY(field(d, n)->isEnabled());
    QVERIFY(opt::setEarthPressureChoice(*project, 1).allowed);
    hub->refreshDialogs();
    for (const QString& n : names) {
      QVERIFY2(!field(d, n)->isEnabled(), qPrintable(n));
      QVERIFY(!field(d, n)->editLabel()->isEnabled());
    }
    QVERIFY(field(d, "&Free Height of Wall, H")->isEnabled());
  }

  void wallConfigurationLimits_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("Wa") << "&Width for Active" << "1300" << "Entry must be less than or equal to 1200";
    QTest::newRow("Wp") << "Width for Generating" << "121" << "Entry must be less than or equal to 120";
    QTest::newRow("beta low") << "Slope of the backfill" << "-50" << "Entry must be greater than or equal to -45";
    QTest::newRow("beta high") << "Slope of the backfill" << "46" << "Entry must be less than or equal to 45";
    QTest::newRow("factor") << "Modification Factor" << "1001" << "Entry must be less than or equal to 1000";
  }
  void wallConfigurationLimits() {
    QFETCH(QString, caption);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    hub->showWallConfiguration();
    TDataEdit* e = field(hub->dialog("Wall Configuration"), caption);
    QVERIFY(e);
    typeAndLeave(e, entry);
    QCOMPARE(answers.messages.value(0), message);
  }

  void invalidEntryKeepsDialogOpenAndStoresNothing() {
    project->MaxDeflection = 100;
    hub->showWallProperties();
    QWidget* d = hub->dialog("Wall Properties");
    TDataEdit* e = field(d, "Maximum Allowable Deflection");
    typeAndLeave(e, "2*(");
    QVERIFY(!answers.messages.isEmpty());
    QVERIFY(!e->isValid());
    QVERIFY(!d->close());
    QCOMPARE(project->MaxDeflection, 100.0);
    e->setText("2*6");
    QVERIFY(d->close());
    QCOMPARE(project->MaxDeflection, 12.0);
  }

  void titleUnchangedLeavesProjectUnmodified() {
    hub->showProjectTitle();
    QVERIFY(hub->dialog("Project Title")->close());
    QVERIFY(!project->IsModified());
    hub->showProjectTitle();
    auto* d = static_cast<ProjectTitleDialog*>(hub->dialog("Project Title"));
    QCOMPARE(d->text()->text(), QString("New Wall"));
    QCOMPARE(d->text()->maxLength(), 80);
    d->text()->setText("Sheet pile at Pier 4");
    QVERIFY(d->close());
    QCOMPARE(project->Title, std::string("Sheet pile at Pier 4"));
    QVERIFY(project->IsModified());
  }

  void unitChangeRelabelsOpenDialogs() {
    project->FreeHeight = 240;
    hub->showWallProperties();
    QWidget* d = hub->dialog("Wall Properties");
    project->SetUnits(2);
    hub->refreshDialogs();
    TDataEdit* h = field(d, "Free Height of Wall");
    QCOMPARE(h->labelText(), QString("Free Height of Wall (m)"));
    QVERIFY(std::abs(double(h->number()) - 240 * 0.0254) < 1e-9);
    QCOMPARE(field(d, "Increment Length")->labelText(), QString("Increment Length (m)"));
  }

  void unitSwitchShowsValuesAsTypedAndKeepsThemExactly() {
    hub->showWallProperties();
    QWidget* d = hub->dialog("Wall Properties");
    typeAndLeave(field(d, "Increment Length"), "6");
    QVERIFY(d->close());
    QCOMPARE(project->IncrementLength, 6.0);
    project->SetUnits(2);
    hub->showWallProperties();
    d = hub->dialog("Wall Properties");
    TDataEdit* length = field(d, "Increment Length");
    QCOMPARE(length->text(), QString("0.1524"));
    // Passing through the field changes nothing: the project keeps the converted value.
    const double converted = project->IncrementLength;
    typeAndLeave(field(d, "Free Height of Wall"), "3");
    length->setFocus();
    field(d, "Maximum Allowable Deflection")->setFocus();
    QVERIFY(d->close());
    QCOMPARE(project->IncrementLength, converted);
    project->SetUnits(1);
    hub->showWallProperties();
    d = hub->dialog("Wall Properties");
    QCOMPARE(field(d, "Increment Length")->text(), QString("6"));
    QCOMPARE(field(d, "Free Height of Wall")->text(), QString("9.8425197"));  // 3 m in feet
  }

  void uncheckingConcentratedLoadsClosesEditorAndStoresOnClose() {
    project->ApplyConcLoads = true;
    hub->showConcentratedLoads();
    auto* d = static_cast<TableDialog*>(hub->dialog("Concentrated Loads"));
    QVERIFY(d->check()->isChecked());
    QVERIFY(d->button()->isEnabled());
    QSignalSpy open(hub.get(), &DialogHub::openTableEditor);
    QSignalSpy close(hub.get(), &DialogHub::closeTableEditor);
    QSignalSpy changed(hub.get(), &DialogHub::projectChanged);
    d->button()->click();
    QCOMPARE(open.value(0).value(0).toString(), QString("BoundCond"));
    d->check()->click();
    QCOMPARE(close.value(0).value(0).toString(), QString("BoundCond"));
    QVERIFY(!d->button()->isEnabled());
    QVERIFY(project->ApplyConcLoads);  // stored on deactivation or close
    QVERIFY(d->close());
    QVERIFY(!project->ApplyConcLoads);
    QVERIFY(project->IsModified());
    QVERIFY(changed.count() >= 1);
  }

  void springsDialogShowsSwitchOnActivation() {
    hub->showSprings();
    auto* d = static_cast<TableDialog*>(hub->dialog("Lateral & Rotational Springs"));
    QVERIFY(!d->check()->isChecked());
    project->ApplySprings = true;  // switched in the Options menu meanwhile
    hub->refreshDialogs();
    QVERIFY(d->check()->isChecked());
    QSignalSpy open(hub.get(), &DialogHub::openTableEditor);
    d->button()->click();
    QCOMPARE(open.value(0).value(0).toString(), QString("SoilStrength"));
  }

  void tableButtonsOpenTheirEditors_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("table");
    QTest::newRow("surcharge") << int(TableDialog::Which::Surcharge) << "SurchargeTable";
    QTest::newRow("tieback") << int(TableDialog::Which::Tieback) << "TiebackTable1";
  }
  void tableButtonsOpenTheirEditors() {
    QFETCH(int, which);
    QFETCH(QString, table);
    TableDialog d(hub.get(), TableDialog::Which(which));
    QSignalSpy open(hub.get(), &DialogHub::openTableEditor);
    d.button()->click();
    QCOMPARE(open.value(0).value(0).toString(), table);
    QVERIFY(!d.check());
  }

  void controlOptionsBrowseTakesExistingFileOnly() {
    QString stored;
    hub->setTextEditorAccess([&] { return stored; }, [&](const QString& s) { stored = s; });
    hub->showControlOptions();
    auto* d = static_cast<ControlOptionsDialog*>(hub->dialog("Control Options"));
    answers.openPaths = QStringList{"/no/such/editor"};
    d->findChild<QPushButton*>()->click();
    QCOMPARE(d->editor()->text(), QString());
    answers.openPaths = QStringList{QCoreApplication::applicationFilePath()};
    d->findChild<QPushButton*>()->click();
    QCOMPARE(stored, QCoreApplication::applicationFilePath());
    d->editor()->setText("/usr/bin/vi");
    QVERIFY(d->close());
    QCOMPARE(stored, QString("/usr/bin/vi"));
  }

  void openingAgainBringsTheSameWindow() {
    hub->showWallProperties();
    QWidget* first = hub->dialog("Wall Properties");
    hub->showWallProperties();
    QCOMPARE(hub->dialog("Wall Properties"), first);
    QVERIFY(first->close());
    QCoreApplication::processEvents();
    hub->showWallProperties();
    QVERIFY(hub->dialog("Wall Properties"));
  }

  void aboutBoxShowsVersion() {
    hub->showAbout();
    QWidget* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "AboutBox" && w->isVisible()) box = w;
    QVERIFY(box);
    QStringList texts;
    for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
    QVERIFY(texts.contains("Version 2015.5.22"));
    QVERIFY(texts.contains("A program for the analysis of flexible retaining structures"));
    QVERIFY(box->isModal());
    box->close();
  }

  // ---- option coupling

  void pyGenerationOffForcesChoiceOneAndExternalCurves() {
    project->EarthPressureChoice = 3;
    project->ApplySurcharge = true;
    project->ApplyTiebacks = true;
    const auto out = opt::setSwitch(*project, opt::Switch::GeneratePY, false);
    QVERIFY(out.allowed);
    QCOMPARE(project->EarthPressureChoice, 1);
    QVERIFY(project->ApplyExtPY);
    QVERIFY(!project->ApplySurcharge);
    QVERIFY(!project->ApplyTiebacks);
    QVERIFY(project->IsModified());
    QVERIFY(out.closedTables.size() >= 2);
    // Choices 2 and 3 and tiebacks need generation.
    QVERIFY(!opt::setEarthPressureChoice(*project, 2).allowed);
    QVERIFY(!opt::setSwitch(*project, opt::Switch::Tiebacks, true).allowed);
    QVERIFY(!project->ApplyTiebacks);
    QVERIFY(opt::setSwitch(*project, opt::Switch::GeneratePY, true).allowed);
    QVERIFY(opt::setEarthPressureChoice(*project, 2).allowed);
    QVERIFY(opt::setSwitch(*project, opt::Switch::Tiebacks, true).allowed);
  }

  void surchargeOnlyWithGeneratedPressure_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("user pressure") << 1 << false;
    QTest::newRow("triangular") << 2 << true;
    QTest::newRow("trapezoidal") << 3 << true;
  }
  void surchargeOnlyWithGeneratedPressure() {
    QFETCH(int, choice);
    QFETCH(bool, allowed);
    QVERIFY(opt::setEarthPressureChoice(*project, choice).allowed);
    QCOMPARE(opt::setSwitch(*project, opt::Switch::Surcharge, true).allowed, allowed);
    QCOMPARE(project->ApplySurcharge, allowed);
    QCOMPARE(opt::surchargeChecked(*project), allowed);
  }

  void choiceOneTurnsSurchargeOff() {
    project->ApplySurcharge = true;
    const auto out = opt::setEarthPressureChoice(*project, 1);
    QVERIFY(!project->ApplySurcharge);
    QCOMPARE(out.closedTables, std::vector<std::string>{"SurchargeTable"});
  }

  void longTermAndStagesExcludeEachOther() {
    project->StageCount = 3;
    QVERIFY(!opt::canToggle(*project, opt::Switch::LongTerm));
    QVERIFY(!opt::setSwitch(*project, opt::Switch::LongTerm, true).allowed);
    QVERIFY(!project->LongTerm);
    project->StageCount = 1;
    QVERIFY(opt::setSwitch(*project, opt::Switch::LongTerm, true).allowed);
    QVERIFY(!opt::canUseStages(*project));
    QVERIFY(opt::setSwitch(*project, opt::Switch::LongTerm, false).allowed);
    QVERIFY(opt::canUseStages(*project));
  }

  void switchingOffReportsTheTableToClose() {
    project->ApplyMEI = true;
    const auto out = opt::toggle(*project, opt::Switch::MEI);
    QVERIFY(!project->ApplyMEI);
    QCOMPARE(out.closedTables, std::vector<std::string>{"MEICurves2"});
    const auto on = opt::toggle(*project, opt::Switch::MEI);
    QVERIFY(on.closedTables.empty());
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
