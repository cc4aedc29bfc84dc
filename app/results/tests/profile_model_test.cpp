// The wall and soil profile computed apart from painting: world box and aspect rule, soil
// layers and their labels, ground lines, slope and hatching, the marks at nodes, the top
// view of soldier piles, the depth read-out; then the Side View window around it (single
// window, refresh on activation, print, pictures).
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

#include "app/main/tests/scripted_prompts.h"
#include "app/model/program_data.h"
#include "app/results/profile_commands.h"
#include "app/results/profile_model.h"
#include "app/results/profile_painter.h"
#include "app/results/profile_picture.h"
#include "app/results/side_view.h"

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

namespace {

// The English wall of the examples' size: 20 increments of 12 in (L = 240 in), a 120 in
// free height, soil layers generated; no layers until a test adds them.
std::unique_ptr<TProgramData> EnglishWall() {
  auto p = std::make_unique<TProgramData>();
  p->Increments = 20;
  p->IncrementLength = 12;
  p->FreeHeight = 120;
  return p;
}

// A layer row with its bottom depth (feet in English projects) and bottom-row parameters.
void AddLayer(TProgramData& p, int type, double bottom, std::vector<double> params) {
  TGridTable& soil = p.NewSoil();
  const int row = soil.RowCount();
  soil.SetRowCount(row + 1);
  soil.SetInteger(0, row, type);
  soil.SetReal(1, row, bottom);
  TGridTable& t = soil.SubTable(2, row);
  for (int c = 0; c < static_cast<int>(params.size()); ++c) t.SetReal(c, 1, params[c]);
}

// Width 800, height 693: the 277.2 in of the box map to whole pixels (2.5 px a inch).
const QRectF kFrame(0, 0, 800, 693);

ProfileDrawing Draw(const TProgramData& p, const QRectF& frame = kFrame) {
  ProfileModel m;
  m.Rebuild(p);
  return m.Layout(p, frame, ProfileMetrics{});
}

double PixelY(double worldY) { return std::round(693 * worldY / 277.2); }

}  // namespace

class ProfileModelTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { setPrompts(&prompts_); }
  void cleanup() { setPrompts(nullptr); }

  void emptyStiffnessTableShowsDefaultBoxAndNoWall() {
    auto p = EnglishWall();
    p->PileSect().Clear();
    ProfileModel m;
    m.Rebuild(*p);
    QCOMPARE(m.WorldBox(), (ProfileBox{-10, 10, 0, 10}));
    QVERIFY(m.WallOutline().isEmpty());
    QVERIFY(m.Layout(*p, kFrame, {}).Items(ProfilePart::Wall).empty());
  }

  void emptyStiffnessTableKeepsThePreviousBox() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    const ProfileBox withWall = m.WorldBox();
    p->PileSect().Clear();
    m.Rebuild(*p);
    QCOMPARE(m.WorldBox(), withWall);
    QVERIFY(m.WallOutline().isEmpty());
  }

  void wallOutlineAndBoxAroundItAndTheOrigin() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    // a = 120 / 40 = 3; the wall from 0.1 L = 24 to 1.1 L = 264.
    QCOMPARE(m.WallOutline(), QPolygonF({{-3, 24}, {3, 24}, {3, 264}, {-3, 264}}));
    const ProfileBox b = m.WorldBox();
    QCOMPARE(b.xmin, -3.15);
    QCOMPARE(b.xmax, 3.15);
    QCOMPARE(b.ymin, 0.0);
    QCOMPARE(b.ymax, 277.2);
    const auto wall = Draw(*p).Items(ProfilePart::Wall);
    QCOMPARE(wall.size(), size_t(1));
    QCOMPARE(wall[0]->fill, QColor(Qt::black));
  }

  void aspectRuleWidensTheLongerSide() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    // Wide frame: X range widened by r, depth range unchanged.
    const double r = (800.0 / 693) / (6.3 / 277.2);
    ProfileBox wide = m.DisplayedBox({800, 693});
    QCOMPARE(wide.xmin, -3.15 * r);
    QCOMPARE(wide.xmax, 3.15 * r);
    QCOMPARE(wide.ymax, 277.2);
    // A frame narrower than the box: depth range stretched by 1 / r.
    p->FreeHeight = 4000;  // a = 100: box 210 wide, 277.2 deep
    m.Rebuild(*p);
    const double rt = (100.0 / 693) / (210.0 / 277.2);
    ProfileBox tall = m.DisplayedBox({100, 693});
    QCOMPARE(tall.xmin, -105.0);
    QCOMPARE(tall.ymax, 277.2 / rt);
    // Round trip of a pixel through the mapping.
    const QRectF f(10, 20, 100, 693);
    const auto px = m.ToFrame({0, 144}, f);
    QVERIFY(px);
    QCOMPARE(px->x(), 60.0);
    QVERIFY(std::abs(m.ToWorld(*px, f)->y() - 144) < 0.5 * 277.2 / rt / 693 + 1e-9);
  }

  void nothingDrawnForAWallWithoutLength() {
    TProgramData fresh;  // no increments: the box has no extent
    ProfileModel m;
    m.Rebuild(fresh);
    QVERIFY(!m.WorldBox().Drawable());
    QVERIFY(m.Layout(fresh, kFrame, {}).items.empty());
    QVERIFY(!m.DepthAt({10, 10}, kFrame));
  }

  void wallWithoutFreeHeightStillShows() {
    auto p = EnglishWall();
    p->FreeHeight = 0;
    ProfileModel m;
    m.Rebuild(*p);
    QVERIFY(m.WorldBox().Drawable());
    QCOMPARE(m.WallOutline().boundingRect().width(), 12.0);  // 2 x 240 / 40
  }

  void depthReadOutAtTheExcavationLevel() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    const double y = PixelY(144);
    QCOMPARE(y, 360.0);
    const auto depth = m.DepthAt({400, y}, kFrame);
    QVERIFY(depth);
    QCOMPARE(DepthCaption(*depth), QStringLiteral("  Depth: 120.0"));
    QCOMPARE(DepthCaption(-0.04), QStringLiteral("  Depth: -0.0"));
  }

  void groundLinesAtTheTopAndTheExcavation() {
    auto p = EnglishWall();
    p->GeneratePY = false;
    p->EarthPressureChoice = 1;
    const auto lines = Draw(*p).Items(ProfilePart::GroundLine);
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(lines[0]->a, QPointF(0, PixelY(24)));
    QCOMPARE(lines[0]->b, QPointF(400, PixelY(24)));
    QCOMPARE(lines[1]->a, QPointF(400, PixelY(144)));
    QCOMPARE(lines[1]->b, QPointF(800, PixelY(144)));
    QCOMPARE(lines[0]->penWidth, 2.0);
  }

  void noGeneratedSoilShowsNoLayers() {
    auto p = EnglishWall();
    AddLayer(*p, 4, 10, {120, 30});
    p->GeneratePY = false;
    p->EarthPressureChoice = 1;
    const ProfileDrawing d = Draw(*p);
    QVERIFY(d.Items(ProfilePart::LayerBoundary).empty());
    QVERIFY(d.Items(ProfilePart::SoilName).empty());
    QVERIFY(d.Items(ProfilePart::HatchTick).empty());
    QCOMPARE(d.Items(ProfilePart::Wall).size(), size_t(1));
    QCOMPARE(d.Items(ProfilePart::GroundLine).size(), size_t(2));
    // Either generator alone brings the layers back.
    p->EarthPressureChoice = 3;
    QVERIFY(!Draw(*p).Items(ProfilePart::LayerBoundary).empty());
    p->EarthPressureChoice = 1;
    p->GeneratePY = true;
    QVERIFY(!Draw(*p).Items(ProfilePart::LayerBoundary).empty());
  }

  void layerAboveTheExcavationClosesOnlyTheBackfillHalf_data() {
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("bottom");  // depth at the bottom of the layer as entered
    QTest::addColumn<double>("rightEnd");
    // English depths in feet: 9 ft = 108 in above the 120 in excavation; 10 ft at it.
    QTest::newRow("English above") << 1 << 9.0 << 400.0;
    QTest::newRow("English at") << 1 << 10.0 << 800.0;
    QTest::newRow("English below") << 1 << 15.0 << 800.0;
    // Other units: depths in the wall's length unit, not multiplied.
    QTest::newRow("Other above") << 3 << 119.0 << 400.0;
    QTest::newRow("Other at") << 3 << 120.0 << 800.0;
  }
  void layerAboveTheExcavationClosesOnlyTheBackfillHalf() {
    QFETCH(int, units);
    QFETCH(double, bottom);
    QFETCH(double, rightEnd);
    auto p = EnglishWall();
    p->SetUnits(units);
    p->Increments = 20;
    p->IncrementLength = 12;
    p->FreeHeight = 120;
    p->NewSoil().SetReal(1, 0, bottom);
    const auto b = Draw(*p).Items(ProfilePart::LayerBoundary);
    QCOMPARE(b.size(), size_t(1));
    const double y = PixelY(bottom * (units == 1 ? 12 : 1) + 24);
    QCOMPARE(b[0]->a, QPointF(0, y));
    QCOMPARE(b[0]->b, QPointF(rightEnd, y));
  }

  void levelBackfillGetsFiveTicksAndSlopedOneALine() {
    auto p = EnglishWall();
    p->NewSoil().SetReal(1, 0, 30);
    const double yg = PixelY(24);
    ProfileDrawing level = Draw(*p);
    const auto ticks = level.Items(ProfilePart::HatchTick);
    QCOMPARE(ticks.size(), size_t(5));
    for (int k = 1; k <= 5; ++k) {
      QCOMPARE(ticks[k - 1]->a, QPointF(20 * k + 100, yg));
      QCOMPARE(ticks[k - 1]->b, QPointF(20 * k + 115, yg + 5));
    }
    QVERIFY(level.Items(ProfilePart::BackfillSlope).empty());
    // The first layer's name starts under the ticks.
    QVERIFY(level.Items(ProfilePart::SoilName)[0]->a.y() >= yg + 5);

    p->BackfillSlope = 20;
    ProfileDrawing sloped = Draw(*p);
    QVERIFY(sloped.Items(ProfilePart::HatchTick).empty());
    const auto line = sloped.Items(ProfilePart::BackfillSlope);
    QCOMPARE(line.size(), size_t(1));
    QCOMPARE(line[0]->a, QPointF(400, yg));
    QCOMPARE(line[0]->b.x(), 200.0);
    QVERIFY(std::abs(line[0]->b.y() - (yg - 200 * std::tan(20 * M_PI / 180))) < 1e-9);
  }

  void soilNamesAndParameterLines_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<double>>("params");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("soft clay") << 1 << QList<double>{110, 500} << "Soft clay" << "c= 500; gamma= 110";
    QTest::newRow("stiff clay free water") << 2 << QList<double>{120, 1500} << "Stiff clay w/free water"
                                           << "c= 1500; gamma= 120";
    QTest::newRow("stiff clay") << 3 << QList<double>{125, 2000.5} << "Stiff clay w/o free water"
                                << "c= 2000.5; gamma= 125";
    QTest::newRow("sand") << 4 << QList<double>{115, 32.5} << "Sand" << QString::fromUtf8("ø= 32.5; gamma= 115");
    QTest::newRow("silt") << 5 << QList<double>{118, 28, 200} << "Silt"
                          << QString::fromUtf8("ø= 28; c= 200; gamma= 118");
    QTest::newRow("rock") << 6 << QList<double>{160, 5000} << "Rock" << "compressive strength= 5000; gamma= 160";
    QTest::newRow("weak rock") << 7 << QList<double>{150, 800} << "Weak Rock"
                               << "compressive strength= 800; gamma= 150";
    // A unit weight read from an English file (0.069444444 lb/in^3 x 1728) reads 120.
    QTest::newRow("converted weight") << 4 << QList<double>{0.069444444 * 1728, 30} << "Sand"
                                      << QString::fromUtf8("ø= 30; gamma= 120");
  }
  void soilNamesAndParameterLines() {
    QFETCH(int, type);
    QFETCH(QList<double>, params);
    QFETCH(QString, name);
    QFETCH(QString, line);
    auto p = EnglishWall();
    TGridTable& soil = p->NewSoil();
    soil.SetInteger(0, 0, type);
    soil.SetReal(1, 0, 30);
    for (int c = 0; c < params.size(); ++c) {
      soil.SubTable(2, 0).SetReal(c, 0, -1);  // the top row is not what is shown
      soil.SubTable(2, 0).SetReal(c, 1, params[c]);
    }
    const std::string before = p->ProjectText();
    const ProfileDrawing d = Draw(*p);
    const auto names = d.Items(ProfilePart::SoilName);
    const auto lines = d.Items(ProfilePart::SoilParameters);
    QCOMPARE(names.size(), size_t(1));
    QCOMPARE(names[0]->text, name);
    QCOMPARE(lines[0]->text, line);
    // One text line lower, at the left edge.
    QCOMPARE(lines[0]->a, names[0]->a + QPointF(0, ProfileMetrics{}.lineHeight));
    QVERIFY(names[0]->a.x() < 10);
    // Drawing changes nothing of what the project writes.
    QCOMPARE(p->ProjectText(), before);
  }

  void layersStackFromTheGround() {
    auto p = EnglishWall();
    p->NewSoil().SetReal(1, 0, 5);
    AddLayer(*p, 3, 25, {125, 1000});
    const ProfileDrawing d = Draw(*p);
    const auto b = d.Items(ProfilePart::LayerBoundary);
    QCOMPARE(b.size(), size_t(2));
    QCOMPARE(b[0]->a.y(), PixelY(60 + 24));
    QCOMPARE(b[1]->a.y(), PixelY(300 + 24));
    const auto names = d.Items(ProfilePart::SoilName);
    QCOMPARE(names[1]->text, QStringLiteral("Stiff clay w/o free water"));
    // The second layer's name sits under the first layer's bottom.
    QCOMPARE(names[1]->a.y(), PixelY(84) + 2);
  }

  void labelsOfThinLayersStayApart() {
    auto p = EnglishWall();
    p->NewSoil().SetReal(1, 0, 10);
    AddLayer(*p, 4, 10.5, {120, 30});  // 6 in thick: 15 px, less than two text lines
    AddLayer(*p, 3, 20, {125, 1000});
    const auto names = Draw(*p).Items(ProfilePart::SoilName);
    QCOMPARE(names.size(), size_t(3));
    const double line = ProfileMetrics{}.lineHeight;
    QCOMPARE(names[1]->a.y(), PixelY(144) + 2);
    QCOMPARE(names[2]->a.y(), names[1]->a.y() + 2 * line);  // pushed under the thin layer's
  }

  void specifiedDeflectionMarksPointAtTheWall() {
    auto p = EnglishWall();
    p->ApplyRestraints = true;
    p->SoilLayer().SetInteger(1, 0, 5);
    const auto marks = Draw(*p).Items(ProfilePart::RestraintMark);
    QCOMPARE(marks.size(), size_t(3));
    const double y = PixelY(5 * 12 + 24);
    for (const ProfileItem* m : marks) QCOMPARE(m->a, QPointF(400, y));
    QCOMPARE(marks[0]->b, QPointF(416, y));
    QCOMPARE(marks[1]->b, QPointF(416, y - 8));
    QCOMPARE(marks[2]->b, QPointF(416, y + 8));
    p->ApplyRestraints = false;
    QVERIFY(Draw(*p).Items(ProfilePart::RestraintMark).empty());
  }

  void externalCurvesDrawASpringOnTheBackfillSide() {
    auto p = EnglishWall();
    p->ApplyExtPY = true;
    p->PYCurves2().SetRowCount(2);
    p->PYCurves2().SetInteger(0, 0, 12);
    p->PYCurves2().SetInteger(0, 1, 16);
    const auto strokes = Draw(*p).Items(ProfilePart::ExternalSpring);
    QCOMPARE(strokes.size(), size_t(2 * 8));
    const double y = PixelY(12 * 12 + 24);
    QCOMPARE(strokes[0]->a, QPointF(400, y));
    QCOMPARE(strokes[0]->b, QPointF(360, y));
    for (const ProfileItem* s : strokes) {
      QVERIFY(s->a.x() <= 400 && s->b.x() >= 304);  // between 0.38 W and the wall
      QVERIFY(std::abs(s->a.y() - y) <= 8 || std::abs(s->a.y() - PixelY(16 * 12 + 24)) <= 8);
    }
    QCOMPARE(strokes[5]->a, QPointF(344, y));
    QCOMPARE(strokes[5]->b, QPointF(304, y));
    QCOMPARE(strokes[7]->b, QPointF(320, y + 8));
  }

  void lateralSpringBelowTheExcavationIsNotDrawn() {
    auto p = EnglishWall();
    p->ApplySprings = true;
    TGridTable& t = p->SoilStrength();
    t.SetRowCount(3);
    t.SetInteger(1, 0, 3);   // 36 in: above the excavation
    t.SetInteger(1, 1, 10);  // 120 in: at the excavation level
    t.SetInteger(1, 2, 15);  // below
    const auto springs = Draw(*p).Items(ProfilePart::LateralSpring);
    QCOMPARE(springs.size(), size_t(1));
    QCOMPARE(springs[0]->a, QPointF(400, PixelY(36 + 24)));
    QCOMPARE(springs[0]->b, QPointF(480, PixelY(36 + 24)));
    QCOMPARE(springs[0]->penWidth, 5.0);
  }

  void soldierPilesSeenFromAbove() {
    auto p = EnglishWall();
    p->WidthActive = 96;
    p->WidthPY = 14.5;
    const ProfileDrawing d = Draw(*p);
    const auto piles = d.Items(ProfilePart::TopViewPile);
    QCOMPARE(piles.size(), size_t(5));
    const double excavation = PixelY(144);
    for (int k = 0; k < 5; ++k) {
      const ProfileItem& c = *piles[k];
      QCOMPARE(c.fill, QColor(Qt::white));
      QCOMPARE(c.a.x(), 640.0);
      // True proportions: radius Wp to centre spacing 2 Wa.
      if (k > 0) QVERIFY(std::abs((c.a.y() - piles[k - 1]->a.y()) / c.radius - 2 * 96 / 14.5) < 1e-9);
      // Right of the springs and marks, above the excavation level, inside the frame.
      QVERIFY(c.a.x() - c.radius > 0.6 * 800);
      QVERIFY(c.a.y() + c.radius < excavation);
      QVERIFY(c.a.y() - c.radius > 0);
    }
    const auto captions = d.Items(ProfilePart::Caption);
    QCOMPARE(captions.size(), size_t(2));
    QCOMPARE(captions[0]->text, QStringLiteral("top view"));
    QCOMPARE(captions[0]->a, QPointF(640, 5));
    QCOMPARE(captions[1]->text, QStringLiteral("side view"));
    QCOMPARE(captions[1]->a, QPointF(400, 5));
    QVERIFY(captions[0]->a.y() + ProfileMetrics{}.lineHeight < piles[0]->a.y() - piles[0]->radius);

    p->WidthActive = 0;
    QVERIFY(Draw(*p).Items(ProfilePart::TopViewPile).empty());
    QVERIFY(Draw(*p).Items(ProfilePart::Caption).empty());
  }

  void scaleFollowsTheDevice() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    const ProfileDrawing d = m.Layout(*p, kFrame, ProfileMetrics{3.125, 40});
    const auto ground = d.Items(ProfilePart::GroundLine);
    QCOMPARE(ground.size(), size_t(3));  // the first layer's, then the two of pen width 2
    QCOMPARE(ground[0]->penWidth, 3.125);
    QCOMPARE(ground[2]->penWidth, 6.25);
    QCOMPARE(d.Items(ProfilePart::HatchTick)[0]->a.x(), 120 * 3.125);
  }

  void printedPageUsesTheInnerEightyPercent() {
    auto p = EnglishWall();
    ProfileModel m;
    m.Rebuild(*p);
    const QRectF page(0, 0, 6600, 5100);  // landscape letter at 600 dpi
    const QRectF frame = ProfilePrintFrame(page);
    QCOMPARE(frame, QRectF(660, 510, 5280, 4080));
    for (double Y : {0.0, 24.0, 144.0, 264.0})
      QCOMPARE(m.ToFrame({0, Y}, frame)->y(), std::round(5100 * (0.8 * Y / 277.2 + 0.1)));
    const ProfileDrawing d = m.Layout(*p, frame, {});
    const auto ground = d.Items(ProfilePart::GroundLine);
    QCOMPARE(ground[0]->a.x(), 0.1 * 6600);
    QCOMPARE(ground[0]->b.x(), 0.5 * 6600);
    QCOMPARE(ground.back()->b.x(), 0.9 * 6600);
    QCOMPARE(d.Items(ProfilePart::LayerBoundary)[0]->b.x(), 0.5 * 6600);
  }

  void printsOneLandscapePage() {
    auto p = EnglishWall();
    QTemporaryDir dir;
    TDlgSideView view([&] { return p.get(); });
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("profile.pdf"));
    printer.setPageOrientation(QPageLayout::Portrait);
    QVERIFY(view.printTo(printer));
    QCOMPARE(printer.docName(), QStringLiteral("Soil-Pile Profile"));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QFile pdf(dir.filePath("profile.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(4) == "%PDF");
    QVERIFY(pdf.size() > 500);
  }

  void savesTheViewThroughThePrompts() {
    auto p = EnglishWall();
    QTemporaryDir dir;
    TDlgSideView view([&] { return p.get(); });
    view.resize(500, 400);
    prompts_.savePaths = {dir.filePath("wall.png"), dir.filePath("wall")};
    view.SavePictureClick();
    view.SavePictureClick();  // no extension, the first file type: a bitmap
    QCOMPARE(prompts_.dialogTitles.value(0), QStringLiteral("Save Picture"));
    QImage png(dir.filePath("wall.png"));
    QCOMPARE(png.size(), view.canvas()->size());
    QVERIFY(QImage(dir.filePath("wall.bmp")).size() == view.canvas()->size());
    QCOMPARE(QImageReader(dir.filePath("wall.bmp")).format(), QByteArray("bmp"));
    // The wall is black in the middle of the picture.
    QCOMPARE(QColor(png.pixel(png.width() / 2, png.height() / 2)), QColor(Qt::black));
    // A cancelled dialog writes nothing and says nothing.
    view.SavePictureClick();
    QVERIFY(prompts_.messages.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
  }

  void picturesOfEveryType_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "p.png";
    QTest::newRow("bmp") << "p.BMP";
    QTest::newRow("svg") << "p.svg";
    QTest::newRow("pdf") << "p.pdf";
  }
  void picturesOfEveryType() {
    QFETCH(QString, name);
    auto p = EnglishWall();
    QTemporaryDir dir;
    QString error;
    QVERIFY2(WriteProfilePicture(*p, dir.filePath(name), 4, 3, 100, &error), qPrintable(error));
    QVERIFY(QFileInfo(dir.filePath(name)).size() > 100);
    if (name.endsWith("png") || name.endsWith("BMP")) QCOMPARE(QImage(dir.filePath(name)).size(), QSize(400, 300));
  }

  void badPictureRequestsAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<QString>("message");
    QTest::newRow("type") << "p.gif" << 4.0 << 100 << "Unknown picture type";
    QTest::newRow("width") << "p.png" << 0.0 << 100 << "positive width";
    QTest::newRow("nan") << "p.png" << qQNaN() << 100 << "positive width";
    QTest::newRow("ppi") << "p.png" << 4.0 << 0 << "pixels per inch";
    QTest::newRow("huge") << "p.png" << 1000.0 << 2400 << "larger than";
    QTest::newRow("folder") << "missing/p.png" << 4.0 << 100 << "Cannot write";
  }
  void badPictureRequestsAreRefused() {
    QFETCH(QString, name);
    QFETCH(double, width);
    QFETCH(int, ppi);
    QFETCH(QString, message);
    auto p = EnglishWall();
    QTemporaryDir dir;
    QString error;
    QVERIFY(!WriteProfilePicture(*p, dir.filePath(name), width, 3, ppi, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
  }

  void depthCaptionFollowsTheMouse() {
    auto p = EnglishWall();
    TDlgSideView view([&] { return p.get(); });
    QCOMPARE(view.windowTitle(), QStringLiteral("Side View"));
    view.show();
    view.canvas()->setFixedSize(800, 693);
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTest::mouseMove(view.canvas(), QPoint(400, 360));
    QTRY_COMPARE(view.windowTitle(), QStringLiteral("  Depth: 120.0"));
  }

  void oneWindowRefreshedOnActivation() {
    auto p = EnglishWall();
    QMdiArea mdi;
    mdi.resize(900, 700);
    mdi.show();
    TProgramData* current = p.get();
    ProfileCommands commands(&mdi, [&] { return current; });
    commands.show();
    commands.show();
    QCOMPARE(mdi.subWindowList().size(), 1);
    TDlgSideView* view = commands.view();
    QVERIFY(view);
    QCOMPARE(view->model().WorldBox().ymax, 277.2);

    // An edit elsewhere shows once the view is activated again.
    QMdiSubWindow* other = mdi.addSubWindow(new QWidget);
    other->show();
    mdi.setActiveSubWindow(other);
    p->Increments = 40;
    QCOMPARE(view->model().WorldBox().ymax, 277.2);
    mdi.setActiveSubWindow(mdi.subWindowList().first());
    QCOMPARE(view->model().WorldBox().ymax, 554.4);

    // New or Open replace the project: the view reads the new one.
    auto replacement = EnglishWall();
    current = replacement.get();
    p.reset();
    view->refresh();
    QCOMPARE(view->model().WorldBox().ymax, 277.2);
    QVERIFY(!view->drawing().items.empty());

    // Closing forgets the window; the next command makes a new one.
    mdi.subWindowList().first()->close();
    QTRY_VERIFY(!commands.view());
    commands.show();
    QVERIFY(commands.view());
    QCOMPARE(mdi.subWindowList().size(), 2);
  }

 private:
  ScriptedPrompts prompts_;
};

QTEST_MAIN(ProfileModelTest)
#include "profile_model_test.moc"
