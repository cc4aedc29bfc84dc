// Record reader for the engine's data file and scratch files.
//
// The engine reads a data file record by record with list-directed rules:
//  - every record starts on a new line;
//  - a record whose line holds too few values continues on the following line(s);
//  - values beyond the last field of a record are ignored;
//  - blanks and TABs separate values, "." is the decimal point whatever the locale,
//    and exponent forms such as 1E-5 or 1.2345679E8 are accepted.
// A record that runs past the end of the file, text where a number belongs, or a real
// beyond kMaxMagnitude throws FatalInputError naming the record, the line and the item.
#pragma once

#include "engine/run_state.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::engine {

// The largest magnitude of a real the analysis accepts: the mechanics squares and
// multiplies its values (h^3 S, EI times curvature, unit weight times depth squared),
// and beyond about 1E150 these products leave the range of a double.
inline constexpr double kMaxMagnitude = 1.0e150;

class DataReader {
 public:
  // Reads from an already opened stream (the data file or a scratch file).
  explicit DataReader(std::istream& in);

  // A title record: the whole next line, cut to its first `width` characters.
  std::string readTitle(std::string_view record, std::size_t width = 70);

  // Starts a record: the next value comes from a new line.
  void beginRecord(std::string_view record);
  // The next value of the current record.
  int readInt();
  double readReal();

  // Convenience: a one-integer record.
  int readIntRecord(std::string_view record) {
    beginRecord(record);
    return readInt();
  }

  // Parses one value with the engine's rules; false when the text is not a number of
  // that kind. Integers also accept a real with no fractional part ("3.0").
  static bool parseReal(std::string_view text, double& value);
  static bool parseInt(std::string_view text, int& value);

 private:
  bool nextLine();
  std::string_view nextToken();
  [[noreturn]] void fail(const std::string& what) const;

  std::istream& in_;
  std::string record_;
  std::string current_;
  std::vector<std::string_view> tokens_;
  std::size_t next_ = 0;
  bool needLine_ = true;
  int line_ = 0;
  std::size_t item_ = 0;  // 1-based position of the last value on its line
};

// Records of a problem block, each starting on a new line.
ControlRecord readControlRecord(DataReader& r);
WallRecord readWallRecord(DataReader& r);
RestraintRow readRestraintRow(DataReader& r);
StiffnessRow readStiffnessRow(DataReader& r);
ConcentratedLoadRow readLoadRow(DataReader& r);
SpringRow readSpringRow(DataReader& r);
TiebackRow readTiebackRow(DataReader& r);
PyModifierRow readPyModifierRow(DataReader& r);
DistLoadRow readDistLoadRow(DataReader& r);
EarthPressureRecord readEarthPressureRecord(DataReader& r);
LegacySurchargeRecord readLegacySurchargeRecord(DataReader& r);
SurchargeRow readSurchargeRow(DataReader& r);
// A soil layer: the layer line and the parameter lines of its top and bottom.
SoilLayerRecord readSoilLayer(DataReader& r);

}  // namespace tarnel::engine
