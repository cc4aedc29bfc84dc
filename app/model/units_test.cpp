#include "app/model/units.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tarnel::model {
namespace {

TEST(Units, TokenLabelsOfEverySystem) {
  EXPECT_EQ(TokenLabel("F", 1), "lbs");
  EXPECT_EQ(TokenLabel("F", 2), "kN");
  EXPECT_EQ(TokenLabel("F", 3), "F");
  EXPECT_EQ(TokenLabel("F4", 1), "lb-sec2/in");
  EXPECT_EQ(TokenLabel("F4", 3), "M");
  EXPECT_EQ(TokenLabel("L1", 2), "mm");
  EXPECT_EQ(TokenLabel("L2", 1), "ft");
  EXPECT_EQ(TokenLabel("L0", 2), "m");
  EXPECT_EQ(TokenLabel("F", 0), "lbs") << "systems below 1 are clamped to English";
  EXPECT_EQ(TokenLabel("L", 9), "L") << "systems above 3 are clamped to Other";
}

TEST(Units, ColumnLabels) {
  struct Case {
    const char* tmpl;
    const char* english;
    const char* si;
    const char* other;
  };
  const Case cases[] = {
      {"F/L2^3", "lbs/ft^3", "kN/m^3", "F/L^3"},
      {"F-L^2", "lbs-in^2", "kN-m^2", "F-L^2"},
      {"L1^2", "in^2", "mm^2", "L^2"},
      {"F-L/RAD.", "lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD."},
      {"F/L2", "lbs/ft", "kN/m", "F/L"},
      {"SEE NOTES", "SEE NOTES", "SEE NOTES", "SEE NOTES"},
      {"DEG.", "DEG.", "DEG.", "DEG."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnUnitLabel(c.tmpl, 1), c.english) << c.tmpl;
    EXPECT_EQ(ColumnUnitLabel(c.tmpl, 2), c.si) << c.tmpl;
    EXPECT_EQ(ColumnUnitLabel(c.tmpl, 3), c.other) << c.tmpl;
  }
  EXPECT_EQ(CaptionWithUnits("Deflection", "L", 2), "Deflection (m)  ");
  EXPECT_EQ(CaptionWithUnits("Slope", "", 2), "Slope");
}

TEST(Units, FieldLabelsShowTheTemplateInOtherUnits) {
  EXPECT_EQ(FieldCaption("Increment Length", "L", 1), "Increment Length (in)");
  EXPECT_EQ(FieldCaption("Free Height of Wall", "L2", 2), "Free Height of Wall (m)");
  EXPECT_EQ(FieldCaption("Free Height of Wall", "L2", 3), "Free Height of Wall (L2)");
  EXPECT_EQ(FieldCaption("&Increments (nodes)", "", 1), "&Increments (nodes)");
  EXPECT_EQ(FieldUnitLabel("F/L2^2", 1), "lbs/ft^2");
}

TEST(Units, TemplateFactorsFromTheTokenTable) {
  const double F = 224.8089237, L = 39.37007874, L2 = 3.280839895;
  EXPECT_DOUBLE_EQ(TemplateFactor("F/L2^3"), F / (L2 * L2 * L2));
  EXPECT_DOUBLE_EQ(TemplateFactor("F-L/RAD."), F * L);
  EXPECT_DOUBLE_EQ(TemplateFactor("F-L^2"), F * L * L);
  EXPECT_DOUBLE_EQ(TemplateFactor("L1^2"), 0.03937007874 * 0.03937007874);
  EXPECT_DOUBLE_EQ(TemplateFactor("F1/L^2"), 0.2248089237 / (L * L));
  EXPECT_DOUBLE_EQ(TemplateFactor("DEG."), 1.0);
  EXPECT_DOUBLE_EQ(TemplateFactor("SEE NOTES"), 1.0);
  EXPECT_DOUBLE_EQ(TemplateFactor(""), 1.0);
}

TEST(Units, StiffnessOfOneKilonewtonSquareMetreInPoundSquareInches) {
  // 1 kN = 224.8089 lb, 1 m = 39.37008 in: 1 kN-m^2 = 224.8089 x 39.37008^2 lb-in^2.
  const double expected = (1000.0 / 4.4482216152605) * (1.0 / 0.0254) * (1.0 / 0.0254);
  EXPECT_NEAR(ColumnConversion("F-L^2", 2, 1), expected, 0.1);
  EXPECT_NEAR(ColumnConversion("F-L^2", 2, 1), 348454.5, 0.1);
}

TEST(Units, NoConversionWithOtherUnits) {
  EXPECT_EQ(ColumnConversion("F", 1, 3), 1.0);
  EXPECT_EQ(ColumnConversion("F", 3, 2), 1.0);
  EXPECT_EQ(ColumnConversion("F", 2, 2), 1.0);
  EXPECT_FALSE(ProjectScalarFactors(1, 3).valid);
  EXPECT_FALSE(ProjectScalarFactors(2, 2).valid);
}

TEST(Units, ScalarFactorsOfTheProjectSwitch) {
  const auto es = ProjectScalarFactors(1, 2);
  ASSERT_TRUE(es.valid);
  EXPECT_EQ(es.b, 0.0254);
  EXPECT_EQ(es.c, 0.004448222468060651);
  const auto se = ProjectScalarFactors(2, 1);
  // Back to English with the inverses (39.37007874 in/m; c is 1/224.8089 already): a
  // value switched to SI and back is the value typed.
  EXPECT_DOUBLE_EQ(se.b, 39.37007874015748);
  EXPECT_DOUBLE_EQ(se.c, 224.8089);
  EXPECT_DOUBLE_EQ(es.b * se.b, 1.0);
  EXPECT_DOUBLE_EQ(es.c * se.c, 1.0);
  EXPECT_DOUBLE_EQ(SurchargeMagnitudeFactor(1, es), es.c);
  EXPECT_DOUBLE_EQ(SurchargeMagnitudeFactor(2, es), es.c / es.b);
  EXPECT_DOUBLE_EQ(SurchargeMagnitudeFactor(3, es), es.c / (es.b * es.b));
  EXPECT_EQ(SurchargeMagnitudeFactor(1, ProjectScalarFactors(1, 3)), 1.0);
}

}  // namespace
}  // namespace tarnel::model
