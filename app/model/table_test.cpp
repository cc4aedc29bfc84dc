#include "app/model/table.h"

#include <gtest/gtest.h>

#include "app/model/project_tables.h"

namespace tarnel::model {
namespace {

TEST(ProjectTables, DefinitionsOfTheTopLevelTables) {
  struct Case {
    const char* name;
    const char* caption;
    int minRows, maxRows;
    std::size_t columns;
  };
  const Case cases[] = {
      {"PileSect", "Wall Stiffness", 1, 10, 4},
      {"SoilLayer", "Specify Deflection and Slope on Wall", 1, 10, 4},
      {"BoundCond", "Concentrated Loads on Wall", 1, 20, 6},
      {"SoilStrength", "Lateral Spring and Rotation Spring", 1, 20, 5},
      {"TiebackTable1", "Tieback (ground anchor) Table", 1, 20, 7},
      {"PYMod", "p-y Modification Factors", 2, 30, 3},
      {"DistLoad", "Distributed Loads", 2, 100, 2},
      {"LongDist", "Distributed Load (Long-Term)", 1, 0, 2},
      {"SurchargeTable", "Surcharge Loads", 1, 20, 4},
      {"NewSoil", "Soil Layers", 1, 10, 3},
      {"LongSoil", "Soil Layers (Long-Term)", 1, 10, 3},
      {"TblClay1", "Clay", 2, 2, 5},
      {"TblSand1", "Sand", 2, 2, 4},
      {"TblSilt1", "Silt", 2, 2, 6},
      {"TblRock1", "Strong Rock", 2, 2, 2},
      {"TblRock2", "Weak Rock", 2, 2, 5},
      {"PYCurves2", "Sets of Ext. p-y Curves", 2, 30, 4},
      {"PYCurve2", "External p-y Curve", 2, 17, 2},
      {"MEICurves2", "Nonlinear Moment vs EI Curves", 1, 20, 3},
      {"Rows2", "Moment and EI data", 1, 100, 2},
  };
  for (const auto& c : cases) {
    auto t = MakeTable(c.name);
    ASSERT_TRUE(t) << c.name;
    EXPECT_EQ(t->Caption, c.caption);
    EXPECT_EQ(t->MinRows(), c.minRows) << c.name;
    EXPECT_EQ(t->MaxRows(), c.maxRows) << c.name;
    EXPECT_EQ(t->ColumnCount(), c.columns) << c.name;
    EXPECT_EQ(t->RowCount(), 0);
  }
  EXPECT_FALSE(MakeTable("NoSuchTable"));
  EXPECT_EQ(ProjectTableNames().size(), 13u);
  EXPECT_EQ(MakeTable(kTblClay1)->Name(), "TblClay1");
  EXPECT_EQ(MakeTable(kTblSand1)->Identifier(), 17);
}

TEST(ProjectTables, HeadersWithUnitLabels) {
  const auto clayTable = MakeTable("TblClay1");
  const TColumn& clay = clayTable->Column(0);
  EXPECT_EQ(clay.HeaderLines(1).back(), "Weight (lbs/ft^3)  ");
  EXPECT_EQ(clay.HeaderLines(2).back(), "Weight (kN/m^3)  ");
  EXPECT_EQ(clay.HeaderLines(3).back(), "Weight (F/L^3)  ");
  const auto headers = MakeTable("PileSect")->HeaderLines();
  ASSERT_EQ(headers.size(), 4u);
  EXPECT_EQ(headers[0], (std::vector<std::string>{"From Node No.", "(Start)"}));
  EXPECT_EQ(headers[3][1], "(EI) (lbs-in^2)  ");
  const auto rock = MakeTable("TblRock2")->HeaderLines();
  EXPECT_EQ(rock[2], (std::vector<std::string>{"", "krm"})) << "short captions sit next to the data";
  EXPECT_EQ(rock[3], (std::vector<std::string>{"Elastic", "Modulus (lbs/in^2)  "}));
  EXPECT_EQ(MakeTable("PYMod")->HeaderLines()[0], (std::vector<std::string>{"Depth (ft)  "}));
}

TEST(ProjectTables, HelpTexts) {
  EXPECT_EQ(MakeTable("SurchargeTable")->Comments,
            "The unit for point load is lbs or kN \nThe unit for line load is lbs/in. or kN/m \n"
            "The unit for strip load is lbs/in^2 or kN/m^2 \n"
            "For strip load, Distance X goes from the wall to the middle of the strip width");
  EXPECT_EQ(MakeTable("PYCurve2")->Comments.rfind("* Use negative (-) values for deflections to the left (to backfill)", 0), 0u);
  for (const char* name : {"TblClay1", "TblSand1", "TblSilt1"})
    EXPECT_EQ(MakeTable(name)->Comments.rfind(
                  "The user may optionally enter an earth pressure coefficient for generating ", 0),
              0u);
  EXPECT_EQ(MakeTable("DistLoad")->HelpPicture, "DistLoad");
  EXPECT_TRUE(MakeTable("PYCurve2")->ChartPaired());
  EXPECT_TRUE(MakeTable("PYCurve2")->Chart()->getDataFromFile);
  EXPECT_FALSE(MakeTable("PileSect")->ChartPaired());
}

TEST(GridTable, RowsGroupsAndButtons) {
  auto t = MakeTable("PYMod");
  t->PadToMinRows();
  EXPECT_EQ(t->RowCount(), 2);
  EXPECT_EQ(t->Real(1, 1), 1.0) << "new rows take the column defaults";
  EXPECT_TRUE(t->ShowsRowButtons());
  EXPECT_FALSE(t->CanDeleteRow());
  t->SetReal(0, 0, 1);
  t->SetReal(0, 1, 2);
  t->InsertRowGroup(1);
  EXPECT_EQ(t->RowCount(), 3);
  EXPECT_EQ(t->Real(0, 1), 0);
  EXPECT_EQ(t->Real(0, 2), 2);
  t->DeleteRowGroup(0);
  EXPECT_EQ(t->Real(0, 0), 0);
  EXPECT_THROW(t->DeleteRowGroup(5), std::out_of_range);
  EXPECT_THROW(t->InsertRowGroup(2), std::out_of_range);
  EXPECT_THROW(t->InsertRowGroup(-1), std::out_of_range);
  t->SetRowCount(30);
  EXPECT_FALSE(t->CanAddRow());
  t->SetRowCount(40);
  EXPECT_EQ(t->RowCount(), 40) << "code is not limited by MaxRows";
  t->SetRowCount(-3);
  EXPECT_EQ(t->RowCount(), 0);
  EXPECT_FALSE(MakeTable("TblClay1")->ShowsRowButtons()) << "MinRows = MaxRows";
  EXPECT_EQ(t->SetMinRows(0).value_or(""), "Value must be greater than 0");
  EXPECT_EQ(t->MinRows(), 2);
  EXPECT_FALSE(t->SetMinRows(3).has_value());
  EXPECT_EQ(t->MinRows(), 3);
  auto longDist = MakeTable("LongDist");
  longDist->SetRowCount(1000);
  EXPECT_TRUE(longDist->CanAddRow()) << "no limit";

  // Groups of two rows: add, insert and delete work on whole groups; a grouped column
  // sets the value of its group.
  auto g = MakeTable("Rows2");
  g->SetRowGroup(2);
  g->AddRowGroup();
  g->AddRowGroup();
  EXPECT_EQ(g->RowCount(), 4);
  g->Column(0).Group = true;
  g->SetReal(0, 3, 7);
  EXPECT_EQ(g->Real(0, 2), 7);
  EXPECT_EQ(g->Real(0, 1), 0);
  g->InsertRowGroup(3);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(g->Real(0, 2), 0);
  EXPECT_EQ(g->Real(0, 4), 7);
  g->DeleteRowGroup(5);
  EXPECT_EQ(g->RowCount(), 4);
}

TEST(GridTable, SoilTypeChoosesTheParameterSubTable) {
  auto soil = MakeTable("NewSoil");
  soil->SetRowCount(2);
  EXPECT_EQ(soil->SubTable(2, 0).Name(), "TblClay1");
  EXPECT_EQ(soil->SubTable(2, 0).RowCount(), 2);
  EXPECT_EQ(soil->Text(2, 1), "2: Clay");
  EXPECT_EQ(soil->SubTable(2, 1).EditorTitle(), "Clay 2");
  soil->SubTable(2, 0).SetReal(0, 0, 99);
  soil->SetInteger(0, 0, 2);  // still a clay: the parameters stay
  EXPECT_EQ(soil->SubTable(2, 0).Real(0, 0), 99);
  const int expected[] = {kTblClay1, kTblClay1, kTblClay1, kTblSand1, kTblSilt1, kTblRock1, kTblRock2};
  for (int type = 1; type <= 7; ++type) {
    ASSERT_FALSE(soil->SetText(0, 0, std::to_string(type)).has_value());
    EXPECT_EQ(soil->SubTable(2, 0).Identifier(), expected[type - 1]) << type;
  }
  EXPECT_EQ(soil->Text(2, 0), "1: Weak Rock");
  soil->DeleteRowGroup(0);
  EXPECT_EQ(soil->SubTable(2, 0).EditorTitle(), "Clay 1") << "owner rows renumbered";
  // Copies are deep.
  TGridTable copy = *soil;
  copy.SubTable(2, 0).SetReal(0, 0, 5);
  EXPECT_EQ(soil->SubTable(2, 0).Real(0, 0), 0);
}

TEST(GridTable, CellEntryMessages) {
  auto t = MakeTable("PileSect");
  t->PadToMinRows();
  struct Case {
    int col;
    const char* text;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {3, "", "Entry cannot be blank."},
      {3, "  ", "Entry cannot be blank."},
      {0, "2*3", nullptr},
      {0, "2.5", "Entry must be an integer."},
      {0, "-1", "Entry must be between 0 and 2147483647."},
      {2, "1.5", "Value must be an integer."},
      {2, "x", "Value must be an integer."},
      {2, "3", "Entry must be between 1 and 2."},
      {2, "2", nullptr},
      {3, "1/0", "Entry could not be evaluated:\ndivision by zero"},
      {3, "abc", "Entry could not be evaluated:\ninvalid character(s) in expression"},
      {3, "1E400", "Entry could not be evaluated:\nfloating point overflow"},
      // Finite, but 0 once saved in inches (x 12) or switched to other units.
      {3, "-1E308", "Entry could not be evaluated:\nfloating point overflow"},
      {3, "1E300", nullptr},
      {3, "3*12+6", nullptr},
  };
  for (const auto& c : cases) {
    const auto m = t->SetText(c.col, 0, c.text);
    if (c.message) {
      ASSERT_TRUE(m.has_value()) << c.text;
      EXPECT_EQ(*m, c.message) << c.text;
    } else {
      EXPECT_FALSE(m.has_value()) << c.text << ": " << m.value_or("");
    }
  }
  EXPECT_EQ(t->Integer(0, 0), 6);
  EXPECT_EQ(t->Integer(2, 0), 2);
  EXPECT_EQ(t->Real(3, 0), 42);
  EXPECT_EQ(t->Text(3, 0), "42");
  auto mei = MakeTable("MEICurves2");
  mei->SetRowCount(1);
  EXPECT_EQ(*mei->SetText(0, 0, "1001"), "Entry must be between 0 and 1000.");
  EXPECT_EQ(t->Integer(0, 0), 6) << "a refused entry keeps the old value";
}

TEST(GridTable, UnitRoundTripRestoresValues) {
  auto t = MakeTable("TiebackTable1");
  t->SetRowCount(1);
  const double v[] = {10, 1.5, 29e6, 20, 15, 8, 50000};
  for (int c = 0; c < 7; ++c) t->SetReal(c, 0, v[c]);
  t->SetUnits(2);
  EXPECT_NEAR(t->Real(0, 0), 10 * 0.3048, 1e-9) << "ft to m";
  EXPECT_NEAR(t->Real(1, 0), 1.5 * 25.4 * 25.4, 1e-6) << "in^2 to mm^2";
  EXPECT_EQ(t->Real(4, 0), 15) << "degrees unchanged";
  t->SetUnits(2);  // setting the system it has does nothing
  EXPECT_NEAR(t->Real(0, 0), 10 * 0.3048, 1e-9);
  t->SetUnits(1);
  for (int c = 0; c < 7; ++c) EXPECT_NEAR(t->Real(c, 0), v[c], std::abs(v[c]) * 1e-14) << c;
  auto soil = MakeTable("NewSoil");
  soil->SetRowCount(1);
  soil->SubTable(2, 0).SetReal(0, 0, 120);
  soil->SetUnits(2);
  EXPECT_EQ(soil->SubTable(2, 0).Units(), 2) << "sub-tables follow";
  soil->SetRowCount(2);
  EXPECT_EQ(soil->SubTable(2, 1).Units(), 2) << "new sub-tables take the table's system";
  soil->SetUnits(1);
  EXPECT_NEAR(soil->SubTable(2, 0).Real(0, 0), 120, 1e-12);
}

TEST(GridTable, ChangeMarks) {
  auto t = MakeTable("NewSoil");
  t->SetRowCount(1);
  t->ClearChanged();
  EXPECT_FALSE(t->Changed());
  t->SubTable(2, 0).SetReal(1, 1, 3);
  EXPECT_TRUE(t->Changed());
  t->ClearChanged();
  EXPECT_FALSE(t->SubTable(2, 0).Changed());
  t->AddRowGroup();
  EXPECT_TRUE(t->Changed());
}

TEST(CurveText, NumbersPerLine) {
  const auto rows = ParseCurveText("y p\n1.5, 200\n2\t300 extra 4\n3 4 5\n\n6 7\r\n", 2, 0);
  ASSERT_EQ(rows.size(), 3u) << "the header and the line of three numbers are passed over";
  EXPECT_EQ(rows[0], (std::vector<double>{1.5, 200}));
  EXPECT_EQ(rows[1], (std::vector<double>{2, 300})) << "stops at the first word that is no number";
  EXPECT_EQ(rows[2], (std::vector<double>{6, 7}));
  std::string many;
  for (int i = 0; i < 40; ++i) many += std::to_string(i) + " " + std::to_string(i * 2) + "\n";
  EXPECT_EQ(ParseCurveText(many, 2, 17).size(), 17u);
  EXPECT_TRUE(ParseCurveText("", 2, 0).empty());
}

}  // namespace
}  // namespace tarnel::model
