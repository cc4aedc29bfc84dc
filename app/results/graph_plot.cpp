#include "app/results/graph_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

// The 17 line colours, by active-line position.
constexpr std::array<unsigned, 17> kLineColours = {
    0x000000, 0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x800000, 0x000080, 0xFF00FF, 0x808000,
    0x008080, 0x808080, 0x00FF00, 0x808080, 0xC0C0C0, 0xC0C0C0, 0xFFFF00, 0x00FFFF};

}  // namespace

QString GeneralNumber(double value, int digits) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  // %g with the C locale is the shortest general form; snprintf keeps "." whatever the
  // user's locale because the program never calls setlocale for numbers.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", std::clamp(digits, 1, 17), value);
  QString s = QString::fromLatin1(buf);
  s.replace(QLatin1Char(','), QLatin1Char('.'));
  // "1E+05" reads better as "1E5" and "1E-05" as "1E-5".
  const int e = s.indexOf(QLatin1Char('E'));
  if (e >= 0) {
    QString mant = s.left(e), exp = s.mid(e + 1);
    const bool neg = exp.startsWith(QLatin1Char('-'));
    if (exp.startsWith(QLatin1Char('+')) || neg) exp.remove(0, 1);
    while (exp.size() > 1 && exp.startsWith(QLatin1Char('0'))) exp.remove(0, 1);
    s = mant + QLatin1Char('E') + (neg ? QStringLiteral("-") : QString()) + exp;
  }
  return s;
}

TGraphPlot::TGraphPlot() = default;

void TGraphPlot::SetUnits(int units) { units_ = std::clamp(units, 1, 3); }

int TGraphPlot::LineCount(LineList list) const { return static_cast<int>(Lines(list).size()); }

void TGraphPlot::SetLineCount(int count, LineList list) {
  count = std::max(count, 0);
  auto& lines = Lines(list);
  const int points = PointCount(LineList::Main);
  const int old = static_cast<int>(lines.size());
  if (count < old) {
    lines.resize(count);
    return;
  }
  lines.reserve(count);
  for (int i = old; i < count; ++i) {
    TLine line(this, list == LineList::Main ? i + 1 : 0);
    // New lines take the main lines' point count; a list with a count of its own (the
    // layer lines) is resized by its owner right after.
    line.Points.resize(points);
    lines.push_back(std::move(line));
  }
}

int TGraphPlot::PointCount(LineList list) const {
  const auto& lines = Lines(list);
  return lines.empty() ? 0 : static_cast<int>(lines.front().Points.size());
}

void TGraphPlot::SetPointCount(int count, LineList list) {
  count = std::max(count, 0);
  for (TLine& line : Lines(list)) line.Points.resize(count);
}

TLine& TGraphPlot::Line(int i, LineList list) { return Lines(list).at(i); }
const TLine& TGraphPlot::Line(int i, LineList list) const { return Lines(list).at(i); }

TFloatPoint& TGraphPlot::Point(int line, int point, LineList list) {
  return Line(line, list).Points.at(point);
}
const TFloatPoint& TGraphPlot::Point(int line, int point, LineList list) const {
  return Line(line, list).Points.at(point);
}

void TGraphPlot::ClearPoints() {
  for (auto& lines : lists_)
    for (TLine& line : lines) line.Points.clear();
}

QString TGraphPlot::DisplayName(int line) const {
  const TLine& l = Line(line);
  if (!l.Name.isEmpty()) return l.Name;
  return CurveName + GeneralNumber(l.Number, 15);
}

QString TGraphPlot::LegendName(int line) const {
  QString name = DisplayName(line);
  if (onGetCaption) onGetCaption(line, name);
  return name;
}

QString TGraphPlot::UnitText(const QString& letters) const {
  QString s = letters;
  switch (units_) {
    case 1:
      if (s.contains(QLatin1String("F2"))) s.replace(QLatin1String("F2"), QStringLiteral("tons"));
      else if (s.contains(QLatin1String("F1"))) s.replace(QLatin1String("F1"), QStringLiteral("kips"));
      else s.replace(QLatin1Char('F'), QStringLiteral("lbs"));
      if (s.contains(QLatin1String("L2"))) s.replace(QLatin1String("L2"), QStringLiteral("ft"));
      else if (s.contains(QLatin1String("L1"))) s.replace(QLatin1String("L1"), QStringLiteral("in"));
      else s.replace(QLatin1Char('L'), QStringLiteral("in"));
      break;
    case 2:
      // Force letters first, so that the "F" of "F2" and "F1" goes with its digit.
      s.replace(QLatin1String("F2"), QStringLiteral("kN"));
      s.replace(QLatin1String("F1"), QStringLiteral("kN"));
      s.replace(QLatin1Char('F'), QStringLiteral("kN"));
      s.replace(QLatin1String("L2"), QStringLiteral("m"));
      s.replace(QLatin1String("L1"), QStringLiteral("mm"));
      s.replace(QLatin1Char('L'), QStringLiteral("m"));
      break;
    default:
      break;
  }
  return s;
}

QString TGraphPlot::AxisTitle(const QString& caption, const QString& letters) const {
  if (letters.isEmpty()) return caption;
  return caption + QStringLiteral(" (") + UnitText(letters) + QLatin1Char(')');
}

QString TGraphPlot::XTitle(int panel) const {
  switch (panel) {
    case 2: return AxisTitle(XCaption2, XUnits2);
    case 3: return AxisTitle(XCaption3, XUnits3);
    default: return AxisTitle(XCaption, XUnits);
  }
}

QString TGraphPlot::YTitle(int panel) const {
  switch (panel) {
    case 2: return AxisTitle(YCaption2, YUnits2);
    case 3: return AxisTitle(YCaption3, YUnits3);
    default: return AxisTitle(YCaption, YUnits);
  }
}

std::vector<int> TGraphPlot::ActiveLines() const {
  std::vector<int> out;
  for (int i = 0; i < LineCount(); ++i)
    if (Line(i).Active) out.push_back(i);
  return out;
}

QColor TGraphPlot::LineColour(int activeIndex) {
  const unsigned rgb = kLineColours[static_cast<std::size_t>(std::abs(activeIndex)) % kLineColours.size()];
  return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
