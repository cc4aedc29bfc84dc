// The 3-D View as the user drives it: its commands in the main window's menu and tool bar
// (shown only while it is open), the display switches rebuilding the model, Zoom In, Zoom
// Out, a zero-size zoom window, Restart View, the Deformed Shape command enabled only once a
// run has filled the deflection chart, and the Deformed Shape dialog (enabling, stepping,
// typed factors). Runs offscreen: where no OpenGL context can be made the view shows its
// message and the commands still work on the view state.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/main/tests/scripted_prompts.h"
#include "app/model/program_data.h"
#include "app/results/deformed_shape_dialog.h"
#include "app/results/dlg_block.h"
#include "app/results/picture_3d.h"
#include "app/results/result_charts.h"
#include "app/results/view3d_command.h"
#include "app/results/view3d_commands.h"
#include "app/runner/engine_runner.h"

using namespace tarnel::view3d;
using tarnel::model::TProgramData;

namespace {

std::unique_ptr<TProgramData> Example(const QString& folder, const QString& name) {
  const QString data = folder + QLatin1Char('/') + name;
  QFile::copy(QStringLiteral(TARNEL_EXAMPLES_DIR) + QLatin1Char('/') + name, data);
  auto p = std::make_unique<TProgramData>();
  p->CreateFromFile(data.toStdString(), tarnel::model::kLayoutTn5d);
  return p;
}

int SoilBlocks(const BlockModel& m) {
  return static_cast<int>(
      std::count_if(m.blocks.begin(), m.blocks.end(), [](const Block& b) { return b.element == Element::Soil; }));
}

}  // namespace

class View3DTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void commandsShownOnlyWhileOpen();
  void switchesRebuildTheModel();
  void zoomInZoomOutAndRestart();
  void zeroSizeZoomWindowChangesNothing();
  void toolButtonsAreARadioGroup();
  void deformedShapeDisabledBeforeARunAndEnabledAfter();
  void dialogEnablingAndSettings();
  void dialogStepsAndTypedFactors();
  void noOpenGLShowsAMessage();
  void replacedProjectIsNeverRead();
  void commandLineRefusesBadInput_data();
  void commandLineRefusesBadInput();

 private:
  QTemporaryDir work_;
  ScriptedPrompts prompts_;
  std::unique_ptr<TProgramData> project_;
  ResultCharts charts_;
  std::unique_ptr<QWidget> window_;
  QMdiArea* mdi_ = nullptr;
  QMenu* menu_ = nullptr;
  QToolBar* bar_ = nullptr;
  View3DCommands* commands_ = nullptr;
};

void View3DTest::init() {
  setPrompts(&prompts_);
  prompts_.messages.clear();
  project_ = Example(work_.path(), QStringLiteral("triangular-surcharges.tn5d"));
  window_ = std::make_unique<QWidget>();
  mdi_ = new QMdiArea(window_.get());
  mdi_->resize(1000, 800);
  menu_ = new QMenu(QStringLiteral("Show 3DView"), window_.get());
  bar_ = new QToolBar(window_.get());
  commands_ = new View3DCommands(mdi_, [this] { return project_.get(); },
                                 [this]() -> const TGraphPlot* { return &charts_.pltDef(); }, window_.get());
  commands_->addMenuItems(menu_);
  commands_->addToolButtons(bar_);
  window_->show();
}

void View3DTest::cleanup() {
  window_.reset();
  setPrompts(nullptr);
}

