// Pictures of the 3-D View for the eye: every bundled example after a run, and the deformed
// wall at two factors with the undeformed outline, drawn offscreen through OpenGL and written
// to TARNEL_SCREENSHOT_DIR/view3d. Needs a display with OpenGL (xvfb-run with Mesa); where
// none can be made the test says so and checks that the failure is reported, not a crash.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/model/program_data.h"
#include "app/results/deformed_shape_dialog.h"
#include "app/results/dlg_block.h"
#include "app/results/draw_lists.h"
#include "app/results/picture_3d.h"
#include "app/results/result_charts.h"
#include "app/results/view3d_command.h"
#include "app/runner/engine_runner.h"

using namespace tarnel::view3d;
using tarnel::model::TProgramData;

namespace {

QString ShotDir() {
  const QByteArray env = qgetenv("TARNEL_SCREENSHOT_DIR");
  const QString dir = (env.isEmpty() ? QStringLiteral(TARNEL_SCREENSHOT_DIR) : QString::fromLocal8Bit(env)) +
                      QStringLiteral("/view3d");
  QDir().mkpath(dir);
  return dir;
}

// The example copied into `folder`, run through the engine and read with its plot file.
bool RunExample(const QString& name, const QString& folder, TProgramData& project, ResultCharts& charts) {
  const QString data = folder + QLatin1Char('/') + name;
  QFile::copy(QStringLiteral(TARNEL_EXAMPLES_DIR) + QLatin1Char('/') + name, data);
  const tarnel::runner::EngineRunner runner(QStringLiteral(TARNEL_ENGINE_DIR));
  const auto run = runner.run(data);
  if (!project.CreateFromFile(data.toStdString(), tarnel::model::kLayoutTn5d)) return false;
  return run.ok && charts.LoadPlotFile(run.plotPath, project);
}

}  // namespace

class View3DScreenshotTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void everyExample_data();
  void everyExample();
  void deformedShapeAtTwoFactors();
  void picturesShowTheBlendedColours();
  void windowDraggedWithTheMouse();
  void commandLinePictures();

 private:
  bool gl_ = false;
  QTemporaryDir work_;
};

void View3DScreenshotTest::initTestCase() {
  TProgramData p;
  QString error;
  Picture3DOptions small;
  small.pixels = QSize(64, 64);
  gl_ = !Render3DPicture(p, nullptr, small, &error).isNull();
  if (!gl_) {
    QCOMPARE(error, NoOpenGLMessage());
    qWarning("No OpenGL context on this display: the 3D pictures are not made");
  }
}

void View3DScreenshotTest::everyExample_data() {
  QTest::addColumn<QString>("name");
  const QStringList names = QDir(QStringLiteral(TARNEL_EXAMPLES_DIR)).entryList({QStringLiteral("*.tn5d")});
  for (const QString& n : names) QTest::newRow(n.toLatin1().constData()) << n;
}

void View3DScreenshotTest::everyExample() {
  QFETCH(QString, name);
  if (!gl_) QSKIP("no OpenGL on this display");
  TProgramData project;
  ResultCharts charts;
  QVERIFY(RunExample(name, work_.path(), project, charts));
  Picture3DOptions o;
  o.pixels = QSize(1200, 800);
  // From above the backfill, which holds the tiebacks and the surcharges; the whole model
  // in the frame.
  o.angles = QVector3D(25, 0, 40);
  o.zoom = 0.6;
  const QString path = ShotDir() + QLatin1Char('/') + QFileInfo(name).completeBaseName() + QStringLiteral(".png");
  QString error;
  QVERIFY2(Write3DPicture(project, &charts.pltDef(), o, path, &error), qPrintable(error));
  const QImage shot(path);
  QCOMPARE(shot.size(), o.pixels);
  // White background, and the wall's grays somewhere in the middle of the picture.
  QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::white));
  int nonWhite = 0;
  for (int y = 0; y < shot.height(); y += 8)
    for (int x = 0; x < shot.width(); x += 8) nonWhite += shot.pixel(x, y) != qRgb(255, 255, 255);
  QVERIFY(nonWhite > 100);
}

void View3DScreenshotTest::deformedShapeAtTwoFactors() {
  if (!gl_) QSKIP("no OpenGL on this display");
  TProgramData project;
  ResultCharts charts;
  QVERIFY(RunExample(QStringLiteral("cantilever-sand-water.tn5d"), work_.path(), project, charts));
  QVERIFY(charts.pltDef().HasData());
  for (double factor : {10.0, 40.0}) {
    Picture3DOptions o;
    o.pixels = QSize(1200, 800);
    o.angles = QVector3D(15, 0, -25);
    o.zoom = 0.8;
    o.switches[Switch::SoilLayers] = false;
    o.switches[Switch::WaterLevel] = false;
    o.deformed = DeformedSettings{true, true, factor};
    const QString path = ShotDir() + QStringLiteral("/deformed-x%1.png").arg(factor);
    QString error;
    QVERIFY2(Write3DPicture(project, &charts.pltDef(), o, path, &error), qPrintable(error));
  }
}

