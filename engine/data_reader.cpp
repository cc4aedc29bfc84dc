#include "engine/data_reader.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarnel::engine {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

DataReader::DataReader(std::istream& in) : in_(in) {}

bool DataReader::nextLine() {
  if (!in_ || !std::getline(in_, current_)) return false;
  ++line_;
  item_ = 0;
  if (!current_.empty() && current_.back() == '\r') current_.pop_back();
  tokens_.clear();
  next_ = 0;
  std::string_view s(current_);
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && isSeparator(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !isSeparator(s[i])) ++i;
    if (i > start) tokens_.push_back(s.substr(start, i - start));
  }
  return true;
}

std::string DataReader::readTitle(std::string_view record, std::size_t width) {
  record_ = std::string(record);
  if (!nextLine()) fail("the data file ends before it");
  needLine_ = true;  // the next record starts on a new line
  std::string title = current_.substr(0, std::min(width, current_.size()));
  return title;
}

void DataReader::beginRecord(std::string_view record) {
  record_ = std::string(record);
  needLine_ = true;
}

std::string_view DataReader::nextToken() {
  if (needLine_) {
    if (!nextLine()) fail("the data file ends before it");
    needLine_ = false;
  }
  while (next_ >= tokens_.size()) {
    if (!nextLine()) fail("the data file ends inside it");
  }
  item_ = next_ + 1;
  return tokens_[next_++];
}

int DataReader::readInt() {
  std::string_view t = nextToken();
  int v = 0;
  if (!parseInt(t, v)) fail("an integer was expected but \"" + std::string(t) + "\" was found");
  return v;
}

double DataReader::readReal() {
  std::string_view t = nextToken();
  double v = 0;
  if (!parseReal(t, v)) fail("a number was expected but \"" + std::string(t) + "\" was found");
  if (std::fabs(v) > kMaxMagnitude) {
    fail("the number " + std::string(t) + " is larger than the analysis can carry (at most 1E150 in magnitude)");
  }
  return v;
}

bool DataReader::parseReal(std::string_view text, double& value) {
  if (text.empty()) return false;
  std::string s(text);
  if (s.front() == '+') s.erase(0, 1);
  // Exponent letters of older writers: 1.5D3, 1.5d3, 1.5e3.
  for (char& c : s) {
    if (c == 'D' || c == 'd') c = 'E';
  }
  if (s.empty()) return false;
  // Only digits, sign, point and exponent: refuses "nan", "inf" and hexadecimal forms.
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E' || c == 'e')) return false;
  }
  double v = 0;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool DataReader::parseInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  std::string_view s = text;
  if (s.front() == '+') s.remove_prefix(1);
  int v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec == std::errc() && ptr == s.data() + s.size()) {
    value = v;
    return true;
  }
  double r = 0;
  if (!parseReal(text, r)) return false;
  if (r != std::trunc(r) || r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(r);
  return true;
}

void DataReader::fail(const std::string& what) const {
  std::string where;
  if (line_ > 0) {
    where = " (line " + std::to_string(line_) + (item_ > 0 ? ", item " + std::to_string(item_) : "") + ")";
  }
  throw FatalInputError("DATA FILE ERROR IN THE " + record_ + where + ": " + what);
}

ControlRecord readControlRecord(DataReader& r) {
  r.beginRecord("CONTROL RECORD");
  ControlRecord c;
  c.units = r.readInt();
  c.nSpecified = r.readInt();
  c.nStiffness = r.readInt();
  c.nPyModifiers = r.readInt();
  c.earthPressure = r.readInt();
  c.pyOption = r.readInt();
  c.nUserCurves = r.readInt();
  c.nStages = r.readInt();
  c.nEiCurves = r.readInt();
  c.nTiebacks = r.readInt();
  return c;
}

WallRecord readWallRecord(DataReader& r) {
  r.beginRecord("WALL RECORD");
  WallRecord w;
  w.ninc = r.readInt();
  w.h = r.readReal();
  w.dmax = r.readReal();
  w.tol = r.readReal();
  w.freeHeight = r.readReal();
  w.wa = r.readReal();
  return w;
}

