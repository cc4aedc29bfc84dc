// The checks before an analysis run, case by case: which inconsistency is found first and
// the exact message the user reads.
#include <QtTest>

#include "app/main/run/run_checks.h"
#include "app/model/program_data.h"

using tarnel::model::TProgramData;

namespace {

// A consistent English project: 40 increments of 6 in (a 20 ft wall), one stiffness row
// over the whole wall, one clay layer down to 25 ft.
void makeConsistent(TProgramData& p) {
  p.Increments = 40;
  p.IncrementLength = 6;
  p.PileSect().SetInteger(0, 0, 0);
  p.PileSect().SetInteger(1, 0, 40);
  p.NewSoil().SetRowCount(1);
  p.NewSoil().SetInteger(0, 0, 1);
  p.NewSoil().SetReal(1, 0, 25);
}

}  // namespace

class RunChecksTest : public QObject {
  Q_OBJECT
private slots:
  void consistentProjectRuns() {
    TProgramData p;
    makeConsistent(p);
    QVERIFY(!checkBeforeRun(p));
  }

  void initialNodeBeyondTheWall() {
    TProgramData p;
    makeConsistent(p);
    p.PileSect().SetRowCount(2);
    p.PileSect().SetInteger(0, 1, 41);
    p.PileSect().SetInteger(1, 1, 45);
    QCOMPARE(checkBeforeRun(p).value_or(""),
             QStringLiteral("Initial Node, 41 in row 2 of Wall Stiffness definition\n"
                            "is greater than number of nodes defined, 40.\n"
                            "Please check on Wall Properties Windows and Wall Stiffness Table"));
  }

  void siltSteeperThanItsFrictionAngle() {
    TProgramData p;
    makeConsistent(p);
    p.BackfillSlope = 20.5;
    p.NewSoil().SetInteger(0, 0, 5);  // silt (c-phi soil)
    p.NewSoil().SubTable(2, 0).SetReal(1, 0, 18);
    QCOMPARE(checkBeforeRun(p).value_or(""),
             QStringLiteral("Slope of the Backfill: 20.5\n"
                            "is greater than friction angle, 18,\n"
                            "in layer 1\n"
                            "Please check Soil Layers"));
    // A friction angle equal to the slope is accepted.
    p.NewSoil().SubTable(2, 0).SetReal(1, 0, 20.5);
    QVERIFY(!checkBeforeRun(p));
  }

  void clayIsNeverComparedWithTheSlope() {
    TProgramData p;
    makeConsistent(p);
    p.BackfillSlope = 40;
    QVERIFY(!checkBeforeRun(p));
  }

  void layeringDepthInMetresForSI() {
    TProgramData p;
    p.SetUnits(2);
    p.Increments = 20;
    p.IncrementLength = 0.5;  // m: a 10 m wall
    p.PileSect().SetInteger(1, 0, 20);
    p.NewSoil().SetReal(1, 0, 9.75);
    QCOMPARE(checkBeforeRun(p).value_or(""),
             QStringLiteral("Depth of Bottom of Soil Layering: 9.75 m\n"
                            "should extend at least below Depth of Wall: 10 m\n"
                            "Please check Soil Layer Data and/or Wall Properties Windows"));
  }

  void layeringIsCheckedForAGeneratedEarthPressureToo() {
    TProgramData p;
    makeConsistent(p);
    p.NewSoil().SetReal(1, 0, 12);
    p.GeneratePY = false;
    p.EarthPressureChoice = 3;  // pressure generated from the layers
    QVERIFY(checkBeforeRun(p).value_or("").startsWith("Depth of Bottom of Soil Layering: 12 ft"));
    p.EarthPressureChoice = 1;
    QVERIFY(!checkBeforeRun(p));
  }
};

QTEST_GUILESS_MAIN(RunChecksTest)
#include "run_checks_test.moc"