// Two panes facing the viewer, drawn by hand: an opaque red one up on the left and a
// see-through blue one down on the right. The window's read-back and the picture functions
// must both show the red exactly where the projection puts it (not mirrored), and over white
// the blue as OpenGL blends it: alpha x colour + (1 - alpha) x white.
void View3DScreenshotTest::picturesShowTheBlendedColours() {
  if (!gl_) QSKIP("no OpenGL on this display");
  auto pane = [](float x0, float z0, Rgb colour, float alpha) {
    Block b;
    b.element = Element::Soil;
    b.flat = true;
    for (int k : {0, 4}) {
      b.corners[k] = QVector3D(x0, 0, z0);
      b.corners[k + 1] = QVector3D(x0 + 3, 0, z0);
      b.corners[k + 2] = QVector3D(x0 + 3, 0, z0 - 3);
      b.corners[k + 3] = QVector3D(x0, 0, z0 - 3);
    }
    b.faceColour = b.edgeColour = colour;
    b.faceAlpha = b.edgeAlpha = alpha;
    return b;
  };
  BlockModel m;
  m.extent.halfWidth = m.extent.halfAlong = m.extent.depthExtent = m.extent.wallLength = 10;
  m.blocks = {pane(-5, -1, Rgb{1, 0, 0}, 1), pane(2, -6, Rgb{0, 0, 1}, 0.4f)};
  const QSize size(400, 300);
  const double s0 = InitialScale(m.extent, size.width(), size.height());
  const ViewState view;
  for (int samples : {0, 4}) {
    OffscreenRenderer r(size, samples);
    QVERIFY2(r.error().isEmpty(), qPrintable(r.error()));
    r.setModel(m);
    const QMatrix4x4 clip = r.frame(view, s0);
    const QImage image = samples == 0 ? r.frameImage() : r.picture(clip, view, s0);
    QCOMPARE(image.size(), size);
    auto pixel = [&](const Block& b) {
      const QVector3D ndc = clip.map((b.corners[4] + b.corners[6]) / 2);
      return QPoint(int((ndc.x() + 1) / 2 * size.width()), int((1 - ndc.y()) / 2 * size.height()));
    };
    auto near = [](QRgb got, float r, float g, float b) {
      return std::abs(qRed(got) - r * 255) <= 2 && std::abs(qGreen(got) - g * 255) <= 2 &&
             std::abs(qBlue(got) - b * 255) <= 2;
    };
    const Block& red = m.blocks[0];
    const Block& blue = m.blocks[1];
    auto shade = [](const Block& b) { return FaceShade(b.corners[4], b.corners[7], b.corners[6]); };
    const QPoint atRed = pixel(red);
    const QPoint atBlue = pixel(blue);
    QVERIFY(atRed.x() < size.width() / 2 && atRed.y() < size.height() / 2);
    QVERIFY(atBlue.x() > size.width() / 2 && atBlue.y() > size.height() / 2);
    const QRgb gotRed = image.pixel(atRed);
    QVERIFY2(near(gotRed, shade(red), 0, 0), qPrintable(QString::number(gotRed, 16)));
    const float a = 0.4f;
    const QRgb gotBlue = image.pixel(atBlue);
    QVERIFY2(near(gotBlue, 1 - a, 1 - a, a * shade(blue) + 1 - a), qPrintable(QString::number(gotBlue, 16)));
    // Upside down the red would be down on the left.
    QCOMPARE(image.pixel(atRed.x(), size.height() - 1 - atRed.y()), qRgb(255, 255, 255));
  }
}

