// TGraphPlot: the data and display settings of one result chart, apart from any window.
//
// A chart holds four ordered line lists: the main lines (panel 1), the soil-layer lines (one
// point each: soil code and bottom depth, then the two wall lines), and the lines of panels 2
// and 3 of a three-panel chart. All lines of one list have the same number of points; the
// point count of a list is that of its first line. The window that paints a chart
// (TPlotForm) reads everything from here, so closing it loses nothing but zoom state.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/results/t_line.h"

enum class LineList { Main = 0, Layers = 1, Panel2 = 2, Panel3 = 3 };

// Hook called when a legend entry is built: (line index, name in/out).
using TGetCaptionEvent = std::function<void(int index, QString& name)>;

class TGraphPlot {
 public:
  TGraphPlot();
  TGraphPlot(const TGraphPlot&) = delete;
  TGraphPlot& operator=(const TGraphPlot&) = delete;

  // ---- published properties
  QString Caption;
  QString CurveName = QStringLiteral("Curve #");
  QString XCaption, XUnits, YCaption, YUnits;
  QString XCaption2, XUnits2, YCaption2, YUnits2;
  QString XCaption3, XUnits3, YCaption3, YUnits3;
  bool XOnTop = true;
  bool ShowLegend = true;
  bool ShowLayers = false;
  bool ShowWall = false;
  bool ShowThree = false;
  bool ShowFontWidth = true;
  int WallLineCount = 0;
  int Markers = 1;     // a marker every n-th point, 0 never
  int SizeFont = 10;   // tenths of the window font
  int LegendFont = 11; // legend point size at 100 %
  int WidthLine = 1;
  TGetCaptionEvent onGetCaption;

  int Units() const { return units_; }
  void SetUnits(int units);  // clamps to 1..3

  // ---- graph title
  QString GraphTitle;
  bool TitleOnTop = true;

  // ---- state kept for the window
  bool HasWindow = false;        // a window shows this chart now
  bool CapActiveLines = true;    // a new window activates only the first 20 main lines
  double LayerStartDepth = 0;    // depth at which the soil-layer strip starts

  static constexpr int kMaxActiveLines = 20;

  // ---- line lists
  int LineCount(LineList list = LineList::Main) const;
  void SetLineCount(int count, LineList list = LineList::Main);
  int PointCount(LineList list = LineList::Main) const;
  void SetPointCount(int count, LineList list = LineList::Main);
  TLine& Line(int i, LineList list = LineList::Main);
  const TLine& Line(int i, LineList list = LineList::Main) const;
  TFloatPoint& Point(int line, int point, LineList list = LineList::Main);
  const TFloatPoint& Point(int line, int point, LineList list = LineList::Main) const;
  std::vector<TLine>& Lines(LineList list) { return lists_[static_cast<int>(list)]; }
  const std::vector<TLine>& Lines(LineList list) const { return lists_[static_cast<int>(list)]; }
  // Every list emptied of points; the lines and their names stay.
  void ClearPoints();

  // The chart can be drawn: a main line with more than one point.
  bool HasData() const { return LineCount() > 0 && PointCount() > 1; }

  // ---- names and texts
  // Explicit name, else CurveName followed by the line's number (shortest general format).
  QString DisplayName(int line) const;
  // Display name passed through onGetCaption when it is assigned.
  QString LegendName(int line) const;
  // Unit letters turned into unit names by Units ("F/L" -> "lbs/in" in English).
  QString UnitText(const QString& letters) const;
  // "Caption (unit)" or the caption alone when the letters are empty.
  QString AxisTitle(const QString& caption, const QString& letters) const;
  // Axis titles of panel 1..3 (panel 1 of a single chart).
  QString XTitle(int panel = 1) const;
  QString YTitle(int panel = 1) const;

  // Indices of the active main lines, in order.
  std::vector<int> ActiveLines() const;

  // Colour of the k-th active line (k counts active lines, shown or not).
  static QColor LineColour(int activeIndex);
  // Marker kind of line i: (i mod 10) + 1.
  static int MarkerKind(int line) { return line % 10 + 1; }

  // Tells a chart window whether the chart still exists: the owner's members (the charts)
  // are destroyed before its child widgets (the windows).
  std::weak_ptr<const int> Alive() const { return alive_; }

 private:
  std::array<std::vector<TLine>, 4> lists_;
  std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
  int units_ = 1;
};

// Shortest general format with `digits` significant digits and "." as separator.
QString GeneralNumber(double value, int digits);