void View3DTest::commandsShownOnlyWhileOpen() {
  QVERIFY(!commands_->isOpen());
  QVERIFY(!menu_->menuAction()->isVisible());
  for (QAction* a : commands_->toolButtons()) QVERIFY(!a->isVisible());
  QCOMPARE(menu_->actions().size(), 11);  // nine switches, a separator, Deformed Shape
  QCOMPARE(commands_->switchAction(Switch::Tiebacks)->text(), QStringLiteral("Tie Backs"));
  QCOMPARE(commands_->switchAction(Switch::Tiebacks)->objectName(), QStringLiteral("TieBacks1"));
  TDlgBlock* view = commands_->open();
  QVERIFY(view);
  QCOMPARE(view->windowTitle(), QStringLiteral("3-D View"));
  QVERIFY(menu_->menuAction()->isVisible());
  for (QAction* a : commands_->toolButtons()) QVERIFY(a->isVisible());
  for (QAction* a : menu_->actions())
    if (a->isCheckable()) QVERIFY(a->isChecked());
  // A second request brings the same window forward.
  QCOMPARE(commands_->open(), view);
  QCOMPARE(mdi_->subWindowList().size(), 1);
  mdi_->closeAllSubWindows();
  QTRY_VERIFY(!commands_->isOpen());
  QVERIFY(!menu_->menuAction()->isVisible());
  for (QAction* a : commands_->toolButtons()) QVERIFY(!a->isVisible());
}

void View3DTest::switchesRebuildTheModel() {
  TDlgBlock* view = commands_->open();
  QCOMPARE(SoilBlocks(view->model()), 4);
  commands_->switchAction(Switch::SoilLayers)->trigger();
  QVERIFY(!view->switches()[Switch::SoilLayers]);
  QCOMPARE(SoilBlocks(view->model()), 0);
  commands_->updateCommands();
  QVERIFY(!commands_->switchAction(Switch::SoilLayers)->isChecked());
  commands_->switchAction(Switch::SoilLayers)->trigger();
  QCOMPARE(SoilBlocks(view->model()), 4);
}

void View3DTest::zoomInZoomOutAndRestart() {
  TDlgBlock* view = commands_->open();
  QAction* in = bar_->findChild<QAction*>(QStringLiteral("SpeedButton24"));
  QAction* out = bar_->findChild<QAction*>(QStringLiteral("SpeedButton25"));
  QAction* restart = bar_->findChild<QAction*>(QStringLiteral("SpeedButton26"));
  QVERIFY(in && out && restart);
  in->trigger();
  QCOMPARE(view->view().zoom, 1.4142);
  out->trigger();
  QVERIFY(std::abs(view->view().zoom - 1) < 1e-12);
  in->trigger();
  QVERIFY(view->zoomWindow(QRect(QPoint(10, 10), QSize(100, 60))));
  QVERIFY(view->view().pan != QVector3D());
  restart->trigger();
  QCOMPARE(view->view().zoom, 1.0);
  QCOMPARE(view->view().pan, QVector3D());
  QCOMPARE(view->view().angles, QVector3D());
  QVERIFY(view->initialScale() > 0);
}

void View3DTest::zeroSizeZoomWindowChangesNothing() {
  TDlgBlock* view = commands_->open();
  const ViewState before = view->view();
  QVERIFY(!view->zoomWindow(QRect(QPoint(50, 50), QSize(0, 40))));
  QVERIFY(!view->zoomWindow(QRect(QPoint(50, 50), QSize(40, 0))));
  QCOMPARE(view->view().zoom, before.zoom);
  QCOMPARE(view->view().pan, before.pan);
}

void View3DTest::toolButtonsAreARadioGroup() {
  TDlgBlock* view = commands_->open();
  QAction* pan = bar_->findChild<QAction*>(QStringLiteral("SpeedButton20"));
  QAction* rotate = bar_->findChild<QAction*>(QStringLiteral("SpeedButton23"));
  QAction* window = bar_->findChild<QAction*>(QStringLiteral("SpeedButton21"));
  QVERIFY(rotate->isChecked());
  pan->trigger();
  QCOMPARE(view->view().tool, MouseTool::Pan);
  QVERIFY(pan->isChecked() && !rotate->isChecked());
  window->trigger();
  QCOMPARE(view->view().tool, MouseTool::ZoomWindow);
  QVERIFY(!pan->isChecked());
  QCOMPARE(window->toolTip(), QStringLiteral("Zoom Window"));
}