RestraintRow readRestraintRow(DataReader& r) {
  r.beginRecord("SPECIFIED DEFLECTION AND SLOPE ROW");
  RestraintRow row;
  row.kase = r.readInt();
  row.station = r.readInt();
  row.deflection = r.readReal();
  row.slope = r.readReal();
  return row;
}

StiffnessRow readStiffnessRow(DataReader& r) {
  r.beginRecord("STIFFNESS ROW");
  StiffnessRow row;
  row.from = r.readInt();
  row.to = r.readInt();
  row.contd = r.readInt();
  row.ei = r.readReal();
  return row;
}

ConcentratedLoadRow readLoadRow(DataReader& r) {
  r.beginRecord("CONCENTRATED LOAD ROW");
  ConcentratedLoadRow row;
  row.contd = r.readInt();
  row.from = r.readInt();
  row.to = r.readInt();
  row.q = r.readReal();
  row.t = r.readReal();
  row.p = r.readReal();
  return row;
}

SpringRow readSpringRow(DataReader& r) {
  r.beginRecord("SPRING ROW");
  SpringRow row;
  row.from = r.readInt();
  row.to = r.readInt();
  row.contd = r.readInt();
  row.s = r.readReal();
  row.r = r.readReal();
  return row;
}

TiebackRow readTiebackRow(DataReader& r) {
  r.beginRecord("TIEBACK ROW");
  TiebackRow row;
  row.depth = r.readReal();
  row.area = r.readReal();
  row.modulus = r.readReal();
  row.unbondedLength = r.readReal();
  row.angle = r.readReal();
  row.spacing = r.readReal();
  row.prestress = r.readReal();
  return row;
}

PyModifierRow readPyModifierRow(DataReader& r) {
  r.beginRecord("P-Y MODIFICATION ROW");
  PyModifierRow row;
  row.depth = r.readReal();
  row.pFactor = r.readReal();
  row.yFactor = r.readReal();
  return row;
}

DistLoadRow readDistLoadRow(DataReader& r) {
  r.beginRecord("DISTRIBUTED LOAD ROW");
  DistLoadRow row;
  row.depth = r.readReal();
  row.load = r.readReal();
  return row;
}

EarthPressureRecord readEarthPressureRecord(DataReader& r) {
  r.beginRecord("EARTH PRESSURE RECORD");
  EarthPressureRecord e;
  e.freeHeight = r.readReal();
  e.wa = r.readReal();
  e.wp = r.readReal();
  e.dwBackfill = r.readReal();
  e.dwExcavation = r.readReal();
  e.modFactor = r.readReal();
  e.distSwitch = r.readInt();
  e.beta = r.readReal();
  return e;
}

LegacySurchargeRecord readLegacySurchargeRecord(DataReader& r) {
  r.beginRecord("SURCHARGE RECORD");
  LegacySurchargeRecord l;
  l.q = r.readReal();
  l.distance = r.readReal();
  l.point = r.readReal();
  l.line = r.readReal();
  l.strip = r.readReal();
  l.stripWidth = r.readReal();
  return l;
}

SurchargeRow readSurchargeRow(DataReader& r) {
  r.beginRecord("SURCHARGE ROW");
  SurchargeRow row;
  row.type = r.readInt();
  row.magnitude = r.readReal();
  row.distance = r.readReal();
  row.width = r.readReal();
  return row;
}

SoilLayerRecord readSoilLayer(DataReader& r) {
  SoilLayerRecord layer;
  r.beginRecord("SOIL LAYER LINE");
  layer.kind = r.readInt();
  layer.bottom = r.readReal();
  r.beginRecord("SOIL PARAMETER LINE");
  for (double& v : layer.top) v = r.readReal();
  r.beginRecord("SOIL PARAMETER LINE");
  for (double& v : layer.base) v = r.readReal();
  return layer;
}

}  // namespace tarnel::engine
