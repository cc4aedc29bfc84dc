#include "engine/data_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sstream>

namespace tarnel::engine {
namespace {

TEST(DataReader, RealsInEveryWrittenForm) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0.0},          {"1E-5", 1.0e-5},  {"0.0001", 1.0e-4},    {"1.2345679E8", 1.2345679e8},
      {"1.5E20", 1.5e20},  {"-2.5", -2.5},    {"+3", 3.0},           {".5", 0.5},
      {"2.", 2.0},         {"1.5D3", 1500.0}, {"1e-05", 1.0e-5},     {"100", 100.0},
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_TRUE(DataReader::parseReal(c.text, v)) << c.text;
    EXPECT_DOUBLE_EQ(v, c.value) << c.text;
  }
  for (const char* bad : {"1,5", "abc", "nan", "inf", "0x10", "1.5.2", "", "-", "E5", "1E999"}) {
    double v = 0;
    EXPECT_FALSE(DataReader::parseReal(bad, v)) << bad;
  }
}

TEST(DataReader, IntegersAcceptWholeRealsOnly) {
  int v = 0;
  EXPECT_TRUE(DataReader::parseInt("42", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(DataReader::parseInt("-3", v));
  EXPECT_EQ(v, -3);
  EXPECT_TRUE(DataReader::parseInt("3.0", v));
  EXPECT_EQ(v, 3);
  EXPECT_FALSE(DataReader::parseInt("3.5", v));
  EXPECT_FALSE(DataReader::parseInt("99999999999", v));
  EXPECT_FALSE(DataReader::parseInt("x", v));
}

TEST(DataReader, RecordsStartOnNewLinesContinueAndIgnoreExtraValues) {
  // Wall record split over two lines with TABs; the control record carries an eleventh
  // value that is ignored; the stiffness row follows on its own line.
  std::istringstream in(
      "Title of the wall with  blanks   \r\n"
      "1 0\t1\t0\t1 0 0 1 0 0 77\r\n"
      "40 6\t100\r\n"
      "\t1E-5  120\t12\r\n"
      "0\t40\t1\t1.2345679E8\r\n");
  DataReader r(in);
  EXPECT_EQ(r.readTitle("TITLE RECORD"), "Title of the wall with  blanks   ");
  const ControlRecord c = readControlRecord(r);
  EXPECT_EQ(c.units, 1);
  EXPECT_EQ(c.nStiffness, 1);
  EXPECT_EQ(c.earthPressure, 1);
  EXPECT_EQ(c.nStages, 1);
  EXPECT_EQ(c.nTiebacks, 0);
  const WallRecord w = readWallRecord(r);
  EXPECT_EQ(w.ninc, 40);
  EXPECT_DOUBLE_EQ(w.h, 6);
  EXPECT_DOUBLE_EQ(w.dmax, 100);
  EXPECT_DOUBLE_EQ(w.tol, 1e-5);
  EXPECT_DOUBLE_EQ(w.freeHeight, 120);
  EXPECT_DOUBLE_EQ(w.wa, 12);
  const StiffnessRow s = readStiffnessRow(r);
  EXPECT_EQ(s.to, 40);
  EXPECT_DOUBLE_EQ(s.ei, 1.2345679e8);
}

TEST(DataReader, TitleKeepsSeventyCharactersAndMayBeEmpty) {
  std::istringstream in(std::string(90, 'x') + "\r\n\r\n7\r\n");
  DataReader r(in);
  EXPECT_EQ(r.readTitle("TITLE RECORD"), std::string(70, 'x'));
  EXPECT_EQ(r.readTitle("TITLE RECORD"), "");
  EXPECT_EQ(r.readIntRecord("PROBLEM TERMINATOR"), 7);
}

TEST(DataReader, EmptyLinesInsideANumericRecordAreSkipped) {
  std::istringstream in("\r\n   \r\n5\r\n");
  DataReader r(in);
  EXPECT_EQ(r.readIntRecord("SPRING COUNT"), 5);
}

TEST(DataReader, EndOfFileAndTextAreFatalAndNameTheRecord) {
  {
    std::istringstream in("10 1.5\r\n");
    DataReader r(in);
    try {
      readWallRecord(r);
      FAIL() << "no error";
    } catch (const FatalInputError& e) {
      EXPECT_NE(std::string(e.what()).find("WALL RECORD"), std::string::npos) << e.what();
    }
  }
  {
    std::istringstream in("0\t10\tone\t100\r\n");
    DataReader r(in);
    try {
      readStiffnessRow(r);
      FAIL() << "no error";
    } catch (const FatalInputError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("STIFFNESS ROW"), std::string::npos) << what;
      EXPECT_NE(what.find("line 1"), std::string::npos) << what;
      EXPECT_NE(what.find("\"one\""), std::string::npos) << what;
    }
  }
  std::istringstream empty;
  DataReader r(empty);
  EXPECT_THROW(r.readTitle("TITLE RECORD"), FatalInputError);
}

// Values whose squares and products leave the range of a double are refused where they
// are read, naming the record, the line and the item; 1E150 itself is still carried.
TEST(DataReader, MagnitudesBeyondWhatTheMechanicsCarriesAreRefused) {
  for (const char* big : {"1E151", "-1.5E200", "1E308"}) {
    std::istringstream in("40 0.25\t1\r\n1E-5\t4\t" + std::string(big) + "\r\n");
    DataReader r(in);
    try {
      readWallRecord(r);
      FAIL() << big;
    } catch (const FatalInputError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("WALL RECORD (line 2, item 3)"), std::string::npos) << what;
      EXPECT_NE(what.find(big), std::string::npos) << what;
    }
  }
  std::istringstream in("40 0.25\t1\t1E-300\t-1E150\t1E150\r\n");
  DataReader r(in);
  const WallRecord w = readWallRecord(r);
  EXPECT_EQ(w.freeHeight, -1e150);
  EXPECT_EQ(w.tol, 1e-300);
}

// A program that called setlocale for a comma-decimal locale must still read ".".
TEST(DataReader, DecimalPointWhateverTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr || std::setlocale(LC_ALL, "de_DE") != nullptr;
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  std::istringstream in("2.5\t1E-5\r\n");
  DataReader r(in);
  r.beginRecord("TEST RECORD");
  const double a = r.readReal();
  const double b = r.readReal();
  std::locale::global(previous);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_DOUBLE_EQ(a, 2.5);
  EXPECT_DOUBLE_EQ(b, 1e-5);
  (void)german;
}

TEST(DataReader, SoilLayerReadsLayerLineAndBothParameterLines) {
  std::istringstream in("4 240 \r\n0.0625 0.0  32 0.0  90 0 \r\n0.065 0.0  34 0.0  95 0.3 \r\n");
  DataReader r(in);
  const SoilLayerRecord l = readSoilLayer(r);
  EXPECT_EQ(l.kind, 4);
  EXPECT_DOUBLE_EQ(l.bottom, 240);
  EXPECT_DOUBLE_EQ(l.top[2], 32);
  EXPECT_DOUBLE_EQ(l.base[4], 95);
  EXPECT_DOUBLE_EQ(l.base[5], 0.3);
}

}  // namespace
}  // namespace tarnel::engine