void View3DTest::deformedShapeDisabledBeforeARunAndEnabledAfter() {
  commands_->open();
  commands_->updateCommands();
  QVERIFY(!commands_->deformedMenuAction()->isEnabled());
  QVERIFY(!commands_->deformedButton()->isEnabled());
  const tarnel::runner::EngineRunner runner(QStringLiteral(TARNEL_ENGINE_DIR));
  const auto run = runner.run(QString::fromStdString(project_->FileName));
  QVERIFY2(run.ok, qPrintable(run.error));
  QVERIFY(charts_.LoadPlotFile(run.plotPath, *project_));
  commands_->refresh();
  QVERIFY(commands_->deformedMenuAction()->isEnabled());
  QVERIFY(commands_->deformedButton()->isEnabled());
  commands_->deformedMenuAction()->trigger();
  QVERIFY(commands_->view()->deformedShapeDialog());
  QCOMPARE(commands_->view()->deformedShapeDialog()->windowTitle(), QStringLiteral("Deformed Shape"));
}

void View3DTest::dialogEnablingAndSettings() {
  TDlgBlock* view = commands_->open();
  TDlgDeformedShape* d = view->showDeformedShape();
  QCOMPARE(view->showDeformedShape(), d);  // made once, brought forward afterwards
  QVERIFY(!d->deformedBox()->isChecked());
  QVERIFY(!d->undeformedBox()->isChecked());
  QCOMPARE(d->factorEdit()->text(), QStringLiteral("1"));
  QVERIFY(!d->undeformedBox()->isEnabled());
  QVERIFY(!d->factorEdit()->isEnabled());
  QVERIFY(!d->upButton()->isEnabled());
  d->deformedBox()->click();
  QVERIFY(view->deformed().showDeformed);
  QVERIFY(d->undeformedBox()->isEnabled() && d->factorEdit()->isEnabled() && d->upButton()->isEnabled());
  d->undeformedBox()->click();
  QVERIFY(view->deformed().showUndeformed);
  // The settings outlive the dialog.
  d->close();
  QTRY_VERIFY(!view->deformedShapeDialog());
  TDlgDeformedShape* again = view->showDeformedShape();
  QVERIFY(again->deformedBox()->isChecked() && again->undeformedBox()->isChecked());
  // Without a run the wall stays straight and filled even with the deformed shape on.
  const auto& blocks = view->model().blocks;
  QVERIFY(std::any_of(blocks.begin(), blocks.end(),
                      [](const Block& b) { return b.element == Element::Wall && b.filled; }));
}

void View3DTest::dialogStepsAndTypedFactors() {
  TDlgBlock* view = commands_->open();
  TDlgDeformedShape* d = view->showDeformedShape();
  d->deformedBox()->click();
  d->upButton()->click();
  QCOMPARE(view->deformed().factor, 2.0);
  QCOMPARE(d->factorEdit()->text(), QStringLiteral("2"));
  QTest::keyClicks(d->factorEdit(), QString());  // focus
  d->factorEdit()->selectAll();
  QTest::keyClicks(d->factorEdit(), QStringLiteral("2.5"));
  QCOMPARE(view->deformed().factor, 2.5);
  d->upButton()->click();
  QCOMPARE(view->deformed().factor, 3.0);
  d->factorEdit()->selectAll();
  QTest::keyClicks(d->factorEdit(), QStringLiteral("2.5"));
  d->downButton()->click();
  QCOMPARE(view->deformed().factor, 1.0);
  d->downButton()->click();
  QCOMPARE(d->factorEdit()->text(), QStringLiteral("0.9"));
  // Empty text changes nothing; text that is no number is refused at the end of the entry.
  d->factorEdit()->selectAll();
  QTest::keyClick(d->factorEdit(), Qt::Key_Delete);
  QCOMPARE(view->deformed().factor, 0.9);
  QTest::keyClicks(d->factorEdit(), QStringLiteral("abc"));
  QCOMPARE(view->deformed().factor, 0.9);
  QTest::keyClick(d->factorEdit(), Qt::Key_Return);
  QCOMPARE(prompts_.messages.size(), 1);
  QCOMPARE(d->factorEdit()->text(), QStringLiteral("0.9"));
  QCOMPARE(view->deformed().factor, 0.9);
}

