// Pictures of the Side View for every bundled example, as a user sees the window and as a
// report picture, saved for review; with a check that no two texts of the profile overlap
// and that every text lies inside the window.
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QtTest>

#include "app/model/program_data.h"
#include "app/results/profile_painter.h"
#include "app/results/profile_picture.h"
#include "app/results/side_view.h"

using tarnel::model::TProgramData;

class ProfileScreenshotTest : public QObject {
  Q_OBJECT
 private slots:
  // Every mark at once, as no example has them: a sloping backfill, a specified deflection,
  // external p-y curves, lateral springs above and below the excavation, soldier piles.
  void everyMark() {
    TProgramData p;
    p.Increments = 40;
    p.IncrementLength = 6;
    p.FreeHeight = 120;
    p.BackfillSlope = 15;
    p.WidthActive = 72;
    p.WidthPY = 24;
    p.NewSoil().SetRowCount(2);
    p.NewSoil().SetInteger(0, 0, 5);
    p.NewSoil().SetReal(1, 0, 14);
    for (int c = 0; c < 3; ++c) p.NewSoil().SubTable(2, 0).SetReal(c, 1, QList<double>{115, 28, 250}[c]);
    p.NewSoil().SetInteger(0, 1, 1);
    p.NewSoil().SetReal(1, 1, 30);
    p.NewSoil().SubTable(2, 1).SetReal(0, 1, 110);
    p.NewSoil().SubTable(2, 1).SetReal(1, 1, 400);
    p.ApplyRestraints = true;
    p.SoilLayer().SetInteger(1, 0, 0);
    p.ApplySprings = true;
    p.SoilStrength().SetRowCount(2);
    p.SoilStrength().SetInteger(1, 0, 8);
    p.SoilStrength().SetInteger(1, 1, 30);
    p.ApplyExtPY = true;
    p.PYCurves2().SetRowCount(3);
    for (int r = 0; r < 3; ++r) p.PYCurves2().SetInteger(0, r, 24 + 6 * r);
    shoot(p, QStringLiteral("every-mark"));
  }

  void examples_data() {
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(TARNEL_EXAMPLES_DIR));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.tn5d")}, QDir::Files, QDir::Name))
      QTest::newRow(qPrintable(f.completeBaseName())) << f.absoluteFilePath();
  }
  void examples() {
    QFETCH(QString, path);
    TProgramData p;
    QVERIFY(p.CreateFromFile(path.toStdString(), tarnel::model::kLayoutTn5d).ok);
    shoot(p, QFileInfo(path).completeBaseName());
  }

 private:
  static void shoot(TProgramData& p, const QString& name) {
    const QString out = QStringLiteral(TARNEL_SCREENSHOT_DIR) + QStringLiteral("/profile");
    QVERIFY(QDir().mkpath(out));

    TDlgSideView view([&] { return &p; });
    view.resize(820, 640);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.refresh();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QVERIFY(view.grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png")));

    // Texts stay apart and inside the canvas.
    const ProfileDrawing d = view.drawing();
    const QFontMetricsF fm(ProfileFont(), view.canvas());
    QList<QRectF> boxes;
    for (const ProfileItem& it : d.items) {
      if (it.kind != ProfileItem::Kind::Text) continue;
      QRectF r(it.a, QSizeF(fm.horizontalAdvance(it.text), fm.height()));
      if (it.centred) r.moveLeft(it.a.x() - r.width() / 2);
      QVERIFY2(d.frame.contains(r), qPrintable(name + ": outside: " + it.text));
      for (const QRectF& other : std::as_const(boxes))
        QVERIFY2(!other.intersects(r), qPrintable(name + ": overlaps: " + it.text));
      boxes << r;
    }

    QString error;
    QVERIFY2(WriteProfilePicture(p, out + QLatin1Char('/') + name + QStringLiteral("-report.png"), 6, 4.5, 150, &error),
             qPrintable(error));
  }
};

QTEST_MAIN(ProfileScreenshotTest)
#include "profile_screenshot_test.moc"