// The window itself: rotated and zoomed with the mouse tools, then its picture area grabbed.
void View3DScreenshotTest::windowDraggedWithTheMouse() {
  if (!gl_) QSKIP("no OpenGL on this display");
  TProgramData project;
  ResultCharts charts;
  QVERIFY(RunExample(QStringLiteral("anchored-wall-tieback-ei.tn5d"), work_.path(), project, charts));
  TDlgBlock view([&] { return &project; }, [&]() -> const TGraphPlot* { return &charts.pltDef(); });
  view.resize(1000, 700);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  QVERIFY(view.hasOpenGL());
  auto* surface = view.findChild<QWidget*>(QStringLiteral("TglWindow"));
  QVERIFY(surface);
  // Turning and panning repaint, replaying the compiled lists; only a switch compiles them
  // again. (A zoom may, where the arrow glyphs need other detail.)
  surface->grab();
  const int compiled = view.listCompilations();
  {
    QSignalSpy frames(&view, &TDlgBlock::frameShown);
    view.setTool(tarnel::view3d::MouseTool::Rotate);
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(500, 350));
    // The frames of opening are on the screen first, so the one counted is the turn's.
    for (int wait = 0; wait < 30; ++wait) {
      frames.clear();
      QTest::qWait(150);
      if (frames.isEmpty()) break;
    }
    QVERIFY(frames.isEmpty());
    QTest::mouseMove(surface, QPoint(510, 340));
    QTRY_VERIFY(frames.count() > 0);
    // Dragged, the frame is drawn smaller and stretched; released, at the window's size.
    const QSize full = surface->size() * surface->devicePixelRatio();
    QCOMPARE(view.lastFrameSize(), DragFrameSize(full));
    QVERIFY(view.lastFrameSize().width() < full.width());
    view.grab().save(ShotDir() + QStringLiteral("/window-anchored-wall-dragged.png"));
    frames.clear();
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(510, 340));
    QTRY_VERIFY(frames.count() > 0);
    QCOMPARE(view.lastFrameSize(), full);
    // A release lost to another window: deactivating the window ends the drag all the same.
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(500, 350));
    QTest::mouseMove(surface, QPoint(520, 340));
    surface->grab();
    QCOMPARE(view.lastFrameSize(), DragFrameSize(full));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(surface, &deactivate);
    surface->grab();
    QCOMPARE(view.lastFrameSize(), full);
    const QVector3D turned = view.view().angles;
    QTest::mouseMove(surface, QPoint(540, 330));  // no longer a drag
    QCOMPARE(view.view().angles, turned);
  }
  view.setTool(tarnel::view3d::MouseTool::Pan);
  QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(500, 350));
  QTest::mouseMove(surface, QPoint(530, 330));
  surface->grab();
  QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(530, 330));
  view.setTool(tarnel::view3d::MouseTool::ZoomWindow);
  QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(400, 300));
  surface->grab();
  const int drawn = view.framesDrawn();
  QTest::mouseMove(surface, QPoint(460, 340));
  surface->grab();
  // The rectangle is painted over the picture that is there.
  QCOMPARE(view.framesDrawn(), drawn);
  view.restartView();
  view.setTool(tarnel::view3d::MouseTool::Rotate);
  QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(460, 340));
  QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(500, 350));
  QTest::mouseMove(surface, QPoint(420, 420));
  surface->grab();
  QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(420, 420));
  surface->grab();
  QVERIFY(view.view().angles != QVector3D());
  QCOMPARE(view.listCompilations(), compiled);
  view.setSwitch(Switch::Tiebacks, false);
  view.setSwitch(Switch::Tiebacks, true);
  surface->grab();
  QCOMPARE(view.listCompilations(), compiled + 1);
  view.setTool(tarnel::view3d::MouseTool::Zoom);
  QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(500, 400));
  QTest::mouseMove(surface, QPoint(500, 560));
  QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(500, 560));
  QVERIFY(view.view().zoom < 1);
  view.grab().save(ShotDir() + QStringLiteral("/window-anchored-wall.png"));
  // The deformed shape through the dialog, the straight wall as an outline.
  TDlgDeformedShape* d = view.showDeformedShape();
  d->deformedBox()->click();
  d->undeformedBox()->click();
  for (int k = 0; k < 3; ++k) d->stepFactor(true);  // 1 -> 4
  QCOMPARE(view.deformed().factor, 4.0);
  view.grab().save(ShotDir() + QStringLiteral("/window-anchored-wall-deformed.png"));
}

// The command line's pictures: the plain view at chosen angles and size, and the
// deformed wall of the run beside the data file.
void View3DScreenshotTest::commandLinePictures() {
  if (!gl_) QSKIP("no OpenGL on this display");
  TProgramData project;
  ResultCharts charts;
  const QString name = QStringLiteral("trapezoidal-two-tiebacks.tn5d");
  QVERIFY(RunExample(name, work_.path(), project, charts));
  const QString data = work_.filePath(name);
  const QString plain = ShotDir() + QStringLiteral("/command-line-trapezoidal.png");
  QCOMPARE(RunView3DCommand({data, "--view", "3d", "--out", plain, "--angles", "20,0,35", "--width", "6",
                             "--height", "4", "--ppi", "100"}),
           0);
  QCOMPARE(QImage(plain).size(), QSize(600, 400));
  const QString bent = ShotDir() + QStringLiteral("/command-line-trapezoidal-deformed.bmp");
  QCOMPARE(RunView3DCommand({data, "--view", "3d", "--out", bent, "--deformed", "25", "--angles", "0,0,0"}), 0);
  QCOMPARE(QImage(bent).size(), QSize(1200, 750));
}

QTEST_MAIN(View3DScreenshotTest)
#include "view3d_screenshot_test.moc"