void View3DTest::noOpenGLShowsAMessage() {
  TDlgBlock* view = commands_->open();
  if (view->hasOpenGL()) QSKIP("this display has OpenGL: the message is not shown");
  auto* label = view->findChild<QLabel*>(QStringLiteral("NoOpenGL"));
  QVERIFY(label);
  QCOMPARE(label->text(), NoOpenGLMessage());
  QString error;
  Picture3DOptions o;
  o.pixels = QSize(64, 64);
  // A window-less platform may still draw pictures offscreen through the X display.
  if (!Render3DPicture(*project_, nullptr, o, &error).isNull()) return;
  QCOMPARE(error, NoOpenGLMessage());
  // The command line says so and ends with its own exit code.
  const QStringList args{QString::fromStdString(project_->FileName), "--view", "3d", "--out",
                         work_.filePath(QStringLiteral("no-gl.png"))};
  QCOMPARE(RunView3DCommand(args), 4);
  QVERIFY(!QFileInfo::exists(work_.filePath(QStringLiteral("no-gl.png"))));
}

void View3DTest::replacedProjectIsNeverRead() {
  TDlgBlock* view = commands_->open();
  QCOMPARE(SoilBlocks(view->model()), 4);
  // New replaces the project: the view reads the new one on its next rebuild.
  project_ = std::make_unique<TProgramData>();
  commands_->refresh();
  QCOMPARE(SoilBlocks(view->model()), 0);
  QCOMPARE(view->model().extent.wallLength, 0.0);
  QVERIFY(view->initialScale() > 0);
}

void View3DTest::commandLineRefusesBadInput_data() {
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<int>("code");
  const QString data = work_.filePath(QStringLiteral("triangular-surcharges.tn5d"));
  const QString png = work_.filePath(QStringLiteral("out.png"));
  QTest::newRow("no data file") << QStringList{"--view", "3d", "--out", png} << 1;
  QTest::newRow("no out") << QStringList{data, "--view", "3d"} << 1;
  QTest::newRow("svg") << QStringList{data, "--view", "3d", "--out", "x.svg"} << 1;
  QTest::newRow("two angles") << QStringList{data, "--view", "3d", "--out", png, "--angles", "1,2"} << 1;
  QTest::newRow("angle text") << QStringList{data, "--view", "3d", "--out", png, "--angles", "a,b,c"} << 1;
  QTest::newRow("factor text") << QStringList{data, "--view", "3d", "--out", png, "--deformed", "big"} << 1;
  QTest::newRow("ppi fraction") << QStringList{data, "--view", "3d", "--out", png, "--ppi", "72.5"} << 1;
  QTest::newRow("huge") << QStringList{data, "--view", "3d", "--out", png, "--width", "100", "--height", "100",
                                       "--ppi", "2400"}
                        << 1;
  QTest::newRow("unknown option") << QStringList{data, "--view", "3d", "--out", png, "--colour", "red"} << 1;
  QTest::newRow("missing file") << QStringList{work_.filePath("none.tn5d"), "--view", "3d", "--out", png} << 2;
  const QString unrun = work_.filePath(QStringLiteral("never-run.tn5d"));
  QFile::copy(data, unrun);
  QTest::newRow("deformed without a run")
      << QStringList{unrun, "--view", "3d", "--out", png, "--deformed", "10"} << 2;
  QTest::newRow("help") << QStringList{"--view", "3d", "--help"} << 0;
}

void View3DTest::commandLineRefusesBadInput() {
  QFETCH(QStringList, args);
  QFETCH(int, code);
  QVERIFY(IsView3DCommand(args));
  QCOMPARE(RunView3DCommand(args), code);
  QVERIFY(!IsView3DCommand(QStringList{"x.tn5p", "--chart", "moment"}));
}

QTEST_MAIN(View3DTest)
#include "view3d_test.moc"
